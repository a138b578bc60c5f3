// Times the Statistics and Trends windows' work on a log, offscreen unless a
// display is asked for (QT_QPA_PLATFORM):
//
//   trends_bench LOG [--runs N]
//
// With KESTAL_TRENDS_PICTURE set to a file name, the Trends window at the
// whole range is also saved there as a PNG picture (the documentation's).
//
// - every call's figures from the table's values, grouped by each period
//   (whole log, day, week, month);
// - the Statistics window opened for each period, and a period chosen in it;
// - the Trends window's first draw: created, shown and its per-call chart
//   drawn once;
// - frames while zooming in and out with + and -, panning with Left and
//   Right and zooming with the wheel: the key or wheel event handled and the
//   chart painted again (median and longest).
//
// The load + scan of the log is the reference, measured in the same run;
// each figure is the best of N runs (3 by default) and is also given as a
// share of the reference. The machine's load average comes first. Prints
// figures only; it asserts nothing.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTabWidget>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/figures/StatisticsWindow.h"
#include "app/figures/TrendsWindow.h"
#include "calls/CallScan.h"
#include "lines/LogLines.h"
#include "output/CallStatistics.h"
#include "platform/qt/QtPlatform.h"

namespace {

using namespace kestal;
using namespace kestal::bench;

ShownCalls everyCall(const CallTable& table) {
    ShownCalls calls;
    calls.table = &table;
    calls.rows = [&table] {
        std::vector<int> rows(static_cast<std::size_t>(table.callCount()));
        std::iota(rows.begin(), rows.end(), 0);
        return rows;
    };
    calls.select = [](int) {};
    return calls;
}

// One frame: the event handled, the replot it queued run, the chart painted.
double frame(TrendChart& chart, QEvent& event) {
    const Clock::time_point start = Clock::now();
    QApplication::sendEvent(&chart, &event);
    QApplication::processEvents();
    chart.repaint();
    return secondsSince(start) * 1000;
}

void printFrames(const char* what, std::vector<double> frames) {
    std::sort(frames.begin(), frames.end());
    std::printf("%-34s median %6.1f ms  longest %6.1f ms  (%zu frames)\n", what,
                frames[frames.size() / 2], frames.back(), frames.size());
}

void benchFrames(TrendChart& chart) {
    std::vector<double> zoom, pan, wheel;
    for (int i = 0; i < 15; ++i) {
        QKeyEvent in(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, QStringLiteral("+"));
        zoom.push_back(frame(chart, in));
    }
    for (int i = 0; i < 20; ++i) {
        QKeyEvent right(QEvent::KeyPress, i < 10 ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        pan.push_back(frame(chart, right));
    }
    for (int i = 0; i < 15; ++i) {
        QKeyEvent out(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, QStringLiteral("-"));
        zoom.push_back(frame(chart, out));
    }
    const QPoint middle = chart.plots().front()->rect().center();
    for (int i = 0; i < 20; ++i) {
        QWheelEvent turn(middle, chart.mapToGlobal(middle), QPoint(),
                         QPoint(0, i < 10 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        wheel.push_back(frame(chart, turn));
    }
    printFrames("  frames zooming with + and -", zoom);
    printFrames("  frames panning with Left, Right", pan);
    printFrames("  frames zooming with the wheel", wheel);
}

// Created, shown and painted once: every chart's first replot done and the
// per-call chart on the screen.
void firstDrawOf(const ShownCalls& calls, Platform& platform) {
    TrendsWindow window(calls, platform);
    int replots = 0;
    TrendChart& perCall = childOf<TrendChart>(window, "PerCallChart");
    QObject::connect(&perCall, &QCustomPlot::afterReplot, [&replots] { ++replots; });
    window.show();
    while (replots == 0) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    perCall.repaint();
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments(argc, argv, "trends_bench LOG [--runs N]");
    const std::string& log = arguments.requiredLog();
    const int runs = arguments.runs();
    const BenchApplication application(argv);

    LogLines lines;
    CallTable table{kDialUpColumns};
    const Timing reference = bestOf(runs, [&] {
        lines.clear();
        readLogFile(log, lines);
        table = CallTable(kDialUpColumns);
        scanCalls(lines, table, RegionalSettings{}, nullptr);
    });
    QtPlatform platform;
    const ShownCalls calls = everyCall(table);
    const std::vector<int> rows = calls.rows();
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("%s: %d calls; load + scan %.3f s (reference); load average %.2f %.2f %.2f\n",
                log.c_str(), table.callCount(), reference.wall, load[0], load[1], load[2]);
    // Each figure also as a share of the reference.
    const auto share = [&reference](const Timing& timing) { return timing.wall / reference.wall; };

    const std::pair<const char*, StatisticsPeriod> periods[] = {{"all", StatisticsPeriod::All},
                                                                {"day", StatisticsPeriod::Day},
                                                                {"week", StatisticsPeriod::Week},
                                                                {"month", StatisticsPeriod::Month}};
    for (const auto& [name, by] : periods) {
        std::size_t count = 0;
        const Timing grouping = bestOf(runs, [&] { count = statisticsOf(table, rows, by).size(); });
        std::printf("statistics grouped by %-5s %8.1f ms (cpu %6.1f ms) %6zu rows  %.3fx\n", name,
                    grouping.wall * 1000, grouping.cpu * 1000, count, share(grouping));
    }

    for (int index : {0, 1, 2, 3}) {
        const Timing opening = bestOf(runs, [&] {
            StatisticsWindow window(calls, platform);
            childOf<QComboBox>(window, "PeriodBox").setCurrentIndex(index);
            window.show();
            QApplication::processEvents();
            window.repaint();
        });
        std::printf("Statistics window opened, period %d, painted %8.1f ms (cpu %6.1f ms)  %.3fx\n",
                    index, opening.wall * 1000, opening.cpu * 1000, share(opening));
    }
    {
        StatisticsWindow window(calls, platform);
        window.show();
        QComboBox& periods = childOf<QComboBox>(window, "PeriodBox");
        for (int index : {1, 2, 3, 0}) {
            const Timing choice = bestOf(runs, [&] {
                periods.setCurrentIndex(index);
                window.repaint();
                periods.setCurrentIndex(index == 0 ? 1 : 0);
            });
            std::printf("Statistics window, period %d then back %8.1f ms (two groupings)  %.3fx\n",
                        index, choice.wall * 1000, share(choice));
        }
    }

    const Timing firstDraw = bestOf(runs, [&] { firstDrawOf(calls, platform); });
    std::printf("Trends window first draw     %8.1f ms (cpu %6.1f ms)  %.3fx\n",
                firstDraw.wall * 1000, firstDraw.cpu * 1000, share(firstDraw));

    TrendsWindow window(calls, platform);
    window.show();
    QApplication::processEvents();
    TrendChart& perCall = childOf<TrendChart>(window, "PerCallChart");
    TrendChart& perDay = childOf<TrendChart>(window, "PerDayChart");
    if (const char* picture = std::getenv("KESTAL_TRENDS_PICTURE")) {
        perCall.replot();
        window.grab().save(QString::fromLocal8Bit(picture), "PNG");
    }
    perCall.setFocus();
    std::printf("Trends window, per call:\n");
    benchFrames(perCall);
    childOf<QTabWidget>(window, "ChartTabs").setCurrentWidget(&perDay);
    QApplication::processEvents();
    std::printf("Trends window, per day:\n");
    benchFrames(perDay);
    return 0;
}
