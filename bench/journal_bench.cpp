// kestal-calls --journal-file on journal files holding 100,000 pppd
// sessions (a few million entries, other programs' among them), against
// journalctl -o json --file ... _COMM=pppd > /dev/null on the same files.
// Prints both times and their ratio; asserts nothing.
//
//   journal_bench [--dir DIR] [--sessions N] [--runs N]
//
// The files are made once into DIR/files (default /work/bench-data/journal,
// outside the repository) and kept: make_log --kind pppd --style export
// writes the entries in the journal export format, systemd-journal-remote
// turns them into journal files.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

using namespace kestal::bench;
namespace fs = std::filesystem;

// make_log writes about this many sessions per 100 MB of export format.
constexpr double kSessionsPer100M = 6050;

std::vector<std::string> journalFiles(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(folder, error))
        if (item.path().extension() == ".journal") files.push_back(item.path().string());
    return files;
}

void run(const std::string& command) {
    std::printf("$ %s\n", command.c_str());
    std::fflush(stdout);
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

// The journal files, made unless a run before made them for as many sessions.
std::vector<std::string> makeJournal(const fs::path& dir, long sessions) {
    const fs::path folder = dir / "files";
    const fs::path made = folder / (".sessions-" + std::to_string(sessions));
    if (fs::exists(made)) return journalFiles(folder);
    fs::remove_all(folder);
    fs::create_directories(folder);
    const long megabytes = std::lround(std::ceil(sessions / kSessionsPer100M * 100));
    const std::string exported = (dir / "pppd.export").string();
    run(shellQuoted(KESTAL_MAKE_LOG) + " " + std::to_string(megabytes) + "M " +
        shellQuoted(exported) + " --kind pppd --style export");
    run("/lib/systemd/systemd-journal-remote -o " +
        shellQuoted((folder / "pppd.journal").string()) + " " + shellQuoted(exported) + " 2> " +
        shellQuoted((dir / "journal-remote.log").string()));
    fs::remove(exported);
    std::FILE* marker = std::fopen(made.c_str(), "w");
    if (marker) std::fclose(marker);
    return journalFiles(folder);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = "/work/bench-data/journal";
    long sessions = 100000;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--dir") == 0) {
            dir = argv[i + 1];
        } else if (std::strcmp(argv[i], "--sessions") == 0) {
            sessions = std::atol(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::atoi(argv[i + 1]);
        } else {
            std::fputs("usage: journal_bench [--dir DIR] [--sessions N] [--runs N]\n", stderr);
            return 2;
        }
    }
    const std::vector<std::string> files = makeJournal(dir, sessions);
    if (files.empty()) {
        std::fputs("no journal files were made\n", stderr);
        return 1;
    }
    std::string fileArgs, toolArgs;
    std::uint64_t bytes = 0;
    for (const std::string& file : files) {
        fileArgs += " --file " + shellQuoted(file);
        toolArgs += " --journal-file " + shellQuoted(file);
        bytes += fileSize(file);
    }
    std::printf("%zu journal files, %.1f MiB, made for %ld sessions\n", files.size(),
                static_cast<double>(bytes) / (1 << 20), sessions);
    const std::string rows = dir + "/rows.tsv";
    run(shellQuoted(KESTAL_CALLS) + toolArgs + " > " + shellQuoted(rows));
    std::printf("rows listed (sessions and failed attempts): ");
    std::fflush(stdout);
    if (std::system(("wc -l < " + shellQuoted(rows)).c_str()) != 0) return 1;

    printHeading();
    const Timing journalctl =
        referenceCommand(runs, "journalctl -q -o json" + fileArgs + " _COMM=pppd > /dev/null");
    printFigure("journalctl -o json _COMM=pppd", journalctl, bytes);
    const std::string tool = shellQuoted(KESTAL_CALLS) + toolArgs + " > /dev/null";
    printFigure("kestal-calls --journal-file", bestOfCommand(runs, tool), bytes, journalctl,
                "journalctl");
    return 0;
}
