// Call > Statistics: the window over the grid's calls, its periods, Copy and
// Save As.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTest>

#include "app/AppFixture.h"
#include "app/figures/StatisticsWindow.h"
#include "commands/SaveStatistics.h"

namespace kestal::testing {
namespace {

class StatisticsWindowTest : public AppTest {
protected:
    StatisticsWindow* open() {
        writeLog(readBytes(KESTAL_TEST_DATA "/log/statistics-ppplog.txt"));
        createWindows();
        main->findChild<QAction*>(QStringLiteral("Statistics1"))->trigger();
        return main->findChild<StatisticsWindow*>(QStringLiteral("StatisticsWindow"));
    }
    // The grid of figures' model and the period box, by their object names.
    static QAbstractItemModel* figuresModel(const StatisticsWindow& window) {
        return child<QTableView>(window, "FiguresGrid")->model();
    }
    static QComboBox* periodBox(const StatisticsWindow& window) {
        return child<QComboBox>(window, "PeriodBox");
    }
    std::string shown(StatisticsWindow& window,
                      StatisticsLayout layout = StatisticsLayout::TabSeparated) {
        return statisticsText(window.figures(), layout, true);
    }
    std::string figures(StatisticsPeriod by, StatisticsLayout layout) {
        return statisticsText(statisticsOf(main->state().table, {0, 1, 2, 3, 4, 5}, by), layout,
                              true);
    }
};

TEST_F(StatisticsWindowTest, ItemFollowsShowCallDetailsAndOpensOneWindow) {
    StatisticsWindow* window = open();
    const QList<QAction*> items = menu("Call1")->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), "ShowCallDetails2");
    EXPECT_EQ(items[1]->objectName(), "Statistics1");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    main->findChild<QAction*>(QStringLiteral("Statistics1"))->trigger();
    EXPECT_EQ(main->findChildren<StatisticsWindow*>().size(), 1);
    QAbstractItemModelTester tester(figuresModel(*window),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(figuresModel(*window)->headerData(14, Qt::Horizontal).toString(),
              "Errors per 1000 Frames");
}

TEST_F(StatisticsWindowTest, PeriodChosenInTheWindow) {
    StatisticsWindow* window = open();
    const std::pair<int, StatisticsPeriod> choices[] = {{1, StatisticsPeriod::Day},
                                                        {2, StatisticsPeriod::Week},
                                                        {3, StatisticsPeriod::Month},
                                                        {0, StatisticsPeriod::All}};
    for (const auto& [index, by] : choices) {
        periodBox(*window)->setCurrentIndex(index);
        EXPECT_EQ(shown(*window), figures(by, StatisticsLayout::TabSeparated)) << index;
    }
    EXPECT_EQ(child<QLabel>(*window, "CallsLabel")->text(), "6 calls");
    EXPECT_EQ(figuresModel(*window)->rowCount(), 1);
}

// No figure or title is cut short, and the window opens wide enough for
// every column when the screen has room for them.
TEST_F(StatisticsWindowTest, EachColumnAsWideAsItsTitleAndWidestFigure) {
    StatisticsWindow* window = open();
    QTableView* figuresGrid = child<QTableView>(*window, "FiguresGrid");
    const QFontMetrics metrics(figuresGrid->font());
    const QHeaderView* header = figuresGrid->horizontalHeader();
    // The text of a cell stands inside a margin each side.
    const int textMargin =
        2 *
        (figuresGrid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, figuresGrid) + 1);
    for (const int index : {0, 1, 2, 3}) {  // one row, then one a day, a week, a month
        periodBox(*window)->setCurrentIndex(index);
        for (int c = 0; c < kStatisticsColumnCount; ++c) {
            EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c)) << c;
            // What the view itself asks of the column to show every cell whole.
            const QAbstractItemView* view = figuresGrid;
            EXPECT_GE(header->sectionSize(c), view->sizeHintForColumn(c)) << c;
            for (int row = 0; row < figuresModel(*window)->rowCount(); ++row) {
                const QModelIndex cell = figuresModel(*window)->index(row, c);
                const QString text = cell.data().toString();
                // The cell (the grid line left out) less the margins.
                EXPECT_GE(figuresGrid->visualRect(cell).width() - textMargin,
                          metrics.horizontalAdvance(text))
                    << c << " " << text.toStdString();
            }
        }
    }
    const int available = window->screen()->availableGeometry().width();
    EXPECT_LE(window->width(), available);
    if (window->width() < available) {
        EXPECT_GE(figuresGrid->viewport()->width(), header->length());
    }
    EXPECT_GT(window->width(), 640);  // wider than the window of old
}

