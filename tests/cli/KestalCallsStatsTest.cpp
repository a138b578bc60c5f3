// kestal-calls --stats: the figures of the Statistics window, per period, as
// tab- or comma-separated text.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "calls/CallScan.h"
#include "cli/RunTool.h"
#include "lines/LogLines.h"
#include "output/CallStatistics.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

const std::string kFixture = KESTAL_TEST_DATA "/log/statistics-ppplog.txt";

// What the Statistics window shows for every call of the fixture.
std::string windowFigures(StatisticsPeriod by, StatisticsLayout layout, bool header) {
    LogLines lines;
    readLogFile(kFixture, lines);
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, RegionalSettings{}, nullptr);
    std::vector<int> rows(static_cast<std::size_t>(table.callCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return statisticsText(statisticsOf(table, rows, by), layout, header);
}

TEST(KestalCallsStats, FiguresOfTheWindowForEveryPeriodAndLayout) {
    // Worked out by hand in CallStatisticsTest; here as the tool writes them.
    EXPECT_EQ(
        runTool({"--stats", "--by=month", "--format", "csv", kFixture}).out,
        "2026-12,4,1:10:21,0:23:27,0:10:00,1:00:00,1,1.38,2.10,3.10,3.75,33001,4510,8,5.06\r\n"
        "2027-01,1,-,-,-,-,0,-,-,-,-,7,0,0,-\r\n"
        "unknown,1,0:01:40,0:01:40,0:01:40,0:01:40,0,-,-,-,-,100,0,1,50.00\r\n");
    const std::pair<const char*, StatisticsPeriod> periods[] = {
        {"all", StatisticsPeriod::All},
        {"day", StatisticsPeriod::Day},
        {"week", StatisticsPeriod::Week},
        {"month", StatisticsPeriod::Month},
    };
    for (const auto& [name, by] : periods) {
        SCOPED_TRACE(name);
        const ToolRun tsv = runTool({"--stats", "--by", name, "--header", kFixture});
        EXPECT_EQ(tsv.exitCode, 0);
        EXPECT_EQ(tsv.err, "");
        EXPECT_EQ(tsv.out, windowFigures(by, StatisticsLayout::TabSeparated, true));
        EXPECT_EQ(runTool({"--stats", "--by", name, "--format", "csv", kFixture}).out,
                  windowFigures(by, StatisticsLayout::CommaSeparated, false));
    }
    EXPECT_EQ(runTool({"--stats", kFixture}).out,
              windowFigures(StatisticsPeriod::All, StatisticsLayout::TabSeparated, false));
}

TEST(KestalCallsStats, OutputNameChoosesCommasAndALogWithoutCallsGivesOnlyTheHeader) {
    TempDir dir;
    ASSERT_EQ(runTool({"--stats", "--header", kFixture, dir.file("figures.CSV")}).exitCode, 0);
    EXPECT_EQ(readBytes(dir.file("figures.CSV")),
              windowFigures(StatisticsPeriod::All, StatisticsLayout::CommaSeparated, true));

    dir.write("empty.txt", "12-01-2026 10:00:00.00 - no call here\r\n");
    const ToolRun run = runTool({"--stats", "--by", "day", "--header", dir.file("empty.txt")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, statisticsHeaderLine(StatisticsLayout::TabSeparated) + "\r\n");
    EXPECT_EQ(runTool({"--stats", dir.file("empty.txt")}).out, "");
}

TEST(KestalCallsStats, FilterChoosesTheCallsSummedUp) {
    // The calls A to F of the fixture are listed in CallStatisticsTest.
    struct Case {
        std::vector<std::string> options;
        std::string out;
    };
    const std::string header = statisticsHeaderLine(StatisticsLayout::TabSeparated) + "\r\n";
    const std::vector<Case> cases = {
        // A, B, D and F: the median is the lower middle of 21, 100, 600 and
        // 3600 s; LCP (1.3 + 1.4 + 1.3) / 3; F's Bytes Tx "12x" is no number;
        // 9 errors in 1600 frames.
        {{"--errors"},
         "all\t4\t1:12:01\t0:18:00\t0:01:40\t1:00:00\t0\t1.33\t2.10\t3.10\t3.75\t33101\t4510"
         "\t9\t5.63\r\n"},
        {{"--errors", "--by", "month"},
         "2026-12\t3\t1:10:21\t0:23:27\t0:10:00\t1:00:00\t0\t1.33\t2.10\t3.10\t3.75\t33001"
         "\t4510\t8\t5.06\r\n"
         "unknown\t1\t0:01:40\t0:01:40\t0:01:40\t0:01:40\t0\t-\t-\t-\t-\t100\t0\t1\t50.00\r\n"},
        // C and D; B started the day before, F has no date.
        {{"--from", "12-29-2026", "--to=12-29-2026", "--by", "day"},
         "2026-12-29\t2\t1:00:00\t1:00:00\t1:00:00\t1:00:00\t1\t1.40\t2.00\t3.20\t4.00"
         "\t30000\t4000\t4\t3.26\r\n"},
        {{"--from=12-29-2026", "--by", "month"},
         "2026-12\t2\t1:00:00\t1:00:00\t1:00:00\t1:00:00\t1\t1.40\t2.00\t3.20\t4.00\t30000"
         "\t4000\t4\t3.26\r\n"
         "2027-01\t1\t-\t-\t-\t-\t0\t-\t-\t-\t-\t7\t0\t0\t-\r\n"},
        // C alone: no duration, no counters, no frames.
        {{"--cut-short"}, "all\t1\t-\t-\t-\t-\t1\t1.50\t-\t-\t-\t0\t0\t0\t-\r\n"},
        // No call passes: the header alone.
        {{"--cut-short", "--errors", "--header"}, header},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--stats"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(kFixture);
        SCOPED_TRACE(c.options.front());
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, c.out);
    }
}

TEST(KestalCallsStats, BadUsageExitsWithTwo) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--by", "day", kFixture}, "kestal-calls: --by goes with --stats"},
        {{"--stats", "--by", "year", kFixture},
         "kestal-calls: unknown period 'year' (all, day, week or month)"},
        {{"--stats", kFixture, "--by"}, "kestal-calls: option '--by' needs a value"},
        {{"--stats", "--format", "txt", kFixture}, "kestal-calls: --stats writes tsv or csv"},
        {{"--stats", kFixture, "figures.txt"}, "kestal-calls: --stats writes tsv or csv"},
        {{"--stats", "--details", "12-28-2026 10:00:00", kFixture},
         "kestal-calls: --details and --stats don't go together"},
        {{"--stats", "--errors", "--sort", "Duration", kFixture},
         "kestal-calls: --stats sums up the calls whatever their order: no --sort with it"},
        {{"--stats", "--from", "2026-12-01", kFixture},
         "kestal-calls: option '--from': '2026-12-01' is no date MM-DD-YYYY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.message);
    }
}

}  // namespace
}  // namespace kestal::testing
