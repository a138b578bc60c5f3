// The NUL repair: a log whose lines don't add up to its size is copied
// without its NUL bytes into "ppplog.tmp" beside it, and read again from
// there, the gauge moving as the copy goes.
#pragma once

#include "commands/LoadView.h"
#include "commands/LogState.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

namespace kestal {

// Repairs the open log (log, whose status is logStatus) into state.lines.
// Returns false (after telling the user) when the temporary file fails; the
// lines read before are then kept.
bool repairLog(LogState& state, int log, const FileStatus& logStatus, Platform& platform,
               LoadView& view);

}  // namespace kestal
