// Lines checked on the thread that reads them and handed over in batches:
// every line comes once and in order, what either side throws is thrown,
// and a reader that gives up stops the reading thread.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "PppdTestHelpers.h"
#include "pppd/CheckedLines.h"
#include "pppd/QuickPrefix.h"

namespace kestal {
namespace {

// Other programs' lines give their time packed; pppd's, chat's, copies of
// pppd's messages and lines of no known prefix give 0.
TEST(CheckLine, PacksTheTimeOfLinesPassedOver) {
    const struct {
        const char* line;
        bool passedOver;
    } cases[] = {
        {"Dec 31 23:59:60 gw kernel: eth0 link up", true},
        {"Jan  1 00:00:00 gw daemon.info dnsmasq[12]: query", true},
        {"Feb 09 07:05:03.123456 gw cron[1]: job\r", true},
        {"Dec  8 10:00:00 gw pppd[1]: Connect: ppp0 <--> eth0", false},
        {"Dec  8 10:00:00 gw chat[2]: send (ATZ^M)", false},
        {"Dec  8 10:00:00 gw sh[3]: Connection terminated.", false},
        {"2026-12-08T10:00:00+01:00 gw kernel: up", false},
        {"Connect: ppp0 <--> eth0", false},
        {"", false},
    };
    for (const auto& c : cases) {
        const std::uint32_t check = checkLine(c.line);
        EXPECT_EQ(check != 0, c.passedOver) << c.line;
        if (check == 0) continue;
        std::string_view line = c.line;
        if (line.back() == '\r') line.remove_suffix(1);
        EXPECT_EQ(checkedTime(check), *readQuickly(line)->time) << c.line;
    }
}

// Of the lines not passed over the reading thread reads the prefix: the
// reader gets the source, time, PID and what it reads of the text.
TEST(CheckedBatch, ReadsThePrefixOfLinesNotPassedOver) {
    test::useUtc();
    const struct {
        const char* line;
        LineSource source;
        std::optional<int> hour;  // of the time
        std::optional<long> pid;
        const char* text;
    } cases[] = {
        {"Dec  8 10:00:00 gw pppd[1]: Connect: ppp0 <--> eth0\r", LineSource::Pppd, 10, 1,
         "Connect: ppp0 <--> eth0"},
        {"<30>Dec  8 11:00:00 gw chat[2]: send (ATZ^M)", LineSource::Chat, 11, 2, "send (ATZ^M)"},
        {"Dec  8 12:00:00 gw sh[3]: Connection terminated.", LineSource::Copy, 12, 3,
         "Connection terminated."},
        {"2026-12-08T13:00:00+01:00 gw kernel: up", LineSource::Other, 13, std::nullopt, ""},
        {R"({"__REALTIME_TIMESTAMP":"1796738400000000","_PID":"7","SYSLOG_IDENTIFIER":"pppd",)"
         R"("MESSAGE":"Exit."})",
         LineSource::Pppd, 14, 7, "Exit."},
        {"Connect: ppp0 <--> eth0", LineSource::Unprefixed, std::nullopt, std::nullopt,
         "Connect: ppp0 <--> eth0"},
        {"Dec  8 15:00", LineSource::Unprefixed, std::nullopt, std::nullopt, "Dec  8 15:00"},
    };
    CheckedBatch batch;
    for (const auto& c : cases) batch.add(c.line, MonthNames{});
    ASSERT_EQ(batch.size(), std::size(cases));
    ASSERT_EQ(batch.prefixes.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const PrefixRead& read = batch.prefixes[i];
        EXPECT_EQ(batch.checks[i], 0u) << c.line;
        EXPECT_EQ(read.source, c.source) << c.line;
        EXPECT_EQ(read.time ? std::optional<int>(read.time->hour) : std::nullopt, c.hour) << c.line;
        EXPECT_EQ(read.pid, c.pid) << c.line;
        const std::size_t from = i == 0 ? 0 : batch.ends[i - 1];
        EXPECT_EQ(batch.text.substr(from, batch.ends[i] - from), c.text) << c.line;
    }
}

// Enough lines for many batches, every tenth pppd's.
std::string lineNumber(int i) {
    return i % 10 == 0 ? "Dec  8 10:00:00 gw pppd[1]: line " + std::to_string(i)
                       : "Dec  8 10:00:00 gw kernel: line " + std::to_string(i);
}

TEST(ReadCheckedLines, EveryLineOnceAndInOrder) {
    constexpr int kLines = 100000;
    std::uint64_t next = 0;
    int pppdLines = 0;
    readCheckedLines(
        [](CheckedLineSink& sink) {
            for (int i = 0; i < kLines; ++i) sink.add(lineNumber(i));
        },
        [&](const CheckedBatch& batch) {
            ASSERT_EQ(batch.first, next);
            std::size_t kept = 0;
            for (std::size_t i = 0; i < batch.size(); ++i) {
                const int number = static_cast<int>(batch.first + i);
                ASSERT_EQ(batch.checks[i] == 0, number % 10 == 0) << number;
                if (batch.checks[i] != 0) continue;
                const std::size_t from = kept == 0 ? 0 : batch.ends[kept - 1];
                ASSERT_EQ(batch.prefixes[kept].source, LineSource::Pppd);
                ASSERT_EQ(batch.text.substr(from, batch.ends[kept] - from),
                          "line " + std::to_string(number));
                ++kept;
                ++pppdLines;
            }
            ASSERT_EQ(kept, batch.ends.size());
            next += batch.size();
        });
    EXPECT_EQ(next, static_cast<std::uint64_t>(kLines));
    EXPECT_EQ(pppdLines, kLines / 10);
}

// A failure while reading reaches the caller once the lines before it are
// read; a reader that fails stops the reading thread, which would otherwise
// go on forever.
TEST(ReadCheckedLines, FailuresOfEitherSideStopBoth) {
    std::uint64_t linesRead = 0;
    EXPECT_THROW(readCheckedLines(
                     [](CheckedLineSink& sink) {
                         for (int i = 0; i < 50000; ++i) sink.add(lineNumber(i));
                         throw std::runtime_error("Cannot open file");
                     },
                     [&](const CheckedBatch& batch) { linesRead += batch.size(); }),
                 std::runtime_error);
    EXPECT_EQ(linesRead, 50000u);

    int batches = 0;
    EXPECT_THROW(readCheckedLines(
                     [](CheckedLineSink& sink) {
                         for (int i = 0;; ++i) sink.add(lineNumber(i % 1000));
                     },
                     [&](const CheckedBatch&) {
                         if (++batches == 3) throw std::logic_error("reader gave up");
                     }),
                 std::logic_error);
    EXPECT_EQ(batches, 3);
}

// A log big enough to be checked on a second thread reads as it does line
// by line.
TEST(ReadCheckedLines, BigLogReadAsLineByLine) {
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        const std::string pid = std::to_string(100 + i % 7);
        const std::string time =
            "Dec  8 1" + std::to_string(i / 4000) + ":00:0" + std::to_string(i % 10) + " gw ";
        text += time + "pppd[" + pid + "]: Connect: ppp0 <--> eth0\n";
        text += time + "kernel: eth0 up\n";
        text += time + "sh[9]: Connection terminated.\n";
        text += time + "pppd[" + pid + "]: Connection terminated.\n";
    }
    const PppdLog byLine = test::readText(text);
    const LogLines lines = LogLines::fromBytes(std::string(text));
    ASSERT_TRUE(worthCheckingApart(lines.size()));
    PppdReader reader(test::testOptions());
    reader.addAll(lines);
    const PppdLog checked = reader.finish();
    EXPECT_EQ(test::tableText(checked), test::tableText(byLine));
    EXPECT_EQ(checked.rowLines, byLine.rowLines);
    EXPECT_EQ(checked.table.callCount(), 20000);
}

}  // namespace
}  // namespace kestal
