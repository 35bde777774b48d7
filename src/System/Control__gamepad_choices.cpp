#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Control.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;
using Number = Component::Simple<int>;

// The rumble of a code button pressed: intensity, then seconds.
constexpr double code_rumble_intensity = 0.05;
constexpr double code_rumble_seconds = 0.05;
// The inventory bar shows this many items from its scroll position on.
constexpr std::size_t bar_items = 9;

} // namespace

std::string Control::gamepad_verb() {
    // the later in this order wins when two buttons come in one frame
    std::string verb;
    for (const Store_key& key :
         {Key::action_move, Key::action_take, Key::action_inventory, Key::action_look})
        if (receive(key))
            verb = key.component;
    return verb;
}

bool Control::is_ok(const std::string& verb) {
    bool ok_down = true;
    if (auto pad = m_content.request<Text>(Key::gamepad_id))
        ok_down = m_content.get<Component::Simple<Gamepad_info>>(pad->value(), "gamepad")
                      ->value()
                      .ok_down;
    return verb == (ok_down ? "inventory" : "look");
}

bool Control::is_notok(const std::string& verb) {
    if (verb != "inventory" && verb != "look")
        return false;
    return !is_ok(verb);
}

Vector Control::stick_direction() {
    if (!receive(Key::stick_moved))
        return Vector(0, 0);
    const Vector direction =
        m_content.value<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION);
    if (!m_stick_latch) {
        m_stick_latch = true;
        return direction;
    }
    // one push, one step: the stick must come back to rest first
    if (direction.x() == 0 && direction.y() == 0)
        m_stick_latch = false;
    return Vector(0, 0);
}

Event_value Control::stick_left_right() {
    const Vector d = stick_direction();
    if (d.x() == 0)
        return Event_value::NONE;
    return d.x() > 0 ? Event_value::RIGHT : Event_value::LEFT;
}

Event_value Control::stick_up_down() {
    const Vector d = stick_direction();
    if (d.y() == 0)
        return Event_value::NONE;
    // scene y grows downward
    return d.y() > 0 ? Event_value::DOWN_ARROW : Event_value::UP_ARROW;
}

Event_value Control::stick_left_right_up_down() {
    const Vector d = stick_direction();
    if (d.x() == 0 && d.y() == 0)
        return Event_value::NONE;
    if (std::abs(d.x()) > std::abs(d.y()))
        return d.x() > 0 ? Event_value::RIGHT : Event_value::LEFT;
    return d.y() > 0 ? Event_value::DOWN_ARROW : Event_value::UP_ARROW;
}

void Control::action_choice_gamepad() {
    receive(Key::stick_moved);
    if (auto right = m_content.request<Component::Boolean>(Key::switch_right)) {
        status()->pop();
        remove(right);
    } else if (const std::string verb = gamepad_verb(); !verb.empty()) {
        action_choice_sub_triggered(verb);
    }
    flush_gamepad_keys();
}

void Control::action_choice_sub_triggered(const std::string& verb) {
    status()->pop();
    const std::string target = value<Text>(Key::interface_action_choice_target);
    if (verb == "inventory") {
        set<Text>(Key::interface_target_object, target);
        status()->push(Orvane::Status::OBJECT);
    } else {
        set_action(target + "_" + verb, "Default_" + verb);
        remove(Key::interface_action_choice_target, true);
    }
    click_and_rumble();
}

void Control::gamepad_sub_switch_item() {
    if (auto right = m_content.request<Component::Boolean>(Key::switch_right)) {
        inventory_sub_switch_active_object(right->value());
        remove(right);
    }
    if (const Event_value stick = stick_left_right(); stick != Event_value::NONE)
        inventory_sub_switch_active_object(stick == Event_value::RIGHT);
}

void Control::object_choice_gamepad() {
    gamepad_sub_switch_item();
    if (const std::string verb = gamepad_verb(); !verb.empty())
        object_choice_sub_triggered(verb);
    flush_gamepad_keys();
}

void Control::inventory_gamepad() {
    gamepad_sub_switch_item();
    if (const std::string verb = gamepad_verb(); !verb.empty())
        inventory_sub_triggered(verb);
    flush_gamepad_keys();
}

