// Sorting by a column title, the filter bar, and the commands on the shown
// calls: the selected call is the one the user sees.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimeEdit>

#include "AppFixture.h"
#include "calls/DialUpColumns.h"
#include "output/TableExport.h"
#include "support/LogTestHelpers.h"
#include "table/CallTable.h"
#include "table/ValueReaders.h"

namespace kestal::testing {
namespace {

// Four calls: A lasts 30 minutes, B 5 minutes with CRC errors, C is cut
// short by D, which lasts an hour.
std::string fourCallLog() {
    return crlfText({
        logLine("09:00:00.00", "Remote access driver log opened.", "12-01-2026"),
        logLine("09:00:02.50", "LCP : Layer up", "12-01-2026"),
        counterLine("09:30:00.00", "CRC Errors", "0"),
        logLine("09:30:00.00", "Remote access driver log closed.", "12-01-2026"),
        logLine("10:00:00.00", "Remote access driver log opened.", "12-02-2026"),
        counterLine("10:05:00.00", "CRC Errors", "5"),
        logLine("10:05:00.00", "Remote access driver log closed.", "12-02-2026"),
        logLine("11:00:00.00", "Remote access driver log opened.", "12-03-2026"),
        logLine("12:00:00.00", "Remote access driver log opened.", "12-04-2026"),
        logLine("13:00:00.00", "Remote access driver log closed.", "12-04-2026"),
    });
}

class ShownCallsTest : public AppTest {
protected:
    void SetUp() override {
        writeLog(fourCallLog());
        createWindows();
        showMain();
        grid = AppTest::grid();
        bar = child<FilterBar>(*main, "FilterBar");
    }
    void clickTitle(int column) {
        QHeaderView* titles = grid->horizontalHeader();
        const QPoint middle(
            titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
            titles->height() / 2);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, middle);
    }
    // The Start Time of each shown call, top to bottom.
    QStringList shownStarts() const {
        QStringList starts;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            starts << grid->model()->index(row, 0).data().toString().mid(0, 10);
        return starts;
    }
    std::string tsvLine(int tableRow) const {
        const int rows[] = {tableRow};
        return exportRows(main->state().table, rows, ExportLayout::TabSeparated, false);
    }

    CallGrid* grid = nullptr;
    FilterBar* bar = nullptr;
};

const QString kA = "12-01-2026", kB = "12-02-2026", kC = "12-03-2026", kD = "12-04-2026";

TEST_F(ShownCallsTest, ATitleSortsRisingThenFallingThenBackToLogOrder) {
    QHeaderView* titles = grid->horizontalHeader();
    EXPECT_EQ(shownStarts(), (QStringList{kA, kB, kC, kD}));
    clickTitle(kDurationColumn);
    EXPECT_EQ(shownStarts(), (QStringList{kB, kA, kD, kC}));  // C has no duration
    EXPECT_EQ(titles->sortIndicatorSection(), kDurationColumn);
    EXPECT_EQ(titles->sortIndicatorOrder(), Qt::AscendingOrder);
    clickTitle(kDurationColumn);
    EXPECT_EQ(shownStarts(), (QStringList{kD, kA, kB, kC}));
    EXPECT_EQ(titles->sortIndicatorOrder(), Qt::DescendingOrder);
    clickTitle(kDurationColumn);
    EXPECT_EQ(shownStarts(), (QStringList{kA, kB, kC, kD}));
    EXPECT_EQ(titles->sortIndicatorSection(), -1);

    clickTitle(kCrcErrorsColumn);
    clickTitle(kCrcErrorsColumn);
    EXPECT_EQ(shownStarts(), (QStringList{kB, kA, kC, kD}));  // C and D have no count
    action("LogOrder1")->trigger();
    EXPECT_EQ(shownStarts(), (QStringList{kA, kB, kC, kD}));
    EXPECT_EQ(titles->sortIndicatorSection(), -1);
}

TEST_F(ShownCallsTest, TheSelectionFollowsItsCallAndSaysWhichCallCommandsActOn) {
    grid->selectRow(1);  // B
    clickTitle(kDurationColumn);
    clickTitle(kDurationColumn);  // D A B C
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(main->selectedRow(), 1);
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 1);

