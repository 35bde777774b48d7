#pragma once

// What writing and reading a save need of the components the engine files before any system
// runs, and of the game's characters; shared by the save tests, the save benchmark and the
// save fuzz target.

#include <string>
#include <utility>

#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>

namespace Orvane::Test {

/// Files the engine's fixed components (the camera's place, the inventory...) and the three
/// clocks, each at `clock`.
inline void save_components(Content& c, double clock = 0.0) {
    Engine::create_fixed_components(c);
    for (auto [slot, name] :
         {std::pair{Fast_access_component::CLOCK_SAVED_TIME, "saved_time"},
          std::pair{Fast_access_component::CLOCK_TIME, "time"},
          std::pair{Fast_access_component::CLOCK_DISCOUNTED_TIME, "discounted_time"}})
        c.set_fac<Component::Simple<double>>(slot, "Clock", name, clock);
}

/// A character file with a skin drawn from the test pictures images/characters/mara_*.png:
/// with a walk sheet when `walks`, and the idle poses `poses` (a YAML list). The save check
/// takes a player, a follower or a pose only from characters such as this one that the saved
/// room or the global items create.
inline std::string character_file(bool walks = true,
                                  const std::string& poses = "[default, hands_on_hips]") {
    return "name: Someone\ncolor: FFD23F\ncoordinates: [100, 200]\nlooking_right: true\n"
           "skin:\n"
           "  mouth: {skin: mara_mouth, dx_right: 1, dx_left: 1, dy: 1}\n"
           "  head: {skin: mara_head, positions: [default], dx_right: 1, dx_left: 1, dy: 10}\n" +
           std::string(walks ? "  walk: {skin: mara_walk, steps: 4}\n" : "") +
           "  idle: {skin: mara_idle, positions: " + poses + "}\n";
}

} // namespace Orvane::Test
