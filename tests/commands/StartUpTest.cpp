// Start-up with a log named on the command line, and logs that can only be
// read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "commands/LoadLog.h"
#include "commands/Messages.h"
#include "commands/SystemLog.h"
#include "support/FakePlatform.h"
#include "support/LogTestHelpers.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::RecordingView;

const std::string kTwoCalls =
    testing::crlfText({testing::logLine("09:00:00.00", "Remote access driver log opened."),
                       testing::logLine("09:00:10.00", "Remote access driver log closed."),
                       testing::logLine("10:00:00.00", "Remote access driver log opened.")});

TEST(StartUp, LogFileIsLoadedAsOpenLoadsIt) {
    const testing::TempDir dir;
    struct Case {
        std::optional<std::string> windowsDir;
        std::string logFile;
        bool clearEnabled;
        std::vector<std::string> dialogs;
    };
    const std::vector<Case> cases = {
        {dir.path().string(), dir.write("other.txt", kTwoCalls), false, {}},
        {dir.path().string(), dir.write("ppplog.txt", kTwoCalls), true, {}},
        {std::nullopt, dir.file("other.txt"), false, {}},  // no Windows directory needed
        {dir.path().string(), dir.file("gone.txt"), false, {std::string(kLogInUse)}},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.windowsDir = c.windowsDir;
        RecordingView view;
        LogState state;
        commands::startUp(state, platform, view, c.logFile);
        EXPECT_EQ(view.caption, "Kestal File Viewer - " + c.logFile);
        EXPECT_EQ(view.clearEnabled, c.clearEnabled) << c.logFile;
        EXPECT_EQ(platform.dialogTexts(), c.dialogs) << c.logFile;
        EXPECT_EQ(state.table.rowCount(), c.dialogs.empty() ? 2 : 1) << c.logFile;
    }
}

// Root opens any file for writing, so this runs as an ordinary user in a
// child process: a log without write permission is shown, one without read
// permission keeps the message of a failed open.
TEST(StartUp, LogThatCanOnlyBeReadIsShown) {
    namespace fs = std::filesystem;
    const testing::TempDir dir;
    const std::string readOnly = dir.write("read-only.txt", kTwoCalls);
    const std::string unreadable = dir.write("unreadable.txt", kTwoCalls);
    fs::permissions(dir.path(), fs::perms(0755));
    fs::permissions(readOnly, fs::perms(0444));
    fs::permissions(unreadable, fs::perms(0));
    auto loadAsUser = [&] {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) std::_Exit(9);
        FakePlatform platform;
        RecordingView view;
        LogState shown, refused;
        shown.logPath = readOnly;
        commands::loadLog(shown, platform, view);
        const bool readOnlyShown = shown.table.rowCount() == 2 && platform.dialogs.empty();
        refused.logPath = unreadable;
        commands::loadLog(refused, platform, view);
        const bool unreadableRefused =
            refused.table.rowCount() == 1 &&
            platform.dialogTexts() == std::vector<std::string>{std::string(kLogInUse)};
        std::_Exit((readOnlyShown ? 0 : 1) | (unreadableRefused ? 0 : 2));
    };
    EXPECT_EXIT(loadAsUser(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestal
