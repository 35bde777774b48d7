#pragma once

#include <algorithm>
#include <functional>
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

#include "Sdl_fixture.h"
#include "Test_logic.h"

namespace Orvane::Test {

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

/// One step run over a fresh store: what the store holds first, the step, the frame time, the
/// schedule the running action holds after it, and what the store holds then.
struct Step_case {
    const char* name;
    std::function<void(Content&)> prepare;
    std::string keyword;
    System::Logic::Arguments args;
    double now;
    std::vector<Scheduled_item> scheduled;
    std::function<void(Content&)> check;
};

/// Runs each case over a fresh store, filled by `store_for` (what every case of the table
/// needs) and by the case's own `prepare`, with a running action "crate_use": the step goes on
/// in the same frame, leaves the schedule the case lists and passes the case's checks.
inline void run_step_cases(const std::vector<Step_case>& cases,
                           const std::function<void(Content&)>& store_for) {
    for (const Step_case& step : cases) {
        SCOPED_TRACE(step.name);
        Content store;
        Test_logic system(store);
        store_for(store);
        auto running = store.set<Component::Action>("crate_use", "action");
        step.prepare(store);
        EXPECT_TRUE(system.apply(step.keyword, step.args, step.now, running))
            << "the next step runs in the same frame";
        EXPECT_EQ(schedule_of(*running), step.scheduled);
        step.check(store);
    }
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
    Test_logic logic{content};
    std::shared_ptr<Component::Absolute_position> camera;
    std::shared_ptr<Component::Status> game_status;
    std::shared_ptr<Component::Simple<Input_mode>> input_mode;
    std::shared_ptr<Component::Action> action;
};

} // namespace Orvane::Test
