// The built kestal-calls executable, run as a script would run it: its
// tables must be what File > Save Table As writes for the same log, its
// details what the details window shows, and its failures plain lines with
// the documented exit codes.
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

const std::string kSamplePath = std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt";
constexpr std::string_view kUsageStart = "Usage: kestal-calls ";

std::string sampleBytes() { return readBytes(kSamplePath); }

// The first n lines of text, each with its CR LF.
std::string firstLines(const std::string& text, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) at = text.find("\r\n", at) + 2;
    return text.substr(0, at);
}

CallTable tableOf(const std::string& bytes, const RegionalSettings& settings = {}) {
    const LogLines lines = LogLines::fromBytes(bytes);
    CallTable table;
    scanCalls(lines, table, settings, [](std::string_view) {});
    return table;
}

// What the viewer's Save Table As writes for this table under this name.
std::string savedByViewer(const CallTable& table, std::string_view name, bool header) {
    TempDir dir;
    FakePlatform platform;
    platform.fileDialogAnswers.push_back(dir.file(name));
    platform.dialogAnswers.push_back(header ? DialogResult::Yes : DialogResult::No);
    FileDialog dialog;
    dialog.kind = FileDialog::Kind::Save;
    commands::saveTableAs(table, platform, dialog);
    return readBytes(dir.file(name));
}

const char* layoutName(ExportLayout layout) {
    switch (layout) {
        case ExportLayout::TabSeparated:
            return "tsv";
        case ExportLayout::CommaSeparated:
            return "csv";
        case ExportLayout::FixedWidth:
            return "txt";
    }
    return "";
}

ToolSetup stdoutTo(const std::string& path) {
    ToolSetup setup;
    setup.stdoutPath = path;
    return setup;
}

// Standard error on a terminal, standard output thrown away.
ToolSetup stderrOnTerminal() {
    ToolSetup setup = stdoutTo("/dev/null");
    setup.stderrOnTerminal = true;
    return setup;
}

TEST(KestalCalls, SampleTableIsWhatSaveTableAsWrites) {
    const CallTable table = tableOf(sampleBytes());
    ASSERT_EQ(table.callCount(), 6);
    for (const ExportLayout layout :
         {ExportLayout::TabSeparated, ExportLayout::CommaSeparated, ExportLayout::FixedWidth}) {
        for (const bool header : {false, true}) {
            SCOPED_TRACE(std::string(layoutName(layout)) + (header ? " with header" : ""));
            const std::string fileName = std::string("calls.") + layoutName(layout);
            const std::string expected = savedByViewer(table, fileName, header);

            std::vector<std::string> args{"--format", layoutName(layout), kSamplePath};
            if (header) args.insert(args.begin(), "--header");
            const ToolRun toStdout = runTool(args);
            EXPECT_EQ(toStdout.exitCode, 0);
            EXPECT_EQ(toStdout.err, "");
            EXPECT_EQ(toStdout.out, expected);

            TempDir dir;
            const std::string outFile = dir.file(fileName);
            std::vector<std::string> fileArgs{kSamplePath, outFile};
            if (header) fileArgs.insert(fileArgs.begin(), "--header");
            const ToolRun toFile = runTool(fileArgs);
            EXPECT_EQ(toFile.exitCode, 0);
            EXPECT_EQ(toFile.out, "");
            EXPECT_EQ(toFile.err, "");
            EXPECT_EQ(readBytes(outFile), expected);
        }
    }
}

// The reference above comes from the same code; this pins the first and
// last rows of the sample in text, so that both can't drift together.
TEST(KestalCalls, SampleRowsInTabSeparatedText) {
    const ToolRun run = runTool({kSamplePath});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find("\r\n") + 2),
              "12-01-2026 09:12:04\t12-01-2026 09:22:41\t00:10:37\t1.3\t2.1\t3.1\t3.4\t"
              "    182344\t     23117\t      1931\t      1714\t         0\t         0\t"
              "         0\t         0\t         0\t         0\t         1\r\n");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 6);
}

