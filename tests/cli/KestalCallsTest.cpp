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

CallTable tableOf(const std::string& bytes, const RegionalSettings& settings = {}) {
    const LogLines lines = LogLines::fromBytes(bytes);
    CallTable table{kDialUpColumns};
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

// Logs whose text a NUL byte ends early: read up to it with a warning, or
// repaired in full with --repair. Other line ends than CR LF are no reason
// to warn, and don't hide a NUL either.
TEST(KestalCalls, LogsThatANulByteCutsShort) {
    const std::string sample = sampleBytes();
    struct Case {
        const char* name;
        std::string log;
        std::string listedByDefault;  // the text whose calls are listed without --repair
        std::string listedRepaired;
        bool warned;
    };
    std::string lfOnly;
    for (const char c : sample) {
        if (c != '\r') lfOnly.push_back(c);
    }
    const std::string head40 = firstLines(sample, 40);
    std::string oneLineFeed = sample;
    oneLineFeed.erase(oneLineFeed.find("\r\n"), 1);
    // NUL bytes inside the "Bytes Received" line of the third call.
    const std::size_t inLine = sample.find("Bytes Received", sample.find("12-03-2026")) + 6;
    const std::vector<Case> cases = {
        {"NUL bytes between lines", head40 + std::string(3, '\0') + sample.substr(head40.size()),
         head40, sample, true},
        {"NUL bytes inside a line",
         sample.substr(0, inLine) + std::string(2, '\0') + sample.substr(inLine),
         sample.substr(0, inLine), sample, true},
        {"line feeds alone", lfOnly, lfOnly, lfOnly, false},
        {"a line feed alone and a NUL at the end", oneLineFeed + '\0', oneLineFeed, oneLineFeed,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string log = dir.write("ppplog.txt", c.log);
        for (const ExportLayout layout : {ExportLayout::TabSeparated, ExportLayout::FixedWidth}) {
            const ToolRun plain = runTool({"--header", "--format", layoutName(layout), log});
            EXPECT_EQ(plain.exitCode, 0);
            EXPECT_EQ(plain.out, exportTable(tableOf(c.listedByDefault), layout, true));
            EXPECT_EQ(plain.err,
                      c.warned ? "kestal-calls: " + log + ": Some calls may not be listed!\n" : "");

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

}  // namespace
}  // namespace kestal::testing
