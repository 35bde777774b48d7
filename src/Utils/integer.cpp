#include <limits>

#include <Orvane/Utils/integer.h>

namespace Orvane {

std::optional<std::int64_t> parse_int64(std::string_view text) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t first = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (first == text.size())
        return std::nullopt;
    // accumulated towards the negative side, which holds one more value than the positive one
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        const int digit = c - '0';
        if (value < (lowest + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == lowest)
        return std::nullopt;
    return -value;
}

std::optional<int> parse_int(std::string_view text) {
    const std::optional<std::int64_t> value = parse_int64(text);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace Orvane
