// Each style of prefix a system log writes in front of pppd's messages.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "PppdTestHelpers.h"
#include "pppd/LinePrefix.h"
#include "pppd/PppdMessages.h"
#include "pppd/QuickPrefix.h"

namespace kestal {
namespace {

struct PrefixCase {
    const char* name;
    std::string_view line;
    bool fits;   // a prefix is read
    bool timed;  // with a time
    PrintedTime time;
    std::string_view program;
    std::optional<long> pid;
    std::string_view message;
};

constexpr std::optional<int> kNoOffset;

const PrefixCase kPrefixCases[] = {
    {"classic",
     "May  3 05:35:30 localhost pppd[15375]: Connect: ppp0 <--> /dev/ttyS0",
     true,
     true,
     {0, 5, 3, 5, 35, 30, kNoOffset},
     "pppd",
     15375,
     "Connect: ppp0 <--> /dev/ttyS0"},
    {"classicZeroDay",
     "Dec 09 23:01:02 gw pppd[7]: Exit.",
     true,
     true,
     {0, 12, 9, 23, 1, 2, kNoOffset},
     "pppd",
     7,
     "Exit."},
    {"classicNoHost",
     "Jan 11 00:00:01 chat[9]: expect (OK)",
     true,
     true,
     {0, 1, 11, 0, 0, 1, kNoOffset},
     "chat",
     9,
     "expect (OK)"},
    {"busybox",
     "Jan  1 00:55:30 nettest daemon.notice pppd[213]: Exit.",
     true,
     true,
     {0, 1, 1, 0, 55, 30, kNoOffset},
     "pppd",
     213,
     "Exit."},
    {"openwrt",
     "Wed Apr 29 06:40:30 2020 daemon.notice pppd[22479]: Modem hangup",
     true,
     true,
     {2020, 4, 29, 6, 40, 30, kNoOffset},
     "pppd",
     22479,
     "Modem hangup"},
    {"rfc3339",
     "2024-05-03T05:35:31.123456+02:00 host pppd[1]: Exit.",
     true,
     true,
     {2024, 5, 3, 5, 35, 31, 7200},
     "pppd",
     1,
     "Exit."},
    {"rfc3339Utc",
     "2024-05-03T05:35:31Z host pppd[1]: Exit.",
     true,
     true,
     {2024, 5, 3, 5, 35, 31, 0},
     "pppd",
     1,
     "Exit."},
    {"shortIso",
     "2024-05-03T05:35:31-0500 host pppd[1]: Exit.",
     true,
     true,
     {2024, 5, 3, 5, 35, 31, -18000},
     "pppd",
     1,
     "Exit."},
    {"shortPrecise",
     "Apr 14 16:11:08.599616 abreu pppd[493659]: Terminating on signal 15",
     true,
     true,
     {0, 4, 14, 16, 11, 8, kNoOffset},
     "pppd",
     493659,
     "Terminating on signal 15"},
    {"shortFull",
     "Sun 2024-05-03 05:35:31 CEST host pppd[8]: Exit.",
     true,
     true,
     {2024, 5, 3, 5, 35, 31, kNoOffset},
     "pppd",
     8,
     "Exit."},
    {"shortFullUtc",
     "Sun 2024-05-03 05:35:31 UTC host pppd[8]: Exit.",
     true,
     true,
     {2024, 5, 3, 5, 35, 31, 0},
     "pppd",
     8,
     "Exit."},
    {"priority",
     "<30>May  3 05:35:30 host pppd[2]: Exit.",
     true,
     true,
     {0, 5, 3, 5, 35, 30, kNoOffset},
     "pppd",
     2,
     "Exit."},
    {"priorityIso",
     "<13>2024-05-03T05:35:31Z host sh[431]: Exit.",
     true,
     true,
     {2024, 5, 3, 5, 35, 31, 0},
     "sh",
     431,
     "Exit."},
    {"regionalMonth",
     "Mai 16 08:53:56.937310 abreu pppd[10313]: Exit.",
     true,
     true,
     {0, 5, 16, 8, 53, 56, kNoOffset},
     "pppd",
     10313,
     "Exit."},
    {"noPid",
     "May  3 05:35:30 host kernel: ppp0: recursion detected",
     true,
     true,
     {0, 5, 3, 5, 35, 30, kNoOffset},
     "kernel",
     std::nullopt,
     "ppp0: recursion detected"},
    {"jsonString",
     R"({"__REALTIME_TIMESTAMP":"1714714531000000","_PID":"15375","SYSLOG_IDENTIFIER":"pppd","MESSAGE":"Exit."})",
     true,
     true,
     {2024, 5, 3, 5, 35, 31, 0},
     "pppd",
     15375,
     "Exit."},
    {"jsonBytes",
     R"({ "SYSLOG_IDENTIFIER" : "pppd", "_PID" : 4, "MESSAGE" : [69, 120, 105, 116, 46, 233], "x" : {"y":[1,null]} })",
     true,
     false,
     {},
     "pppd",
     4,
     "Exit.\xe9"},
    {"jsonEscapes",
     R"({"MESSAGE":"say \"hi\"\t\u00e4","SYSLOG_IDENTIFIER":"pppd"})",
     true,
     false,
     {},
     "pppd",
     std::nullopt,
     "say \"hi\"\t\xc3\xa4"},
    {"unknownMonth", "Foo  3 05:35:30 localhost pppd[1]: Exit.", false, false, {}, {}, {}, {}},
    {"badHour", "May  3 25:35:30 localhost pppd[1]: Exit.", false, false, {}, {}, {}, {}},
    {"brokenJson", R"({"MESSAGE":"Exit.","_PID":"1")", false, false, {}, {}, {}, {}},
    {"jsonByteTooBig", R"({"MESSAGE":[300]})", false, false, {}, {}, {}, {}},
    {"noIdent", "May  3 05:35:30 localhost just words here", false, false, {}, {}, {}, {}},
    {"bare", "Connect: ppp0 <--> /dev/ttyS0", false, false, {}, {}, {}, {}},
    {"binary", std::string_view("\x01\xff\0<9>", 6), false, false, {}, {}, {}, {}},
};

