// Which calls are shown: a date range on Start Time, calls with errors,
// cut-short calls, a duration range and a slow layer. Each call's values are
// read from its cells once (CallFacts); a change of filter then only tests
// those values.
#pragma once

#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "log/CallTable.h"
#include "platform/Platform.h"

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

    // True when the filter can hide a call.
    bool active() const;
    friend bool operator==(const CallFilter&, const CallFilter&) = default;
};

// What the filter reads of one call.
struct CallFacts {
    static constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::min();
    std::int32_t startDay = kNone;      // days since 1970-01-01
    std::int32_t duration = kNone;      // seconds
    std::int32_t slowestLayer = kNone;  // tenths of a second
    bool withErrors = false;
    bool cutShort = false;
};

CallFacts readCallFacts(const RowTexts& cells, const RegionalSettings& settings);
CallFacts readCallFacts(const CallTable& table, int row, const RegionalSettings& settings);
// Every call row's facts; element i belongs to table row i + 1.
std::vector<CallFacts> readAllCallFacts(const CallTable& table, const RegionalSettings& settings);
// Reads on where facts stops, at most count more rows; true once facts
// holds every row of the table.
bool readMoreCallFacts(const CallTable& table, std::vector<CallFacts>& facts, std::size_t count,
                       const RegionalSettings& settings);

bool passes(const CallFacts& facts, const CallFilter& filter);

// The rows (table rows, in the order given) whose facts pass the filter;
// facts[i] belongs to table row i + 1.
std::vector<int> filterRows(std::span<const int> rows, std::span<const CallFacts> facts,
                            const CallFilter& filter);

}  // namespace kestal
