// Call > Show Call Details, apart from the window: the lines of the call in
// the table's current row.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "commands/LogState.h"
#include "platform/Platform.h"

namespace kestal::commands {

// Gathers the lines of the current row's call under the busy cursor, a
// warning dialog telling of every line that fails, and hands them to show
// while the cursor is still busy. A pppd log's row shows the lines its
// reader kept for it.
void showCallDetails(const LogState& state, Platform& platform,
                     const std::function<void(std::vector<std::string> lines)>& show);

}  // namespace kestal::commands
