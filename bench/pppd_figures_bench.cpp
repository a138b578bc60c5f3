// Times a pppd log's statistics and outages on a table of 100,000 sessions
// with 20,000 drops (and 30,000 failed attempts) over two years, on four
// interfaces, made in memory:
//
//   pppd_figures_bench [--runs N]
//
// - the reference: a plain pass over the table, every row's Start Time
//   value taken;
// - the statistics of every row, by each period (whole log, day, week,
//   month);
// - the outages of the whole table.
//
// Each figure is the best of N runs (3 by default), in milliseconds and as a
// ratio to the reference. Prints figures only; it asserts nothing.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <numeric>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "output/Outages.h"
#include "output/PppdStatistics.h"
#include "pppd/PppdColumns.h"

namespace {

using namespace kestal;
using namespace kestal::bench;

constexpr int kSessions = 100000;
constexpr int kDropEvery = 5;  // one session in five dropped: 20,000

std::string clockText(std::int64_t t) {
    const std::time_t seconds = static_cast<std::time_t>(t);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[24];
    std::strftime(text, sizeof text, "%m-%d-%Y %H:%M:%S", &parts);
    return text;
}

// A row of the table, its cells' texts and values as the reader writes them.
void addRow(CallTable& table, std::int64_t start, std::int64_t end, const std::string& interface,
            bool session, bool dropped, const char* endedBy) {
    std::array<std::string, kPppdColumnCount> texts;
    std::array<CellValue, kPppdColumnCount> values{};
    texts.fill("-");
    const auto set = [&](PppdColumn column, std::string text, CellValue value = {}) {
        texts[static_cast<std::size_t>(indexOf(column))] = std::move(text);
        values[static_cast<std::size_t>(indexOf(column))] = value;
    };
    set(PppdColumn::StartTime, clockText(start), CellValue::of(start));
    set(PppdColumn::EndTime, clockText(end), CellValue::of(end));
    set(PppdColumn::Duration, std::to_string(end - start), CellValue::of(end - start));
    set(PppdColumn::Interface, interface);
    set(PppdColumn::EndedBy, endedBy);
    std::uint32_t marks = session ? kSessionMark : kFailedAttemptMark;
    if (session) {
        set(PppdColumn::LocalIp, "10.0.0.1", CellValue::count(0x0a000001));
        set(PppdColumn::BytesSent, "1000", CellValue::count(1000));
        set(PppdColumn::BytesReceived, "9000", CellValue::count(9000));
    }
    if (dropped) marks |= kDroppedMark;
    std::array<std::string_view, kPppdColumnCount> views;
    for (std::size_t c = 0; c < views.size(); ++c) views[c] = texts[c];
    table.addCall(BuiltRow{views, values, marks, {}});
}

void printMilliseconds(const char* what, const Timing& timing, const Timing& reference,
                       std::size_t rows) {
    std::printf("%-36s %8.1f ms (cpu %7.1f ms) %7zu rows  %6.2fx\n", what, timing.wall * 1000,
                timing.cpu * 1000, rows, timing.wall / reference.wall);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments(argc, argv, "pppd_figures_bench [--runs N]");
    const int runs = arguments.runs();

    CallTable table{kPppdColumns};
    std::int64_t clock = 1735689600;  // 2025-01-01
    const std::int64_t first = clock - 60;
    int drops = 0, failed = 0;
    for (int s = 0; s < kSessions; ++s) {
        const std::string interface = "ppp" + std::to_string(s % 4);
        const std::int64_t length = 300 + (s * 7919) % 1200;
        const bool dropped = s % kDropEvery == 0;
        addRow(table, clock, clock + length, interface, true, dropped,
               dropped ? "echo timeout" : "idle");
        clock += length;
        if (dropped) {
            ++drops;
            // Three failed attempts after every other drop.
            for (int a = 0; s % 10 == 0 && a < 3; ++a) {
                clock += 20;
                addRow(table, clock, clock + 5, "-", false, false, "no PADO");
                ++failed;
            }
        }
        clock += 30;
    }
    const LogSpan span{DatedLine{first, 0}, DatedLine{clock + 60, 0}};
    std::vector<int> rows(static_cast<std::size_t>(table.rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("%d sessions, %d drops, %d failed attempts; load average %.2f %.2f %.2f\n",
                kSessions, drops, failed, load[0], load[1], load[2]);

    std::int64_t sum = 0;
    const Timing reference = bestOf(runs, [&] {
        for (const int row : rows)
            sum += table.value(PppdColumn::StartTime, row).asNumber().value_or(0);
    });
    printMilliseconds("plain pass (reference)", reference, reference, rows.size());
    const std::pair<const char*, StatisticsPeriod> periods[] = {
        {"statistics, whole log", StatisticsPeriod::All},
        {"statistics by day", StatisticsPeriod::Day},
        {"statistics by week", StatisticsPeriod::Week},
        {"statistics by month", StatisticsPeriod::Month}};
    for (const auto& [name, by] : periods) {
        std::size_t count = 0;
        const Timing timing =
            bestOf(runs, [&] { count = pppdStatisticsOf(table, rows, by, span).size(); });
        printMilliseconds(name, timing, reference, count);
    }
    std::size_t gaps = 0;
    const Timing outages = bestOf(runs, [&] { gaps = outagesOf(table).size(); });
    printMilliseconds("outages", outages, reference, gaps);
    return sum == 42 ? 1 : 0;
}
