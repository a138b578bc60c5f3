// Telling a PPP log from other files by their first bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lines/LooksLikeLog.h"

namespace kestal {
namespace {

using namespace std::string_literals;

TEST(LooksLikeLog, TellsLogsFromOtherFiles) {
    const std::string opened = "12-01-2026 09:12:04.30 - Remote access driver log opened.";
    struct Case {
        const char* name;
        std::string bytes;
        bool log;
    };
    const std::vector<Case> cases = {
        {"a log line ended by CR LF", opened + "\r\n", true},
        {"LF alone", opened + "\n", true},
        {"CR alone, after other text", "junk\r" + opened, true},
        {"an empty file", "", true},
        {"a cleared log's line, 12-hour time",
         "12-06-2026 3:05:09 PM:00 - PPPLOG.TXT cleared by KESTAL.EXE.\r\n", true},
        {"dots in date and time", "12.01.2026 09.12.04,30 - LCP : Layer up\r\n", true},
        {"a NUL run inside the line", "12-01-2026 09:12\0\0\0:04.30 - x\r\n"s, true},
        {"the line far down", std::string(10000, 'x') + "\n" + opened, true},
        {"end-of-file mark after the log", opened + "\r\n\x1a", true},
        {"a shopping list", "milk\nbread\n12 eggs\n", false},
        {"only NUL bytes", "\0\0\0"s, false},
        {"a PNG", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06"s + opened, false},
        {"a control byte among log lines", opened + "\r\n\x01" + opened, false},
        {"a date without a time", "12-01-2026 - note\n", false},
        {"the text too far from the time", "12-01-2026 0" + std::string(40, ' ') + " - x", false},
        {"separators that differ", "12-01/2026 09:12:04.30 - x", false},
        {"space for a separator", "12 01 2026 09:12:04.30 - x", false},
        {"no space after the date", "12-01-2026T09:12:04.30 - x", false},
        {"a date short of a digit", "12-01-202 09:12:04.30 - x", false},
        {"a time too short", "12-01-2026 0:1 - x", false},
    };
    for (const Case& c : cases) EXPECT_EQ(looksLikePppLog(c.bytes), c.log) << c.name;
}

}  // namespace
}  // namespace kestal
