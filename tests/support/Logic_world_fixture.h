#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/Logic.h>

#include "Sdl_fixture.h"
#include "Test_logic.h"

namespace Orvane {

/// Points print as their coordinates in failure messages.
inline void PrintTo(const Point& p, std::ostream* os) { *os << to_string(p); }

} // namespace Orvane

namespace Orvane::Test {

/// A store as the engine leaves it before the logic system runs (camera, zoom, clock, status,
/// player), the logic system over it, and a running action `Script:action` as the current one,
/// for the handlers that schedule.
struct Logic_world {
    using Slot = Fast_access_component;

    Logic_world() {
        camera = content.set_fac<Component::Absolute_position>(Slot::CAMERA_POSITION, "Camera",
                                                               "position", Point(0, 0), false);
        zoom = content.set_fac<Component::Simple<double>>(Slot::CAMERA_ZOOM, "Camera", "zoom", 1.0);
        clock = content.set_fac<Component::Simple<double>>(Slot::CLOCK_TIME, "Clock", "time", 0.0);
        content.set_fac<Component::Simple<double>>(Slot::CLOCK_SAVED_TIME, "Clock", "saved_time",
                                                   0.0);
        content.set_fac<Component::Simple<double>>(Slot::CLOCK_DISCOUNTED_TIME, "Clock",
                                                   "discounted_time", 0.0);
        status = content.set_fac<Component::Status>(Slot::GAME_STATUS, "Game", "status");
        content.set<Component::Simple<std::string>>("Player", "name", "mara");
        script = content.set<Component::Action>("Script", "action");
        script->add("wait", {});
        script->launch();
        logic = std::make_unique<Test_logic>(content);
        logic->current_action = script;
    }

    /// Sets the logic system's frame time (as run() would read it from Clock:time).
    void at(double t) {
        clock->set(t);
        logic->now = t;
    }

    /// An item with a picture at (x, y) and depth z.
    std::shared_ptr<Component::Image> item(const std::string& id, double x, double y, int z) {
        content.set<Component::Absolute_position>(id, "position", Point(x, y), false);
        return content.set<Component::Image>(id, "image", "images/objects/box.png", z);
    }

    /// A character as the data system reads one: colour, position, group, a head animation
    /// facing right (row 0) or left (row 1), and a conditional image that selects nothing, as
    /// a player's does.
    void character(const std::string& id, double x, double y, bool right = true) {
        content.set<Component::Simple<std::string>>(id, "color", "FF8000");
        content.set<Component::Absolute_position>(id, "position", Point(x, y), false);
        auto head = content.set<Component::Animation>(id + "_head", "image",
                                                      "images/animations/sheet.png", 0, 4, 2, true);
        head->frames().front().y = right ? 0 : 1;
        auto group = content.set<Component::Group>(id, "group");
        group->add(head);
        content.set<Component::Variable>(id, "image", nullptr);
        content.set<Component::Absolute_position>(id, "lookat", Point(0, 0), true);
    }

    /// A walk of `id` through the points, at its first point.
    void walk(const std::string& id, std::vector<Point> points) {
        content.set<Component::Path>(id, "path", points);
    }

    /// The point of <id>:position.
    Point position(const std::string& id) const {
        return content.get<Component::Position>(id, "position")->value();
    }
    /// The (time, entity:component) pairs of an action's schedule, in time order.
    static std::vector<std::pair<double, std::string>>
    schedule_of(const Component::Action& action) {
        std::vector<std::pair<double, std::string>> out;
        for (const auto& [t, c] : action.scheduled())
            out.emplace_back(t, c->id().str());
        return out;
    }

    Content content;
    std::shared_ptr<Component::Absolute_position> camera;
    std::shared_ptr<Component::Simple<double>> zoom;
    std::shared_ptr<Component::Simple<double>> clock;
    std::shared_ptr<Component::Status> status;
    std::shared_ptr<Component::Action> script;
    std::unique_ptr<Test_logic> logic;
};

} // namespace Orvane::Test
