// Following a log that grows, shrinks or is replaced: after every look the
// lines and the call table are those a whole read of the file shows, so
// nothing is shown that the file never held and nothing is lost.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/FollowLog.h"
#include "commands/LoadLog.h"
#include "commands/Messages.h"
#include "commands/ReloadLog.h"
#include "log/CallScan.h"
#include "log/LogTestHelpers.h"
#include "platform/QuietPlatform.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::dumpTable;
using testing::FakePlatform;
using testing::linesOf;
using testing::logLine;
using testing::RecordingView;
using testing::TempDir;
using namespace std::string_literals;

std::string call(std::string_view start, std::string_view end,
                 std::string_view date = "12-01-2026") {
    return testing::crlfText({logLine(start, "Remote access driver log opened.", date),
                              logLine(start, "LCP : Layer up", date),
                              testing::counterLine(end, "Bytes Received", "1234"),
                              logLine(end, "Remote access driver log closed.", date)});
}

std::string calls(int count, int firstHour = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string hour = std::to_string(10 + (firstHour + i) % 14);
        text += call(hour + ":00:00.00", hour + ":05:30.00");
    }
    return text;
}

class LogFollowTest : public ::testing::Test {
public:  // the cases' lambdas change the file through the fixture
    LogFollowTest() {
        platform.windowsDir = dir.path().string();
        path = dir.file("ppplog.txt");
    }

    void write(std::string_view bytes) const { dir.write("ppplog.txt", bytes); }
    void append(std::string_view bytes) const {
        std::ofstream(path, std::ios::binary | std::ios::app).write(bytes.data(), bytes.size());
    }
    void load() {
        state = LogState{};
        state.logPath = path;
        commands::loadLog(state, platform, view);
        follower.start();
    }

    // One look, its outcome put in place as the window puts it.
    LogChange look() {
        LogGrowth growth;
        const LogChange change = follower.look(state, platform.settings, growth);
        if (change == LogChange::Grew && growth.calls.callCount() > 0)
            replaceCallsFrom(state.table, growth);
        if (change == LogChange::Rewritten) {
            QuietPlatform quiet(platform);
            commands::reloadLog(state, quiet, view);
            follower.readWhole(quiet.count(kCorruptLogWarning));
        }
        return change;
    }

    // What a whole read of the file shows now, questions answered No.
    void expectAsAWholeRead() const {
        FakePlatform fresh;
        RecordingView freshView;
        LogState whole;
        whole.logPath = path;
        commands::loadLog(whole, fresh, freshView);
        EXPECT_EQ(linesOf(state.lines), linesOf(whole.lines));
        EXPECT_EQ(dumpTable(state.table), dumpTable(whole.table));
    }

    TempDir dir;
    std::string path;
    FakePlatform platform;
    RecordingView view;
    LogState state;
    LogFollower follower;
};

TEST_F(LogFollowTest, GrowthInPiecesOfAnySizeShowsWhatAWholeReadShows) {
    const std::string added = calls(6, 3) + "12-01-2026 20:00:00.00 - Remote access driver log op";
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{7}, std::size_t{61}, added.size()}) {
        SCOPED_TRACE(piece);
        write(calls(3));
        load();
        const int before = state.table.rowCount();
        for (std::size_t at = 0; at < added.size(); at += piece) {
            append(added.substr(at, piece));
            EXPECT_EQ(look(), LogChange::Grew);
            expectAsAWholeRead();
        }
        EXPECT_EQ(look(), LogChange::None);
        EXPECT_EQ(state.table.rowCount(), before + 6);  // a "log op" line opens nothing
        EXPECT_TRUE(platform.dialogs.empty());
    }
}

TEST_F(LogFollowTest, OnlyTheAddedBytesAreReadAndTheLastCallWalkedAgain) {
    write(calls(200));
    load();
    // A change far before the end is not read again (and no whole read is
    // wanted for a log that only grows).
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(0);
        file.write("99", 2);
    }
    const std::string start(state.lines[0]);
    append(calls(2, 5));
    LogGrowth growth;
    ASSERT_EQ(follower.look(state, platform.settings, growth), LogChange::Grew);
    EXPECT_EQ(growth.firstRow, 200);
    EXPECT_EQ(growth.calls.callCount(), 3);  // the last call again, and the two new ones
    EXPECT_EQ(state.lines[0], start);
    EXPECT_EQ(state.readMark.bytes, std::filesystem::file_size(path));
}

