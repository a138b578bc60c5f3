#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "calls/LineMatcher.h"

namespace kestal {
namespace {

// The fast line matcher must agree with a plain substring search.
TEST(LineMatcherTest, AgreesWithASubstringSearch) {
    const std::vector<std::string> pieces = {"log opened",
                                             "log closed",
                                             "Bytes Re",
                                             "Bytes Tr",
                                             "Frames Re",
                                             "Frames Tr",
                                             "CRC Errors",
                                             "Timeout Errors",
                                             "Alignment Errors",
                                             "- Overrun Errors",
                                             "Overrun Errors",
                                             "Framing Errors",
                                             "Buffer Overrun Errors",
                                             "Incomplete Packets",
                                             "LCP : Layer up",
                                             "CHAP : Layer up",
                                             "IPCP : Layer up",
                                             "CCP : Layer finished",
                                             "CCP : Layer up",
                                             "log ope",
                                             "Layer u",
                                             "g",
                                             "y",
                                             "E",
                                             "F",
                                             "k",
                                             " ",
                                             "-",
                                             "12-01-2026 09:12:04.30 - ",
                                             "skipping",
                                             "Bytes",
                                             "Errors",
                                             "Packets",
                                             "LCP : Layer",
                                             "CCP : Layer fin",
                                             "og",
                                             "yt",
                                             "Fr",
                                             "Er",
                                             "Pa",
                                             "La"};
    std::mt19937 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        const int count = static_cast<int>(random() % 6);
        for (int p = 0; p < count; ++p) {
            line += pieces[random() % pieces.size()];
            if (random() % 3 == 0) line += static_cast<char>(' ' + random() % 95);
        }
        std::uint32_t expected = 0;
        for (int bit = 0; bit < linematch::kTextCount; ++bit)
            if (line.find(linematch::textOf(bit)) != std::string::npos) expected |= 1u << bit;
        ASSERT_EQ(linematch::matchLine(line), expected) << line;
        ASSERT_EQ(linematch::matchLinePlain(line), expected) << line;
    }
}

}  // namespace
}  // namespace kestal
