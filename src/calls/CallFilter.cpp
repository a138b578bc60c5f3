#include "calls/CallFilter.h"

#include <algorithm>

namespace kestal {

namespace {

std::int64_t dayNumber(const std::chrono::year_month_day& date) {
    return std::chrono::sys_days{date}.time_since_epoch().count();
}

// Values is a row's values by column: a span of them, or a table row's. Only
// the values the filter asks about are taken.
template <typename Values>
bool passesValues(const Values& values, std::uint32_t marks, const CallFilter& filter) {
    if (filter.from || filter.to) {
        const std::optional<std::int64_t> day = values[kStartTimeColumn].day();
        if (!day) return false;
        if (filter.from && *day < dayNumber(*filter.from)) return false;
        if (filter.to && *day > dayNumber(*filter.to)) return false;
    }
    if (filter.withErrors) {
        bool any = false;
        for (int e = 0; e < kErrorColumnCount && !any; ++e)
            any = values[kFirstErrorColumn + e].asCount().value_or(0) > 0;
        if (!any) return false;
    }
    if (filter.cutShort && (marks & kCutShortMark) == 0) return false;
    if (filter.anyOfMarks != 0 && (marks & filter.anyOfMarks) == 0) return false;
    if (filter.minDuration || filter.maxDuration) {
        const std::optional<std::int64_t> duration = values[kDurationColumn].asNumber();
        if (!duration) return false;
        if (filter.minDuration && *duration < *filter.minDuration) return false;
        if (filter.maxDuration && *duration > *filter.maxDuration) return false;
    }
    if (filter.layerSlowerThanTenths) {
        // The slowest layer that holds a number.
        std::optional<std::int64_t> slowest;
        for (int layer = 0; layer < kLayerColumnCount; ++layer) {
            if (const std::optional<std::int64_t> tenths =
                    values[kFirstLayerColumn + layer].asNumber())
                slowest = std::max(slowest.value_or(*tenths), *tenths);
        }
        if (!slowest || *slowest <= *filter.layerSlowerThanTenths) return false;
    }
    return true;
}

}  // namespace

bool CallFilter::active() const {
    return from || to || withErrors || cutShort || minDuration || maxDuration ||
           layerSlowerThanTenths || anyOfMarks != 0;
}

bool passes(std::span<const CellValue> values, std::uint32_t marks, const CallFilter& filter) {
    return passesValues(values, marks, filter);
}

bool passes(const CallTable& table, int row, const CallFilter& filter) {
    const CallTable::RowValues values = table.rowValues(row);
    return passesValues(values, values.marks(), filter);
}

std::vector<int> filterRows(const CallTable& table, std::span<const int> rows,
                            const CallFilter& filter) {
    if (!filter.active()) return {rows.begin(), rows.end()};
    std::vector<int> shown;
    shown.reserve(rows.size());
    for (const int row : rows) {
        const CallTable::RowValues values = table.rowValues(row);
        if (passesValues(values, values.marks(), filter)) shown.push_back(row);
    }
    return shown;
}

}  // namespace kestal
