#pragma once

#include <string>

namespace Orvane {

/// Ends the program at once: writes "<file>:<line>: <message>" to standard error and exits
/// with status 1. Every fatal check of the engine ends here; the player never sees the text,
/// authors and tests read it.
[[noreturn]] void check_impl(const char* file, int line, const std::string& message);

} // namespace Orvane

/// Fatal check, active in every build type: when `condition` is false the message is built
/// and the program ends through check_impl().
#define check(condition, message)                                                              \
    do {                                                                                       \
        if (!(condition)) [[unlikely]]                                                         \
            ::Orvane::check_impl(__FILE__, __LINE__, (message));                               \
    } while (false)
