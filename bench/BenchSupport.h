// What every benchmark shares: its start (the command line, and for the
// windows' benchmarks the application), a clock, the best of a few runs, a
// reference command timed in the same run, and one way of printing a figure.
#pragma once

#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#endif

namespace kestal::bench {

// A benchmark's command line: the log to time, "--runs N" (3 unless given)
// and the benchmark's own options, each "--name VALUE" or a lone "--flag".
// Anything else prints the usage line and ends the program with 2.
class BenchArguments {
public:
    BenchArguments(int argc, char** argv, std::string usage,
                   std::vector<std::string_view> valueOptions = {},
                   std::vector<std::string_view> flagOptions = {})
        : usage_(std::move(usage)) {
        for (int i = 1; i < argc; ++i) {
            const std::string_view arg = argv[i];
            const auto named = [&arg](const std::vector<std::string_view>& names) {
                return std::find(names.begin(), names.end(), arg) != names.end();
            };
            if (arg == "--runs" && i + 1 < argc)
                runs_ = std::max(1, std::atoi(argv[++i]));
            else if (named(valueOptions) && i + 1 < argc)
                values_.emplace_back(std::string(arg), argv[++i]);
            else if (named(flagOptions))
                flags_.emplace_back(arg);
            else if (log_.empty() && !arg.empty() && arg[0] != '-')
                log_ = std::string(arg);
            else
                failWithUsage();
        }
    }

    // Empty when none was given.
    const std::string& log() const { return log_; }
    // The log, which must be there.
    const std::string& requiredLog() const {
        if (log_.empty()) failWithUsage();
        return log_;
    }
    int runs() const { return runs_; }
    std::optional<std::string> value(std::string_view name) const {
        for (const auto& [option, value] : values_)
            if (option == name) return value;
        return std::nullopt;
    }
    bool flag(std::string_view name) const {
        return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
    }

    [[noreturn]] void failWithUsage() const {
        std::fprintf(stderr, "usage: %s\n", usage_.c_str());
        std::exit(2);
    }

private:
    std::string usage_;
    std::string log_;
    int runs_ = 3;
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
};

#ifdef QT_WIDGETS_LIB
// The application of a benchmark of the windows: offscreen unless a
// platform is named, the regional settings from the locale as the program
// takes them, and none of the benchmark's arguments read by Qt.
class BenchApplication {
public:
    explicit BenchApplication(char** argv) : application_(prepare(argc_), argv) {
        // The windows start as on a first run, whatever the user's own
        // settings keep (a sort, hidden columns), and keep nothing of theirs.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
    }

private:
    static int& prepare(int& argc) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        std::setlocale(LC_ALL, "");
        return argc;
    }

    int argc_ = 1;
    QTemporaryDir settings_;
    QApplication application_;
};

// The child of a window with this object name, as the tests find it; the
// benchmark ends when there is none.
template <typename T>
T& childOf(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        std::fprintf(stderr, "no widget named %s\n", name);
        std::exit(1);
    }
    return *found;
}
#endif

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Elapsed time and processor time (user + system) of one piece of work.
// On a machine that others share, the processor time is the steadier
// figure: it leaves out the time spent waiting for a core.
struct Timing {
    double wall = std::numeric_limits<double>::infinity();
    double cpu = std::numeric_limits<double>::infinity();
};

inline double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The most memory this process has held at once so far.
inline long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The resident size now, from /proc (0 where there is none).
inline long residentKiB() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return 0;
    long kib = 0;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1) break;
    std::fclose(status);
    return kib;
}

inline double childrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& tv) {
        return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The best of runs timings of body (each figure on its own): the page cache
// is warm after the first, and the shortest run is the one least disturbed
// by the rest of the machine.
inline Timing bestOf(int runs, const std::function<void()>& body,
                     double (*cpuClock)() = processCpuSeconds) {
    Timing best;
    for (int i = 0; i < std::max(runs, 1); ++i) {
        const double cpuStart = cpuClock();
        const auto start = Clock::now();
        body();
        best.wall = std::min(best.wall, secondsSince(start));
        best.cpu = std::min(best.cpu, cpuClock() - cpuStart);
    }
    return best;
}

// A shell command timed the same way (its output belongs in the command).
inline Timing bestOfCommand(int runs, const std::string& command) {
    return bestOf(
        runs,
        [&command] {
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "reference command failed: %s\n", command.c_str());
                std::exit(1);
            }
        },
        childrenCpuSeconds);
}

// The time of a reference command less that of starting a shell that does
// nothing, which would otherwise flatter the small logs.
inline Timing referenceCommand(int runs, const std::string& command) {
    const Timing whole = bestOfCommand(runs, command);
    const Timing start = bestOfCommand(std::max(runs, 5), "true");
    return {std::max(whole.wall - start.wall, whole.wall / 2),
            std::max(whole.cpu - start.cpu, whole.cpu / 2)};
}

// Single quotes for the shell.
inline std::string shellQuoted(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

inline std::uint64_t fileSize(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    return static_cast<std::uint64_t>(st.st_size);
}

// Megabytes of 10^6 bytes per second.
inline double megabytesPerSecond(std::uint64_t bytes, double seconds) {
    return seconds > 0 ? static_cast<double>(bytes) / 1e6 / seconds : 0;
}

inline void printHeading() {
    std::printf("%-30s %9s %9s %9s %8s %8s  %s\n", "benchmark", "seconds", "cpu s", "MB/s", "ratio",
                "cpu rat.", "against");
}

// One line of figures: name, time, throughput over bytes, and the ratios to
// the reference's times (none without a reference).
inline void printFigure(std::string_view name, Timing timing, std::uint64_t bytes,
                        Timing reference = {}, std::string_view referenceName = {}) {
    std::printf("%-30.*s %9.3f %9.3f %9.1f", static_cast<int>(name.size()), name.data(),
                timing.wall, timing.cpu, megabytesPerSecond(bytes, timing.wall));
    if (reference.wall > 0 && reference.wall < std::numeric_limits<double>::infinity())
        std::printf(" %7.2fx %7.2fx  %.*s", timing.wall / reference.wall,
                    timing.cpu / reference.cpu, static_cast<int>(referenceName.size()),
                    referenceName.data());
    std::printf("\n");
    std::fflush(stdout);
}

// A scratch Windows directory whose ppplog.txt is the log to time (a link,
// so a large log isn't copied).
class WindowsFolder {
public:
    explicit WindowsFolder(const std::string& log) {
        char name[] = "/tmp/kestal-window-bench-XXXXXX";
        if (!::mkdtemp(name)) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        path_ = name;
        std::filesystem::create_symlink(std::filesystem::absolute(log), path_ / "ppplog.txt");
    }
    ~WindowsFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    WindowsFolder(const WindowsFolder&) = delete;
    WindowsFolder& operator=(const WindowsFolder&) = delete;
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

}  // namespace kestal::bench
