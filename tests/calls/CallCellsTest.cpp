// The cells of a call row: times, durations, layer seconds and counters, as
// the scan reads and writes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calls/CallRow.h"
#include "calls/CallScan.h"
#include "platform/RegionalNumbers.h"
#include "support/LogTestHelpers.h"
#include "support/ScanHelpers.h"

namespace kestal::testing {
namespace {

TEST(CallScanTest, DurationIsEndMinusStartModuloADay) {
    struct Case {
        const char* start;
        const char* end;
        const char* duration;
    };
    const std::vector<Case> cases = {
        {"09:12:04.30", "09:22:41.20", "00:10:37"},
        {"23:59:50.00", "00:00:10.00", "00:00:20"},  // past midnight
        {"10:00:00.10", "10:00:00.90", "-       "},  // same second
        {"00:00:00.00", "23:59:59.99", "23:59:59"},
        {"12:00:01.00", "12:00:00.00", "23:59:59"},  // a clock set back
        {"08:03:17.30", "09:00:17.20", "00:57:00"},
    };
    for (const Case& c : cases) {
        const ScanResult result = scan({opened(c.start), closed(c.end)});
        EXPECT_EQ(result.table.cell(Column::Duration, 0), c.duration) << c.start << " " << c.end;
    }
}

TEST(CallScanTest, UnreadableTimesWarnOncePerCall) {
    const ScanResult result =
        scan({"log opened", closed("09:00:00.00"),                          // no start time
              opened("10:00:00.00"), "short log closed",                    // no end time
              opened("11:00:00.00"), logLine("25:00:00.00", "log closed"),  // no such hour
              opened("12:00:00.00"), "x log opened",                        // cut short, still read
              opened("13:00:00.00"), closed("13:00:05.00")});
    EXPECT_EQ(result.corruptCalls,
              (std::vector<std::string>{"log opened", "12-01-2026 10:00:00", "12-01-2026 11:00:00",
                                        "12-01-2026 12:00:00", "x log opened"}));
    const auto rows = times(result.table);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"log opened", "12-01-2026 09:00:00", kNoDuration}));
    EXPECT_EQ(rows[1],
              (std::vector<std::string>{"12-01-2026 10:00:00", "short log closed", kNoDuration}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"12-01-2026 12:00:00", kNoEnd, kNoDuration}));
    EXPECT_EQ(rows[5][2], "00:00:05");
}

TEST(CallScanTest, RegionalTimeSeparatorReadsAndWritesDurations) {
    RegionalSettings dots;
    dots.timeSeparator = '.';
    // Lines written with the log's own ":" are read all the same, and the
    // duration is written with ".".
    const ScanResult colons = scan({opened("09:00:00.00"), closed("09:00:10.00"),
                                    opened("10:00:00.00"), closed("10:00:10.00")},
                                   dots);
    EXPECT_TRUE(colons.corruptCalls.empty());
    EXPECT_EQ(colons.table.cell(Column::Duration, 0), "00.00.10");
    EXPECT_EQ(colons.table.cell(Column::Duration, 1), "00.00.10");
    // Neither way readable: the warning, and no duration.
    const ScanResult neither = scan({opened("09;00;00.00"), closed("09:00:10.00")}, dots);
    EXPECT_EQ(neither.corruptCalls.size(), 1u);
    EXPECT_EQ(neither.table.cell(Column::Duration, 0), kNoDuration);
    // Lines written with "." are read, and the duration uses "." too.
    const ScanResult dotted = scan({opened("09.00.00.00"), closed("10.02.03.00")}, dots);
    EXPECT_TRUE(dotted.corruptCalls.empty());
    EXPECT_EQ(dotted.table.cell(Column::Duration, 0), "01.02.03");
}

