// Sorting the calls by the values of a column.
#include <gtest/gtest.h>

#include "table/CallOrder.h"
#include "table/ShownCallsFixture.h"

namespace kestal {
namespace {

using testing::kShownCallsFixture;
using testing::tableOf;

constexpr auto kUp = SortDirection::Ascending;
constexpr auto kDown = SortDirection::Descending;

TEST(CallOrderTest, ValuesSortWithoutValuesLastAndTiesInLogOrder) {
    const CallTable table = tableOf(kShownCallsFixture);
    struct Case {
        std::optional<SortOrder> order;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {std::nullopt, {0, 1, 2, 3, 4, 5}},
        // The date counts before the time: 11-30 before 12-01, 2027 last.
        {SortOrder{kStartTimeColumn, kUp}, {5, 0, 3, 2, 1, 4}},
        {SortOrder{kStartTimeColumn, kDown}, {1, 2, 0, 3, 5, 4}},
        {SortOrder{kDurationColumn, kUp}, {2, 0, 3, 5, 1, 4}},
        {SortOrder{kDurationColumn, kDown}, {5, 0, 3, 2, 1, 4}},
        // 10.0 after 2.6, though "1" < "2".
        {SortOrder{kLcpColumn, kUp}, {4, 0, 3, 2, 1, 5}},
        {SortOrder{kLcpColumn, kDown}, {2, 0, 3, 4, 1, 5}},
        // 10 after 9, " 9 " equal to "9", "abc" and "" without a value.
        {SortOrder{kBytesRxColumn, kUp}, {0, 3, 2, 5, 1, 4}},
        {SortOrder{kBytesRxColumn, kDown}, {5, 2, 0, 3, 1, 4}},
        {SortOrder{kCrcErrorsColumn, kDown}, {1, 4, 0, 2, 5, 3}},
        {SortOrder{kEndTimeColumn, kUp}, {5, 0, 3, 4, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.order ? c.order->column : -1);
        EXPECT_EQ(sortedRows(table, c.order), c.rows);
    }
}

TEST(CallOrderTest, ATableWithoutCallsHasItsEmptyRow) {
    const CallTable table{kDialUpColumns};
    EXPECT_EQ(sortedRows(table, SortOrder{kDurationColumn, kDown}), std::vector<int>{0});
    EXPECT_EQ(logOrder(table), std::vector<int>{0});
}

TEST(CallOrderTest, SortOrdersAreNamedByTheirTabSeparatedHeader) {
    struct Case {
        const char* text;
        std::optional<SortOrder> order;
    };
    const Case cases[] = {
        {"Start Time", SortOrder{kStartTimeColumn, kUp}},
        {"start time:desc", SortOrder{kStartTimeColumn, kDown}},
        {"BYTES RX:Asc", SortOrder{kBytesRxColumn, kUp}},
        {"Buffer Errors:DESC", SortOrder{kBufferErrorsColumn, kDown}},
        {"incomplete packets", SortOrder{kIncompletePacketsColumn, kUp}},
        {"Buffer overrun errors", std::nullopt},  // the grid title, not the header
        {" Duration", std::nullopt},
        {"Duration:down", std::nullopt},
        {"LCP:", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseSortOrder(kDialUpColumns, c.text), c.order) << c.text;
}

}  // namespace
}  // namespace kestal
