#include <cstdint>
#include <string>

#include <Orvane/Version.h>

namespace Orvane::Version {

namespace {

constexpr unsigned int major_number = 1;
constexpr unsigned int minor_number = 6;
constexpr unsigned int patch_number = 0;

// The leading decimal digits of a part (0 without any); nothing when they exceed 32 bits.
std::optional<std::uint64_t> leading_number(const std::string& part) {
    std::uint64_t n = 0;
    for (const char c : part) {
        if (c < '0' || c > '9')
            break;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
        if (n > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return n;
}

} // namespace

std::optional<unsigned int> parse(const std::string& text) {
    const std::size_t p1 = text.find('.');
    if (p1 == std::string::npos)
        return std::nullopt;
    const std::size_t p2 = text.find('.', p1 + 1);
    if (p2 == std::string::npos)
        return std::nullopt;
    const auto major = leading_number(text.substr(0, p1));
    const auto minor = leading_number(text.substr(p1 + 1, p2 - p1 - 1));
    const auto patch = leading_number(text.substr(p2 + 1));
    if (!major || !minor || !patch)
        return std::nullopt;
    const std::uint64_t n = *major * 10000 + *minor * 100 + *patch;
    if (n > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<unsigned int>(n);
}

std::string str(bool with_suffix) {
    std::string out = std::to_string(major_number) + "." + std::to_string(minor_number) + "." +
                      std::to_string(patch_number);
    if (with_suffix)
        out += "-mit";
    return out;
}

} // namespace Orvane::Version
