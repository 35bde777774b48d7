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

} // namespace