class LinePrefixStyles : public testing::TestWithParam<PrefixCase> {};

TEST_P(LinePrefixStyles, TimeProgramPidAndMessage) {
    test::useUtc();
    const PrefixCase& c = GetParam();
    MonthNames months;
    months.local[4] = "Mai";
    std::string decoded;
    const std::optional<PrefixedLine> line = readPrefix(c.line, months, decoded);
    ASSERT_EQ(line.has_value(), c.fits);
    if (!line) return;
    EXPECT_EQ(line->time.has_value(), c.timed);
    if (c.timed) {
        EXPECT_EQ(*line->time, c.time);
    }
    EXPECT_EQ(line->program, c.program);
    EXPECT_EQ(line->pid, c.pid);
    EXPECT_EQ(line->message, c.message);
}

INSTANTIATE_TEST_SUITE_P(Every, LinePrefixStyles, testing::ValuesIn(kPrefixCases),
                         [](const testing::TestParamInfo<PrefixCase>& info) {
                             return std::string(info.param.name);
                         });

// The hurried reader of the classic style answers only where the whole one
// would say the same, and tells other programs' lines from pppd's.
TEST(QuickPrefix, AgreesWithTheWholeReader) {
    // HOST and IDENT within 64 bytes after the time, or not.
    const std::string lastInWindow = "Dec  8 10:00:00 " + std::string(52, 'h') + " kernel[1]: x";
    const std::string beyondWindow = "Dec  8 10:00:00 " + std::string(53, 'h') + " kernel[1]: x";
    const struct {
        std::string_view line;
        bool quick;
        bool others;  // when quick
    } cases[] = {
        {"Dec  8 10:00:00 gw kernel: [123.4] usb 1-1: reset", true, true},
        {"Dec 18 10:00:00 gw daemon.info dnsmasq[1565]: reading /etc/hosts", true, true},
        {"Dec  8 10:00:00.123456 gw CRON[1]: (root) CMD (run-parts)", true, true},
        {"Dec  8 10:00:00 gw systemd[1]: Started Session 4 of user bob.", true, true},
        {"Dec  8 10:00:00 gw pppd[1]: Exit.", true, false},
        {"Dec  8 10:00:00 gw local2.info chat[2]: CONNECT", true, false},
        {"Dec  8 10:00:00 gw sh[431]: Connect: ppp0 <--> eth0", true, false},
        {"Dec  8 10:00:00 gw pppoe[7]: Timeout waiting for PADO packets", true, false},
        {"Dec 08 10:00:00 gw pppd[4294967295]:", true, false},
        {"Dec  8 10:00:00 gw a]: a bracket closed only", true, true},
        {"Dec  8 10:00:00 gw kern.: kernel: a dot last", true, true},
        {lastInWindow, true, true},
        {beyondWindow, false, false},
        {"Dec  8 10:00:00 gw kernel[12345678901]: eleven digits", false, false},
        {"Dec  8 10:00:00 netifd[3]: no host", false, false},
        {"Mai  8 10:00:00 gw kernel: a regional month", false, false},
        {"Dec  8 10:00:00 gw kernel[x]: a broken PID", false, false},
        {"Dec  8 10:00:00 gw", false, false},
        {"Dec 32 10:00:00 gw kernel: no such day", false, false},
        {"Dec  8 24:00:00 gw kernel: no such hour", false, false},
        {"Dec  8 10:00:00 gw 23:59:59.99pppd[5]: a colon inside", false, false},
        {"Dec  8 10:00:00 gw kernel[]: an empty PID", false, false},
        {"Dec  8 10:00:00 gw [1]: no program", false, false},
        {"Dec  8 10:00:00 gw a:b: two colons", false, false},
        {"Dec  8 10:00:00 gw[1] kernel: a bracket in HOST", false, false},
        {"Dec  8 10:00:00 gw daemon.info", false, false},
        {"Dec  8 10:00:00 gw kernel:x no blank after the colon", false, false},
    };
    MonthNames months;
    months.local[4] = "Mai";
    for (const auto& c : cases) {
        const std::optional<PrefixedLine> quick = readQuickly(c.line);
        EXPECT_EQ(quick.has_value(), c.quick) << c.line;
        if (!quick) continue;
        const std::optional<PrefixedLine> whole = readPrefix(c.line, months);
        ASSERT_TRUE(whole) << c.line;
        EXPECT_EQ(quick->time, whole->time) << c.line;
        EXPECT_EQ(quick->program, whole->program) << c.line;
        EXPECT_EQ(quick->pid, whole->pid) << c.line;
        EXPECT_EQ(quick->message, whole->message) << c.line;
        QuickLine parts;
        ASSERT_TRUE(readQuickly(c.line, parts)) << c.line;
        EXPECT_EQ(parts.isOthers(), c.others) << c.line;
    }
}

