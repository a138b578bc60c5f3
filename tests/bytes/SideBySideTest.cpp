#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "bytes/SideBySide.h"

namespace kestal {
namespace {

TEST(SideBySideTest, BothRunAndEitherFailureComesOutAfterBoth) {
    struct Case {
        const char* name;
        bool laterThrows;
        bool nowThrows;
        const char* thrown;  // nullptr: nothing
    };
    const Case cases[] = {
        {"neither fails", false, false, nullptr},
        {"the second thread fails", true, false, "later"},
        {"this thread fails", false, true, "now"},
        {"both fail: this thread's failure wins", true, true, "now"},
    };
    for (const Case& c : cases) {
        std::atomic<bool> laterDone = false;
        bool nowDone = false;
        std::string thrown;
        try {
            runSideBySide(
                [&] {
                    laterDone = true;
                    if (c.laterThrows) throw std::runtime_error("later");
                },
                [&] {
                    nowDone = true;
                    if (c.nowThrows) throw std::runtime_error("now");
                });
        } catch (const std::runtime_error& e) {
            thrown = e.what();
            // Whatever failed, the other piece had finished by then.
            EXPECT_TRUE(laterDone) << c.name;
        }
        EXPECT_TRUE(laterDone && nowDone) << c.name;
        EXPECT_EQ(thrown, c.thrown ? c.thrown : "") << c.name;
    }
}

}  // namespace
}  // namespace kestal
