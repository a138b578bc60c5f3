#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "log/CallScan.h"
#include "log/LogTestHelpers.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::DialogRecord;
using testing::FakePlatform;
using testing::linesOf;
using testing::readBytes;
using testing::RecordingView;
using testing::TempDir;

namespace fs = std::filesystem;
using namespace std::string_literals;

// One complete call, every line ended by CR LF.
std::string callText(std::string_view start, std::string_view end) {
    return testing::crlfText({testing::logLine(start, "Remote access driver log opened."),
                              testing::logLine(end, "Remote access driver log closed.")});
}

class LoadLogTest : public ::testing::Test {
protected:
    LoadLogTest() {
        platform.windowsDir = dir.path().string();
        // Lets a test see, at each dialog, whether the grid was showing.
        platform.mainWindowVisible = [this] { return view.gridVisible; };
    }

    std::string defaultLog() const { return dir.file("ppplog.txt"); }

    // Loads path as loadLog does after Open.
    void load(const std::string& path) {
        state.logPath = path;
        commands::loadLog(state, platform, view);
    }

    std::vector<DialogRecord> dialogsOfKind(DialogRecord::Kind kind) const {
        std::vector<DialogRecord> found;
        for (const DialogRecord& d : platform.dialogs)
            if (d.kind == kind) found.push_back(d);
        return found;
    }

    // The state after a load: nothing busy, nothing hidden, nothing blocked.
    void expectSettled() const {
        EXPECT_FALSE(platform.busy());
        EXPECT_FALSE(view.gaugeVisible);
        EXPECT_FALSE(view.inputBlocked);
        EXPECT_TRUE(view.gridVisible);
        EXPECT_EQ(view.shownRowCount, state.table.rowCount());
    }

    TempDir dir;
    FakePlatform platform;
    RecordingView view;
    LogState state;
};

TEST_F(LoadLogTest, StartUpLoadsTheLogInTheWindowsDirectory) {
    dir.write("ppplog.txt", callText("09:00:00.00", "09:00:10.00") +
                                callText("10:00:00.00", "10:00:10.00") +
                                callText("11:00:00.00", "11:00:10.00"));
    commands::startUp(state, platform, view);
    EXPECT_EQ(state.logPath, defaultLog());
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(state.lines.size(), 6u);
    EXPECT_EQ(state.table.rowCount(), 4);
    EXPECT_EQ(view.statusText, "3 Calls");
    EXPECT_EQ(view.firstRowSelections, 1);
    expectSettled();
}

TEST_F(LoadLogTest, DefaultPathAppendsTheFileNameVerbatim) {
    std::string path;
    platform.windowsDir = "/win/";
    ASSERT_TRUE(defaultLogPath(platform, path));
    EXPECT_EQ(path, "/win//ppplog.txt");
    // The directory must fit the 256-byte buffer with its NUL: 255 bytes
    // do, a longer one is no Windows directory (never an empty or cut one).
    std::string directory;
    platform.windowsDir = "/" + std::string(254, 'w');
    ASSERT_TRUE(windowsDirectory(platform, directory));
    EXPECT_EQ(directory, *platform.windowsDir);
    platform.windowsDir = "/" + std::string(255, 'w');
    EXPECT_FALSE(windowsDirectory(platform, directory));
    EXPECT_FALSE(defaultLogPath(platform, path));
    platform.windowsDir.reset();
    EXPECT_FALSE(defaultLogPath(platform, path));
}

TEST_F(LoadLogTest, TempFileLiesBesideTheLog) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/a/b/ppplog.txt", "/a/b/ppplog.tmp"},
        {"/x.txt", "/ppplog.tmp"},
        {"ppplog.txt", "ppplog.tmp"},
        {"/a/b/", "/a/b/ppplog.tmp"},
        {"/a.b/c", "/a.b/ppplog.tmp"}};
    for (const auto& [log, temp] : cases) EXPECT_EQ(tempPathFor(log), temp) << log;
}

