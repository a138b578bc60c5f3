// The menus' access letters and shortcuts, the filter bar's, the title
// row's choice of columns, and the names a screen reader gives the windows'
// controls.
#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include "AppFixture.h"
#include "calls/DialUpColumns.h"

namespace kestal::testing {
namespace {

using MenusAndKeys = AppTest;

// The letter after a lone "&" in a caption, upper case; none without one.
QChar accessLetter(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] != QLatin1Char('&')) return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

TEST_F(MenusAndKeys, NoTwoItemsOfAMenuShareAnAccessLetter) {
    writeLog(kThreeCallLog);
    createWindows();
    QList<QWidget*> menus{child<QMenuBar>(*main, "MainMenu1")};
    for (const char* name : {"File1", "Edit1", "Call1", "View1", "Help1", "PopupMenu1"})
        menus << menu(name);
    for (QWidget* menu : menus) {
        SCOPED_TRACE(menu->objectName().toStdString());
        QSet<QChar> letters;
        for (const QAction* item : menu->actions()) {
            const QChar letter = accessLetter(item->text());
            if (letter.isNull() || !item->isVisible()) continue;
            EXPECT_FALSE(letters.contains(letter)) << item->text().toStdString();
            letters.insert(letter);
        }
    }
    EXPECT_EQ(action("Follow1")->text(), QStringLiteral("&Follow"));
    EXPECT_EQ(action("Filter1")->text(), QStringLiteral("Fil&ter"));
}

TEST_F(MenusAndKeys, CtrlQEndsTheProgramAsExitDoes) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(grid(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(MenusAndKeys, EachFilterCheckHasItsOwnAccessLetterThatTicksIt) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    action("Filter1")->trigger();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QSet<QChar> taken;
    for (const QAction* item : child<QMenuBar>(*main, "MainMenu1")->actions())
        taken.insert(accessLetter(item->text()));
    // A dial-up log's checks; a pppd log's two stand in the same place.
    QList<QCheckBox*> checks;
    const QWidget* bar = child<QWidget>(*main, "FilterBar");
    for (QCheckBox* check : bar->findChildren<QCheckBox*>())
        if (check->isVisibleTo(bar)) checks.append(check);
    ASSERT_EQ(checks.size(), 7);
    for (QCheckBox* check : checks) {
        SCOPED_TRACE(check->objectName().toStdString());
        const QChar letter = accessLetter(check->text());
        ASSERT_FALSE(letter.isNull());
        EXPECT_FALSE(taken.contains(letter)) << QString(letter).toStdString();
        taken.insert(letter);
        const bool before = check->isChecked();
        QTest::keyClick(main.get(), static_cast<Qt::Key>(letter.unicode()), Qt::AltModifier);
        // The key presses the check as a click does, a moment later.
        for (int i = 0; i < 100 && check->isChecked() == before; ++i) QTest::qWait(10);
        EXPECT_NE(check->isChecked(), before);
        EXPECT_TRUE(check->hasFocus());
    }
}

TEST_F(MenusAndKeys, ScreenReadersHearWhatEachControlIs) {
    writeLog(kThreeCallLog);
    createWindows();
    struct Named {
        const QWidget* window;
        const char* objectName;
        const char* spoken;
    };
    const Named named[] = {
        {main.get(), "Grid1", "Calls"},
        {main.get(), "Label1", "Number of calls"},
        {main.get(), "Gauge1", "Repair progress"},
        {main.get(), "FromCheck", "Calls from"},
        {main.get(), "FromDate", "First date"},
        {main.get(), "ToCheck", "Calls to"},
        {main.get(), "ToDate", "Last date"},
        {main.get(), "ErrorsCheck", "Calls with errors"},
        {main.get(), "CutShortCheck", "Cut-short calls"},
        {main.get(), "MinDurationCheck", "Duration at least"},
        {main.get(), "MinDuration", "Shortest duration"},
        {main.get(), "MaxDurationCheck", "Duration at most"},
        {main.get(), "MaxDuration", "Longest duration"},
        {main.get(), "SlowLayerCheck", "A layer slower than"},
        {main.get(), "SlowLayerSeconds", "Layer seconds"},
        {main.get(), "DroppedCheck", "Dropped sessions"},
        {main.get(), "FailedCheck", "Failed attempts"},
        {main.get(), "FromDateCalendar", "Calendar of the first date"},
        {details.get(), "Memo1", "Lines of the call"},
        {details.get(), "Button1", "Close"},
        {details.get(), "Button2", "Print the call's lines"},
        {about.get(), "Button1", "OK"},
    };
    for (const Named& n : named) {
        SCOPED_TRACE(n.objectName);
        EXPECT_EQ(child<QWidget>(*n.window, n.objectName)->accessibleName(),
                  QString::fromUtf8(n.spoken));
    }
    // Every button of these windows has a name of its own, one added later
    // included; Qt's inner ones (the menu bar's overflow, the grid's corner)
    // are Qt's to name.
    int buttons = 0;
    for (const QWidget* window :
         {static_cast<QWidget*>(main.get()), static_cast<QWidget*>(details.get()),
          static_cast<QWidget*>(about.get())})
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            const QString name = button->objectName();
            if (name.isEmpty() || name.startsWith(QStringLiteral("qt_"))) continue;
            ++buttons;
            EXPECT_FALSE(button->accessibleName().isEmpty()) << name.toStdString();
        }
    // The filter's checks (a pppd log's two among them) and its two calendars,
    // Close and Print, OK.
    EXPECT_EQ(buttons, 9 + 2 + 2 + 1);
}

TEST_F(MenusAndKeys, ARightClickOnTheTitlesChoosesTheColumnsShown) {
    writeLog(kThreeCallLog);
    createWindows();
    showMain();
    QHeaderView* titles = grid()->horizontalHeader();
    auto chooser = [&] {
        emit titles->customContextMenuRequested(QPoint(5, 5));
        return child<QMenu>(*grid(), "ColumnsMenu");
    };
    QMenu* columns = chooser();
    ASSERT_EQ(columns->actions().size(), kColumnCount);
    EXPECT_EQ(columns->actions().at(kDurationColumn)->text(), QStringLiteral("Duration"));
    columns->actions().at(kDurationColumn)->trigger();
    columns->hide();
    EXPECT_TRUE(grid()->isColumnHidden(kDurationColumn));
    EXPECT_FALSE(chooser()->actions().at(kDurationColumn)->isChecked());
    chooser()->hide();

    // Down to one column: that one can't go.
    for (int column = 1; column < kColumnCount; ++column) grid()->setColumnHidden(column, true);
    columns = chooser();
    EXPECT_FALSE(columns->actions().at(0)->isEnabled());
    EXPECT_TRUE(columns->actions().at(kDurationColumn)->isEnabled());
    columns->actions().at(kDurationColumn)->trigger();
    columns->hide();
    EXPECT_FALSE(grid()->isColumnHidden(kDurationColumn));
    EXPECT_EQ(grid()->columnWidth(kDurationColumn), kDialUpColumns[kDurationColumn].width);
}

}  // namespace
}  // namespace kestal::testing
