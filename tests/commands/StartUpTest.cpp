// Start-up with a log named on the command line or without any Windows
// directory, and logs that can only be read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "commands/LoadLog.h"
#include "log/LogTestHelpers.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::RecordingView;
using testing::TempDir;

std::string twoCalls() {
    return testing::crlfText({testing::logLine("09:00:00.00", "Remote access driver log opened."),
                              testing::logLine("09:00:10.00", "Remote access driver log closed."),
                              testing::logLine("10:00:00.00", "Remote access driver log opened."),
                              testing::logLine("10:00:05.00", "Remote access driver log closed.")});
}

class StartUpTest : public ::testing::Test {
protected:
    StartUpTest() { platform.windowsDir = dir.path().string(); }

    TempDir dir;
    FakePlatform platform;
    RecordingView view;
    LogState state;
};

TEST_F(StartUpTest, WithoutWindowsDirectoryTheTableStaysEmptyAndTheStatusSaysHowToOpenALog) {
    platform.windowsDir.reset();
    commands::startUp(state, platform, view);
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_TRUE(platform.errorModes.empty());  // no load was tried
    EXPECT_EQ(view.statusText, kNoSystemLog);
    EXPECT_FALSE(view.clearEnabled);
    EXPECT_EQ(view.caption, "Kestal File Viewer");
    EXPECT_EQ(state.table.rowCount(), 2);
    EXPECT_TRUE(state.lines.empty());
    EXPECT_TRUE(state.logPath.empty());
}

TEST_F(StartUpTest, LogFileIsLoadedAsOpenLoadsIt) {
    const std::string other = dir.write("other.txt", twoCalls());
    const std::string system = dir.write("ppplog.txt", twoCalls());
    struct Case {
        std::optional<std::string> windowsDir;
        std::string logFile;
        bool clearEnabled;
        std::vector<std::string> dialogs;
    };
    const std::vector<Case> cases = {
        {dir.path().string(), other, false, {}},
        {dir.path().string(), system, true, {}},
        {std::nullopt, other, false, {}},  // no Windows directory needed
        {dir.path().string(), dir.file("gone.txt"), false, {std::string(kLogInUse)}},
    };
    for (const Case& c : cases) {
        FakePlatform fresh;
        fresh.windowsDir = c.windowsDir;
        RecordingView freshView;
        LogState freshState;
        commands::startUp(freshState, fresh, freshView, c.logFile);
        EXPECT_EQ(freshState.logPath, c.logFile);
        EXPECT_EQ(freshView.caption, "Kestal File Viewer - " + c.logFile);
        EXPECT_EQ(freshView.clearEnabled, c.clearEnabled) << c.logFile;
        EXPECT_EQ(fresh.dialogTexts(), c.dialogs) << c.logFile;
        EXPECT_EQ(freshState.table.rowCount(), c.dialogs.empty() ? 3 : 2) << c.logFile;
    }
}

// Root opens any file for writing, so the check runs as an ordinary user in
// a child process: a log without write permission is shown, a log without
// read permission keeps the message of a failed open.
TEST_F(StartUpTest, LogThatCanOnlyBeReadIsShown) {
    namespace fs = std::filesystem;
    const std::string readOnly = dir.write("read-only.txt", twoCalls());
    const std::string unreadable = dir.write("unreadable.txt", twoCalls());
    fs::permissions(dir.path(), fs::perms(0755));
    fs::permissions(readOnly, fs::perms(0444));
    fs::permissions(unreadable, fs::perms(0));
    auto loadAsUser = [&] {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) std::_Exit(9);
        LogState shown;
        shown.logPath = readOnly;
        commands::loadLog(shown, platform, view);
        const bool readOnlyShown = shown.table.rowCount() == 3 && platform.dialogs.empty();
        LogState refused;
        refused.logPath = unreadable;
        commands::loadLog(refused, platform, view);
        const bool unreadableRefused =
            refused.table.rowCount() == 2 &&
            platform.dialogTexts() == std::vector<std::string>{std::string(kLogInUse)};
        std::_Exit((readOnlyShown ? 0 : 1) | (unreadableRefused ? 0 : 2));
    };
    EXPECT_EXIT(loadAsUser(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestal
