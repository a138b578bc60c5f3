// File > Clear: the system log emptied down to one marker line, and the
// program ended.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "commands/ClearLog.h"
#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "commands/Messages.h"
#include "output/MarkerLine.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::DialogRecord;
using testing::FakePlatform;
using testing::readBytes;
using testing::RecordingView;
using testing::TempDir;

constexpr std::string_view kOldLog =
    "12-01-2026 08:00:00.00 - Remote access driver log opened.\r\n"
    "12-01-2026 08:05:00.00 - Remote access driver log closed.\r\n";

// A 12-hour clock ("3:05:09 PM") in the fake platform's locale.
std::string twelveHourTime(const DateTime& time) {
    const int hour = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour, time.minute, time.second,
                  time.hour < 12 ? "AM" : "PM");
    return text;
}

// A Windows folder holding a system log with two lines, and a program
// state showing some other file.
class ClearLog : public ::testing::Test {
protected:
    void SetUp() override {
        logPath_ = dir_.write("ppplog.txt", kOldLog);
        platform_.windowsDir = dir_.path().string();
        state_.logPath = "/somewhere/else.txt";
        state_.lines = LogLines::fromBytes("shown line\r\n");
    }

    // What clearLog must leave alone when it clears nothing.
    void expectLogAndStateUntouched() {
        EXPECT_EQ(readBytes(logPath_), kOldLog);
        ASSERT_EQ(state_.lines.size(), 1u);
        EXPECT_EQ(state_.lines[0], "shown line");
    }

    void expectQuestionAsked() {
        EXPECT_EQ(platform_.beepCount, 1);
        ASSERT_FALSE(platform_.dialogs.empty());
        const DialogRecord& question = platform_.dialogs[0];
        EXPECT_EQ(question.kind, DialogRecord::Kind::MessageDlg);
        EXPECT_EQ(question.text, kClearQuestion);
        EXPECT_EQ(question.type, DialogType::Warning);
        EXPECT_EQ(question.buttons, DialogButtons::YesNo);
    }

    TempDir dir_;
    std::string logPath_;
    FakePlatform platform_;
    LogState state_;
};

TEST_F(ClearLog, AnythingButYesChangesNothing) {
    // No, and an unanswered question (Esc, closing the box).
    for (const bool answerNo : {true, false}) {
        FakePlatform platform;
        platform.windowsDir = dir_.path().string();
        if (answerNo) platform.dialogAnswers.push_back(DialogResult::No);
        commands::clearLog(state_, platform);
        EXPECT_EQ(platform.dialogs.size(), 1u);
        EXPECT_EQ(platform.closeMainWindowCount, 0);
        EXPECT_EQ(state_.logPath, "/somewhere/else.txt");
    }
    expectLogAndStateUntouched();
}

TEST_F(ClearLog, WritesOneMarkerLineAndEndsTheProgram) {
    const struct {
        std::function<std::string(const DateTime&)> formatter;
        char separator;
        std::string_view content;
    } cases[] = {
        {nullptr, ':', "12-06-2026 15:05:09:00 - PPPLOG.TXT cleared by KESTAL.EXE.\r\n"},
        {twelveHourTime, ':', "12-06-2026 3:05:09 PM:00 - PPPLOG.TXT cleared by KESTAL.EXE.\r\n"},
        {nullptr, '.', "12-06-2026 15.05.09.00 - PPPLOG.TXT cleared by KESTAL.EXE.\r\n"},
    };
    for (const auto& c : cases) {
        dir_.write("ppplog.txt", kOldLog);
        FakePlatform platform;
        platform.windowsDir = dir_.path().string();
        platform.dialogAnswers.push_back(DialogResult::Yes);
        platform.longTimeFormatter = c.formatter;
        platform.settings.timeSeparator = c.separator;
        commands::clearLog(state_, platform);

        EXPECT_EQ(readBytes(logPath_), c.content);
        EXPECT_EQ(platform.dialogs.size(), 1u);  // the question only
        EXPECT_EQ(platform.closeMainWindowCount, 1);
        EXPECT_EQ(state_.logPath, logPath_);
    }
    // The table shown is not reloaded before the program ends.
    ASSERT_EQ(state_.lines.size(), 1u);
    EXPECT_EQ(state_.lines[0], "shown line");
}

