// The program's command line: "Kestal [LOGFILE...]", or the journal's pppd
// entries ("Kestal --journal", --journal-file FILE, --journal-directory DIR,
// --since DATE, --until DATE, as journalctl takes them), with --help and
// --version.
// Qt's own options (-platform, -style ...) are taken by QApplication before
// the program reads the rest.
#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/JournalLines.h"

class QCommandLineParser;

namespace kestal {

// What the command line asks for.
struct CommandLine {
    bool ok = true;
    std::string error;    // when not ok: what was wrong, for standard error
    std::string logFile;  // the log to show, as the system names it; empty: the system log
    // Every LOGFILE given (several: shown as one log, rotated system logs).
    std::vector<std::string> logFiles;
    // The journal to show instead of a log, when one of the journal's
    // options is given.
    std::optional<JournalSource> journal;
};

// A date as --since and --until take it, as kestal-calls does: MM-DD-YYYY
// or YYYY-MM-DD, with " HH:MM" or " HH:MM:SS" (or a "T" for the blank)
// after it, in local time; a date alone is its midnight. Microseconds since
// the epoch; nothing for anything else.
std::optional<std::int64_t> journalTime(const QString& text);

// Names the program and its version, for --version and the help text.
void describeProgram();

// True when the arguments ask for --help or --version: those are answered
// before any window (or display) is needed.
bool asksForHelpOrVersion(int argc, char** argv);

// Declares the options and the LOGFILE argument.
void describeOptions(QCommandLineParser& parser);

// Reads arguments (the program's own: Qt's options already taken out). The
// log files become absolute paths in the system's encoding.
CommandLine readCommandLine(QCommandLineParser& parser, const QStringList& arguments);

}  // namespace kestal