TEST_F(LoadLogTest, SizeCheckAsksOnlyWhenTheLengthsDiffer) {
    struct Case {
        const char* name;
        std::string bytes;
        bool asks;
    };
    const std::vector<Case> cases = {
        {"every line ended by CR LF", callText("09:00:00.00", "09:00:10.00"), false},
        {"empty log", "", false},
        {"last line without line end", "a\r\nb", true},
        {"line feeds alone", "a\nb\n", true},
        {"NUL byte", "a\r\nb\0\r\n"s, true},
        {"lone LF and NUL cancel out", "a\nb\0\r\n"s, false},
    };
    for (const Case& c : cases) {
        platform.dialogs.clear();
        const std::string path = dir.write("log.txt", c.bytes);
        load(path);
        const bool asked =
            !platform.dialogs.empty() && platform.dialogs[0].text == kAttemptLoadQuestion;
        EXPECT_EQ(asked, c.asks) << c.name;
        if (c.asks) {
            // Unanswered: No, then the warning, then the scan.
            ASSERT_EQ(platform.dialogs.size(), 2u) << c.name;
            EXPECT_EQ(platform.dialogs[0].type, DialogType::Warning);
            EXPECT_EQ(platform.dialogs[0].buttons, DialogButtons::YesNo);
            EXPECT_EQ(platform.dialogs[1].text, "Some calls may not be listed!");
            EXPECT_EQ(platform.dialogs[1].type, DialogType::Warning);
            EXPECT_EQ(platform.dialogs[1].buttons, DialogButtons::Ok);
        } else {
            EXPECT_TRUE(platform.dialogs.empty()) << c.name;
        }
        EXPECT_EQ(readBytes(path), c.bytes) << c.name;
    }
}

TEST_F(LoadLogTest, EmptyLogLeavesTheEmptyRow) {
    load(dir.write("log.txt", ""));
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(state.table.rowCount(), 2);
    EXPECT_EQ(state.table.cell(0, 1), "");
    EXPECT_EQ(view.tablesShown, 1);
    expectSettled();
}

// A log with a NUL byte inside its second call's opening line.
std::string logWithNul() {
    return callText("09:00:00.00", "09:00:10.00") + "12-01-2026 10:00:00.00 - Remote ac\0"s +
           "cess driver log opened.\r\n" +
           testing::crlfText({testing::logLine("10:00:20.00", "Remote access driver log closed.")});
}

TEST_F(LoadLogTest, NulAnsweredNoScansTheLinesBeforeIt) {
    const std::string bytes = logWithNul();
    const std::string path = dir.write("log.txt", bytes);
    platform.dialogAnswers = {DialogResult::No};
    load(path);
    EXPECT_EQ(platform.dialogTexts(), (std::vector<std::string>{std::string(kAttemptLoadQuestion),
                                                                "Some calls may not be listed!"}));
    EXPECT_EQ(linesOf(state.lines).back(), "12-01-2026 10:00:00.00 - Remote ac");
    EXPECT_EQ(state.lines.size(), 3u);
    EXPECT_EQ(state.table.rowCount(), 2);  // the cut line holds no "log opened"
    EXPECT_TRUE(view.gaugeProgress.empty());
    EXPECT_TRUE(platform.deletedFiles.empty());
    EXPECT_FALSE(fs::exists(dir.file("ppplog.tmp")));
    EXPECT_EQ(readBytes(path), bytes);
    expectSettled();
}

