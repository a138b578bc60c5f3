#include "output/CallStatistics.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "output/CsvField.h"

namespace kestal {

namespace {

using namespace std::chrono;

constexpr std::string_view kNone = "-";
constexpr std::string_view kUnknownPeriod = "unknown";
constexpr std::int64_t kUnknownKey = std::numeric_limits<std::int64_t>::max();

// The ISO 8601 week-numbering year and week of a date: the week belongs to
// the year that holds its Thursday.
struct IsoWeek {
    int year;
    unsigned week;
};
IsoWeek isoWeekOf(const year_month_day& date) {
    const sys_days day{date};
    const unsigned fromMonday = weekday{day}.iso_encoding() - 1;
    const sys_days thursday = day - days{fromMonday} + days{3};
    const year_month_day thursdayDate{thursday};
    const sys_days newYear{thursdayDate.year() / January / 1};
    return {static_cast<int>(thursdayDate.year()),
            static_cast<unsigned>((thursday - newYear).count() / 7 + 1)};
}

std::int64_t periodKey(StatisticsPeriod by, const std::optional<year_month_day>& date) {
    if (by == StatisticsPeriod::All) return 0;
    if (!date) return kUnknownKey;
    switch (by) {
        case StatisticsPeriod::Day:
            return sys_days{*date}.time_since_epoch().count();
        case StatisticsPeriod::Week: {
            const IsoWeek week = isoWeekOf(*date);
            return std::int64_t{week.year} * 100 + week.week;
        }
        case StatisticsPeriod::Month:
            return std::int64_t{static_cast<int>(date->year())} * 12 +
                   static_cast<unsigned>(date->month());
        case StatisticsPeriod::All:
            break;
    }
    return 0;
}

__int128 floorDivide(__int128 numerator, __int128 denominator) {
    __int128 quotient = numerator / denominator;
    if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0))) --quotient;
    return quotient;
}

// numerator / denominator to the nearest whole number, halves up.
__int128 roundHalfUp(__int128 numerator, __int128 denominator) {
    return floorDivide(2 * numerator + denominator, 2 * denominator);
}

std::string wideText(__int128 value) {
    if (value < 0) return "-" + wideCountText(static_cast<WideCount>(-value));
    return wideCountText(static_cast<WideCount>(value));
}

std::string durationText(const std::optional<std::int64_t>& seconds) {
    return seconds ? hoursMinutesSeconds(*seconds) : std::string(kNone);
}

}  // namespace

std::string periodName(StatisticsPeriod by, const std::optional<year_month_day>& date) {
    if (by == StatisticsPeriod::All) return "all";
    if (!date) return std::string(kUnknownPeriod);
    char text[32];
    const int year = static_cast<int>(date->year());
    switch (by) {
        case StatisticsPeriod::Day:
            std::snprintf(text, sizeof text, "%04d-%02u-%02u", year,
                          static_cast<unsigned>(date->month()), static_cast<unsigned>(date->day()));
            break;
        case StatisticsPeriod::Week: {
            const IsoWeek week = isoWeekOf(*date);
            std::snprintf(text, sizeof text, "%04d-W%02u", week.year, week.week);
            break;
        }
        case StatisticsPeriod::Month:
            std::snprintf(text, sizeof text, "%04d-%02u", year,
                          static_cast<unsigned>(date->month()));
            break;
        case StatisticsPeriod::All:
            break;
    }
    return text;
}

std::string hoursMinutesSeconds(std::int64_t seconds) {
    // Put together by hand: with snprintf, four of these a period took as
    // long as summing up the calls of a day.
    std::string text = std::to_string(seconds / 3600);
    for (const auto part : {seconds / 60 % 60, seconds % 60}) {
        text += ':';
        text += static_cast<char>('0' + part / 10);
        text += static_cast<char>('0' + part % 10);
    }
    return text;
}

