// Every text the commands show the user (dialogs, captions, the status
// label) and the program's title, in one place. The data libraries say
// nothing to the user themselves.
#pragma once

#include <array>
#include <string>
#include <string_view>

// Marks a text for the translators' catalogue: the windows show it in the
// user's language, everything else (files, kestal-calls) in English.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace kestal {

inline constexpr std::string_view kProgramTitle = "Kestal File Viewer";

// Loading.
inline constexpr std::string_view kNoWindowsDirectory =
    QT_TRANSLATE_NOOP("kestal::Messages", "Fatal error: Can't find Windows Directory");
inline constexpr std::string_view kLogInUse = QT_TRANSLATE_NOOP(
    "kestal::Messages",
    "The PPPLOG.TXT file is in use by another application. If you are currently on-line, re-try "
    "when you have finished the current connection.");
inline constexpr std::string_view kAttemptLoadQuestion = QT_TRANSLATE_NOOP(
    "kestal::Messages",
    "The PPPLOG.TXT file may have been corrupted.\r\nAttempt to load the file anyway?\r\nThis make "
    "take a few seconds.");
inline constexpr std::string_view kSomeCallsNotListed =
    QT_TRANSLATE_NOOP("kestal::Messages", "Some calls may not be listed!");
// Several logs read as one, some of which ended early (a .gz cut short):
// the files and why follow, one a line.
inline constexpr std::string_view kLogsEndEarly =
    QT_TRANSLATE_NOOP("kestal::Messages", "Some logs end early; what they hold is shown.");
inline constexpr std::string_view kNoSystemLog =
    QT_TRANSLATE_NOOP("kestal::Messages", "No system log was found: open a log with File > Open.");
inline constexpr std::string_view kCorruptLogWarning =
    QT_TRANSLATE_NOOP("kestal::Messages", "The PPPLOG.TXT file appears to have been corrupted.");

// The systemd journal, when it gives no pppd entries for a reason the user
// can do something about: the group to join, or that there is no journal.
inline constexpr std::string_view kJournalOwnEntriesOnly =
    QT_TRANSLATE_NOOP("kestal::Messages",
                      "Only members of the group %1 can read pppd's entries: join it and log in "
                      "again.");
inline constexpr std::string_view kNoJournal =
    QT_TRANSLATE_NOOP("kestal::Messages", "There is no systemd journal to read here.");

// A dropped file or a recent log refused before it replaces the log shown.
inline constexpr std::string_view kNotAPppLog =
    QT_TRANSLATE_NOOP("kestal::Messages", "%1 does not look like a PPP log.");
inline constexpr std::string_view kFolderNotALog =
    QT_TRANSLATE_NOOP("kestal::Messages", "%1 is a folder, not a PPP log.");
// A pattern's "%1" replaced by part.
inline std::string withPart(std::string_view pattern, std::string_view part) {
    const std::size_t at = pattern.find("%1");
    return std::string(pattern.substr(0, at)) + std::string(part) +
           std::string(pattern.substr(at + 2));
}
inline constexpr std::string_view kRecentLogMissing = QT_TRANSLATE_NOOP(
    "kestal::Messages", "The log %1 no longer exists. It is taken off the list of recent logs.");
inline std::string notAPppLogText(std::string_view path) { return withPart(kNotAPppLog, path); }
inline std::string folderNotALogText(std::string_view path) {
    return withPart(kFolderNotALog, path);
}

// Clear.
inline constexpr std::string_view kClearQuestion =
    QT_TRANSLATE_NOOP("kestal::Messages", "Are Sure you want to clear the PPPLOG.TXT file?");

// Save Table As.
inline constexpr std::string_view kSaveTableFilter = QT_TRANSLATE_NOOP(
    "kestal::Messages", "Text (*.txt)|*.txt|Text & Tabs (*.tsv)|*.tsv|Text & Commas (*.csv)|*.csv");
inline constexpr std::string_view kHeaderQuestion =
    QT_TRANSLATE_NOOP("kestal::Messages", "Include the header names as first row?");
inline constexpr std::string_view kNoLayoutWarning = QT_TRANSLATE_NOOP(
    "kestal::Messages", "The table was not saved: the file name must contain .txt, .tsv or .csv.");

// Copy.
inline constexpr std::string_view kCopyFilter =
    QT_TRANSLATE_NOOP("kestal::Messages", "Text files (*.txt)|*.TXT");

// The texts above and those of the general error report with parts that
// change (a path, a number, a reason the system gives) written "%1", "%2",
// for the windows to match a shown text or a line of it with.
inline constexpr std::array<std::string_view, 15> kMessagePatterns = {
    kNotAPppLog,
    kJournalOwnEntriesOnly,
    kFolderNotALog,
    kRecentLogMissing,
    QT_TRANSLATE_NOOP("kestal::Messages", "Cannot open file %1."),
    QT_TRANSLATE_NOOP("kestal::Messages", "Cannot create file %1."),
    QT_TRANSLATE_NOOP("kestal::Messages", "I/O error %1."),
    QT_TRANSLATE_NOOP("kestal::Messages", "%1 Calls"),
    // A pppd log's status label (a text is matched with the first pattern
    // that fits: the one with more parts comes first).
    QT_TRANSLATE_NOOP("kestal::Messages", "%1 of %2 Sessions, %3 of %4 Failed Attempts"),
    QT_TRANSLATE_NOOP("kestal::Messages",
                      "%1 Sessions, %2 Failed Attempts; %3 lines not understood"),
    QT_TRANSLATE_NOOP("kestal::Messages", "%1 Sessions, %2 Failed Attempts"),
    // Show Call Details' warning.
    QT_TRANSLATE_NOOP("kestal::Messages",
                      "The data for this call appears to have been corrupted in line number "
                      "%1. A warning replaces the corrupted line."),
    // The lines after kLogsEndEarly: a file and why it ends early.
    QT_TRANSLATE_NOOP("kestal::Messages",
                      "%1: compressed data cut short: read up to where it ends"),
    QT_TRANSLATE_NOOP("kestal::Messages", "%1: read failed: %2"),
    QT_TRANSLATE_NOOP("kestal::Messages",
                      "%1: compressed data damaged (%2): read up to the damage"),
};

// The general error report's own texts as it shows them (with the full stop
// it adds), named here for the translators' catalogue.
inline constexpr std::array<std::string_view, 11> kErrorReportTexts = {
    QT_TRANSLATE_NOOP("kestal::Messages", "File not found."),
    QT_TRANSLATE_NOOP("kestal::Messages", "Invalid filename."),
    QT_TRANSLATE_NOOP("kestal::Messages", "Too many open files."),
    QT_TRANSLATE_NOOP("kestal::Messages", "File access denied."),
    QT_TRANSLATE_NOOP("kestal::Messages", "Read beyond end of file."),
    QT_TRANSLATE_NOOP("kestal::Messages", "Disk full."),
    QT_TRANSLATE_NOOP("kestal::Messages", "Stream write error."),
    QT_TRANSLATE_NOOP("kestal::Messages", "There is no default printer currently selected."),
    QT_TRANSLATE_NOOP("kestal::Messages", "Out of memory."),
    QT_TRANSLATE_NOOP("kestal::Messages", "Unknown error."),
    QT_TRANSLATE_NOOP("kestal::Messages", "The chart could not be printed."),
};

}  // namespace kestal
