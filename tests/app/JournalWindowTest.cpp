// The journal in the main window: a journal file from File > Open and from
// --journal-file, the system journal's periods, and Follow of a journal.
#include <unistd.h>

#include <QCommandLineParser>
#include <QDateTime>
#include <QLabel>
#include <QTest>

#include "AppFixture.h"
#include "app/CommandLine.h"
#include "app/RecentLogs.h"
#include "support/JournalSessions.h"
#include "support/LogTestHelpers.h"

namespace kestal::testing {
namespace {

constexpr std::int64_t kDay = 24 * 3600 * kJournalSecond;

CommandLine commandLineOf(const QStringList& arguments) {
    QCommandLineParser parser;
    describeOptions(parser);
    return readCommandLine(parser, QStringList{QStringLiteral("Kestal")} + arguments);
}

class JournalWindow : public AppTest {
protected:
    // Two sessions two days apart.
    std::string writeJournal() {
        const std::string file = windows.file("ppp.journal");
        appendToJournal(file, sessionEntries(kDecember1, "400"));
        appendToJournal(file, sessionEntries(kDecember1 + 2 * kDay, "500"));
        return file;
    }
    // A journal of one session, opened from File > Open and followed.
    std::string followOneSession() {
        const std::string journal = windows.file("ppp.journal");
        appendToJournal(journal, sessionEntries(kDecember1, "400"));
        platform.fileDialogAnswers.push_back(journal);
        writeLog(kThreeCallLog);
        createWindows();
        showMain();
        action("Open1")->trigger();
        action("Follow1")->trigger();
        return journal;
    }
    // The table of journalctl's JSON of the journal, opened as a text log.
    std::string tableOfJson(const std::string& journal) {
        platform.fileDialogAnswers.push_back(windows.write("ppp.json", journalctlJson(journal)));
        action("Open1")->trigger();
        EXPECT_FALSE(main->state().journal.has_value());
        return cellsText(main->state().table);
    }
};

TEST_F(JournalWindow, FileOpenReadsAJournalFileThroughTheJournal) {
    writeLog(kThreeCallLog);
    const std::string journal = writeJournal();
    createWindows();
    platform.fileDialogAnswers.push_back(journal);
    action("Open1")->trigger();

    ASSERT_TRUE(main->state().journal.has_value());
    EXPECT_EQ(main->model()->rowCount(), 2);
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + journal));
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("2 Sessions, 0 Failed Attempts"));
    EXPECT_FALSE(action("Clear1")->isEnabled());
    EXPECT_TRUE(action("Reload1")->isEnabled());
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(RecentLogs().paths(), std::vector<std::string>{journal});
    const std::string shown = cellsText(main->state().table);
    EXPECT_EQ(shown, tableOfJson(journal));

    // From the recent logs it is read as a journal again.
    menu("RecentLogs1")->actions().at(1)->trigger();
    ASSERT_TRUE(main->state().journal.has_value());
    EXPECT_EQ(cellsText(main->state().table), shown);
}

TEST_F(JournalWindow, TheCommandLineNamesJournalFilesAndAPeriod) {
    const std::string journal = writeJournal();
    const CommandLine line =
        commandLineOf({QStringLiteral("--journal-file"), QString::fromStdString(journal),
                       QStringLiteral("--since"), QStringLiteral("2026-12-02")});
    ASSERT_TRUE(line.ok) << line.error;
    ASSERT_TRUE(line.journal.has_value());
    EXPECT_EQ(line.journal->files, std::vector<std::string>{journal});
    main = std::make_unique<MainWindow>(platform, nullptr, line.logFiles, line.journal);

    EXPECT_EQ(main->model()->rowCount(), 1);  // the session of December 3rd
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + journal));
    const std::string shown = cellsText(main->state().table);
    const std::string whole = tableOfJson(journal);
    EXPECT_EQ(whole.substr(whole.size() - shown.size()), shown);
}

