// The journal shown as a pppd log: journal files opened as logs are, read
// through the journal's library into the same table journalctl's JSON of
// the same entries gives; followed and reloaded; and the sentence that
// stands in for an empty table the user may not read.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

#include "commands/FollowLog.h"
#include "commands/LoadLog.h"
#include "commands/Messages.h"
#include "commands/OpenJournal.h"
#include "commands/ReloadLog.h"
#include "support/FakePlatform.h"
#include "support/JournalSessions.h"
#include "support/LogTestHelpers.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal::commands {
namespace {

using testing::cellsText;
using testing::kDecember1;
using testing::kJournalSecond;
using testing::sessionEntries;
namespace fs = std::filesystem;

constexpr std::int64_t kHour = 3600 * kJournalSecond;

TEST(JournalPeriod, ReachesBackFromNowByThePeriodChosen) {
    const DateTime now{2026, 12, 6, 15, 5, 9};
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 11;
    local.tm_mday = 6;
    local.tm_hour = 15;
    local.tm_min = 5;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    const std::int64_t nowUsec = static_cast<std::int64_t>(std::mktime(&local)) * kJournalSecond;
    const struct {
        JournalPeriod period;
        std::optional<std::int64_t> start;
    } cases[] = {
        {JournalPeriod::Day, nowUsec - 24 * kHour},
        {JournalPeriod::Week, nowUsec - 7 * 24 * kHour},
        {JournalPeriod::Month, nowUsec - 30 * 24 * kHour},
        {JournalPeriod::Everything, std::nullopt},
    };
    for (const auto& test : cases)
        EXPECT_EQ(periodStart(test.period, now), test.start) << static_cast<int>(test.period);
}

TEST(JournalNames, FilesByTheirNameTheSystemsAsSystemJournal) {
    const struct {
        const char* path;
        bool journal;
    } files[] = {{"/var/log/journal/x/system.journal", true},
                 {"user-1000@0005f-1.journal~", true},
                 {"/var/log/syslog", false},
                 {"notes.journal.txt", false}};
    for (const auto& file : files) EXPECT_EQ(isJournalFile(file.path), file.journal) << file.path;

    EXPECT_EQ(journalName({}), "System Journal");
    EXPECT_EQ(journalName({{}, "/mnt/var/log/journal", {}, {}}), "/mnt/var/log/journal");
    EXPECT_EQ(journalName({{"/a/one.journal"}, {}, {}, {}}), "/a/one.journal");
    EXPECT_EQ(journalName({{"/a/one.journal", "/a/two.journal", "/b/3.journal"}, {}, {}, {}}),
              "/a/one.journal and 2 more");
}

TEST(JournalAccessTexts, SayWhatTheUserCanDo) {
    EXPECT_EQ(journalAccessText(JournalAccess::Readable, "systemd-journal"), "");
    EXPECT_EQ(journalAccessText(JournalAccess::NoJournal, "systemd-journal"), kNoJournal);
    EXPECT_EQ(journalAccessText(JournalAccess::OwnEntriesOnly, "adm"),
              "Only members of the group adm can read pppd's entries: join it and log in again.");
}

class JournalOpen : public ::testing::Test {
protected:
    JournalOpen() { platform.windowsDir = windows.path().string(); }

    // The same entries as journalctl prints them, opened as a text log.
    std::string tableOfJournalctlJson(const std::string& journal) {
        LogState text;
        testing::RecordingView textView;
        openLogFile(text, platform, textView,
                    windows.write("journal.json", testing::journalctlJson(journal)));
        EXPECT_TRUE(text.pppd.has_value());
        return cellsText(text.table);
    }

