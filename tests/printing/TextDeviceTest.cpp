// The printer's page layout, on a surface with made-up font metrics:
// "a" is 10 units wide, "W" 20, a digit as many units as its value; text
// holding "T" is 20 high, other text 12; the font is 12 high and its average
// character 10 wide (tab stops every 80).
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/TextDevice.h"

namespace kestal {
namespace {

struct Draw {
    int page;
    int x;
    int y;
    std::string text;
    bool operator==(const Draw&) const = default;
};

void PrintTo(const Draw& d, std::ostream* os) {
    *os << "{page " << d.page << ", " << d.x << ", " << d.y << ", \"" << d.text << "\"}";
}

class FakeSurface : public TextSurface {
public:
    FakeSurface(int width, int height) : width_(width), height_(height) {}

    int textWidth(std::string_view text) override {
        ++measures;
        int width = 0;
        for (char c : text) width += c == 'W' ? 20 : (c >= '1' && c <= '9') ? c - '0' : 10;
        return width;
    }
    int textHeight(std::string_view text) override { return text.find('T') != text.npos ? 20 : 12; }
    int averageCharWidth() override { return 10; }
    int fontHeight() override { return 12; }
    int pageWidth() override { return width_; }
    int pageHeight() override { return height_; }
    void drawText(int x, int y, std::string_view text) override {
        draws.push_back({page, x, y, std::string(text)});
    }
    void newPage() override { ++page; }