// Every English month name, and nothing near one.
TEST(QuickPrefix, KnowsEachMonthByItsName) {
    const std::string_view names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) {
        const std::string line = std::string(names[month - 1]) + "  8 10:00:00 gw kernel: up";
        const std::optional<PrefixedLine> quick = readQuickly(line);
        ASSERT_TRUE(quick && quick->time) << line;
        EXPECT_EQ(quick->time->month, month) << line;
    }
    for (const std::string_view name : {"Dez", "dec", "DEC", "Juk", "Ma ", "May."}) {
        const std::string line = std::string(name) + "  8 10:00:00 gw kernel: up";
        EXPECT_FALSE(readQuickly(line)) << line;
    }
}

// The region's month names as the C library gives them, for dates journalctl
// printed under it; none under English or an unknown region.
TEST(RegionalMonthNames, FollowTheRegionOfTheEnvironment) {
    const struct {
        const char* region;
        int month;  // of name, 0: no local names
        std::string_view name;
    } cases[] = {
        {"de_DE.UTF-8", 5, "Mai"}, {"fr_FR.UTF-8", 2, "f\xc3\xa9vr"},  // "févr." without its dot
        {"en_US.UTF-8", 0, ""},    {"C", 0, ""},
        {"xx_NOWHERE", 0, ""},
    };
    const char* saved = std::getenv("LC_ALL");
    const std::string before = saved ? saved : "";
    for (const auto& c : cases) {
        setenv("LC_ALL", c.region, 1);
        const MonthNames names = regionalMonthNames();
        if (c.month == 0) {
            EXPECT_EQ(names.local, (std::array<std::string, 12>{})) << c.region;
            continue;
        }
        if (names.local[0].empty()) {
            ADD_FAILURE() << c.region << " is not installed";
            continue;
        }
        EXPECT_EQ(names.local[static_cast<std::size_t>(c.month - 1)], c.name) << c.region;
        std::size_t length = 0;
        EXPECT_EQ(names.monthAt(std::string(c.name) + " 8 10:00:00", length), c.month);
        EXPECT_EQ(length, c.name.size());
        EXPECT_EQ(names.monthAt("Dec  8", length), 12) << "English names stay";
    }
    if (saved) {
        setenv("LC_ALL", before.c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
}

}  // namespace
}  // namespace kestal
