// Cutting the log into calls: call blocks, the sample table, two walkers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calls/CallScan.h"
#include "support/LogTestHelpers.h"
#include "support/ScanHelpers.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

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
            EXPECT_EQ(result.table.rowCount(), 1) << c.name;
            EXPECT_EQ(result.table.callCount(), 0) << c.name;
            for (int column = 0; column < kColumnCount; ++column)
                EXPECT_EQ(result.table.cell(columnAt(column), 0), "") << c.name;
        } else {
            EXPECT_EQ(times(result.table), c.rows) << c.name;
        }
        EXPECT_EQ(result.table.currentRow(), 0) << c.name;
        EXPECT_EQ(result.table.currentColumn(), 0) << c.name;
        EXPECT_TRUE(result.corruptCalls.empty()) << c.name;
    }
}

TEST(CallScanTest, RowOfAFinalOpenedLineHasNoLayersOrCounters) {
    const ScanResult result =
        scan({opened("09:00:00.00"), logLine("09:00:01.00", "LCP : Layer up"),
              counterLine("09:00:02.00", "Bytes Received", "5"), opened("09:30:00.00")});
    ASSERT_EQ(result.table.rowCount(), 2);
    EXPECT_EQ(result.table.cell(Column::Lcp, 0), "1.0");
    EXPECT_EQ(result.table.cell(Column::BytesRx, 0), "         5");
    for (int column = 3; column <= 6; ++column)
        EXPECT_EQ(result.table.cell(columnAt(column), 1), "-");
    for (int column = 7; column < kColumnCount; ++column)
        EXPECT_EQ(result.table.cell(columnAt(column), 1), "");
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
    EXPECT_EQ(result.table.cell(Column::BytesRx, 0), "       222");
    EXPECT_EQ(result.table.cell(Column::CrcErrors, 0), "         9");
    EXPECT_EQ(result.table.cell(Column::BytesRx, 1), "       333");
    EXPECT_EQ(result.table.cell(Column::CrcErrors, 1), "");
}

TEST(CallScanTest, OnlyLinesAfterTheOpeningLineCount) {
    // The opening line gives the start only; the closing line is read too.
    const ScanResult result = scan({
        opened("10:00:00.00") + " Bytes Received",
        logLine("10:00:05.00", "log closed CRC Errors 1234567890123456789"),
    });
    EXPECT_EQ(result.table.cell(Column::BytesRx, 0), "");
    EXPECT_EQ(result.table.cell(Column::CrcErrors, 0), "234567890123456789");
}

TEST(CallScanTest, SampleLogGivesTheExpectedTable) {
    LogLines lines;
    readLogFile(std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt", lines);
    CallTable table{kDialUpColumns};
    std::vector<std::string> warnings;
    scanCalls(lines, table, RegionalSettings{},
              [&](std::string_view start) { warnings.emplace_back(start); });
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(dumpTable(table),
              testing::readBytes(std::string(KESTAL_TEST_DATA) + "/log/sample-calls.txt"));
}

// A row's lines run from its "log opened" line up to its closing line, or
// up to the line that cut it short (the next row's first), or to the end.
TEST(CallScanTest, EachRowKnowsItsLines) {
    const LogLines lines = LogLines::fromBytes(crlfText(
        {logLine("08:00:00.00", "before"), opened("09:00:00.00"), logLine("09:00:01.00", "x"),
         closed("09:00:02.00"), logLine("09:30:00.00", "between"), opened("10:00:00.00"),
         opened("11:00:00.00"), logLine("11:00:01.00", "y")}));
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, RegionalSettings{}, nullptr);
    ASSERT_EQ(table.callCount(), 3);
    EXPECT_EQ(table.lines(0), (LineSpan{1, 4}));  // closed
    EXPECT_EQ(table.lines(1), (LineSpan{5, 6}));  // cut short by the next
    EXPECT_EQ(table.lines(2), (LineSpan{6, 8}));  // to the end of the log
    // A followed log's calls, walked again from a call's first line on.
    CallTable again{kDialUpColumns};
    scanCallsFrom(lines, 5, again, RegionalSettings{}, nullptr);
    EXPECT_EQ(dumpLines(again), "5-6\n6-8\n");
    // Rows written as texts alone have none.
    table.writeRow(1, RowCells{});
    EXPECT_TRUE(table.lines(1).empty());
    table.shiftLines(10);
    EXPECT_EQ(table.lines(2), (LineSpan{16, 18}));
    EXPECT_TRUE(table.lines(1).empty());
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
        CallTable table{kDialUpColumns};
        scanCalls(
            lines, table, RegionalSettings{},
            [&warnings](std::string_view start) { warnings.emplace_back(start); }, split);
        EXPECT_EQ(table.currentRow(), 0);
        EXPECT_EQ(table.currentColumn(), 0);
        return dumpTable(table) + dumpLines(table);
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
        CallTable two{kDialUpColumns};
        CallTable one{kDialUpColumns};
        int twoWarnings = 0;
        int oneWarnings = 0;
        scanCalls(lines, two, RegionalSettings{}, [&](std::string_view) { ++twoWarnings; });
        scanCalls(
            lines, one, RegionalSettings{}, [&](std::string_view) { ++oneWarnings; }, lines.size());
        EXPECT_GT(one.callCount(), 100) << callsAllAlong;
        EXPECT_GT(oneWarnings, 1) << callsAllAlong;
        EXPECT_EQ(dumpTable(two) + dumpLines(two), dumpTable(one) + dumpLines(one))
            << callsAllAlong;
        EXPECT_EQ(twoWarnings, oneWarnings) << callsAllAlong;
    }
}

TEST(CallScanTest, AppendedCallsFollowTheRowRule) {
    // Into a table without calls the first goes into row 0.
    const LogLines lines = LogLines::fromBytes(
        crlfText({opened("09:00:00.00"), closed("09:00:01.00"), opened("10:00:00.00")}));
    CallTable calls{kDialUpColumns};
    scanCalls(lines, calls, RegionalSettings{}, nullptr);
    CallTable empty{kDialUpColumns};
    empty.appendCalls(calls);
    EXPECT_EQ(dumpTable(empty), dumpTable(calls));
    // Onto a table with calls they come after its own; an empty table adds
    // nothing.
    CallTable both = calls;
    both.appendCalls(calls);
    both.appendCalls(CallTable(kDialUpColumns));
    ASSERT_EQ(both.rowCount(), 4);
    EXPECT_EQ(both.cell(Column::StartTime, 2), "12-01-2026 09:00:00");
    EXPECT_EQ(both.cell(Column::EndTime, 3), "12-01-2026 10:00:00");
}

}  // namespace
}  // namespace kestal::testing
