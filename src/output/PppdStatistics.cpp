#include "output/PppdStatistics.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <map>
#include <unordered_map>

#include "calls/CallValues.h"
#include "output/CsvField.h"
#include "output/PppdTimes.h"

namespace kestal {

namespace {

using namespace std::chrono;

constexpr std::string_view kNone = "-";
constexpr std::int64_t kUnknownKey = INT64_MAX;

// The words of the Ended By column, in the order of their figures.
constexpr std::array<std::string_view, kPppdStatisticsColumnCount - kFirstEndedByFigure>
    kEndedByWords = {"echo timeout",  "peer",           "hangup",
                     "stopped",       "idle",           "time limit",
                     "traffic limit", "auth failed",    "negotiation timeout",
                     "no PADO",       "connect script", "device",
                     "still up",      "unknown"};

struct Sums {
    std::string period;
    PeriodDays days;  // none for "unknown"; the whole span for "all"
    std::uint64_t sessions = 0;
    std::uint64_t failed = 0;
    std::uint64_t drops = 0;
    std::vector<std::int64_t> durations;
    std::int64_t online = 0;
    std::int64_t reconnectTotal = 0;
    std::int64_t reconnects = 0;
    WideCount sent = 0;
    WideCount received = 0;
    std::array<std::uint64_t, kEndedByWords.size()> endedBy{};
};

// The seconds the merged intervals (sorted, apart) share with [from, to).
std::int64_t overlap(const std::vector<Interval>& merged, std::int64_t from, std::int64_t to) {
    std::int64_t total = 0;
    auto at = std::lower_bound(merged.begin(), merged.end(), from,
                               [](const Interval& i, std::int64_t t) { return i.end <= t; });
    for (; at != merged.end() && at->start < to; ++at)
        total += std::min(at->end, to) - std::max(at->start, from);
    return total;
}

std::string availability(const Sums& sums, StatisticsPeriod by, const LogSpan& span,
                         const std::vector<Interval>& upTimes) {
    if (!span.first || !span.last || sums.period == "unknown") return std::string(kNone);
    std::int64_t from = span.first->clock;
    std::int64_t to = span.last->clock;
    if (by != StatisticsPeriod::All) {
        from = std::max(from, sums.days.first * kSecondsPerDay);
        to = std::min(to, sums.days.next * kSecondsPerDay);
    }
    if (to <= from) return std::string(kNone);
    return percentText(overlap(upTimes, from, to), to - from);
}

PppdStatisticsRow figures(const Sums& sums, StatisticsPeriod by, const LogSpan& span,
                          const std::vector<Interval>& upTimes) {
    PppdStatisticsRow row;
    row[kPeriodFigure] = sums.period;
    row[kSessionsFigure] = std::to_string(sums.sessions);
    row[kFailedFigure] = std::to_string(sums.failed);
    row[kDropsFigure] = std::to_string(sums.drops);
    if (sums.durations.empty()) {
        row[kOnlineFigure] = row[kLongestFigure] = row[kMedianFigure] = std::string(kNone);
    } else {
        std::vector<std::int64_t> durations = sums.durations;
        // The lower of the two middle ones for an even count.
        const auto middle =
            durations.begin() + static_cast<std::ptrdiff_t>((durations.size() - 1) / 2);
        std::nth_element(durations.begin(), middle, durations.end());
        row[kOnlineFigure] = hoursMinutesSeconds(sums.online);
        row[kLongestFigure] =
            hoursMinutesSeconds(*std::max_element(durations.begin(), durations.end()));
        row[kMedianFigure] = hoursMinutesSeconds(*middle);
    }
    row[kAvailabilityFigure] = availability(sums, by, span, upTimes);
    row[kReconnectFigure] = sums.reconnects == 0
                                ? std::string(kNone)
                                : hoursMinutesSeconds((2 * sums.reconnectTotal + sums.reconnects) /
                                                      (2 * sums.reconnects));
    row[kSentFigure] = wideCountText(sums.sent);
    row[kReceivedFigure] = wideCountText(sums.received);
    for (std::size_t e = 0; e < kEndedByWords.size(); ++e)
        row[kFirstEndedByFigure + e] = std::to_string(sums.endedBy[e]);
    return row;
}

class PeriodSums {
public:
    explicit PeriodSums(StatisticsPeriod by) : by_(by) {}

    Sums& of(const std::optional<std::int64_t>& day) {
        if (by_ == StatisticsPeriod::All) return named(0, "all", {});
        if (!day) return named(kUnknownKey, "unknown", {});
        const PeriodDays days = periodDays(by_, *day);
        if (const auto at = periods_.find(days.first); at != periods_.end()) return at->second;
        return named(days.first, periodName(by_, year_month_day{sys_days{std::chrono::days{*day}}}),
                     days);
    }
    const std::map<std::int64_t, Sums>& periods() const { return periods_; }

private:
    Sums& named(std::int64_t key, std::string name, PeriodDays days) {
        auto [at, inserted] = periods_.try_emplace(key);
        if (inserted) {
            at->second.period = std::move(name);
            at->second.days = days;
        }
        return at->second;
    }

