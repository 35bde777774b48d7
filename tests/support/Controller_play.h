#pragma once

// Playing the sample game with a virtual controller through SDL's queue: steering Mara with
// the left stick and pressing buttons one frame at a time.

#include <functional>

#include <SDL.h>

#include <Orvane/Component/Position.h>
#include <Orvane/Content.h>
#include <Orvane/Utils/geometry.h>

#include "Sdl_input.h"
#include "Virtual_controller.h"

namespace Orvane::Test {

/// Steers Mara with the left stick toward a scene point until `done` holds: the stick is aimed
/// anew every few frames, and let go at the end.
inline bool steer(Sdl_input& input, Virtual_controller& pad, Content& content, Point target,
                  const std::function<bool(Content&)>& done, int budget) {
    bool reached = false;
    for (int leg = 0; leg < budget / 6 && !reached && !input.ended(); ++leg) {
        const Point mara = content.get<Component::Position>("mara_body", "position")->value();
        Vector d(mara, target);
        if (d.length() > 1)
            d.normalize();
        pad.set_axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(d.x() * 30000));
        pad.set_axis(SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(d.y() * 30000));
        reached = input.run_until(done, 6);
    }
    pad.set_axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.set_axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    input.run(2);
    return reached;
}

/// A controller button pressed in one frame and released in the next.
inline void press(Sdl_input& input, Virtual_controller& pad, SDL_GameControllerButton b) {
    pad.set_button(b, true);
    input.run(1);
    pad.set_button(b, false);
    input.run(1);
}

} // namespace Orvane::Test
