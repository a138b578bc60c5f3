// Times View > Follow on a big log, in the windowed program (offscreen
// unless a display is asked for with QT_QPA_PLATFORM):
//
//   follow_bench LOG [--append SIZE] [--runs N]
//
// LOG is shown (as "Kestal LOG" shows it) with Follow on; then, N times,
// SIZE bytes of whole calls (1M by default; K, M, G take powers of 1024),
// cut from the start of LOG, are appended to it and the window's look at
// the log is timed until the table is updated and painted. The reference,
// timed in the same run: View > Reload of the same log. LOG grows by
// N x SIZE bytes. Dialogs are answered without being shown. Prints figures
// only; it asserts nothing.
#include <QAction>
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "BenchSupport.h"
#include "app/MainWindow.h"
#include "calls/LineMatcher.h"
#include "platform/QuietPlatform.h"
#include "platform/qt/QtPlatform.h"

namespace {

using namespace kestal;
using namespace kestal::bench;

bool parseSize(std::string_view text, std::uint64_t& size) {
    char* end = nullptr;
    const std::string digits(text);
    size = std::strtoull(digits.c_str(), &end, 10);
    const std::string_view unit(end);
    if (unit == "K")
        size <<= 10;
    else if (unit == "M")
        size <<= 20;
    else if (unit == "G")
        size <<= 30;
    else if (!unit.empty())
        return false;
    return size > 0;
}

// About size bytes from the start of the log, from its first call to the
// start of the last call that fits: whole calls, as a dialler appends them.
std::string callsFrom(const std::string& log, std::uint64_t size) {
    std::ifstream in(log, std::ios::binary);
    std::string head(size + (1 << 16), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    std::size_t first = std::string::npos, last = std::string::npos;
    for (std::size_t at = 0; at < head.size();) {
        std::size_t end = head.find('\n', at);
        if (end == std::string::npos) break;
        const std::string_view line(head.data() + at, end - at);
        if (linematch::matchLine(line) & linematch::LogOpened) {
            if (first == std::string::npos) first = at;
            if (at - first <= size) last = at;
        }
        at = end + 1;
    }
    if (first == std::string::npos || last <= first) {
        std::fprintf(stderr, "no calls at the start of %s\n", log.c_str());
        std::exit(1);
    }
    return head.substr(first, last - first);
}

void append(const std::string& log, const std::string& bytes) {
    std::ofstream(log, std::ios::binary | std::ios::app)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char* argv[]) {
    const BenchArguments arguments(argc, argv, "follow_bench LOG [--append SIZE] [--runs N]",
                                   {"--append"});
    const std::string& log = arguments.requiredLog();
    const int runs = arguments.runs();
    std::uint64_t appendSize = 1 << 20;
    if (const auto size = arguments.value("--append");
        size && !parseSize(size->c_str(), appendSize))
        arguments.failWithUsage();
    const BenchApplication application(argv);
    const std::string calls = callsFrom(log, appendSize);

    QtPlatform shown;
    QuietPlatform quiet(shown);
    MainWindow window(quiet, nullptr, log);
    window.show();
    QApplication::processEvents();
    childOf<QAction>(window, "Follow1").trigger();
    QApplication::processEvents();
    CallGrid& grid = childOf<CallGrid>(window, "Grid1");

    const Timing reload = bestOf(runs, [&] {
        window.reloadLog();
        grid.viewport()->repaint();
    });
    const int rowsBefore = window.model()->rowCount();
    Timing best;
    for (int run = 0; run < runs; ++run) {
        // The writer's work, not the program's: untimed.
        append(log, calls);
        const Timing one = bestOf(1, [&] {
            window.followLog();
            grid.viewport()->repaint();
        });
        best.wall = std::min(best.wall, one.wall);
        best.cpu = std::min(best.cpu, one.cpu);
    }
    const int rowsAdded = window.model()->rowCount() - rowsBefore;

    std::printf("log %s: %.1f MB, %d calls shown; %zu bytes of calls appended %d times (%d rows)\n",
                log.c_str(), static_cast<double>(fileSize(log)) / 1e6, window.model()->rowCount(),
                calls.size(), runs, rowsAdded);
    printHeading();
    printFigure("View > Reload", reload, fileSize(log));
    printFigure("Follow: appended calls shown", best, calls.size(), reload, "View > Reload");
    return 0;
}
