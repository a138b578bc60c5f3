#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/CallScan.h"
#include "log/LogTestHelpers.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::counterLine;
using testing::crlfText;
using testing::dumpTable;
using testing::logLine;

const std::string kNoEnd = "-                ";
const std::string kNoDuration = "-       ";

std::string opened(std::string_view time, std::string_view date = "12-01-2026") {
    return logLine(time, "Remote access driver log opened.", date);
}
std::string closed(std::string_view time, std::string_view date = "12-01-2026") {
    return logLine(time, "Remote access driver log closed.", date);
}

struct ScanResult {
    CallTable table;
    std::vector<std::string> corruptCalls;  // start texts, one per warning
};

ScanResult scan(const std::vector<std::string>& lines, RegionalSettings settings = {}) {
    ScanResult result;
    const LogLines log = LogLines::fromBytes(crlfText(lines));
    scanCalls(log, result.table, settings,
              [&](std::string_view start) { result.corruptCalls.emplace_back(start); });
    return result;
}

// Columns 0 to 2 of every call row.
std::vector<std::vector<std::string>> times(const CallTable& table) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 1; row < table.rowCount(); ++row)
        rows.push_back({std::string(table.cell(0, row)), std::string(table.cell(1, row)),
                        std::string(table.cell(2, row))});
    return rows;
}

TEST(CallScanTest, CutsTheLogIntoCallBlocks) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::vector<std::string>> rows;  // start, end, duration
    };
    const std::vector<Case> cases = {
        {"no call at all", {logLine("09:00:00.00", "something"), closed("09:00:01.00")}, {}},
        {"empty log", {}, {}},
        {"lines outside calls are ignored",
         {logLine("08:00:00.00", "before"), opened("09:00:00.10"), closed("09:00:30.20"),
          logLine("09:10:00.00", "between"), opened("10:00:00.00"), closed("10:01:00.00"),
          logLine("11:00:00.00", "after")},
         {{"12-01-2026 09:00:00", "12-01-2026 09:00:30", "00:00:30"},
          {"12-01-2026 10:00:00", "12-01-2026 10:01:00", "00:01:00"}}},
        {"a call cut short by the next one",
         {opened("09:00:00.00"), logLine("09:00:05.00", "x"), opened("09:10:00.00"),
          closed("09:20:00.00")},
         {{"12-01-2026 09:00:00", kNoEnd, kNoDuration},
          {"12-01-2026 09:10:00", "12-01-2026 09:20:00", "00:10:00"}}},
        {"a call running to the end of the log",
         {opened("09:00:00.00"), logLine("09:05:10.00", "last")},
         {{"12-01-2026 09:00:00", "12-01-2026 09:05:10", "00:05:10"}}},
        {"a log opened as its very last line after a closed call",
         {opened("09:00:00.00"), closed("09:00:10.00"), opened("09:30:00.00")},
         {{"12-01-2026 09:00:00", "12-01-2026 09:00:10", "00:00:10"},
          {"12-01-2026 09:30:00", "12-01-2026 09:30:00", kNoDuration}}},
        {"a last line that cuts the previous call short opens a row of its own",
         {opened("09:00:00.00"), logLine("09:00:05.00", "x"), opened("09:30:00.00")},
         {{"12-01-2026 09:00:00", kNoEnd, kNoDuration},
          {"12-01-2026 09:30:00", "12-01-2026 09:30:00", kNoDuration}}},
        {"three opened lines in a row",
         {opened("09:00:00.00"), opened("09:00:01.00"), opened("09:00:02.00")},
         {{"12-01-2026 09:00:00", kNoEnd, kNoDuration},
          {"12-01-2026 09:00:01", kNoEnd, kNoDuration},
          {"12-01-2026 09:00:02", "12-01-2026 09:00:02", kNoDuration}}},
        {"a line holding both texts opens a call",
         {opened("09:00:00.00"), logLine("09:00:05.00", "log opened and log closed"),
          closed("09:00:09.00")},
         {{"12-01-2026 09:00:00", kNoEnd, kNoDuration},
          {"12-01-2026 09:00:05", "12-01-2026 09:00:09", "00:00:04"}}},
        {"text in other letter cases is not recognised",
         {logLine("09:00:00.00", "Log Opened"), opened("09:00:01.00"),
          logLine("09:00:02.00", "LOG CLOSED"), closed("09:00:03.00")},
         {{"12-01-2026 09:00:01", "12-01-2026 09:00:03", "00:00:02"}}},
    };
    for (const Case& c : cases) {
        const ScanResult result = scan(c.lines);
        if (c.rows.empty()) {
            EXPECT_EQ(result.table.rowCount(), 2) << c.name;
            EXPECT_EQ(result.table.callCount(), 0) << c.name;
            for (int column = 0; column < kColumnCount; ++column)
                EXPECT_EQ(result.table.cell(column, 1), "") << c.name;
        } else {
            EXPECT_EQ(times(result.table), c.rows) << c.name;
        }
        EXPECT_EQ(result.table.currentRow(), 1) << c.name;
        EXPECT_EQ(result.table.currentColumn(), 0) << c.name;
        EXPECT_TRUE(result.corruptCalls.empty()) << c.name;
    }
}

