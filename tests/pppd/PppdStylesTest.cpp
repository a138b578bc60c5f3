// One session written in every style of prefix reads as the same row; the
// lines of a row, chat's among them; reading in pieces as a followed log is.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "PppdTestHelpers.h"
#include "pppd/LogKind.h"

namespace kestal {
namespace {

struct Moment {
    int hour, minute, second;
};

using Format = std::function<std::string(Moment, std::string_view message)>;

std::string printed(const char* format, Moment t, std::string_view message) {
    char prefix[128];
    std::snprintf(prefix, sizeof prefix, format, t.hour, t.minute, t.second);
    return prefix + std::string(message);
}

std::string jsonLine(Moment t, std::string_view message, bool bytes) {
    const long long seconds =
        1796688000LL + t.hour * 3600 + t.minute * 60 + t.second;  // 2026-12-08
    std::string text = "{\"__REALTIME_TIMESTAMP\":\"" + std::to_string(seconds * 1000000 + 250) +
                       "\",\"_PID\":\"321\",\"SYSLOG_IDENTIFIER\":\"pppd\",\"MESSAGE\":";
    if (!bytes) return text + "\"" + std::string(message) + "\"}";
    text += "[";
    for (std::size_t i = 0; i < message.size(); ++i) {
        text += (i ? "," : "") + std::to_string(static_cast<unsigned char>(message[i]));
    }
    return text + "]}";
}

struct Style {
    const char* name;
    Format format;
    bool timed;
};

const Style kStyles[] = {
    {"classic",
     [](Moment t, auto m) { return printed("Dec  8 %02d:%02d:%02d gw pppd[321]: ", t, m); }, true},
    {"busybox",
     [](Moment t, auto m) {
         return printed("Dec  8 %02d:%02d:%02d gw daemon.notice pppd[321]: ", t, m);
     },
     true},
    {"openwrt",
     [](Moment t, auto m) {
         return printed("Tue Dec  8 %02d:%02d:%02d 2026 daemon.info pppd[321]: ", t, m);
     },
     true},
    {"rfc3339",
     [](Moment t, auto m) {
         return printed("2026-12-08T%02d:%02d:%02d.123456+00:00 gw pppd[321]: ", t, m);
     },
     true},
    {"shortIso",
     [](Moment t, auto m) {
         return printed("2026-12-08T%02d:%02d:%02d+0000 gw pppd[321]: ", t, m);
     },
     true},
    {"shortPrecise",
     [](Moment t, auto m) { return printed("Dec 08 %02d:%02d:%02d.000001 gw pppd[321]: ", t, m); },
     true},
    {"shortFull",
     [](Moment t, auto m) {
         return printed("Tue 2026-12-08 %02d:%02d:%02d UTC gw pppd[321]: ", t, m);
     },
     true},
    {"priority",
     [](Moment t, auto m) { return printed("<30>Dec  8 %02d:%02d:%02d gw pppd[321]: ", t, m); },
     true},
    {"jsonString", [](Moment t, auto m) { return jsonLine(t, m, false); }, true},
    {"jsonBytes", [](Moment t, auto m) { return jsonLine(t, m, true); }, true},
    {"bare", [](Moment, auto m) { return std::string(m); }, false},
};

std::string session(const Format& format) {
    const std::pair<Moment, std::string_view> lines[] = {
        {{10, 0, 0}, "Connect: ppp0 <--> /dev/ttyACM0"},
        {{10, 0, 2}, "CHAP authentication succeeded"},
        {{10, 0, 3}, "local  IP address 10.0.0.5"},
        {{10, 0, 3}, "remote IP address 10.0.0.1"},
        {{10, 20, 4}, "Modem hangup"},
        {{10, 20, 4}, "Connect time 20.1 minutes."},
        {{10, 20, 4}, "Sent 300 bytes, received 400 bytes."},
        {{10, 20, 5}, "Connection terminated."},
    };
    std::string text;
    for (const auto& [moment, message] : lines) text += format(moment, message) + "\n";
    return text;
}

class PppdStyles : public testing::TestWithParam<Style> {};

TEST_P(PppdStyles, SameSessionSameRow) {
    const Style& style = GetParam();
    const std::string log = session(style.format);
    const PppdLog read = test::readText(log);
    const std::string fields =
        "ppp0\t/dev/ttyACM0\tCHAP\t-\t10.0.0.5\t10.0.0.1\t-\t-\t20.1\t300\t400\thangup\tModem "
        "hangup\n";
    EXPECT_EQ(test::tableText(read),
              style.timed ? "12-08-2026 10:00:00\t12-08-2026 10:20:05\t00:20:05\t321\t" + fields
                          : "-\t-\t-\t-\t" + fields);
    EXPECT_EQ(read.linesNotUnderstood, 0u);
    EXPECT_EQ(detectLogKind(log, MonthNames{}), LogKind::Pppd);
}

INSTANTIATE_TEST_SUITE_P(Every, PppdStyles, testing::ValuesIn(kStyles),
                         [](const testing::TestParamInfo<Style>& info) {
                             return std::string(info.param.name);
                         });

TEST(PppdRowLines, ChatLinesAmongTheProcessLines) {
    const PppdLog log = test::readText(
        "Dec  8 10:00:00 h pppd[5]: pppd 2.4.9 started by root, uid 0\n"  // 0
        "Dec  8 10:00:00 h chat[6]: send (ATDT*99#^M)\n"                  // 1
        "Dec  8 10:00:01 h pppd[7]: Connect: ppp1 <--> /dev/ttyS1\n"      // 2: another pppd
        "Dec  8 10:00:01 h kernel: usb 1-1: reset\n"                      // 3
        "Dec  8 10:00:02 h pppd[5]: Serial connection established.\n"     // 4
        "Dec  8 10:00:02 h chat[6]: CONNECT\n"                            // 5: after pppd[5]'s line
        "Dec  8 10:00:03 h pppd[5]: Connect: ppp0 <--> /dev/ttyUSB0\n"    // 6
        "Dec  8 10:00:09 h pppd[5]: Connection terminated.\n");           // 7
    ASSERT_EQ(log.table.callCount(), 2);
    // Rows by their first lines: pppd[5]'s started at line 0.
    EXPECT_EQ(log.table.cell(PppdColumn::Pid, 0), "5");
    const std::vector<std::uint64_t> expected = {0, 1, 4, 5, 6, 7};
    const std::span<const std::uint64_t> lines = log.linesOf(0);
    EXPECT_EQ(std::vector<std::uint64_t>(lines.begin(), lines.end()), expected);
    EXPECT_EQ(log.table.lines(0), (LineSpan{0, 8}));
    EXPECT_EQ(log.table.marks(1), kSessionMark | kStillUpMark);

    // Without the lines kept, a row still knows the span of its own.
    PppdReadOptions lean = test::testOptions();
    lean.keepLines = false;
    const PppdLog spans = test::readText(
        "Dec  8 10:00:00 h pppd[5]: Connect: ppp0 <--> eth0\n"
        "Dec  8 10:00:01 h kernel: x\n"
        "Dec  8 10:00:02 h pppd[5]: Connection terminated.\n",
        lean);
    EXPECT_TRUE(spans.linesOf(0).empty());
    EXPECT_EQ(spans.table.lines(0), (LineSpan{0, 3}));
}

TEST(PppdFollow, PiecesGiveTheWholeLogTable) {
    // The table asked for after every line, as a followed log's is, never
    // changes what the rest of the log gives.
    const std::string log =
        session(kStyles[0].format) + "Dec  8 10:30:00 gw sh[1]: Connect time 20.1 minutes.\n" +
        "Dec  8 10:30:00 gw pppd[321]: Connect time 20.1 minutes.\n" + session(kStyles[3].format);
    const std::string whole = test::tableText(test::readText(log));
    PppdReader reader(test::testOptions());
    std::size_t start = 0;
    std::uint64_t index = 0;
    while (start < log.size()) {
        const std::size_t end = log.find('\n', start);
        reader.addLine(index++, std::string_view(log).substr(start, end - start));
        (void)reader.table();
        start = end + 1;
    }
    const PppdLog read = reader.table();
    EXPECT_EQ(test::tableText(read), whole);
    // The shell's copy is dropped, pppd's repeated statistics count once.
    EXPECT_EQ(read.sessions, 2);
    EXPECT_EQ(read.table.cell(PppdColumn::ConnectTime, 0), "20.1");
}

}  // namespace
}  // namespace kestal
