// The series behind Call > Trends for a pppd log: per session its duration
// by its start; per calendar day the hours online, the drops and the
// failed attempts; and the drops by weekday and hour of the day.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "table/CallTable.h"

namespace kestal {

inline constexpr int kWeekdays = 7;  // Monday first
inline constexpr int kHoursPerDay = 24;

struct PppdTrends {
    // The sessions with a readable Start Time, ordered by it (log order
    // among sessions of the same second).
    std::vector<double> times;     // seconds since 1970-01-01 00:00:00
    std::vector<int> rows;         // their table rows
    std::vector<float> durations;  // seconds; NaN when the end can't be read

    // Every calendar day from the first to the last one with a session, a
    // drop or a failed attempt, ascending (only the days with any, should
    // the dates span more than a century).
    std::vector<double> days;  // seconds since 1970 of the day's midnight
    // The hours of each day during which a session was up: a session across
    // midnight counts on both days, one still up until the log's end.
    std::vector<double> dayOnlineHours;
    // Drops on the day they happened (their End Time); failed attempts on
    // the day they began.
    std::vector<double> dayDrops;
    std::vector<double> dayFailedAttempts;
    // The first row of each day of each kind, -1 for none: what a click on
    // the day's bar selects.
    std::vector<int> dayFirstSession, dayFirstDrop, dayFirstFailedAttempt;

    // Drops by the weekday (0 Monday to 6 Sunday) and hour of their End
    // Time, and the first drop of each.
    std::array<std::array<double, kHoursPerDay>, kWeekdays> dropsByHour{};
    std::array<std::array<int, kHoursPerDay>, kWeekdays> firstDropByHour{};
    int drops = 0;
    int failedAttempts = 0;
};

// The series of the given rows of a pppd log's table. A session still up
// ends at logEnd (seconds since 1970), by default the latest time the
// table holds.
PppdTrends pppdTrends(const CallTable& table, const std::vector<int>& rows,
                      std::optional<std::int64_t> logEnd = std::nullopt);

// The latest Start or End Time of any row of the table.
std::optional<std::int64_t> latestTime(const CallTable& table);

// The weekday of a day (days since 1970), 0 for Monday.
int weekdayOf(std::int64_t day);

}  // namespace kestal
