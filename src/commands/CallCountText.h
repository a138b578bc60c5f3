// The status label's count of calls.
#pragma once

#include <optional>
#include <string>

#include "table/CallTable.h"

namespace kestal {

// "12 Calls" when the table holds three calls or more; nothing otherwise
// (the status label is then left as it was).
inline std::optional<std::string> callCountText(const CallTable& table) {
    const int calls = table.rowCount();
    if (calls <= 2) return std::nullopt;
    return std::to_string(calls) + " Calls";
}

}  // namespace kestal
