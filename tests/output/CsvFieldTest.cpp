#include <gtest/gtest.h>

#include <utility>

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

}  // namespace
}  // namespace kestal