TEST(KestalCalls, LayoutFollowsTheOutputNameUnlessFormatIsGiven) {
    const CallTable table = tableOf(sampleBytes());
    struct Case {
        std::string outName;
        std::vector<std::string> options;
        ExportLayout layout;
    };
    const std::vector<Case> cases = {
        {"calls.tsv", {}, ExportLayout::TabSeparated},
        {"REPORT.CSV", {}, ExportLayout::CommaSeparated},
        {"calls.txt", {}, ExportLayout::FixedWidth},
        {"calls.tsv.txt", {}, ExportLayout::FixedWidth},
        {"calls.txt", {"--format", "csv"}, ExportLayout::CommaSeparated},
        {"calls.csv", {"--format=TSV"}, ExportLayout::TabSeparated},
        {"calls.dat", {"--format", "txt"}, ExportLayout::FixedWidth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outName);
        TempDir dir;
        std::vector<std::string> args = c.options;
        args.push_back(kSamplePath);
        args.push_back(dir.file(c.outName));
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(readBytes(dir.file(c.outName)), exportTable(table, c.layout, false));
    }
}

TEST(KestalCalls, DashAsOutputIsStandardOutput) {
    const ToolRun run = runTool({"--format", "csv", kSamplePath, "-"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, exportTable(tableOf(sampleBytes()), ExportLayout::CommaSeparated, false));
}

TEST(KestalCalls, DashAsLogIsStandardInput) {
    const std::string sample = sampleBytes();
    const std::string head40 = firstLines(sample, 40);
    TempDir dir;
    ToolSetup fromLog;
    fromLog.stdinPath = dir.write("ppplog.txt", head40 + '\0' + sample.substr(head40.size()));
    const ToolRun run = runTool({"--format", "txt", "-"}, fromLog);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, exportTable(tableOf(head40), ExportLayout::FixedWidth, false));
    EXPECT_EQ(run.err, "kestal-calls: standard input: Some calls may not be listed!\n");
}

TEST(KestalCalls, OutputOverTheLogIsRefused) {
    TempDir dir;
    const std::string log = dir.write("ppplog.txt", sampleBytes());
    std::filesystem::create_symlink(log, dir.file("calls.txt"));
    for (const std::string& out : {log, dir.file("calls.txt")}) {
        SCOPED_TRACE(out);
        const ToolRun run = runTool({log, out});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
                  "kestal-calls: OUTFILE " + out + " is LOGFILE itself: it is not overwritten");
        EXPECT_EQ(readBytes(log), sampleBytes());
    }
}

TEST(KestalCalls, OutputNameWithoutLayoutWritesNothing) {
    TempDir dir;
    const ToolRun run = runTool({kSamplePath, dir.file("calls.dat")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1),
              "kestal-calls: " + std::string(kNoLayoutWarning) + " (or give --format)\n");
    EXPECT_NE(run.err.find(kUsageStart), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("calls.dat")));
}

