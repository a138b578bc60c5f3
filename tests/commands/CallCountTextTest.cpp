// The status label's count of calls.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "commands/CallCountText.h"
#include "lines/LogLines.h"
#include "support/ScanHelpers.h"

namespace kestal::testing {
namespace {

TEST(CallCountTextTest, CallCountTextFromThreeCallsOn) {
    struct Case {
        int calls;
        std::optional<std::string> text;
    };
    const std::vector<Case> cases = {
        {0, std::nullopt}, {1, std::nullopt}, {2, std::nullopt}, {3, "3 Calls"}, {12, "12 Calls"}};
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        for (int i = 0; i < c.calls; ++i) {
            lines.push_back(opened("10:00:00.00"));
            lines.push_back(closed("10:00:10.00"));
        }
        const ScanResult result = scan(lines);
        EXPECT_EQ(result.table.rowCount(), c.calls == 0 ? 1 : c.calls);
        EXPECT_EQ(callCountText(result.table), c.text) << c.calls;
    }
}

TEST(CallCountTextTest, SampleLogCountsItsCalls) {
    LogLines lines;
    readLogFile(std::string(KESTAL_SOURCE_DIR) + "/examples/windows/ppplog.txt", lines);
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, RegionalSettings{}, {});
    EXPECT_EQ(callCountText(table), "6 Calls");
}

}  // namespace
}  // namespace kestal::testing
