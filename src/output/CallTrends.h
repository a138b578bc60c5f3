// The series behind Call > Trends: per call (duration, layer times,
// throughput, errors per 1000 frames), per day (calls, online time, median
// duration) and histograms; and the thinning of a dense series to what a
// chart of a given size can show.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "calls/CallValues.h"
#include "table/CallTable.h"

namespace kestal {

enum CallMeasure : int {
    kDurationMeasure = 0,  // seconds
    kLcpMeasure,           // seconds from the start
    kChapMeasure,
    kIpcpMeasure,
    kCcpMeasure,
    kReceivedPerSecond,   // bytes received per second of the call
    kSentPerSecond,       // bytes sent per second of the call
    kErrorsPerKiloFrame,  // errors per 1000 frames received and sent
};
inline constexpr int kCallMeasureCount = 8;

struct CallTrends {
    // The calls with a readable Start Time, ordered by it (log order among
    // calls of the same second).
    std::vector<double> times;  // seconds since 1970-01-01 00:00:00
    std::vector<int> rows;      // their call-table rows
    // NaN where a call has no such value.
    std::array<std::vector<float>, kCallMeasureCount> values;

    // One entry per day with calls, ascending.
    std::vector<double> days;  // seconds since 1970 of the day's midnight
    std::vector<double> dayCalls;
    std::vector<double> dayOnlineHours;
    std::vector<double> dayMedianMinutes;  // NaN for a day without durations
};

// The series of the given table rows.
CallTrends callTrends(const CallTable& table, const std::vector<int>& rows);

// The step between a measure's values: durations are whole seconds, layer
// times whole tenths of a second; 0 for the others, which take any value.
double resolutionOf(CallMeasure measure);

struct Histogram {
    double binWidth = 1;
    std::vector<double> counts;  // bin i holds [i, i + 1) * binWidth
};

// Bins from 0 with a width of 1, 2 or 5 times a power of ten, so that about
// bins bins cover the largest value; NaN and negative values are left out.
// With a resolution above 0 the values lie on its steps, and each bin holds
// the same whole number of steps (at least one): bins that held one step
// more than their neighbours would draw a comb over a smooth distribution.
Histogram histogram(const std::vector<float>& values, int bins, double resolution = 0);
// The same bin width for several series (the four layer times, say).
Histogram histogram(const std::vector<float>& values, double binWidth, double resolution = 0);
double niceBinWidth(double largest, int bins, double resolution = 0);

// The area of a chart and its pixel size.
struct ChartView {
    double xFrom, xTo, yFrom, yTo;
    int width, height;  // pixels
};

// The indices of the points worth drawing in view: of the points that fall
// into the same cell of cellSize x cellSize pixels only the first is kept,
// as the others would be drawn over it. times must be ascending. counts,
// when given, receives for each kept point how many points share its cell.
std::vector<std::size_t> pointsToDraw(const std::vector<double>& times,
                                      const std::vector<float>& values, const ChartView& view,
                                      int cellSize, std::vector<std::uint32_t>* counts = nullptr);

// The shade, of shades, of a point drawn for count points in its cell when
// the densest cell in view holds densest: 0 for the densest, shades - 1 for
// a single point, in steps of the logarithm. 0 when no cell holds more than
// one.
int densityShade(std::uint32_t count, std::uint32_t densest, int shades);

// The lowest and highest of the values whose times lie in [from, to]; NaN
// left out. Empty when there is none.
struct ValueSpan {
    double lowest = 0;
    double highest = 0;
    bool empty = true;
    void add(const ValueSpan& other);
};
ValueSpan valueSpan(const std::vector<double>& times, const std::vector<float>& values, double from,
                    double to);

// The bars worth drawing in view, for bars of one colour that stand on 0:
// when more bars than pixel columns are in view, only the tallest of each
// column shows; otherwise every bar is kept. keys must be ascending.
std::vector<std::size_t> barsToDraw(const std::vector<double>& keys,
                                    const std::vector<double>& values, const ChartView& view);

}  // namespace kestal
