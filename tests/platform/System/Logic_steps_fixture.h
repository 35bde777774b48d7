#pragma once

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/Logic.h>

#include "../Third_party/Sdl_fixture.h"

namespace Orvane::Test {

/// The logic system with its frame time and running action set by the test, and its steps
/// applied by keyword through the system's own table.
class Step_logic : public System::Logic {
  public:
    using Logic::Logic;

    /// Applies the step `keyword` with `args` at time t as a step of `action`.
    bool apply(const std::string& keyword, const Arguments& args, double t,
               const std::shared_ptr<Component::Action>& action) {
        now = t;
        current_action = action;
        return step_handlers.at(keyword)(args);
    }

    using Logic::current_action;
    using Logic::now;
};

/// One scheduled item as the tests compare them: its time, key and printed type.
struct Scheduled_item {
    double time;
    std::string id;
    std::string type;
    bool operator==(const Scheduled_item&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Scheduled_item& item) {
    return out << "(" << item.time << ", " << item.id << ", " << item.type << ")";
}

/// The schedule of an action by time, then key (items of equal time are held in no set order).
inline std::vector<Scheduled_item> schedule_of(const Component::Action& action) {
    std::vector<Scheduled_item> items;
    for (const auto& [time, c] : action.scheduled())
        items.push_back({time, c->id().str(), c->str_name()});
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        return a.time < b.time || (a.time == b.time && a.id < b.id);
    });
    return items;
}

/// A window (for the images the steps need) and a store as the engine starts it: the camera
/// at (960, 0), the status stack, the input mode, and the logic system with its own
/// components; a running action "crate_use" for the steps to hold.
class Logic_steps_test : public Sdl_test {
  protected:
    void SetUp() override {
        Sdl_test::SetUp();
        camera = content.set_fac<Component::Absolute_position>(
            Fast_access_component::CAMERA_POSITION, "Camera", "position", Point(960, 0), false);
        game_status = content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game",
                                                         "status");
        input_mode = content.set_fac<Component::Simple<Input_mode>>(
            Fast_access_component::INTERFACE_INPUT_MODE, "Interface", "input_mode",
            Input_mode::MOUSE);
        action = content.set<Component::Action>("crate_use", "action");
        action->add("wait", {});
        action->launch();
    }

    bool apply(const std::string& keyword, const System::Logic::Arguments& args, double t) {
        return logic.apply(keyword, args, t, action);
    }

    Content content;
    Step_logic logic{content};
    std::shared_ptr<Component::Absolute_position> camera;
    std::shared_ptr<Component::Status> game_status;
    std::shared_ptr<Component::Simple<Input_mode>> input_mode;
    std::shared_ptr<Component::Action> action;
};

} // namespace Orvane::Test