TEST_F(ClearLog, CreatesTheLogWhenThereIsNone) {
    std::filesystem::remove(logPath_);
    platform_.dialogAnswers.push_back(DialogResult::Yes);
    commands::clearLog(state_, platform_);
    EXPECT_EQ(readBytes(logPath_),
              "12-06-2026 15:05:09:00 - PPPLOG.TXT cleared by KESTAL.EXE.\r\n");
    EXPECT_EQ(platform_.closeMainWindowCount, 1);
}

TEST_F(ClearLog, ClearsABigLogRightAfterItWasLoaded) {
    // Loaded from the file's own pages under a read lease, copied
    // meanwhile: Clear waits for the copy instead of finding the log held.
    std::string big;
    while (big.size() < (std::size_t{40} << 20)) big += kOldLog;
    logPath_ = dir_.write("ppplog.txt", big);
    state_.logPath = logPath_;
    RecordingView view;
    commands::loadLog(state_, platform_, view);
    ASSERT_EQ(state_.table.callCount(), static_cast<int>(big.size() / kOldLog.size()));
    platform_.dialogAnswers.push_back(DialogResult::Yes);
    commands::clearLog(state_, platform_);
    const std::string cleared = readBytes(logPath_);
    EXPECT_LT(cleared.size(), 200u);
    EXPECT_NE(cleared.find("cleared by KESTAL.EXE."), std::string::npos) << cleared;
}

TEST_F(ClearLog, TheClearedLogLoadsAsATableWithoutCalls) {
    platform_.dialogAnswers.push_back(DialogResult::Yes);
    commands::clearLog(state_, platform_);
    ASSERT_EQ(platform_.closeMainWindowCount, 1);

    LogState loaded;
    loaded.logPath = logPath_;
    RecordingView view;
    FakePlatform loading;
    commands::loadLog(loaded, loading, view);
    EXPECT_TRUE(loading.dialogs.empty());  // the size check passes: no question
    ASSERT_EQ(loaded.lines.size(), 1u);
    EXPECT_EQ(loaded.table.callCount(), 0);
    EXPECT_EQ(loaded.table.rowCount(), 1);
}

TEST_F(ClearLog, WithoutAWindowsDirectoryTellsTheUserAndEnds) {
    platform_.windowsDir.reset();
    platform_.dialogAnswers.push_back(DialogResult::Yes);
    commands::clearLog(state_, platform_);
    expectQuestionAsked();
    ASSERT_EQ(platform_.dialogs.size(), 2u);
    EXPECT_EQ(platform_.dialogs[1].kind, DialogRecord::Kind::PlainMessage);
    EXPECT_EQ(platform_.dialogs[1].text, "Fatal error: Can't find Windows Directory");
    EXPECT_EQ(platform_.closeMainWindowCount, 1);
    EXPECT_EQ(state_.logPath, "/somewhere/else.txt");
    expectLogAndStateUntouched();
}

TEST_F(ClearLog, ALogThatCantBeCreatedIsLeftSilently) {
    // Places where no one, root included, can create the log: a folder
    // standing where the log should be, and a Windows folder under /proc.
    TempDir blocked;
    std::filesystem::create_directory(blocked.path() / "ppplog.txt");
    std::filesystem::create_directory(blocked.path() / "ppplog.txt" / "inside");
    for (const std::string& windows : {blocked.path().string(), std::string("/proc/self")}) {
        FakePlatform platform;
        platform.windowsDir = windows;
        platform.dialogAnswers.push_back(DialogResult::Yes);
        commands::clearLog(state_, platform);
        EXPECT_EQ(platform.dialogs.size(), 1u) << windows;  // the question, then nothing
        EXPECT_EQ(platform.closeMainWindowCount, 0) << windows;
        EXPECT_EQ(state_.logPath, windows + "/ppplog.txt");
    }
    EXPECT_TRUE(std::filesystem::is_directory(blocked.path() / "ppplog.txt" / "inside"));
    EXPECT_FALSE(std::filesystem::exists("/proc/self/ppplog.txt"));
    expectLogAndStateUntouched();
}

TEST_F(ClearLog, AFailedWriteIsNotReportedAndTheProgramStillEnds) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::filesystem::remove(logPath_);
    std::filesystem::create_symlink("/dev/full", logPath_);
    platform_.dialogAnswers.push_back(DialogResult::Yes);
    commands::clearLog(state_, platform_);
    EXPECT_EQ(platform_.dialogs.size(), 1u);
    EXPECT_EQ(platform_.closeMainWindowCount, 1);
}

}  // namespace
}  // namespace kestal
