#include <gtest/gtest.h>

#include <utility>

#include "output/CallStatistics.h"
#include "output/CsvField.h"

namespace kestal {
namespace {

TEST(CsvField, QuotesOnlyACellThatWouldNotStayOneField) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},           {"    182344", "    182344"}, {"00.51.17", "00.51.17"},
        {"a\tb", "a\tb"},   {"2,6", "\"2,6\""},           {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""}, {"a\rb", "\"a\rb\""},         {"a\nb", "\"a\nb\""},
    };
    for (const auto& [cell, field] : cases) EXPECT_EQ(csvField(cell), field) << cell;
}

// The statistics' comma-separated lines quote through the same function;
// their tab-separated ones write cells as they stand.
TEST(CsvField, StatisticsLinesQuoteTheirCommaSeparatedCells) {
    StatisticsRow row;
    row[0] = "a,b";
    row[1] = "2";
    EXPECT_EQ(statisticsLine(row, StatisticsLayout::CommaSeparated),
              "\"a,b\",2" + std::string(13, ','));
    EXPECT_EQ(statisticsLine(row, StatisticsLayout::TabSeparated),
              "a,b\t2" + std::string(13, '\t'));
}

}  // namespace
}  // namespace kestal