    StatisticsPeriod by_;
    std::map<std::int64_t, Sums> periods_;
};

}  // namespace

std::string percentText(std::int64_t part, std::int64_t whole) {
    const __int128 tenths = (__int128{2000} * part + whole) / (__int128{2} * whole);
    const auto value = static_cast<std::int64_t>(tenths);
    return std::to_string(value / 10) + '.' + static_cast<char>('0' + value % 10) + '%';
}

std::vector<int> reconnectingRows(const CallTable& table) {
    const int count = table.callCount() == 0 ? 0 : table.rowCount();
    std::vector<int> reconnecting(static_cast<std::size_t>(count), -1);
    std::unordered_map<std::string_view, int> nextOnInterface;
    int nextAny = -1;
    const auto reconnects = [&](int row, std::int64_t from, std::string_view interface) {
        if (!isReconnect(table, row)) return false;
        if (interface != kNone && table.cell(PppdColumn::Interface, row) != interface) return false;
        return *table.value(PppdColumn::StartTime, row).asNumber() >= from;
    };
    for (int row = count - 1; row >= 0; --row) {
        const std::string_view interface = table.cell(PppdColumn::Interface, row);
        if (const std::optional<std::int64_t> end =
                table.value(PppdColumn::EndTime, row).asNumber()) {
            int next = nextAny;
            if (interface != kNone) {
                const auto at = nextOnInterface.find(interface);
                next = at == nextOnInterface.end() ? -1 : at->second;
            }
            // The nearest one started before this row ended (the clock went
            // back): look further on.
            while (next >= 0 && next < count && !reconnects(next, *end, interface)) ++next;
            reconnecting[static_cast<std::size_t>(row)] = next < count ? next : -1;
        }
        if (isReconnect(table, row)) {
            nextAny = row;
            if (interface != kNone) nextOnInterface[interface] = row;
        }
    }
    return reconnecting;
}

std::vector<PppdStatisticsRow> pppdStatisticsOf(const CallTable& table,
                                                const std::vector<int>& rows, StatisticsPeriod by,
                                                const LogSpan& span) {
    // An empty table's row 0 holds no row of the log.
    if (table.callCount() == 0) return {};
    const std::vector<int> reconnecting = reconnectingRows(table);
    std::vector<Interval> upTimes;
    PeriodSums periods(by);
    for (const int row : rows) {
        const std::uint32_t marks = table.marks(row);
        if ((marks & (kSessionMark | kFailedAttemptMark)) == 0) continue;
        const CellValue start = table.value(PppdColumn::StartTime, row);
        Sums& sums = periods.of(start.day());
        const std::string_view endedBy = table.cell(PppdColumn::EndedBy, row);
        const auto word = std::find(kEndedByWords.begin(), kEndedByWords.end(), endedBy);
        if (word != kEndedByWords.end()) ++sums.endedBy[word - kEndedByWords.begin()];
        if ((marks & kSessionMark) == 0) {
            ++sums.failed;
            continue;
        }
        ++sums.sessions;
        if (const std::optional<std::int64_t> seconds = sessionSeconds(table, row, span)) {
            sums.durations.push_back(*seconds);
            sums.online += *seconds;
        }
        if (const auto sent = table.value(PppdColumn::BytesSent, row).asCount()) sums.sent += *sent;
        if (const auto received = table.value(PppdColumn::BytesReceived, row).asCount())
            sums.received += *received;
        if ((marks & kDroppedMark) == 0) continue;
        ++sums.drops;
        const int next = reconnecting[static_cast<std::size_t>(row)];
        if (next < 0) continue;
        sums.reconnectTotal += *table.value(PppdColumn::StartTime, next).asNumber() -
                               *table.value(PppdColumn::EndTime, row).asNumber();
        ++sums.reconnects;
    }
    // The link was up whichever rows are counted: every session of the log
    // gives its time up.
    for (int row = 0; row < table.rowCount(); ++row) {
        if ((table.marks(row) & kSessionMark) == 0) continue;
        if (const std::optional<Interval> up = upTime(table, row, span)) upTimes.push_back(*up);
    }
    const std::vector<Interval> merged = mergedIntervals(std::move(upTimes));
    std::vector<PppdStatisticsRow> figureRows;
    figureRows.reserve(periods.periods().size());
    for (const auto& [key, sums] : periods.periods())
        figureRows.push_back(figures(sums, by, span, merged));
    return figureRows;
}

void useRegionalSeparators(std::vector<PppdStatisticsRow>& rows, const RegionalSettings& settings) {
    constexpr int kDurationFigures[] = {kOnlineFigure, kLongestFigure, kMedianFigure,
                                        kReconnectFigure};
    for (PppdStatisticsRow& row : rows) {
        for (const int c : kDurationFigures)
            std::replace(row[c].begin(), row[c].end(), ':', settings.timeSeparator);
        std::replace(row[kAvailabilityFigure].begin(), row[kAvailabilityFigure].end(), '.',
                     settings.decimalSeparator);
    }
}

std::string pppdStatisticsLine(const PppdStatisticsRow& row, StatisticsLayout layout) {
    return statisticsFieldsLine(row, layout);
}

std::string pppdStatisticsHeaderLine(StatisticsLayout layout) {
    PppdStatisticsRow names;
    std::copy(kPppdStatisticsHeaders.begin(), kPppdStatisticsHeaders.end(), names.begin());
    return pppdStatisticsLine(names, layout);
}

std::string pppdStatisticsText(const std::vector<PppdStatisticsRow>& rows, StatisticsLayout layout,
                               bool header) {
    std::string text;
    if (header) text += pppdStatisticsHeaderLine(layout) + "\r\n";
    for (const PppdStatisticsRow& row : rows) text += pppdStatisticsLine(row, layout) + "\r\n";
    return text;
}

}  // namespace kestal
