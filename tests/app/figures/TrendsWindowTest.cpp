// Call > Trends: the charts over the grid's calls, zoom and pan, a click
// that selects a call, pictures and printing.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <cmath>
#include <cstdio>

#include "app/AppFixture.h"
#include "app/figures/ChartPicture.h"
#include "app/figures/TrendsWindow.h"
#include "output/CallTrends.h"
#include "support/CommandOutput.h"

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
    // Every per-call plot's value axis spans the values of the calls in
    // the time range shown, with little room to spare.
    static void expectValuesFitted(const TrendsWindow& window, const char* after) {
        const TrendChart* chart = child<TrendChart>(window, "PerCallChart");
        const QCPRange shown = chart->plots().front()->axis(QCPAxis::atBottom)->range();
        const CallTrends& trends = window.trends();
        for (const QCPAxisRect* plot : chart->plots()) {
            double lowest = INFINITY, highest = -INFINITY;
            for (int m = 0; m < kCallMeasureCount; ++m) {
                if (window.perCallGraph(static_cast<CallMeasure>(m))->valueAxis() !=
                    plot->axis(QCPAxis::atLeft))
                    continue;
                for (std::size_t i = 0; i < trends.times.size(); ++i) {
                    const float value = trends.values[m][i];
                    if (trends.times[i] < shown.lower || trends.times[i] > shown.upper ||
                        std::isnan(value))
                        continue;
                    lowest = std::min<double>(lowest, value);
                    highest = std::max<double>(highest, value);
                }
            }
            const QCPRange y = plot->axis(QCPAxis::atLeft)->range();
            ASSERT_LE(lowest, highest) << after << ": no calls in view";
            EXPECT_LE(y.lower, lowest) << after;
            EXPECT_GE(y.upper, highest) << after;
            EXPECT_LE(y.size(), std::max((highest - lowest) * 1.1, highest * 0.1 + 1) + 1e-9)
                << after << ": " << y.lower << " to " << y.upper;
        }
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
    EXPECT_NEAR(x->range().size(), home.size() * TrendChart::kZoomStep, 1);
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
    const std::string text = commandOutput(command);
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

TEST_F(TrendsWindowTest, ARectangleZoomsToItsTimesAndTheValueAxesFollowTheView) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    TrendChart* chart = child<TrendChart>(*window, "PerCallChart");
    QCPAxisRect* plot = chart->plots().front();
    QCPAxis* x = plot->axis(QCPAxis::atBottom);
    const std::vector<double>& times = window->trends().times;
    ASSERT_EQ(times.size(), 5u);
    expectValuesFitted(*window, "opened");

    // A rectangle around the first two calls (the third is a day later).
    const int left = static_cast<int>(x->coordToPixel(times[0] - 3600));
    const int right = static_cast<int>(x->coordToPixel(times[1] + 3600));
    const int top = plot->rect().top() + 5, bottom = plot->rect().bottom() - 5;
    const double pixel = x->range().size() / plot->width();
    QTest::mousePress(chart, Qt::LeftButton, Qt::NoModifier, QPoint(left, top));
    QTest::mouseMove(chart, QPoint((left + right) / 2, bottom));
    QTest::mouseRelease(chart, Qt::LeftButton, Qt::NoModifier, QPoint(right, bottom));
    EXPECT_NEAR(x->range().lower, times[0] - 3600, 2 * pixel);
    EXPECT_NEAR(x->range().upper, times[1] + 3600, 2 * pixel);
    EXPECT_EQ(chart->plots().back()->axis(QCPAxis::atBottom)->range(), x->range());
    expectValuesFitted(*window, "rectangle");
    // The durations in view are 600 and 21 s, not the 3600 s of the fourth
    // call.
    EXPECT_LT(plot->axis(QCPAxis::atLeft)->range().upper, 1000);

    const std::pair<Qt::Key, const char*> keys[] = {{Qt::Key_Right, "Right"},
                                                    {Qt::Key_Minus, "-"},
                                                    {Qt::Key_Minus, "-"},
                                                    {Qt::Key_Plus, "+"},
                                                    {Qt::Key_Home, "Home"}};
    for (const auto& [key, name] : keys) {
        QTest::keyClick(chart, key);
        expectValuesFitted(*window, name);
    }
    // With Ctrl a drag pans.
    const QCPRange home = x->range();
    QTest::mousePress(chart, Qt::LeftButton, Qt::ControlModifier, QPoint(right, top));
    QTest::mouseMove(chart, QPoint(left, top));
    QTest::mouseRelease(chart, Qt::LeftButton, Qt::ControlModifier, QPoint(left, top));
    EXPECT_NEAR(x->range().size(), home.size(), 1);
    EXPECT_NEAR(x->range().lower, home.lower + (right - left) * pixel, 2 * pixel);
    expectValuesFitted(*window, "Ctrl+drag");
}

