#pragma once

#include <optional>
#include <string>

/// The engine's own version, and the version numbers that game data ask for.
namespace Orvane::Version {

/// The number of a version text "major.minor.patch": major x 10000 + minor x 100 + patch,
/// each part counted by its leading decimal digits (0 when it has none: "2.0b.1" is 20001).
/// Nothing when the text has fewer than two points or its number does not fit in 32 bits.
std::optional<unsigned int> parse(const std::string& text);

/// "1.6.0", followed by "-mit" when `with_suffix` is true.
std::string str(bool with_suffix);

} // namespace Orvane::Version
