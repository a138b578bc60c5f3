// The built kestal-calls executable, run as a script would run it: its
// details what the details window shows, its failures plain lines with the
// documented exit codes, its usage, help and progress bar.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "calls/CallScan.h"
#include "calls/DialUpColumns.h"
#include "cli/RunTool.h"
#include "commands/Messages.h"
#include "commands/SaveTableAs.h"
#include "lines/LogLines.h"
#include "output/TableExport.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "table/CallTable.h"

namespace kestal::testing {
namespace {

TEST(KestalCalls, DetailsAreTheAnnotatedLinesOfOneCall) {
    const std::string sample = sampleBytes();
    // Lines 30 to 58 of the sample: the second call, up to its closing line.
    std::string expected = firstLines(sample, 58).substr(firstLines(sample, 29).size());
    const auto annotate = [&expected](std::string_view line, std::string_view note) {
        const std::size_t at = expected.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        expected.insert(at + line.size(), note);
    };
    annotate("Negotiated IP address of c0a80202", " (192.168.2.2)");
    annotate("Received DNS 0a000001", " (10.0.0.1)");
    annotate("Remote address change from 0 to 0a00fe02", " (10.0.254.2)");

    const ToolRun run = runTool({"--details", "12-02-2026 13:59:04", kSamplePath});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, expected);

    TempDir dir;
    const ToolRun toFile =
        runTool({"--details=12-02-2026 13:59:04", kSamplePath, dir.file("call.log")});
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_EQ(readBytes(dir.file("call.log")), expected);

    const ToolRun none = runTool({"--details", "12-31-2026 00:00:00", kSamplePath});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "");
}

TEST(KestalCalls, FileErrorsNameTheFileAndExitWithOne) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("taken.tsv"));
    const std::string missing = dir.file("missing.txt");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string err;
        ToolSetup setup;
    };
    const std::vector<Case> cases = {
        {"missing log",
         {missing},
         "kestal-calls: " + missing + ": No such file or directory\n",
         {}},
        {"log is a folder",
         {dir.path().string()},
         "kestal-calls: " + dir.path().string() + ": Is a directory\n",
         {}},
        {"log is a device", {"/dev/zero"}, "kestal-calls: /dev/zero: Not a regular file\n", {}},
        {"output is a folder",
         {kSamplePath, dir.file("taken.tsv")},
         "kestal-calls: " + dir.file("taken.tsv") + ": File access denied\n",
         {}},
        {"output folder missing",
         {kSamplePath, dir.file("none/calls.csv")},
         "kestal-calls: " + dir.file("none/calls.csv") + ": Invalid filename\n",
         {}},
        {"output file on a full device",
         {"--format", "csv", kSamplePath, "/dev/full"},
         "kestal-calls: /dev/full: Disk full\n",
         {}},
        {"standard output on a full device",
         {kSamplePath},
         "kestal-calls: standard output: Disk full\n",
         stdoutTo("/dev/full")},
        {"details to a full device",
         {"--details", "12-02-2026 13:59:04", kSamplePath, "/dev/full"},
         "kestal-calls: /dev/full: Disk full\n",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun run = runTool(c.args, c.setup);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST(KestalCalls, OutputIsLeftAloneWhenTheLogCannotBeRead) {
    TempDir dir;
    const std::string out = dir.write("calls.tsv", "earlier content\r\n");
    const ToolRun run = runTool({dir.file("missing.txt"), out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(readBytes(out), "earlier content\r\n");
}

TEST(KestalCalls, BadUsageExitsWithTwo) {
    struct Case {
        std::vector<std::string> args;
        std::string firstLine;
    };
    const std::vector<Case> cases = {
        {{}, "kestal-calls: no LOGFILE given"},
        // Three operands are logs read as one now; a missing value is still bad usage.
        {{"a.txt", "b.txt", "-o"}, "kestal-calls: option '-o' needs a value"},
        {{"--verbose", kSamplePath}, "kestal-calls: unknown option '--verbose'"},
        {{"-x", kSamplePath}, "kestal-calls: unknown option '-x'"},
        {{"--format", "xls", kSamplePath}, "kestal-calls: unknown format 'xls' (txt, tsv or csv)"},
        {{kSamplePath, "--format"}, "kestal-calls: option '--format' needs a value"},
        {{kSamplePath, "--details"}, "kestal-calls: option '--details' needs a value"},
        {{"--details", "12-02-2026 13:59:04", "--header", kSamplePath},
         "kestal-calls: --details writes lines, not a table: no --format or --header with it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLine);
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.firstLine);
        EXPECT_EQ(run.err.substr(run.err.find('\n') + 1, kUsageStart.size()), kUsageStart);
    }
}

TEST(KestalCalls, DoubleDashEndsTheOptions) {
    TempDir dir;
    dir.write("-ppplog.txt", sampleBytes());
    ToolSetup inDir;
    inDir.workingDirectory = dir.path().string();
    EXPECT_EQ(runTool({"-ppplog.txt"}, inDir).exitCode, 2);
    const ToolRun run = runTool({"--", "-ppplog.txt"}, inDir);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, runTool({kSamplePath}).out);
}

TEST(KestalCalls, HelpAndVersion) {
    const ToolRun version = runTool({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "kestal-calls 1.12\n");
    EXPECT_EQ(version.err, "");

    for (const char* option : {"--help", "-h"}) {
        const ToolRun help = runTool({option});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.out.substr(0, kUsageStart.size()), kUsageStart);
        EXPECT_NE(help.out.find("--repair"), std::string::npos);
        EXPECT_EQ(help.err, "");
    }
}

// A log over 64 MiB: a progress bar on a terminal, nothing otherwise.
TEST(KestalCalls, ProgressBarOnlyOnATerminal) {
    const std::string sample = sampleBytes();
    TempDir dir;
    std::string big;
    big.reserve((std::size_t{65} << 20) + sample.size());
    while (big.size() <= (std::size_t{64} << 20)) big += sample;
    const std::string log = dir.write("big.txt", big);
    big.clear();
    big.shrink_to_fit();

    const ToolRun onFile = runTool({log}, stdoutTo("/dev/null"));
    EXPECT_EQ(onFile.exitCode, 0);
    EXPECT_EQ(onFile.err, "");

    const ToolRun onTerminal = runTool({log}, stderrOnTerminal());
    EXPECT_EQ(onTerminal.exitCode, 0);
    EXPECT_NE(onTerminal.err.find("Loading big.txt ["), std::string::npos) << onTerminal.err;
    EXPECT_NE(onTerminal.err.find("] 100%"), std::string::npos);

    // A small log on a terminal shows nothing either.
    const ToolRun small = runTool({kSamplePath}, stderrOnTerminal());
    EXPECT_EQ(small.exitCode, 0);
    EXPECT_EQ(small.err, "");
}

}  // namespace
}  // namespace kestal::testing
