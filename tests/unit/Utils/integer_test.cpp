#include <cstdint>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Utils/integer.h>

namespace {

// The whole text is the number, and it fits: anything else is refused, never read as some
// other number.
TEST(Integer, ParseInt64TakesOnlyAWholeDecimalNumberThatFits) {
    struct Case {
        std::string text;
        std::optional<std::int64_t> expected;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"-42", -42},
        {"+17", 17},
        {"007", 7},
        {"-0", 0},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", std::nullopt},
        {"-9223372036854775809", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"+-1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
        {"1e3", std::nullopt},
        {"0x10", std::nullopt},
        {"abc", std::nullopt},
        {std::string("1\0"
                     "2",
                     3),
         std::nullopt},
        {"\xd9\xa3", std::nullopt}, // a non-ASCII digit is no digit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        EXPECT_EQ(Orvane::parse_int64(c.text), c.expected);
    }
}

TEST(Integer, ParseIntRefusesNumbersBeyondInt) {
    struct Case {
        const char* text;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"12", 12},
        {"x", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Orvane::parse_int(c.text), c.expected);
    }
}

// What "add" and "set" take: the number held at the int limits, and whether it had to be.
TEST(Integer, SaturateLeadingIntAndSaturatingAddHoldAtTheIntLimits) {
    using Orvane::Saturated_int;
    struct Case {
        std::string text;
        int value;
        bool saturated;
    };
    const Case cases[] = {
        {"3", 3, false},
        {"  -42abc", -42, false},
        {"+17", 17, false},
        {"x", 0, false},
        {"2147483647", INT32_MAX, false},
        {"-2147483648", INT32_MIN, false},
        {"2147483648", INT32_MAX, true},
        {"-2147483649", INT32_MIN, true},
        {"99999999999999999999", INT32_MAX, true},
        {"-99999999999999999999", INT32_MIN, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Saturated_int got = Orvane::leading_int(c.text);
        EXPECT_EQ(got.value, c.value);
        EXPECT_EQ(got.saturated, c.saturated);
    }
    struct Sum {
        int value;
        std::string amount;
        int expected;
        bool saturated;
    };
    const Sum sums[] = {
        {INT32_MAX, "3", INT32_MAX, true},
        {INT32_MAX - 3, "3", INT32_MAX, false},
        {INT32_MIN, "-1", INT32_MIN, true},
        {5, "-99999999999999999999", INT32_MIN, true},
        {-5, "-9223372036854775808", INT32_MIN, true},
        {5, "9223372036854775807", INT32_MAX, true},
        {INT32_MAX, "-2147483649", -2, false},
        {7, "x", 7, false},
    };
    for (const Sum& c : sums) {
        SCOPED_TRACE(std::to_string(c.value) + " + " + c.amount);
        const Saturated_int got = Orvane::saturating_add(c.value, c.amount);
        EXPECT_EQ(got.value, c.expected);
        EXPECT_EQ(got.saturated, c.saturated);
    }
    EXPECT_EQ(Orvane::saturate(std::int64_t{INT32_MAX} + 3).value, INT32_MAX);
    EXPECT_TRUE(Orvane::saturate(std::int64_t{INT32_MAX} + 3).saturated);
    EXPECT_EQ(Orvane::saturate(std::int64_t{INT32_MIN} - 1).value, INT32_MIN);
    EXPECT_FALSE(Orvane::saturate(-5).saturated);
}

} // namespace
