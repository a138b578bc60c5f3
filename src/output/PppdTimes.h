// What the pppd figures read from a session's row: when it was up, how
// long, and whether it is one that brought the link back; and the
// calendar's periods in seconds of the log's clock.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "output/CallStatistics.h"
#include "pppd/PppdColumns.h"
#include "table/CallTable.h"

namespace kestal {

inline constexpr std::int64_t kSecondsPerDay = 86400;

// A period's first day and the next period's (days since 1970-01-01):
// a calendar day, the ISO week from its Monday, or a calendar month.
struct PeriodDays {
    std::int64_t first = 0;
    std::int64_t next = 0;
};
PeriodDays periodDays(StatisticsPeriod by, std::int64_t day);

// A time the link was up, from start up to end, in the log clock's seconds.
struct Interval {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// Sorted, those that overlap or touch made one.
std::vector<Interval> mergedIntervals(std::vector<Interval> intervals);

// A session that got a Local IP and has a Start Time: one that ends a gap.
bool isReconnect(const CallTable& table, int row);

// A session's length: its Duration, or for one still up the time from its
// start to the log's last dated line.
std::optional<std::int64_t> sessionSeconds(const CallTable& table, int row, const LogSpan& span);

// When a session was up: from its Start Time (from the log's first dated
// line when it began before the log) to its End Time (the log's last
// dated line while still up); none when either end is unknown.
std::optional<Interval> upTime(const CallTable& table, int row, const LogSpan& span);

}  // namespace kestal
