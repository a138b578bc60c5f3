// Every mask finder this processor runs against the plain one, byte for
// byte: random bytes of the letters that matter, and the log's own lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lines/ByteMasks.h"

namespace kestal::testing {
namespace {

struct Masks {
    std::vector<std::uint64_t> ends;
    std::vector<std::uint64_t> pairs;
    bool operator==(const Masks&) const = default;
};

Masks masksOf(ByteMaskFinder find, const std::string& text, std::size_t steps) {
    Masks masks{std::vector<std::uint64_t>(steps), std::vector<std::uint64_t>(steps)};
    find(text.data(), steps, masks.ends.data(), masks.pairs.data());
    return masks;
}

TEST(ByteMasks, EveryFinderAsThePlainOne) {
    std::mt19937 random(64);
    const std::string letters("ogytErFrLaPa\r\n\0 x", 17);
    std::vector<std::string> texts = {
        "12-01-1998 16:06:01.27 - Remote access driver log opened.\r\n"
        "12-01-1998 16:56:39.90 - Bytes Received             37027744\r\n"
        "12-01-1998 16:56:39.90 - Frames Transmitted           346053\r\n"
        "12-01-1998 16:56:39.90 - CRC Errors                       0\r\n"
        "12-01-1998 16:06:02.50 - CHAP : Layer up\r\n"
        "Incomplete Packets\nLCP : Layer finished\r"};
    for (int i = 0; i < 200; ++i) {
        std::string text(64 * (1 + i % 9) + i % 64, ' ');
        for (char& c : text) c = letters[random() % letters.size()];
        texts.push_back(text);
    }
    const std::vector<NamedByteMaskFinder> finders = byteMaskFinders();
    ASSERT_EQ(finders.front().name, "plain");
    for (std::string text : texts) {
        const std::size_t steps = (text.size() + kMaskStep - 1) / kMaskStep;
        text.resize(steps * kMaskStep + 1, 'g');  // the byte after the last step is read too
        const Masks expected = masksOf(finders.front().find, text, steps);
        // The plain finder itself against the letters and the line ends.
        for (std::size_t at = 0; at < steps * kMaskStep; ++at) {
            const bool end = text[at] == '\r' || text[at] == '\n' || text[at] == '\0';
            const std::string two = text.substr(at, 2);
            const bool pair = two == "og" || two == "yt" || two == "Er" || two == "Fr" ||
                              two == "La" || two == "Pa";
            EXPECT_EQ((expected.ends[at / 64] >> (at % 64)) & 1, end) << at;
            EXPECT_EQ((expected.pairs[at / 64] >> (at % 64)) & 1, pair) << at;
        }
        for (const NamedByteMaskFinder& finder : finders) {
            EXPECT_TRUE(masksOf(finder.find, text, steps) == expected) << finder.name;
            // One kind of mask alone.
            Masks alone{std::vector<std::uint64_t>(steps), std::vector<std::uint64_t>(steps)};
            finder.find(text.data(), steps, alone.ends.data(), nullptr);
            finder.find(text.data(), steps, nullptr, alone.pairs.data());
            EXPECT_TRUE(alone == expected) << finder.name;
        }
        Masks best{std::vector<std::uint64_t>(steps), std::vector<std::uint64_t>(steps)};
        findByteMasks(text.data(), steps, best.ends.data(), best.pairs.data());
        EXPECT_TRUE(best == expected);
    }
}

}  // namespace
}  // namespace kestal::testing
