// Call > Trends: the charts over the grid's calls, zoom and pan, a click
// that selects a call, pictures and printing.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "app/AppFixture.h"
#include "app/figures/ChartPicture.h"
#include "app/figures/TrendsWindow.h"

namespace kestal::testing {
namespace {

class TrendsWindowTest : public AppTest {
protected:
    TrendsWindow* open() {
        writeLog(readBytes(KESTAL_TEST_DATA "/log/statistics-ppplog.txt"));
        createWindows();
        showMain();
        main->findChild<QAction*>(QStringLiteral("Trends1"))->trigger();
        auto* window = main->findChild<TrendsWindow*>(QStringLiteral("TrendsWindow"));
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
            child<TrendChart>(*window, "PerCallChart")->replot();
        }
        return window;
    }
    // Chooses the tab of the chart with this object name.
    static void chooseChart(const TrendsWindow& window, const char* name) {
        child<QTabWidget>(window, "ChartTabs")->setCurrentWidget(child<TrendChart>(window, name));
    }
};

TEST_F(TrendsWindowTest, ItemFollowsStatisticsAndShowsThePerCallPoints) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    const QList<QAction*> items = menu("Call1")->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items[1]->objectName(), "Statistics1");
    EXPECT_EQ(items[2]->objectName(), "Trends1");
    main->findChild<QAction*>(QStringLiteral("Trends1"))->trigger();
    EXPECT_EQ(main->findChildren<TrendsWindow*>().size(), 1);

    // Five calls have a date; three of them a duration, four an LCP time.
    EXPECT_EQ(window->trends().times.size(), 5u);
    EXPECT_EQ(window->perCallGraph(kDurationMeasure)->dataCount(), 3);
    EXPECT_EQ(window->perCallGraph(kLcpMeasure)->dataCount(), 4);
    EXPECT_EQ(window->perCallGraph(kErrorsPerKiloFrame)->dataCount(), 3);
    EXPECT_EQ(child<QTabWidget>(*window, "ChartTabs")->count(), 3);
}

TEST_F(TrendsWindowTest, ChartsOnHiddenTabsAreDrawnWhenTheirTabIsChosen) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    auto* calls = qobject_cast<QCPBars*>(child<TrendChart>(*window, "PerDayChart")->plottable(0));
    ASSERT_NE(calls, nullptr);
    EXPECT_EQ(calls->dataCount(), 0);  // not drawn yet
    chooseChart(*window, "PerDayChart");
    QApplication::processEvents();
    // The three days with a dated call, two calls on each of the first two.
    ASSERT_EQ(calls->dataCount(), 3);
    EXPECT_EQ(calls->data()->at(0)->value, 2);
    EXPECT_EQ(calls->data()->at(2)->value, 1);
}

TEST_F(TrendsWindowTest, KeysAndWheelZoomAndPanTheTimeAxis) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    TrendChart* chart = child<TrendChart>(*window, "PerCallChart");
    QCPAxis* x = chart->plots().front()->axis(QCPAxis::atBottom);
    QCPAxis* lowest = chart->plots().back()->axis(QCPAxis::atBottom);
    const QCPRange home = x->range();

    QTest::keyClick(chart, Qt::Key_Plus);
    EXPECT_NEAR(x->range().size(), home.size() * 0.8, 1);
    EXPECT_NEAR(x->range().center(), home.center(), 1);
    EXPECT_EQ(lowest->range(), x->range());  // the plots move together
    const QCPRange zoomed = x->range();
    QTest::keyClick(chart, Qt::Key_Right);
    EXPECT_NEAR(x->range().lower, zoomed.lower + zoomed.size() * 0.1, 1);
    QTest::keyClick(chart, Qt::Key_Minus);
    EXPECT_GT(x->range().size(), zoomed.size());
    QTest::keyClick(chart, Qt::Key_Home);
    EXPECT_EQ(x->range(), home);

    const QPoint middle = chart->plots().front()->rect().center();
    QWheelEvent wheel(middle, chart->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &wheel);
    EXPECT_LT(x->range().size(), home.size());
    child<QPushButton>(*window, "WholeRangeButton")->click();
    EXPECT_EQ(x->range(), home);
}

TEST_F(TrendsWindowTest, ClickOnAPointSelectsItsCallInTheGrid) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    QCPGraph* durations = window->perCallGraph(kDurationMeasure);
    ASSERT_EQ(durations->dataCount(), 3);
    // The third point with a duration is call D, row 3 of the table.
    const auto point = durations->data()->at(2);
    const QPointF at = durations->coordsToPixels(point->key, point->value);
    EXPECT_EQ(main->selectedRow(), 0);
    QTest::mouseClick(child<TrendChart>(*window, "PerCallChart"), Qt::LeftButton, Qt::NoModifier,
                      at.toPoint());
    EXPECT_EQ(main->selectedRow(), 3);
    EXPECT_TRUE(child<QLabel>(*window, "PointLabel")->text().contains("12-29-2026 08:00:05"));
}

TEST_F(TrendsWindowTest, SavePictureAsPngSvgOrPdf) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    const std::pair<const char*, std::string> files[] = {
        {"trends.png", "\x89PNG"}, {"trends.SVG", "<?xml"}, {"trends.pdf", "%PDF"}};
    for (const auto& [name, start] : files) {
        platform.fileDialogAnswers.push_back(windows.file(name));
        child<QPushButton>(*window, "SavePictureButton")->click();
        EXPECT_EQ(readBytes(windows.file(name)).substr(0, start.size()), start) << name;
    }
    EXPECT_NE(readBytes(windows.file("trends.SVG")).find("Duration (s)"), std::string::npos);
    EXPECT_EQ(platform.fileDialogsShown.back().filter, std::string(kSavePictureFilter));

    platform.fileDialogAnswers.push_back(windows.file("trends.bmp"));
    platform.fileDialogAnswers.push_back(windows.file("missing/trends.png"));
    QPushButton* savePicture = child<QPushButton>(*window, "SavePictureButton");
    savePicture->click();
    savePicture->click();
    const std::vector<std::string> texts = platform.dialogTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], std::string(kNoPictureFormatWarning));
    EXPECT_EQ(texts.back(), "Invalid filename.");
}

TEST_F(TrendsWindowTest, PrintsTheChartShown) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    chooseChart(*window, "PerDayChart");
    QApplication::processEvents();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(windows.file("printed.pdf")));
    printChart(*window->currentChart(), printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    const std::string command = "pdfinfo " + windows.file("printed.pdf") + "; pdftotext -layout " +
                                windows.file("printed.pdf") + " -";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, got);
        pclose(pipe);
    }
    // One landscape A4 page with the chart's day axis on it as text.
    EXPECT_NE(text.find("Pages:           1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("842 x 595 pts"), std::string::npos) << text;
    EXPECT_NE(text.find("Day"), std::string::npos) << text;
}

TEST_F(TrendsWindowTest, OpeningAnotherLogRefreshesTheCharts) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    windows.write("other.txt", kThreeCallLog);
    platform.fileDialogAnswers.push_back(windows.file("other.txt"));
    main->openLog();
    EXPECT_EQ(window->trends().times.size(), 3u);
    EXPECT_EQ(window->trends().days.size(), 3u);
}

}  // namespace
}  // namespace kestal::testing