std::string twoDecimals(__int128 numerator, __int128 denominator) {
    const __int128 hundredths = roundHalfUp(100 * numerator, denominator);
    const __int128 magnitude = hundredths < 0 ? -hundredths : hundredths;
    const int fraction = static_cast<int>(magnitude % 100);
    std::string text = hundredths < 0 ? "-" : "";
    text += wideText(magnitude / 100);
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return text;
}

CallStatistics::Sums& CallStatistics::sumsOfAnotherDay(std::int32_t day) {
    lastDay_ = day;
    std::optional<year_month_day> date;
    if (day != CallValues::kNone) date = year_month_day{sys_days{days{day}}};
    const std::int64_t key = periodKey(by_, date);
    if (!lastSums_ || key != lastKey_) {
        auto [at, inserted] = periods_.try_emplace(key);
        if (inserted) at->second.period = periodName(by_, date);
        lastSums_ = &at->second;
        lastKey_ = key;
    }
    return *lastSums_;
}

WideCount CallStatistics::Sums::errorSum() const {
    WideCount sum = errors;
    for (int e = 0; e < kErrorColumnCount; ++e)
        sum += narrow[static_cast<std::size_t>(kTrafficCounterCount + e)];
    return sum;
}

void CallStatistics::add(const CallValues& call) {
    Sums& sums = sumsOf(call.startDay);
    ++sums.calls;
    if (call.cutShort) ++sums.cutShort;
    if (call.duration != CallValues::kNone) {
        sums.durations.push_back(call.duration);
        sums.durationTotal += call.duration;
    }
    for (int l = 0; l < kLayerColumnCount; ++l) {
        if (!call.hasLayer(l)) continue;
        sums.layerTenths[l] += call.layerTenths[l];
        ++sums.layerCounts[l];
    }
    for (int c = 0; c < kTrafficCounterCount; ++c) sums.traffic[c] += call.traffic[c];
    sums.errors += call.errors;
}

void CallStatistics::add(const CallTable::RowValues& values) {
    // As callValuesOf reads a row, without making its 128-bit sums: most
    // values fit 32 bits, and reading them is most of the work.
    std::int32_t day = CallValues::kNone;
    const CellValue start = values[kStartTimeColumn];
    if (start.whole() && start.bits() <= UINT32_MAX) {
        day = static_cast<std::int32_t>(start.bits() / CellValue::kSecondsPerDay);
    } else if (const std::optional<std::int64_t> startDay = start.day()) {
        if (*startDay > CallValues::kNone && *startDay <= INT32_MAX)
            day = static_cast<std::int32_t>(*startDay);
    }
    Sums& sums = sumsOf(day);
    ++sums.calls;
    if (values.marks() & kCutShortMark) ++sums.cutShort;
    if (const std::optional<std::int64_t> seconds = values[kDurationColumn].asNumber()) {
        if (*seconds > CallValues::kNone && *seconds <= INT32_MAX) {
            sums.durations.push_back(static_cast<int>(*seconds));
            sums.durationTotal += *seconds;
        }
    }
    for (int l = 0; l < kLayerColumnCount; ++l) {
        const CellValue tenths = values[kFirstLayerColumn + l];
        if (!tenths.whole()) continue;
        sums.layerTenths[static_cast<std::size_t>(l)] += static_cast<std::int64_t>(tenths.bits());
        ++sums.layerCounts[static_cast<std::size_t>(l)];
    }
    for (int c = 0; c < kTrafficCounterCount + kErrorColumnCount; ++c) {
        const CellValue count = values[kFirstCounterColumn + c];
        if (!count.whole()) continue;
        if (count.bits() <= UINT32_MAX) {
            sums.narrow[static_cast<std::size_t>(c)] += count.bits();
        } else if (c < kTrafficCounterCount) {
            sums.traffic[static_cast<std::size_t>(c)] += count.bits();
        } else {
            sums.errors += count.bits();
        }
    }
}

