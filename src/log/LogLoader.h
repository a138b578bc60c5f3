// Finding the log, loading it into LogLines (repairing NUL bytes on request)
// and rebuilding the call table from it.
#pragma once

#include <string>
#include <string_view>

#include "log/CallTable.h"
#include "log/LogLines.h"
#include "log/ReadMark.h"
#include "platform/Platform.h"

namespace kestal {

inline constexpr std::string_view kProgramCaption = "Kestal File Viewer";
inline constexpr std::string_view kLogFileSuffix = "/ppplog.txt";
inline constexpr std::string_view kTempFileName = "ppplog.tmp";
inline constexpr std::string_view kNoWindowsDirectory = "Fatal error: Can't find Windows Directory";
inline constexpr std::string_view kLogInUse =
    "The PPPLOG.TXT file is in use by another application. If you are currently on-line, re-try "
    "when you have finished the current connection.";
inline constexpr std::string_view kAttemptLoadQuestion =
    "The PPPLOG.TXT file may have been corrupted.\r\nAttempt to load the file anyway?\r\nThis make "
    "take a few seconds.";
inline constexpr std::string_view kSomeCallsNotListed = "Some calls may not be listed!";
inline constexpr std::string_view kNoSystemLog =
    "No system log was found: open a log with File > Open.";

// What loading needs of the main window. The window implements it; tests
// use a recording double.
class LoadView {
public:
    virtual ~LoadView() = default;
    // The grid is hidden while the scan adds rows and shown again after.
    virtual void setGridVisible(bool visible) = 0;
    // Bracket every change of the call table's rows or cells.
    virtual void beginTableChange() = 0;
    virtual void endTableChange() = 0;
    // Row 1 selected, after the scan.
    virtual void selectFirstRow() = 0;
    virtual void setStatusText(std::string_view text) = 0;  // Label1
    virtual void setGaugeVisible(bool visible) = 0;         // Gauge1
    virtual void setGaugeProgress(int progress) = 0;
    virtual void setCaption(std::string_view caption) = 0;
    virtual void setClearEnabled(bool enabled) = 0;  // Clear1
    // While a repair lets window events through, no command may start.
    virtual void setInputBlocked(bool blocked) = 0;
};

// The state every command works on.
struct LogState {
    std::string LogPath;
    LogLines lines;  // LogLines
    CallTable table;
    ReadMark readMark;  // where the lines came from
};

// The Windows directory through GetWindowsDirectoryA into a 256-byte buffer;
// false when the call fails.
bool windowsDirectory(Platform& platform, std::string& directory);

// The Windows directory followed by "/ppplog.txt"; false when there is no
// Windows directory.
bool defaultLogPath(Platform& platform, std::string& path);

// The directory part of LogPath (up to and including its last "/")
// followed by "ppplog.tmp".
std::string tempPathFor(std::string_view logPath);

// Start-up. A log named on the command line is loaded as File > Open loads
// a chosen one. Otherwise LogPath from the Windows directory, then LoadLog;
// without a Windows directory there is no system log: the table stays
// empty, Clear is disabled and the status label says how to open a log.
void startUp(LogState& state, Platform& platform, LoadView& view, std::string_view logFile = {});

// Re-reads LogPath into LogLines and rebuilds the call table.
void LoadLog(LogState& state, Platform& platform, LoadView& view);

// The File > Open command; false when the dialog was cancelled.
bool Open1Click(LogState& state, Platform& platform, LoadView& view, FileDialog& OpenDialog1);

// What File > Open does with the file chosen: LogPath, Clear, the table,
// the caption and the status label set for it, then LoadLog.
void openLogFile(LogState& state, Platform& platform, LoadView& view, std::string_view path);

}  // namespace kestal
