// The loading commands' test fixture: a Windows folder in a scratch
// folder, the scripted platform and a recording view.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calls/CallScan.h"
#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"
#include "support/LogTestHelpers.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal::testing {

using namespace std::string_literals;

// One complete call, every line ended by CR LF.
inline std::string callText(std::string_view start, std::string_view end) {
    return crlfText({logLine(start, "Remote access driver log opened."),
                     logLine(end, "Remote access driver log closed.")});
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

}  // namespace kestal::testing
