#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Utils/helpers.h>

namespace {

TEST(Helpers, TextToValue) {
    EXPECT_TRUE(Orvane::is_int(""));
    EXPECT_TRUE(Orvane::is_int("12"));
    EXPECT_FALSE(Orvane::is_int("-12"));
    EXPECT_FALSE(Orvane::is_int("1.5"));
    EXPECT_FALSE(Orvane::is_int("\xd9\xa3")); // non-ASCII digits are not digits
    EXPECT_TRUE(Orvane::is_relative("+5"));
    EXPECT_TRUE(Orvane::is_relative("-5"));
    EXPECT_FALSE(Orvane::is_relative("5"));
    EXPECT_FALSE(Orvane::is_relative(""));
    EXPECT_DOUBLE_EQ(Orvane::to_double("1.5e2"), 150);
    EXPECT_DOUBLE_EQ(Orvane::to_double("x"), 0);
    for (const char* no : {"True", "1", "yes", "", "true "})
        EXPECT_FALSE(Orvane::to_bool(no)) << no;
    EXPECT_TRUE(Orvane::to_bool("true"));
}

// A damaged save may hold any text: numbers past the int range saturate instead of wrapping,
// and every text atoi reads defined gives the same value as before.
TEST(Helpers, ToIntReadsTheLeadingNumberAndClampsToIntRange) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"  -42abc", -42},
        {"+17", 17},
        {"\t\n 8", 8},
        {"007", 7},
        {"12.9", 12},
        {"1e5", 1},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"+ 5", 0},
        {"0x1F", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483647},
        {"-2147483649", -2147483647 - 1},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"99999999999999999999999999", 2147483647},
        {"-99999999999999999999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        EXPECT_EQ(Orvane::to_int(c.text), c.expected);
    }
}

TEST(Helpers, ValueToText) {
    EXPECT_EQ(Orvane::to_string(std::string("abc")), "abc");
    EXPECT_EQ(Orvane::to_string(true), "true");
    EXPECT_EQ(Orvane::to_string(false), "false");
    EXPECT_EQ(Orvane::to_string("literal"), "literal");
}

TEST(Helpers, StringTests) {
    EXPECT_TRUE(Orvane::startswith("Default_look", "Default_"));
    EXPECT_TRUE(Orvane::startswith("abc", ""));
    EXPECT_FALSE(Orvane::startswith("ab", "abc"));
    EXPECT_TRUE(Orvane::endswith("room_map.png", "_map.png"));
    EXPECT_FALSE(Orvane::endswith("png", "_map.png"));
    EXPECT_TRUE(Orvane::contains(std::string("message"), "ssa"));
    EXPECT_TRUE(Orvane::contains(std::string("message"), std::string("")));
    EXPECT_FALSE(Orvane::contains(std::string("message"), "sse"));
    EXPECT_TRUE(Orvane::contains({"look", "use"}, "use"));
    EXPECT_FALSE(Orvane::contains({"look", "use"}, "us"));
    std::vector<std::string> v = {"a", "b"};
    EXPECT_TRUE(Orvane::contains(v, std::string("b")));
    EXPECT_FALSE(Orvane::contains(v, std::string("c")));
}

TEST(Helpers, Capitalize) {
    struct Case {
        std::string in;
        std::string out;
    };
    for (const Case& c : {Case{"éléphant", "Éléphant"}, Case{"hello", "Hello"}, Case{"à", "à"},
                          Case{"é", "É"}, Case{"", ""}, Case{"Hello", "Hello"}, Case{"1a", "1a"}}) {
        SCOPED_TRACE(c.in);
        std::string s = c.in;
        Orvane::capitalize(s);
        EXPECT_EQ(s, c.out);
    }
}

