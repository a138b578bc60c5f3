// kestal-calls --sort, --from, --to, --errors and --cut-short: the rows
// that File > Save Shown Calls As writes for the same sort and filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calls/CallFilter.h"
#include "calls/CallScan.h"
#include "cli/RunTool.h"
#include "commands/SaveTableAs.h"
#include "lines/LogLines.h"
#include "output/TableExport.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "table/CallOrder.h"
#include "table/ValueReaders.h"

namespace kestal::testing {
namespace {

const std::string kLogs[] = {
    std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt",
    std::string(KESTAL_TEST_DATA) + "/log/statistics-ppplog.txt",
};

CallTable tableOf(const std::string& path) {
    const LogLines lines = LogLines::fromBytes(readBytes(path));
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, {}, [](std::string_view) {});
    return table;
}

// What the viewer's Save Shown Calls As writes for the calls shown in this
// order and through this filter.
std::string savedByViewer(const CallTable& table, std::optional<SortOrder> order,
                          const CallFilter& filter, std::string_view name, bool header) {
    const std::vector<int> rows = filterRows(table, sortedRows(table, order), filter);
    TempDir dir;
    FakePlatform platform;
    platform.fileDialogAnswers.push_back(dir.file(name));
    platform.dialogAnswers.push_back(header ? DialogResult::Yes : DialogResult::No);
    FileDialog dialog;
    commands::saveRowsAs(table, rows, platform, dialog);
    return readBytes(dir.file(name));
}

TEST(KestalCallsShown, RowsAreWhatSaveShownCallsAsWritesForTheSameView) {
    using std::chrono::December;
    using std::chrono::year_month_day;
    CallFilter errors, cutShort, dates, errorsCutShort;
    errors.withErrors = true;
    cutShort.cutShort = true;
    dates.from = year_month_day{std::chrono::year{2026}, December, std::chrono::day{2}};
    dates.to = year_month_day{std::chrono::year{2026}, December, std::chrono::day{4}};
    errorsCutShort.withErrors = errorsCutShort.cutShort = true;
    struct Case {
        std::vector<std::string> options;
        std::optional<SortOrder> order;
        CallFilter filter;
    };
    const Case cases[] = {
        {{"--sort", "start time"}, SortOrder{kStartTimeColumn, SortDirection::Ascending}, {}},
        {{"--sort=Duration:desc"}, SortOrder{kDurationColumn, SortDirection::Descending}, {}},
        {{"--errors", "--sort", "BYTES RX:desc"},
         SortOrder{kBytesRxColumn, SortDirection::Descending},
         errors},
        {{"--sort", "lcp", "--cut-short"},
         SortOrder{kLcpColumn, SortDirection::Ascending},
         cutShort},
        {{"--from", "12-02-2026", "--to=12-04-2026"}, std::nullopt, dates},
        {{"--errors", "--cut-short", "--sort", "CRC Errors"},
         SortOrder{kCrcErrorsColumn, SortDirection::Ascending},
         errorsCutShort},
    };
    for (const std::string& log : kLogs) {
        const CallTable table = tableOf(log);
        for (const Case& c : cases) {
            for (const char* layout : {"tsv", "csv", "txt"}) {
                SCOPED_TRACE(log + " " + c.options[0] + " " + layout);
                std::vector<std::string> args = c.options;
                args.insert(args.end(), {"--header", "--format", layout, log});
                const ToolRun run = runTool(args);
                EXPECT_EQ(run.exitCode, 0);
                EXPECT_EQ(run.err, "");
                EXPECT_EQ(run.out, savedByViewer(table, c.order, c.filter,
                                                 std::string("calls.") + layout, true));
            }
        }
    }
}

TEST(KestalCallsShown, SortedAndFilteredSampleInText) {
    const ToolRun run = runTool({"--sort", "Duration:desc", "--errors", kLogs[0]});
    std::string starts;
    for (const std::string& line : linesOf(run.out)) starts += line.substr(0, 19) + "|";
    EXPECT_EQ(starts,
              "12-04-2026 08:09:40|12-03-2026 20:41:55|12-02-2026 13:59:04|12-01-2026 09:12:04|"
              "12-05-2026 23:51:12|");  // the cut-short call has no error
}

TEST(KestalCallsShown, ALogWithoutCallsKeepsItsEmptyRowAFilterThatHidesAllWritesNone) {
    TempDir dir;
    const std::string empty = dir.write("empty.txt", "12-01-2026 09:00:00.00 - nothing\r\n");
    EXPECT_EQ(runTool({"--errors", "--sort", "Duration", empty}).out,
              std::string(17, '\t') + "\r\n");
    const std::string oneCall = dir.write("one.txt",
                                          "12-01-2026 09:00:00.00 - Remote access driver log "
                                          "opened.\r\n12-01-2026 09:10:00.00 - Remote access "
                                          "driver log closed.\r\n");
    EXPECT_EQ(runTool({"--cut-short", oneCall}).out, "");
    EXPECT_EQ(runTool({"--header", "--cut-short", "--sort", "lcp", oneCall}).out,
              exportRows(CallTable(kDialUpColumns), {}, ExportLayout::TabSeparated, true));
}

TEST(KestalCallsShown, BadValuesAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--sort", "Buffer overrun errors", kLogs[0]},  // a grid title, not a header
        {"--sort", "Duration:up", kLogs[0]},
        {"--sort"},
        {"--from", "2026-12-01", kLogs[0]},
        {"--to=12-32-2026", kLogs[0]},
        {"--details", "12-01-2026 09:12:04", "--errors", kLogs[0]},
    };
    for (const auto& args : cases) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 2) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
        EXPECT_NE(run.err.find("Usage: kestal-calls "), std::string::npos) << args[0];
    }
    EXPECT_NE(runTool({"--help"}).out.find("--sort NAME[:desc]"), std::string::npos);
}

}  // namespace
}  // namespace kestal::testing