TEST(CallScanTest, RowOfAFinalOpenedLineHasNoLayersOrCounters) {
    const ScanResult result =
        scan({opened("09:00:00.00"), logLine("09:00:01.00", "LCP : Layer up"),
              counterLine("09:00:02.00", "Bytes Received", "5"), opened("09:30:00.00")});
    ASSERT_EQ(result.table.rowCount(), 3);
    EXPECT_EQ(result.table.cell(3, 1), "1.0");
    EXPECT_EQ(result.table.cell(7, 1), "         5");
    for (int column = 3; column <= 6; ++column) EXPECT_EQ(result.table.cell(column, 2), "-");
    for (int column = 7; column < kColumnCount; ++column)
        EXPECT_EQ(result.table.cell(column, 2), "");
}

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
        EXPECT_EQ(result.table.cell(2, 1), c.duration) << c.start << " " << c.end;
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
    EXPECT_EQ(colons.table.cell(2, 1), "00.00.10");
    EXPECT_EQ(colons.table.cell(2, 2), "00.00.10");
    // Neither way readable: the warning, and no duration.
    const ScanResult neither = scan({opened("09;00;00.00"), closed("09:00:10.00")}, dots);
    EXPECT_EQ(neither.corruptCalls.size(), 1u);
    EXPECT_EQ(neither.table.cell(2, 1), kNoDuration);
    // Lines written with "." are read, and the duration uses "." too.
    const ScanResult dotted = scan({opened("09.00.00.00"), closed("10.02.03.00")}, dots);
    EXPECT_TRUE(dotted.corruptCalls.empty());
    EXPECT_EQ(dotted.table.cell(2, 1), "01.02.03");
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
        EXPECT_EQ(result.table.cell(3, 1), c.cell) << c.layerTime;
        EXPECT_EQ(result.table.cell(4, 1), "-") << "missing CHAP line";
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
    EXPECT_EQ(result.table.cell(3, 1), "6.0");
    EXPECT_EQ(result.table.cell(4, 1), "2.0");
    EXPECT_EQ(result.table.cell(5, 1), "3.0");
    EXPECT_EQ(result.table.cell(6, 1), "5.0");
    EXPECT_EQ(result.table.cell(3, 2), "9.0");
    EXPECT_EQ(result.table.cell(4, 2), "-");
    EXPECT_EQ(result.table.cell(5, 2), "-");
    EXPECT_EQ(result.table.cell(6, 2), "-");
}

