// kestal-calls: the call table of a Dial-Up Networking PPP log, or the lines
// of one call, without a window. It is made of the viewer's own log, details
// and export code, so its output is the viewer's to the byte.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "details/CallDetails.h"
#include "log/CallScan.h"
#include "log/CallTable.h"
#include "log/LogLines.h"
#include "log/LogLoader.h"
#include "output/TableExport.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "platform/TextFile.h"

namespace {

using namespace kestal;

constexpr std::string_view kProgramName = "kestal-calls";
constexpr std::string_view kVersionText = "kestal-calls " KESTAL_VERSION "\n";
constexpr std::string_view kUsage =
    "Usage: kestal-calls [--format txt|tsv|csv] [--header] [--repair] LOGFILE [OUTFILE]\n"
    "       kestal-calls --details \"START TIME\" [--repair] LOGFILE [OUTFILE]\n";
constexpr std::string_view kHelp =
    "Writes the call table of a Dial-Up Networking PPP log (ppplog.txt) in the\n"
    "layouts of the viewer's Save Table As, or the lines of one call as the\n"
    "details window shows them.\n"
    "\n"
    "  --format FORMAT   txt (fixed-width), tsv (tab-separated) or csv\n"
    "                    (comma-separated); by default the layout follows the\n"
    "                    OUTFILE name, and standard output gets tsv\n"
    "  --header          write the header names (and, for txt, the ruler) first\n"
    "  --repair          drop NUL bytes from the log and list every call\n"
    "  --details TIME    write the lines of the call(s) whose Start Time is TIME\n"
    "                    (\"mm-dd-yyyy hh:mm:ss\"), addresses annotated\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "LOGFILE \"-\" reads the log from standard input. Without OUTFILE, or with\n"
    "OUTFILE \"-\", the output goes to standard output.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad usage.\n";

// A log this big shows a progress bar while it loads, when standard error
// is a terminal.
constexpr std::uint64_t kProgressThreshold = std::uint64_t{64} << 20;

// The operand that stands for standard input (LOGFILE) or output (OUTFILE).
constexpr std::string_view kStandardInput = "-";

constexpr int kExitOk = 0;
constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

// Arguments that make no sense together or can't be read.
struct UsageError {
    std::string message;
};

// A file that can't be read or written, with the reason.
struct FileError {
    std::string file;
    std::string reason;
};

struct Options {
    std::optional<ExportLayout> format;
    bool header = false;
    bool repair = false;
    std::optional<std::string> details;  // the Start Time asked for
    std::string logPath;
    std::optional<std::string> outPath;  // nothing: standard output
    bool help = false;
    bool version = false;
};

void writeErr(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

void writeOut(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

// "kestal-calls: <subject>: <message>" on standard error.
void report(std::string_view subject, std::string_view message) {
    std::string line(kProgramName);
    line += ": ";
    if (!subject.empty()) {
        line += subject;
        line += ": ";
    }
    line += message;
    line += '\n';
    writeErr(line);
}

std::optional<ExportLayout> layoutNamed(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
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
    if (operands.empty()) throw UsageError{"no LOGFILE given"};
    if (operands.size() > 2) throw UsageError{"too many arguments"};
    options.logPath = operands[0];
    if (operands.size() == 2 && operands[1] != "-") options.outPath = std::string(operands[1]);
    return options;
}

// A bar on standard error that follows the reading of a big log.
class ProgressBar {
public:
    // Only the file's name, without its folders, so that the bar fits a
    // line.
    explicit ProgressBar(std::string_view path) : name_(path.substr(path.rfind('/') + 1)) {}
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    ~ProgressBar() { finish(); }

    void update(std::uint64_t done, std::uint64_t size) {
        if (size < done) size = done;
        const int percent = size == 0 ? 100 : static_cast<int>(done * 100 / size);
        if (percent == shown_) return;
        shown_ = percent;
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        std::string line = "\rLoading " + name_ + " [";
        line.append(static_cast<std::size_t>(filled), '#');
        line.append(static_cast<std::size_t>(kWidth - filled), ' ');
        line += "] " + std::to_string(percent) + "%";
        width_ = line.size() - 1;
        writeErr(line);
    }

    // Wipes the bar, so that later messages start on a clean line.
    void finish() {
        if (width_ == 0) return;
        writeErr("\r" + std::string(width_, ' ') + "\r");
        width_ = 0;
    }

private:
    std::string name_;
    int shown_ = -1;
    std::size_t width_ = 0;
};

// How messages name the log.
std::string logName(const std::string& path) {
    return path == kStandardInput ? std::string("standard input") : path;
}

// Closes a descriptor however the reading ends (standard input stays open).
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ != STDIN_FILENO) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

private:
    int fd_;
};

// The log ("-": standard input), open and checked. It is opened here rather
// than by name in the library so that a missing or unreadable file is
// reported with the system's reason.
struct OpenLog {
    int fd;
    bool showProgress;  // a big file, read with a progress bar
};

OpenLog openLog(const std::string& path) {
    const int fd = path == kStandardInput ? STDIN_FILENO
                                          : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw FileError{logName(path), std::strerror(errno)};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        if (fd != STDIN_FILENO) ::close(fd);
        throw FileError{logName(path), std::strerror(error)};
    }
    // A device such as /dev/zero would be read until memory runs out; a log
    // named on the command line is a file or a pipe.
    if (fd != STDIN_FILENO && !S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        ::close(fd);
        throw FileError{logName(path), "Not a regular file"};
    }
    const bool showProgress = S_ISREG(info.st_mode) &&
                              static_cast<std::uint64_t>(info.st_size) > kProgressThreshold &&
                              ::isatty(STDERR_FILENO);
    return {fd, showProgress};
}

