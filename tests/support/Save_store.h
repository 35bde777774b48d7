#pragma once

// What writing and reading a save need of the components the engine files before any system
// runs; shared by the save tests, the save benchmark and the save fuzz target.

#include <utility>

#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>

namespace Orvane::Test {

/// Files the camera's place (0, 0), the inventory and the three clocks, each at `clock`.
inline void save_components(Content& c, double clock = 0.0) {
    c.set_fac<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION, "Camera",
                                            "position", Point(0, 0));
    c.set<Component::Inventory>("Game", "inventory");
    for (auto [slot, name] :
         {std::pair{Fast_access_component::CLOCK_SAVED_TIME, "saved_time"},
          std::pair{Fast_access_component::CLOCK_TIME, "time"},
          std::pair{Fast_access_component::CLOCK_DISCOUNTED_TIME, "discounted_time"}})
        c.set_fac<Component::Simple<double>>(slot, "Clock", name, clock);
}

} // namespace Orvane::Test
