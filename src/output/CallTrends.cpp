#include "output/CallTrends.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "log/CallValues.h"

namespace kestal {

namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr std::int64_t kSecondsPerDay = 86400;

float perSecond(const std::optional<std::uint64_t>& bytes, const std::optional<int>& duration) {
    if (!bytes || !duration || *duration <= 0) return kNone;
    return static_cast<float>(static_cast<double>(*bytes) / *duration);
}

float errorsPerKiloFrame(const CallValues& call) {
    const std::optional<std::uint64_t>& rx = call.traffic[kFramesRx];
    const std::optional<std::uint64_t>& tx = call.traffic[kFramesTx];
    const double frames = static_cast<double>(rx.value_or(0)) + static_cast<double>(tx.value_or(0));
    if (frames <= 0) return kNone;
    return static_cast<float>(1000.0 * static_cast<double>(call.errors) / frames);
}

struct Day {
    std::int64_t day;
    double calls = 0;
    double onlineSeconds = 0;
    std::vector<int> durations;
};

void addDayFigures(const std::vector<Day>& days, CallTrends& trends) {
    for (const Day& day : days) {
        trends.days.push_back(static_cast<double>(day.day * kSecondsPerDay));
        trends.dayCalls.push_back(day.calls);
        trends.dayOnlineHours.push_back(day.onlineSeconds / 3600.0);
        std::vector<int> durations = day.durations;
        double median = std::numeric_limits<double>::quiet_NaN();
        if (!durations.empty()) {
            // The lower middle, as in the statistics.
            const auto middle = durations.begin() + (durations.size() - 1) / 2;
            std::nth_element(durations.begin(), middle, durations.end());
            median = *middle / 60.0;
        }
        trends.dayMedianMinutes.push_back(median);
    }
}

}  // namespace

CallTrends callTrends(const CallTable& table, const std::vector<int>& rows,
                      const RegionalSettings& settings) {
    struct Point {
        std::int64_t time;
        std::size_t order;
        int row;
        std::array<float, kCallMeasureCount> values;
    };
    std::vector<Point> points;
    points.reserve(rows.size());
    for (const int row : rows) {
        const CallValues call = readCallValues(table, row, settings);
        if (!call.startTime) continue;
        Point point{*call.startTime, points.size(), row, {}};
        point.values[kDurationMeasure] = call.duration ? static_cast<float>(*call.duration) : kNone;
        for (int l = 0; l < kLayerColumnCount; ++l) {
            point.values[kLcpMeasure + l] =
                call.layerTenths[l] ? static_cast<float>(*call.layerTenths[l]) / 10.0f : kNone;
        }
        point.values[kReceivedPerSecond] = perSecond(call.traffic[kBytesRx], call.duration);
        point.values[kSentPerSecond] = perSecond(call.traffic[kBytesTx], call.duration);
        point.values[kErrorsPerKiloFrame] = errorsPerKiloFrame(call);
        points.push_back(point);
    }
    std::sort(points.begin(), points.end(), [](const Point& a, const Point& b) {
        return a.time != b.time ? a.time < b.time : a.order < b.order;
    });

    CallTrends trends;
    trends.times.reserve(points.size());
    trends.rows.reserve(points.size());
    for (auto& series : trends.values) series.reserve(points.size());
    std::vector<Day> days;
    for (const Point& point : points) {
        trends.times.push_back(static_cast<double>(point.time));
        trends.rows.push_back(point.row);
        for (int m = 0; m < kCallMeasureCount; ++m) trends.values[m].push_back(point.values[m]);
        // Floor division: days before 1970 too.
        const std::int64_t day =
            (point.time - (point.time < 0 ? kSecondsPerDay - 1 : 0)) / kSecondsPerDay;
        if (days.empty() || days.back().day != day) days.push_back(Day{day, 0, 0, {}});
        ++days.back().calls;
        const float duration = point.values[kDurationMeasure];
        if (!std::isnan(duration)) {
            days.back().onlineSeconds += duration;
            days.back().durations.push_back(static_cast<int>(duration));
        }
    }
    addDayFigures(days, trends);
    return trends;
}

double niceBinWidth(double largest, int bins) {
    if (!(largest > 0) || bins <= 0) return 1;
    const double raw = largest / bins;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= raw) return step * power;
    }
    return 10 * power;
}

Histogram histogram(const std::vector<float>& values, double binWidth) {
    Histogram result;
    result.binWidth = binWidth;
    for (const float value : values) {
        if (std::isnan(value) || value < 0) continue;
        const auto bin = static_cast<std::size_t>(value / binWidth);
        if (bin >= result.counts.size()) result.counts.resize(bin + 1, 0);
        ++result.counts[bin];
    }
    return result;
}

Histogram histogram(const std::vector<float>& values, int bins) {
    float largest = 0;
    for (const float value : values) {
        if (value > largest) largest = value;  // false for NaN
    }
    return histogram(values, niceBinWidth(largest, bins));
}

std::vector<std::size_t> pointsToDraw(const std::vector<double>& times,
                                      const std::vector<float>& values, const ChartView& view,
                                      int cellSize) {
    std::vector<std::size_t> kept;
    if (view.width <= 0 || view.height <= 0 || !(view.xTo > view.xFrom) ||
        !(view.yTo > view.yFrom) || cellSize <= 0)
        return kept;
    const int columns = view.width / cellSize + 1;
    const int lines = view.height / cellSize + 1;
    std::vector<bool> taken(static_cast<std::size_t>(columns) * static_cast<std::size_t>(lines));
    const double xScale = view.width / (view.xTo - view.xFrom) / cellSize;
    const double yScale = view.height / (view.yTo - view.yFrom) / cellSize;
    const auto first = std::lower_bound(times.begin(), times.end(), view.xFrom);
    const auto last = std::upper_bound(first, times.end(), view.xTo);
    for (auto at = first; at != last; ++at) {
        const auto i = static_cast<std::size_t>(at - times.begin());
        const float value = values[i];
        if (!(value >= view.yFrom && value <= view.yTo)) continue;  // NaN too
        const auto column = static_cast<std::size_t>((*at - view.xFrom) * xScale);
        const auto line = static_cast<std::size_t>((value - view.yFrom) * yScale);
        const std::size_t cell = line * static_cast<std::size_t>(columns) + column;
        if (taken[cell]) continue;
        taken[cell] = true;
        kept.push_back(i);
    }
    return kept;
}

}  // namespace kestal
