// kestal-calls on a system log with pppd in it, against wc -l on the same
// file: one plain log, and the same log as rotated files (the oldest
// compressed) read as one. Prints the times, their ratio to wc -l and the
// peak memory of each run; asserts nothing.
//
//   pppd_bench LOGFILE [--runs N]
//
// LOGFILE is best made by make_log SIZE LOGFILE --kind pppd (pppd's lines a
// fifth of the bytes, other programs' the rest).
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "BenchSupport.h"

namespace {

using namespace kestal::bench;

// The peak resident memory of a command run once, from the kernel's count
// of its children.
long peakOfCommandKiB(const std::string& command) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: pppd_bench LOGFILE [--runs N]\n", stderr);
        return 2;
    }
    const std::string log = argv[1];
    int runs = 3;
    for (int i = 2; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::atoi(argv[++i]);
    const std::string tool = KESTAL_CALLS;
    const std::uint64_t bytes = fileSize(log);

    const std::string warm = "cat " + shellQuoted(log) + " > /dev/null";
    std::system(warm.c_str());
    printHeading();
    const Timing wc = referenceCommand(runs, "wc -l " + shellQuoted(log) + " > /dev/null");
    printFigure("wc -l", wc, bytes);
    const std::string plain =
        shellQuoted(tool) + " --kind pppd --format tsv " + shellQuoted(log) + " > /dev/null";
    printFigure("kestal-calls, one file", bestOfCommand(runs, plain), bytes, wc, "wc -l");
    const std::string detected = shellQuoted(tool) + " " + shellQuoted(log) + " > /dev/null";
    printFigure("kestal-calls, kind found", bestOfCommand(runs, detected), bytes, wc, "wc -l");

    // The same log as syslog.2.gz, syslog.1 and syslog, given newest first.
    const std::string folder = log + ".rotated";
    const std::string split = "rm -rf " + shellQuoted(folder) + " && mkdir " + shellQuoted(folder) +
                              " && cd " + shellQuoted(folder) + " && split -n l/3 -d " +
                              shellQuoted(log) + " part && gzip -1 part00 && mv part00.gz " +
                              "syslog.2.gz && mv part01 syslog.1 && mv part02 syslog";
    if (std::system(split.c_str()) != 0) return 1;
    const std::string rotated = shellQuoted(tool) + " --format tsv -o - " + folder + "/syslog " +
                                folder + "/syslog.1 " + folder + "/syslog.2.gz";
    printFigure("kestal-calls, rotated + .gz", bestOfCommand(runs, rotated + " > /dev/null"), bytes,
                wc, "wc -l");

    std::printf("peak memory: one file %.1f MiB, rotated %.1f MiB, file size %.1f MiB\n",
                peakOfCommandKiB(plain) / 1024.0,
                peakOfCommandKiB(rotated + " > /dev/null") / 1024.0,
                static_cast<double>(bytes) / (1 << 20));
    const std::string clean = "rm -rf " + shellQuoted(folder);
    std::system(clean.c_str());
    return 0;
}
