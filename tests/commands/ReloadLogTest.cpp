#include <gtest/gtest.h>

#include "commands/ReloadLog.h"
#include "support/FakePlatform.h"
#include "support/RecordingView.h"

namespace kestal {
namespace {

TEST(ReloadLog, FindsTheCallAgainNearestToWhereItWas) {
    CallTable table;
    const std::vector<std::string> starts = {"A", "B", "A", "C", "A"};
    table.setRowCount(static_cast<int>(starts.size()) + 1);
    for (std::size_t i = 0; i < starts.size(); ++i)
        table.setCell(0, static_cast<int>(i) + 1, starts[i]);
    struct Case {
        std::string start;
        int near;
        int row;
    };
    const std::vector<Case> cases = {
        {"B", 1, 2}, {"B", 5, 2}, {"A", 1, 1}, {"A", 3, 3}, {"A", 4, 3},
        {"A", 5, 5}, {"A", 9, 5}, {"D", 2, 0}, {"", 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rowOfCall(table, c.start, c.near), c.row) << c.start << " near " << c.near;
}

TEST(ReloadLog, WithoutALogShownNothingIsRead) {
    testing::FakePlatform platform;
    testing::RecordingView view;
    LogState state;
    view.statusText = "No system log";
    commands::reloadLog(state, platform, view);
    EXPECT_EQ(view.tablesShown, 0);
    EXPECT_EQ(view.statusText, "No system log");
    EXPECT_TRUE(platform.errorModes.empty());
}

}  // namespace
}  // namespace kestal
