// The kind of a log from its first 64 KiB: every dial-up log stays one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "pppd/LogKind.h"

namespace kestal {
namespace {

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

TEST(LogKind, EveryDialUpLogOfTheProjectStaysOne) {
    int logs = 0;
    for (const auto& folder : {std::filesystem::path(KESTAL_SOURCE_DIR) / "examples",
                               std::filesystem::path(KESTAL_TEST_DATA)}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
            EXPECT_EQ(detectLogKind(fileBytes(entry.path()), MonthNames{}), LogKind::DialUp)
                << entry.path();
            ++logs;
        }
    }
    EXPECT_GT(logs, 0);
}

TEST(LogKind, EveryPublishedPppdLogIsOne) {
    // The published logs lie beside the checkout, never in it.
    if (!std::filesystem::is_directory(KESTAL_REAL_PPPD)) GTEST_SKIP() << "no " << KESTAL_REAL_PPPD;
    int logs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KESTAL_REAL_PPPD)) {
        if (entry.path().extension() != ".log") continue;
        EXPECT_TRUE(looksLikePppdLog(fileBytes(entry.path()))) << entry.path();
        ++logs;
    }
    EXPECT_EQ(logs, 8);
}

TEST(LogKind, FromTheFirstBytes) {
    const std::string otherLine = "Dec  8 10:00:00 host kernel: usb 1-1: new device\n";
    std::string quiet;
    while (quiet.size() < kKindProbeBytes) quiet += otherLine;
    const std::string pppdLine = "Dec  8 10:00:01 host pppd[4]: Exit.\n";
    const struct {
        const char* name;
        std::string bytes;
        LogKind kind;
    } cases[] = {
        {"empty", "", LogKind::DialUp},
        {"junk", std::string("\x00\x01\xfe\xff\x80", 5), LogKind::DialUp},
        {"otherPrograms", otherLine + otherLine, LogKind::DialUp},
        {"pppdAmongOthers", otherLine + pppdLine + otherLine, LogKind::Pppd},
        {"bareMessages", "Plugin rp-pppoe.so loaded.\nUsing interface ppp0\n", LogKind::Pppd},
        {"pppdPast64KiB", quiet + pppdLine, LogKind::DialUp},
        {"cutByTheProbe", quiet.substr(0, kKindProbeBytes - 5) + "Exit.\n", LogKind::DialUp},
        {"afterNul", std::string("x\0", 2) + pppdLine, LogKind::DialUp},
        {"regionalMonth", "Mai 16 08:53:56 host pppd[1]: Connection terminated.\n", LogKind::Pppd},
    };
    MonthNames german;
    german.local[4] = "Mai";
    for (const auto& c : cases) {
        EXPECT_EQ(detectLogKind(c.bytes, german), c.kind) << c.name;
    }
}

}  // namespace
}  // namespace kestal
