// kestal-calls: the call table of a Dial-Up Networking PPP log, or the lines
// of one call, without a window. It is made of the viewer's own log, details
// and export code, so its output is the viewer's to the byte.

#include <clocale>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ShownCallsOptions.h"
#include "StatsOption.h"
#include "ToolFiles.h"
#include "ToolMessages.h"
#include "calls/CallScan.h"
#include "commands/Messages.h"
#include "details/CallDetailsStream.h"
#include "output/TableExport.h"
#include "output/TableLines.h"
#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"

namespace {

using namespace kestal;
using namespace kestal::tool;

constexpr std::string_view kVersionText = "kestal-calls " KESTAL_VERSION "\n";
constexpr std::string_view kUsage =
    "Usage: kestal-calls [--format txt|tsv|csv] [--header] [--repair] [--sort NAME[:desc]]\n"
    "                    [--from DATE] [--to DATE] [--errors] [--cut-short] LOGFILE [OUTFILE]\n"
    "       kestal-calls --details \"START TIME\" [--repair] LOGFILE [OUTFILE]\n"
    "       kestal-calls --stats [--by all|day|week|month] [--format tsv|csv] [--header]\n"
    "                    [--repair] [--from DATE] [--to DATE] [--errors] [--cut-short]\n"
    "                    LOGFILE [OUTFILE]\n";
constexpr std::string_view kHelp =
    "Writes the call table of a Dial-Up Networking PPP log (ppplog.txt) in the\n"
    "layouts of the viewer's Save Table As, or the lines of one call as the\n"
    "details window shows them.\n"
    "\n"
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
    "                    --from, --to, --errors and --cut-short choose the calls\n"
    "  --by PERIOD       all (the default), day, week (ISO 8601) or month\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "LOGFILE \"-\" reads the log from standard input. Without OUTFILE, or with\n"
    "OUTFILE \"-\", the output goes to standard output.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad usage.\n";

constexpr int kExitOk = 0;
constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

struct Options {
    std::optional<ExportLayout> format;
    bool header = false;
    bool repair = false;
    ShownCallsOptions shown;             // which calls, in which order
    std::optional<std::string> details;  // the Start Time asked for
    StatsOptions stats;
    std::string logPath;
    std::optional<std::string> outPath;  // nothing: standard output
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

Options parseArguments(const std::vector<std::string_view>& args) {
    Options options;
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
        } else if (isOption(arg, "--format")) {
            const std::string value = optionValue(arg, "--format", args, i);
            options.format = layoutNamed(value);
            if (!options.format)
                throw UsageError{"unknown format '" + value + "' (txt, tsv or csv)"};
        } else if (takeStatsOption(args, i, options.stats)) {
        } else if (parseShownCallsOption(args, i, options.shown)) {
        } else if (isOption(arg, "--details")) {
            options.details = optionValue(arg, "--details", args, i);
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
    if ((options.stats.wanted || options.stats.by) && options.shown.sort)
        throw UsageError{"--stats sums up the calls whatever their order: no --sort with it"};
    if (operands.empty()) throw UsageError{"no LOGFILE given"};
    if (operands.size() > 2) throw UsageError{"too many arguments"};
    options.logPath = operands[0];
    if (operands.size() == 2 && operands[1] != "-") options.outPath = std::string(operands[1]);
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
    if (!options.outPath || options.logPath == kStandardStream) return;
    const std::optional<FileStatus> log = pathStatus(options.logPath);
    const std::optional<FileStatus> out = pathStatus(*options.outPath);
    if (!log || !out) return;
    if (log->sameFileAs(*out) && out->regular) {
        throw UsageError{"OUTFILE " + *options.outPath +
                         " is LOGFILE itself: it is not overwritten"};
    }
}

// The size check of the viewer: a log that fails it is read up to its first
// NUL byte, as when the viewer's question is answered No, and the user is
// told once the log is read whole. With repair the NUL bytes are left out
// and every call is listed; leaving out NUL bytes from a log that has none
// changes nothing, so the repair needs no size check of its own.
void tellSizeCheck(const LogInput& log, bool repair, bool passed) {
    if (!repair && !passed) report(log.name(), kSomeCallsNotListed);
}

void reportCorrupt(const LogInput& log, std::string_view start) {
    report(log.name(), "call \"" + std::string(start) + "\": " + std::string(kCorruptLogWarning));
}

// The log is read a piece at a time and each row written as soon as its
// call ends: nothing is kept of the log but the call at hand.
void writeCallTable(const Options& options) {
    refuseOutputOverLog(options);
    const ExportLayout layout = chooseLayout(options);
    LogInput log(options.logPath);
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
    output.close();
}

// The figures are summed up as the calls stream past, those the filter
// leaves out skipped; only the durations are kept, for the medians.
void writeStatistics(const Options& options) {
    refuseOutputOverLog(options);
    const StatisticsLayout layout =
        statisticsLayout(options.stats, options.format, options.outPath);
    LogInput log(options.logPath);
    Output output(options.outPath);
    const RegionalSettings settings = localeRegionalSettings();
    StatisticsSink statistics(options.stats, options.shown.filter);
    const CallRowSink addRow = [&](const CallRow& row) {
        if (row.corrupt) reportCorrupt(log, row.cells[0]);
        statistics.add(row);
    };
    tellSizeCheck(log, options.repair, log.readCalls(options.repair, settings, addRow));
    statistics.write(layout, options.header,
                     [&output](std::string_view line) { output.writeLine(line); });
    output.close();
}

void writeCallDetails(const Options& options) {
    refuseOutputOverLog(options);
    LogInput log(options.logPath);
    Output output(options.outPath);
    const bool passed = log.read(options.repair, [&](LineStream& lines) {
        streamCallDetails(
            lines, *options.details,
            [&log](std::string_view warning) { report(log.name(), warning); },
            [&output](std::string&& line) { output.writeLine(line); });
    });
    tellSizeCheck(log, options.repair, passed);
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
        if (options.details) {
            writeCallDetails(options);
        } else if (options.stats.wanted || options.stats.by) {
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