TEST_F(LoadLogTest, NulAnsweredYesRepairsThroughTheTempFile) {
    const std::string bytes = logWithNul();
    const std::string path = dir.write("log.txt", bytes);
    platform.dialogAnswers = {DialogResult::Yes};
    load(path);
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{std::string(kAttemptLoadQuestion)});
    EXPECT_EQ(
        linesOf(state.lines),
        (std::vector<std::string>{"12-01-2026 09:00:00.00 - Remote access driver log opened.",
                                  "12-01-2026 09:00:10.00 - Remote access driver log closed.",
                                  "12-01-2026 10:00:00.00 - Remote access driver log opened.",
                                  "12-01-2026 10:00:20.00 - Remote access driver log closed."}));
    EXPECT_EQ(state.table.rowCount(), 3);
    EXPECT_EQ(state.table.cell(2, 2), "00:00:20");
    EXPECT_EQ(platform.deletedFiles, std::vector<std::string>{dir.file("ppplog.tmp")});
    EXPECT_FALSE(fs::exists(dir.file("ppplog.tmp")));
    EXPECT_EQ(readBytes(path), bytes);
    // Busy for the read, the repair and the scan.
    EXPECT_EQ(platform.cursorChanges, (std::vector<bool>{true, false, true, false, true, false}));
    EXPECT_EQ(view.inputBlockChanges, (std::vector<bool>{true, false}));
    expectSettled();
}

TEST_F(LoadLogTest, RepairWithoutNulGivesTheSameLines) {
    const std::string bytes = callText("09:00:00.00", "09:00:10.00") + "trailing";
    load(dir.write("log.txt", bytes));
    const std::vector<std::string> before = linesOf(state.lines);
    platform.dialogs.clear();
    platform.dialogAnswers = {DialogResult::Yes};
    state.table.reset();
    load(dir.file("log.txt"));
    EXPECT_EQ(linesOf(state.lines), before);
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{std::string(kAttemptLoadQuestion)});
    EXPECT_EQ(state.table.rowCount(), 2);
    EXPECT_EQ(state.table.cell(1, 1), "12-01-2026 09:00:10");
}

TEST_F(LoadLogTest, GaugeMovesAtEveryWholeThousandBytes) {
    std::string bytes(2500, 'x');
    bytes[10] = '\0';
    bytes[1999] = '\0';
    const std::string path = dir.write("log.txt", bytes);
    platform.dialogAnswers = {DialogResult::Yes};
    std::vector<std::string> duringPump;
    platform.onProcessMessages = [&] {
        duringPump.push_back(std::string(view.gaugeVisible ? "gauge " : "") +
                             (view.inputBlocked ? "blocked " : "") +
                             (platform.busy() ? "busy" : ""));
    };
    load(path);
    EXPECT_EQ(view.gaugeProgress, (std::vector<int>{40, 80}));
    EXPECT_EQ(platform.pumpCount, 2);
    EXPECT_EQ(duringPump, (std::vector<std::string>{"gauge blocked busy", "gauge blocked busy"}));
    EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{std::string(2498, 'x')});
    EXPECT_EQ(readBytes(path), bytes);
    expectSettled();
}

TEST_F(LoadLogTest, RepairNeverWritesThroughALinkNamedLikeTheTempFile) {
    const std::string victim = dir.write("victim.txt", "precious\r\n");
    fs::create_directory(dir.path() / "logs");
    fs::create_symlink(victim, dir.path() / "logs" / "ppplog.tmp");
    const std::string path = dir.write("logs/log.txt", "a\0b\r\n"s);
    platform.dialogAnswers = {DialogResult::Yes};
    load(path);
    EXPECT_EQ(readBytes(victim), "precious\r\n");
    EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{"ab"});
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "logs" / "ppplog.tmp")));
    EXPECT_TRUE(dialogsOfKind(DialogRecord::Kind::ErrorReport).empty());
}

