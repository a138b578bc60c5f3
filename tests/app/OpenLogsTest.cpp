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
#include "commands/ReloadLog.h"
#include "support/LogTestHelpers.h"

namespace kestal::testing {
namespace {

using OpenLogs = AppTest;
using namespace std::string_literals;

QStringList actionNames(const QMenu* menu) {
    QStringList names;
    for (const QAction* action : menu->actions())
        names << (action->menu() ? action->menu()->objectName() : action->objectName());
    return names;
}

TEST_F(OpenLogs, NewItemsStandBesideTheirKinInTheOldMenusAndInNewMenus) {
    writeLog(kThreeCallLog);
    createWindows();
    QStringList shown;
    for (const QAction* menu : child<QMenuBar>(*main, "MainMenu1")->actions())
        if (menu->isVisible()) shown << menu->text();
    EXPECT_EQ(shown, (QStringList{"&File", "&Edit", "&Call", "&View", "&Help"}));
    EXPECT_EQ(actionNames(menu("File1")),
              (QStringList{"Open1", "OpenSystemJournal1", "RecentLogs1", "Copy1", "SaveAs1",
                           "SaveReportAs1", "SaveShownCallsAs1", "Print1", "N1", "Clear1", "N2",
                           "Exit1"}));
    EXPECT_EQ(menu("RecentLogs1")->title(), QStringLiteral("Recent &Logs"));
    EXPECT_EQ(actionNames(menu("View1")),
              (QStringList{"Reload1", "Follow1", "Filter1", "LogOrder1", "Outages1"}));
    EXPECT_EQ(action("Reload1")->shortcut(), QKeySequence(Qt::Key_F5));
}

TEST_F(OpenLogs, RecentLogsKeepTheLastEightFromRunToRunAndLoseMissingOnes) {
    writeLog(kThreeCallLog);
    createWindows();
    EXPECT_FALSE(menu("RecentLogs1")->isEnabled());  // the system log is no choice of the user's
    std::vector<std::string> logs;
    for (int i = 0; i < 10; ++i) {
        logs.push_back(windows.write("log & " + std::to_string(i) + ".txt", kThreeCallLog));
        platform.fileDialogAnswers.push_back(logs.back());
    }
    platform.fileDialogAnswers.push_back(logs[4]);                   // again: to the front, once
    platform.fileDialogAnswers.push_back(windows.file("gone.txt"));  // not read: not kept
    platform.fileDialogAnswers.push_back(std::nullopt);              // cancelled
    for (int i = 0; i < 13; ++i) action("Open1")->trigger();
    auto paths = [&](std::initializer_list<int> numbers) {
        std::vector<std::string> named;
        for (const int n : numbers) named.push_back(logs[static_cast<std::size_t>(n)]);
        return named;
    };
    EXPECT_EQ(RecentLogs().paths(), paths({4, 9, 8, 7, 6, 5, 3, 2}));
    EXPECT_EQ(menu("RecentLogs1")->actions().at(1)->text(),
              QString::fromStdString("&2 " + windows.file("log && 9.txt")));

    // The next run finds them; one chosen opens as File > Open opens it, a
    // missing one says so and leaves the list.
    main.reset();
    createWindows();
    platform.dialogs.clear();
    menu("RecentLogs1")->actions().at(3)->trigger();
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + logs[7]));
    std::filesystem::remove(logs[9]);
    menu("RecentLogs1")->actions().at(2)->trigger();
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{missingRecentLogText(logs[9])});
    EXPECT_EQ(platform.dialogs.back().type, DialogType::Error);
    EXPECT_EQ(RecentLogs().paths(), paths({7, 4, 8, 6, 5, 3, 2}));
    EXPECT_EQ(menu("RecentLogs1")->actions().size(), 7);
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + logs[7]));
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
    // A folder among the files: nothing is read (several files: see PppdLogTest).
    EXPECT_FALSE(dropOn(main.get(), {url, QUrl::fromLocalFile(windows.path().c_str())}));
    EXPECT_FALSE(dropOn(main.get(), {QUrl::fromLocalFile(windows.path().c_str())}));
    EXPECT_FALSE(dropOn(main.get(), {QUrl(QStringLiteral("https://example.org/ppplog.txt"))}));
    EXPECT_EQ(main->model()->rowCount(), 3);

    EXPECT_TRUE(dropOn(main.get(), {url}));
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + one));
    EXPECT_EQ(main->model()->rowCount(), 1);
    EXPECT_FALSE(action("Clear1")->isEnabled());
    EXPECT_EQ(RecentLogs().paths(), std::vector<std::string>{one});
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(OpenLogs, ADroppedPictureOrARecentFolderKeepsTheShownLog) {
    writeLog(kThreeCallLog);
    const std::string recent = windows.write("recent.txt", kThreeCallLog);
    platform.fileDialogAnswers.push_back(recent);
    createWindows();
    showMain();
    action("Open1")->trigger();
    const QString caption = main->windowTitle();
    const std::string picture =
        windows.write("picture.png", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\x08\x06"s);
    platform.dialogs.clear();

    EXPECT_TRUE(dropOn(main.get(), {QUrl::fromLocalFile(QString::fromStdString(picture))}));
    EXPECT_EQ(platform.dialogTexts(),
              std::vector<std::string>{picture + " does not look like a PPP log."});
    EXPECT_EQ(platform.dialogs.back().type, DialogType::Error);
    EXPECT_EQ(main->windowTitle(), caption);
    EXPECT_EQ(main->model()->rowCount(), 3);
    EXPECT_EQ(RecentLogs().paths(), std::vector<std::string>{recent});

    // The recent log has become a folder: said so, never "in use".
    std::filesystem::remove(recent);
    std::filesystem::create_directory(recent);
    platform.dialogs.clear();
    menu("RecentLogs1")->actions().at(0)->trigger();
    EXPECT_EQ(platform.dialogTexts(),
              std::vector<std::string>{recent + " is a folder, not a PPP log."});
    EXPECT_EQ(main->windowTitle(), caption);
    EXPECT_EQ(main->model()->rowCount(), 3);
}

TEST_F(OpenLogs, ReloadReadsTheLogAgainAndKeepsTheSelectedCall) {
    const std::string first =
        "12-01-2026 09:12:04.30 - Remote access driver log opened.\r\n"
        "12-01-2026 09:22:41.10 - Remote access driver log closed.\r\n";
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    grid()->setFocus();
    grid()->selectRow(1);  // the call of 12-02-2026 13:59:04
    struct Case {
        std::string log;
        int selected;  // model row after the reload
    };
    const std::vector<Case> cases = {
        {first + std::string(kThreeCallLog), 2},  // a call more before it
        {first + std::string(kThreeCallLog.substr(kThreeCallLog.find("12-03-2026"))), 0},  // gone
    };
    for (const Case& c : cases) {
        writeLog(c.log);
        QTest::keyClick(grid(), Qt::Key_F5);
        EXPECT_EQ(grid()->currentIndex().row(), c.selected);
        EXPECT_TRUE(grid()->hasFocus());
    }
    // The call is found again by its Start Time, the first row as any
    // other, of several the one nearest its old row; none is -1.
    CallTable starts{kDialUpColumns};
    starts.setRowCount(3);
    for (const int row : {0, 1, 2}) starts.setCell(Column::StartTime, row, row == 1 ? "b" : "a");
    EXPECT_EQ(rowOfCall(starts, "a", 0), 0);
    EXPECT_EQ(rowOfCall(starts, "a", 2), 2);
    EXPECT_EQ(rowOfCall(starts, "b", 0), 1);
    EXPECT_EQ(rowOfCall(starts, "c", 1), -1);
    EXPECT_EQ(rowOfCall(starts, "", 0), -1);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Kestal File Viewer"));

    // A log with a NUL asks, as any load does.
    writeLog(std::string(kThreeCallLog) + std::string(1, '\0'));
    action("Reload1")->trigger();
    EXPECT_EQ(platform.dialogTexts(), (std::vector<std::string>{std::string(kAttemptLoadQuestion),
                                                                std::string(kSomeCallsNotListed)}));
}

}  // namespace
}  // namespace kestal::testing
