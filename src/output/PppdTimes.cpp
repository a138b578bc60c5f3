#include "output/PppdTimes.h"

#include <algorithm>
#include <chrono>

namespace kestal {

namespace {

constexpr std::string_view kNone = "-";

}  // namespace

PeriodDays periodDays(StatisticsPeriod by, std::int64_t day) {
    using namespace std::chrono;
    switch (by) {
        case StatisticsPeriod::Day:
            return {day, day + 1};
        case StatisticsPeriod::Week: {
            // 1970-01-01 was a Thursday, three days after a Monday.
            const std::int64_t monday = day - ((day + 3) % 7 + 7) % 7;
            return {monday, monday + 7};
        }
        case StatisticsPeriod::Month: {
            const year_month_day date{sys_days{days{day}}};
            const year_month first = date.year() / date.month();
            const year_month next = first + months{1};
            return {sys_days{first / 1}.time_since_epoch().count(),
                    sys_days{next / 1}.time_since_epoch().count()};
        }
        case StatisticsPeriod::All:
            break;
    }
    return {};
}

std::vector<Interval> mergedIntervals(std::vector<Interval> intervals) {
    std::sort(intervals.begin(), intervals.end(),
              [](const Interval& a, const Interval& b) { return a.start < b.start; });
    std::vector<Interval> merged;
    for (const Interval& interval : intervals) {
        if (!merged.empty() && interval.start <= merged.back().end) {
            merged.back().end = std::max(merged.back().end, interval.end);
        } else {
            merged.push_back(interval);
        }
    }
    return merged;
}

bool isReconnect(const CallTable& table, int row) {
    return (table.marks(row) & kSessionMark) != 0 &&
           table.cell(PppdColumn::LocalIp, row) != kNone &&
           table.value(PppdColumn::StartTime, row).whole();
}

std::optional<std::int64_t> sessionSeconds(const CallTable& table, int row, const LogSpan& span) {
    if (const std::optional<std::int64_t> seconds =
            table.value(PppdColumn::Duration, row).asNumber())
        return seconds;
    if ((table.marks(row) & kStillUpMark) == 0 || !span.last) return std::nullopt;
    const std::optional<std::int64_t> start = table.value(PppdColumn::StartTime, row).asNumber();
    if (!start || *start > span.last->clock) return std::nullopt;
    return span.last->clock - *start;
}

std::optional<Interval> upTime(const CallTable& table, int row, const LogSpan& span) {
    std::optional<std::int64_t> start = table.value(PppdColumn::StartTime, row).asNumber();
    std::optional<std::int64_t> end = table.value(PppdColumn::EndTime, row).asNumber();
    if (!start && table.value(PppdColumn::StartTime, row).state() == CellValue::State::None &&
        span.first)
        start = span.first->clock;
    if ((table.marks(row) & kStillUpMark) != 0 && span.last) end = span.last->clock;
    if (!start || !end || *end <= *start) return std::nullopt;
    return Interval{*start, *end};
}

}  // namespace kestal
