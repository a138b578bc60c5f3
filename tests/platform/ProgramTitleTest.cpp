#include <gtest/gtest.h>

#include "platform/ProgramTitle.h"

namespace kestal {
namespace {

TEST(ProgramTitle, IsTheNameUpToItsFirstStopWithTheRestLowerCase) {
    const struct {
        std::string_view executable;
        std::string_view title;
    } cases[] = {
        {"Kestal", "Kestal"},
        {"KESTAL.EXE", "Kestal"},
        {"/usr/local/bin/Kestal", "Kestal"},
        {"kestal", "kestal"},  // the first letter as stored
        {"kESTAL", "kestal"},
        {"My.Viewer.bin", "My"},
        {"/opt/v1.2/KESTAL", "Kestal"},  // stops in folders don't count
        {".hidden", ""},
        {"\xC9TOILE", "\xC9toile"},  // bytes above 127 stay as stored
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(programTitle(c.executable), c.title) << c.executable;
}

}  // namespace
}  // namespace kestal
