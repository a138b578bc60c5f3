// Call > Statistics and View > Outages... on a pppd log: the figures of the
// rows the grid shows, the gaps longest first, a click on a gap selecting
// the row that opened it in the grid.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <ctime>

#include "app/AppFixture.h"
#include "app/figures/OutagesWindow.h"
#include "app/figures/StatisticsWindow.h"
#include "pppd/PppdColumns.h"

namespace kestal::testing {
namespace {

class PppdFiguresWindows : public AppTest {
protected:
    void SetUp() override {
        // The log's times are shown in the viewer's zone: UTC, as written.
        setenv("TZ", "UTC", 1);
        tzset();
        writeLog(kThreeCallLog);
        createWindows();
    }
    void open(const std::string& path) {
        platform.fileDialogAnswers.push_back(path);
        action("Open1")->trigger();
    }
    void openHandWorked() { open(KESTAL_TEST_DATA "/log/pppd-outages.log"); }
    // Whether View > Outages... can be chosen, as the menu shows it.
    bool outagesItemEnabled() {
        emit menu("View1")->aboutToShow();
        return action("Outages1")->isEnabled();
    }
    OutagesWindow* openOutages() {
        action("Outages1")->trigger();
        return main->findChild<OutagesWindow*>(QStringLiteral("OutagesWindow"));
    }
    static std::vector<std::string> column(const QAbstractItemModel& model, int c) {
        std::vector<std::string> texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts.push_back(model.data(model.index(row, c)).toString().toStdString());
        return texts;
    }
};

TEST_F(PppdFiguresWindows, StatisticsShowThePppdFiguresOfTheRowsShown) {
    openHandWorked();
    ASSERT_TRUE(action("Statistics1")->isEnabled());
    action("Statistics1")->trigger();
    auto* window = main->findChild<StatisticsWindow*>(QStringLiteral("StatisticsWindow"));
    ASSERT_NE(window, nullptr);
    QAbstractItemModel* model = child<QTableView>(*window, "FiguresGrid")->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(model->columnCount(), 25);
    EXPECT_EQ(model->headerData(8, Qt::Horizontal).toString(), "Mean Time to Reconnect");
    EXPECT_EQ(child<QLabel>(*window, "CallsLabel")->text(), "8 rows");
    child<QComboBox>(*window, "PeriodBox")->setCurrentIndex(1);  // by day
    EXPECT_EQ(column(*model, 0), (std::vector<std::string>{"2026-12-01", "2026-12-02", "unknown"}));
    EXPECT_EQ(column(*model, 5), (std::vector<std::string>{"95.8%", "83.4%", "-"}));
    EXPECT_EQ(column(*model, 8), (std::vector<std::string>{"0:09:55", "0:20:00", "-"}));
    EXPECT_EQ(window->figuresText(StatisticsLayout::TabSeparated, false),
              pppdStatisticsText(window->pppdFigures(), StatisticsLayout::TabSeparated, false));

    // Only the failed attempts shown: the figures follow the grid.
    action("Filter1")->trigger();
    child<QCheckBox>(*main, "FailedCheck")->setChecked(true);
    EXPECT_EQ(child<QLabel>(*window, "CallsLabel")->text(), "3 rows");
    EXPECT_EQ(column(*model, 2), (std::vector<std::string>{"3"}));

    // A dial-up log again: its own fifteen columns.
    open(windows.file("ppplog.txt"));
    EXPECT_EQ(model->columnCount(), 15);
    EXPECT_EQ(child<QLabel>(*window, "CallsLabel")->text(), "3 calls");
}

TEST_F(PppdFiguresWindows, OutagesLongestFirstAndAClickSelectsTheRowThatOpenedTheGap) {
    EXPECT_FALSE(outagesItemEnabled());  // a dial-up log has no sessions
    openHandWorked();
    ASSERT_TRUE(outagesItemEnabled());
    OutagesWindow* window = openOutages();
    ASSERT_NE(window, nullptr);
    auto* table = child<QTableView>(*window, "OutagesTable");
    QAbstractItemModelTester tester(table->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(child<QLabel>(*window, "OutagesLabel")->text(), "3 outages");
    // The gap still open is the longest; then 0:20:00 and 0:09:55.
    EXPECT_EQ(column(*table->model(), 2), (std::vector<std::string>{"-", "0:20:00", "0:09:55"}));
    EXPECT_EQ(column(*table->model(), 3),
              (std::vector<std::string>{"device", "hangup", "echo timeout"}));
    EXPECT_EQ(column(*table->model(), 4), (std::vector<std::string>{"1", "0", "2"}));

    // The hangup of ppp1 ended the sixth row of the log; the echo timeout
    // the second.
    const auto clickRow = [&](int row) {
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    };
    clickRow(1);
    EXPECT_EQ(main->state().table.currentRow(), 5);
    EXPECT_EQ(main->state().table.cell(PppdColumn::EndedBy, 5), "hangup");
    clickRow(2);
    EXPECT_EQ(main->state().table.currentRow(), 1);

    // Sorted by Start: log order.
    table->sortByColumn(0, Qt::AscendingOrder);
    EXPECT_EQ(column(*table->model(), 3),
              (std::vector<std::string>{"echo timeout", "hangup", "device"}));

    // A dial-up log has none.
    open(windows.file("ppplog.txt"));
    EXPECT_EQ(table->model()->rowCount(), 0);
    EXPECT_FALSE(outagesItemEnabled());
}

}  // namespace
}  // namespace kestal::testing