TEST(CallScanTest, DecimalCommaReadsTheLogsPointAndWritesACommaCell) {
    RegionalSettings commas;
    commas.decimalSeparator = ',';
    const ScanResult result =
        scan({opened("10:00:00.00"), logLine("10:00:01.00", "LCP : Layer up"),
              logLine("10:00:02.00", "CHAP : Layer up"), logLine("10:00:03.50", "IPCP : Layer up"),
              logLine("10:08:24.10", "CCP : Layer up"), closed("10:10:00.00")},
             commas);
    EXPECT_EQ(result.table.cell(3, 1), "1,0");
    EXPECT_EQ(result.table.cell(4, 1), "2,0");
    EXPECT_EQ(result.table.cell(5, 1), "3,5");
    EXPECT_EQ(result.table.cell(6, 1), "-");  // 504.1 seconds: the range rule still holds
    EXPECT_EQ(result.table.cell(2, 1), "00:10:00");
    // Written with the separator, the tenths are read and shown with it.
    const ScanResult written = scan(
        {opened("10:00:00,00"), logLine("10:00:01,70", "LCP : Layer up"), closed("10:10:00,00")},
        commas);
    EXPECT_EQ(written.table.cell(3, 1), "1,7");
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
        EXPECT_EQ(result.table.cell(7, 1), c.cell) << c.name;
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
        EXPECT_EQ(result.table.cell(counters[i].second, 1), "       " + std::to_string(100 + i))
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
    EXPECT_EQ(result.table.cell(14, 1), "");
    EXPECT_EQ(result.table.cell(16, 1), "         7");
    EXPECT_EQ(result.table.cell(14, 2), "         3");
    EXPECT_EQ(result.table.cell(16, 2), "         4");
}

TEST(CallScanTest, LaterLinesReplaceEarlierValuesAndCallsDontMix) {
    const ScanResult result = scan({
        opened("10:00:00.00"),
        counterLine("10:00:01.00", "Bytes Received", "111"),
        counterLine("10:00:02.00", "Bytes Received", "222"),
        counterLine("10:00:02.00", "CRC Errors", "9"),
        closed("10:10:00.00"),
        opened("11:00:00.00"),
        counterLine("11:00:01.00", "Bytes Received", "333"),
        closed("11:10:00.00"),
    });
    EXPECT_EQ(result.table.cell(7, 1), "       222");
    EXPECT_EQ(result.table.cell(11, 1), "         9");
    EXPECT_EQ(result.table.cell(7, 2), "       333");
    EXPECT_EQ(result.table.cell(11, 2), "");
}

TEST(CallScanTest, OnlyLinesAfterTheOpeningLineCount) {
    // The opening line gives the start only; the closing line is read too.
    const ScanResult result = scan({
        opened("10:00:00.00") + " Bytes Received",
        logLine("10:00:05.00", "log closed CRC Errors 1234567890123456789"),
    });
    EXPECT_EQ(result.table.cell(7, 1), "");
    EXPECT_EQ(result.table.cell(11, 1), "234567890123456789");
}

TEST(CallScanTest, CallCountTextFromThreeCallsOn) {
    struct Case {
        int calls;
        std::optional<std::string> text;
    };
    const std::vector<Case> cases = {
        {0, std::nullopt}, {1, std::nullopt}, {2, std::nullopt}, {3, "3 Calls"}, {12, "12 Calls"}};
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        for (int i = 0; i < c.calls; ++i) {
            lines.push_back(opened("10:00:00.00"));
            lines.push_back(closed("10:00:10.00"));
        }
        const ScanResult result = scan(lines);
        EXPECT_EQ(result.table.rowCount(), c.calls == 0 ? 2 : c.calls + 1);
        EXPECT_EQ(callCountText(result.table), c.text) << c.calls;
    }
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

