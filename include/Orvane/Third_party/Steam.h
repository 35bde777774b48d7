#pragma once

#include <string>

namespace Orvane::Third_party {

/// Hooks for a game-distribution platform: its achievements, its language and its per-frame
/// callback. This build links no platform: every hook does nothing and answers with a neutral
/// result.
class Steam {
  public:
    /// Called by the engine's constructor.
    static void init() {}

    /// Called once per frame after every system has run.
    static void run() {}

    /// Called by the engine's destructor.
    static void shutdown() {}

    /// Always false: no platform took the achievement, so the caller shows its own
    /// notification.
    static bool set_achievement(const std::string& name) {
        (void)name;
        return false;
    }

    /// Always empty: no language preference comes from a platform.
    static std::string game_language() { return {}; }
};

} // namespace Orvane::Third_party
