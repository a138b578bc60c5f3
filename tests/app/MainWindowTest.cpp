// Start-up, the grid's set-up and the main window's commands.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "AppFixture.h"
#include "calls/DialUpColumns.h"
#include "commands/Messages.h"
#include "table/CallTable.h"

namespace kestal::testing {
namespace {

using MainWindow = AppTest;

TEST_F(MainWindow, FirstLoadRunsInsideTheMainWindowsCreationBeforeTheOtherWindows) {
    // No log at all: the load's error dialog must come while nothing is
    // visible yet and before the About box and the details window exist.
    std::vector<bool> othersExisted;
    platform.mainWindowVisible = [&] {
        othersExisted.push_back(about != nullptr || details != nullptr);
        return main && main->isVisible();
    };
    createWindows();

    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].text, std::string(kLogInUse));
    EXPECT_EQ(platform.dialogs[0].type, DialogType::Error);
    EXPECT_FALSE(platform.dialogs[0].mainWindowVisible);
    EXPECT_EQ(othersExisted, std::vector<bool>{false});
    EXPECT_FALSE(about->isVisible());
    EXPECT_FALSE(details->isVisible());
    // The empty table: one empty row, selected, and no count.
    EXPECT_EQ(main->model()->rowCount(), 1);
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_TRUE(statusLabel()->text().isEmpty());
}

TEST_F(MainWindow, WindowAndComponentsAreSetUpAsDesigned) {
    writeLog(kThreeCallLog);
    createWindows();
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Kestal File Viewer"));
    EXPECT_FALSE(main->windowIcon().isNull());
    EXPECT_EQ(main->font().family(), QStringLiteral("System"));
    EXPECT_EQ(main->font().pixelSize(), 13);

    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    };
    const Item items[] = {
        {"Open1", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"Copy1", "&Copy...", {}},
        {"SaveAs1", "Save Table &As...", {}},
        {"Print1", "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"Clear1", "Clear", {}},
        {"Exit1", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"ShowCallDetails2", "&Show Call Details", {}},
        {"About1", "&About...", {}},
        {"ShowCallDetails1", "&Show Call Details", {}},
        {"CopyCall1", "&Copy Call", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"CopyShownCalls1", "Copy &Shown Calls", {}},
        {"SaveShownCallsAs1", "Save &Shown Calls As...", {}},
        {"Filter1", "Fil&ter", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"LogOrder1", "&Log Order", {}},
        {"CopyCall2", "&Copy Call", {}},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.name);
        auto* action = main->findChild<QAction*>(QString::fromLatin1(item.name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromLatin1(item.caption));
        EXPECT_EQ(action->shortcut(), item.shortcut);
        EXPECT_TRUE(action->isEnabled());
    }
    QStringList menus;
    // The menus of old in their order, whatever came between them later.
    for (QAction* action : child<QMenuBar>(*main, "MainMenu1")->actions())
        if (action->menu() != menu("Edit1") && action->menu() != menu("View1"))
            menus << action->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Call", "&Help"}));
    QStringList fileItems;
    for (QAction* action : menu("File1")->actions())
        fileItems << (action->isSeparator() ? QStringLiteral("-") : action->text());
    // The later items stand among the first ones, which keep their order.
    EXPECT_EQ(fileItems,
              (QStringList{"&Open", "Open System &Journal", "Recent &Logs", "&Copy...",
                           "Save Table &As...", "Save &Report As...", "Save &Shown Calls As...",
                           "&Print...", "-", "Clear", "-", "E&xit"}));

    EXPECT_EQ(main->saveDialog().kind, FileDialog::Kind::Save);
    EXPECT_EQ(main->saveDialog().filter, "Text (*.txt)|*.txt");
    EXPECT_EQ(main->saveDialog().defaultExt, "txt");
    EXPECT_TRUE(main->saveDialog().overwritePrompt);
    EXPECT_TRUE(main->saveDialog().hideReadOnly);
    EXPECT_EQ(main->openDialog().kind, FileDialog::Kind::Open);
    EXPECT_EQ(main->openDialog().filter,
              "Text (*.txt)|*.txt|All files (*)|*|Journal files (*.journal)|*.journal");
    EXPECT_EQ(main->openDialog().defaultExt, "txt");

    const ProgressGauge* gauge = child<ProgressGauge>(*main, "Gauge1");
    const QFrame* statusBar = child<QFrame>(*main, "Panel1");
    EXPECT_EQ(statusLabel()->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(statusLabel()->font().pixelSize(), 11);
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("3 Calls"));
    EXPECT_EQ(statusLabel()->pos(), QPoint(8, 1));
    EXPECT_EQ(gauge->geometry(), QRect(300, 2, 333, 14));
    EXPECT_TRUE(gauge->isHidden());
    EXPECT_EQ(gauge->minValue(), 0);
    EXPECT_EQ(gauge->maxValue(), 100);

    showMain();
    main->resize(900, 500);
    QApplication::processEvents();
    EXPECT_EQ(statusBar->height(), 20);
    EXPECT_EQ(statusBar->width(), main->centralWidget()->width());
    EXPECT_EQ(statusBar->geometry().bottom(), main->centralWidget()->height() - 1);
    EXPECT_EQ(grid()->geometry().bottom() + 1, statusBar->y());
    EXPECT_EQ(gauge->geometry(), QRect(300, 2, 333, 14));  // stays put
    EXPECT_EQ(main->focusWidget(), grid());
}

