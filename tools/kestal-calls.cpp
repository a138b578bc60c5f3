// kestal-calls: the call table of a Dial-Up Networking PPP log or of a Linux
// pppd log, or the lines of one call, without a window. It is made of the
// viewer's own log, details and export code, so its output is the viewer's
// to the byte.

#ifdef KESTAL_REPORT
#include <QApplication>
#endif
#include <chrono>
#include <clocale>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "JournalInput.h"
#include "LogSources.h"
#include "PppdCalls.h"
#include "ShownCallsOptions.h"
#include "StatsOption.h"
#include "ToolFiles.h"
#include "ToolMessages.h"
#ifdef KESTAL_REPORT
#include "app/figures/PppdReport.h"
#endif
#include "calls/CallScan.h"
#include "commands/Messages.h"
#include "details/CallDetailsStream.h"
#include "output/TableExport.h"
#include "output/TableLines.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "pppd/PppdColumns.h"

namespace {

using namespace kestal;
using namespace kestal::tool;

constexpr std::string_view kVersionText = "kestal-calls " KESTAL_VERSION "\n";
constexpr std::string_view kUsage =
    "Usage: kestal-calls [--kind auto|dialup|pppd] [--format txt|tsv|csv] [--header]\n"
    "                    [--repair] [--sort NAME[:desc]] [--from DATE] [--to DATE]\n"
    "                    [--errors] [--cut-short] [--dropped] [--failed]\n"
    "                    LOGFILE [OUTFILE] | [-o OUTFILE] LOGFILE...\n"
    "       kestal-calls --details \"START TIME\" [--kind KIND] [--repair]\n"
    "                    LOGFILE [OUTFILE] | [-o OUTFILE] LOGFILE...\n"
    "       kestal-calls --stats [--by all|day|week|month] [--format tsv|csv] [--header]\n"
    "                    [--repair] [--from DATE] [--to DATE] [--errors] [--cut-short]\n"
    "                    [--dropped] [--failed] LOGFILE [OUTFILE] | [-o OUTFILE] LOGFILE...\n"
    "       kestal-calls --outages [--format tsv|csv] [--header]\n"
    "                    LOGFILE [OUTFILE] | [-o OUTFILE] LOGFILE...\n"
    "       kestal-calls --report FILE.pdf [--kind KIND] LOGFILE...\n"
    "       kestal-calls --journal [--since DATE] [--until DATE] [any option above]\n"
    "                    [OUTFILE]   (or --journal-file FILE... or --journal-directory DIR)\n";
constexpr std::string_view kHelp =
    "Writes the call table of a Dial-Up Networking PPP log (ppplog.txt), or the\n"
    "sessions and failed attempts of a Linux pppd log (the system log, journal\n"
    "exports, OpenWrt's logread, pppd's own log file), in the layouts of the\n"
    "viewer's Save Table As, or the lines of one call as the details window\n"
    "shows them.\n"
    "\n"
    "  --kind KIND       auto (the default: told from the log's first 64 KiB),\n"
    "                    dialup or pppd\n"
    "  --format FORMAT   txt (fixed-width), tsv (tab-separated) or csv\n"
    "                    (comma-separated); by default the layout follows the\n"
    "                    OUTFILE name, and standard output gets tsv\n"
    "  --header          write the header names (and, for txt, the ruler) first\n"
    "  --repair          drop NUL bytes from the log and list every call\n";
// After the options that choose and order the calls (ShownCallsOptions.h).
constexpr std::string_view kHelpDetails =
    "  --details TIME    write the lines of the call(s) whose Start Time is TIME\n"
    "                    (\"mm-dd-yyyy hh:mm:ss\"), addresses annotated\n"
    "  --stats           write figures per period instead of the calls: calls,\n"
    "                    online time, mean, median and longest duration, calls\n"
    "                    cut short, layer means, bytes, errors per 1000 frames;\n"
    "                    --from, --to, --errors and --cut-short choose the calls;\n"
    "                    of a pppd log: sessions, failed attempts, drops, online\n"
    "                    time, availability, reconnect time, bytes, how rows\n"
    "                    ended; --from, --to, --dropped and --failed choose them\n"
    "  --by PERIOD       all (the default), day, week (ISO 8601) or month\n"
    "  --outages         write the times a pppd log's link was down, in log\n"
    "                    order: start, end, length, cause, failed attempts\n"
    "  --report FILE.pdf write a pppd log's report for the provider as a PDF:\n"
    "                    its span, charts, statistics by day and outages\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "  -o, --output FILE write to FILE; every operand is then a log\n"
    "\n"
    "  --journal         read pppd's and chat's entries from the systemd journal\n"
    "                    (this machine's, all boots) instead of a LOGFILE\n"
    "  --journal-file FILE  read these journal files (as journalctl --file);\n"
    "                    give it once per file\n"
    "  --journal-directory DIR  read the journal files in DIR\n"
    "  --since DATE, --until DATE  only entries written from DATE on, or\n"
    "                    before DATE: MM-DD-YYYY or YYYY-MM-DD [HH:MM[:SS]],\n"
    "                    local time (a date alone is its midnight)\n"
    "  Reading the journal needs no root, but only members of the group\n"
    "  systemd-journal (or adm, wheel) see pppd's entries.\n"
    "\n"
    "LOGFILE \"-\" reads the log from standard input. Without OUTFILE, or with\n"
    "OUTFILE \"-\", the output goes to standard output. Two operands are LOGFILE\n"
    "and OUTFILE; three or more, or any with --output, are logs read as one\n"
    "(rotated logs: syslog syslog.1 syslog.2.gz), in the order of their first\n"
    "dated line, .gz files decompressed. --errors, --cut-short and --repair are\n"
    "for dial-up logs, --dropped, --failed and --outages for pppd logs.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad usage.\n";

constexpr int kExitOk = 0;
constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

enum class KindChoice { Auto, DialUp, Pppd };

struct Options {
    KindChoice kind = KindChoice::Auto;
    std::optional<ExportLayout> format;
    bool header = false;
    bool repair = false;
    ShownCallsOptions shown;             // which calls, in which order
    std::optional<std::string> details;  // the Start Time asked for
    StatsOptions stats;
    std::vector<std::string> logPaths;
    std::optional<std::string> outPath;     // nothing: standard output
    std::optional<std::string> reportPath;  // --report: a pppd log's report, PDF
    std::optional<JournalSource> journal;   // --journal: read instead of logPaths
    bool help = false;
    bool version = false;
};

std::optional<ExportLayout> layoutNamed(std::string_view name) {
    const std::string lower = toLowerAscii(name);
    if (lower == "txt") return ExportLayout::FixedWidth;
    if (lower == "tsv") return ExportLayout::TabSeparated;
    if (lower == "csv") return ExportLayout::CommaSeparated;
    return std::nullopt;
}

// The value of an option given as "--name value" or "--name=value".
std::string optionValue(std::string_view arg, std::string_view name,
                        const std::vector<std::string_view>& args, std::size_t& index) {
    if (arg.size() > name.size()) return std::string(arg.substr(name.size() + 1));
    if (index + 1 >= args.size())
        throw UsageError{"option '" + std::string(name) + "' needs a value"};
    return std::string(args[++index]);
}

// True when arg is the option name, alone or followed by "=value".
bool isOption(std::string_view arg, std::string_view name) {
    return arg == name || (arg.size() > name.size() && arg.substr(0, name.size()) == name &&
                           arg[name.size()] == '=');
}

// A second operand that is itself a log of the kind rotated logs are (a
// system log with pppd in it, a compressed file) is not written over:
// several logs are read with --output.
void refuseLogAsOutput(const std::string& path) {
    if (path == kStandardStream) return;
    const std::optional<FileStatus> status = pathStatus(path);
    if (!status || !status->regular || status->size == 0) return;
    LogSources second({path});
    if (!second.single() || second.detectKind() == LogKind::Pppd) {
        throw UsageError{"OUTFILE " + path +
                         " is a log: it is not overwritten (several logs are read with "
                         "--output FILE or - for standard output)"};
    }
}

// With the journal read, the only operand is OUTFILE.
void takeJournalOperands(Options& options, std::optional<std::int64_t> since,
                         std::optional<std::int64_t> until,
                         const std::optional<std::string>& output,
                         const std::vector<std::string_view>& operands) {
    if (!options.journal->files.empty() && !options.journal->directory.empty())
        throw UsageError{"--journal-file and --journal-directory don't go together"};
    if (options.kind == KindChoice::DialUp)
        throw UsageError{"the journal holds pppd's entries: no --kind dialup with it"};
    if (operands.size() > 1 || (output && !operands.empty())) {
        throw UsageError{"the journal is the log: only OUTFILE with --journal, not " +
                         std::string(operands.front())};
    }
    options.journal->sinceUsec = since;
    options.journal->untilUsec = until;
    options.kind = KindChoice::Pppd;
    const std::optional<std::string> out = output ? output
                                           : operands.empty()
                                               ? std::nullopt
                                               : std::optional<std::string>(operands[0]);
    if (out && *out != kStandardStream) options.outPath = out;
}

Options parseArguments(const std::vector<std::string_view>& args) {
    Options options;
    std::optional<std::string> output;
    std::optional<std::int64_t> since, until;
    std::vector<std::string_view> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--header") {
            options.header = true;
        } else if (arg == "--repair") {
            options.repair = true;
        } else if (isOption(arg, "--kind")) {
            const std::string value = toLowerAscii(optionValue(arg, "--kind", args, i));
            if (value == "auto") {
                options.kind = KindChoice::Auto;
            } else if (value == "dialup") {
                options.kind = KindChoice::DialUp;
            } else if (value == "pppd") {
                options.kind = KindChoice::Pppd;
            } else {
                throw UsageError{"unknown kind of log '" + value + "' (auto, dialup or pppd)"};
            }
        } else if (arg == "-o" || isOption(arg, "--output")) {
            const std::string value = optionValue(arg, arg == "-o" ? "-o" : "--output", args, i);
            output = value;
        } else if (isOption(arg, "--format")) {
            const std::string value = optionValue(arg, "--format", args, i);
            options.format = layoutNamed(value);
            if (!options.format)
                throw UsageError{"unknown format '" + value + "' (txt, tsv or csv)"};
        } else if (takeStatsOption(args, i, options.stats)) {
        } else if (parseShownCallsOption(args, i, options.shown)) {
        } else if (isOption(arg, "--details")) {
            options.details = optionValue(arg, "--details", args, i);
        } else if (arg == "--journal") {
            if (!options.journal) options.journal.emplace();
        } else if (isOption(arg, "--journal-file")) {
            if (!options.journal) options.journal.emplace();
            options.journal->files.push_back(optionValue(arg, "--journal-file", args, i));
        } else if (isOption(arg, "--journal-directory")) {
            if (!options.journal) options.journal.emplace();
            options.journal->directory = optionValue(arg, "--journal-directory", args, i);
        } else if (isOption(arg, "--since") || isOption(arg, "--until")) {
            const std::string_view name = arg.substr(0, 7);
            const std::string value = optionValue(arg, name, args, i);
            const std::optional<std::int64_t> time = readJournalTime(value);
            if (!time) {
                throw UsageError{"option '" + std::string(name) + "': '" + value +
                                 "' is no date MM-DD-YYYY or YYYY-MM-DD [HH:MM[:SS]]"};
            }
            (name == "--since" ? since : until) = time;
        } else if (isOption(arg, "--report")) {
            options.reportPath = optionValue(arg, "--report", args, i);
        } else {
            throw UsageError{"unknown option '" + std::string(arg) + "'"};
        }
    }
    if (options.help || options.version) return options;
    if (options.details && (options.format || options.header)) {
        throw UsageError{"--details writes lines, not a table: no --format or --header with it"};
    }
    if (options.details && (options.stats.wanted || options.stats.by))
        throw UsageError{"--details and --stats don't go together"};
    if (options.details && options.shown.given()) {
        throw UsageError{"--details writes one call's lines: no --sort or filter with it"};
    }
    if (options.stats.outages && (options.stats.wanted || options.stats.by || options.details))
        throw UsageError{"--outages goes alone: no --stats, --by or --details with it"};
    if (options.stats.outages && options.shown.given())
        throw UsageError{"--outages lists the whole log's gaps: no --sort or filter with it"};
    if ((options.stats.wanted || options.stats.by) && !options.shown.sortName.empty())
        throw UsageError{"--stats sums up the calls whatever their order: no --sort with it"};
    if (options.reportPath &&
        (options.details || options.stats.wanted || options.stats.by || options.stats.outages ||
         options.shown.given() || options.format || options.header || output || options.repair))
        throw UsageError{"--report FILE.pdf goes alone: only --kind and the logs with it"};
    if (options.journal) {
        takeJournalOperands(options, since, until, output, operands);
        return options;
    }
    if (since || until)
        throw UsageError{"--since and --until choose the journal's entries: give --journal"};
    if (operands.empty()) throw UsageError{"no LOGFILE given"};
    if (options.reportPath) {
        options.logPaths.assign(operands.begin(), operands.end());
    } else if (output || operands.size() != 2) {
        options.logPaths.assign(operands.begin(), operands.end());
        if (output && *output != "-") options.outPath = output;
    } else {
        options.logPaths = {std::string(operands[0])};
        if (operands[1] != "-") {
            options.outPath = std::string(operands[1]);
            refuseLogAsOutput(*options.outPath);
        }
    }
    return options;
}

