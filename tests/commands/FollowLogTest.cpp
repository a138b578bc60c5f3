// Following a log that grows, shrinks or is replaced: after every look the
// lines and the call table are those a whole read of the file shows, so
// nothing is shown that the file never held and nothing is lost.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "calls/CallScan.h"
#include "commands/FollowLog.h"
#include "commands/LoadLog.h"
#include "commands/Messages.h"
#include "commands/ReloadLog.h"
#include "platform/QuietPlatform.h"
#include "support/FakePlatform.h"
#include "support/LogTestHelpers.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::linesOf;
using namespace std::string_literals;
namespace fs = std::filesystem;

std::string call(std::string_view hour, std::string_view start = ":00:00.00") {
    const std::string opened = std::string(hour) + std::string(start);
    const std::string closed = std::string(hour) + ":05:30.00";
    return testing::crlfText({testing::logLine(opened, "Remote access driver log opened."),
                              testing::counterLine(closed, "Bytes Received", "1234"),
                              testing::logLine(closed, "Remote access driver log closed.")});
}

std::string calls(int count, int firstHour = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) text += call(std::to_string(10 + (firstHour + i) % 14));
    return text;
}

class LogFollowTest : public ::testing::Test {
public:  // the cases' lambdas change the file through the fixture
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
        if (change == LogChange::Grew) replaceCallsFrom(state.table, growth);
        if (change == LogChange::Rewritten) {
            QuietPlatform quiet(platform);
            commands::reloadLog(state, quiet, view);
            follower.readWhole(quiet.count(kCorruptLogWarning));
        }
        return change;
    }
    // What a whole read of the file shows now, questions answered No.
    void expectAsAWholeRead() const {
        testing::FakePlatform fresh;
        LogState whole;
        whole.logPath = path;
        testing::RecordingView freshView;
        commands::loadLog(whole, fresh, freshView);
        EXPECT_EQ(linesOf(state.lines), linesOf(whole.lines));
        EXPECT_EQ(testing::dumpTable(state.table), testing::dumpTable(whole.table));
    }

    testing::TempDir dir;
    std::string path = dir.file("ppplog.txt");
    testing::FakePlatform platform;
    testing::RecordingView view;
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
        for (std::size_t at = 0; at < added.size(); at += piece) {
            append(added.substr(at, piece));
            EXPECT_EQ(look(), LogChange::Grew);
            expectAsAWholeRead();
        }
        EXPECT_EQ(look(), LogChange::None);
        EXPECT_EQ(state.table.rowCount(), 9);
    }
    // Only the added bytes (and the 4 KiB before them) are read: a change
    // far before them stays unseen.
    write(calls(100));
    load();
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).write("99", 2);
    append(calls(1));
    EXPECT_EQ(look(), LogChange::Grew);
    EXPECT_EQ(state.lines[0].substr(0, 2), "12");
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(LogFollowTest, ChangesBetweenLooksAndDuringTheReadOfTheNewBytes) {
    struct Case {
        const char* name;
        bool duringRead;
        std::function<void(LogFollowTest&)> change;
        LogChange expected;
    };
    auto cut = [](LogFollowTest& t) { ASSERT_EQ(::truncate(t.path.c_str(), 100), 0); };
    auto replace = [](LogFollowTest& t) { fs::rename(t.dir.write("new", calls(9, 4)), t.path); };
    const std::vector<Case> cases = {
        {"cut", false, cut, LogChange::Rewritten},
        {"replaced by a bigger one", false, replace, LogChange::Rewritten},
        {"written anew to more", false, [](auto& t) { t.write(calls(3, 7) + calls(3)); },
         LogChange::Rewritten},
        {"grows during the read", true, [](auto& t) { t.append(calls(2, 8)); }, LogChange::Grew},
        {"cut during the read", true, cut, LogChange::Rewritten},
        {"replaced during the read", true, replace, LogChange::Rewritten},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(calls(4));
        load();
        const std::vector<std::string> before = linesOf(state.lines);
        append(calls(1, 6));
        if (!c.duringRead) c.change(*this);
        bool changed = !c.duringRead;
        follower.afterRead = [&] {
            if (!std::exchange(changed, true)) c.change(*this);
        };
        LogGrowth growth;
        EXPECT_EQ(follower.look(state, platform.settings, growth), c.expected);
        follower.afterRead = nullptr;
        if (c.expected == LogChange::Rewritten) {
            EXPECT_EQ(linesOf(state.lines), before);  // nothing of it was taken
            EXPECT_EQ(look(), LogChange::Rewritten);
        } else {
            replaceCallsFrom(state.table, growth);
        }
        expectAsAWholeRead();
        append(calls(1, 2));
        EXPECT_EQ(look(), LogChange::Grew);
        expectAsAWholeRead();
    }
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(LogFollowTest, GrowthWhileTheWholeLogIsReadAndRepairedIsTakenOnce) {
    bool grown = false;
    platform.onProcessMessages = [&] {
        if (!std::exchange(grown, true)) append(calls(2, 5));
    };
    write(calls(12) + "12-01-2026 13:00:00.00 - broken\0line\r\n"s + calls(2));
    platform.dialogAnswers = {DialogResult::Yes};
    load();
    ASSERT_TRUE(grown);
    EXPECT_EQ(state.readMark.bytes, fs::file_size(path));
    append(calls(1, 9));
    EXPECT_EQ(look(), LogChange::Grew);
    const LogLines whole = LogLines::fromBytes(withoutNulBytes(testing::readBytes(path)));
    EXPECT_EQ(linesOf(state.lines), linesOf(whole));
}

TEST_F(LogFollowTest, CorruptedCallsAreCountedOnceAndNeverWarnedAbout) {
    write(calls(2));
    load();
    // The last call comes a piece at a time: its end time is unreadable
    // while its line is half there, and it counts once whatever it shows.
    append(call("10") + call("xx") +
           "12-01-2026 11:00:00.00 - Remote access driver log opened.\r\n12-01-2026 11:0");
    EXPECT_EQ(look(), LogChange::Grew);
    EXPECT_EQ(follower.corruptCalls(), 2);
    append("5:00.00 - Remote access driver log closed.\r\n");
    EXPECT_EQ(look(), LogChange::Grew);
    EXPECT_EQ(follower.corruptCalls(), 1);
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(followStatusText(3, true, true),
              "Following: 3 corrupted calls; a NUL byte ends the log here, Reload reads on; the "
              "log can't be read");
    // Each part in the user's language, the count put in after.
    const SayText say = [](std::string_view text) { return "<" + std::string(text) + ">"; };
    EXPECT_EQ(followStatusText(1, false, true, say),
              "<Following>: <1 corrupted call>; <the log can't be read>");
    EXPECT_EQ(followStatusText(0, false, false, say), "<Following>");
}

TEST_F(LogFollowTest, LogThatIsGoneIsWaitedForAndReadWholeWhenItComes) {
    write(calls(3));
    load();
    fs::remove(path);
    EXPECT_EQ(look(), LogChange::None);
    EXPECT_EQ(state.table.rowCount(), 3);  // still shown
    write(calls(1, 3));
    EXPECT_EQ(look(), LogChange::Rewritten);
    expectAsAWholeRead();
    // A log whose whole read failed is tried again only once it changed.
    state.readMark = {};
    EXPECT_EQ(look(), LogChange::None);
    append("more\r\n");
    EXPECT_EQ(look(), LogChange::Rewritten);
}

// Rotated logs shown as one: the newest file's growth is read on from where
// it was, as one file's is; only a compressed newest one is read again whole.
TEST_F(LogFollowTest, RotatedLogsShownAsOneGrowOnTheNewestFile) {
    const auto pppd = [](int pid, std::string_view day) {
        const std::string prefix =
            "Dec " + std::string(day) + " h pppd[" + std::to_string(pid) + "]: ";
        return prefix + "Connect: ppp0 <--> /dev/ttyS0\n" + prefix +
               "local  IP address 10.0.0.1\n" + prefix + "Connection terminated.\n";
    };
    struct Case {
        const char* name;
        std::string older, newer, added;
        const char* newestName;
        LogChange expected;
    };
    const std::vector<Case> cases = {
        {"dial-up", calls(2), calls(2, 4), calls(1, 8), "ppplog.txt", LogChange::Grew},
        {"pppd", pppd(10, " 1 10:00:00"), pppd(11, " 2 10:00:00") + "Dec  2 11:00:00 h pppd[12]: ",
         "Connect: ppp0 <--> /dev/ttyS0\n" + pppd(13, " 3 10:00:00"), "syslog", LogChange::Grew},
        {"pppd, the newest compressed", pppd(10, " 1 10:00:00"), pppd(11, " 2 10:00:00"),
         pppd(13, " 3 10:00:00"), "syslog.gz", LogChange::Rewritten},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string older = dir.write("older.gz.plain", c.older);
        ASSERT_EQ(std::system(("gzip -n -c '" + older + "' > '" + older + ".gz'").c_str()), 0);
        const std::vector<std::string> files{dir.write(c.newestName, c.newer), older + ".gz"};
        // Rotated an hour ago: older than the newest.
        fs::last_write_time(files[1], fs::last_write_time(files[0]) - std::chrono::hours(1));
        const auto open = [&](LogState& into) {
            commands::openLogFiles(into, platform, view, files);
        };
        state = LogState{};
        open(state);
        follower.start();
        const std::string newest = state.logPath;
        ASSERT_EQ(newest, files[0]);
        std::ofstream(newest, std::ios::binary | std::ios::app) << c.added;
        LogGrowth growth;
        ASSERT_EQ(follower.look(state, platform.settings, growth), c.expected);
        if (c.expected == LogChange::Grew) {
            takeGrowth(state, growth);
        } else {
            QuietPlatform quiet(platform);
            commands::reloadLog(state, quiet, view);
        }
        LogState whole;
        open(whole);
        EXPECT_EQ(linesOf(state.lines), linesOf(whole.lines));
        EXPECT_EQ(testing::cellsText(state.table), testing::cellsText(whole.table));
        EXPECT_EQ(testing::dumpValues(state.table), testing::dumpValues(whole.table));
        EXPECT_GE(state.table.rowCount(), 3);
        EXPECT_EQ(look(), LogChange::None);
    }
    EXPECT_TRUE(platform.dialogs.empty());
}

}  // namespace
}  // namespace kestal
