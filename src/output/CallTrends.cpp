#include "output/CallTrends.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>

#include "calls/CallValues.h"

namespace kestal {

namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr std::int64_t kSecondsPerDay = 86400;

constexpr std::int32_t kNoDuration = INT32_MIN;

// A call's Start Time in seconds since 1970, when its date and time of day
// can both be read and its day fits 32 bits (as CallValues keeps it).
std::optional<std::int64_t> startOf(const CellValue& start) {
    if (!start.whole()) return std::nullopt;
    const std::int64_t day = *start.day();
    if (day <= INT32_MIN || day > INT32_MAX) return std::nullopt;
    return start.asNumber();
}

// Seconds; none for cut-short calls, calls of zero length and unreadable
// times, as in CallValues.
std::int32_t durationOf(const CellValue& duration) {
    const std::optional<std::int64_t> seconds = duration.asNumber();
    if (!seconds || *seconds <= INT32_MIN || *seconds > INT32_MAX) return kNoDuration;
    return static_cast<std::int32_t>(*seconds);
}

float perSecond(const CellValue& bytes, std::int32_t duration) {
    const std::optional<std::uint64_t> count = bytes.asCount();
    if (!count || duration == kNoDuration || duration <= 0) return kNone;
    return static_cast<float>(static_cast<double>(*count) / duration);
}

// Reads a row's typed values straight from the table: no CallValues is made,
// and only the columns the charts use are looked at.
void addMeasures(const CallTable::RowValues& row, std::int32_t duration, CallTrends& trends) {
    auto& values = trends.values;
    values[kDurationMeasure].push_back(duration != kNoDuration ? static_cast<float>(duration)
                                                               : kNone);
    for (int l = 0; l < kLayerColumnCount; ++l) {
        const std::optional<std::int64_t> tenths = row[kFirstLayerColumn + l].asNumber();
        values[kLcpMeasure + l].push_back(tenths ? static_cast<float>(*tenths) / 10.0f : kNone);
    }
    values[kReceivedPerSecond].push_back(perSecond(row[kBytesRxColumn], duration));
    values[kSentPerSecond].push_back(perSecond(row[kBytesTxColumn], duration));
    // A counter without a number is 0 there.
    const double frames = static_cast<double>(row[kFramesRxColumn].asCount().value_or(0)) +
                          static_cast<double>(row[kFramesTxColumn].asCount().value_or(0));
    WideCount errors = 0;
    for (int e = 0; e < kErrorColumnCount; ++e)
        errors += row[kFirstErrorColumn + e].asCount().value_or(0);
    values[kErrorsPerKiloFrame].push_back(
        frames > 0 ? static_cast<float>(1000.0 * static_cast<double>(errors) / frames) : kNone);
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
        if (const std::optional<std::int64_t> time =
                startOf(table.rowValues(rows[i])[kStartTimeColumn]))
            dated.push_back({*time, i});
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
        const CallTable::RowValues values = table.rowValues(row);
        const std::int32_t duration = durationOf(values[kDurationColumn]);
        trends.times.push_back(static_cast<double>(each.time));
        trends.rows.push_back(row);
        addMeasures(values, duration, trends);
        const std::int64_t day = *values[kStartTimeColumn].day();
        if (days.empty() || days.back().day != day) days.push_back(Day{day, 0, 0, {}});
        ++days.back().calls;
        if (duration != kNoDuration) {
            days.back().onlineSeconds += duration;
            days.back().durations.push_back(duration);
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
                                      int cellSize, std::vector<std::uint32_t>* counts) {
    std::vector<std::size_t> kept;
    if (counts) counts->clear();
    if (view.width <= 0 || view.height <= 0 || !(view.xTo > view.xFrom) ||
        !(view.yTo > view.yFrom) || cellSize <= 0)
        return kept;
    const auto lines = static_cast<std::size_t>(view.height / cellSize + 1);
    // The times ascend, so the points come column by column: a cell is
    // taken when its line was last taken in the column at hand.
    std::vector<std::int64_t> columnTaken(lines, -1);
    std::vector<std::size_t> keptIn(lines, 0);  // the line's last kept point, in kept
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
        if (columnTaken[line] == column) {
            if (counts) ++(*counts)[keptIn[line]];
            continue;
        }
        columnTaken[line] = column;
        keptIn[line] = kept.size();
        kept.push_back(i);
        if (counts) counts->push_back(1);
    }
    return kept;
}

int densityShade(std::uint32_t count, std::uint32_t densest, int shades) {
    if (densest <= 1 || count == 0 || shades <= 1) return 0;
    const double share = std::log(static_cast<double>(std::min(count, densest))) /
                         std::log(static_cast<double>(densest));
    return shades - 1 - std::min(shades - 1, static_cast<int>(share * shades));
}

void ValueSpan::add(const ValueSpan& other) {
    if (other.empty) return;
    lowest = empty ? other.lowest : std::min(lowest, other.lowest);
    highest = empty ? other.highest : std::max(highest, other.highest);
    empty = false;
}

ValueSpan valueSpan(const std::vector<double>& times, const std::vector<float>& values, double from,
                    double to) {
    const auto first = std::lower_bound(times.begin(), times.end(), from);
    const auto last = std::upper_bound(first, times.end(), to);
    float lowest = std::numeric_limits<float>::infinity();
    float highest = -lowest;
    for (auto i = static_cast<std::size_t>(first - times.begin()),
              end = static_cast<std::size_t>(last - times.begin());
         i < end; ++i) {
        // NaN compares false both ways and changes neither.
        lowest = values[i] < lowest ? values[i] : lowest;
        highest = values[i] > highest ? values[i] : highest;
    }
    ValueSpan span;
    if (lowest <= highest) span = ValueSpan{lowest, highest, false};
    return span;
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
