#include <gtest/gtest.h>

#include "log/LogSeparators.h"

namespace kestal {
namespace {

// The regional separator first, the log's own only where that fails.
TEST(LogSeparators, ReadTheRegionalWayAndThenTheLogsOwn) {
    EXPECT_EQ(readLogNumber("06,5", ','), 6.5);
    EXPECT_EQ(readLogNumber("06.5", ','), 6.5);
    EXPECT_EQ(readLogNumber(" 13 ", ','), 13.0);
    EXPECT_EQ(readLogNumber("06,5", '.'), std::nullopt);  // as the C locale always did
    EXPECT_EQ(readLogNumber("06;5", ','), std::nullopt);

    EXPECT_EQ(readLogTimeOfDay("10.02.03", '.'), 36123);
    EXPECT_EQ(readLogTimeOfDay("10:02:03", '.'), 36123);
    EXPECT_EQ(readLogTimeOfDay("10.02.03", ':'), std::nullopt);
    EXPECT_EQ(readLogTimeOfDay("10.02:03", '.'), std::nullopt);  // one of each
}

}  // namespace
}  // namespace kestal