TEST(CallScanTest, SampleLogGivesTheExpectedTable) {
    LogLines lines;
    readLogFile(std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt", lines);
    CallTable table;
    std::vector<std::string> warnings;
    scanCalls(lines, table, RegionalSettings{},
              [&](std::string_view start) { warnings.emplace_back(start); });
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(dumpTable(table),
              testing::readBytes(std::string(KESTAL_TEST_DATA) + "/log/sample-calls.txt"));
    EXPECT_EQ(callCountText(table), "6 Calls");
}

TEST(CallScanTest, TwoWalkersGiveTheRowsOfOneWhereverTheSplitFalls) {
    // The sample log, then lines outside any call, calls cut short, calls
    // with unreadable times (whose warnings must keep their order) and a
    // "log opened" as the very last line.
    const std::string text =
        testing::readBytes(std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt") +
        crlfText({logLine("08:00:00.00", "between calls"), opened("9x:00:00.00"),
                  logLine("09:00:01.00", "x"), opened("10:00:00.00"), closed("10:00:05.00"),
                  opened("11:00:00.00"), logLine("25:00:00.00", "log closed"),
                  logLine("12:00:00.00", "after"), "log opened", opened("13:00:00.00"),
                  logLine("13:00:01.00", "y"), opened("14:00:00.00")});
    const LogLines lines = LogLines::fromBytes(text);
    const auto walk = [&lines](std::size_t split, std::vector<std::string>& warnings) {
        CallTable table;
        scanCalls(
            lines, table, RegionalSettings{},
            [&warnings](std::string_view start) { warnings.emplace_back(start); }, split);
        EXPECT_EQ(table.currentRow(), 1);
        EXPECT_EQ(table.currentColumn(), 0);
        return dumpTable(table);
    };
    std::vector<std::string> oneWarnings;
    const std::string one = walk(lines.size(), oneWarnings);
    ASSERT_EQ(oneWarnings.size(), 3u);
    for (std::size_t split = 0; split < lines.size(); ++split) {
        std::vector<std::string> warnings;
        EXPECT_EQ(walk(split, warnings), one) << "split at line " << split;
        EXPECT_EQ(warnings, oneWarnings) << "split at line " << split;
    }
}

TEST(CallScanTest, LongLogsGiveTheRowsOfOneWalker) {
    // Long enough for two walkers: calls all along, and one call whose
    // lines fill the middle, where no second walker can start.
    const auto longLog = [](bool callsAllAlong) {
        std::vector<std::string> lines;
        for (int i = 0; i < 300000; ++i) {
            const std::string time = "09:00:" + std::to_string(10 + i % 50) + ".00";
            if (i % 40 == 0 && (callsAllAlong || i < 1000 || i > 250000)) {
                lines.push_back(opened(i % 4000 == 0 ? "9x:00:00.00" : time));
            } else if (i % 40 == 39 && i % 3 != 0) {
                lines.push_back(closed(time));
            } else {
                lines.push_back(logLine(time, "something"));
            }
        }
        return LogLines::fromBytes(crlfText(lines));
    };
    for (const bool callsAllAlong : {true, false}) {
        const LogLines lines = longLog(callsAllAlong);
        CallTable two;
        CallTable one;
        int twoWarnings = 0;
        int oneWarnings = 0;
        scanCalls(lines, two, RegionalSettings{}, [&](std::string_view) { ++twoWarnings; });
        scanCalls(
            lines, one, RegionalSettings{}, [&](std::string_view) { ++oneWarnings; }, lines.size());
        EXPECT_GT(one.callCount(), 100) << callsAllAlong;
        EXPECT_GT(oneWarnings, 1) << callsAllAlong;
        EXPECT_EQ(dumpTable(two), dumpTable(one)) << callsAllAlong;
        EXPECT_EQ(twoWarnings, oneWarnings) << callsAllAlong;
    }
}

TEST(CallScanTest, AppendedCallsFollowTheRowRule) {
    // Into a table without calls the first goes into row 1.
    const LogLines lines = LogLines::fromBytes(
        crlfText({opened("09:00:00.00"), closed("09:00:01.00"), opened("10:00:00.00")}));
    CallTable calls;
    scanCalls(lines, calls, RegionalSettings{}, nullptr);
    CallTable empty;
    empty.appendCalls(calls);
    EXPECT_EQ(dumpTable(empty), dumpTable(calls));
    // Onto a table with calls they come after its own; an empty table adds
    // nothing.
    CallTable both = calls;
    both.appendCalls(calls);
    both.appendCalls(CallTable());
    ASSERT_EQ(both.rowCount(), 5);
    EXPECT_EQ(both.cell(0, 3), "12-01-2026 09:00:00");
    EXPECT_EQ(both.cell(1, 4), "12-01-2026 10:00:00");
}

}  // namespace
}  // namespace kestal
