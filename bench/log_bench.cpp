// Times the log library and the exports on a log file, against a reference
// command run on the same file in the same run:
//
//   log_bench LOG [--nul NULLOG] [--runs N]
//
// - load (read + split into lines), call scan, load + scan: against wc -l;
// - Show Call Details of the last call, the three export layouts;
// - with --nul, the NUL repair of NULLOG through loadLog (answered Yes, the
//   gauge and the event pump at every 1000 bytes): against tr -d '\000'
//   writing its output beside the log, as the repair writes ppplog.tmp.
//
// Each figure is the best of N runs (3 by default). Prints figures only; it
// asserts nothing.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "calls/CallScan.h"
#include "calls/DialUpColumns.h"
#include "commands/LoadLog.h"
#include "commands/LogState.h"
#include "details/CallDetails.h"
#include "lines/LogLines.h"
#include "output/TableExport.h"
#include "platform/TextFile.h"
#include "support/FakePlatform.h"
#include "table/CallTable.h"

namespace {

using namespace kestal;
using namespace kestal::bench;

// Notes when the repair starts and ends (the gauge is shown for exactly
// that long) and how often the gauge moves.
class BenchView : public LoadView {
public:
    Clock::time_point repairStart;
    double repairCpuStart = 0;
    double repairSeconds = 0;
    double repairCpuSeconds = 0;
    long gaugeMoves = 0;

    void setGridVisible(bool) override {}
    void showTable(const CallTable&) override {}
    void selectFirstRow() override {}
    void setStatusText(std::string_view) override {}
    void setGaugeVisible(bool visible) override {
        if (visible) {
            repairStart = Clock::now();
            repairCpuStart = processCpuSeconds();
        } else {
            repairSeconds = secondsSince(repairStart);
            repairCpuSeconds = processCpuSeconds() - repairCpuStart;
        }
    }
    void setGaugeProgress(int) override { ++gaugeMoves; }
    void setCaption(std::string_view) override {}
    void setClearEnabled(bool) override {}
    void setInputBlocked(bool) override {}
};

long scan(const LogLines& lines, CallTable& table) {
    long corrupt = 0;
    table.reset();
    scanCalls(lines, table, RegionalSettings{}, [&corrupt](std::string_view) { ++corrupt; });
    return corrupt;
}

void benchLog(const std::string& path, int runs) {
    const std::uint64_t size = fileSize(path);
    std::printf("log %s: %ju bytes\n", path.c_str(), static_cast<std::uintmax_t>(size));
    const Timing wc = referenceCommand(runs, "wc -l < " + shellQuoted(path) + " > /dev/null");
    printFigure("reference: wc -l", wc, size);

    LogLines lines;
    const Timing load = bestOf(runs, [&] { readLogFile(path, lines); });
    printFigure("load (read + split)", load, size, wc, "wc -l");

    CallTable table{kDialUpColumns};
    long corrupt = 0;
    const Timing scanTime = bestOf(runs, [&] { corrupt = scan(lines, table); });
    printFigure("call scan", scanTime, size, wc, "wc -l");
    std::printf("  %zu lines, %d calls, %ld with an unreadable time\n", lines.size(),
                table.callCount(), corrupt);

    const Timing both = bestOf(runs, [&] {
        lines.clear();
        readLogFile(path, lines);
        scan(lines, table);
    });
    printFigure("load + scan", both, size, wc, "wc -l");

    const std::string lastStart(table.cell(Column::StartTime, table.rowCount() - 1));
    std::size_t gathered = 0;
    const Timing details =
        bestOf(runs, [&] { gathered = gatherCallDetails(lines, lastStart, nullptr).size(); });
    printFigure("Show Call Details, last call", details, size);
    std::printf("  %s: %zu lines\n", lastStart.c_str(), gathered);

    const struct {
        const char* name;
        ExportLayout layout;
    } layouts[] = {{"export tab-separated", ExportLayout::TabSeparated},
                   {"export comma-separated", ExportLayout::CommaSeparated},
                   {"export fixed-width", ExportLayout::FixedWidth}};
    for (const auto& l : layouts) {
        const std::uint64_t bytes = exportTable(table, l.layout, true).size();
        const Timing seconds = bestOf(runs, [&] {
            TextFileWriter out;
            out.create("/dev/null");
            writeTable(out, table, l.layout, true);
            out.close();
        });
        printFigure(l.name, seconds, bytes);
        std::printf("  %ju bytes written (MB/s of output)\n", static_cast<std::uintmax_t>(bytes));
    }
}

void benchRepair(const std::string& nulLog, int runs) {
    const std::uint64_t size = fileSize(nulLog);
    std::printf("log with NUL bytes %s: %ju bytes\n", nulLog.c_str(),
                static_cast<std::uintmax_t>(size));
    const std::filesystem::path folder = std::filesystem::path(nulLog).parent_path();
    const std::string trOut = (folder / "tr-output.tmp").string();
    const Timing tr =
        referenceCommand(runs, "tr -d '\\000' < " + shellQuoted(nulLog) + " > " +
                                   shellQuoted(trOut) + " && rm " + shellQuoted(trOut));
    printFigure("reference: tr -d '\\000'", tr, size);

    // loadLog wants the log under its own name in the Windows directory. The
    // repair question is answered Yes, everything else OK.
    testing::FakePlatform platform;
    platform.windowsDir = folder.string();
    platform.unansweredQuestion = DialogResult::Yes;
    LogState state;
    state.logPath = nulLog;
    Timing best;
    BenchView view;
    for (int i = 0; i < std::max(runs, 1); ++i) {
        view = BenchView();
        platform.pumpCount = 0;
        platform.dialogs.clear();
        state.table.reset();  // as Open leaves it
        commands::loadLog(state, platform, view);
        for (const testing::DialogRecord& dialog : platform.dialogs)
            if (dialog.kind == testing::DialogRecord::Kind::ErrorReport)
                std::fprintf(stderr, "error report: %s\n", dialog.text.c_str());
        best.wall = std::min(best.wall, view.repairSeconds);
        best.cpu = std::min(best.cpu, view.repairCpuSeconds);
    }
    printFigure("NUL repair", best, size, tr, "tr -d '\\000'");
    std::printf("  %ld gauge moves, %d event pumps; %zu lines, %d calls after the repair\n",
                view.gaugeMoves, platform.pumpCount, state.lines.size(), state.table.callCount());
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments(argc, argv, "log_bench LOG [--nul NULLOG] [--runs N]",
                                   {"--nul"});
    const std::string& log = arguments.log();
    const std::string nulLog = arguments.value("--nul").value_or("");
    const int runs = arguments.runs();
    if (log.empty() && nulLog.empty()) arguments.failWithUsage();
    printHeading();
    if (!log.empty()) benchLog(log, runs);
    if (!nulLog.empty()) benchRepair(nulLog, runs);
    return 0;
}