TEST_F(LoadLogTest, TempFileFailuresAreReportedAndTheLinesReadBeforeScanned) {
    struct Case {
        const char* name;
        std::function<void(const std::string& temp)> arrange;
        std::function<std::string(const std::string& temp)> report;
    };
    const std::vector<Case> cases = {
        {"can't be created: a folder of that name, with a file in it",
         [](const std::string& temp) {
             fs::create_directory(temp);
             std::ofstream(temp + "/keep") << "x";
         },
         [](const std::string& temp) { return "Cannot create file " + temp + "."; }},
    };
    for (const Case& c : cases) {
        TempDir folder;
        const std::string bytes = callText("09:00:00.00", "09:00:10.00") + std::string(3000, '\0') +
                                  callText("10:00:00.00", "10:00:10.00");
        const std::string path = folder.write("log.txt", bytes);
        const std::string temp = folder.file("ppplog.tmp");
        c.arrange(temp);
        platform.dialogs.clear();
        platform.deletedFiles.clear();
        platform.dialogAnswers = {DialogResult::Yes};
        state.table.reset();
        load(path);
        platform.onProcessMessages = nullptr;

        const auto reports = dialogsOfKind(DialogRecord::Kind::ErrorReport);
        ASSERT_EQ(reports.size(), 1u) << c.name;
        EXPECT_EQ(reports[0].text, c.report(temp)) << c.name;
        EXPECT_EQ(platform.dialogs.back().text, "Some calls may not be listed!") << c.name;
        EXPECT_EQ(state.lines.size(), 2u) << c.name;  // the lines before the NUL bytes
        EXPECT_EQ(state.table.rowCount(), 2) << c.name;
        EXPECT_EQ(state.table.cell(0, 1), "12-01-2026 09:00:00") << c.name;
        EXPECT_EQ(readBytes(path), bytes) << c.name;
        expectSettled();
    }
}

TEST_F(LoadLogTest, TempFolderThatCantBeReplacedIsLeftAlone) {
    const std::string temp = dir.file("ppplog.tmp");
    fs::create_directory(temp);
    std::ofstream(temp + "/keep") << "x";
    platform.dialogAnswers = {DialogResult::Yes};
    load(dir.write("log.txt", "a\0b\r\n"s));
    EXPECT_TRUE(fs::exists(temp + "/keep"));
    EXPECT_TRUE(platform.deletedFiles.empty());
}

TEST_F(LoadLogTest, TempFileThatCantBeWrittenIsReportedAndRemoved) {
    const std::string bytes = "a\0"s + std::string(5000, 'b') + "\r\n";
    const std::string path = dir.write("log.txt", bytes);
    platform.dialogAnswers = {DialogResult::Yes};
    // A file size limit fails the writes, also for root.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    load(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    const auto reports = dialogsOfKind(DialogRecord::Kind::ErrorReport);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, withFullStop(ioErrorText(ioCodeFromErrno(EFBIG, false))));
    EXPECT_EQ(platform.deletedFiles, std::vector<std::string>{dir.file("ppplog.tmp")});
    EXPECT_FALSE(fs::exists(dir.file("ppplog.tmp")));
    EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{"a"});
    EXPECT_EQ(platform.dialogs.back().text, "Some calls may not be listed!");
    expectSettled();
}

TEST_F(LoadLogTest, LogNamedLikeTheTempFileIsNeverRemoved) {
    const std::string bytes = "a\0b\r\n"s;
    const std::string path = dir.write("ppplog.tmp", bytes);
    platform.dialogAnswers = {DialogResult::Yes};
    load(path);
    EXPECT_EQ(readBytes(path), bytes);
    const auto reports = dialogsOfKind(DialogRecord::Kind::ErrorReport);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, "Cannot create file " + path + ".");
    EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{"a"});

    // Nor when it is reached through a link of another name.
    platform.dialogs.clear();
    fs::create_symlink(path, dir.path() / "other.txt");
    platform.dialogAnswers = {DialogResult::Yes};
    load(dir.file("other.txt"));
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_EQ(dialogsOfKind(DialogRecord::Kind::ErrorReport).size(), 1u);
}