TEST(Helpers, ColorFromString) {
    struct Case {
        std::string text;
        Orvane::RGB_color expected;
    };
    for (const Case& c :
         {Case{"FFFFFF", {255, 255, 255}}, Case{"000000", {0, 0, 0}}, Case{"FF8000", {255, 128, 0}},
          Case{"ff8000", {255, 128, 0}}, Case{"F8000", {15, 128, 0}}, Case{"0x0000FF", {0, 0, 255}},
          Case{"  00FF00", {0, 255, 0}}, Case{"12zz", {0, 0, 0x12}}, Case{"", {0, 0, 0}},
          Case{"zz", {0, 0, 0}}, Case{"FFFFFFFFFF", {255, 255, 255}}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Orvane::color_from_string(c.text), c.expected);
    }
}

TEST(Helpers, TransparentBlackOrWhite) {
    EXPECT_TRUE(Orvane::is_transparent_black_or_white({0, 0, 0, 0}));
    EXPECT_TRUE(Orvane::is_transparent_black_or_white({255, 255, 255, 0}));
    EXPECT_FALSE(Orvane::is_transparent_black_or_white({0, 0, 0, 255}));
    EXPECT_FALSE(Orvane::is_transparent_black_or_white({255, 0, 0, 0}));
}

TEST(Helpers, RandomRanges) {
    std::srand(7);
    std::set<int> seen;
    for (int i = 0; i < 1000; ++i) {
        int v = Orvane::random_int(1, 4);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 3);
        seen.insert(v);
        double d = Orvane::random_double(-2, 2);
        ASSERT_GE(d, -2);
        ASSERT_LE(d, 2);
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3}));
}

TEST(HelpersDeathTest, RandomIntWithAnEmptyRangeIsFatal) {
    EXPECT_EXIT(Orvane::random_int(3, 3), ::testing::ExitedWithCode(1), "random_int needs b > a");
}

TEST(Helpers, TimeToString) {
    struct Case {
        double seconds;
        std::string text;
    };
    for (const Case& c :
         {Case{0, "00:00"}, Case{59.9, "00:00"}, Case{3599, "00:59"}, Case{3600, "01:00"},
          Case{36000, "10:00"}, Case{360000, "100:00"}, Case{5 * 3600 + 7 * 60 + 59.5, "05:07"},
          // Damaged values stay printable.
          Case{-3600, "00:00"}, Case{std::nan(""), "00:00"}, Case{1e20, "596523:14"}}) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(Orvane::time_to_string(c.seconds), c.text);
    }
}

TEST(Helpers, DateToStringHasSeventeenCharacters) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(Orvane::date_to_string(1709301900), "2024-03-01, 14:05");
    EXPECT_EQ(Orvane::date_to_string(0), "1970-01-01, 00:00");
    EXPECT_EQ(Orvane::date_to_string(2147483647).size(), 17u);
    // dates past 2038 keep their 64 bits
    EXPECT_EQ(Orvane::date_to_string(4102444800), "2100-01-01, 00:00");
    EXPECT_EQ(Orvane::date_to_string(INT64_MAX), "") << "no year fits";
}

TEST(Helpers, LocaleNames) {
    EXPECT_EQ(Orvane::locale_name("en", "US"), "en_US");
    EXPECT_EQ(Orvane::locale_name("fr", nullptr), "fr");
    EXPECT_EQ(Orvane::locale_name("fr", ""), "fr");
}

} // namespace

namespace {

TEST(Helpers, ClosestWordIsAMisspellingOrNothing) {
    const std::vector<std::string> keys = {"background", "objects", "front_z", "back_z", "name"};
    const std::pair<const char*, const char*> cases[] = {
        {"backgrond", "background"}, // a letter left out
        {"objcts", "objects"},
        {"fornt_z", "front_z"},      // two letters swapped
        {"nmae", "name"},
        {"back_y", "back_z"},        // a letter changed
        {"bakz", ""},                // too far for so short a word
        {"music", ""},
        {"n", ""},
    };
    for (const auto& [word, expected] : cases) {
        SCOPED_TRACE(word);
        EXPECT_EQ(Orvane::closest_word(word, keys).value_or(""), expected);
    }
    EXPECT_FALSE(Orvane::closest_word("background", {}));
}

} // namespace
