// Whatever file the user opens, File > Open shows what it can, tells what it
// can't, restores the cursor and changes no file. One row per kind of bad
// input, each loaded through the real command with the corruption question
// answered as the row says.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "calls/CallScan.h"
#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "commands/Messages.h"
#include "details/CallDetails.h"
#include "output/Printouts.h"
#include "output/TableExport.h"
#include "robustness/BadInputs.h"
#include "robustness/RobustnessHelpers.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::BadInput;
using testing::badInputs;
using testing::Cell;
using testing::details;
using testing::FakePlatform;
using testing::kInUse;
using testing::kQuestion;
using testing::No;
using testing::RecordingView;
using testing::TempDir;
using testing::Yes;
namespace fs = std::filesystem;
using namespace std::string_literals;

class BadInputMatrix : public ::testing::TestWithParam<std::size_t> {};

// Releases a load that waits on a FIFO (by writing to it) so that a fault
// fails the test instead of hanging it.
class FifoWatchdog {
public:
    explicit FifoWatchdog(const std::string& path) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISFIFO(info.st_mode)) return;
        thread_ = std::thread([this, path] {
            std::unique_lock lock(mutex_);
            if (done_.wait_for(lock, std::chrono::seconds(10), [this] { return finished_; }))
                return;
            hung = true;
            const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        });
    }
    ~FifoWatchdog() { finish(); }
    void finish() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    std::atomic<bool> hung{false};

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

TEST_P(BadInputMatrix, ShowsWhatItCanTellsWhatItCantChangesNothing) {
    const BadInput input = badInputs().at(GetParam());
    SCOPED_TRACE(input.name);

    // The program shows a good log when the user opens the bad one.
    TempDir previousDir;
    FakePlatform platform;
    RecordingView view;
    LogState state;
    state.logPath = previousDir.write("ppplog.txt", testing::twoCalls());
    commands::loadLog(state, platform, view);
    ASSERT_EQ(state.table.callCount(), 2);
    const std::size_t previousLines = state.lines.size();
    platform.dialogs.clear();

    TempDir dir;
    platform.windowsDir = dir.path().string();
    const std::string path = input.make(dir);
    const auto before = testing::folderSnapshot(dir.path());
    const std::string logBefore = fs::is_regular_file(path) ? testing::fileContent(path) : "";
    platform.dialogAnswers.assign(input.answers.begin(), input.answers.end());
    platform.fileDialogAnswers.push_back(path);
    if (input.arm) input.arm(platform, path);

    FileDialog openDialog;
    FifoWatchdog watchdog(path);
    commands::openLog(state, platform, view, openDialog);
    watchdog.finish();
    EXPECT_FALSE(watchdog.hung) << "the load waited on the FIFO";

    // Told what it had to, nothing else.
    EXPECT_EQ(platform.dialogTexts(), input.dialogs);
    for (const auto& dialog : platform.dialogs) {
        if (dialog.text == kInUse) {
            EXPECT_EQ(dialog.type, DialogType::Error);
        }
        if (dialog.text == kQuestion) {
            EXPECT_EQ(dialog.buttons, DialogButtons::YesNo);
        }
    }
    EXPECT_TRUE(platform.dialogAnswers.empty())
        << "the question was not asked as often as expected";

    // The table as it should be.
    EXPECT_EQ(state.table.callCount(), input.calls);
    EXPECT_EQ(state.table.rowCount(), std::max(1, input.calls));
    for (const Cell& cell : input.cells) {
        EXPECT_EQ(state.table.cell(columnAt(cell.column), cell.row), cell.text)
            << "column " << cell.column << ", row " << cell.row;
    }
    if (input.dialogs == std::vector<std::string>{kInUse}) {
        // A file that fails the open test leaves the lines as they were.
        EXPECT_EQ(state.lines.size(), previousLines);
    }

    // Back to normal whatever happened.
    EXPECT_FALSE(platform.busy());
    EXPECT_FALSE(view.gaugeVisible);
    EXPECT_FALSE(view.inputBlocked);
    EXPECT_TRUE(view.gridVisible);
    EXPECT_EQ(view.shownRowCount, state.table.rowCount());

    // Nothing in the folder changed: the log keeps its bytes, and no
    // temporary file stays behind.
    if (input.logChangesMeanwhile) {
        EXPECT_EQ(testing::fileContent(path).substr(0, logBefore.size()), logBefore);
        auto after = testing::folderSnapshot(dir.path());
        auto expected = before;
        after.erase("ppplog.txt");
        expected.erase("ppplog.txt");
        EXPECT_EQ(after, expected);
    } else {
        EXPECT_EQ(testing::folderSnapshot(dir.path()), before);
        if (!logBefore.empty()) {
            EXPECT_EQ(testing::contentHash(testing::fileContent(path)),
                      testing::contentHash(logBefore));
        }
    }

    // A log that loaded without a question is copied back line for line;
    // byte for byte when its lines end in CR LF, as the copy's do.
    if (fs::is_regular_file(path) && input.dialogs.empty()) {
        TempDir copyDir;
        writeCopyFile(state.lines, copyDir.file("copy.txt"));
        const std::string copy = testing::fileContent(copyDir.file("copy.txt"));
        if (state.lines.joinedLength() == logBefore.size()) {
            EXPECT_TRUE(copy == logBefore) << "copy differs";
        } else {
            const LogLines copied = LogLines::fromBytes(copy);
            bool same = copied.size() == state.lines.size();
            for (std::size_t i = 0; same && i < copied.size(); ++i)
                same = copied[i] == state.lines[i];
            EXPECT_TRUE(same) << "the copy's lines differ";
        }
    }
    // The first call's lines are found again by its Start Time.
    if (input.calls > 0) {
        const auto shown = details(state.lines, state.table.cell(Column::StartTime, 0));
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.front().substr(0, 19), state.table.cell(Column::StartTime, 0));
    }
    if (input.check) input.check(state, view, platform);
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputMatrix,
                         ::testing::Range<std::size_t>(0, badInputs().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             std::string name;
                             for (char c : std::string(badInputs().at(info.param).name)) {
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                                 else if (!name.empty() && name.back() != '_')
                                     name += '_';
                             }
                             while (!name.empty() && name.back() == '_') name.pop_back();
                             return name;
                         });

}  // namespace
}  // namespace kestal
