// Nothing is lost: loading and repairing never change the log, a failing
// export or copy leaves every other file alone, Clear writes the system log
// and nothing else, and the repair's temporary file never writes through a
// link. Places the test can't write are ones root can't write either
// (/dev/full, /sys, /proc), since the tests may run as root.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "commands/ClearLog.h"
#include "commands/CopyLog.h"
#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "commands/Messages.h"
#include "commands/SaveTableAs.h"
#include "output/MarkerLine.h"
#include "output/Printouts.h"
#include "output/TableExport.h"
#include "platform/Errors.h"
#include "robustness/RobustnessHelpers.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::DialogRecord;
using testing::FakePlatform;
using testing::RecordingView;
using testing::TempDir;
namespace fs = std::filesystem;
using namespace std::string_literals;

std::vector<std::string> errorReports(const FakePlatform& platform) {
    std::vector<std::string> texts;
    for (const DialogRecord& d : platform.dialogs) {
        if (d.kind == DialogRecord::Kind::ErrorReport) texts.push_back(d.text);
    }
    return texts;
}

class NothingLost : public ::testing::Test {
protected:
    // Loads path as File > Open does, answering the corruption question.
    void open(const std::string& path, DialogResult answer = DialogResult::No) {
        platform.dialogAnswers = {answer};
        platform.fileDialogAnswers = {path};
        FileDialog openDialog;
        commands::openLog(state, platform, view, openDialog);
        platform.dialogAnswers.clear();
    }

    TempDir dir;
    FakePlatform platform;
    RecordingView view;
    LogState state;
};

