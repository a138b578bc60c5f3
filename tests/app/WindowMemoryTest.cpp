// What the windows keep from one run to the next: the main window's size,
// place and state, the grid's column widths, hidden columns and sort, the
// details window's place; and no window larger than the screen.
#include <QHeaderView>
#include <QMenu>
#include <QSettings>
#include <QTest>

#include "AppFixture.h"
#include "app/GridMemory.h"
#include "app/look/WindowPlace.h"
#include "calls/DialUpColumns.h"

namespace kestal::testing {
namespace {

class WindowMemory : public AppTest {
protected:
    // The program ends (its windows closed as File > Exit closes them) and
    // starts again over the same settings.
    void restart() {
        details->close();
        main->close();
        details.reset();
        about.reset();
        main.reset();
        createWindows();
    }
    QHeaderView* titles() const { return grid()->horizontalHeader(); }
};

TEST_F(WindowMemory, TheGridsWidthsHiddenColumnsAndSortComeBackAfterARestart) {
    writeLog(kThreeCallLog);
    createWindows();
    for (int column = 0; column < kColumnCount; ++column)
        EXPECT_EQ(grid()->columnWidth(column), kDialUpColumns[column].width);
    EXPECT_EQ(titles()->sortIndicatorSection(), -1);

    titles()->resizeSection(kStartTimeColumn, 173);
    titles()->resizeSection(kBytesRxColumn, 31);
    grid()->setColumnHidden(kLcpColumn, true);
    grid()->setColumnHidden(kCrcErrorsColumn, true);
    titles()->setSortIndicator(kDurationColumn, Qt::DescendingOrder);
    restart();

    EXPECT_EQ(grid()->columnWidth(kStartTimeColumn), 173);
    EXPECT_EQ(grid()->columnWidth(kBytesRxColumn), 31);
    EXPECT_EQ(grid()->columnWidth(kEndTimeColumn), kDialUpColumns[kEndTimeColumn].width);
    EXPECT_TRUE(grid()->isColumnHidden(kLcpColumn));
    EXPECT_TRUE(grid()->isColumnHidden(kCrcErrorsColumn));
    EXPECT_FALSE(grid()->isColumnHidden(kChapColumn));
    EXPECT_EQ(titles()->sortIndicatorSection(), kDurationColumn);
    EXPECT_EQ(titles()->sortIndicatorOrder(), Qt::DescendingOrder);
    // Sorted, not only marked: the longest call (the third, 30:37) first.
    EXPECT_EQ(grid()->model()->index(0, kStartTimeColumn).data().toString(),
              QStringLiteral("12-03-2026 20:41:55"));

    // A column shown again comes back at its first width.
    grid()->setColumnHidden(kLcpColumn, false);
    EXPECT_EQ(grid()->columnWidth(kLcpColumn), kDialUpColumns[kLcpColumn].width);
    titles()->setSortIndicator(-1, Qt::AscendingOrder);
    restart();
    EXPECT_FALSE(grid()->isColumnHidden(kLcpColumn));
    EXPECT_EQ(titles()->sortIndicatorSection(), -1);
    EXPECT_EQ(grid()->model()->index(0, kStartTimeColumn).data().toString(),
              QStringLiteral("12-01-2026 09:12:04"));
}

TEST_F(WindowMemory, SettingsThatDontFitTheColumnsAreLeftAside) {
    struct Case {
        const char* what;
        const char* key;
        QVariant value;
    };
    QVariantList allHidden;
    for (int column = 0; column < kColumnCount; ++column) allHidden << column;
    const QVariantList seventeenWidths(kColumnCount - 1, 90);
    const Case cases[] = {
        {"widths of another table", "dialup/Grid/ColumnWidths", seventeenWidths},
        {"a width that is no number", "dialup/Grid/ColumnWidths",
         QVariantList(kColumnCount, QStringLiteral("wide"))},
        {"every column hidden", "dialup/Grid/HiddenColumns", allHidden},
        {"a hidden column past the last", "dialup/Grid/HiddenColumns", QVariantList{2, 18}},
        {"a sort column past the last", "dialup/Grid/SortColumn", 18},
        {"a sort column that is no number", "dialup/Grid/SortColumn", QStringLiteral("Duration")},
        {"settings of another kind of log", "pppd/Grid/SortColumn", 2},
    };
    writeLog(kThreeCallLog);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal")).clear();
        QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal")).setValue(c.key, c.value);
        main.reset();
        createWindows();
        for (int column = 0; column < kColumnCount; ++column) {
            EXPECT_EQ(grid()->columnWidth(column), kDialUpColumns[column].width) << column;
            EXPECT_FALSE(grid()->isColumnHidden(column)) << column;
        }
        EXPECT_EQ(titles()->sortIndicatorSection(), -1);
    }
    // A width beyond any screen's is cut down, one below the least kept up.
    QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal"))
        .setValue("dialup/Grid/ColumnWidths", QVariantList(kColumnCount, 1000000));
    main.reset();
    createWindows();
    EXPECT_EQ(grid()->columnWidth(0), 4000);
}

TEST_F(WindowMemory, EachKindOfLogKeepsItsOwnSettings) {
    EXPECT_EQ(logKindKey(kDialUpColumns), QStringLiteral("dialup"));
    // Another table's columns, even ones that copy the dial-up log's, are
    // another kind.
    const std::array<TableColumn, 2> other = {{
        {" Start Time", 110, "Start Time", "Start Time", ValueKind::Time, CellSource::Logged},
        {" Peer", 90, "Peer", "Peer", ValueKind::Address, CellSource::Logged},
    }};
    std::array<TableColumn, 2> renamed = other;
    renamed[1].header = "Remote";
    EXPECT_TRUE(logKindKey(other).startsWith(QStringLiteral("table-")));
    EXPECT_EQ(logKindKey(other), logKindKey(std::array<TableColumn, 2>(other)));
    EXPECT_NE(logKindKey(other), logKindKey(renamed));
    const std::array<TableColumn, kColumnCount> copied = kDialUpColumns;
    EXPECT_NE(logKindKey(copied), QStringLiteral("dialup"));
}

TEST_F(WindowMemory, TheMainWindowOpensMaximisedFirstThenAsTheUserLeftIt) {
    writeLog(kThreeCallLog);
    createWindows();
    main->showAsLastTime();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    EXPECT_TRUE(main->isMaximized());

    main->showNormal();
    main->resize(610, 430);
    main->move(40, 30);
    QApplication::processEvents();
    const QRect left = main->geometry();
    restart();
    main->showAsLastTime();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    EXPECT_FALSE(main->isMaximized());
    EXPECT_EQ(main->geometry(), left);

    main->showMaximized();
    QApplication::processEvents();
    restart();
    main->showAsLastTime();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    EXPECT_TRUE(main->isMaximized());
}

TEST_F(WindowMemory, TheDetailsWindowComesBackWhereItWasLeft) {
    writeLog(kThreeCallLog);
    createWindows();
    EXPECT_EQ(details->pos(), QPoint(56, 134));  // the first time
    main->showCallDetails();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(details.get()));
    details->move(90, 70);
    QApplication::processEvents();
    const QPoint left = details->pos();
    details->close();  // closing keeps it, as the end of the program does
    restart();
    main->showCallDetails();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(details.get()));
    EXPECT_EQ(details->pos(), left);
    EXPECT_EQ(details->size(), QSize(564, 273));
}