TEST_F(LoadLogTest, FailedOpenTestChangesNothing) {
    const std::string fifo = dir.file("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(dir.path() / "folder.txt");
    fs::create_symlink(dir.file("nowhere.txt"), dir.path() / "dangling.txt");
    const std::vector<std::string> paths = {dir.file("missing.txt"), dir.file("folder.txt"), fifo,
                                            dir.file("dangling.txt"),
                                            dir.file("missing/dir/log.txt")};
    for (const std::string& path : paths) {
        LogState before;
        before.lines.assign("old line\r\n");
        before.table.setCell(0, 1, "12-01-2026 09:00:00");
        state.lines.assign("old line\r\n");
        state.table.reset();
        state.table.setCell(0, 1, "12-01-2026 09:00:00");
        platform.dialogs.clear();
        platform.errorModes.clear();
        view = RecordingView();
        view.statusText = "5 Calls";

        load(path);
        ASSERT_EQ(platform.dialogs.size(), 1u) << path;
        EXPECT_EQ(platform.dialogs[0].text, kLogInUse) << path;
        EXPECT_EQ(platform.dialogs[0].type, DialogType::Error) << path;
        EXPECT_EQ(platform.dialogs[0].buttons, DialogButtons::Ok) << path;
        EXPECT_EQ(platform.errorModes, (std::vector<unsigned>{1, 0})) << path;
        EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{"old line"}) << path;
        EXPECT_EQ(testing::dumpTable(state.table), testing::dumpTable(before.table)) << path;
        EXPECT_EQ(view.statusText, "5 Calls") << path;
        EXPECT_EQ(view.tablesShown, 0) << path;
        EXPECT_TRUE(platform.cursorChanges.empty()) << path;
    }
}

TEST_F(LoadLogTest, FileThatPassesTheTestButCantBeReadEmptiesTheLines) {
    // Reading the start of a process's own memory fails although the file
    // opens for reading and writing.
    const int probe = ::open("/proc/self/mem", O_RDWR);
    if (probe < 0) GTEST_SKIP() << "no /proc/self/mem to open";
    ::close(probe);
    state.lines.assign("old line\r\n");
    state.table.setCell(0, 1, "12-01-2026 09:00:00");
    load("/proc/self/mem");
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].kind, DialogRecord::Kind::ErrorReport);
    EXPECT_EQ(platform.dialogs[0].text, "Cannot open file /proc/self/mem.");
    EXPECT_TRUE(state.lines.empty());
    EXPECT_EQ(state.table.cell(0, 1), "12-01-2026 09:00:00");
    EXPECT_EQ(view.tablesShown, 0);
    expectSettled();
}

TEST_F(LoadLogTest, ScanWarnsPerCorruptCallWithTheGridHidden) {
    load(dir.write("log.txt", callText("09:0x:00.00", "09:00:10.00") +
                                  callText("10:00:00.00", "10:00:1x.00")));
    ASSERT_EQ(platform.dialogs.size(), 2u);
    for (const DialogRecord& d : platform.dialogs) {
        EXPECT_EQ(d.text, "The PPPLOG.TXT file appears to have been corrupted.");
        EXPECT_EQ(d.type, DialogType::Warning);
        EXPECT_EQ(d.buttons, DialogButtons::Ok);
        EXPECT_FALSE(d.mainWindowVisible);  // the grid was hidden
    }
    EXPECT_EQ(state.table.cell(2, 1), "-       ");
    EXPECT_EQ(state.table.cell(2, 2), "-       ");
    EXPECT_EQ(platform.cursorChanges, (std::vector<bool>{true, false, true, false}));
    expectSettled();
}

TEST_F(LoadLogTest, OpenCancelledChangesNothing) {
    FileDialog openDialog;
    openDialog.filter = "Text (*.txt)|*.txt";
    openDialog.initialDir = "/somewhere";
    state.logPath = "/old/ppplog.txt";
    view.statusText = "4 Calls";
    platform.fileDialogAnswers = {std::nullopt};
    commands::openLog(state, platform, view, openDialog);
    ASSERT_EQ(platform.fileDialogsShown.size(), 1u);
    EXPECT_EQ(platform.fileDialogsShown[0].initialDir, dir.path().string());
    EXPECT_EQ(state.logPath, "/old/ppplog.txt");
    EXPECT_EQ(view.statusText, "4 Calls");
    EXPECT_EQ(view.caption, "Kestal File Viewer");
    EXPECT_TRUE(view.clearEnabled);
    EXPECT_EQ(view.tablesShown, 0);
    EXPECT_TRUE(platform.errorModes.empty());
}