TEST_F(NothingLost, LoadingAndRepairingLeaveTheLogAsItWas) {
    const struct {
        const char* name;
        std::string bytes;
        DialogResult answer;
        int calls;
    } cases[] = {
        {"clean", testing::twoCalls(), DialogResult::No, 2},
        {"NUL bytes, repaired", testing::firstCall() + "\0\0"s + testing::secondCall(),
         DialogResult::Yes, 2},
        {"NUL bytes, not repaired", testing::firstCall() + "\0\0"s + testing::secondCall(),
         DialogResult::No, 1},
        {"lone line feeds, repaired", testing::withLineEnds(testing::twoCalls(), "\n"),
         DialogResult::Yes, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write("ppplog.txt", c.bytes);
        const auto before = testing::folderSnapshot(dir.path());
        open(path, c.answer);
        EXPECT_EQ(state.table.callCount(), c.calls);
        EXPECT_EQ(testing::contentHash(testing::fileContent(path)), testing::contentHash(c.bytes));
        EXPECT_EQ(testing::folderSnapshot(dir.path()), before);  // no ppplog.tmp left either
    }
}

TEST_F(NothingLost, TheTemporaryFileNeverWritesThroughALinkOrOverTheLog) {
    const std::string logBytes = "\0"s + testing::twoCalls();
    const std::string victimBytes = "a file the user keeps\r\n";
    TempDir elsewhere;
    const std::string victim = elsewhere.write("victim.txt", victimBytes);

    const struct {
        const char* name;
        std::function<void(const std::string& temp, const std::string& log)> makeTemp;
        bool repairs;
    } cases[] = {
        {"link to another file",
         [&](const std::string& temp, const std::string&) { fs::create_symlink(victim, temp); },
         true},
        {"link to a file that doesn't exist yet",
         [&](const std::string& temp, const std::string&) {
             fs::create_symlink(elsewhere.file("new.txt"), temp);
         },
         true},
        // The link itself is replaced, never what it points to.
        {"link to the log itself",
         [](const std::string& temp, const std::string& log) { fs::create_symlink(log, temp); },
         true},
        {"hard link to the log",
         [](const std::string& temp, const std::string& log) { fs::create_hard_link(log, temp); },
         false},
        {"a folder",
         [](const std::string& temp, const std::string&) { fs::create_directory(temp); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        const std::string log = folder.write("ppplog.txt", logBytes);
        const std::string temp = folder.file("ppplog.tmp");
        c.makeTemp(temp, log);
        const auto elsewhereBefore = testing::folderSnapshot(elsewhere.path());
        platform.dialogs.clear();

        open(log, DialogResult::Yes);

        EXPECT_EQ(testing::fileContent(log), logBytes);
        EXPECT_EQ(testing::folderSnapshot(elsewhere.path()), elsewhereBefore);
        EXPECT_FALSE(platform.busy());
        EXPECT_FALSE(view.gaugeVisible);
        if (c.repairs) {
            EXPECT_EQ(state.table.callCount(), 2);
            EXPECT_TRUE(errorReports(platform).empty());
            EXPECT_FALSE(fs::exists(fs::symlink_status(temp))) << "the temporary file stayed";
        } else {
            // The repair can't run; the user is told, and sees what was read.
            EXPECT_EQ(errorReports(platform).size(), 1u);
            EXPECT_EQ(platform.dialogTexts().back(), kSomeCallsNotListed);
            EXPECT_TRUE(fs::exists(fs::symlink_status(temp)));
        }
    }
    EXPECT_EQ(testing::fileContent(victim), victimBytes);
}

TEST_F(NothingLost, ALogNamedLikeTheTemporaryFileSurvivesItsRepair) {
    const std::string bytes = testing::firstCall() + "\0"s + testing::secondCall();
    const std::string log = dir.write("ppplog.tmp", bytes);
    open(log, DialogResult::Yes);
    EXPECT_EQ(testing::fileContent(log), bytes);
    EXPECT_EQ(errorReports(platform).size(), 1u);
    EXPECT_EQ(state.table.callCount(), 1);  // the lines before the NUL byte
}

// A table with calls, and a folder with files that must stay as they are.
class FailingOutput : public NothingLost {
protected:
    FailingOutput() {
        open(dir.write("ppplog.txt", testing::twoCalls()));
        dir.write("keep.txt", "kept\r\n");
        dir.write("calls.tsv", "an earlier export\r\n");
        fs::create_symlink("/dev/full", dir.file("full.txt"));  // a disk with no room left
        fs::create_symlink("/dev/full", dir.file("full.tsv.txt"));
        // A pipe nobody reads: writing must fail at once, not wait.
        if (::mkfifo(dir.file("pipe.txt").c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
        platform.dialogs.clear();
    }

    // Runs a command the way the window does, so failures end up reported.
    void run(const std::function<void()>& command) { runCommand(platform, command); }
};

TEST_F(FailingOutput, AFailingExportReportsAndLeavesOtherFilesAlone) {
    const struct {
        std::string path;
        std::string report;
    } cases[] = {
        {dir.file("full.txt"), "Disk full."},
        {dir.file("full.tsv.txt"), "Disk full."},
        {"/sys/kestal-calls.csv", "File access denied."},
        {"/proc/kestal-calls.txt", "Invalid filename."},
        {dir.file("no-such-folder/calls.tsv"), "Invalid filename."},
        {dir.file("pipe.txt"), "I/O error 6."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto before = testing::folderSnapshot(dir.path());
        platform.dialogs.clear();
        platform.fileDialogAnswers = {c.path};
        FileDialog saveDialog;
        run([&] { commands::saveTableAs(state.table, platform, saveDialog); });
        EXPECT_EQ(errorReports(platform), std::vector<std::string>{c.report});
        EXPECT_EQ(testing::folderSnapshot(dir.path()), before);
    }
}

TEST_F(FailingOutput, AFailingCopyReportsAndLeavesOtherFilesAlone) {
    const struct {
        std::string path;
        std::string report;
    } cases[] = {
        {dir.file("full.txt"), "Stream write error."},
        {"/sys/kestal-copy.txt", "Cannot create file /sys/kestal-copy.txt."},
        {dir.file("no-such-folder/copy.txt"),
         "Cannot create file " + dir.file("no-such-folder/copy.txt") + "."},
        {dir.path().string(), "Cannot create file " + dir.path().string() + "."},
        {dir.file("pipe.txt"), "Cannot create file " + dir.file("pipe.txt") + "."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto before = testing::folderSnapshot(dir.path());
        platform.dialogs.clear();
        platform.fileDialogAnswers = {c.path};
        FileDialog saveDialog;
        run([&] { commands::copyLog(state.lines, platform, saveDialog); });
        EXPECT_EQ(errorReports(platform), std::vector<std::string>{c.report});
        EXPECT_EQ(testing::folderSnapshot(dir.path()), before);
    }
}

// Clear's world: the Windows directory with the system log and a neighbour,
// and another folder with the log the user has open.
class ClearWritesOnlyTheSystemLog : public NothingLost {
protected:
    ClearWritesOnlyTheSystemLog() {
        fs::create_directory(dir.file("windows"));
        fs::create_directory(dir.file("logs"));
        systemLog = dir.write("windows/ppplog.txt", testing::twoCalls());
        dir.write("windows/ppplog.tmp", "not ours to touch\r\n");
        dir.write("windows/win.ini", "[windows]\r\n");
        shownLog = dir.write("logs/ppplog.txt", testing::firstCall());
        platform.windowsDir = dir.file("windows");
        open(shownLog);
        platform.dialogs.clear();
    }

    std::string systemLog;
    std::string shownLog;
};

TEST_F(ClearWritesOnlyTheSystemLog, EvenWhileAnotherLogIsShown) {
    auto expected = testing::folderSnapshot(dir.path());
    platform.dialogAnswers = {DialogResult::Yes};
    commands::clearLog(state, platform);

    const std::string marker = "12-06-2026 15:05:09:00 - PPPLOG.TXT cleared by KESTAL.EXE.\r\n";
    EXPECT_EQ(testing::fileContent(systemLog), marker);
    const auto after = testing::folderSnapshot(dir.path());
    auto changed = after;
    changed.erase("windows/ppplog.txt");
    expected.erase("windows/ppplog.txt");
    EXPECT_EQ(changed, expected);
    EXPECT_EQ(state.logPath, systemLog);
    EXPECT_EQ(platform.closeMainWindowCount, 1);
}

TEST_F(ClearWritesOnlyTheSystemLog, NothingAtAllWhenNotConfirmedOrNotPossible) {
    const struct {
        const char* name;
        DialogResult answer;
        std::optional<std::string> windowsDir;
        bool ends;  // the program ends
    } cases[] = {
        {"answered No", DialogResult::No, dir.file("windows"), false},
        {"system log can't be created (/sys)", DialogResult::Yes, "/sys", false},
        {"system log can't be created (/proc)", DialogResult::Yes, "/proc", false},
        {"system log is a folder", DialogResult::Yes, dir.file("windows/folder"), false},
        {"system log is a pipe nobody reads", DialogResult::Yes, dir.file("windows/pipe"), false},
        {"no Windows directory", DialogResult::Yes, std::nullopt, true},
    };
    fs::create_directories(dir.file("windows/folder/ppplog.txt"));
    fs::create_directories(dir.file("windows/pipe"));
    ASSERT_EQ(::mkfifo(dir.file("windows/pipe/ppplog.txt").c_str(), 0600), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = testing::folderSnapshot(dir.path());
        platform.windowsDir = c.windowsDir;
        platform.dialogAnswers = {c.answer};
        platform.closeMainWindowCount = 0;
        commands::clearLog(state, platform);
        EXPECT_EQ(testing::folderSnapshot(dir.path()), before);
        EXPECT_EQ(platform.closeMainWindowCount, c.ends ? 1 : 0);
    }
    EXPECT_FALSE(fs::exists("/sys/ppplog.txt"));
}

}  // namespace
}  // namespace kestal
