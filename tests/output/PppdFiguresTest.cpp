// A pppd log's statistics and outages on a small log whose every figure is
// worked out by hand below: a session that began before the log (no Start
// Time), one across midnight dropped by echo timeout, two failed attempts
// and then a session on the same interface, a second interface (ppp1)
// whose session overlaps the first's, drops and comes back, and still up
// at the end, and a last failed attempt that opens a gap still open.
//
// The log's span: 12-01 22:00:00 (a kernel line) to 12-02 03:00:00, 5 h.
// Up: [22:00:00, 22:05:00] (the session before the log, from the log's
// first line), [22:10:05, 00:40:05] ppp0, [00:50, 01:50] ppp0 and
// [01:00, 02:10] ppp1 (one stretch [00:50, 02:10] together), [02:30,
// 03:00] ppp1 still up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/Outages.h"
#include "output/PppdStatistics.h"
#include "pppd/PppdTestHelpers.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

PppdLog handWorkedLog() {
    return test::readText(
        testing::readBytes(std::string(KESTAL_TEST_DATA) + "/log/pppd-outages.log"));
}

std::vector<int> allRows(const CallTable& table) {
    std::vector<int> rows;
    for (int row = 0; row < table.rowCount(); ++row) rows.push_back(row);
    return rows;
}

std::string text(const PppdLog& log, StatisticsPeriod by) {
    return pppdStatisticsText(pppdStatisticsOf(log.table, allRows(log.table), by, log.span),
                              StatisticsLayout::TabSeparated, false);
}

TEST(PppdFigures, TheLogsSpanIsItsFirstAndLastDatedLineOfAnyProgram) {
    const PppdLog log = handWorkedLog();
    ASSERT_TRUE(log.span.first && log.span.last);
    // 2026-12-01 is day 20788 since 1970-01-01.
    EXPECT_EQ(log.span.first->clock, 20788 * 86400 + 22 * 3600);
    EXPECT_EQ(log.span.last->clock, 20789 * 86400 + 3 * 3600);
    EXPECT_EQ(log.span.first->utcOffset, 0);
}

TEST(PppdFigures, EveryFigureByDayWorkedByHand) {
    // 12-01: the ppp0 session 22:10:05-00:40:05 (2:30:00, 1000/5000 bytes,
    // echo timeout); ppp0 is back at 00:50:00, 0:09:55 later. Up 5:00 +
    // 1:49:55 = 6895 s of the day's 7200 s in the log: 95.76%.
    // 12-02: ppp0 00:50-01:50 (stopped, 300/700 bytes), ppp1 01:00-02:10
    // (hangup, back at 02:30: 0:20:00), ppp1 still up 02:30-03:00 (0:30:00),
    // two connect script failures and a device failure. Online 1:00:00 +
    // 1:10:00 + 0:30:00; median of 0:30, 1:00, 1:10 is 1:00. Up 2405 s +
    // 4800 s + 1800 s = 9005 s of 10800 s: 83.38%.
    // unknown: the session before the log, which has no duration.
    const std::string expected =
        "2026-12-01\t1\t0\t1\t2:30:00\t95.8%\t2:30:00\t2:30:00\t0:09:55\t1000\t5000"
        "\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n"
        "2026-12-02\t3\t3\t1\t2:40:00\t83.4%\t1:10:00\t1:00:00\t0:20:00\t300\t700"
        "\t0\t0\t1\t1\t0\t0\t0\t0\t0\t0\t2\t1\t1\t0\r\n"
        "unknown\t1\t0\t0\t-\t-\t-\t-\t-\t0\t0"
        "\t0\t0\t0\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n";
    EXPECT_EQ(text(handWorkedLog(), StatisticsPeriod::Day), expected);
}