// Logs that fail the size check: read up to the first NUL byte with a
// warning, or repaired in full with --repair.
TEST(KestalCalls, LogsThatFailTheSizeCheck) {
    const std::string sample = sampleBytes();
    struct Case {
        const char* name;
        std::string log;
        std::string listedByDefault;  // the text whose calls are listed without --repair
        std::string listedRepaired;
    };
    std::string lfOnly;
    for (const char c : sample) {
        if (c != '\r') lfOnly.push_back(c);
    }
    const std::string head40 = firstLines(sample, 40);
    // NUL bytes inside the "Bytes Received" line of the third call.
    const std::size_t inLine = sample.find("Bytes Received", sample.find("12-03-2026")) + 6;
    const std::vector<Case> cases = {
        {"NUL bytes between lines", head40 + std::string(3, '\0') + sample.substr(head40.size()),
         head40, sample},
        {"NUL bytes inside a line",
         sample.substr(0, inLine) + std::string(2, '\0') + sample.substr(inLine),
         sample.substr(0, inLine), sample},
        {"line feeds alone", lfOnly, lfOnly, lfOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string log = dir.write("ppplog.txt", c.log);
        for (const ExportLayout layout : {ExportLayout::TabSeparated, ExportLayout::FixedWidth}) {
            const ToolRun plain = runTool({"--header", "--format", layoutName(layout), log});
            EXPECT_EQ(plain.exitCode, 0);
            EXPECT_EQ(plain.out, exportTable(tableOf(c.listedByDefault), layout, true));
            EXPECT_EQ(plain.err, "kestal-calls: " + log + ": Some calls may not be listed!\n");

            const ToolRun repaired =
                runTool({"--repair", "--header", "--format", layoutName(layout), log});
            EXPECT_EQ(repaired.exitCode, 0);
            EXPECT_EQ(repaired.out, exportTable(tableOf(c.listedRepaired), layout, true));
            EXPECT_EQ(repaired.err, "");
        }
        EXPECT_EQ(readBytes(log), c.log) << "the log itself is never changed";
    }
}

TEST(KestalCalls, RepairedNulLogListsEveryCallOfTheSample) {
    const std::string sample = sampleBytes();
    const std::string head40 = firstLines(sample, 40);
    TempDir dir;
    const std::string log =
        dir.write("ppplog.txt", head40 + std::string(5, '\0') + sample.substr(head40.size()));
    const ToolRun cut = runTool({log});
    const ToolRun repaired = runTool({"--repair", log});
    EXPECT_EQ(std::count(cut.out.begin(), cut.out.end(), '\n'), 2);
    EXPECT_EQ(repaired.out, runTool({kSamplePath}).out);
}

TEST(KestalCalls, UnreadableTimesWarnAndStillWriteTheRow) {
    TempDir dir;
    const std::string log =
        dir.write("ppplog.txt",
                  "12-01-2026 09:1x:04.30 - Remote access driver log opened.\r\n"
                  "12-01-2026 09:22:41.20 - Remote access driver log closed.\r\n"
                  "12-02-2026 10:00:00.00 - Remote access driver log opened.\r\n"
                  "12-02-2026 10:00:30.00 - Remote access driver log closed.\r\n");
    const ToolRun run = runTool({"--format", "csv", log});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "12-01-2026 09:1x:04,12-01-2026 09:22:41,-       ,-,-,-,-,,,,,,,,,,,\r\n"
              "12-02-2026 10:00:00,12-02-2026 10:00:30,00:00:30,-,-,-,-,,,,,,,,,,,\r\n");
    EXPECT_EQ(run.err, "kestal-calls: " + log +
                           ": call \"12-01-2026 09:1x:04\": The PPPLOG.TXT file appears to have "
                           "been corrupted.\n");
}

// A log big enough for two walking threads, with calls whose start can't be
// read here and there: the table Save Table As writes, the warnings in the
// order of the log.
TEST(KestalCalls, BigLogWalkedByTwoThreadsIsWhatSaveTableAsWrites) {
    const std::string sample = sampleBytes();
    std::string big;
    std::string warnings;
    TempDir dir;
    const std::string log = dir.file("big.txt");
    for (int copy = 0; big.size() <= (std::size_t{17} << 20); ++copy) {
        big += sample;
        if (copy % 97 != 0) continue;
        char start[32];
        std::snprintf(start, sizeof start, "%02d-%02d-2026 09:1x:%02d", copy / 97 % 12 + 1,
                      copy / 97 % 28 + 1, copy / 97 % 60);
        big += std::string(start) + ".30 - Remote access driver log opened.\r\n";
        warnings += "kestal-calls: " + log + ": call \"" + start +
                    "\": The PPPLOG.TXT file appears to have been corrupted.\n";
    }
    dir.write("big.txt", big);
    for (const ExportLayout layout :
         {ExportLayout::TabSeparated, ExportLayout::CommaSeparated, ExportLayout::FixedWidth}) {
        SCOPED_TRACE(layoutName(layout));
        const ToolRun run = runTool({"--format", layoutName(layout), log});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out ==
                    savedByViewer(tableOf(big), std::string("big.") + layoutName(layout), false));
        EXPECT_EQ(run.err, warnings);
    }
}

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
        {{"a.txt", "b.txt", "c.txt"}, "kestal-calls: too many arguments"},
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
