#include "log/CallFilter.h"

#include <algorithm>

#include "log/CallValues.h"

namespace kestal {

namespace {

std::int32_t clampedToInt32(std::int64_t value) {
    constexpr std::int64_t kLowest = CallFacts::kNone + std::int64_t{1};
    constexpr std::int64_t kHighest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, kLowest, kHighest));
}

std::int32_t dayNumber(const std::chrono::year_month_day& date) {
    return static_cast<std::int32_t>(std::chrono::sys_days{date}.time_since_epoch().count());
}

// Reads only the cells the filter tests, and of the error counters only
// up to the first one above 0. cell(column) gives the text of that cell.
template <typename Cell>
CallFacts readFacts(const Cell& cell, const RegionalSettings& settings) {
    CallFacts facts;
    if (const auto date = readCellDate(cell(kStartTimeColumn))) facts.startDay = dayNumber(*date);
    if (const auto seconds = readDurationCell(cell(kDurationColumn), settings))
        facts.duration = *seconds;
    for (int column = kFirstLayerColumn; column < kFirstLayerColumn + kLayerColumnCount; ++column) {
        if (const auto tenths = readLayerTenths(cell(column), settings))
            facts.slowestLayer = std::max(facts.slowestLayer, clampedToInt32(*tenths));
    }
    for (int column = kFirstErrorColumn; column < kFirstErrorColumn + kErrorColumnCount; ++column) {
        const auto count = readCountCell(cell(column));
        if (count && *count > 0) {
            facts.withErrors = true;
            break;
        }
    }
    facts.cutShort = isCutShortEnd(cell(kEndTimeColumn));
    return facts;
}

}  // namespace

bool CallFilter::active() const {
    return from || to || withErrors || cutShort || minDuration || maxDuration ||
           layerSlowerThanTenths;
}

CallFacts readCallFacts(const RowTexts& cells, const RegionalSettings& settings) {
    return readFacts([&cells](int column) { return cells[static_cast<std::size_t>(column)]; },
                     settings);
}

CallFacts readCallFacts(const CallTable& table, int row, const RegionalSettings& settings) {
    return readFacts([&table, row](int column) { return table.cell(columnAt(column), row); }, settings);
}

std::vector<CallFacts> readAllCallFacts(const CallTable& table, const RegionalSettings& settings) {
    std::vector<CallFacts> facts;
    readMoreCallFacts(table, facts, static_cast<std::size_t>(table.rowCount()), settings);
    return facts;
}

bool readMoreCallFacts(const CallTable& table, std::vector<CallFacts>& facts, std::size_t count,
                       const RegionalSettings& settings) {
    const auto rows = static_cast<std::size_t>(table.rowCount() - 1);
    facts.reserve(rows);
    const std::size_t end = std::min(rows, facts.size() + count);
    for (std::size_t i = facts.size(); i < end; ++i)
        facts.push_back(readCallFacts(table, static_cast<int>(i) + 1, settings));
    return facts.size() >= rows;
}

bool passes(const CallFacts& facts, const CallFilter& filter) {
    if (filter.from || filter.to) {
        if (facts.startDay == CallFacts::kNone) return false;
        if (filter.from && facts.startDay < dayNumber(*filter.from)) return false;
        if (filter.to && facts.startDay > dayNumber(*filter.to)) return false;
    }
    if (filter.withErrors && !facts.withErrors) return false;
    if (filter.cutShort && !facts.cutShort) return false;
    if (filter.minDuration || filter.maxDuration) {
        if (facts.duration == CallFacts::kNone) return false;
        if (filter.minDuration && facts.duration < *filter.minDuration) return false;
        if (filter.maxDuration && facts.duration > *filter.maxDuration) return false;
    }
    if (filter.layerSlowerThanTenths) {
        if (facts.slowestLayer == CallFacts::kNone) return false;
        if (facts.slowestLayer <= *filter.layerSlowerThanTenths) return false;
    }
    return true;
}

std::vector<int> filterRows(std::span<const int> rows, std::span<const CallFacts> facts,
                            const CallFilter& filter) {
    if (!filter.active()) return {rows.begin(), rows.end()};
    std::vector<int> shown;
    shown.reserve(rows.size());
    for (const int row : rows) {
        if (passes(facts[static_cast<std::size_t>(row - 1)], filter)) shown.push_back(row);
    }
    return shown;
}

}  // namespace kestal