    testing::TempDir windows;
    testing::FakePlatform platform;
    testing::RecordingView view;
    LogState state;
};

TEST_F(JournalOpen, AJournalFileShowsTheTableOfJournalctlsJsonOfIt) {
    const std::string file = windows.file("ppp.journal");
    auto entries = sessionEntries(kDecember1, "400");
    entries.push_back(testing::pppdEntry(kDecember1 + 950 * kJournalSecond, "not pppd", "kernel"));
    for (const auto& entry : sessionEntries(kDecember1 + 2 * kHour, "500"))
        entries.push_back(entry);
    testing::appendToJournal(file, entries);

    openLogFile(state, platform, view, file);
    ASSERT_TRUE(state.journal.has_value());
    ASSERT_TRUE(state.pppd.has_value());
    EXPECT_EQ(state.table.callCount(), 2);
    EXPECT_EQ(cellsText(state.table), tableOfJournalctlJson(file));
    EXPECT_EQ(state.lines.size(), 20u);  // the kernel's entry left out
    EXPECT_EQ(view.caption, "Kestal File Viewer - " + file);
    EXPECT_FALSE(view.clearEnabled);
    EXPECT_EQ(view.statusText, "2 Sessions, 0 Failed Attempts");
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(JournalOpen, JournalFilesChosenTogetherAreOneJournal) {
    const std::string first = windows.file("one.journal");
    const std::string second = windows.file("two.journal");
    testing::appendToJournal(first, sessionEntries(kDecember1, "400"));
    testing::appendToJournal(second, sessionEntries(kDecember1 + kHour, "500"));

    openLogFiles(state, platform, view, {first, second});
    ASSERT_TRUE(state.journal.has_value());
    EXPECT_EQ(state.table.callCount(), 2);
    EXPECT_EQ(view.caption, "Kestal File Viewer - " + first + " and 1 more");
    // A text log opened afterwards is no journal.
    openLogFile(state, platform, view, windows.write("one.json", testing::journalctlJson(first)));
    EXPECT_FALSE(state.journal.has_value());
    EXPECT_EQ(state.table.callCount(), 1);
}

TEST_F(JournalOpen, FollowingAndReloadAddTheEntriesWrittenSince) {
    const std::string file = windows.file("ppp.journal");
    testing::appendToJournal(file, sessionEntries(kDecember1, "400"));
    openLogFile(state, platform, view, file);
    ASSERT_EQ(state.table.callCount(), 1);

    LogFollower follower;
    follower.start();
    LogGrowth growth;
    EXPECT_EQ(follower.look(state, platform.regionalSettings(), growth), LogChange::None);

    testing::appendToJournal(file, sessionEntries(kDecember1 + kHour, "500"));
    state.journal->lines->processChanges();
    ASSERT_EQ(follower.look(state, platform.regionalSettings(), growth), LogChange::Grew);
    takeGrowth(state, growth);
    EXPECT_EQ(state.table.callCount(), 2);
    EXPECT_EQ(cellsText(state.table), tableOfJournalctlJson(file));

    testing::appendToJournal(file, sessionEntries(kDecember1 + 2 * kHour, "600"));
    reloadLog(state, platform, view);
    EXPECT_EQ(state.table.callCount(), 3);
    EXPECT_EQ(cellsText(state.table), tableOfJournalctlJson(file));
}

TEST_F(JournalOpen, NoJournalThereIsSaidInTheStatusLabel) {
    const fs::path empty = windows.path() / "empty";
    fs::create_directory(empty);
    const JournalSource sources[] = {{{}, empty.string(), {}, {}},
                                     {{windows.file("missing.journal")}, {}, {}, {}}};
    for (const JournalSource& source : sources) {
        openJournal(state, platform, view, source);
        EXPECT_EQ(view.statusText, kNoJournal) << journalName(source);
        EXPECT_EQ(state.table.callCount(), 0);
    }
    EXPECT_TRUE(platform.dialogs.empty());
}

// A journal folder only its group may read, opened by a user outside it
// (root gives that up in a child process for the test).
TEST_F(JournalOpen, AJournalTheUserMayNotReadNamesTheGroupToJoin) {
    const fs::path folder = windows.path() / "journal";
    fs::create_directory(folder);
    testing::appendToJournal((folder / "system.journal").string(),
                             sessionEntries(kDecember1, "400"));
    const bool root = ::geteuid() == 0;
    if (root) {
        fs::permissions(windows.path(),
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        ASSERT_EQ(::chown(folder.c_str(), 0, 4), 0);  // root:adm
        fs::permissions(folder,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    } else {
        fs::permissions(folder, fs::perms::none);
    }
    const std::string expected = withPart(kJournalOwnEntriesOnly, root ? "adm" : "systemd-journal");
    const JournalSource source{{}, folder.string(), {}, {}};
    auto readAsUser = [&] {
        openJournal(state, platform, view, source);
        return view.statusText == expected && state.table.callCount() == 0 &&
               platform.dialogs.empty();
    };
    if (root) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool dropped =
                ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(dropped && readAsUser() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "expected: " << expected;
    } else {
        EXPECT_TRUE(readAsUser()) << view.statusText;
        fs::permissions(folder, fs::perms::owner_all);
    }
}

}  // namespace
}  // namespace kestal::commands
