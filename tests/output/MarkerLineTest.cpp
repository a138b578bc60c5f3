// The marker line of a cleared log: the date month first, the time as the
// locale writes it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "output/MarkerLine.h"

namespace kestal {
namespace {

TEST(MarkerLine, WritesTheDateMonthFirstAndTheTimeAsTheLocaleDoes) {
    const struct {
        DateTime now;
        std::string time;
        char separator;
        std::string_view line;
    } cases[] = {
        {{2026, 12, 6, 15, 5, 9},
         "15:05:09",
         ':',
         "12-06-2026 15:05:09:00 - PPPLOG.TXT cleared by KESTAL.EXE."},
        {{2026, 12, 6, 15, 5, 9},
         "3:05:09 PM",
         ':',
         "12-06-2026 3:05:09 PM:00 - PPPLOG.TXT cleared by KESTAL.EXE."},
        {{2027, 1, 2, 9, 7, 3},
         "09.07.03",
         '.',
         "01-02-2027 09.07.03.00 - PPPLOG.TXT cleared by KESTAL.EXE."},
        {{999, 3, 4, 0, 0, 0}, "", ':', "03-04-0999 :00 - PPPLOG.TXT cleared by KESTAL.EXE."},
    };
    for (const auto& c : cases) EXPECT_EQ(markerLine(c.now, c.time, c.separator), c.line) << c.time;
}

}  // namespace
}  // namespace kestal
