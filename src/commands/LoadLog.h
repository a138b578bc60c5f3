// Loading the log into its lines and rebuilding the call table from them:
// at start-up and on File > Open.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/LoadView.h"
#include "commands/LogState.h"
#include "commands/Messages.h"
#include "commands/SystemLog.h"
#include "platform/Platform.h"

namespace kestal::commands {

// Start-up. A log named on the command line is loaded as File > Open loads
// a chosen one. Otherwise the log path from the Windows directory, then
// loadLog; without a Windows directory there is no system log: the table
// stays empty, Clear is disabled and the status label says how to open a
// log.
void startUp(LogState& state, Platform& platform, LoadView& view, std::string_view logFile = {});

// Reads state.logPath into the lines (repairing NUL bytes when the user
// agrees) and rebuilds the call table from them.
void loadLog(LogState& state, Platform& platform, LoadView& view);

// File > Open: the log the user picks, shown under its own caption; false
// when the dialog was cancelled.
bool openLog(LogState& state, Platform& platform, LoadView& view, FileDialog& openDialog);

// Whether the log shown is the system log, the one Clear empties.
bool isSystemLog(const LogState& state, Platform& platform);

// A pppd log's table, row lines and counts, as its reader gave them, into
// the state shown (state.pppd is set).
void takePppdTable(LogState& state, PppdLog log);

// A pppd log's sessions and failed attempts, read from state.lines into the
// table and shown; the reader (state.pppd, set anew) is kept to read on
// while the log is followed. newestTime as PppdReadOptions takes it.
void readPppdTable(LogState& state, Platform& platform, LoadView& view, std::int64_t newestTime);

// What the status label says of the table shown: "12 Calls" (nothing for
// fewer than three), or for a pppd log "3 Sessions, 1 Failed Attempts".
std::optional<std::string> countText(const LogState& state);

// Several files as one log (rotated system logs, .gz ones too), read in the
// order their logs begin; the caption names the newest, the one Follow
// watches. One file is opened as openLogFile opens it.
void openLogFiles(LogState& state, Platform& platform, LoadView& view,
                  const std::vector<std::string>& paths);

// What File > Open does with the file chosen: the log path, Clear, the
// table, the caption and the status label set for it, then loadLog.
void openLogFile(LogState& state, Platform& platform, LoadView& view, std::string_view path);

// A file dropped on the window or taken from the recent logs: looked at
// before it replaces the log shown. A folder, or a file whose first bytes
// are no PPP log, is refused with a message naming it, and the log shown
// stays as it is. Any other file is opened as openLogFile opens it (one
// that can't be read then says so as any log does). True when it was.
bool openOtherLog(LogState& state, Platform& platform, LoadView& view, std::string_view path);

}  // namespace kestal::commands