TEST_F(StatisticsWindowTest, FiguresFollowTheRegionAsTheGridDoes) {
    struct Case {
        RegionalSettings settings;
        const char* gridDuration;  // the grid's first call
        const char* onlineTime;
        const char* lcpMean;
        const char* errorRate;
    };
    const Case cases[] = {
        {{'.', ':'}, "00:10:00", "1:12:01", "1.38", "5.63"},
        {{',', '.'}, "00.10.00", "1.12.01", "1,38", "5,63"},
    };
    for (const Case& c : cases) {
        main.reset();
        platform.settings = c.settings;
        StatisticsWindow* window = open();
        EXPECT_EQ(main->state().table.cell(Column::Duration, 0), c.gridDuration);
        const QAbstractItemModel* model = figuresModel(*window);
        EXPECT_EQ(model->index(0, 2).data().toString(), c.onlineTime);
        EXPECT_EQ(model->index(0, 7).data().toString(), c.lcpMean);
        EXPECT_EQ(model->index(0, 14).data().toString(), c.errorRate);
        EXPECT_EQ(model->index(0, 11).data().toString(), "33108");
        // Copy gives the figures as they are shown.
        child<QPushButton>(*window, "CopyButton")->click();
        EXPECT_NE(QApplication::clipboard()->text().indexOf(QString::fromLatin1(c.lcpMean)), -1);
    }
}

TEST_F(StatisticsWindowTest, EscClosesAndEveryPartHasAName) {
    StatisticsWindow* window = open();
    for (const char* name :
         {"FiguresGrid", "PeriodBox", "CopyButton", "SaveAsButton", "CloseButton"}) {
        EXPECT_FALSE(child<QWidget>(*window, name)->accessibleName().isEmpty()) << name;
    }
    EXPECT_EQ(child<QTableView>(*window, "FiguresGrid")->accessibleName(), "Statistics");
    ASSERT_TRUE(window->isVisible());
    QTest::keyClick(child<QTableView>(*window, "FiguresGrid"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    // The menu item shows it again.
    main->findChild<QAction*>(QStringLiteral("Statistics1"))->trigger();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(StatisticsWindowTest, CopyPutsTheTabSeparatedFiguresOnTheClipboard) {
    StatisticsWindow* window = open();
    periodBox(*window)->setCurrentIndex(1);
    child<QPushButton>(*window, "CopyButton")->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              figures(StatisticsPeriod::Day, StatisticsLayout::TabSeparated));
}

TEST_F(StatisticsWindowTest, SaveAsTakesTheLayoutFromTheFileName) {
    StatisticsWindow* window = open();
    periodBox(*window)->setCurrentIndex(3);
    platform.fileDialogAnswers.push_back(windows.file("figures.csv"));
    platform.dialogAnswers.push_back(DialogResult::Yes);
    child<QPushButton>(*window, "SaveAsButton")->click();
    EXPECT_EQ(readBytes(windows.file("figures.csv")),
              figures(StatisticsPeriod::Month, StatisticsLayout::CommaSeparated));
    ASSERT_FALSE(platform.fileDialogsShown.empty());
    EXPECT_EQ(platform.fileDialogsShown.back().filter, std::string(kSaveStatisticsFilter));

    // Without the header; .txt is no layout of the figures; a folder that
    // isn't there ends in the general error report.
    platform.fileDialogAnswers.push_back(windows.file("figures.tsv"));
    platform.fileDialogAnswers.push_back(windows.file("figures.txt"));
    platform.fileDialogAnswers.push_back(windows.file("missing/figures.tsv"));
    for (int i = 0; i < 3; ++i) child<QPushButton>(*window, "SaveAsButton")->click();
    const std::string tsv = figures(StatisticsPeriod::Month, StatisticsLayout::TabSeparated);
    EXPECT_EQ(readBytes(windows.file("figures.tsv")), tsv.substr(tsv.find("\r\n") + 2));
    const std::vector<std::string> texts = platform.dialogTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 3], std::string(kNoStatisticsLayoutWarning));
    EXPECT_EQ(texts.back(), "Invalid filename.");
}

TEST_F(StatisticsWindowTest, OpeningAnotherLogRefreshesTheFigures) {
    StatisticsWindow* window = open();
    windows.write("other.txt", kThreeCallLog);
    platform.fileDialogAnswers.push_back(windows.file("other.txt"));
    main->openLog();
    EXPECT_EQ(child<QLabel>(*window, "CallsLabel")->text(), "3 calls");
    EXPECT_EQ(window->figures().at(0)[1], "3");
}

}  // namespace
}  // namespace kestal::testing