StatisticsRow CallStatistics::figures(const Sums& sums) {
    StatisticsRow row;
    row[0] = sums.period;
    row[1] = std::to_string(sums.calls);

    const std::size_t timed = sums.durations.size();
    std::optional<std::int64_t> total, mean, median, longest;
    if (timed > 0) {
        std::vector<int> durations = sums.durations;
        // The lower of the two middle values for an even count.
        const auto middle = durations.begin() + static_cast<std::ptrdiff_t>((timed - 1) / 2);
        std::nth_element(durations.begin(), middle, durations.end());
        total = sums.durationTotal;
        mean = static_cast<std::int64_t>(roundHalfUp(sums.durationTotal, timed));
        median = *middle;
        longest = *std::max_element(durations.begin(), durations.end());
    }
    row[2] = durationText(total);
    row[3] = durationText(mean);
    row[4] = durationText(median);
    row[5] = durationText(longest);
    row[6] = std::to_string(sums.cutShort);

    // Tenths summed whole, so the mean in seconds is sum / (10 n) exactly.
    for (int l = 0; l < kLayerColumnCount; ++l) {
        row[7 + l] = sums.layerCounts[l] == 0
                         ? std::string(kNone)
                         : twoDecimals(sums.layerTenths[l], __int128{10} * sums.layerCounts[l]);
    }
    row[11] = wideCountText(sums.trafficSum(kBytesRx));
    row[12] = wideCountText(sums.trafficSum(kBytesTx));
    const WideCount errors = sums.errorSum();
    row[13] = wideCountText(errors);
    const WideCount frames = sums.trafficSum(kFramesRx) + sums.trafficSum(kFramesTx);
    row[14] = frames == 0 ? std::string(kNone)
                          : twoDecimals(static_cast<__int128>(errors) * 1000,
                                        static_cast<__int128>(frames));
    return row;
}

std::vector<StatisticsRow> CallStatistics::rows() const {
    std::vector<StatisticsRow> rows;
    rows.reserve(periods_.size());
    for (const auto& [key, sums] : periods_) rows.push_back(figures(sums));
    return rows;
}

std::vector<StatisticsRow> statisticsOf(const CallTable& table, const std::vector<int>& rows,
                                        StatisticsPeriod by) {
    CallStatistics statistics(by);
    for (const int row : rows) statistics.add(table.rowValues(row));
    return statistics.rows();
}

void useRegionalSeparators(std::vector<StatisticsRow>& rows, const RegionalSettings& settings) {
    constexpr int kDurationFigures[] = {2, 3, 4, 5};
    constexpr int kDecimalFigures[] = {7, 8, 9, 10, 14};
    for (StatisticsRow& row : rows) {
        for (const int c : kDurationFigures)
            std::replace(row[c].begin(), row[c].end(), ':', settings.timeSeparator);
        for (const int c : kDecimalFigures)
            std::replace(row[c].begin(), row[c].end(), '.', settings.decimalSeparator);
    }
}

std::string statisticsFieldsLine(std::span<const std::string> row, StatisticsLayout layout) {
    const char separator = layout == StatisticsLayout::TabSeparated ? '\t' : ',';
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
        if (c > 0) line.push_back(separator);
        if (layout == StatisticsLayout::CommaSeparated) {
            appendCsvField(line, row[c]);
        } else {
            line.append(row[c]);
        }
    }
    return line;
}

std::string statisticsLine(const StatisticsRow& row, StatisticsLayout layout) {
    return statisticsFieldsLine(row, layout);
}

std::string statisticsHeaderLine(StatisticsLayout layout) {
    StatisticsRow names;
    std::copy(kStatisticsHeaders.begin(), kStatisticsHeaders.end(), names.begin());
    return statisticsLine(names, layout);
}

std::string statisticsText(const std::vector<StatisticsRow>& rows, StatisticsLayout layout,
                           bool header) {
    std::string text;
    if (header) text += statisticsHeaderLine(layout) + "\r\n";
    for (const StatisticsRow& row : rows) text += statisticsLine(row, layout) + "\r\n";
    return text;
}

}  // namespace kestal
