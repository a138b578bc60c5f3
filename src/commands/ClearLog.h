// File > Clear: the system log emptied down to one marker line.
#pragma once

#include "commands/LogState.h"
#include "platform/Platform.h"

namespace kestal::commands {

// Ends the program (through Platform::closeMainWindow) after a successful
// clear or when the Windows directory can't be found.
void clearLog(LogState& state, Platform& platform);

}  // namespace kestal::commands