TEST(CallScanTest, LayerSecondsReadsTenthsInSinglePrecision) {
    struct Case {
        const char* layer;
        const char* start;
        char separator;
        float seconds;
    };
    const std::vector<Case> cases = {
        {"13:59:04.90", "13:59:04", '.', 0.8984375f},  // 50344.9 held as a float
        {"13:59:06.52", "13:59:04", '.', 2.5f},        // hundredths ignored
        {"14:07:24.00", "13:59:04", '.', 500.0f},
        {"14:07:24.10", "13:59:04", '.', 500.1015625f},
        {"13:59:03.90", "13:59:04", '.', -0.1015625f},
        {"", "13:59:04", '.', -1.0f},
        {"13:59:06.52", "", '.', -1.0f},
        {"13:59:0x.52", "13:59:04", '.', -1.0f},
        {"13:59:06.52", "13:59:04", ',', 2.5f},  // the log's own "." when "," fails
        {"13:59:06,52", "13:59:04", ',', 2.5f},
        {"13:59:06;52", "13:59:04", ',', -1.0f},
        {" 1:59: 6.52", "01:59:04", '.', 2.5f},  // blanks around numbers
        {"13:59:06", "13:59:04", '.', 2.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(layerSeconds(c.layer, c.start, c.separator), c.seconds)
            << c.layer << " " << c.start;
}

TEST(CallScanTest, LayerCellsFollowTheRangeRule) {
    struct Case {
        const char* layerTime;
        const char* cell;
    };
    // The call starts at 13:59:04.80; its start counts from 13:59:04.
    const std::vector<Case> cases = {
        {"13:59:04.90", "0.9"},   {"13:59:04.00", "0.0"}, {"14:07:24.00", "500.0"},
        {"14:07:24.10", "-"},     {"13:59:03.90", "-"},   {"13:59:05.30", "1.3"},
        {"14:00:49.55", "105.5"}, {"xx:59:05.30", "-"},
    };
    for (const Case& c : cases) {
        const ScanResult result = scan(
            {opened("13:59:04.80"), logLine(c.layerTime, "LCP : Layer up"), closed("14:10:00.00")});
        EXPECT_EQ(result.table.cell(Column::Lcp, 0), c.cell) << c.layerTime;
        EXPECT_EQ(result.table.cell(Column::Chap, 0), "-") << "missing CHAP line";
    }
}

TEST(CallScanTest, EachLayerLineFeedsItsColumn) {
    const ScanResult result = scan({
        opened("10:00:00.00"),
        logLine("10:00:01.00", "LCP : Layer up"),
        logLine("10:00:02.00", "CHAP : Layer up"),
        logLine("10:00:03.00", "IPCP : Layer up"),
        logLine("10:00:04.00", "CCP : Layer up"),
        logLine("10:00:05.00", "CCP : Layer finished"),
        logLine("10:00:06.00", "LCP : Layer up"),  // the later line wins
        logLine("10:00:07.00", "LCP : Layer down"),
        closed("10:10:00.00"),
        opened("11:00:00.00"),
        logLine("11:00:09.00", "LCP : Layer up"),
        logLine("11:20:00.00", "CHAP : Layer up"),  // 1200 seconds: out of range
        closed("11:30:00.00"),
    });
    EXPECT_EQ(result.table.cell(Column::Lcp, 0), "6.0");
    EXPECT_EQ(result.table.cell(Column::Chap, 0), "2.0");
    EXPECT_EQ(result.table.cell(Column::Ipcp, 0), "3.0");
    EXPECT_EQ(result.table.cell(Column::Ccp, 0), "5.0");
    EXPECT_EQ(result.table.cell(Column::Lcp, 1), "9.0");
    EXPECT_EQ(result.table.cell(Column::Chap, 1), "-");
    EXPECT_EQ(result.table.cell(Column::Ipcp, 1), "-");
    EXPECT_EQ(result.table.cell(Column::Ccp, 1), "-");
}

TEST(CallScanTest, DecimalCommaReadsTheLogsPointAndWritesACommaCell) {
    RegionalSettings commas;
    commas.decimalSeparator = ',';
    const ScanResult result =
        scan({opened("10:00:00.00"), logLine("10:00:01.00", "LCP : Layer up"),
              logLine("10:00:02.00", "CHAP : Layer up"), logLine("10:00:03.50", "IPCP : Layer up"),
              logLine("10:08:24.10", "CCP : Layer up"), closed("10:10:00.00")},
             commas);
    EXPECT_EQ(result.table.cell(Column::Lcp, 0), "1,0");
    EXPECT_EQ(result.table.cell(Column::Chap, 0), "2,0");
    EXPECT_EQ(result.table.cell(Column::Ipcp, 0), "3,5");
    EXPECT_EQ(result.table.cell(Column::Ccp, 0), "-");  // 504.1 seconds: the range rule still holds
    EXPECT_EQ(result.table.cell(Column::Duration, 0), "00:10:00");
    // Written with the separator, the tenths are read and shown with it.
    const ScanResult written = scan(
        {opened("10:00:00,00"), logLine("10:00:01,70", "LCP : Layer up"), closed("10:10:00,00")},
        commas);
    EXPECT_EQ(written.table.cell(Column::Lcp, 0), "1,7");
}

TEST(CallScanTest, CountersTakePositions49To67Verbatim) {
    const std::string prefix = logLine("10:00:01.00", "Bytes Received ");  // 40 characters
    struct Case {
        const char* name;
        std::string line;
        std::string cell;
    };
    const std::vector<Case> cases = {
        {"ends before position 49", prefix + "1234567", ""},
        {"ends at position 48", prefix + "12345678", ""},
        {"ends inside the range", prefix + "123456789abc", "9abc"},
        {"longer than the range", prefix + "12345678" + "abcdefghijklmnopqrstuvwxyz",
         "abcdefghijklmnopqrs"},
        {"blanks kept", counterLine("10:00:01.00", "Bytes Received", "182344"), "    182344"},
    };
    for (const Case& c : cases) {
        const ScanResult result = scan({opened("10:00:00.00"), c.line, closed("10:10:00.00")});
        EXPECT_EQ(result.table.cell(Column::BytesRx, 0), c.cell) << c.name;
    }
}

TEST(CallScanTest, EachCounterLineFeedsItsColumn) {
    const std::vector<std::pair<std::string, int>> counters = {
        {"Bytes Received", 7},         {"Bytes Transmitted", 8},  {"Frames Received", 9},
        {"Frames Transmitted", 10},    {"CRC Errors", 11},        {"Timeout Errors", 12},
        {"Alignment Errors", 13},      {"Overrun Errors", 14},    {"Framing Errors", 15},
        {"Buffer Overrun Errors", 16}, {"Incomplete Packets", 17}};
    std::vector<std::string> lines = {opened("10:00:00.00")};
    for (std::size_t i = 0; i < counters.size(); ++i)
        lines.push_back(counterLine("10:00:01.00", counters[i].first, std::to_string(100 + i)));
    lines.push_back(closed("10:10:00.00"));
    const ScanResult result = scan(lines);
    for (std::size_t i = 0; i < counters.size(); ++i)
        EXPECT_EQ(result.table.cell(columnAt(counters[i].second), 0),
                  "       " + std::to_string(100 + i))
            << counters[i].first;
}

TEST(CallScanTest, OverrunNeedsTheDashBeforeIt) {
    const ScanResult result = scan({
        opened("10:00:00.00"),
        counterLine("10:00:01.00", "Buffer Overrun Errors", "7"),
        logLine("10:00:01.00", "xOverrun Errors                   8"),
        closed("10:10:00.00"),
        opened("11:00:00.00"),
        counterLine("11:00:01.00", "Overrun Errors", "3"),
        counterLine("11:00:01.00", "Buffer Overrun Errors", "4"),
        closed("11:10:00.00"),
    });
    EXPECT_EQ(result.table.cell(Column::OverrunErrors, 0), "");
    EXPECT_EQ(result.table.cell(Column::BufferErrors, 0), "         7");
    EXPECT_EQ(result.table.cell(Column::OverrunErrors, 1), "         3");
    EXPECT_EQ(result.table.cell(Column::BufferErrors, 1), "         4");
}

TEST(CallScanTest, PositionsAreOneBasedAndCutAtTheLineEnd) {
    EXPECT_EQ(positions("abcdef", 2, 4), "bcd");
    EXPECT_EQ(positions("abcdef", 5, 10), "ef");
    EXPECT_EQ(positions("abcdef", 7, 10), "");
    EXPECT_EQ(positions("", 1, 19), "");
}

TEST(CallScanTest, ReadsNumbersAndTimesOfDay) {
    EXPECT_EQ(readNumber(" 04 ", '.'), 4.0);
    EXPECT_EQ(readNumber("06.5", '.'), 6.5);
    EXPECT_EQ(readNumber("-0.1", '.'), -0.1);
    EXPECT_EQ(readNumber("500,1", ','), 500.1);
    EXPECT_EQ(readNumber("1e3", '.'), 1000.0);
    for (const char* bad : {"", "  ", ".", "06.5x", "0x10", "inf", "nan", "1 2", "06,5"})
        EXPECT_EQ(readNumber(bad, '.'), std::nullopt) << bad;

    EXPECT_EQ(readTimeOfDay("13:59:04", ':'), 50344);
    EXPECT_EQ(readTimeOfDay(" 9:05:01", ':'), 32701);
    EXPECT_EQ(readTimeOfDay("23:59:59", ':'), 86399);
    for (const char* bad : {"24:00:00", "12:60:00", "12:00:60", "12:00", "12.00.00", "", "1:2:3x"})
        EXPECT_EQ(readTimeOfDay(bad, ':'), std::nullopt) << bad;
}

}  // namespace
}  // namespace kestal::testing
