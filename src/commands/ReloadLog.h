// View > Reload: reading the shown log again, and finding a call again in
// the new table.
#pragma once

#include <string_view>

#include "commands/LoadView.h"
#include "commands/LogState.h"
#include "platform/Platform.h"
#include "table/CallTable.h"

namespace kestal::commands {

// Reads the shown log again as File > Open reads a chosen one: the table
// reset and the status label emptied, then loadLog, with its questions.
// Caption and Clear stay as they are. Does nothing while no log is shown
// (no system log and none opened).
void reloadLog(LogState& state, Platform& platform, LoadView& view);

}  // namespace kestal::commands

namespace kestal {

// The row of the call that starts at startText, the one nearest to row near
// when several do; -1 when none does (or startText is empty).
int rowOfCall(const CallTable& table, std::string_view startText, int near);

}  // namespace kestal
