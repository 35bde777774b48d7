#pragma once

// What the fuzz targets that play the sample game share: the engine headless (the dummy video
// and audio drivers, the software renderer) over a per-user folder of its own.

#include <cstdlib>
#include <string>

#include "support/Temp_pref_folder.h"

namespace Orvane::Fuzz {

/// For LLVMFuzzerInitialize: selects the headless drivers, points the per-user folder at a
/// temporary one (removed at exit) and returns its path, ending with its separator.
inline std::string start_headless_game() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    static const Test::Temp_pref_folder home;
    return home.pref_path();
}

} // namespace Orvane::Fuzz
