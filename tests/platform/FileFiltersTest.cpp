#include <gtest/gtest.h>

#include "platform/FileFilters.h"

namespace kestal {
namespace {

using Filters = std::vector<std::string>;

TEST(QtNameFilters, KeepTheLabelsAndPutThePatternsLast) {
    const struct {
        std::string_view filter;
        Filters expected;
    } cases[] = {
        {"Text (*.txt)|*.txt", {"Text (*.txt) (*.txt)"}},
        {"Text (*.txt)|*.txt|Text & Tabs (*.tsv)|*.tsv|Text & Commas (*.csv)|*.csv",
         {"Text (*.txt) (*.txt)", "Text & Tabs (*.tsv) (*.tsv)", "Text & Commas (*.csv) (*.csv)"}},
        {"Logs|*.txt;*.log", {"Logs (*.txt *.log)"}},
        {"All files|*.*|Dangling", {"All files (*.*)"}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(qtNameFilters(c.filter), c.expected) << c.filter;
}

TEST(ParseFilter, SplitsLabelAndPatternPairs) {
    const auto entries = parseFilter("Text & Tabs (*.tsv)|*.tsv|A|");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].label, "Text & Tabs (*.tsv)");
    EXPECT_EQ(entries[0].pattern, "*.tsv");
    EXPECT_EQ(entries[1].label, "A");
    EXPECT_EQ(entries[1].pattern, "");
}

}  // namespace
}  // namespace kestal