TEST(PppdFigures, EveryFigureOfTheWholeLogAndOfItsWeekAndMonth) {
    // Sessions' lengths 0:30, 1:00, 1:10, 2:30: the lower middle is 1:00.
    // Reconnects 595 s and 1200 s: 897.5 s, halves up 0:14:58. Up 300 +
    // 9000 + 4800 + 1800 = 15900 s of 18000 s: 88.33%. The week and the
    // month hold the whole span, so they give the same figures.
    const std::string figures =
        "\t5\t3\t2\t5:10:00\t88.3%\t2:30:00\t1:00:00\t0:14:58\t1300\t5700"
        "\t1\t0\t1\t2\t0\t0\t0\t0\t0\t0\t2\t1\t1\t0\r\n";
    const std::string unknown =
        "unknown\t1\t0\t0\t-\t-\t-\t-\t-\t0\t0"
        "\t0\t0\t0\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n";
    const PppdLog log = handWorkedLog();
    EXPECT_EQ(text(log, StatisticsPeriod::All), "all" + figures);
    // The session before the log belongs to no week: it is left out of
    // the week's counts but not of its up time.
    const std::string dated =
        "\t4\t3\t2\t5:10:00\t88.3%\t2:30:00\t1:00:00\t0:14:58\t1300\t5700"
        "\t1\t0\t1\t1\t0\t0\t0\t0\t0\t0\t2\t1\t1\t0\r\n";
    EXPECT_EQ(text(log, StatisticsPeriod::Week), "2026-W49" + dated + unknown);
    EXPECT_EQ(text(log, StatisticsPeriod::Month), "2026-12" + dated + unknown);
}

TEST(PppdFigures, OutagesWorkedByHand) {
    // ppp0 drops at 00:40:05, two failed attempts without an interface end
    // inside, back at 00:50:00. ppp1 drops at 02:10:00 and is back at 02:30:00
    // (ppp0's session at 00:50 started before and is another link). The
    // device failure at 02:50:00 opens a gap that no session closes.
    const PppdLog log = handWorkedLog();
    EXPECT_EQ(outagesText(log.table, outagesOf(log.table), StatisticsLayout::TabSeparated, true),
              "Start\tEnd\tLength\tCause\tFailed Attempts\r\n"
              "12-02-2026 00:40:05\t12-02-2026 00:50:00\t0:09:55\techo timeout\t2\r\n"
              "12-02-2026 02:10:00\t12-02-2026 02:30:00\t0:20:00\thangup\t0\r\n"
              "12-02-2026 02:50:00\t-\t-\tdevice\t1\r\n");
}

TEST(PppdFigures, ChosenRowsOnlyCountAndEmptyLogsGiveNoPeriods) {
    const PppdLog log = handWorkedLog();
    // The dropped sessions alone: still reconnected by sessions not chosen.
    std::vector<int> dropped;
    for (int row = 0; row < log.table.rowCount(); ++row)
        if (log.table.marks(row) & kDroppedMark) dropped.push_back(row);
    const std::vector<PppdStatisticsRow> rows =
        pppdStatisticsOf(log.table, dropped, StatisticsPeriod::All, log.span);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kSessionsFigure], "2");
    EXPECT_EQ(rows[0][kReconnectFigure], "0:14:58");
    // Up 22:10:05-00:40:05 and 01:00-02:10 of the 5 h: 13200 s, 73.3%.
    EXPECT_EQ(rows[0][kAvailabilityFigure], "73.3%");

    const PppdLog empty = test::readText("");
    EXPECT_TRUE(
        pppdStatisticsOf(empty.table, allRows(empty.table), StatisticsPeriod::Day, empty.span)
            .empty());
    EXPECT_TRUE(outagesOf(empty.table).empty());
}

TEST(PppdFigures, PercentsRoundHalvesUpAndSeparatorsFollowTheRegion) {
    const struct {
        std::int64_t part, whole;
        const char* text;
    } cases[] = {{0, 7, "0.0%"},  {7, 7, "100.0%"},  {1, 8, "12.5%"},   {1, 16, "6.3%"},
                 {2, 3, "66.7%"}, {1, 2000, "0.1%"}, {1, 2001, "0.0%"}, {1999, 2000, "100.0%"}};
    for (const auto& c : cases) EXPECT_EQ(percentText(c.part, c.whole), c.text) << c.part;

    const PppdLog log = handWorkedLog();
    std::vector<PppdStatisticsRow> rows =
        pppdStatisticsOf(log.table, allRows(log.table), StatisticsPeriod::All, log.span);
    useRegionalSeparators(rows, RegionalSettings{',', '.'});
    EXPECT_EQ(rows[0][kOnlineFigure], "5.10.00");
    EXPECT_EQ(rows[0][kAvailabilityFigure], "88,3%");
    EXPECT_EQ(rows[0][kSentFigure], "1300");
}

}  // namespace
}  // namespace kestal