TEST_F(LogFollowTest, ShrunkReplacedOrRewrittenLogIsReadAgainWhole) {
    struct Case {
        const char* name;
        std::function<void(LogFollowTest&)> change;
    };
    const std::vector<Case> cases = {
        {"cut to less", [](LogFollowTest& t) { ::truncate(t.path.c_str(), 300); }},
        {"cleared", [](LogFollowTest& t) { t.write("12-07-2026 10:00:00 - cleared\r\n"); }},
        {"replaced by a bigger one",
         [](LogFollowTest& t) {
             const std::string other = t.dir.write("new.txt", calls(9, 4));
             std::filesystem::rename(other, t.path);
         }},
        {"written anew to more than before",
         [](LogFollowTest& t) { t.write(calls(3, 7) + calls(3, 1)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(calls(4));
        load();
        c.change(*this);
        EXPECT_EQ(look(), LogChange::Rewritten);
        expectAsAWholeRead();
        append(calls(1, 2));
        EXPECT_EQ(look(), LogChange::Grew);
        expectAsAWholeRead();
    }
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(LogFollowTest, ChangesDuringTheReadOfTheNewBytes) {
    struct Case {
        const char* name;
        std::function<void(LogFollowTest&)> change;
        LogChange expected;
    };
    const std::vector<Case> cases = {
        {"grows on", [](LogFollowTest& t) { t.append(calls(2, 8)); }, LogChange::Grew},
        {"is cut", [](LogFollowTest& t) { ::truncate(t.path.c_str(), 100); }, LogChange::Rewritten},
        {"is replaced",
         [](LogFollowTest& t) {
             std::filesystem::rename(t.dir.write("new.txt", calls(8, 2)), t.path);
         },
         LogChange::Rewritten},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(calls(3));
        load();
        const std::vector<std::string> before = linesOf(state.lines);
        append(calls(1, 6));
        bool changed = false;
        follower.afterRead = [&] {
            if (!std::exchange(changed, true)) c.change(*this);
        };
        LogGrowth growth;
        EXPECT_EQ(follower.look(state, platform.settings, growth), c.expected);
        follower.afterRead = nullptr;
        if (c.expected == LogChange::Rewritten) {
            // Nothing of the file being cut or replaced was taken.
            EXPECT_EQ(linesOf(state.lines), before);
            EXPECT_EQ(look(), LogChange::Rewritten);
        } else {
            replaceCallsFrom(state.table, growth);
        }
        EXPECT_EQ(look(), LogChange::None);
        expectAsAWholeRead();
    }
}

TEST_F(LogFollowTest, GrowthWhileTheWholeLogIsReadIsTakenOnce) {
    // The file grows while a load reads it, and while a repair copies it.
    write(calls(3));
    bool grown = false;
    platform.onProcessMessages = [&] {
        if (!std::exchange(grown, true)) append(calls(2, 5));
    };
    write(calls(3) + "12-01-2026 13:00:00.00 - broken\0line\r\n"s + calls(2));
    platform.dialogAnswers = {DialogResult::Yes};
    load();
    ASSERT_TRUE(grown);
    EXPECT_EQ(state.readMark.bytes, std::filesystem::file_size(path));
    append(calls(1, 9));
    EXPECT_EQ(look(), LogChange::Grew);
    // The repaired text: the file's bytes without the NUL.
    const LogLines whole = LogLines::fromBytes(withoutNulBytes(testing::readBytes(path)));
    EXPECT_EQ(linesOf(state.lines), linesOf(whole));
}

TEST_F(LogFollowTest, NulInTheAddedBytesEndsTheTextWithoutAQuestion) {
    write(calls(3));
    load();
    append(calls(1, 4) + "12-01-2026 14:00:00.00 - Remote access\0 driver log opened.\r\n"s);
    EXPECT_EQ(look(), LogChange::Grew);
    EXPECT_TRUE(state.lines.endsAtNul());
    EXPECT_EQ(linesOf(state.lines).back(), "12-01-2026 14:00:00.00 - Remote access");
    append(calls(2, 5));
    EXPECT_EQ(look(), LogChange::None);  // the text has ended
    EXPECT_EQ(state.table.rowCount(), 5);
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(followStatusText(0, true, false),
              "Following: a NUL byte ends the log here, Reload reads on");
}

TEST_F(LogFollowTest, CorruptedCallsAreCountedOnceAndNeverWarnedAbout) {
    write(calls(2));
    load();
    append(call("10:00:00.00", "10:05:00.00") + call("xx:00:00.00", "10:05:00.00"));
    // The last call, written a line at a time: its end time is unreadable
    // while the line is half there, and counts once whatever it shows.
    append("12-01-2026 11:00:00.00 - Remote access driver log opened.\r\n12-01-2026 11:0");
    EXPECT_EQ(look(), LogChange::Grew);
    EXPECT_EQ(follower.corruptCalls(), 2);
    append("5:00.00 - Remote access driver log closed.\r\n");
    EXPECT_EQ(look(), LogChange::Grew);
    EXPECT_EQ(follower.corruptCalls(), 1);
    EXPECT_TRUE(platform.dialogs.empty());
    expectAsAWholeRead();
    EXPECT_EQ(followStatusText(1, false, false), "Following: 1 corrupted call");
    EXPECT_EQ(followStatusText(3, true, true),
              "Following: 3 corrupted calls; a NUL byte ends the log here, Reload reads on; the "
              "log can't be read");
}

TEST_F(LogFollowTest, LogThatIsGoneIsWaitedForAndReadWholeWhenItComes) {
    write(calls(3));
    load();
    std::filesystem::remove(path);
    EXPECT_EQ(look(), LogChange::None);
    EXPECT_EQ(state.table.rowCount(), 4);  // still shown
    write(calls(1, 3));
    EXPECT_EQ(look(), LogChange::Rewritten);
    expectAsAWholeRead();
    EXPECT_EQ(look(), LogChange::None);

    // A log whose whole read failed is tried again only once it changed.
    state.readMark = {};
    EXPECT_EQ(look(), LogChange::None);
    append("more\r\n");
    EXPECT_EQ(look(), LogChange::Rewritten);
}

}  // namespace
}  // namespace kestal