ExportLayout chooseLayout(const Options& options) {
    if (options.format) return *options.format;
    if (!options.outPath) return ExportLayout::TabSeparated;
    if (const std::optional<ExportLayout> layout = layoutForPath(*options.outPath)) return *layout;
    throw UsageError{std::string(kNoLayoutWarning) + " (or give --format)"};
}

// Writing the output over the log would lose the log: an easy slip with
// names like ppplog.txt, which also asks for the fixed-width layout.
void refuseOutputOverLog(const Options& options) {
    if (!options.outPath) return;
    const std::optional<FileStatus> out = pathStatus(*options.outPath);
    for (const std::string& logPath : options.logPaths) {
        if (logPath == kStandardStream) continue;
        const std::optional<FileStatus> log = pathStatus(logPath);
        if (!log || !out) continue;
        if (log->sameFileAs(*out) && out->regular) {
            throw UsageError{"OUTFILE " + *options.outPath +
                             " is LOGFILE itself: it is not overwritten"};
        }
    }
}

// The logs opened, their kind known: one plain file read as it is, else
// the joined stream; or the journal's pppd entries.
struct OpenedLog {
    std::optional<LogSources> sources;
    std::optional<JournalInput> journal;
    LogKind kind = LogKind::Pppd;
    std::optional<LogInput> log;
    LogInput& input;

