#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace Orvane {

/// The whole text read as a decimal integer: an optional '+' or '-', then ASCII digits only
/// (no blanks, no other character). Nothing when the text is anything else or its number does
/// not fit in 64 bits. The one reader of integers from the player's own files (settings and
/// saves), where a damaged value must be refused rather than read as some other number.
std::optional<std::int64_t> parse_int64(std::string_view text);

/// As parse_int64, and nothing when the number does not fit in an int.
std::optional<int> parse_int(std::string_view text);

} // namespace Orvane