TEST_F(TrendsWindowTest, KeysWorkAtOnceAndEscapeCloses) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    TrendChart* chart = child<TrendChart>(*window, "PerCallChart");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(QApplication::focusWidget(), chart);
    QCPAxis* x = chart->plots().front()->axis(QCPAxis::atBottom);
    const QCPRange home = x->range();
    // Sent to whatever has the focus, as the keyboard does.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus);
    EXPECT_NEAR(x->range().size(), home.size() / 2, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_GT(x->range().lower, home.lower + home.size() / 4);
    EXPECT_EQ(child<QTabWidget>(*window, "ChartTabs")->currentIndex(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus);
    EXPECT_NEAR(x->range().size(), home.size(), 1);

    // A tab chosen by its mnemonic hands the keys to its chart.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), child<TrendChart>(*window, "PerDayChart"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(TrendsWindowTest, PlotTitlesNeverOverlap) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    for (const QSize size : {QSize(1000, 640), QSize(640, 360)}) {
        window->resize(size);
        for (const char* name : {"PerCallChart", "PerDayChart", "HistogramChart"}) {
            chooseChart(*window, name);
            TrendChart* chart = child<TrendChart>(*window, name);
            chart->replot();
            std::vector<QRect> rects;
            for (const QCPTextElement* title : chart->titles()) {
                const QRect text = QFontMetrics(title->font()).boundingRect(title->text());
                EXPECT_GE(title->rect().height(), text.height()) << name;
                EXPECT_GE(title->rect().width(), text.width()) << name;
                EXPECT_TRUE(chart->rect().contains(title->rect())) << name;
                rects.push_back(title->outerRect());
            }
            for (const QCPAxisRect* plot : chart->plots()) rects.push_back(plot->outerRect());
            for (std::size_t a = 0; a < rects.size(); ++a) {
                for (std::size_t b = a + 1; b < rects.size(); ++b)
                    EXPECT_FALSE(rects[a].intersects(rects[b])) << name << " " << a << " " << b;
            }
        }
    }
}

TEST_F(TrendsWindowTest, ScarcerLayersAreDrawnOverDenserOnes) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    // LCP has four points, IPCP three and CCP two, each of a single call.
    const auto drawnAt = [window](CallMeasure measure, int shade) {
        QCPGraph* graph = window->perCallGraph(measure, shade);
        return graph->layer()->children().indexOf(graph);
    };
    EXPECT_EQ(window->perCallGraph(kLcpMeasure)->dataCount(), 4);
    EXPECT_LT(drawnAt(kLcpMeasure, 0), drawnAt(kIpcpMeasure, 0));
    EXPECT_LT(drawnAt(kIpcpMeasure, 0), drawnAt(kCcpMeasure, 0));
    EXPECT_LT(drawnAt(kCcpMeasure, 0), drawnAt(kLcpMeasure, TrendsWindow::kShades - 1));
}

TEST_F(TrendsWindowTest, NoCallsNoDates) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    windows.write("nocalls.txt", "12-01-2026 09:12:05.30 - LCP : Layer up\r\n");
    platform.fileDialogAnswers.push_back(windows.file("nocalls.txt"));
    main->openLog();
    ASSERT_TRUE(window->trends().times.empty());
    for (const char* name : {"PerCallChart", "PerDayChart"}) {
        chooseChart(*window, name);
        TrendChart* chart = child<TrendChart>(*window, name);
        chart->replot();
        const QByteArray svg = chartPicture(*chart, PictureFormat::Svg);
        EXPECT_FALSE(svg.contains("1970")) << name;
        EXPECT_FALSE(svg.contains("1969")) << name;
    }
    windows.write("other.txt", kThreeCallLog);
    platform.fileDialogAnswers.push_back(windows.file("other.txt"));
    main->openLog();
    TrendChart* chart = child<TrendChart>(*window, "PerDayChart");
    chart->replot();
    EXPECT_TRUE(chartPicture(*chart, PictureFormat::Svg).contains("2026-12-02"));
}

TEST_F(TrendsWindowTest, ChartsAndButtonsHaveNamesForScreenReaders) {
    TrendsWindow* window = open();
    ASSERT_NE(window, nullptr);
    QSet<QString> names;  // four buttons, three charts and their tabs
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (qobject_cast<const QPushButton*>(widget) || qobject_cast<const TrendChart*>(widget) ||
            qobject_cast<const QTabWidget*>(widget))
            names.insert(widget->accessibleName());
    }
    EXPECT_EQ(names.size(), 8);
    EXPECT_FALSE(names.contains(QString()));
}

}  // namespace
}  // namespace kestal::testing
