// Every text the commands show the user (dialogs, captions, the status
// label) and the program's title, in one place. The data libraries say
// nothing to the user themselves.
#pragma once

#include <string>
#include <string_view>

namespace kestal {

inline constexpr std::string_view kProgramTitle = "Kestal File Viewer";

// Loading.
inline constexpr std::string_view kNoWindowsDirectory = "Fatal error: Can't find Windows Directory";
inline constexpr std::string_view kLogInUse =
    "The PPPLOG.TXT file is in use by another application. If you are currently on-line, re-try "
    "when you have finished the current connection.";
inline constexpr std::string_view kAttemptLoadQuestion =
    "The PPPLOG.TXT file may have been corrupted.\r\nAttempt to load the file anyway?\r\nThis make "
    "take a few seconds.";
inline constexpr std::string_view kSomeCallsNotListed = "Some calls may not be listed!";
// Several logs read as one, some of which ended early (a .gz cut short):
// the files and why follow, one a line.
inline constexpr std::string_view kLogsEndEarly = "Some logs end early; what they hold is shown.";
inline constexpr std::string_view kNoSystemLog =
    "No system log was found: open a log with File > Open.";
inline constexpr std::string_view kCorruptLogWarning =
    "The PPPLOG.TXT file appears to have been corrupted.";

// A dropped file or a recent log refused before it replaces the log shown.
inline std::string notAPppLogText(std::string_view path) {
    return std::string(path) + " does not look like a PPP log.";
}
inline std::string folderNotALogText(std::string_view path) {
    return std::string(path) + " is a folder, not a PPP log.";
}

// Clear.
inline constexpr std::string_view kClearQuestion =
    "Are Sure you want to clear the PPPLOG.TXT file?";

// Save Table As.
inline constexpr std::string_view kSaveTableFilter =
    "Text (*.txt)|*.txt|Text & Tabs (*.tsv)|*.tsv|Text & Commas (*.csv)|*.csv";
inline constexpr std::string_view kHeaderQuestion = "Include the header names as first row?";
inline constexpr std::string_view kNoLayoutWarning =
    "The table was not saved: the file name must contain .txt, .tsv or .csv.";

// Copy.
inline constexpr std::string_view kCopyFilter = "Text files (*.txt)|*.TXT";

}  // namespace kestal