TEST_F(MainWindow, GridShowsTheCallTableWithItsTitlesWidthsAndOptions) {
    writeLog(kThreeCallLog);
    createWindows();
    CallGrid* grid = AppTest::grid();
    QAbstractItemModel* model = grid->model();

    ASSERT_EQ(model->columnCount(), kColumnCount);
    EXPECT_EQ(model->rowCount(), 3);
    for (int column = 0; column < kColumnCount; ++column) {
        SCOPED_TRACE(column);
        const TableColumn& info = kDialUpColumns[static_cast<std::size_t>(column)];
        EXPECT_EQ(
            model->headerData(column, Qt::Horizontal).toString(),
            QString::fromLatin1(info.title.data(), static_cast<qsizetype>(info.title.size())));
        EXPECT_EQ(grid->columnWidth(column), info.width);
    }
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), QStringLiteral("12-01-2026 09:12:04"));
    EXPECT_EQ(model->data(model->index(2, 1)).toString(), QStringLiteral("12-03-2026 21:12:32"));
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model->headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model->headerData(0, Qt::Vertical).isValid());

    EXPECT_EQ(grid->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(grid->font().pixelSize(), 11);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(grid->rowHeight(row), 16);
    EXPECT_EQ(grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 16);
    EXPECT_TRUE(grid->verticalHeader()->isHidden());
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_TRUE(grid->horizontalHeader()->sectionsClickable());  // a click sorts
    EXPECT_FALSE(grid->showGrid());
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(model->flags(model->index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);

    // Row 0 selected, whole.
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(main->selectedRow(), 0);
}

TEST_F(MainWindow, ModelPassesTheItemModelTesterThroughLoads) {
    writeLog(kThreeCallLog);
    createWindows();
    QAbstractItemModelTester tester(main->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const std::string other = windows.write(
        "other.txt", kThreeCallLog.substr(0, kThreeCallLog.find("12-02-2026 13:59:04")));
    platform.fileDialogAnswers.push_back(other);
    main->openLog();
    EXPECT_EQ(main->model()->rowCount(), 1);
    platform.fileDialogAnswers.push_back(windows.file("ppplog.txt"));
    main->openLog();
    EXPECT_EQ(main->model()->rowCount(), 3);
    EXPECT_TRUE(platform.dialogs.empty()) << platform.dialogs.front().text;
}

TEST_F(MainWindow, OpenReloadsKeepsUserColumnWidthsAndSelectsRowOne) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    CallGrid* grid = AppTest::grid();
    grid->horizontalHeader()->resizeSection(0, 150);
    grid->horizontalHeader()->resizeSection(5, 12);
    grid->selectRow(2);
    ASSERT_EQ(main->selectedRow(), 2);

    const std::string other = windows.write(
        "two.txt", kThreeCallLog.substr(0, kThreeCallLog.find("12-03-2026 20:41:55")));
    platform.fileDialogAnswers.push_back(other);
    action("Open1")->trigger();

    EXPECT_EQ(main->model()->rowCount(), 2);
    EXPECT_EQ(main->windowTitle(), QString::fromStdString("Kestal File Viewer - " + other));
    EXPECT_FALSE(action("Clear1")->isEnabled());
    EXPECT_EQ(grid->columnWidth(0), 150);
    EXPECT_EQ(grid->columnWidth(5), 12);
    EXPECT_EQ(grid->columnWidth(1), kDialUpColumns[1].width);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(main->selectedRow(), 0);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(grid->rowHeight(1), 16);
}

TEST_F(MainWindow, FailedOpenLeavesTheEmptyRowSelected) {
    writeLog(kThreeCallLog);
    createWindows();
    grid()->selectRow(2);
    platform.fileDialogAnswers.push_back(windows.file("missing.txt"));
    main->openLog();
    ASSERT_EQ(platform.dialogTexts(), std::vector<std::string>{std::string(kLogInUse)});
    EXPECT_EQ(main->model()->rowCount(), 1);
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    EXPECT_TRUE(grid()->selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(main->selectedRow(), 0);
    EXPECT_TRUE(statusLabel()->text().isEmpty());
}

TEST_F(MainWindow, GridHasTheFocusAtFirstAndLosesItToAnOpen) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    EXPECT_TRUE(grid()->hasFocus());
    platform.fileDialogAnswers.push_back(windows.file("ppplog.txt"));
    main->openLog();
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_FALSE(grid()->hasFocus());
    // Enter no longer reaches the grid until it is clicked.
    QTest::keyClick(main.get(), Qt::Key_Return);
    EXPECT_FALSE(details->isVisible());
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                      grid()->visualRect(grid()->model()->index(0, 0)).center());
    EXPECT_TRUE(grid()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(details->isVisible());
}

TEST_F(MainWindow, RightClickSelectsTheRowUnderThePointerForTheContextMenu) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    CallGrid* grid = AppTest::grid();
    QWidget* cells = grid->viewport();
    const QPoint third = grid->visualRect(grid->model()->index(2, 3)).center();
    auto openMenu = [&](QContextMenuEvent::Reason reason, const QPoint& at) {
        QContextMenuEvent menuEvent(reason, at, cells->mapToGlobal(at));
        QApplication::sendEvent(cells, &menuEvent);
        EXPECT_TRUE(menu("PopupMenu1")->isVisible());
        menu("PopupMenu1")->hide();
    };
    auto copiedStart = [&] { return platform.clipboard.substr(0, 19); };

    // Row 1 selected, row 3 right-clicked: Copy Call copies row 3's call.
    QTest::mouseClick(cells, Qt::RightButton, {}, third);
    openMenu(QContextMenuEvent::Mouse, third);
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(main->selectedRow(), 2);
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 1);
    action("CopyCall2")->trigger();
    EXPECT_EQ(copiedStart(), "12-03-2026 20:41:55");

    // A menu that comes without a press selects the row all the same.
    const QPoint second = grid->visualRect(grid->model()->index(1, 0)).center();
    openMenu(QContextMenuEvent::Mouse, second);
    EXPECT_EQ(main->selectedRow(), 1);
    // Below the last row, or from the menu key, the selection stays.
    const QPoint belowRows(third.x(), cells->height() - 2);
    ASSERT_FALSE(grid->indexAt(belowRows).isValid());
    QTest::mouseClick(cells, Qt::RightButton, {}, belowRows);
    openMenu(QContextMenuEvent::Mouse, belowRows);
    openMenu(QContextMenuEvent::Keyboard, third);
    EXPECT_EQ(main->selectedRow(), 1);
    action("CopyCall2")->trigger();
    EXPECT_EQ(copiedStart(), "12-02-2026 13:59:04");
}

