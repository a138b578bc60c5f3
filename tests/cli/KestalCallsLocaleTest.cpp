// kestal-calls under the desktops' locales: the log's own ":" and "." are
// read whatever the regional separators, and the cells are written with the
// regional ones, a decimal comma quoted in the comma-separated layout.
#include <gtest/gtest.h>
#include <locale.h>

#include <string>
#include <string_view>

#include "calls/CallScan.h"
#include "calls/DialUpColumns.h"
#include "cli/RunTool.h"
#include "lines/LogLines.h"
#include "output/TableExport.h"
#include "support/TempDir.h"
#include "table/CallTable.h"

namespace kestal::testing {
namespace {

bool localeInstalled(const char* name) {
    const locale_t locale = ::newlocale(LC_ALL_MASK, name, nullptr);
    if (locale == nullptr) return false;
    ::freelocale(locale);
    return true;
}

std::string commaSeparated(const RegionalSettings& settings) {
    const LogLines lines = LogLines::fromBytes(readBytes(kSamplePath));
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, settings, [](std::string_view) {});
    return exportTable(table, ExportLayout::CommaSeparated, false);
}

TEST(KestalCallsLocale, ReadsTheLogAndWritesTheRegionalSeparators) {
    struct Case {
        const char* locale;
        RegionalSettings settings;
        std::string firstCall;  // up to the counters
    };
    const std::string start = "12-01-2026 09:12:04,12-01-2026 09:22:41,";
    const Case cases[] = {
        {"C.UTF-8", {'.', ':'}, start + "00:10:37,1.3,2.1,3.1,3.4,"},
        {"en_US.UTF-8", {'.', ':'}, start + "00:10:37,1.3,2.1,3.1,3.4,"},
        {"de_DE.UTF-8", {',', ':'}, start + "00:10:37,\"1,3\",\"2,1\",\"3,1\",\"3,4\","},
        {"fr_FR.UTF-8", {',', ':'}, start + "00:10:37,\"1,3\",\"2,1\",\"3,1\",\"3,4\","},
        {"fi_FI.UTF-8", {',', '.'}, start + "00.10.37,\"1,3\",\"2,1\",\"3,1\",\"3,4\","},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(localeInstalled(c.locale)) << c.locale << " (scripts/install-deps.sh)";
        ToolSetup setup;
        setup.environment = {std::string("LC_ALL=") + c.locale};
        const ToolRun run = runTool({"--format", "csv", kSamplePath}, setup);
        EXPECT_EQ(run.exitCode, 0) << c.locale;
        EXPECT_EQ(run.err, "") << c.locale;  // no call read as corrupted
        EXPECT_EQ(run.out.substr(0, c.firstCall.size()), c.firstCall) << c.locale;
        EXPECT_EQ(run.out, commaSeparated(c.settings)) << c.locale;
    }
}

}  // namespace
}  // namespace kestal::testing
