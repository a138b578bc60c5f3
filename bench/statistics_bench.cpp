// Times Call > Statistics on a log, offscreen unless a display is asked for
// (QT_QPA_PLATFORM):
//
//   statistics_bench LOG [--runs N]
//
// - the reference: a plain pass over the table, every call's row values
//   taken and its Duration added up;
// - every call's values made one by one (callValuesOf) and added up, as the
//   figures were once computed;
// - the figures of every call from scratch, grouped by each period (whole
//   log, day, week, month);
// - the Statistics window created over every call, shown and painted.
//
// Each figure is the best of N runs (3 by default), in milliseconds and as a
// ratio to the reference. The machine's load average comes first. Prints
// figures only; it asserts nothing.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "BenchSupport.h"
#include "app/figures/StatisticsWindow.h"
#include "calls/CallScan.h"
#include "lines/LogLines.h"
#include "output/CallStatistics.h"
#include "platform/qt/QtPlatform.h"

namespace {

using namespace kestal;
using namespace kestal::bench;

void printMilliseconds(const char* what, const Timing& timing, const Timing& reference,
                       std::size_t rows) {
    std::printf("%-36s %8.1f ms (cpu %7.1f ms) %6zu rows  %6.2fx\n", what, timing.wall * 1000,
                timing.cpu * 1000, rows, timing.wall / reference.wall);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments(argc, argv, "statistics_bench LOG [--runs N]");
    const std::string& log = arguments.requiredLog();
    const int runs = arguments.runs();
    const BenchApplication application(argv);

    LogLines lines;
    readLogFile(log, lines);
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, RegionalSettings{}, nullptr);
    lines.clear();
    std::vector<int> rows(static_cast<std::size_t>(table.callCount()));
    std::iota(rows.begin(), rows.end(), 0);
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("%s: %zu calls; load average %.2f %.2f %.2f\n", log.c_str(), rows.size(), load[0],
                load[1], load[2]);

    std::int64_t seconds = 0;
    const Timing reference = bestOf(runs, [&] {
        seconds = 0;
        for (const int row : rows) {
            if (const std::optional<std::int64_t> duration =
                    table.rowValues(row)[kDurationColumn].asNumber())
                seconds += *duration;
        }
    });
    printMilliseconds("plain pass over the table (reference)", reference, reference, 1);
    if (seconds == 42) std::printf("\n");  // the pass is used

    std::size_t count = 0;
    const Timing oneByOne = bestOf(runs, [&] {
        CallStatistics statistics(StatisticsPeriod::All);
        for (const int row : rows) statistics.add(callValuesOf(table, row));
        count = statistics.rows().size();
    });
    printMilliseconds("whole log, each call's CallValues", oneByOne, reference, count);

    const std::pair<const char*, StatisticsPeriod> periods[] = {
        {"whole log", StatisticsPeriod::All},
        {"by day", StatisticsPeriod::Day},
        {"by week", StatisticsPeriod::Week},
        {"by month", StatisticsPeriod::Month}};
    for (const auto& [name, by] : periods) {
        const Timing grouping = bestOf(runs, [&] { count = statisticsOf(table, rows, by).size(); });
        printMilliseconds(name, grouping, reference, count);
    }

    ShownCalls calls;
    calls.table = &table;
    calls.rows = [&rows] { return rows; };
    calls.select = [](int) {};
    QtPlatform platform;
    const Timing opening = bestOf(runs, [&] {
        StatisticsWindow window(calls, platform);
        window.show();
        QApplication::processEvents();
        window.repaint();
        count = window.figures().size();
    });
    printMilliseconds("window opened and painted", opening, reference, count);
    return 0;
}