TEST_F(LoadLogTest, OpenShowsTheChosenFile) {
    dir.write("ppplog.txt", callText("09:00:00.00", "09:00:10.00") +
                                callText("10:00:00.00", "10:00:10.00") +
                                callText("11:00:00.00", "11:00:10.00"));
    commands::startUp(state, platform, view);
    ASSERT_EQ(view.statusText, "3 Calls");
    const std::string other = dir.write("other.txt", callText("12:00:00.00", "12:00:10.00") +
                                                         callText("13:00:00.00", "13:00:05.00"));
    FileDialog openDialog;
    platform.fileDialogAnswers = {other};
    commands::openLog(state, platform, view, openDialog);
    EXPECT_EQ(state.logPath, other);
    EXPECT_EQ(view.caption, "Kestal File Viewer - " + other);
    EXPECT_FALSE(view.clearEnabled);
    EXPECT_EQ(view.statusText, "");  // two calls: the label stays emptied
    EXPECT_EQ(state.table.rowCount(), 3);
    EXPECT_EQ(state.table.cell(0, 1), "12-01-2026 12:00:00");
    EXPECT_EQ(state.table.cell(2, 2), "00:00:05");
    EXPECT_EQ(view.shownRowCount, state.table.rowCount());
    EXPECT_EQ(view.tablesShown, 3);  // start-up scan, reset, scan
}

TEST_F(LoadLogTest, ClearFollowsTheDefaultPathWhateverItsLetterCase) {
    platform.windowsDir = "/Win/Dir";
    struct Case {
        std::optional<std::string> windowsDir;
        std::string chosen;
        bool clearEnabled;
    };
    const std::vector<Case> cases = {
        {"/Win/Dir", "/Win/Dir/ppplog.txt", true},
        {"/Win/Dir", "/WIN/dir/PPPLOG.TXT", true},
        {"/Win/Dir", "/Win/Dir/ppplog.txt.bak", false},
        {"/Win/Dir", "/Win/Other/ppplog.txt", false},
        {std::nullopt, "/Win/Dir/ppplog.txt", false},  // no Windows directory: no default log
    };
    for (const Case& c : cases) {
        platform.windowsDir = c.windowsDir;
        FileDialog openDialog;
        openDialog.initialDir = "/before";
        platform.fileDialogAnswers = {c.chosen};
        commands::openLog(state, platform, view, openDialog);
        EXPECT_EQ(view.clearEnabled, c.clearEnabled) << c.chosen;
        EXPECT_EQ(openDialog.initialDir, c.windowsDir.value_or("/before")) << c.chosen;
    }
}

TEST_F(LoadLogTest, FailedOpenLeavesAnEmptyTableUnderTheNewCaption) {
    dir.write("ppplog.txt", callText("09:00:00.00", "09:00:10.00") +
                                callText("10:00:00.00", "10:00:10.00") +
                                callText("11:00:00.00", "11:00:10.00"));
    commands::startUp(state, platform, view);
    const std::vector<std::string> oldLines = linesOf(state.lines);
    const std::string missing = dir.file("gone.txt");
    FileDialog openDialog;
    platform.fileDialogAnswers = {missing};
    commands::openLog(state, platform, view, openDialog);
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{std::string(kLogInUse)});
    EXPECT_EQ(view.caption, "Kestal File Viewer - " + missing);
    EXPECT_EQ(view.statusText, "");
    EXPECT_EQ(state.table.rowCount(), 2);
    EXPECT_EQ(state.table.cell(0, 1), "");
    EXPECT_EQ(linesOf(state.lines), oldLines);
    EXPECT_EQ(state.logPath, missing);
}

}  // namespace
}  // namespace kestal
