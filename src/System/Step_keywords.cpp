#include <algorithm>
#include <array>

#include <Orvane/System/Step_keywords.h>

namespace Orvane::System {

namespace {

constexpr std::uint32_t exactly(std::size_t n) { return std::uint32_t(1) << n; }
constexpr std::uint32_t from_to(std::size_t low, std::size_t high) {
    std::uint32_t bits = 0;
    for (std::size_t n = low; n <= high; ++n)
        bits |= exactly(n);
    return bits;
}

// Each handler of the logic system checks the same counts when it plays the step.
constexpr std::array<Step_keyword, 37> table = {{
    {"add", exactly(2), false},
    {"camera", from_to(1, 3), false},
    {"control", from_to(1, 2), false},
    {"cutscene", exactly(0), true},
    {"emit", exactly(1), false},
    {"exit", exactly(0), true},
    {"fadein", exactly(1) | exactly(3), false},
    {"fadeout", exactly(1) | exactly(3), false},
    {"goto", from_to(0, 3), false},
    {"hide", exactly(1), false},
    {"load", exactly(2), false},
    {"lock", exactly(0), true},
    {"look", from_to(0, 2), false},
    {"loop", exactly(0), true},
    {"message", exactly(1), false},
    {"move", from_to(4, 5), false},
    {"move60fps", exactly(5), false},
    {"notify", from_to(1, 2), false},
    {"pause", exactly(1), false},
    {"play", from_to(1, 3), false},
    {"randomize", exactly(2), true},
    {"receive", from_to(1, 3), false},
    {"remove", exactly(2), false},
    {"rescale", from_to(2, 3), false},
    {"rescale60fps", exactly(3), false},
    {"save", exactly(0), true},
    {"set", from_to(2, 3), false},
    {"set12fps", exactly(2), false},
    {"shake", exactly(2), false},
    {"show", exactly(1), false},
    {"stop", exactly(1), false},
    {"talk", from_to(1, 3), false},
    {"timer", exactly(1), false},
    {"trigger", exactly(1), true},
    {"unlock", exactly(0), true},
    {"wait", from_to(0, 2), false},
    {"zoom", from_to(1, 2), false},
}};

std::size_t highest(std::uint32_t bits) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < 32; ++i)
        if (bits & exactly(i))
            n = i;
    return n;
}

} // namespace

bool Step_keyword::takes(std::size_t count) const {
    if (count < 32 && (counts & exactly(count)) != 0)
        return true;
    return or_more && count > highest(counts);
}

std::string Step_keyword::counts_text() const {
    const std::size_t high = highest(counts);
    std::size_t low = 0;
    while ((counts & exactly(low)) == 0)
        ++low;
    if (or_more)
        return low == 0 ? std::string("any") : std::to_string(low) + " or more";
    if (low == high)
        return std::to_string(low);
    if (counts == from_to(low, high))
        return std::to_string(low) + (high == low + 1 ? " or " : " to ") + std::to_string(high);
    std::string text;
    for (std::size_t n = low; n <= high; ++n)
        if (counts & exactly(n))
            text += (text.empty() ? "" : n == high ? " or " : ", ") + std::to_string(n);
    return text;
}

std::span<const Step_keyword> step_keywords() { return table; }

std::optional<Step_keyword> find_step_keyword(std::string_view keyword) {
    const auto found = std::lower_bound(
        table.begin(), table.end(), keyword,
        [](const Step_keyword& entry, std::string_view key) { return entry.keyword < key; });
    if (found == table.end() || found->keyword != keyword)
        return std::nullopt;
    return *found;
}

} // namespace Orvane::System