    explicit OpenedLog(const Options& options) : input(open(options)) {}

    LogInput& open(const Options& options) {
        if (options.journal) {
            journal.emplace(*options.journal);
            return log.emplace(journal->pipe(), "the journal");
        }
        sources.emplace(options.logPaths);
        kind = kindOf(options, *sources);
        if (sources->single()) return log.emplace(sources->firstPath());
        return log.emplace(sources->pipe(), logName(sources->firstPath()),
                           sources->expectedBytes());
    }
    void finish() {
        if (sources) sources->finish();
        if (journal) journal->finish();
    }
    // The time that gives years to dates printed without one: the journal
    // prints them all.
    std::int64_t newestModified() const {
        if (sources) return sources->newestModified();
        return std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
    std::string firstPath() const { return sources ? sources->firstPath() : "journal"; }

    static LogKind kindOf(const Options& options, LogSources& sources) {
        if (options.kind == KindChoice::DialUp) return LogKind::DialUp;
        if (options.kind == KindChoice::Pppd) return LogKind::Pppd;
        return sources.detectKind();
    }
};

// The options one kind of log has and the other hasn't.
void refuseOptionsOfOtherKind(const Options& options, LogKind kind) {
    const ShownCallsOptions& shown = options.shown;
    if (kind == LogKind::Pppd) {
        if (shown.filter.withErrors || shown.filter.cutShort)
            throw UsageError{
                "--errors and --cut-short are for dial-up logs: this is a pppd log "
                "(--dropped and --failed choose its rows)"};
        if (options.repair)
            throw UsageError{"--repair mends dial-up logs only: this is a pppd log"};
    } else if (options.stats.outages) {
        throw UsageError{"--outages is for pppd logs: this is a dial-up log"};
    } else if (shown.dropped || shown.failed) {
        throw UsageError{
            "--dropped and --failed are for pppd logs: this is a dial-up log "
            "(--errors and --cut-short choose its calls)"};
    }
}

// The NUL check of the viewer: a log whose text a NUL byte ended before the
// file's end is read up to that NUL, as when the viewer's question is
// answered No, and the user is told once the log is read whole. With repair
// the NUL bytes are left out and every call is listed; leaving out NUL bytes
// from a log that has none changes nothing, so the repair needs no check of
// its own.
void tellSizeCheck(const LogInput& log, bool repair, bool passed) {
    if (!repair && !passed) report(log.name(), kSomeCallsNotListed);
}

void reportCorrupt(const LogInput& log, std::string_view start) {
    report(log.name(), "call \"" + std::string(start) + "\": " + std::string(kCorruptLogWarning));
}

// The log is read a piece at a time and each row written as soon as its
// call ends: nothing is kept of the log but the call at hand.
void writeCallTable(Options options) {
    refuseOutputOverLog(options);
    const ExportLayout layout = chooseLayout(options);
    OpenedLog opened(options);
    refuseOptionsOfOtherKind(options, opened.kind);
    LogInput& log = opened.input;
    if (opened.kind == LogKind::Pppd) {
        resolveSort(options.shown, kPppdColumns);
        Output output(options.outPath);
        writePppdTable(log, opened.newestModified(), options.shown, layout, options.header, output);
        opened.finish();
        output.close();
        return;
    }
    resolveSort(options.shown, kDialUpColumns);
    Output output(options.outPath);
    TableLineWriter table(layout, options.header,
                          [&output](std::string_view line) { output.writeLine(line); });
    const RegionalSettings settings = localeRegionalSettings();
    ShownCallsWriter shown(options.shown, table);
    bool passed = false;
    if (shown.linesAsCallsCome()) {
        // Each line is made by the thread that walked its call and written
        // here, a chunk at a time, in the order of the log.
        const ChunkRows lines{
            [&shown](const CallRow& row, std::string& text) { shown.appendLine(row, text); },
            [&](const WalkedChunk& chunk) {
                for (const std::string& start : chunk.corruptStarts) reportCorrupt(log, start);
                shown.tookCalls(chunk.calls);
                output.write(chunk.text);
            },
            options.shown.filter.active()};
        passed = log.readCalls(options.repair, settings, lines);
    } else {
        passed = log.readCalls(options.repair, settings, [&](const CallRow& row) {
            if (row.corrupt) reportCorrupt(log, row.cells[0]);
            shown.write(row);
        });
    }
    tellSizeCheck(log, options.repair, passed);
    shown.finish();
    opened.finish();
    output.close();
}

// The figures are summed up as the calls stream past, those the filter
// leaves out skipped; only the durations are kept, for the medians.
void writeStatistics(const Options& options) {
    refuseOutputOverLog(options);
    const StatisticsLayout layout =
        statisticsLayout(options.stats, options.format, options.outPath);
    OpenedLog opened(options);
    refuseOptionsOfOtherKind(options, opened.kind);
    LogInput& log = opened.input;
    Output output(options.outPath);
    if (opened.kind == LogKind::Pppd) {
        writePppdFigures(log, opened.newestModified(), options.stats, options.shown, layout,
                         options.header, output);
        opened.finish();
        output.close();
        return;
    }
    const RegionalSettings settings = localeRegionalSettings();
    StatisticsSink statistics(options.stats, options.shown.filter);
    const CallRowSink addRow = [&](const CallRow& row) {
        if (row.corrupt) reportCorrupt(log, row.cells[0]);
        statistics.add(row);
    };
    tellSizeCheck(log, options.repair, log.readCalls(options.repair, settings, addRow));
    opened.finish();
    statistics.write(layout, options.header,
                     [&output](std::string_view line) { output.writeLine(line); });
    output.close();
}

// The report is drawn by the window's charts, on no screen: Qt's offscreen
// platform, whatever the desktop.
void writeReport(const Options& options) {
#ifndef KESTAL_REPORT
    throw UsageError{"--report needs the windowed program's charts, not built here"};
#else
    OpenedLog opened(options);
    if (opened.kind != LogKind::Pppd)
        throw UsageError{"--report is for pppd logs: this is a dial-up log"};
    const PppdLog read = readWholePppdLog(opened.input, opened.newestModified());
    opened.finish();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "kestal-calls";
    char* argv[] = {name, nullptr};
    const QApplication application(argc, argv);
    const std::string logName = std::filesystem::path(opened.firstPath()).filename().string();
    try {
        writePppdReport(pppdReportContent(logName, read.table, read.span), *options.reportPath);
    } catch (const CommandError& error) {
        throw FileError{*options.reportPath, error.what()};
    }
#endif
}

void writeCallDetails(const Options& options) {
    refuseOutputOverLog(options);
    OpenedLog opened(options);
    refuseOptionsOfOtherKind(options, opened.kind);
    LogInput& log = opened.input;
    Output output(options.outPath);
    if (opened.kind == LogKind::Pppd) {
        writePppdDetails(log, opened.newestModified(), *options.details, output);
        opened.finish();
        output.close();
        return;
    }
    const bool passed = log.read({.dropNulBytes = options.repair}, [&](LineStream& lines) {
        streamCallDetails(
            lines, *options.details,
            [&log](std::string_view warning) { report(log.name(), warning); },
            [&output](std::string&& line) { output.writeLine(line); });
    });
    tellSizeCheck(log, options.repair, passed);
    opened.finish();
    output.close();
}

int run(const std::vector<std::string_view>& args) {
    try {
        const Options options = parseArguments(args);
        if (options.help) {
            writeOut(std::string(kUsage) + "\n" + std::string(kHelp) +
                     std::string(kShownCallsHelp) + std::string(kHelpDetails));
            return kExitOk;
        }
        if (options.version) {
            writeOut(kVersionText);
            return kExitOk;
        }
        if (options.reportPath) {
            writeReport(options);
        } else if (options.details) {
            writeCallDetails(options);
        } else if (options.stats.wanted || options.stats.by || options.stats.outages) {
            writeStatistics(options);
        } else {
            writeCallTable(options);
        }
        return kExitOk;
    } catch (const UsageError& error) {
        report({}, error.message);
        writeErr(kUsage);
        return kExitUsage;
    } catch (const FileError& error) {
        report(error.file, error.reason);
        return kExitFileError;
    } catch (const std::bad_alloc&) {
        report({}, "out of memory");
        return kExitFileError;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return run(args);
}
