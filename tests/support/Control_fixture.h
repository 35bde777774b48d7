#pragma once

// The control system over a bare store: what start-up leaves for it, a player, and room
// objects placed by the test.

#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/Control.h>

#include "Input_store.h"
#include "Picture.h"

namespace Orvane::Test {

inline std::string control_picture() { return texture_less_picture(10, 10); }

/// A store for Control with the player "mara" standing at `player` (mara_body:position).
struct Control_world {
    explicit Control_world(Orvane::Status top = Orvane::Status::IDLE,
                           Input_mode mode = Input_mode::GAMEPAD, Point player = {1000, 800})
        : status(fill_input_store(content, top, mode)) {
        content.set<Component::Simple<std::string>>("Player", "name", "mara");
        body = content.set<Component::Absolute_position>("mara_body", "position", player, false);
    }

    /// A room object: label at `label`, view at `view`, a visible image, state "default", a
    /// name text, its position at the label.
    void object(const std::string& id, Point view, Point label) {
        content.set<Component::Absolute_position>(id, "label", label, false);
        content.set<Component::Absolute_position>(id, "view", view, false);
        content.set<Component::Absolute_position>(id, "position", label, false);
        content.set<Component::Image>(id, "image", control_picture(), 100);
        content.set<Component::Simple<std::string>>(id, "state", std::string("default"));
        content.set<Component::Simple<std::string>>(id, "name", id);
    }
    /// An object at the given distance from the player, its label at x.
    void object_at(const std::string& id, double dx, double dy, double label_x) {
        const Point p = body->value();
        object(id, Point(p.x() + dx, p.y() + dy), Point(label_x, 300));
    }

    void inventory(const std::vector<std::string>& items, int position = 0) {
        auto inv = content.get<Component::Inventory>("Game", "inventory");
        inv->clear();
        for (const std::string& item : items)
            inv->add(item);
        for (int i = 0; i < position; ++i)
            inv->next();
    }
    void action(const std::string& id) { content.set<Component::Action>(id, "action"); }

    /// An image `<id>:image` of `picture` with its top-left corner (origin (0, 0)) at `at`,
    /// depth z, the given collision, placed on an interface position or a room one.
    std::shared_ptr<Component::Image>
    image(const std::string& id, Point at, int z,
          Component::Collision_type collision = Component::Collision_type::BOX,
          bool interface = true, const std::string& picture = control_picture()) {
        auto image = content.set<Component::Image>(id, "image", picture, z, collision);
        content.set<Component::Absolute_position>(id, "position", at, interface);
        return image;
    }
    /// A named item of the inventory with its image in the bar at `at` (10 x 10).
    void item(const std::string& id, Point at, int z = 1000005) {
        image(id, at, z);
        content.set<Component::Simple<std::string>>(id, "name", id);
        content.set<Component::Simple<std::string>>(id, "state", "inventory_" + id);
    }

    /// Moves the pointer to `p` (scene pixels of the view).
    void cursor(Point p) {
        content.request<Component::Position>(Fast_access_component::CURSOR_POSITION)->set(p);
    }
    /// A click or press at `p` in this frame.
    void click(Point p) {
        cursor(p);
        content.emit("Cursor", "clicked");
    }
    /// The camera's top-left scene point and zoom.
    void camera(Point at, double zoom = 1.0) {
        content.request<Component::Position>(Fast_access_component::CAMERA_POSITION)->set(at);
        content.request<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM)->set(zoom);
    }
    /// The name of the action that Character:triggered_action refers to, "<none>" without one.
    std::string triggered() const {
        auto action = content.request<Component::Action>("Character", "triggered_action");
        return action ? action->entity() : "<none>";
    }
    bool signalled(const std::string& entity, const std::string& component) const {
        return content.signal(entity, component);
    }

    void set_mode(Input_mode mode) {
        content.request<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE)
            ->set(mode);
    }

    bool has(const std::string& entity, const std::string& component) const {
        return content.request<Component::Base>(entity, component) != nullptr;
    }
    /// The string under the key, "<absent>" when there is none.
    std::string text(const std::string& entity, const std::string& component) const {
        auto c = content.request<Component::Simple<std::string>>(entity, component);
        return c ? c->value() : "<absent>";
    }
    std::vector<std::string> active_objects() const {
        auto c = content.request<Component::Vector<std::string>>("Interface", "active_objects");
        return c ? c->value() : std::vector<std::string>{};
    }

    Content content;
    std::shared_ptr<Component::Status> status;
    std::shared_ptr<Component::Absolute_position> body;
};

} // namespace Orvane::Test
