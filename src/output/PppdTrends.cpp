#include "output/PppdTrends.h"

#include <algorithm>
#include <limits>
#include <map>

#include "pppd/PppdColumns.h"

namespace kestal {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerHour = 3600;
// Beyond this many days from first to last only the days with anything
// are charted: a mistyped year must not make a million empty days.
constexpr std::int64_t kLongestFilledSpan = 36525;

std::optional<std::int64_t> timeOf(const CellValue& value) {
    if (!value.whole()) return std::nullopt;
    return value.asNumber();
}

std::int64_t dayOf(std::int64_t time) {
    return time >= 0 ? time / kSecondsPerDay : -((-time - 1) / kSecondsPerDay) - 1;
}

struct Day {
    double onlineSeconds = 0;
    double drops = 0;
    double failedAttempts = 0;
    int firstSession = -1, firstDrop = -1, firstFailedAttempt = -1;
};

void keepFirst(int& first, int row) {
    if (first < 0 || row < first) first = row;
}

// The seconds of [from, to) on each day they cross.
void addOnline(std::map<std::int64_t, Day>& days, std::int64_t from, std::int64_t to) {
    while (from < to) {
        const std::int64_t day = dayOf(from);
        const std::int64_t midnight = (day + 1) * kSecondsPerDay;
        const std::int64_t until = std::min(to, midnight);
        days[day].onlineSeconds += static_cast<double>(until - from);
        from = until;
    }
}

struct Session {
    std::int64_t start;
    int row;
    float duration;
};

void addDays(const std::map<std::int64_t, Day>& byDay, PppdTrends& trends) {
    if (byDay.empty()) return;
    const std::int64_t first = byDay.begin()->first;
    const std::int64_t last = byDay.rbegin()->first;
    const bool filled = last - first <= kLongestFilledSpan;
    const auto add = [&trends](std::int64_t day, const Day& figures) {
        trends.days.push_back(static_cast<double>(day * kSecondsPerDay));
        trends.dayOnlineHours.push_back(figures.onlineSeconds / kSecondsPerHour);
        trends.dayDrops.push_back(figures.drops);
        trends.dayFailedAttempts.push_back(figures.failedAttempts);
        trends.dayFirstSession.push_back(figures.firstSession);
        trends.dayFirstDrop.push_back(figures.firstDrop);
        trends.dayFirstFailedAttempt.push_back(figures.firstFailedAttempt);
    };
    if (!filled) {
        for (const auto& [day, figures] : byDay) add(day, figures);
        return;
    }
    auto at = byDay.begin();
    for (std::int64_t day = first; day <= last; ++day) {
        if (at != byDay.end() && at->first == day) {
            add(day, at->second);
            ++at;
        } else {
            add(day, Day{});
        }
    }
}

}  // namespace

int weekdayOf(std::int64_t day) {
    // 1 January 1970 was a Thursday.
    return static_cast<int>(((day % 7) + 7 + 3) % 7);
}

std::optional<std::int64_t> latestTime(const CallTable& table) {
    std::optional<std::int64_t> latest;
    if (table.callCount() == 0) return latest;
    for (int row = 0; row < table.rowCount(); ++row) {
        const CallTable::RowValues values = table.rowValues(row);
        for (const PppdColumn column : {PppdColumn::StartTime, PppdColumn::EndTime}) {
            const std::optional<std::int64_t> time = timeOf(values[indexOf(column)]);
            if (time && (!latest || *time > *latest)) latest = time;
        }
    }
    return latest;
}

PppdTrends pppdTrends(const CallTable& table, const std::vector<int>& rows,
                      std::optional<std::int64_t> logEnd) {
    PppdTrends trends;
    for (auto& hours : trends.firstDropByHour) hours.fill(-1);
    if (!logEnd) logEnd = latestTime(table);
    std::vector<Session> sessions;
    std::map<std::int64_t, Day> byDay;
    for (const int row : rows) {
        const CallTable::RowValues values = table.rowValues(row);
        const std::uint32_t marks = values.marks();
        const std::optional<std::int64_t> start = timeOf(values[indexOf(PppdColumn::StartTime)]);
        std::optional<std::int64_t> end = timeOf(values[indexOf(PppdColumn::EndTime)]);
        if (marks & kSessionMark) {
            if (!end && (marks & kStillUpMark) && logEnd && start && *logEnd >= *start)
                end = logEnd;
            if (start) {
                const float duration = end && *end >= *start
                                           ? static_cast<float>(*end - *start)
                                           : std::numeric_limits<float>::quiet_NaN();
                sessions.push_back({*start, row, duration});
                keepFirst(byDay[dayOf(*start)].firstSession, row);
                if (end) addOnline(byDay, *start, *end);
            }
            if ((marks & kDroppedMark) && end) {
                ++trends.drops;
                const std::int64_t day = dayOf(*end);
                Day& figures = byDay[day];
                ++figures.drops;
                keepFirst(figures.firstDrop, row);
                const auto weekday = static_cast<std::size_t>(weekdayOf(day));
                const auto hour =
                    static_cast<std::size_t>((*end - day * kSecondsPerDay) / kSecondsPerHour);
                ++trends.dropsByHour[weekday][hour];
                keepFirst(trends.firstDropByHour[weekday][hour], row);
            }
        } else if (marks & kFailedAttemptMark) {
            if (const std::optional<std::int64_t> when = start ? start : end) {
                ++trends.failedAttempts;
                Day& figures = byDay[dayOf(*when)];
                ++figures.failedAttempts;
                keepFirst(figures.firstFailedAttempt, row);
            }
        }
    }
    const auto earlier = [](const Session& a, const Session& b) { return a.start < b.start; };
    if (!std::is_sorted(sessions.begin(), sessions.end(), earlier))
        std::stable_sort(sessions.begin(), sessions.end(), earlier);
    trends.times.reserve(sessions.size());
    trends.rows.reserve(sessions.size());
    trends.durations.reserve(sessions.size());
    for (const Session& session : sessions) {
        trends.times.push_back(static_cast<double>(session.start));
        trends.rows.push_back(session.row);
        trends.durations.push_back(session.duration);
    }
    addDays(byDay, trends);
    return trends;
}

}  // namespace kestal
