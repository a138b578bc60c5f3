// Which calls are shown: a date range on Start Time, calls with errors,
// cut-short calls, a duration range and a slow layer, tested on each call's
// values (CallValues); rows of other logs by their marks.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "calls/CallValues.h"
#include "table/CallTable.h"

namespace kestal {

struct CallFilter {
    // Start Time's date, both ends included. A call whose date can't be read
    // is left out when either is given.
    std::optional<std::chrono::year_month_day> from;
    std::optional<std::chrono::year_month_day> to;
    bool withErrors = false;  // any of the seven error counters above 0
    bool cutShort = false;    // End Time "-": ended by the next call's first line
    // Duration in seconds, both ends included; a call without one is left out.
    std::optional<int> minDuration;
    std::optional<int> maxDuration;
    // At least one of the four layers took longer than this many tenths.
    std::optional<std::int64_t> layerSlowerThanTenths;
    // Other logs' kinds of row (a dropped session, a failed attempt): a row
    // passes when it has any of these marks; 0 passes every row. The errors,
    // cut short and the layers above are the dial-up log's only.
    std::uint32_t anyOfMarks = 0;

    // True when the filter can hide a call.
    bool active() const;
    friend bool operator==(const CallFilter&, const CallFilter&) = default;
};

// Whether a call passes the filter, by its row's values (in column order)
// and marks, or by its table row.
bool passes(std::span<const CellValue> values, std::uint32_t marks, const CallFilter& filter);
bool passes(const CallTable& table, int row, const CallFilter& filter);

// The rows (table rows, in the order given) whose values pass the filter.
std::vector<int> filterRows(const CallTable& table, std::span<const int> rows,
                            const CallFilter& filter);

}  // namespace kestal