TEST_F(MainWindow, KeysMoveTheSelectionByRowOnly) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    CallGrid* grid = AppTest::grid();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(main->selectedRow(), 1);
    QTest::keyClicks(grid, "12-03");  // no jump to the row starting so
    EXPECT_EQ(main->selectedRow(), 1);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(main->selectedRow(), 2);
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(main->selectedRow(), 1);
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 1);
    EXPECT_FALSE(details->isVisible());
}

TEST_F(MainWindow, GridAnswersNoTooltips) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    CallGrid* grid = AppTest::grid();
    const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
    QHelpEvent cellTip(QEvent::ToolTip, cell, grid->viewport()->mapToGlobal(cell));
    EXPECT_TRUE(QApplication::sendEvent(grid->viewport(), &cellTip));  // taken, nothing shown
    QHelpEvent titleTip(QEvent::ToolTip, QPoint(20, 5),
                        grid->horizontalHeader()->mapToGlobal(QPoint(20, 5)));
    EXPECT_TRUE(QApplication::sendEvent(grid->horizontalHeader()->viewport(), &titleTip));
}

TEST_F(MainWindow, AboutTwiceShowsOneBox) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    action("About1")->trigger();
    EXPECT_TRUE(about->isVisible());
    child<QPushButton>(*about, "Button1")->click();
    EXPECT_FALSE(about->isVisible());
    action("About1")->trigger();
    main->showAbout();
    EXPECT_TRUE(about->isVisible());
    int boxes = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        boxes += qobject_cast<AboutBox*>(widget) != nullptr;
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(child<QLabel>(*about, "ProductName")->text(), QStringLiteral("Kestal File Viewer"));
    EXPECT_EQ(child<QLabel>(*about, "Version")->text(), QStringLiteral("Version: 1.12"));
}

