#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Orvane {

/// The whole text read as a decimal integer: an optional '+' or '-', then ASCII digits only
/// (no blanks, no other character). Nothing when the text is anything else or its number does
/// not fit in 64 bits. The one reader of integers from the player's own files (settings and
/// saves), where a damaged value must be refused rather than read as some other number.
std::optional<std::int64_t> parse_int64(std::string_view text);

/// As parse_int64, and nothing when the number does not fit in an int.
std::optional<int> parse_int(std::string_view text);

/// An int taken from a wider value: the value held within the int range, and whether it had
/// to be held there.
struct Saturated_int {
    int value = 0;
    bool saturated = false;
};

/// `value`, held at the nearest int limit when it lies beyond them.
Saturated_int saturate(std::int64_t value);

/// value + the leading decimal integer of `amount` (read as leading_int reads it, however
/// large), held at the nearest int limit when the exact sum lies beyond them.
Saturated_int saturating_add(int value, const std::string& amount);

/// The leading decimal integer of `text` as to_int reads it (after blanks, with an optional
/// sign; 0 when there is none), held at the nearest int limit when it lies beyond them.
Saturated_int leading_int(const std::string& text);

} // namespace Orvane
