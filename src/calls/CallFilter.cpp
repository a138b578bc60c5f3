#include "calls/CallFilter.h"

#include <algorithm>

namespace kestal {

namespace {

std::int32_t dayNumber(const std::chrono::year_month_day& date) {
    return static_cast<std::int32_t>(std::chrono::sys_days{date}.time_since_epoch().count());
}

// The tenths of the slowest layer that holds a number.
std::optional<std::int64_t> slowestLayer(const CallValues& call) {
    std::optional<std::int64_t> slowest;
    for (int layer = 0; layer < kLayerColumnCount; ++layer) {
        if (call.hasLayer(layer))
            slowest = std::max(slowest.value_or(call.layerTenths[layer]), call.layerTenths[layer]);
    }
    return slowest;
}

}  // namespace

bool CallFilter::active() const {
    return from || to || withErrors || cutShort || minDuration || maxDuration ||
           layerSlowerThanTenths;
}

bool passes(const CallValues& call, const CallFilter& filter) {
    if (filter.from || filter.to) {
        if (call.startDay == CallValues::kNone) return false;
        if (filter.from && call.startDay < dayNumber(*filter.from)) return false;
        if (filter.to && call.startDay > dayNumber(*filter.to)) return false;
    }
    if (filter.withErrors && call.errors == 0) return false;
    if (filter.cutShort && !call.cutShort) return false;
    if (filter.minDuration || filter.maxDuration) {
        if (call.duration == CallValues::kNone) return false;
        if (filter.minDuration && call.duration < *filter.minDuration) return false;
        if (filter.maxDuration && call.duration > *filter.maxDuration) return false;
    }
    if (filter.layerSlowerThanTenths) {
        const std::optional<std::int64_t> slowest = slowestLayer(call);
        if (!slowest || *slowest <= *filter.layerSlowerThanTenths) return false;
    }
    return true;
}

std::vector<int> filterRows(const CallTable& table, std::span<const int> rows,
                            const CallFilter& filter) {
    if (!filter.active()) return {rows.begin(), rows.end()};
    std::vector<int> shown;
    shown.reserve(rows.size());
    for (const int row : rows) {
        if (passes(callValuesOf(table, row), filter)) shown.push_back(row);
    }
    return shown;
}

}  // namespace kestal
