// Filtering the calls by date, errors, cut-short end, duration and layers.
#include <gtest/gtest.h>

#include <array>

#include "calls/CallFilter.h"
#include "pppd/PppdColumns.h"
#include "table/CallOrder.h"
#include "table/ShownCallsFixture.h"

namespace kestal {
namespace {

using namespace std::chrono;
using testing::kShownCallsFixture;
using testing::tableOf;

CallFilter withDates(std::optional<year_month_day> from, std::optional<year_month_day> to) {
    CallFilter filter;
    filter.from = from;
    filter.to = to;
    return filter;
}

TEST(CallFilterTest, EachConditionLetsThroughTheCallsItDescribes) {
    const CallTable table = tableOf(kShownCallsFixture);
    const std::vector<int> all = logOrder(table);
    constexpr year_month_day kDec1{year{2026}, December, day{1}};
    constexpr year_month_day kNov30{year{2026}, November, day{30}};

    auto errors = [] {
        CallFilter f;
        f.withErrors = true;
        return f;
    };
    auto cutShort = [] {
        CallFilter f;
        f.cutShort = true;
        return f;
    };
    auto durations = [](std::optional<int> min, std::optional<int> max) {
        CallFilter f;
        f.minDuration = min;
        f.maxDuration = max;
        return f;
    };
    auto slowerThan = [](std::int64_t tenths) {
        CallFilter f;
        f.layerSlowerThanTenths = tenths;
        return f;
    };
    auto errorsSince = [&errors](year_month_day from) {
        CallFilter f = errors();
        f.from = from;
        return f;
    };
    struct Case {
        const char* what;
        CallFilter filter;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {"nothing", CallFilter{}, {0, 1, 2, 3, 4, 5}},
        // The unreadable start of call 5 is left out by any date.
        {"one day, both ends included", withDates(kDec1, kDec1), {0, 2, 3}},
        {"from a day on", withDates(kDec1, std::nullopt), {0, 1, 2, 3}},
        {"up to a day", withDates(std::nullopt, kNov30), {5}},
        {"from after to", withDates(kDec1, kNov30), {}},
        {"errors in any of the seven counters", errors(), {1, 4, 5}},
        {"cut short", cutShort(), {1}},
        {"at least 10 minutes", durations(600, std::nullopt), {0, 3, 5}},
        {"at most 10 minutes", durations(std::nullopt, 600), {2}},
        {"exactly 20 s, both ends included", durations(20, 20), {2}},
        {"a layer slower than 4.5 s, not equal", slowerThan(45), {2, 5}},
        {"a layer slower than 2.5 s", slowerThan(25), {0, 2, 3, 5}},
        {"errors from a day on", errorsSince(kDec1), {1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.filter.active(), std::string_view(c.what) != "nothing") << c.what;
        EXPECT_EQ(filterRows(table, all, c.filter), c.rows) << c.what;
    }
}

TEST(CallFilterTest, TheFilterKeepsTheOrderItIsGiven) {
    const CallTable table = tableOf(kShownCallsFixture);
    CallFilter filter;
    filter.withErrors = true;
    const std::vector<int> order = {5, 0, 3, 2, 1, 4};
    EXPECT_EQ(filterRows(table, order, filter), (std::vector<int>{5, 1, 4}));
}

TEST(CallFilterTest, TheSlowestLayerDecidesAndACallWithoutLayersIsLeftOut) {
    const CallTable table = tableOf(kShownCallsFixture);
    // Call 6's slowest layer, CCP, took 30.5 s; call 2 was cut short before
    // any layer came up.
    CallFilter slowerThan;
    slowerThan.layerSlowerThanTenths = 304;
    EXPECT_TRUE(passes(table, 5, slowerThan));
    slowerThan.layerSlowerThanTenths = 305;
    EXPECT_FALSE(passes(table, 5, slowerThan));
    slowerThan.layerSlowerThanTenths = 0;
    EXPECT_FALSE(passes(table, 1, slowerThan));
}

TEST(CallFilterTest, MarksLetThroughTheRowsThatHaveAnyOfThem) {
    CallTable table{kPppdColumns};
    std::array<std::string_view, kPppdColumnCount> cells{};
    const std::uint32_t rowMarks[] = {kSessionMark | kDroppedMark, kFailedAttemptMark, kSessionMark,
                                      kSessionMark | kStillUpMark};
    const std::string_view starts[] = {"12-01-2026 10:00:00", "12-01-2026 11:00:00",
                                       "12-02-2026 10:00:00", "12-02-2026 11:00:00"};
    for (int row = 0; row < 4; ++row) {
        cells[0] = starts[row];
        table.addCall(cells, rowMarks[row]);
    }
    auto marked = [](std::uint32_t marks) {
        CallFilter f;
        f.anyOfMarks = marks;
        return f;
    };
    CallFilter failedOnDec2 = marked(kFailedAttemptMark);
    failedOnDec2.from = year_month_day{year{2026}, December, day{2}};
    struct Case {
        const char* what;
        CallFilter filter;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {"dropped", marked(kDroppedMark), {0}},
        {"failed", marked(kFailedAttemptMark), {1}},
        {"either", marked(kDroppedMark | kFailedAttemptMark), {0, 1}},
        {"and a date as well", failedOnDec2, {}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.filter.active()) << c.what;
        EXPECT_EQ(filterRows(table, logOrder(table), c.filter), c.rows) << c.what;
    }
}

}  // namespace
}  // namespace kestal
