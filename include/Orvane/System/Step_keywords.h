#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace Orvane::System {

/// One keyword of the game's scripts and the argument counts its step takes.
struct Step_keyword {
    std::string_view keyword;
    /// Bit n set: a step with n arguments is taken.
    std::uint32_t counts;
    /// Also any count above the highest bit of `counts` ("2 or more"; "any" with counts 1).
    bool or_more;

    /// Whether a step with `count` arguments is taken.
    bool takes(std::size_t count) const;
    /// The counts in words: "2", "1 or 3", "0 to 2", "1 or more", "any".
    std::string counts_text() const;
};

/// The 37 keywords that the logic system plays, in alphabetical order. The data reader warns
/// about a step outside this table when it reads a script; the logic system stops on one when
/// it plays it.
std::span<const Step_keyword> step_keywords();

/// The entry of `keyword`; nothing when the logic system has no such step.
std::optional<Step_keyword> find_step_keyword(std::string_view keyword);

} // namespace Orvane::System
