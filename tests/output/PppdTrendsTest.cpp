#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "output/PppdTrends.h"
#include "pppd/PppdColumns.h"

namespace kestal {
namespace {

constexpr double kDec1 = 1796083200;  // 12-01-2026 00:00:00, a Tuesday
constexpr double kDay = 86400;
constexpr double kHour = 3600;

struct Row {
    std::string_view start, end;
    std::uint32_t marks;
};

// Sessions across midnight, a drop followed by two failed attempts then a
// session, drops at 04:00 on two weekdays (a forced disconnect), one still
// up, one begun before the log, one undated row, an empty day.
const Row kRows[] = {
    {"12-01-2026 22:00:00", "12-02-2026 02:00:00", kSessionMark | kDroppedMark},  // 0
    {"12-02-2026 02:01:00", "12-02-2026 02:01:30", kFailedAttemptMark},           // 1
    {"12-02-2026 02:05:00", "-", kFailedAttemptMark},                             // 2
    {"12-02-2026 03:00:00", "12-03-2026 04:00:00", kSessionMark | kDroppedMark},  // 3
    {"12-03-2026 04:00:30", "12-04-2026 04:00:00", kSessionMark | kDroppedMark},  // 4
    {"12-04-2026 04:01:00", "-", kSessionMark | kStillUpMark},                    // 5
    {"-", "12-01-2026 01:00:00", kSessionMark},                                   // 6
    {"-", "-", kSessionMark},                                                     // 7
    {"12-06-2026 10:00:00", "12-06-2026 10:00:40", kFailedAttemptMark},           // 8
};

CallTable handMadeTable() {
    CallTable table{kPppdColumns};
    std::array<std::string_view, kPppdColumnCount> cells{};
    cells.fill("-");
    for (const Row& row : kRows) {
        cells[indexOf(PppdColumn::StartTime)] = row.start;
        cells[indexOf(PppdColumn::EndTime)] = row.end;
        table.addCall(cells, row.marks);
    }
    return table;
}

TEST(PppdTrendsTest, PerDayFiguresWorkedByHand) {
    const CallTable table = handMadeTable();
    const PppdTrends trends =
        pppdTrends(table, {0, 1, 2, 3, 4, 5, 6, 7, 8}, kDec1 + 3 * kDay + 10 * kHour);
    std::vector<double> days;
    for (int d = 0; d < 6; ++d) days.push_back(kDec1 + d * kDay);
    EXPECT_EQ(trends.days, days);
    // Dec 1: 22:00-24:00. Dec 2: 00:00-02:00 and 03:00-24:00. Dec 3:
    // 00:00-04:00 and 04:00:30-24:00. Dec 4: 00:00-04:00, then 04:01 still
    // up until 10:00 (the log's end). Dec 5: nothing.
    const double dec3 = 4 + (24 * kHour - 4 * kHour - 30) / kHour;
    EXPECT_EQ(trends.dayOnlineHours, (std::vector<double>{2, 23, dec3, 4 + 6 - 1.0 / 60, 0, 0}));
    EXPECT_EQ(trends.dayDrops, (std::vector<double>{0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(trends.dayFailedAttempts, (std::vector<double>{0, 2, 0, 0, 0, 1}));
    EXPECT_EQ(trends.dayFirstSession, (std::vector<int>{0, 3, 4, 5, -1, -1}));
    EXPECT_EQ(trends.dayFirstDrop, (std::vector<int>{-1, 0, 3, 4, -1, -1}));
    EXPECT_EQ(trends.dayFirstFailedAttempt, (std::vector<int>{-1, 1, -1, -1, -1, 8}));
    EXPECT_EQ(trends.drops, 3);
    EXPECT_EQ(trends.failedAttempts, 3);
}

TEST(PppdTrendsTest, DailyDisconnectAtFourIsOneHotHour) {
    const PppdTrends trends = pppdTrends(handMadeTable(), {0, 1, 2, 3, 4, 5, 6, 7, 8});
    double total = 0;
    for (int weekday = 0; weekday < kWeekdays; ++weekday) {
        for (int hour = 0; hour < kHoursPerDay; ++hour) {
            const double drops = trends.dropsByHour[weekday][hour];
            total += drops;
            // Wednesday 02:00 (row 0), Thursday and Friday 04:00.
            const bool expected =
                (weekday == 2 && hour == 2) || ((weekday == 3 || weekday == 4) && hour == 4);
            EXPECT_EQ(drops, expected ? 1 : 0) << weekday << " " << hour;
            const int first = trends.firstDropByHour[weekday][hour];
            EXPECT_EQ(first >= 0, expected) << weekday << " " << hour;
        }
    }
    EXPECT_EQ(total, 3);
    EXPECT_EQ(trends.firstDropByHour[3][4], 3);
    EXPECT_EQ(trends.firstDropByHour[4][4], 4);
}

TEST(PppdTrendsTest, SessionsInTimeOrderWithTheirDurations) {
    const CallTable table = handMadeTable();
    struct Case {
        const char* what;
        std::vector<int> rows;
        std::optional<std::int64_t> logEnd;
        std::vector<int> sessions;
        std::vector<float> durations;
    };
    const Case cases[] = {
        // Without a given end, the still-up session lasts until the latest
        // time the table holds (row 8's end, 12-06-2026 10:00:40).
        {"all, in grid order reversed",
         {8, 7, 6, 5, 4, 3, 2, 1, 0},
         std::nullopt,
         {0, 3, 4, 5},
         {4 * kHour, 25 * kHour, kDay - 30, 2 * kDay + 6 * kHour - 20}},
        {"the shown rows only", {3, 4}, std::nullopt, {3, 4}, {25 * kHour, kDay - 30}},
        {"an end before the still-up session's start gives it no duration",
         {5},
         static_cast<std::int64_t>(kDec1),
         {5},
         {NAN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PppdTrends trends = pppdTrends(table, c.rows, c.logEnd);
        EXPECT_EQ(trends.rows, c.sessions);
        EXPECT_TRUE(std::is_sorted(trends.times.begin(), trends.times.end()));
        ASSERT_EQ(trends.durations.size(), c.durations.size());
        for (std::size_t i = 0; i < c.durations.size(); ++i) {
            if (std::isnan(c.durations[i]))
                EXPECT_TRUE(std::isnan(trends.durations[i]));
            else
                EXPECT_EQ(trends.durations[i], c.durations[i]) << i;
        }
    }
}

TEST(PppdTrendsTest, EmptyAndWeekdays) {
    const PppdTrends none = pppdTrends(handMadeTable(), {});
    EXPECT_TRUE(none.days.empty());
    EXPECT_TRUE(none.times.empty());
    EXPECT_EQ(none.firstDropByHour[0][0], -1);
    EXPECT_EQ(weekdayOf(0), 3);                               // 1970-01-01, a Thursday
    EXPECT_EQ(weekdayOf(static_cast<int>(kDec1 / kDay)), 1);  // Tuesday
    EXPECT_EQ(weekdayOf(-1), 2);                              // 1969-12-31, a Wednesday
    EXPECT_EQ(latestTime(CallTable{kPppdColumns}), std::nullopt);
}

}  // namespace
}  // namespace kestal
