// Printing for real: the commands print through the Qt printer on the
// system's default printer, a CUPS queue whose backend keeps every job as a
// file (scripts/start-cups.sh sets it up). The PDF that arrives is read back
// with pdftotext and compared with the lines the program meant to print.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QPrinterInfo>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "calls/CallScan.h"
#include "calls/DialUpColumns.h"
#include "commands/Print.h"
#include "details/CallDetails.h"
#include "lines/LogLines.h"
#include "output/Printouts.h"
#include "platform/Errors.h"
#include "platform/qt/QtTextPrinter.h"
#include "printing/PrintedJobs.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "table/CallTable.h"

extern char** environ;

namespace kestal {
namespace {

namespace fs = std::filesystem;

using namespace testing;

// The scripted platform, except that it prints on the real printer.
class PrintingPlatform : public testing::FakePlatform {
public:
    explicit PrintingPlatform(TextPrinter& printer) : realPrinter_(printer) {}
    TextPrinter& printer() override { return realPrinter_; }

private:
    TextPrinter& realPrinter_;
};

class RealPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        const Capture capture = findCaptureQueue();
        if (!capture.folder) GTEST_SKIP() << capture.whyNot;
        folder_ = *capture.folder;
        lock_ = std::make_unique<QueueLock>(folder_);
        ASSERT_TRUE(lock_->held()) << "cannot lock " << folder_;
        printer_ = createQtTextPrinter();
        platform_ = std::make_unique<PrintingPlatform>(*printer_);
    }

    // Runs a print command and returns the job it sent, read back.
    template <typename Command>
    PrintedJob printed(Command command) {
        return printedOn(*platform_, folder_, command);
    }

    // The same on any platform, for a job that arrives in folder.
    template <typename Command>
    PrintedJob printedOn(PrintingPlatform& platform, const fs::path& folder, Command command) {
        const std::set<fs::path> before = jobFiles(folder);
        runCommand(platform, command);
        EXPECT_TRUE(platform.dialogs.empty()) << platform.dialogTexts().front();
        const auto deadline = std::chrono::steady_clock::now() + kJobTimeout;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const fs::path& file : jobFiles(folder)) {
                if (before.count(file)) continue;
                PrintedJob job = readBack(file);
                fs::path titleFile = file;
                titleFile.replace_extension(".title");
                job.title = commandOutput("cat " + shellQuoted(titleFile.string()))
                                .value_or("(no title file)");
                // KESTAL_KEEP_PRINT_JOBS=1 keeps them for a look.
                std::error_code ignored;
                if (!std::getenv("KESTAL_KEEP_PRINT_JOBS")) {
                    fs::remove(file, ignored);
                    fs::remove(titleFile, ignored);
                }
                return job;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ADD_FAILURE() << "no job arrived in " << folder << " within " << kJobTimeout.count()
                      << " s";
        return {};
    }

    fs::path folder_;
    std::unique_ptr<QueueLock> lock_;
    std::unique_ptr<TextPrinter> printer_;
    std::unique_ptr<PrintingPlatform> platform_;
};

struct Fixture {
    LogLines lines;
    CallTable table{kDialUpColumns};
};

Fixture twoCallLog() {
    Fixture log;
    readLogFile(KESTAL_SOURCE_DIR "/tests/printing/two-calls-ppplog.txt", log.lines);
    scanCalls(log.lines, log.table, RegionalSettings{}, [](std::string_view) {});
    return log;
}