    // Only calls of ten minutes or more: D and A, in that order.
    QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_FALSE(bar->isHidden());
    child<QTimeEdit>(*bar, "MinDuration")->setTime(QTime(0, 10, 0));
    child<QCheckBox>(*bar, "MinDurationCheck")->setChecked(true);
    EXPECT_EQ(shownStarts(), (QStringList{kD, kA}));
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("2 of 4 Calls"));
    // B is hidden: the first shown call is selected in its place.
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(main->selectedRow(), 3);

    grid->selectRow(1);  // A
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(details->isVisible());
    const QString detailsText = child<QPlainTextEdit>(*details, "Memo1")->toPlainText();
    EXPECT_TRUE(
        detailsText.startsWith("12-01-2026 09:00:00.00 - Remote access driver log opened."));
    EXPECT_TRUE(detailsText.endsWith("12-01-2026 09:30:00.00 - Remote access driver log closed."));

    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, tsvLine(0));
    action("CopyShownCalls1")->trigger();
    const std::string header =
        exportRows(main->state().table, {}, ExportLayout::TabSeparated, true);
    EXPECT_EQ(platform.clipboard, header + tsvLine(3) + tsvLine(0));

    // Hiding the bar shows every call again, in the sorted order.
    action("Filter1")->trigger();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(shownStarts(), (QStringList{kD, kA, kB, kC}));
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("4 Calls"));
    EXPECT_EQ(main->selectedRow(), 0);
}

