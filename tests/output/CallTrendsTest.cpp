#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "calls/CallScan.h"
#include "lines/LogLines.h"
#include "output/CallTrends.h"

namespace kestal {
namespace {

// The calls of statistics-ppplog.txt are listed in CallStatisticsTest.
CallTrends fixtureTrends() {
    LogLines lines;
    readLogFile(KESTAL_TEST_DATA "/log/statistics-ppplog.txt", lines);
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, RegionalSettings{}, nullptr);
    // Given out of order: the series come out in time order all the same.
    return callTrends(table, {4, 1, 0, 2, 3, 5});
}

TEST(CallTrendsTest, PerCallSeriesInTimeOrderWithoutTheUndatedCall) {
    const CallTrends trends = fixtureTrends();
    EXPECT_EQ(trends.rows, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(trends.times.size(), 5u);
    EXPECT_EQ(trends.times[0], 1798452000.0);  // 12-28-2026 10:00:00
    EXPECT_TRUE(std::is_sorted(trends.times.begin(), trends.times.end()));

    const float none = std::nanf("");
    const std::array<std::vector<float>, kCallMeasureCount> expected = {{
        {600, 21, none, 3600, none},
        {1.3f, 1.4f, 1.5f, 1.3f, none},
        {2.1f, 2.2f, none, 2.0f, none},
        {3.0f, 3.1f, none, 3.2f, none},
        {3.5f, none, none, 4.0f, none},
        {1000.0f / 600, 2001.0f / 21, none, 30000.0f / 3600, none},  // no length: none
        {500.0f / 600, 10.0f / 21, none, 4000.0f / 3600, none},
        {20, 1000.0f / 203, none, 4000.0f / 1227, none},  // no frames: none
    }};
    for (int m = 0; m < kCallMeasureCount; ++m) {
        for (std::size_t i = 0; i < 5; ++i) {
            const float want = expected[m][i], got = trends.values[m][i];
            if (std::isnan(want)) {
                EXPECT_TRUE(std::isnan(got)) << m << " " << i;
            } else {
                EXPECT_FLOAT_EQ(got, want) << m << " " << i;
            }
        }
    }
}

TEST(CallTrendsTest, PerDayCallsOnlineTimeAndMedian) {
    const CallTrends trends = fixtureTrends();
    EXPECT_EQ(trends.days, (std::vector<double>{1798416000, 1798502400, 1798848000}));
    EXPECT_EQ(trends.dayCalls, (std::vector<double>{2, 2, 1}));
    EXPECT_EQ(trends.dayOnlineHours, (std::vector<double>{621 / 3600.0, 1, 0}));
    ASSERT_EQ(trends.dayMedianMinutes.size(), 3u);
    EXPECT_EQ(trends.dayMedianMinutes[0], 21 / 60.0);  // the lower middle of 21 and 600
    EXPECT_EQ(trends.dayMedianMinutes[1], 60);
    EXPECT_TRUE(std::isnan(trends.dayMedianMinutes[2]));
}

TEST(CallTrendsTest, HistogramBins) {
    EXPECT_EQ(niceBinWidth(9.9, 10), 1);
    EXPECT_EQ(niceBinWidth(3600, 40), 100);
    EXPECT_EQ(niceBinWidth(130, 40), 5);
    EXPECT_EQ(niceBinWidth(0, 40), 1);
    const Histogram bins = histogram({0.5f, 1, 9.9f, std::nanf(""), -1, 1.5f}, 10);
    EXPECT_EQ(bins.binWidth, 1);
    EXPECT_EQ(bins.counts, (std::vector<double>{1, 2, 0, 0, 0, 0, 0, 0, 0, 1}));
}

// Every step of the data's resolution equally often, as the program makes
// the values (tenths over 10 as floats): each bin holds the same number of
// steps, so all bins but the last, which may be cut off, count the same.
TEST(CallTrendsTest, EvenDataGivesEvenBins) {
    struct Case {
        CallMeasure measure;
        int steps;  // values 0, 1, ... steps - 1 times the resolution
        int bins;
        double width;
    };
    const Case cases[] = {
        {kLcpMeasure, 100, 50, 0.2},  // 1.4f / 0.2 falls short of 7
        {kLcpMeasure, 300, 50, 1},    // 0.6 a bin rounds up to a nice width
        {kCcpMeasure, 240, 50, 0.5},
        {kLcpMeasure, 20, 50, 0.1},     // fewer steps than bins: one step a bin
        {kDurationMeasure, 20, 50, 1},  // never half a second for whole seconds
        {kDurationMeasure, 7200, 50, 200},
    };
    for (const Case& c : cases) {
        const double resolution = resolutionOf(c.measure);
        std::vector<float> values;
        for (int repeat = 0; repeat < 3; ++repeat) {
            for (int step = 0; step < c.steps; ++step) {
                values.push_back(resolution < 1 ? static_cast<float>(step) / 10.0f
                                                : static_cast<float>(step));
            }
        }
        const Histogram bins = histogram(values, c.bins, resolution);
        EXPECT_NEAR(bins.binWidth, c.width, 1e-9) << c.steps;
        ASSERT_GE(bins.counts.size(), 2u) << c.steps;
        const double full = 3 * std::round(bins.binWidth / resolution);
        for (std::size_t i = 0; i + 1 < bins.counts.size(); ++i)
            EXPECT_EQ(bins.counts[i], full) << c.steps << " bin " << i;
        EXPECT_GE(bins.counts.back(), 1);
        EXPECT_LE(bins.counts.back(), full);
        double total = 0;
        for (const double count : bins.counts) total += count;
        EXPECT_EQ(total, values.size());
    }
}

TEST(CallTrendsTest, PointsDrawnOverEachOtherAreLeftOut) {
    const std::vector<double> times = {0, 1, 2, 50, 99, 100, 150};
    const std::vector<float> values = {5, 5.5f, 60, 50, std::nanf(""), 100, 5};
    // 100 x 100 units on 10 x 10 pixels in cells of 2: 10 units a pixel.
    const ChartView view{0, 100, 0, 100, 10, 10};
    EXPECT_EQ(pointsToDraw(times, values, view, 2), (std::vector<std::size_t>{0, 2, 3, 5}));
    const ChartView zoomed{0, 2, 0, 100, 1000, 10};
    EXPECT_EQ(pointsToDraw(times, values, zoomed, 2), (std::vector<std::size_t>{0, 1, 2}));
    const ChartView empty{200, 300, 0, 100, 10, 10};
    EXPECT_TRUE(pointsToDraw(times, values, empty, 2).empty());
}

TEST(CallTrendsTest, EachPointDrawnCountsThePointsOfItsCell) {
    // 100 x 100 units on 10 x 10 pixels in cells of 2: 20 units a cell.
    const ChartView view{0, 100, 0, 100, 10, 10};
    const struct {
        std::vector<double> times;
        std::vector<float> values;
        std::vector<std::size_t> kept;
        std::vector<std::uint32_t> counts;
    } cases[] = {
        {{0, 1, 2, 50, 99, 100, 150},
         {5, 5.5f, 60, 50, std::nanf(""), 100, 5},
         {0, 2, 3, 5},
         {2, 1, 1, 1}},
        // A cell taken again after another line of the same column.
        {{0, 1, 2, 3, 4}, {5, 60, 6, 61, 7}, {0, 1}, {3, 2}},
        // The next column starts afresh; out of view counts nowhere.
        {{0, 19, 20, 21, 200}, {1, 1, 1, 1, 1}, {0, 2}, {2, 2}},
    };
    for (const auto& each : cases) {
        std::vector<std::uint32_t> counts{99};
        EXPECT_EQ(pointsToDraw(each.times, each.values, view, 2, &counts), each.kept);
        EXPECT_EQ(counts, each.counts);
    }
    std::vector<std::uint32_t> counts{99};
    EXPECT_TRUE(pointsToDraw({0}, {1}, ChartView{0, 1, 0, 1, 0, 0}, 2, &counts).empty());
    EXPECT_TRUE(counts.empty());
}

TEST(CallTrendsTest, DenserCellsGetDarkerShades) {
    const struct {
        std::uint32_t count, densest;
        int shade;
    } cases[] = {
        {1, 1, 0},    {1, 100, 3},  {2, 100, 3},   {5, 100, 2},   {10, 100, 1},
        {20, 100, 1}, {50, 100, 0}, {100, 100, 0}, {400, 100, 0},
    };
    for (const auto& each : cases)
        EXPECT_EQ(densityShade(each.count, each.densest, 4), each.shade)
            << each.count << " of " << each.densest;
}

TEST(CallTrendsTest, ValueSpanOfTheTimesInView) {
    const std::vector<double> times = {0, 1, 2, 3, 3};
    const std::vector<float> values = {5, std::nanf(""), -2, 9, 4};
    const struct {
        double from, to;
        bool empty;
        double lowest, highest;
    } cases[] = {
        {0, 3, false, -2, 9}, {0.5, 2.5, false, -2, -2}, {3, 3, false, 4, 9},
        {1, 1, true, 0, 0},   {10, 20, true, 0, 0},      {-5, -1, true, 0, 0},
    };
    for (const auto& each : cases) {
        const ValueSpan span = valueSpan(times, values, each.from, each.to);
        EXPECT_EQ(span.empty, each.empty) << each.from;
        if (each.empty) continue;
        EXPECT_EQ(span.lowest, each.lowest) << each.from;
        EXPECT_EQ(span.highest, each.highest) << each.from;
    }
}

TEST(CallTrendsTest, OnlyTheTallestBarOfAPixelColumnIsDrawn) {
    const std::vector<double> keys = {0, 1, 2, 3, 10, 11, 50};
    const std::vector<double> values = {1, 5, std::nan(""), 2, 3, 3, 4};
    // 15 units a pixel: 0 to 11 share the first column, 50 is in the fourth.
    EXPECT_EQ(barsToDraw(keys, values, ChartView{0, 60, 0, 1, 4, 1}),
              (std::vector<std::size_t>{1, 6}));
    // Of equal bars the first; the bars out of view are left out.
    EXPECT_EQ(barsToDraw(keys, values, ChartView{5, 60, 0, 1, 2, 1}),
              (std::vector<std::size_t>{4, 6}));
    // No more bars than pixel columns: every one, each may be wider than a
    // pixel.
    EXPECT_EQ(barsToDraw(keys, values, ChartView{0, 60, 0, 1, 7, 1}),
              (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace
}  // namespace kestal
