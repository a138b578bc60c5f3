// File > Open: the chosen log, its caption, and Clear following the system log.
#include "commands/LoadLogFixture.h"

namespace kestal::testing {
namespace {

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
    EXPECT_EQ(state.table.rowCount(), 2);
    EXPECT_EQ(state.table.cell(Column::StartTime, 0), "12-01-2026 12:00:00");
    EXPECT_EQ(state.table.cell(Column::Duration, 1), "00:00:05");
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
    EXPECT_EQ(state.table.rowCount(), 1);
    EXPECT_EQ(state.table.cell(Column::StartTime, 0), "");
    EXPECT_EQ(linesOf(state.lines), oldLines);
    EXPECT_EQ(state.logPath, missing);
}

// A dropped or recent file: refused, with the shown log kept, when it is a
// folder or its first bytes are no PPP log; opened as File > Open opens
// anything else, a file that can't be read included.
TEST_F(LoadLogTest, AnotherLogIsLookedAtBeforeItReplacesTheShownOne) {
    const std::string shown = dir.write("ppplog.txt", callText("09:00:00.00", "09:00:10.00") +
                                                          callText("10:00:00.00", "10:00:10.00") +
                                                          callText("11:00:00.00", "11:00:10.00"));
    std::filesystem::create_directory(dir.file("folder"));
    struct Case {
        const char* name;
        std::string path;
        std::string message;  // none: opened
    };
    const std::string png = dir.write("picture.png", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10"s);
    const std::string list = dir.write("notes.txt", "milk\nbread\n");
    const std::vector<Case> cases = {
        {"a picture", png, notAPppLogText(png)},
        {"plain text", list, notAPppLogText(list)},
        {"a folder", dir.file("folder"), folderNotALogText(dir.file("folder"))},
        {"a pipe", dir.file("pipe"), notAPppLogText(dir.file("pipe"))},
        {"a log of LF line ends", dir.write("unix.txt", "12-01-2026 08:00:00.00 - x\n"), ""},
        {"an empty log", dir.write("empty.txt", ""), ""},
        {"a missing file", dir.file("gone.txt"), std::string(kLogInUse)},
    };
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    for (const Case& c : cases) {
        commands::openLogFile(state, platform, view, shown);
        platform.dialogs.clear();
        const bool opened = commands::openOtherLog(state, platform, view, c.path);
        EXPECT_EQ(opened, c.message.empty() || c.message == kLogInUse) << c.name;
        if (c.message.empty()) {
            EXPECT_TRUE(platform.dialogs.empty()) << c.name;
        } else {
            ASSERT_EQ(platform.dialogs.size(), 1u) << c.name;
            EXPECT_EQ(platform.dialogs[0].text, c.message) << c.name;
            EXPECT_EQ(platform.dialogs[0].type, DialogType::Error) << c.name;
        }
        if (opened) {
            EXPECT_EQ(state.logPath, c.path) << c.name;
            EXPECT_EQ(view.caption, "Kestal File Viewer - " + c.path) << c.name;
        } else {
            EXPECT_EQ(state.logPath, shown) << c.name;
            EXPECT_EQ(view.caption, "Kestal File Viewer - " + shown) << c.name;
            EXPECT_EQ(state.table.rowCount(), 3) << c.name;
            EXPECT_EQ(view.statusText, "3 Calls") << c.name;
        }
    }
}

}  // namespace
}  // namespace kestal::testing
