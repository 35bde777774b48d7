#pragma once

namespace Orvane::Third_party {

/// SDL's millisecond clock. The engine keeps its own frame clock; this is here for tools.
class SDL_time {
  public:
    /// Milliseconds since SDL was initialised.
    static unsigned int now();

    /// Sleeps for `milliseconds`.
    static void wait(const unsigned int& milliseconds);
};

} // namespace Orvane::Third_party
