#pragma once

// The components that the input and control systems read every frame, as start-up leaves
// them, for tests and benchmarks that run those two systems on a bare store. Header only:
// benchmarks include it without the tests' support library.

#include <memory>
#include <string>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>

namespace Orvane::Test {

/// Fills `content` as start-up would for Input and Control: Game:status with `top` above IDLE
/// (IDLE alone when top is IDLE), Interface:input_mode = mode, Clock:time and
/// Clock:latest_active at 0, Cursor:position at (0, 0), the camera at (0, 0) with zoom 1,
/// Window:fullscreen false, a 1920 x 1080 window, an empty Game:inventory. Returns the status
/// stack.
inline std::shared_ptr<Component::Status> fill_input_store(Content& content,
                                                           Orvane::Status top = Orvane::Status::IDLE,
                                                           Input_mode mode = Input_mode::MOUSE) {
    auto status = content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game",
                                                     "status");
    status->pop(); // the new stack holds LOCKED above IDLE
    if (top != Orvane::Status::IDLE)
        status->push(top);
    content.set_fac<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE,
                                                   "Interface", "input_mode", mode);
    content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME, "Clock", "time",
                                               0.0);
    content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_LATEST_ACTIVE, "Clock",
                                               "latest_active", 0.0);
    content.set_fac<Component::Absolute_position>(Fast_access_component::CURSOR_POSITION, "Cursor",
                                                  "position", Point(0, 0));
    content.set_fac<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION, "Camera",
                                                  "position", Point(0, 0), false);
    content.set_fac<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM, "Camera", "zoom",
                                               1.0);
    content.set<Component::Boolean>("Window", "fullscreen", false);
    content.set<Component::Simple<int>>("Window", "width", Config::world_width);
    content.set<Component::Simple<int>>("Window", "height", Config::world_height);
    content.set<Component::Inventory>("Game", "inventory");
    return status;
}

/// Sets Clock:time, in seconds.
inline void set_clock_time(Content& content, double seconds) {
    content.request<Component::Simple<double>>(Fast_access_component::CLOCK_TIME)->set(seconds);
}

/// The mode held in Interface:input_mode.
inline Input_mode input_mode(const Content& content) {
    return content.value<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE);
}

} // namespace Orvane::Test
