// Whatever may take a while shows the busy cursor, and no dialog ever
// waits for an answer under it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "robustness/RobustnessHelpers.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::RecordingView;
using testing::TempDir;

// Remembers whether the cursor was busy at each dialog, and whether it had
// been busy at all before it.
class CursorWatchingPlatform : public FakePlatform {
public:
    struct AtDialog {
        std::string text;
        bool busyNow;
        bool busyBefore;
    };
    std::vector<AtDialog> atDialogs;

    DialogResult messageDlg(std::string_view text, DialogType type,
                            DialogButtons buttons) override {
        const bool before =
            std::find(cursorChanges.begin(), cursorChanges.end(), true) != cursorChanges.end();
        atDialogs.push_back({std::string(text), busy(), before});
        return FakePlatform::messageDlg(text, type, buttons);
    }
};

TEST(BusyCursor, ReadingABigLogShowsItAndTheQuestionComesWithoutIt) {
    TempDir dir;
    // 50 MB with a NUL byte at the end, so that the question follows the read.
    std::string bytes = testing::firstCall();
    bytes.resize(50u << 20, 'x');
    bytes.back() = '\0';
    CursorWatchingPlatform platform;
    RecordingView view;
    LogState state;
    state.logPath = dir.write("ppplog.txt", bytes);
    platform.dialogAnswers = {DialogResult::No};
    commands::loadLog(state, platform, view);

    ASSERT_FALSE(platform.atDialogs.empty());
    EXPECT_EQ(platform.atDialogs[0].text, kAttemptLoadQuestion);
    EXPECT_TRUE(platform.atDialogs[0].busyBefore) << "the log was read under the normal cursor";
    for (const auto& dialog : platform.atDialogs) EXPECT_FALSE(dialog.busyNow) << dialog.text;
    EXPECT_FALSE(platform.busy());
}

}  // namespace
}  // namespace kestal
