#include <cerrno>
#include <cstdlib>
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

Saturated_int saturate(std::int64_t value) {
    if (value > std::numeric_limits<int>::max())
        return {std::numeric_limits<int>::max(), true};
    if (value < std::numeric_limits<int>::min())
        return {std::numeric_limits<int>::min(), true};
    return {static_cast<int>(value), false};
}

Saturated_int saturating_add(int value, const std::string& amount) {
    // beyond 64 bits the amount is held at a 64-bit limit: the sum is then far beyond int anyway
    const long long added = std::strtoll(amount.c_str(), nullptr, 10);
    long long sum = 0;
    if (__builtin_add_overflow(static_cast<long long>(value), added, &sum))
        return {added < 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max(),
                true};
    return saturate(sum);
}

Saturated_int leading_int(const std::string& text) {
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return {value < 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max(),
                true};
    return saturate(value);
}

} // namespace Orvane