std::vector<std::string> tablePrintout(const CallTable& table) {
    std::vector<std::string> lines;
    forEachTablePrintoutLine(table, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

TEST_F(RealPrinting, TablePrintsItsLinesExactly) {
    const Fixture log = twoCallLog();
    ASSERT_EQ(log.table.rowCount(), 2);
    const PrintedJob job = printed([&] { commands::printTable(log.table, *platform_); });

    std::vector<std::string> expected = tablePrintout(log.table);
    for (auto& line : expected) line.erase(line.find_last_not_of(' ') + 1);
    expected.pop_back();  // the empty line after the last call leaves no trace
    ASSERT_EQ(job.fixedPitch.size(), 1u);
    EXPECT_EQ(job.fixedPitch[0], expected);
    EXPECT_NE(job.fonts.find("LiberationMono"), std::string::npos) << job.fonts;
    EXPECT_EQ(job.title, "");  // a job without a document title
}

TEST_F(RealPrinting, DetailsPrintTheSameLinesBeforeAndAfterTheTable) {
    const Fixture log = twoCallLog();
    const std::vector<std::string> memo =
        gatherCallDetails(log.lines, log.table.cell(Column::StartTime, 0), [](std::string_view) {});
    ASSERT_GT(memo.size(), 20u);
    ASSERT_TRUE(memo.front().find("log opened") != std::string::npos);

    const PrintedJob before = printed([&] { commands::printDetails(memo, *platform_); });
    const PrintedJob table = printed([&] { commands::printTable(log.table, *platform_); });
    const PrintedJob after = printed([&] { commands::printDetails(memo, *platform_); });

    // Accented letters come out as the same letters.
    const std::vector<std::string> expected = utf8FromLatin1(memo);
    // The default font is proportional: blanks read back only roughly.
    EXPECT_EQ(collapsedBlanks(PrintedJob::textLines(before.layout)), collapsedBlanks(expected));
    EXPECT_EQ(before.fonts.find("LiberationMono"), std::string::npos) << before.fonts;
    // After the table, in its fixed-pitch font, exactly.
    ASSERT_EQ(after.fixedPitch.size(), 1u);
    EXPECT_EQ(after.fixedPitch[0], expected);
    EXPECT_NE(after.fonts.find("LiberationMono"), std::string::npos) << after.fonts;
    EXPECT_EQ(PrintedJob::textLines(table.fixedPitch).front(), "Call 1");
}

TEST_F(RealPrinting, LongPrintoutFillsSeveralPagesInOrder) {
    std::vector<std::string> memo;
    for (int i = 1; i <= 250; ++i)
        memo.push_back("Line " + std::to_string(i) + " of the long printout");
    const PrintedJob job = printed([&] { commands::printDetails(memo, *platform_); });

    EXPECT_GT(job.layout.size(), 1u);
    for (const auto& page : job.layout) EXPECT_FALSE(page.empty());
    EXPECT_EQ(collapsedBlanks(PrintedJob::textLines(job.layout)), memo);
}

TEST_F(RealPrinting, LongLineContinuesOnTheNextLine) {
    printer_->setFontName("courier new");
    std::string line;
    for (int i = 0; line.size() < 300; ++i) line += std::to_string(i % 10);
    const PrintedJob job = printed([&] { commands::printDetails({line}, *platform_); });

    ASSERT_EQ(job.fixedPitch.size(), 1u);
    const Page& page = job.fixedPitch[0];
    ASSERT_GE(page.size(), 3u);
    std::string rejoined;
    for (const auto& piece : page) rejoined += piece;
    EXPECT_EQ(rejoined, line);
    // Cut at the right edge: a full line of an A4 or Letter sheet, less its
    // margins, holds a little under 128 characters of 4.8 points.
    EXPECT_GE(page[0].size(), 100u);
    EXPECT_LE(page[0].size(), 127u);
    EXPECT_EQ(page[1].size(), page[0].size());
}

TEST_F(RealPrinting, EmptyDetailsStillMakeAJob) {
    const PrintedJob job = printed([&] { commands::printDetails({}, *platform_); });
    EXPECT_TRUE(job.layout.empty());
    EXPECT_EQ(job.title, "");
}

// Sets an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(RealPrinting, LaterJobsKeepThePrinterFoundFirst) {
    const PrintedJob first = printed([&] { commands::printDetails({"first job"}, *platform_); });
    EXPECT_EQ(PrintedJob::textLines(first.layout), std::vector<std::string>{"first job"});

    // The user picks another default printer (here for this process only).
    const fs::path otherFolder = folder_ / "other";
    ScopedEnv otherDefault("PRINTER", "KestalTestOther");
    if (QPrinterInfo::defaultPrinter().printerName() != "KestalTestOther" ||
        !fs::is_directory(otherFolder))
        GTEST_SKIP() << "the second test queue of scripts/start-cups.sh is missing";

    const PrintedJob second = printed([&] { commands::printDetails({"second job"}, *platform_); });
    EXPECT_EQ(PrintedJob::textLines(second.layout), std::vector<std::string>{"second job"});

    // A new run of the program finds the new default.
    const auto newRunPrinter = createQtTextPrinter();
    PrintingPlatform newRun(*newRunPrinter);
    const PrintedJob elsewhere =
        printedOn(newRun, otherFolder, [&] { commands::printDetails({"new run"}, newRun); });
    EXPECT_EQ(PrintedJob::textLines(elsewhere.layout), std::vector<std::string>{"new run"});
}

// Run in a child process whose CUPS client finds no server, so there is no
// default printer; the parent below checks it passed.
TEST(NoDefaultPrinter, DISABLED_ChildReportsIt) {
    if (!std::getenv("KESTAL_NO_PRINTER_CHILD"))
        GTEST_SKIP() << "runs only as NoDefaultPrinter.IsReported's child";
    const auto printer = createQtTextPrinter();
    PrintingPlatform platform(*printer);
    CallTable table{kDialUpColumns};
    runCommand(platform, [&] { commands::printTable(table, platform); });
    runCommand(platform, [&] { commands::printDetails({"a line"}, platform); });
    EXPECT_EQ(platform.dialogTexts(),
              (std::vector<std::string>{"There is no default printer currently selected.",
                                        "There is no default printer currently selected."}));
    EXPECT_EQ(platform.dialogs.at(0).kind, testing::DialogRecord::Kind::ErrorReport);
}

TEST(NoDefaultPrinter, IsReported) {
    const fs::path home =
        fs::temp_directory_path() / ("kestal-no-printer-" + std::to_string(::getpid()));
    fs::create_directories(home);
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        // Any printer named by the environment or by a server is out of reach.
        if (entry.starts_with("PRINTER=") || entry.starts_with("LPDEST=") ||
            entry.starts_with("CUPS_SERVER=") || entry.starts_with("HOME="))
            continue;
        environment.push_back(entry);
    }
    environment.push_back("CUPS_SERVER=" + (home / "no-cups.sock").string());
    environment.push_back("HOME=" + home.string());
    environment.push_back("KESTAL_NO_PRINTER_CHILD=1");
    environment.push_back("QT_QPA_PLATFORM=offscreen");
    const std::string output = (home / "child-output.txt").string();

    std::vector<std::string> arguments = {
        self, "--gtest_also_run_disabled_tests",
        "--gtest_filter=NoDefaultPrinter.DISABLED_ChildReportsIt"};
    std::vector<char*> argv;
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(spawned, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    const auto log = commandOutput("cat " + shellQuoted(output)).value_or("");
    std::error_code ignored;
    fs::remove_all(home, ignored);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << log;
    EXPECT_NE(log.find("[  PASSED  ] 1 test."), std::string::npos) << log;
}

}  // namespace
}  // namespace kestal
