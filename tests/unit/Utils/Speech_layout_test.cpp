// The layout of speech bubbles, without rendering: where a text is cut into lines, where the
// lines go on the screen, and how long they stay.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Utils/Speech_layout.h>

namespace {

using namespace Orvane;
using namespace Orvane::Speech;

// Speech at interface scale 1.
constexpr double text_scale = 0.75;

std::string bytes(std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += (i % 6 == 5) ? ' ' : 'a';
    return text;
}

TEST(SpeechLayoutTest, WidestLineByInterfaceSize) {
    const std::pair<int, int> cases[] = {{4, 633}, {6, 960}, {9, 1440}, {5, 1632}, {0, 1632}};
    for (const auto& [setting, width] : cases) {
        SCOPED_TRACE(setting);
        EXPECT_EQ(max_line_width(setting), width);
    }
}

TEST(SpeechLayoutTest, CutsAtTheNearestSpaceAndKeepsEveryLineNonEmpty) {
    struct Case {
        const char* name;
        std::string text;
        int max_width;
        std::vector<std::string> lines;
    };
    const std::string fifty_one = bytes(51);
    const std::string fifty_two = "aaaaaaaaaaaaaaaaaaaaaa abcd efghijklmnopqrstuvwxyzab";
    const Case cases[] = {
        // 51 bytes: 956 estimated pixels, under 960
        {"51 bytes, one line", fifty_one, 960, {fifty_one}},
        // 52 bytes: 975 pixels, one cut near byte 26; the space at 27 is nearer than 22
        {"52 bytes, two lines",
         fifty_two,
         960,
         {"aaaaaaaaaaaaaaaaaaaaaa abcd", "efghijklmnopqrstuvwxyzab"}},
        // a tie goes to the space before: ideal 26, spaces at 24 and 28
        {"a tie",
         "aaaaaaaaaaaaaaaaaaaaaaaa abc efghijklmnopqrstuvwxyzA",
         960,
         {"aaaaaaaaaaaaaaaaaaaaaaaa", "abc efghijklmnopqrstuvwxyzA"}},
        // no space at all: cut at the ideal byte
        {"no space", std::string(52, 'x'), 960, {std::string(26, 'x'), std::string(26, 'x')}},
        // two cuts wanted (1300 pixels at width 633), one space for both: the second is dropped
        {"one space for two cuts",
         std::string(30, 'y') + " " + std::string(38, 'z'),
         633,
         {std::string(30, 'y'), std::string(38, 'z')}},
        // two cuts, no space: at bytes 22 and 45
        {"two cuts, no space",
         std::string(68, 'w'),
         633,
         {std::string(22, 'w'), std::string(23, 'w'), std::string(23, 'w')}},
        // the only space ends the text: a cut there would leave the last line empty
        {"space at the end", std::string(51, 'q') + " ", 960, {std::string(51, 'q') + " "}},
        // the only space starts the text: a cut there would leave the first line empty
        {"space at the start", " " + std::string(51, 'q'), 960, {" " + std::string(51, 'q')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(split_lines(c.text, line_cuts(c.text, text_scale, c.max_width)), c.lines);
    }
}

TEST(SpeechLayoutTest, CutsStayStrictlyIncreasing) {
    // many cuts wanted, few spaces: whatever is kept, every line has bytes
    for (const std::string& text :
         {std::string(200, 'a') + " " + std::string(10, 'b'), std::string(300, 'c'),
          std::string("a b") + std::string(150, 'd')}) {
        SCOPED_TRACE(text);
        const std::vector<Cut> cuts = line_cuts(text, text_scale, 633);
        for (std::size_t i = 1; i < cuts.size(); ++i)
            EXPECT_GT(cuts[i].at, cuts[i - 1].at);
        for (const std::string& line : split_lines(text, cuts))
            EXPECT_FALSE(line.empty());
    }
}

TEST(SpeechLayoutTest, AUtf8LineIsNeverCutInsideACharacter) {
    // 26 two-byte "é": 52 bytes, the ideal byte 26 starts a character, 27 would not
    std::string accents;
    for (int i = 0; i < 26; ++i)
        accents += "\xC3\xA9";
    EXPECT_EQ(split_lines(accents, line_cuts(accents, text_scale, 960)),
              (std::vector<std::string>{accents.substr(0, 26), accents.substr(26)}));
    // one leading "a" shifts them: the ideal byte 26 is the second byte of an "é"
    const std::string shifted = "a" + accents.substr(0, 50) + "b";
    const std::vector<Cut> cuts = line_cuts(shifted, text_scale, 960);
    ASSERT_EQ(cuts.size(), 1U);
    EXPECT_EQ(cuts[0], (Cut{25, false}));
    for (const std::string& line : split_lines(shifted, cuts)) {
        // every line starts on a character and ends on a whole one
        EXPECT_NE(static_cast<unsigned char>(line.front()) & 0xC0, 0x80) << line;
        EXPECT_NE(static_cast<unsigned char>(line.back()), 0xC3) << line;
    }
    // a French sentence with spaces is cut at a space
    const std::string french = "Trois nuits sans lumière, et le ferry arrive ce soir. Vraiment.";
    const auto lines = split_lines(french, line_cuts(french, text_scale, 960));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0] + " " + lines[1], french);
}

TEST(SpeechLayoutTest, PlacesLinesInTheBand) {
    struct Case {
        const char* name;
        Point anchor;
        std::vector<int> widths;
        int x;
        double shrink;
        std::vector<int> y;
    };
    const double squeezed = 1870.0 / 2250;
    const Case cases[] = {
        {"small, where anchored", {400, 700}, {200}, 400, 1, {640}},
        // three lines at y 120 would start at 120 - 180 = -60
        {"raised to 100", {400, 120}, {200, 200, 200}, 400, 1, {100, 152, 204}},
        // 2000 wide at 0.75 is 1500: moved left to 1870 - 750, its left edge 370 stays in
        {"pulled in from the right", {1800, 700}, {2000}, 1120, 1, {640}},
        {"pushed in from the left", {100, 700}, {400}, 200, 1, {640}},
        // 3000 wide is 2250: wider than the band, from either side
        {"too wide, anchored right", {1800, 700}, {3000}, 960, squeezed, {640}},
        {"too wide, anchored left", {100, 700}, {3000}, 960, squeezed, {640}},
        // one too wide line shrinks all of them, and their spacing
        {"shrinks every line", {100, 700}, {400, 3000}, 960, squeezed, {580, 623}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Placement p = place_lines(c.anchor, c.widths, text_scale);
        EXPECT_EQ(p.x, c.x);
        EXPECT_DOUBLE_EQ(p.shrink, c.shrink);
        EXPECT_EQ(p.y, c.y);
    }
}

TEST(SpeechLayoutTest, Durations) {
    // 12 bytes at the three speeds, with a floating-point division
    EXPECT_DOUBLE_EQ(reading_time(12, 18), 3.15);
    EXPECT_DOUBLE_EQ(reading_time(12, 12), 2.1);
    EXPECT_DOUBLE_EQ(reading_time(12, 9), 1.575);
    EXPECT_DOUBLE_EQ(line_lifetime(0.5), 1.0);
    EXPECT_DOUBLE_EQ(line_lifetime(3), 3.0);
    EXPECT_DOUBLE_EQ(talking_time(12), 0.6);
}

} // namespace
