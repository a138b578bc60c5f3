// Filtering the calls by date, errors, cut-short end, duration and layers.
#include <gtest/gtest.h>

#include "ShownCallsFixture.h"
#include "log/CallFilter.h"
#include "log/CallOrder.h"

namespace kestal {
namespace {

using namespace std::chrono;
using testing::kShownCallsFixture;
using testing::tableOf;

constexpr RegionalSettings kDot{'.', ':'};

CallFilter withDates(std::optional<year_month_day> from, std::optional<year_month_day> to) {
    CallFilter filter;
    filter.from = from;
    filter.to = to;
    return filter;
}

TEST(CallFilterTest, EachConditionLetsThroughTheCallsItDescribes) {
    const CallTable table = tableOf(kShownCallsFixture);
    const std::vector<CallFacts> facts = readAllCallFacts(table, kDot);
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
        {"nothing", CallFilter{}, {1, 2, 3, 4, 5, 6}},
        // The unreadable start of call 5 is left out by any date.
        {"one day, both ends included", withDates(kDec1, kDec1), {1, 3, 4}},
        {"from a day on", withDates(kDec1, std::nullopt), {1, 2, 3, 4}},
        {"up to a day", withDates(std::nullopt, kNov30), {6}},
        {"from after to", withDates(kDec1, kNov30), {}},
        {"errors in any of the seven counters", errors(), {2, 5, 6}},
        {"cut short", cutShort(), {2}},
        {"at least 10 minutes", durations(600, std::nullopt), {1, 4, 6}},
        {"at most 10 minutes", durations(std::nullopt, 600), {3}},
        {"exactly 20 s, both ends included", durations(20, 20), {3}},
        {"a layer slower than 4.5 s, not equal", slowerThan(45), {3, 6}},
        {"a layer slower than 2.5 s", slowerThan(25), {1, 3, 4, 6}},
        {"errors from a day on", errorsSince(kDec1), {2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.filter.active(), std::string_view(c.what) != "nothing") << c.what;
        EXPECT_EQ(filterRows(all, facts, c.filter), c.rows) << c.what;
    }
}

TEST(CallFilterTest, TheFilterKeepsTheOrderItIsGiven) {
    const CallTable table = tableOf(kShownCallsFixture);
    const std::vector<CallFacts> facts = readAllCallFacts(table, kDot);
    CallFilter filter;
    filter.withErrors = true;
    const std::vector<int> order = {6, 1, 4, 3, 2, 5};
    EXPECT_EQ(filterRows(order, facts, filter), (std::vector<int>{6, 2, 5}));
}

TEST(CallFilterTest, FactsOfACallAreReadFromItsCells) {
    const CallTable table = tableOf(kShownCallsFixture);
    // Call 6: 11-30-2026 is day 20787 since 1970; its CCP took 30.5 s.
    const CallFacts sixth = readCallFacts(table, 6, kDot);
    EXPECT_EQ(sixth.startDay, 20787);
    EXPECT_EQ(sixth.duration, 3600);
    EXPECT_EQ(sixth.slowestLayer, 305);
    EXPECT_TRUE(sixth.withErrors);
    EXPECT_FALSE(sixth.cutShort);
    RowTexts second;
    for (int column = 0; column < kColumnCount; ++column)
        second[static_cast<std::size_t>(column)] = table.cell(columnAt(column), 2);
    const CallFacts facts = readCallFacts(second, kDot);
    EXPECT_EQ(facts.duration, CallFacts::kNone);
    EXPECT_EQ(facts.slowestLayer, CallFacts::kNone);
    EXPECT_TRUE(facts.cutShort);
}

}  // namespace
}  // namespace kestal
