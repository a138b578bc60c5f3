// Cutting the log into calls and summarising each call as a table row.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "calls/LinePositions.h"
#include "lines/LogLines.h"
#include "platform/RegionalSettings.h"
#include "table/CallTable.h"

namespace kestal {

// Called once for every call whose start or end time can't be read, with the
// call's start text; the row is written all the same.
using CorruptCallHandler = std::function<void(std::string_view startText)>;

// Walks lines once and writes one row per call block into table, which must
// be in its reset state. Leaves row 0 current and the current column 0.
// onCorruptCall is called on the calling thread, in the order of the calls.
// A long log is walked by two threads at once, one from its start and one
// from a call in its middle.
void scanCalls(const LogLines& lines, CallTable& table, const RegionalSettings& settings,
               const CorruptCallHandler& onCorruptCall);
// The same, with the second thread starting at the first call that opens at
// line split or after it (split at or past the end: one thread walks all).
// The rows come out the same wherever the split falls.
void scanCalls(const LogLines& lines, CallTable& table, const RegionalSettings& settings,
               const CorruptCallHandler& onCorruptCall, std::size_t split);

// Writes into table, in its reset state, the rows of the calls that open
// at line first or later: what a walk of the whole log gives from there on
// when a call opens at first, or no call opens before it.
void scanCallsFrom(const LogLines& lines, std::size_t first, CallTable& table,
                   const RegionalSettings& settings, const CorruptCallHandler& onCorruptCall);

}  // namespace kestal