TEST_F(MainWindow, AboutAndShowCallDetailsActOnlyOnTheWindowsTheMainWindowHolds) {
    writeLog(kThreeCallLog);
    main = std::make_unique<kestal::MainWindow>(platform);
    showMain();
    main->showAbout();  // nothing given yet: nothing shown, nothing reported
    main->showCallDetails();
    EXPECT_TRUE(platform.dialogs.empty());

    about = std::make_unique<AboutBox>();
    details = std::make_unique<CallDetailsWindow>(platform);
    main->useWindows(*about, *details);
    main->showCallDetails();
    EXPECT_TRUE(details->isVisible());
    EXPECT_EQ(details->lines().size(), 4u);
    main->showAbout();
    EXPECT_TRUE(about->isVisible());

    // Windows closed for good are no longer reached.
    details.reset();
    about.reset();
    main->showCallDetails();
    main->showAbout();
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(MainWindow, ExitClosesTheMainWindowAlsoWithTheOtherWindowsOpen) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    QSignalSpy closed(main.get(), &kestal::MainWindow::closed);
    main->showCallDetails();
    main->showAbout();
    ASSERT_TRUE(details->isVisible());
    action("Exit1")->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(MainWindow, ClearEmptiesTheLogAndEndsTheProgram) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    QSignalSpy closed(main.get(), &kestal::MainWindow::closed);
    action("Clear1")->trigger();  // unanswered: No
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(readBytes(windows.file("ppplog.txt")), kThreeCallLog);

    platform.dialogAnswers.push_back(DialogResult::Yes);
    action("Clear1")->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(readBytes(windows.file("ppplog.txt")),
              "12-06-2026 15:05:09:00 - PPPLOG.TXT cleared by KESTAL.EXE.\r\n");
}

TEST_F(MainWindow, CommandsWaitWhileARepairLetsEventsThrough) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    QSignalSpy closed(main.get(), &kestal::MainWindow::closed);
    main->view().setInputBlocked(true);
    main->showCallDetails();
    main->showAbout();
    EXPECT_FALSE(main->close());
    EXPECT_FALSE(details->isVisible());
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(closed.count(), 0);
    main->view().setInputBlocked(false);
    main->exitProgram();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainWindow, CommandFailureEndsInTheErrorReport) {
    writeLog(kThreeCallLog);
    createWindows();
    platform.fakePrinter.hasDefaultPrinter = false;
    action("Print1")->trigger();
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].kind, DialogRecord::Kind::ErrorReport);
    EXPECT_EQ(platform.dialogs[0].text, "There is no default printer currently selected.");
}

}  // namespace
}  // namespace kestal::testing