// The whole log as bytes.
std::string readLogBytes(const std::string& path, const OpenLog& log) {
    try {
        if (!log.showProgress) return readDescriptorBytes(log.fd, path);
        ProgressBar bar(path);
        return readDescriptorBytes(
            log.fd, path,
            [&bar](std::uint64_t done, std::uint64_t expected) { bar.update(done, expected); });
    } catch (const CommandError& error) {
        throw FileError{logName(path), error.what()};
    }
}

std::string readLog(const std::string& path) {
    const OpenLog log = openLog(path);
    const Descriptor closer(log.fd);
    return readLogBytes(path, log);
}

// The whole log cut into lines; returns how many bytes were read. Without
// the progress bar the lines are cut while the bytes just read are still in
// the cache, which spares a pass over a big log.
std::uint64_t readLogLines(const std::string& path, LogLines& lines) {
    const OpenLog log = openLog(path);
    const Descriptor closer(log.fd);
    if (log.showProgress) {
        std::string bytes = readLogBytes(path, log);
        const std::uint64_t size = bytes.size();
        lines.assign(std::move(bytes));
        return size;
    }
    try {
        lines.assignFrom(log.fd, path);
    } catch (const CommandError& error) {
        throw FileError{logName(path), error.what()};
    }
    return lines.byteCount();
}

// Reads the log into lines. A log that fails the size check is read up to
// its first NUL byte, as when the viewer's question is answered No, unless
// repair is asked for: the NUL bytes are then left out and every call is
// listed. Leaving out NUL bytes from a log that has none changes nothing,
// so the repair needs no size check of its own.
LogLines loadLog(const std::string& path, bool repair) {
    LogLines lines;
    if (repair) {
        std::string bytes = readLog(path);
        if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr)
            bytes = withoutNulBytes(bytes);
        lines.assign(std::move(bytes));
        return lines;
    }
    const std::uint64_t fileSize = readLogLines(path, lines);
    if (lines.joinedLength() != fileSize) report(logName(path), kSomeCallsNotListed);
    return lines;
}

// Where the output goes: OUTFILE, created or emptied, or standard output.
class Output {
public:
    explicit Output(const std::optional<std::string>& path)
        : name_(path ? *path : std::string("standard output")) {
        try {
            if (path) {
                writer_.create(*path);
            } else {
                writer_.attach(STDOUT_FILENO, name_);
            }
        } catch (const CommandError& error) {
            throw FileError{name_, error.what()};
        }
    }

    template <typename Write>
    void write(const Write& write) {
        try {
            write(writer_);
            writer_.close();
        } catch (const CommandError& error) {
            throw FileError{name_, error.what()};
        }
    }

private:
    std::string name_;
    TextFileWriter writer_;
};

ExportLayout chooseLayout(const Options& options) {
    if (options.format) return *options.format;
    if (!options.outPath) return ExportLayout::TabSeparated;
    if (const std::optional<ExportLayout> layout = layoutForPath(*options.outPath)) return *layout;
    throw UsageError{std::string(kNoLayoutWarning) + " (or give --format)"};
}

// Writing the output over the log would lose the log: an easy slip with
// names like ppplog.txt, which also asks for the fixed-width layout.
void refuseOutputOverLog(const Options& options) {
    if (!options.outPath || options.logPath == kStandardInput) return;
    struct stat log {};
    struct stat out {};
    if (::stat(options.logPath.c_str(), &log) != 0 || ::stat(options.outPath->c_str(), &out) != 0) {
        return;
    }
    if (log.st_dev == out.st_dev && log.st_ino == out.st_ino && S_ISREG(out.st_mode)) {
        throw UsageError{"OUTFILE " + *options.outPath +
                         " is LOGFILE itself: it is not overwritten"};
    }
}

void writeCallTable(const Options& options) {
    refuseOutputOverLog(options);
    const ExportLayout layout = chooseLayout(options);
    const LogLines lines = loadLog(options.logPath, options.repair);
    CallTable table;
    const std::string logPath = logName(options.logPath);
    scanCalls(lines, table, localeRegionalSettings(), [&logPath](std::string_view startText) {
        report(logPath,
               "call \"" + std::string(startText) + "\": " + std::string(kCorruptLogWarning));
    });
    Output output(options.outPath);
    output.write([&](TextFileWriter& out) { writeTable(out, table, layout, options.header); });
}

void writeCallDetails(const Options& options) {
    refuseOutputOverLog(options);
    const LogLines lines = loadLog(options.logPath, options.repair);
    const std::string logPath = logName(options.logPath);
    const std::vector<std::string> details =
        gatherCallDetails(lines, *options.details,
                          [&logPath](std::string_view warning) { report(logPath, warning); });
    Output output(options.outPath);
    output.write([&details](TextFileWriter& out) {
        for (const std::string& line : details) out.writeLine(line);
    });
}

int run(const std::vector<std::string_view>& args) {
    try {
        const Options options = parseArguments(args);
        if (options.help) {
            writeOut(std::string(kUsage) + "\n" + std::string(kHelp));
            return kExitOk;
        }
        if (options.version) {
            writeOut(kVersionText);
            return kExitOk;
        }
        if (options.details) {
            writeCallDetails(options);
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