// Typed as a user types: Ctrl+F, the From check ticked, Tab, the date.
TEST_F(ShownCallsTest, ADateTypedWholeFiltersAndAWrongOneShowsAsWrong) {
    QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(QApplication::focusWidget() == child<QCheckBox>(*bar, "FromCheck"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    auto* from = child<QLineEdit>(*bar, "FromDate");
    ASSERT_EQ(QApplication::focusWidget(), from);
    EXPECT_EQ(from->text(), kA);  // the first call's, all of it selected
    QTest::keyClicks(from, "12-03-2026");
    EXPECT_EQ(from->text(), kC);
    EXPECT_EQ(shownStarts(), (QStringList{kC, kD}));
    QTest::keyClick(from, Qt::Key_Tab);
    EXPECT_EQ(from->text(), kC);
    EXPECT_FALSE(from->property("wrong").toBool());

    auto* to = child<QLineEdit>(*bar, "ToDate");
    child<QCheckBox>(*bar, "ToCheck")->setChecked(true);
    const QColor rightBase = to->palette().color(QPalette::Base);
    struct Case {
        const char* typed;
        bool wrong;
        QStringList shown;
    };
    const std::vector<Case> cases = {
        {"13-45-2026", true, {kC, kD}},  // no such day: the last right date holds
        {"12-03", true, {kC, kD}},       // half a date
        {"12-3-2026", false, {kC}},      // one digit for the day
        {"12-32-2026", true, {kC}},     {"12-04-2026", false, {kC, kD}},
    };
    for (const Case& c : cases) {
        to->setFocus();
        to->selectAll();
        QTest::keyClicks(to, c.typed);
        QTest::keyClick(to, Qt::Key_Tab);
        EXPECT_EQ(to->text(), QString::fromLatin1(c.typed)) << c.typed;  // never replaced
        EXPECT_EQ(to->property("wrong").toBool(), c.wrong) << c.typed;
        EXPECT_EQ(to->toolTip().isEmpty(), !c.wrong) << c.typed;
        EXPECT_EQ(to->palette().color(QPalette::Base) != rightBase, c.wrong) << c.typed;
        EXPECT_EQ(shownStarts(), c.shown) << c.typed;
    }

    // Picked from the calendar instead.
    auto* calendar = child<QCalendarWidget>(*bar, "FromDateCalendarPicker");
    emit calendar->clicked(QDate(2026, 12, 2));
    EXPECT_EQ(from->text(), kB);
    EXPECT_EQ(shownStarts(), (QStringList{kB, kC, kD}));
}

TEST_F(ShownCallsTest, AFilterThatHidesEveryCallLeavesNothingToActOn) {
    main->viewControls()->showFilterBar(true);
    child<QCheckBox>(*bar, "ErrorsCheck")->setChecked(true);
    EXPECT_EQ(shownStarts(), (QStringList{kB}));
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("1 of 4 Calls"));
    child<QCheckBox>(*bar, "CutShortCheck")->setChecked(true);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("0 of 4 Calls"));
    EXPECT_EQ(main->selectedRow(), -1);

    platform.clipboard = "before";
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    main->showCallDetails();
    EXPECT_EQ(platform.clipboard, "before");
    EXPECT_FALSE(details->isVisible());
    action("CopyShownCalls1")->trigger();
    EXPECT_EQ(platform.clipboard,
              exportRows(main->state().table, {}, ExportLayout::TabSeparated, true));
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(ShownCallsTest, SaveShownCallsAsWritesTheShownCallsSaveTableAsEveryCall) {
    main->viewControls()->showFilterBar(true);
    child<QTimeEdit>(*bar, "MaxDuration")->setTime(QTime(0, 30, 0));
    child<QCheckBox>(*bar, "MaxDurationCheck")->setChecked(true);  // A and B
    clickTitle(kStartTimeColumn);
    clickTitle(kStartTimeColumn);  // B A
    const std::string shown = windows.file("shown.csv");
    const std::string all = windows.file("all.csv");
    platform.fileDialogAnswers = {shown, all};
    platform.dialogAnswers = {DialogResult::No, DialogResult::No};
    action("SaveShownCallsAs1")->trigger();
    action("SaveAs1")->trigger();
    const std::vector<std::string> allLines = linesOf(readBytes(all));
    ASSERT_EQ(allLines.size(), 4u);
    EXPECT_EQ(linesOf(readBytes(shown)), (std::vector<std::string>{allLines[1], allLines[0]}));
    EXPECT_EQ(platform.fileDialogsShown[0].filter, platform.fileDialogsShown[1].filter);
}

TEST_F(ShownCallsTest, CallsAddedToAFollowedLogTakeTheirPlaceAndTheSelectionStays) {
    QAbstractItemModelTester tester(grid->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    clickTitle(kDurationColumn);
    clickTitle(kDurationColumn);  // D A B C
    main->viewControls()->showFilterBar(true);
    child<QTimeEdit>(*bar, "MinDuration")->setTime(QTime(0, 1, 0));
    child<QCheckBox>(*bar, "MinDurationCheck")->setChecked(true);  // D A B
    grid->selectRow(1);                                            // A
    // C is written again, now with an end, and a call of 40 minutes comes.
    CallTable& table = main->state().table;
    RowCells c, e;
    for (int column = 0; column < kColumnCount; ++column)
        c[static_cast<std::size_t>(column)] = std::string(table.cell(columnAt(column), 2));
    c[kEndTimeColumn] = "12-03-2026 11:02:00";
    c[kDurationColumn] = "00:02:00";
    e = c;
    e[kStartTimeColumn] = "12-05-2026 08:00:00";
    e[kDurationColumn] = "00:40:00";
    main->model()->replaceRowsFrom(3, 6, [&] {
        table.setRowCount(5);
        table.writeRow(2, c);
        table.writeRow(4, e);
    });
    EXPECT_EQ(shownStarts(), (QStringList{kD, "12-05-2026", kA, kB, kC}));
    EXPECT_EQ(main->selectedRow(), 0);
    EXPECT_EQ(grid->currentIndex().row(), 2);
}

TEST_F(ShownCallsTest, TheProxyPassesTheItemModelTesterThroughSortsFiltersAndLoads) {
    QAbstractItemModelTester tester(grid->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid->selectRow(3);
    for (const int column : {kDurationColumn, kLcpColumn, kCrcErrorsColumn}) {
        clickTitle(column);
        clickTitle(column);
    }
    main->viewControls()->showFilterBar(true);
    child<QCheckBox>(*bar, "CutShortCheck")->setChecked(true);
    child<QCheckBox>(*bar, "CutShortCheck")->setChecked(false);
    child<QDoubleSpinBox>(*bar, "SlowLayerSeconds")->setValue(1);
    child<QCheckBox>(*bar, "SlowLayerCheck")->setChecked(true);
    EXPECT_EQ(shownStarts(), (QStringList{kA}));

    // Another log, with the filter and the sort kept: its calls come in
    // through the same proxy.
    writeLog(kThreeCallLog);
    platform.fileDialogAnswers = {windows.file("ppplog.txt")};
    action("Open1")->trigger();
    EXPECT_EQ(shownStarts(), (QStringList{"12-01-2026"}));
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("1 of 3 Calls"));
    EXPECT_EQ(main->selectedRow(), 0);
    child<QCheckBox>(*bar, "SlowLayerCheck")->setChecked(false);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(statusLabel()->text(), QStringLiteral("3 Calls"));
}

}  // namespace
}  // namespace kestal::testing
