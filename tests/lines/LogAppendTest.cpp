// Bytes added to the lines of a growing log give the lines of the whole
// text, wherever the text was cut in two.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lines/LogLines.h"
#include "support/LogTestHelpers.h"

namespace kestal {
namespace {

using testing::linesOf;
using namespace std::string_literals;

TEST(LogAppend, GivesTheLinesOfTheWholeTextWhereverItWasCut) {
    const std::vector<std::string> texts = {
        "",
        "one\r\ntwo\r\n",
        "one\r\ntwo",
        "cr\rlf\nboth\r\nlf-cr\n\rend",
        "\r\n\r\n\n\r",
        "before\0after\r\nmore"s,
        "\0starts with nul"s,
        "line\r\n\0"s,
        "ends with a lone cr\r",
    };
    for (const std::string& text : texts) {
        const LogLines whole = LogLines::fromBytes(text);
        // An index whose groups are held whole after a line or two, too
        // (see LineEnds).
        for (const unsigned narrowBits : {16u, 2u})
            for (std::size_t cut = 0; cut <= text.size(); ++cut) {
                SCOPED_TRACE(::testing::Message()
                             << "text " << ::testing::PrintToString(text) << " cut at " << cut
                             << " narrow bits " << narrowBits);
                LogLines grown(narrowBits);
                grown.assign(text.substr(0, cut));
                const std::vector<std::string> before = linesOf(grown);
                const std::size_t firstChanged = grown.append(text.substr(cut));
                EXPECT_EQ(linesOf(grown), linesOf(whole));
                EXPECT_EQ(grown.joinedLength(), whole.joinedLength());
                EXPECT_EQ(grown.byteCount(), whole.byteCount());
                EXPECT_EQ(grown.endsAtNul(), whole.endsAtNul());
                // The lines before the first changed one are those shown before.
                ASSERT_LE(firstChanged, before.size());
                for (std::size_t i = 0; i < firstChanged; ++i) EXPECT_EQ(grown[i], before[i]);
            }
    }
}

}  // namespace
}  // namespace kestal