TEST_F(JournalWindow, CommandLineJournalOptionsAndTheirMistakes) {
    const struct {
        QStringList arguments;
        std::string error;  // empty: ok
    } cases[] = {
        {{"--journal"}, ""},
        {{"--journal-directory", "/var/log/journal", "--until", "12-24-2026"}, ""},
        {{"--journal", "--since", "2026-12-01 14:30"}, ""},
        {{"--journal", "--since", "yesterday"},
         "--since: 'yesterday' is no date MM-DD-YYYY or YYYY-MM-DD [HH:MM[:SS]]"},
        {{"--until", "2026-12-01"},
         "--since and --until choose the journal's entries: give --journal"},
        {{"--journal", "ppp.log"}, "a LOGFILE and the journal can't be shown together"},
        {{"--journal-file", "a.journal", "--journal-directory", "/j"},
         "--journal-file and --journal-directory can't go together"},
    };
    for (const auto& test : cases) {
        const CommandLine line = commandLineOf(test.arguments);
        EXPECT_EQ(line.ok, test.error.empty()) << test.arguments.join(' ').toStdString();
        EXPECT_EQ(line.error, test.error);
        EXPECT_EQ(line.journal.has_value(), test.error.empty());
    }
    EXPECT_FALSE(commandLineOf({}).journal.has_value());
    EXPECT_EQ(commandLineOf({"--journal-directory", "/j"}).journal->directory, "/j");

    const QDateTime afternoon(QDate(2026, 12, 1), QTime(14, 30));
    EXPECT_EQ(journalTime(QStringLiteral("2026-12-01 14:30")),
              afternoon.toMSecsSinceEpoch() * 1000);
    EXPECT_EQ(journalTime(QStringLiteral("2026-12-01T14:30:00")),
              afternoon.toMSecsSinceEpoch() * 1000);
    EXPECT_EQ(journalTime(QStringLiteral("12-01-2026 14:30:00")),
              afternoon.toMSecsSinceEpoch() * 1000);
    EXPECT_EQ(journalTime(QStringLiteral("12-01-2026")),
              QDate(2026, 12, 1).startOfDay().toMSecsSinceEpoch() * 1000);
    EXPECT_FALSE(journalTime(QStringLiteral("2026-13-01")).has_value());
    EXPECT_FALSE(journalTime(QStringLiteral("2026-12-01 14")).has_value());
}

TEST_F(JournalWindow, FollowShowsTheEntriesWrittenWithoutADialog) {
    const std::string journal = followOneSession();
    ASSERT_EQ(main->model()->rowCount(), 1);

    appendToJournal(journal, sessionEntries(kDecember1 + kDay, "500"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->model()->rowCount() == 2; }, 3000));
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("2 Sessions, 0 Failed Attempts"));
    EXPECT_TRUE(platform.dialogs.empty());
}

// A journal file cut short while it is followed can't be read on: the
// follow status says so, and no dialog comes at each look.
TEST_F(JournalWindow, AJournalThatCantBeReadOnIsSaidInTheFollowStatus) {
    const std::string journal = followOneSession();
    ASSERT_EQ(main->model()->rowCount(), 1);

    appendToJournal(journal, sessionEntries(kDecember1 + kDay, "500"));
    ASSERT_EQ(::truncate(journal.c_str(), 4096), 0);
    const auto* status = main->findChild<QLabel*>(QStringLiteral("FollowStatus"));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return status->text() == QStringLiteral("Following: the log can't be read"); }, 3000))
        << status->text().toStdString();
    QTest::qWait(1200);
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(main->model()->rowCount(), 1);
}

TEST_F(JournalWindow, OpenSystemJournalOffersFourPeriodsUpToNow) {
    writeLog(kThreeCallLog);
    createWindows();
    QStringList names;
    for (const QAction* item : menu("OpenSystemJournal1")->actions()) names << item->objectName();
    EXPECT_EQ(names, (QStringList{"JournalDay1", "JournalWeek1", "JournalMonth1", "JournalAll1"}));

    action("JournalWeek1")->trigger();
    ASSERT_TRUE(main->state().journal.has_value());
    EXPECT_TRUE(main->state().journal->source.files.empty());
    EXPECT_EQ(main->state().journal->source.sinceUsec,
              commands::periodStart(commands::JournalPeriod::Week, platform.clock));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Kestal File Viewer - System Journal"));
    EXPECT_FALSE(action("Clear1")->isEnabled());
    // The system's journal is no entry of the recent logs.
    EXPECT_TRUE(RecentLogs().paths().empty());
    // A day later Reload shows the week up to then.
    platform.clock = DateTime{2026, 12, 7, 15, 5, 9};
    action("Reload1")->trigger();
    EXPECT_EQ(main->state().journal->source.sinceUsec,
              commands::periodStart(commands::JournalPeriod::Week, platform.clock));

    action("JournalAll1")->trigger();
    EXPECT_FALSE(main->state().journal->source.sinceUsec.has_value());
}

}  // namespace
}  // namespace kestal::testing