TEST_F(WindowMemory, NoWindowIsLargerThanTheScreenOrOutsideIt) {
    ensureApplication();
    struct Case {
        const char* what;
        QSize size;
        std::optional<QPoint> place;  // none: left to the window system
    };
    QWidget probe;
    const QRect area = availableArea(probe);
    ASSERT_FALSE(area.isEmpty());
    const Case cases[] = {
        {"smaller, left alone", {300, 200}, QPoint(area.left() + 10, area.top() + 20)},
        {"twice the screen", area.size() * 2, std::nullopt},
        {"wider only, placed", {area.width() + 500, 100}, area.topLeft()},
        {"off the right and bottom", {300, 200}, area.bottomRight()},
        {"off the left and top", {300, 200}, area.topLeft() - QPoint(1000, 1000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.resize(c.size);
        if (c.place) window.move(*c.place);
        fitOnScreen(window);
        EXPECT_EQ(window.size(), c.size.boundedTo(area.size()));
        if (c.place) {
            EXPECT_TRUE(area.contains(window.frameGeometry())) << window.frameGeometry().x();
            if (area.contains(QRect(*c.place, c.size))) {
                EXPECT_EQ(window.pos(), *c.place);
            }
        }
        // Shown, the window gets its frame: that too stays on the screen.
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < 50 && !area.contains(window.frameGeometry()); ++i) QTest::qWait(10);
        EXPECT_TRUE(area.contains(window.frameGeometry()))
            << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    }
    // A remembered place from a bigger screen is fitted too.
    {
        QWidget big;
        big.setGeometry(QRect(area.topLeft() + QPoint(200, 100), area.size() + QSize(800, 600)));
        QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal"))
            .setValue("test/Big/Geometry", big.saveGeometry());
    }
    QWidget again;
    rememberPlace(again, QStringLiteral("test/Big"));
    EXPECT_LE(again.width(), area.width());
    EXPECT_LE(again.height(), area.height());
    EXPECT_TRUE(area.contains(again.frameGeometry()));
}

}  // namespace
}  // namespace kestal::testing