void Control::inventory_sub_switch_active_object(bool right) {
    auto inventory = m_content.get<Component::Inventory>(Key::game_inventory);
    // without a current item (nothing could be chosen on entry) there is nothing to move
    auto current = m_content.request<Text>(Key::interface_active_object);
    if (!current)
        return;
    const std::vector<std::string>& items = inventory->data();
    const auto found = std::find(items.begin(), items.end(), current->value());
    if (found == items.end())
        return;
    const std::string source = m_content.value<Text>(Key::interface_source_object, "");
    const auto n = static_cast<std::ptrdiff_t>(items.size());
    const std::ptrdiff_t i = found - items.begin();

    std::ptrdiff_t step = 0;
    if (right && i < n - 1)
        step = 1;
    else if (!right && i > 0)
        step = -1;
    // the item being combined is never its own partner: jump over it, or stay
    if (step != 0 && items[static_cast<std::size_t>(i + step)] == source) {
        if (right)
            step = i < n - 2 ? 2 : 0;
        else
            step = i >= 2 ? -2 : 0;
    }
    const std::ptrdiff_t k = i + step;
    current->set(items[static_cast<std::size_t>(k)]);

    // the bar pages until the new item is in view: two pages when the combined item was jumped
    const auto first = [&] { return static_cast<std::ptrdiff_t>(inventory->position()); };
    while (k - first() >= static_cast<std::ptrdiff_t>(bar_items) && inventory->next()) {
    }
    while (k < first() && inventory->prev()) {
    }
}

void Control::object_choice_sub_triggered(const std::string& verb) {
    auto current = m_content.request<Text>(Key::interface_active_object);
    if (is_ok(verb)) {
        // nothing chosen, nothing to use: the player may still cancel
        if (!current)
            return;
        const std::string item = current->value();
        if (auto target = m_content.request<Text>(Key::interface_target_object)) {
            set_action(target->value() + "_inventory_" + item, "Default_inventory");
            remove(target);
        } else {
            set_action(item + "_inventory_" + value<Text>(Key::interface_source_object),
                       "Default_inventory");
            remove(Key::interface_source_object);
        }
    } else if (is_notok(verb)) {
        remove(Key::interface_target_object, true);
        remove(Key::interface_source_object, true);
    } else {
        return;
    }
    status()->pop();
    if (current) {
        set<Text>(Key::interface_previous_active_inventory_object, current->value());
        remove(current);
    }
    click_and_rumble();
}

void Control::inventory_sub_triggered(const std::string& verb) {
    auto current = m_content.request<Text>(Key::interface_active_object);
    const auto leave = [&] {
        status()->pop();
        if (current) {
            set<Text>(Key::interface_previous_active_inventory_object, current->value());
            remove(current);
        }
        click_and_rumble();
    };
    if (verb == "look" || verb == "move") {
        // without a current item there is nothing to look at or use; the bar stays open
        if (!current)
            return;
        const std::string act = verb == "look" ? "look" : "use";
        set_action(current->value() + "_" + act, "Default_" + act);
        leave();
    } else if (verb == "take") {
        if (!current || m_content.get<Component::Inventory>(Key::game_inventory)->size() < 2)
            return;
        status()->pop();
        status()->push(Orvane::Status::OBJECT);
        set<Text>(Key::interface_source_object, current->value());
        click_and_rumble();
    } else {
        // closing the inventory never needs an item
        leave();
    }
}

void Control::window_gamepad() {
    receive(Key::stick_moved);
    if (const std::string verb = gamepad_verb(); verb == "look" || verb == "inventory") {
        emit(Key::interface_hide_window);
        status()->pop();
    }
    flush_gamepad_keys();
}

void Control::code_gamepad() {
    auto code = m_content.get<Component::Code>(Key::game_code);
    if (const Vector d = stick_direction(); d.x() != 0 || d.y() != 0) {
        code->move(d.x(), d.y());
        emit(Key::code_hover);
    }
    const std::string verb = gamepad_verb();
    if (is_notok(verb)) {
        emit(Key::interface_hide_window);
        code->reset();
        remove(Key::code_hover_image, true);
        status()->pop();
    } else if (is_ok(verb) && code->click(-1, -1)) {
        // the logic plays the lock's own sounds: a rumble only
        emit(Key::code_button_clicked);
        set<Component::Pair<double, double>>(Key::gamepad_rumble, code_rumble_intensity,
                                             code_rumble_seconds);
    }
    flush_gamepad_keys();
}

void Control::dialog_gamepad() {
    if (auto right = m_content.request<Component::Boolean>(Key::switch_right)) {
        dialog_sub_switch_active_object(right->value());
        remove(right);
    }
    if (const Event_value stick = stick_up_down(); stick != Event_value::NONE)
        dialog_sub_switch_active_object(stick == Event_value::DOWN_ARROW);
    if (const std::string verb = gamepad_verb(); verb == "look" || verb == "inventory") {
        dialog_sub_click();
        set<Component::Pair<double, double>>(Key::gamepad_rumble, code_rumble_intensity,
                                             code_rumble_seconds);
    }
    flush_gamepad_keys();
}

void Control::dialog_sub_switch_active_object(bool down) {
    const auto n = static_cast<int>(
        m_content.get<Component::Vector<std::string>>(Key::dialog_choices)->value().size());
    auto current = m_content.request<Number>(Key::interface_active_dialog_item);
    if (!current)
        current = set<Number>(Key::interface_active_dialog_item, 0);
    const int index = current->value();
    if (down)
        current->set(index < n - 1 ? index + 1 : 0);
    else
        current->set(index < 1 ? n - 1 : index - 1);
}

} // namespace Orvane::System
