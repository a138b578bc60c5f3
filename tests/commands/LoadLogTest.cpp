// Loading the log: start-up, the size check, the open test and the scan.
#include <fcntl.h>

#include "commands/LoadLogFixture.h"

namespace kestal::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(LoadLogTest, StartUpLoadsTheLogInTheWindowsDirectory) {
    dir.write("ppplog.txt", callText("09:00:00.00", "09:00:10.00") +
                                callText("10:00:00.00", "10:00:10.00") +
                                callText("11:00:00.00", "11:00:10.00"));
    commands::startUp(state, platform, view);
    EXPECT_EQ(state.logPath, defaultLog());
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(state.lines.size(), 6u);
    EXPECT_EQ(state.table.rowCount(), 3);
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

// The question comes exactly when a NUL byte ended the text before the
// file's end, whatever the line ends; no NUL, no question.
TEST_F(LoadLogTest, AsksOnlyWhenANulByteEndedTheText) {
    struct Case {
        const char* name;
        std::string bytes;
        bool asks;
        std::size_t linesAfterNo;
    };
    const std::string call = callText("09:00:00.00", "09:00:10.00");
    std::string lfOnly = call;
    std::erase(lfOnly, '\r');
    std::string crOnly = call;
    std::erase(crOnly, '\n');
    const std::vector<Case> cases = {
        {"CR LF", call, false, 2},
        {"LF alone", lfOnly, false, 2},
        {"CR alone", crOnly, false, 2},
        {"empty log", "", false, 0},
        {"last line without line end", "a\r\nb", false, 2},
        {"NUL in the middle", "a\r\nb\0c\r\nd\r\n"s, true, 2},
        {"NUL in the last byte", "a\r\nb\r\n\0"s, true, 2},
        {"NUL first", "\0a\r\n"s, true, 0},
        {"lone LF and NUL that cancel out in length", "a\nb\0\r\n"s, true, 2},
    };
    for (const Case& c : cases) {
        platform.dialogs.clear();
        const std::string path = dir.write("log.txt", c.bytes);
        load(path);
        const bool asked =
            !platform.dialogs.empty() && platform.dialogs[0].text == kAttemptLoadQuestion;
        EXPECT_EQ(asked, c.asks) << c.name;
        if (c.asks) {
            // Unanswered: No, then the warning, then the scan of the lines
            // before the NUL.
            ASSERT_EQ(platform.dialogs.size(), 2u) << c.name;
            EXPECT_EQ(platform.dialogs[0].type, DialogType::Warning);
            EXPECT_EQ(platform.dialogs[0].buttons, DialogButtons::YesNo);
            EXPECT_EQ(platform.dialogs[1].text, "Some calls may not be listed!");
            EXPECT_EQ(platform.dialogs[1].type, DialogType::Warning);
            EXPECT_EQ(platform.dialogs[1].buttons, DialogButtons::Ok);
        } else {
            EXPECT_TRUE(platform.dialogs.empty()) << c.name;
        }
        EXPECT_EQ(state.lines.size(), c.linesAfterNo) << c.name;
        EXPECT_EQ(readBytes(path), c.bytes) << c.name;
        expectSettled();
    }
    // Whatever its line ends, the call is listed.
    for (const std::string& bytes : {lfOnly, crOnly}) {
        platform.dialogs.clear();
        load(dir.write("log.txt", bytes));
        EXPECT_EQ(state.table.rowCount(), 1);
        EXPECT_EQ(state.table.cell(Column::StartTime, 0), call.substr(0, 19));
    }
}

TEST_F(LoadLogTest, EmptyLogLeavesTheEmptyRow) {
    load(dir.write("log.txt", ""));
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(state.table.rowCount(), 1);
    EXPECT_EQ(state.table.cell(Column::StartTime, 0), "");
    EXPECT_EQ(view.tablesShown, 1);
    expectSettled();
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
        before.table.setCell(Column::StartTime, 0, "12-01-2026 09:00:00");
        state.lines.assign("old line\r\n");
        state.table.reset();
        state.table.setCell(Column::StartTime, 0, "12-01-2026 09:00:00");
        platform.dialogs.clear();
        view = RecordingView();
        view.statusText = "5 Calls";

        load(path);
        ASSERT_EQ(platform.dialogs.size(), 1u) << path;
        EXPECT_EQ(platform.dialogs[0].text, kLogInUse) << path;
        EXPECT_EQ(platform.dialogs[0].type, DialogType::Error) << path;
        EXPECT_EQ(platform.dialogs[0].buttons, DialogButtons::Ok) << path;
        EXPECT_EQ(linesOf(state.lines), std::vector<std::string>{"old line"}) << path;
        EXPECT_EQ(dumpTable(state.table), dumpTable(before.table)) << path;
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
    state.table.setCell(Column::StartTime, 0, "12-01-2026 09:00:00");
    load("/proc/self/mem");
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].kind, DialogRecord::Kind::ErrorReport);
    EXPECT_EQ(platform.dialogs[0].text, "Cannot open file /proc/self/mem.");
    EXPECT_TRUE(state.lines.empty());
    EXPECT_EQ(state.table.cell(Column::StartTime, 0), "12-01-2026 09:00:00");
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
    EXPECT_EQ(state.table.cell(Column::Duration, 0), "-       ");
    EXPECT_EQ(state.table.cell(Column::Duration, 1), "-       ");
    EXPECT_EQ(platform.cursorChanges, (std::vector<bool>{true, false, true, false}));
    expectSettled();
}

}  // namespace
}  // namespace kestal::testing
