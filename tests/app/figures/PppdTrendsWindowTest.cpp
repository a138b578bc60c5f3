// Call > Trends for a pppd log: the window over the grid's rows, a click
// that selects a row, the per-day bars thinned to the view, and File > Save
// Report As's PDF read back with poppler's tools.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/AppFixture.h"
#include "app/CallGrid.h"
#include "app/figures/PppdCharts.h"
#include "app/figures/PppdTrendsWindow.h"
#include "support/CommandOutput.h"

namespace kestal::testing {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PppdTrendsWindowTest : public AppTest {
protected:
    void SetUp() override {
        writeLog(readAll(KESTAL_TEST_DATA "/log/pppd-outages.log"));
        createWindows();
        showMain();
    }
    PppdTrendsWindow* openTrends() {
        action("Trends1")->trigger();
        auto* window = main->findChild<PppdTrendsWindow*>(QStringLiteral("PppdTrendsWindow"));
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }
    TrendChart* choose(PppdTrendsWindow& window, const char* name) {
        auto* chart = child<TrendChart>(window, name);
        child<QTabWidget>(window, "ChartTabs")->setCurrentWidget(chart);
        // Laid out at its size on the tab before its pixels are asked for.
        QCoreApplication::processEvents();
        chart->replot();
        return chart;
    }
    int selectedRow() const { return grid()->currentIndex().row(); }
};

TEST_F(PppdTrendsWindowTest, OpensForAPppdLogAndClicksSelectTheirRows) {
    ASSERT_TRUE(action("Trends1")->isEnabled());
    PppdTrendsWindow* window = openTrends();
    ASSERT_NE(window, nullptr);
    const PppdTrends& trends = window->trends();
    // The log's two drops, one on Wednesday at 00:40 and one at 02:10.
    EXPECT_EQ(trends.drops, 2);
    EXPECT_EQ(trends.failedAttempts, 3);
    EXPECT_EQ(trends.dropsByHour[2][0] + trends.dropsByHour[2][2], 2);
    EXPECT_EQ(child<QLabel>(*window, "PointLabel")->text(),
              QStringLiteral("%1 sessions with a date, 2 drops, 3 failed attempts")
                  .arg(trends.times.size()));

    // A session's point: the last one drawn.
    TrendChart* sessions = choose(*window, "PerSessionChart");
    QCPGraph* points = sessions->graph(0);
    ASSERT_GT(points->dataCount(), 1);
    const int last = points->dataCount() - 1;
    const QPointF pixel =
        points->coordsToPixels(points->data()->at(last)->key, points->data()->at(last)->value);
    QTest::mouseClick(sessions, Qt::LeftButton, {}, pixel.toPoint());
    EXPECT_EQ(selectedRow(), trends.rows.back());
    EXPECT_TRUE(child<QLabel>(*window, "PointLabel")->text().startsWith("Session of "));

    // The map's cell of Wednesday 00:00 to 01:00: the first drop.
    TrendChart* map = choose(*window, "DropMapChart");
    auto* cells = qobject_cast<QCPColorMap*>(map->plottable(0));
    ASSERT_NE(cells, nullptr);
    const int firstDrop = trends.firstDropByHour[2][0];
    ASSERT_GE(firstDrop, 0);
    const QPointF cell = cells->coordsToPixels(2, 0);
    EXPECT_EQ(window->rowAt(cells, 0, cell), firstDrop);
    QTest::mouseClick(map, Qt::LeftButton, {}, cell.toPoint());
    EXPECT_EQ(selectedRow(), firstDrop);
    // Outside the cells nothing more is selected.
    EXPECT_EQ(window->rowAt(cells, 0, QPointF(-100, -100)), -1);

    // Per day: the drops' bar of the second day selects its first drop.
    choose(*window, "PerDayChart");
    auto* dayDrops =
        qobject_cast<QCPBars*>(child<TrendChart>(*window, "PerDayChart")->plottable(1));
    ASSERT_NE(dayDrops, nullptr);
    EXPECT_EQ(window->rowAt(dayDrops, 1, {}), trends.dayFirstDrop[1]);
    EXPECT_EQ(window->rowAt(dayDrops, 99, {}), -1);

    // Save Picture As writes the chart shown.
    const std::string picture = windows.file("map.png");
    platform.fileDialogAnswers.push_back(picture);
    child<QPushButton>(*window, "SavePictureButton")->click();
    EXPECT_EQ(readAll(picture).substr(1, 3), "PNG");
}

TEST_F(PppdTrendsWindowTest, AStillUpSessionEndsAtTheLogsLastDatedLine) {
    PppdTrendsWindow* window = openTrends();
    ASSERT_NE(window, nullptr);
    const PppdTrends& trends = window->trends();
    // The log's last line, a kernel's, is dated ten minutes after the
    // latest time in the table.
    using namespace std::chrono;
    const double lastLine =
        duration_cast<seconds>((sys_days{2026y / December / 2} + 3h).time_since_epoch()).count();
    int stillUp = 0;
    for (std::size_t i = 0; i < trends.rows.size(); ++i) {
        if (!(main->state().table.marks(trends.rows[i]) & kStillUpMark)) continue;
        ++stillUp;
        EXPECT_EQ(trends.durations[i], lastLine - trends.times[i]);
    }
    EXPECT_EQ(stillUp, 1);
}

// A long log's days, more than the chart has pixels across.
PppdTrends manyDays(int count) {
    PppdTrends trends;
    for (int d = 0; d < count; ++d) {
        trends.days.push_back(1.7e9 + d * 86400.0);
        trends.dayOnlineHours.push_back(d % 20);
        trends.dayDrops.push_back(d % 7 == 0 ? 3 : 0);
        trends.dayFailedAttempts.push_back(d % 11 == 0 ? 2 : 1);
    }
    trends.dayOnlineHours[1234] = 30;  // the tallest
    return trends;
}

TEST(PppdDayBarsTest, ThinnedToTheViewAndEveryDayOnceZoomedIn) {
    ensureApplication();
    const PppdTrends trends = manyDays(5000);
    const std::unique_ptr<TrendChart> chart(makePppdPerDayChart(nullptr));
    chart->resize(800, 500);
    PppdDayBars bars = fillPppdPerDayChart(*chart, trends);
    QObject::connect(chart.get(), &QCustomPlot::afterLayout, [&bars] { bars.thin(); });
    ASSERT_EQ(bars.size(), 3u);
    QCPAxis* x = chart->plots().front()->axis(QCPAxis::atBottom);
    // The days drawn by each series: each at its own place and value, and
    // all of them within [from, to].
    const auto drawn = [&](std::size_t which, double from, double to) {
        std::vector<int> days;
        QCPBars* series = bars.bars(which);
        const std::vector<double>* values[] = {&trends.dayOnlineHours, &trends.dayDrops,
                                               &trends.dayFailedAttempts};
        for (int i = 0; i < series->dataCount(); ++i) {
            const int day = bars.dayOf(series, i);
            EXPECT_GE(day, 0);
            if (day < 0) continue;
            const auto d = static_cast<std::size_t>(day);
            EXPECT_EQ(series->data()->at(i)->value, (*values[which])[d]);
            EXPECT_NEAR(series->data()->at(i)->key, trends.days[d] + 43200, 86400 * 0.3);
            EXPECT_GE(trends.days[d] + 86400, from);
            EXPECT_LE(trends.days[d], to);
            days.push_back(day);
        }
        return days;
    };

    // The whole range: a bar for each pixel column at most, the tallest
    // among them.
    chart->replot();
    const int width = chart->plots().front()->width();
    ASSERT_LT(width, 5000);
    for (std::size_t which = 0; which < bars.size(); ++which) {
        const std::vector<int> days = drawn(which, x->range().lower, x->range().upper);
        EXPECT_LE(static_cast<int>(days.size()), width + 1) << which;
        EXPECT_GT(static_cast<int>(days.size()), width / 2) << which;
        if (which == 0) {
            EXPECT_NE(std::find(days.begin(), days.end(), 1234), days.end());
        }
    }
    // Zoomed to 2,000 days: still thinned, to the days in view.
    const double from = trends.days[1000], to = trends.days[3000];
    x->setRange(from, to);
    chart->replot();
    const std::vector<int> shown = drawn(0, from, to);
    EXPECT_LE(static_cast<int>(shown.size()), width + 1);
    EXPECT_NE(std::find(shown.begin(), shown.end(), 1234), shown.end());

    // Zoomed in to fewer days than pixels: every day again, their totals
    // whole.
    x->setRange(trends.days[2000], trends.days[2100]);
    chart->replot();
    const std::vector<double>* values[] = {&trends.dayOnlineHours, &trends.dayDrops,
                                           &trends.dayFailedAttempts};
    for (std::size_t which = 0; which < bars.size(); ++which) {
        double total = 0, drawnTotal = 0;
        for (const double value : *values[which]) total += value;
        for (int i = 0; i < bars.bars(which)->dataCount(); ++i)
            drawnTotal += bars.bars(which)->data()->at(i)->value;
        EXPECT_EQ(bars.bars(which)->dataCount(), static_cast<int>(trends.days.size())) << which;
        EXPECT_EQ(drawnTotal, total) << which;
    }
}

TEST_F(PppdTrendsWindowTest, ReportIsAPdfOfNumberedPagesWithTheFigures) {
    const std::string pdf = windows.file("report.pdf");
    platform.fileDialogAnswers.push_back(pdf);
    menu("File1")->popup({});  // the item is enabled when the menu shows
    menu("File1")->hide();
    ASSERT_TRUE(action("SaveReportAs1")->isEnabled());
    action("SaveReportAs1")->trigger();
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{});
    ASSERT_EQ(readAll(pdf).substr(0, 5), "%PDF-");
    if (commandOutput("command -v pdftotext").empty()) GTEST_SKIP() << "no pdftotext";
    const std::string info = commandOutput("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:           5"), std::string::npos) << info;
    const std::string text = commandOutput("pdftotext -layout '" + pdf + "' -");
    for (const char* expected :
         {"Connection Report", "Log: ppplog.txt",
          "Span: 12-01-2026 22:00:00 to 12-02-2026 03:00:00", "Drops by Weekday and Hour of Day",
          "Statistics by Day", "Outages", "Page 1 of 5", "Page 5 of 5", "Mean Time to", "Reconnect",
          "0:09:55", "echo timeout"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

}  // namespace
}  // namespace kestal::testing