    std::vector<Draw> draws;
    int page = 1;
    int measures = 0;

private:
    int width_;
    int height_;
};

struct Position {
    int page;
    int x;
    int y;
    bool operator==(const Position&) const = default;
};

void PrintTo(const Position& p, std::ostream* os) {
    *os << "{page " << p.page << ", " << p.x << ", " << p.y << "}";
}

struct LayoutCase {
    const char* name;
    int pageWidth;
    int pageHeight;
    std::string input;  // written with write(), line feeds included
    std::vector<Draw> draws;
    Position end;
};

// Test listings name the case; the parameter's bytes say nothing.
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class TextDeviceLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TextDeviceLayout, PlacesTextAsExpected) {
    const LayoutCase& c = GetParam();
    FakeSurface surface(c.pageWidth, c.pageHeight);
    TextDevice device(surface);
    device.write(c.input);
    EXPECT_EQ(surface.draws, c.draws);
    EXPECT_EQ((Position{surface.page, device.x(), device.y()}), c.end);
}

const std::string kEightLines = "a\na\na\na\na\na\na\na\n";  // 8 lines of 14
const std::vector<Draw> kEightLinesDrawn = {{1, 0, 0, "a"},  {1, 0, 14, "a"}, {1, 0, 28, "a"},
                                            {1, 0, 42, "a"}, {1, 0, 56, "a"}, {1, 0, 70, "a"},
                                            {1, 0, 84, "a"}, {1, 0, 98, "a"}};

INSTANTIATE_TEST_SUITE_P(
    Rules, TextDeviceLayout,
    ::testing::Values(
        LayoutCase{"TextMovesRightByItsWidth",
                   500,
                   500,
                   "ab\tW",
                   {{1, 0, 0, "ab"}, {1, 80, 0, "W"}},
                   {1, 100, 0}},
        LayoutCase{"LineOfTextIsItsHeightPlusTwo",
                   500,
                   500,
                   "ab\ncd",
                   {{1, 0, 0, "ab"}, {1, 0, 14, "cd"}},
                   {1, 20, 14}},
        LayoutCase{"EmptyLineIsTheFontHeight", 500, 500, "\n\nab", {{1, 0, 24, "ab"}}, {1, 20, 24}},
        LayoutCase{"TallestTextOfTheLineCounts",
                   500,
                   500,
                   "a\tT\ta\nb",
                   {{1, 0, 0, "a"}, {1, 80, 0, "T"}, {1, 160, 0, "a"}, {1, 0, 22, "b"}},
                   {1, 10, 22}},
        // 8 lines of 14 end at 112; the threshold is the height less 28.
        LayoutCase{"NoPageBreakExactlyAtTheThreshold",
                   500,
                   140,
                   kEightLines,
                   kEightLinesDrawn,
                   {1, 0, 112}},
        LayoutCase{
            "PageBreakOneUnitPastTheThreshold", 500, 139, kEightLines, kEightLinesDrawn, {2, 0, 0}},
        LayoutCase{"EmptyLinesBreakOnlyBelowThePage", 500, 36, "\n\n\n", {}, {1, 0, 36}},
        LayoutCase{"EmptyLinePastThePageBreaks", 500, 35, "\n\n\n", {}, {2, 0, 0}},
        LayoutCase{"LongLineIsCutAndContinues",
                   100,
                   500,
                   "abcdefghijkl\nx",
                   {{1, 0, 0, "abcdefghij"}, {1, 0, 14, "kl"}, {1, 0, 28, "x"}},
                   {1, 10, 28}},
        LayoutCase{"CutAfterTheLastCharacterThatFits",
                   100,
                   500,
                   "aaaaaaaaaW9",
                   {{1, 0, 0, "aaaaaaaaa"}, {1, 0, 14, "W9"}},
                   {1, 29, 14}},
        LayoutCase{"TextAfterTabNotFittingGoesToNextLine",
                   160,
                   500,
                   "a\t\tb",
                   {{1, 0, 0, "a"}, {1, 0, 14, "b"}},
                   {1, 10, 14}},
        LayoutCase{"TabStopOneUnitAwayIsSkipped",
                   500,
                   500,
                   "aaaaaaa9\tb",
                   {{1, 0, 0, "aaaaaaa9"}, {1, 160, 0, "b"}},
                   {1, 170, 0}},
        LayoutCase{"TabStopTwoUnitsAwayIsTaken",
                   500,
                   500,
                   "aaaaaaa8\tb",
                   {{1, 0, 0, "aaaaaaa8"}, {1, 80, 0, "b"}},
                   {1, 90, 0}},
        LayoutCase{"TabFromTheLeftEdge", 500, 500, "\tb", {{1, 80, 0, "b"}}, {1, 90, 0}},
        LayoutCase{"TabPassingTheEdgeEndsTheLine",
                   200,
                   500,
                   "a\t\t\tb",
                   {{1, 0, 0, "a"}, {1, 0, 14, "b"}},
                   {1, 10, 14}},
        LayoutCase{
            "TabLandingOnTheEdgeKeepsTheLine", 160, 500, "a\t\t", {{1, 0, 0, "a"}}, {1, 160, 0}},
        LayoutCase{"FormFeedBeginsAPage",
                   500,
                   500,
                   "ab\fcd\nx",
                   {{1, 0, 0, "ab"}, {2, 0, 0, "cd"}, {2, 0, 14, "x"}},
                   {2, 10, 14}},
        LayoutCase{"LoneCarriageReturnDoesNothing",
                   500,
                   500,
                   "ab\rcd",
                   {{1, 0, 0, "ab"}, {1, 20, 0, "cd"}},
                   {1, 40, 0}},
        LayoutCase{"CarriageReturnLineFeedIsOneLineEnd",
                   500,
                   500,
                   "ab\r\ncd",
                   {{1, 0, 0, "ab"}, {1, 0, 14, "cd"}},
                   {1, 20, 14}},
        // A character wider than the page would otherwise wait for room
        // for ever.
        LayoutCase{"CharacterWiderThanThePageStillPrints",
                   15,
                   500,
                   "WW",
                   {{1, 0, 0, "W"}, {1, 0, 14, "W"}},
                   {1, 20, 14}},
        // Three empty lines leave the position at 36 of 40: the text goes to
        // the next page instead of off the paper.
        LayoutCase{
            "TextBelowThePageGoesToTheNext", 500, 40, "\n\n\nab", {{2, 0, 0, "ab"}}, {2, 20, 0}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(TextDevice, WriteLineEndsTheLine) {
    FakeSurface surface(500, 500);
    TextDevice device(surface);
    device.writeLine("ab");
    device.writeLine("");
    device.writeLine("cd");
    EXPECT_EQ(surface.draws, (std::vector<Draw>{{1, 0, 0, "ab"}, {1, 0, 26, "cd"}}));
    EXPECT_EQ(device.y(), 40);
}

TEST(TextDevice, PagesFillAndBreakForLongPrintouts) {
    // Lines of 14 on a page of 100: a break when a line ends past 72, so
    // six lines (0..70) a page.
    FakeSurface surface(500, 100);
    TextDevice device(surface);
    for (int i = 0; i < 13; ++i) device.writeLine("a");
    std::vector<Position> seen;
    for (const Draw& d : surface.draws) seen.push_back({d.page, d.x, d.y});
    ASSERT_EQ(seen.size(), 13u);
    EXPECT_EQ(seen[5], (Position{1, 0, 70}));
    EXPECT_EQ(seen[6], (Position{2, 0, 0}));
    EXPECT_EQ(seen[12], (Position{3, 0, 0}));
}

TEST(TextDevice, CuttingAVeryLongLineMeasuresLittle) {
    FakeSurface surface(1000, 1000000);
    TextDevice device(surface);
    device.writeLine(std::string(100000, 'a'));
    ASSERT_EQ(surface.draws.size(), 1000u);
    EXPECT_EQ(surface.draws.back(), (Draw{1, 0, 999 * 14, std::string(100, 'a')}));
    // A search, not a character-by-character shortening.
    EXPECT_LT(surface.measures, 1000 * 40);
}

}  // namespace
}  // namespace kestal
