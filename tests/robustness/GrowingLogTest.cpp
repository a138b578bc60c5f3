// The Dial-Up Networking may append to its log at any moment, also while
// the program reads it. Every load must finish and show a table that agrees
// with the lines it read: one row per "log opened" line, in order.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "calls/CallScan.h"
#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "commands/Messages.h"
#include "robustness/RobustnessHelpers.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::RecordingView;
using testing::TempDir;

// Call number n, starting n seconds after 08:00:00 and lasting 30 seconds.
std::string numberedCall(int n) {
    auto at = [](int seconds) {
        char text[32];
        std::snprintf(text, sizeof text, "12-05-2026 %02d:%02d:%02d.10", 8 + seconds / 3600 % 16,
                      seconds / 60 % 60, seconds % 60);
        return std::string(text);
    };
    return testing::joinLines(
        {testing::logLine(at(n), "Remote access driver log opened."),
         testing::logLine(at(n), "LCP : Layer up"),
         testing::counterLine(at(n + 30), "Bytes Received", std::to_string(n)),
         testing::logLine(at(n + 30), "Remote access driver log closed.")});
}

TEST(GrowingLog, EveryLoadWhileTheLogGrowsShowsTheLinesItRead) {
    TempDir dir;
    constexpr int kFirstCalls = 50;
    std::string start;
    for (int n = 0; n < kFirstCalls; ++n) start += numberedCall(n);
    const std::string path = dir.write("ppplog.txt", start);

    std::atomic<bool> stop{false};
    std::atomic<int> appended{0};
    std::thread writer([&] {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        for (int n = kFirstCalls; !stop; ++n) {
            const std::string call = numberedCall(n);
            // Half a call now and half a moment later: a reader may see either.
            const std::size_t half = call.size() / 2;
            if (::write(fd, call.data(), half) != static_cast<ssize_t>(half)) break;
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            if (::write(fd, call.data() + half, call.size() - half) !=
                static_cast<ssize_t>(call.size() - half))
                break;
            ++appended;
        }
        ::close(fd);
    });

    FakePlatform platform;
    RecordingView view;
    LogState state;
    int caughtWriting = 0;
    for (int load = 0; load < 20; ++load) {
        SCOPED_TRACE(load);
        platform.dialogs.clear();
        platform.dialogAnswers.assign(4, DialogResult::Yes);
        platform.fileDialogAnswers = {path};
        FileDialog openDialog;
        commands::openLog(state, platform, view, openDialog);

        std::vector<std::string> openers;
        for (std::size_t i = 0; i < state.lines.size(); ++i) {
            if (state.lines[i].find("log opened") != std::string_view::npos) {
                openers.emplace_back(state.lines[i].substr(0, 19));
            }
        }
        ASSERT_GE(state.table.callCount(), kFirstCalls);
        ASSERT_EQ(state.table.callCount(), static_cast<int>(openers.size()));
        for (int row = 0; row < state.table.callCount(); ++row) {
            ASSERT_EQ(state.table.cell(Column::StartTime, row),
                      openers[static_cast<std::size_t>(row)])
                << row;
        }
        EXPECT_EQ(state.table.cell(Column::EndTime, kFirstCalls - 1), "12-05-2026 08:01:19");
        // A load that caught a call half written may ask to repair (and
        // the call may show as cut off), but never fails.
        if (!platform.dialogs.empty()) ++caughtWriting;
        for (const std::string& text : platform.dialogTexts()) {
            EXPECT_TRUE(text == kAttemptLoadQuestion || text == kCorruptLogWarning) << text;
        }
        EXPECT_FALSE(platform.busy());
        EXPECT_FALSE(view.gaugeVisible);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    stop = true;
    writer.join();
    EXPECT_GT(appended.load(), 0);
    RecordProperty("LoadsThatCaughtAHalfWrittenCall", caughtWriting);
    // The log holds what was written to it, untouched by the loads.
    const std::string after = testing::fileContent(path);
    EXPECT_EQ(after.substr(0, start.size()), start);
    std::string expected = start;
    for (int n = kFirstCalls; n < kFirstCalls + appended; ++n) expected += numberedCall(n);
    EXPECT_EQ(after, expected);
}

}  // namespace
}  // namespace kestal
