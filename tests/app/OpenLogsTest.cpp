// The ways to a log besides File > Open: the new menus, File > Recent Logs,
// a dropped file, View > Reload.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "AppFixture.h"
#include "app/RecentLogs.h"
#include "commands/Messages.h"
#include "log/LogTestHelpers.h"

namespace kestal::testing {
namespace {

using OpenLogs = AppTest;

QStringList actionNames(const QMenu* menu) {
    QStringList names;
    for (const QAction* action : menu->actions())
        names << (action->menu() ? action->menu()->objectName() : action->objectName());
    return names;
}

QStringList entries(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) texts << action->text();
    return texts;
}

TEST_F(OpenLogs, NewItemsComeAfterTheOldOnesAndInNewMenus) {
    writeLog(kThreeCallLog);
    createWindows();
    QStringList shown;
    for (const QAction* menu : main->mainMenu->actions())
        if (menu->isVisible()) shown << menu->text();
    EXPECT_EQ(shown, (QStringList{"&File", "&Call", "&View", "&Help"}));  // Edit has no item yet
    EXPECT_EQ(actionNames(main->fileMenu),
              (QStringList{"Open1", "Copy1", "SaveAs1", "Print1", "N1", "Clear1", "N2", "Exit1",
                           "N3", "RecentLogs1"}));
    EXPECT_EQ(main->openAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(main->printAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(main->recentLogsMenu->title(), QStringLiteral("Recent &Logs"));
    EXPECT_EQ(main->reloadAction->text(), QStringLiteral("&Reload"));
    EXPECT_EQ(main->reloadAction->shortcut(), QKeySequence(Qt::Key_F5));
}

TEST_F(OpenLogs, RecentLogsKeepTheLastEightOpenedNewestFirstFromRunToRun) {
    writeLog(kThreeCallLog);
    createWindows();
    EXPECT_FALSE(main->recentLogsMenu->isEnabled());  // the system log is no choice of the user's
    std::vector<std::string> logs;
    for (int i = 0; i < 10; ++i)
        logs.push_back(windows.write("log" + std::to_string(i) + ".txt", kThreeCallLog));
    for (const std::string& log : logs) {
        platform.fileDialogAnswers.push_back(log);
        main->openAction->trigger();
    }
    platform.fileDialogAnswers.push_back(logs[4]);  // again: to the front, once
    main->openAction->trigger();
    platform.fileDialogAnswers.push_back(windows.file("gone.txt"));  // not read: not kept
    main->openAction->trigger();
    platform.fileDialogAnswers.push_back(std::nullopt);  // cancelled
    main->openAction->trigger();

    const std::vector<std::string> expected = {logs[4], logs[9], logs[8], logs[7],
                                               logs[6], logs[5], logs[3], logs[2]};
    QStringList texts;
    for (std::size_t i = 0; i < expected.size(); ++i)
        texts << QStringLiteral("&%1 %2").arg(i + 1).arg(QString::fromStdString(expected[i]));
    EXPECT_EQ(entries(main->recentLogsMenu), texts);

    // The next run finds them; choosing one opens it as File > Open does.
    main.reset();
    createWindows();
    EXPECT_EQ(RecentLogs().paths(), expected);
    EXPECT_EQ(entries(main->recentLogsMenu), texts);
    main->recentLogsMenu->actions().at(3)->trigger();
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + logs[7]));
    EXPECT_EQ(main->model()->rowCount(), 3);
    EXPECT_EQ(RecentLogs().paths().front(), logs[7]);
}

TEST_F(OpenLogs, MissingRecentLogSaysSoAndLeavesTheList) {
    writeLog(kThreeCallLog);
    const std::string kept = windows.write("kept.txt", kThreeCallLog);
    const std::string gone = windows.write("gone & lost.txt", kThreeCallLog);
    createWindows();
    for (const std::string& log : {kept, gone}) {
        platform.fileDialogAnswers.push_back(log);
        main->openAction->trigger();
    }
    std::filesystem::remove(gone);
    ASSERT_EQ(main->recentLogsMenu->actions().front()->text(),
              QString::fromStdString("&1 " + windows.file("gone && lost.txt")));
    main->recentLogsMenu->actions().front()->trigger();

    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{missingRecentLogText(gone)});
    EXPECT_EQ(platform.dialogs.back().type, DialogType::Error);
    EXPECT_EQ(RecentLogs().paths(), std::vector<std::string>{kept});
    EXPECT_EQ(main->recentLogsMenu->actions().size(), 1);
    // The log shown stays.
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + gone));
    EXPECT_EQ(main->model()->rowCount(), 3);
}

// A drop as the desktop delivers it: the enter event first, then the drop.
bool dropOn(QWidget* window, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = window->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

TEST_F(OpenLogs, DroppedFileOpensAsFileOpenDoes) {
    writeLog(kThreeCallLog);
    const std::string one = windows.write(
        "one.txt", kThreeCallLog.substr(0, kThreeCallLog.find("12-02-2026 13:59:04")));
    createWindows();
    showMain();
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(one));
    EXPECT_FALSE(dropOn(main.get(), {url, url}));  // one log at a time
    EXPECT_FALSE(dropOn(main.get(), {QUrl::fromLocalFile(windows.path().c_str())}));
    EXPECT_FALSE(dropOn(main.get(), {QUrl(QStringLiteral("https://example.org/ppplog.txt"))}));
    EXPECT_EQ(main->model()->rowCount(), 3);

    EXPECT_TRUE(dropOn(main.get(), {url}));
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + one));
    EXPECT_EQ(main->model()->rowCount(), 1);
    EXPECT_FALSE(main->clearAction->isEnabled());
    EXPECT_EQ(RecentLogs().paths(), std::vector<std::string>{one});
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(OpenLogs, ReloadReadsTheLogAgainAndKeepsTheSelectedCall) {
    const std::string first =
        "12-01-2026 09:12:04.30 - Remote access driver log opened.\r\n"
        "12-01-2026 09:22:41.10 - Remote access driver log closed.\r\n";
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    main->callGrid->setFocus();
    main->callGrid->selectRow(1);  // the call of 12-02-2026 13:59:04
    struct Case {
        std::string log;
        int selected;  // model row after the reload
    };
    const std::vector<Case> cases = {
        {std::string(kThreeCallLog), 1},
        {first + std::string(kThreeCallLog), 2},  // a call more before it
        {first + std::string(kThreeCallLog.substr(kThreeCallLog.find("12-03-2026"))), 0},  // gone
    };
    for (const Case& c : cases) {
        writeLog(c.log);
        QTest::keyClick(main->callGrid, Qt::Key_F5);
        EXPECT_EQ(main->callGrid->currentIndex().row(), c.selected);
        EXPECT_TRUE(main->callGrid->hasFocus());
    }
    EXPECT_EQ(main->model()->rowCount(), 2);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Kestal File Viewer"));
    EXPECT_TRUE(main->clearAction->isEnabled());

    // A log with a NUL asks, as any load does.
    writeLog(std::string(kThreeCallLog) + std::string(1, '\0'));
    main->reloadAction->trigger();
    EXPECT_EQ(platform.dialogTexts(), (std::vector<std::string>{std::string(kAttemptLoadQuestion),
                                                                std::string(kSomeCallsNotListed)}));
}

TEST_F(OpenLogs, NothingToReloadWithoutALog) {
    platform.windowsDir.reset();
    createWindows();
    EXPECT_FALSE(main->reloadAction->isEnabled());
    main->reloadLog();
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(main->statusLabel->text().toStdString(), kNoSystemLog);
}

}  // namespace
}  // namespace kestal::testing
