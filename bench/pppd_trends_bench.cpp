// Times Call > Trends and the report on a pppd log (make_log SIZE LOG --kind
// pppd, over decades; with --days N over about N days, as a busy server's
// log: run it on both), offscreen unless a display is asked for
// (QT_QPA_PLATFORM):
//
//   pppd_trends_bench LOG [--runs N]
//
// - the charts' series from the table (pppdTrends);
// - each chart's first draw: the window created and shown, the chart's tab
//   chosen and painted once;
// - frames while zooming in and out with + and - and panning with Left and
//   Right on the per-session and per-day charts (median and longest);
// - the report's PDF made from the table (figures, outages, charts).
//
// With KESTAL_PPPD_TRENDS_PICTURE set to a file name, the window is also
// saved there as a PNG picture (the documentation's).
//
// The read of the log into its table is the reference, measured in the same
// run; each figure is the best of N runs (3 by default), also as a share of
// the reference. Prints figures only; it asserts nothing.
#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <vector>

#include "BenchSupport.h"
#include "app/figures/PppdReport.h"
#include "app/figures/PppdTrendsWindow.h"
#include "lines/LogLines.h"
#include "platform/qt/QtPlatform.h"
#include "pppd/PppdReader.h"

namespace {

using namespace kestal;
using namespace kestal::bench;

ShownCalls everyRow(const CallTable& table) {
    ShownCalls calls;
    calls.table = &table;
    calls.rows = [] { return std::vector<int>(); };
    calls.pppdRows = [&table] {
        std::vector<int> rows(static_cast<std::size_t>(table.callCount()));
        std::iota(rows.begin(), rows.end(), 0);
        return rows;
    };
    calls.select = [](int) {};
    return calls;
}

double frame(TrendChart& chart, QEvent& event) {
    const Clock::time_point start = Clock::now();
    QApplication::sendEvent(&chart, &event);
    QApplication::processEvents();
    chart.repaint();
    return secondsSince(start) * 1000;
}

void benchFrames(const char* what, TrendChart& chart) {
    std::vector<double> frames;
    for (int i = 0; i < 30; ++i) {
        const Qt::Key key = i < 10 ? Qt::Key_Plus : i < 20 ? Qt::Key_Right : Qt::Key_Minus;
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        frames.push_back(frame(chart, event));
    }
    std::sort(frames.begin(), frames.end());
    std::printf("  frames %-24s median %6.1f ms  longest %6.1f ms  (%zu frames)\n", what,
                frames[frames.size() / 2], frames.back(), frames.size());
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments(argc, argv, "pppd_trends_bench LOG [--runs N]");
    const std::string& log = arguments.requiredLog();
    const int runs = arguments.runs();
    const BenchApplication application(argv);

    LogLines lines;
    PppdLog read;
    const Timing reference = bestOf(runs, [&] {
        lines.clear();
        readLogFile(log, lines);
        PppdReadOptions options;
        // The file's time, as the program takes it, gives the dates their year.
        options.newestTime = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::filesystem::last_write_time(log).time_since_epoch() -
                                 std::chrono::file_clock::now().time_since_epoch() +
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
        options.localMonths = regionalMonthNames();
        options.keepLines = false;
        read = readPppdLog(lines, options);
    });
    const CallTable& table = read.table;
    QtPlatform platform;
    const ShownCalls calls = everyRow(table);
    const std::vector<int> rows = calls.pppdRows();
    PppdTrends trends;
    const Timing series = bestOf(runs, [&] { trends = pppdTrends(table, rows); });
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf(
        "%s: %d sessions, %d drops, %d failed attempts; read %.3f s (reference); load "
        "average %.2f %.2f %.2f\n",
        log.c_str(), static_cast<int>(trends.times.size()), trends.drops, trends.failedAttempts,
        reference.wall, load[0], load[1], load[2]);
    const auto share = [&reference](const Timing& timing) { return timing.wall / reference.wall; };
    std::printf("  series                            %8.1f ms  (%.3f of the reference)\n",
                series.wall * 1000, share(series));

    for (const char* name : {"PerDayChart", "PerSessionChart", "HistogramChart", "DropMapChart"}) {
        const Timing first = bestOf(runs, [&] {
            PppdTrendsWindow window(calls, platform);
            auto& chart = childOf<TrendChart>(window, name);
            childOf<QTabWidget>(window, "ChartTabs").setCurrentWidget(&chart);
            window.show();
            QApplication::processEvents();
            chart.replot();
            chart.repaint();
        });
        std::printf("  first draw %-22s %8.1f ms  (%.3f of the reference)\n", name,
                    first.wall * 1000, share(first));
    }
    {
        PppdTrendsWindow window(calls, platform);
        window.show();
        // The documentation's picture of the window, its per-day chart shown.
        if (const char* picture = std::getenv("KESTAL_PPPD_TRENDS_PICTURE")) {
            QApplication::processEvents();
            childOf<TrendChart>(window, "PerDayChart").replot();
            window.grab().save(QString::fromLocal8Bit(picture));
        }
        for (const char* name : {"PerSessionChart", "PerDayChart"}) {
            auto& chart = childOf<TrendChart>(window, name);
            childOf<QTabWidget>(window, "ChartTabs").setCurrentWidget(&chart);
            QApplication::processEvents();
            benchFrames(name, chart);
        }
    }
    PppdReportContent content;
    const Timing figures =
        bestOf(runs, [&] { content = pppdReportContent("bench.log", table, read.span); });
    std::printf("  report's figures (%zu days, %zu outages) %8.1f ms\n",
                content.statistics.rows.size(), content.outages.rows.size(), figures.wall * 1000);
    QByteArray pdf;
    const Timing report = bestOf(
        runs, [&] { pdf = pppdReportPdf(pppdReportContent("bench.log", table, read.span)); });
    std::printf("  report (%lld KiB PDF)              %8.1f ms  (%.3f of the reference)\n",
                static_cast<long long>(pdf.size() / 1024), report.wall * 1000, share(report));
    return 0;
}
