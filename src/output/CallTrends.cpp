#include "output/CallTrends.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "calls/CallValues.h"

namespace kestal {

namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr std::int64_t kSecondsPerDay = 86400;

float perSecond(const CallValues& call, TrafficCounter bytes) {
    if (!call.hasTraffic(bytes) || call.duration == CallValues::kNone || call.duration <= 0)
        return kNone;
    return static_cast<float>(static_cast<double>(call.traffic[bytes]) / call.duration);
}

float errorsPerKiloFrame(const CallValues& call) {
    // A counter without a number is 0 there.
    const double frames =
        static_cast<double>(call.traffic[kFramesRx]) + static_cast<double>(call.traffic[kFramesTx]);
    if (frames <= 0) return kNone;
    return static_cast<float>(1000.0 * static_cast<double>(call.errors) / frames);
}

void addMeasures(const CallValues& call, CallTrends& trends) {
    auto& values = trends.values;
    values[kDurationMeasure].push_back(
        call.duration != CallValues::kNone ? static_cast<float>(call.duration) : kNone);
    for (int l = 0; l < kLayerColumnCount; ++l) {
        values[kLcpMeasure + l].push_back(
            call.hasLayer(l) ? static_cast<float>(call.layerTenths[l]) / 10.0f : kNone);
    }
    values[kReceivedPerSecond].push_back(perSecond(call, kBytesRx));
    values[kSentPerSecond].push_back(perSecond(call, kBytesTx));
    values[kErrorsPerKiloFrame].push_back(errorsPerKiloFrame(call));
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

CallTrends callTrends(const CallTable& table, const std::vector<int>& rows) {
    struct Dated {
        std::int64_t time;
        std::size_t row;  // index into rows
    };
    std::vector<Dated> dated;
    dated.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CallValues call = callValuesOf(table, rows[i]);
        if (const std::optional<std::int64_t> time = call.startTime()) dated.push_back({*time, i});
    }
    // Stable: calls of the same second keep the order given. Calls in log
    // order mostly come sorted already.
    const auto earlier = [](const Dated& a, const Dated& b) { return a.time < b.time; };
    if (!std::is_sorted(dated.begin(), dated.end(), earlier))
        std::stable_sort(dated.begin(), dated.end(), earlier);

    CallTrends trends;
    trends.times.reserve(dated.size());
    trends.rows.reserve(dated.size());
    for (auto& series : trends.values) series.reserve(dated.size());
    std::vector<Day> days;
    for (const Dated& each : dated) {
        const int row = rows[each.row];
        const CallValues call = callValuesOf(table, row);
        trends.times.push_back(static_cast<double>(each.time));
        trends.rows.push_back(row);
        addMeasures(call, trends);
        if (days.empty() || days.back().day != call.startDay)
            days.push_back(Day{call.startDay, 0, 0, {}});
        ++days.back().calls;
        if (call.duration != CallValues::kNone) {
            days.back().onlineSeconds += call.duration;
            days.back().durations.push_back(call.duration);
        }
    }
    addDayFigures(days, trends);
    return trends;
}

double resolutionOf(CallMeasure measure) {
    switch (measure) {
        case kDurationMeasure:
            return 1;
        case kLcpMeasure:
        case kChapMeasure:
        case kIpcpMeasure:
        case kCcpMeasure:
            return 0.1;
        case kReceivedPerSecond:
        case kSentPerSecond:
        case kErrorsPerKiloFrame:
            break;
    }
    return 0;
}

double niceBinWidth(double largest, int bins, double resolution) {
    double width = 1;
    if (largest > 0 && bins > 0) {
        const double raw = largest / bins;
        const double power = std::pow(10.0, std::floor(std::log10(raw)));
        width = 10 * power;
        for (const double step : {1.0, 2.0, 5.0}) {
            if (step * power >= raw) {
                width = step * power;
                break;
            }
        }
    }
    if (resolution > 0) width = std::max(1.0, std::round(width / resolution)) * resolution;
    return width;
}

Histogram histogram(const std::vector<float>& values, double binWidth, double resolution) {
    Histogram result;
    // Values on steps are binned by their step, counted whole: 1.4f / 0.2
    // is 6.99999..., and the step it stands for belongs to bin 7.
    const auto stepsPerBin =
        resolution > 0 ? std::max<std::int64_t>(1, std::llround(binWidth / resolution)) : 0;
    result.binWidth = resolution > 0 ? static_cast<double>(stepsPerBin) * resolution : binWidth;
    for (const float value : values) {
        if (!std::isfinite(value) || value < 0) continue;
        const auto bin =
            resolution > 0
                ? static_cast<std::size_t>(std::llround(value / resolution) / stepsPerBin)
                : static_cast<std::size_t>(value / binWidth);
        if (bin >= result.counts.size()) result.counts.resize(bin + 1, 0);
        ++result.counts[bin];
    }
    return result;
}

Histogram histogram(const std::vector<float>& values, int bins, double resolution) {
    float largest = 0;
    for (const float value : values) {
        if (value > largest) largest = value;  // false for NaN
    }
    return histogram(values, niceBinWidth(largest, bins, resolution), resolution);
}

std::vector<std::size_t> pointsToDraw(const std::vector<double>& times,
                                      const std::vector<float>& values, const ChartView& view,
                                      int cellSize) {
    std::vector<std::size_t> kept;
    if (view.width <= 0 || view.height <= 0 || !(view.xTo > view.xFrom) ||
        !(view.yTo > view.yFrom) || cellSize <= 0)
        return kept;
    const auto lines = static_cast<std::size_t>(view.height / cellSize + 1);
    // The times ascend, so the points come column by column: a cell is
    // taken when its line was last taken in the column at hand.
    std::vector<std::int64_t> columnTaken(lines, -1);
    const double xScale = view.width / (view.xTo - view.xFrom) / cellSize;
    const double yScale = view.height / (view.yTo - view.yFrom) / cellSize;
    const auto first = std::lower_bound(times.begin(), times.end(), view.xFrom);
    const auto last = std::upper_bound(first, times.end(), view.xTo);
    for (auto at = first; at != last; ++at) {
        const auto i = static_cast<std::size_t>(at - times.begin());
        const float value = values[i];
        if (!(value >= view.yFrom && value <= view.yTo)) continue;  // NaN too
        const auto column = static_cast<std::int64_t>((*at - view.xFrom) * xScale);
        const auto line =
            std::min(static_cast<std::size_t>((value - view.yFrom) * yScale), lines - 1);
        if (columnTaken[line] == column) continue;
        columnTaken[line] = column;
        kept.push_back(i);
    }
    return kept;
}

std::vector<std::size_t> barsToDraw(const std::vector<double>& keys,
                                    const std::vector<double>& values, const ChartView& view) {
    std::vector<std::size_t> kept;
    const auto first = std::lower_bound(keys.begin(), keys.end(), view.xFrom);
    const auto last = std::upper_bound(first, keys.end(), view.xTo);
    if (view.width <= 0 || !(view.xTo > view.xFrom) || last - first <= view.width) {
        kept.resize(keys.size());
        std::iota(kept.begin(), kept.end(), std::size_t{0});
        return kept;
    }
    const double xScale = view.width / (view.xTo - view.xFrom);
    std::int64_t keptColumn = -1;
    for (auto at = first; at != last; ++at) {
        const auto i = static_cast<std::size_t>(at - keys.begin());
        if (std::isnan(values[i])) continue;
        const auto column = static_cast<std::int64_t>((*at - view.xFrom) * xScale);
        if (column != keptColumn) {
            kept.push_back(i);
            keptColumn = column;
        } else if (values[i] > values[kept.back()]) {
            kept.back() = i;
        }
    }
    return kept;
}

}  // namespace kestal
