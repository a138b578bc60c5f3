// Figures that summarise the calls per period (the whole log, a day, an ISO
// week or a month), and their tab- or comma-separated text.
#pragma once

#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calls/CallValues.h"
#include "platform/RegionalSettings.h"
#include "table/CallTable.h"
#include "table/TableColumns.h"

namespace kestal {

enum class StatisticsPeriod { All, Day, Week, Month };

inline constexpr int kStatisticsColumnCount = 15;
// Marked for the windows' catalogue; the text output keeps them in English.
inline constexpr std::array<std::string_view, kStatisticsColumnCount> kStatisticsHeaders = {
    QT_TRANSLATE_NOOP("kestal::Statistics", "Period"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Calls"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Online Time"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Mean Duration"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Median Duration"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Longest Duration"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Cut Short"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "LCP Mean"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "CHAP Mean"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "IPCP Mean"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "CCP Mean"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Bytes Rx"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Bytes Tx"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Errors"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Errors per 1000 Frames"),
};

// One period's figures as the texts that every output shows.
using StatisticsRow = std::array<std::string, kStatisticsColumnCount>;

// "all", "2026-12-02", "2026-W49", "2026-12", or "unknown" without a date.
std::string periodName(StatisticsPeriod by, const std::optional<std::chrono::year_month_day>& date);

// Adds calls one at a time and hands out the figures of every period. Only
// the durations are kept per call (for the median): four bytes each.
class CallStatistics {
public:
    explicit CallStatistics(StatisticsPeriod by) : by_(by) {}
    // It keeps a pointer into its own periods.
    CallStatistics(const CallStatistics&) = delete;
    CallStatistics& operator=(const CallStatistics&) = delete;

    void add(const CallValues& call);
    // The same for a call of a table, its values read where they are kept.
    void add(const CallTable::RowValues& values);
    // The periods in ascending order, "unknown" last; none without calls.
    std::vector<StatisticsRow> rows() const;

private:
    struct Sums {
        std::string period;
        std::uint64_t calls = 0;
        std::uint64_t cutShort = 0;
        std::vector<int> durations;
        std::int64_t durationTotal = 0;
        std::array<std::int64_t, kLayerColumnCount> layerTenths{};
        std::array<std::uint64_t, kLayerColumnCount> layerCounts{};
        // The traffic counters, then the seven error counters: counts below
        // 2^32 are summed in 64 bits (fewer than 2^32 calls can't carry
        // them over), larger ones in wide.
        std::array<std::uint64_t, kTrafficCounterCount + kErrorColumnCount> narrow{};
        std::array<WideCount, kTrafficCounterCount> traffic{};
        WideCount errors = 0;

        WideCount trafficSum(int counter) const {
            return traffic[static_cast<std::size_t>(counter)] +
                   narrow[static_cast<std::size_t>(counter)];
        }
        WideCount errorSum() const;
    };
    static StatisticsRow figures(const Sums& sums);
    // The sums of the period of a call that began on day (days since
    // 1970-01-01, or CallValues::kNone). Most calls share the last call's.
    Sums& sumsOf(std::int32_t day) {
        if (lastSums_ && (by_ == StatisticsPeriod::All || day == lastDay_)) return *lastSums_;
        return sumsOfAnotherDay(day);
    }
    Sums& sumsOfAnotherDay(std::int32_t day);

    StatisticsPeriod by_;
    // Keyed so that the map's order is the periods' order, "unknown" last.
    std::map<std::int64_t, Sums> periods_;
    // Calls come mostly in time order, many a day: the last day's period
    // and its sums are kept at hand.
    std::int32_t lastDay_ = CallValues::kNone;
    std::int64_t lastKey_ = 0;
    Sums* lastSums_ = nullptr;
};

// The figures of the given rows of a call table.
std::vector<StatisticsRow> statisticsOf(const CallTable& table, const std::vector<int>& rows,
                                        StatisticsPeriod by);

// The figures as the user's region writes them, as the grid shows its
// cells: durations with the regional time separator, means and rates with
// the regional decimal separator. The texts above keep ":" and ".".
void useRegionalSeparators(std::vector<StatisticsRow>& rows, const RegionalSettings& settings);

enum class StatisticsLayout { TabSeparated, CommaSeparated };

// One line of text without its line end.
// Fields joined by tabs, or by commas with a field quoted where it needs it:
// one line of any figures' table, without its line end.
std::string statisticsFieldsLine(std::span<const std::string> fields, StatisticsLayout layout);
std::string statisticsLine(const StatisticsRow& row, StatisticsLayout layout);
std::string statisticsHeaderLine(StatisticsLayout layout);
// Every line followed by CR LF, the header line first when asked for.
std::string statisticsText(const std::vector<StatisticsRow>& rows, StatisticsLayout layout,
                           bool header);

// Text helpers, exposed for their tests.
std::string hoursMinutesSeconds(std::int64_t seconds);  // "h:mm:ss", hours as wide as needed
// numerator / denominator (above 0) rounded to two decimals, halves up,
// with ".".
std::string twoDecimals(__int128 numerator, __int128 denominator);

}  // namespace kestal
