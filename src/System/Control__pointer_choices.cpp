#include <memory>
#include <string>
#include <string_view>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Control.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;

// With the bar open, a pointer above this line is in the room: the view less the bar.
constexpr double bar_top = Config::world_height - Config::inventory_height;

// The action selector's images: "<target>_<verb>_button..." and "<target>_<verb>_label...".
bool is_verb_image(const std::string& e) {
    return !contains(e, "Inventory") && (contains(e, "_label") || contains(e, "_button"));
}

bool is_arrow(std::string_view e) { return e == "Left_arrow" || e == "Right_arrow"; }

bool in_inventory(const std::shared_ptr<Text>& state) {
    return state && std::string_view(state->value()).starts_with("inventory");
}

bool is_verb(std::string_view verb) {
    for (const char* known : Config::possible_actions)
        if (verb == known)
            return true;
    return false;
}

} // namespace

std::shared_ptr<Component::Position> Control::pointer() const {
    return m_content.request<Component::Position>(Fast_access_component::CURSOR_POSITION);
}

void Control::action_choice_mouse() {
    const std::string id = first_collision(
        pointer(), [](std::shared_ptr<Component::Image> image) { return is_verb_image(image->entity()); });
    hover(Key::interface_active_button, id);
    if (receive(Key::cursor_clicked))
        action_choice_sub_click(id);
}

void Control::action_choice_touchscreen() {
    if (!receive(Key::cursor_clicked))
        return;
    action_choice_sub_click(first_collision(
        pointer(), [](std::shared_ptr<Component::Image> image) { return is_verb_image(image->entity()); }));
}

void Control::action_choice_sub_click(const std::string& id) {
    status()->pop();
    remove(Key::interface_action_choice_target, true);
    // beside the buttons, or on one fading out: the choice is cancelled, without a sound
    if (id.empty() || endswith(id, "_old"))
        return;

    std::size_t cut = id.find("_button_");
    if (cut == std::string::npos)
        cut = id.find("_label");
    // a name with "_button" alone is no image of the selector (the selector names none so
    // under the pointer) but a room object's, such as "lift_button": a click beside the buttons
    if (cut == std::string::npos)
        return;
    const std::string action = id.substr(0, cut);
    const std::size_t split = action.rfind('_');
    if (split == std::string::npos)
        return;
    const std::string target = action.substr(0, split);
    const std::string verb = action.substr(split + 1);

    if (verb == "inventory") {
        set<Text>(Key::interface_target_object, target);
        status()->push(Orvane::Status::OBJECT);
        emit(Key::click_play_sound);
    } else if (verb == "combine") {
        set<Text>(Key::interface_source_object, target);
        emit(Key::click_play_sound);
    } else if (is_verb(verb)) {
        set_action(action, "Default_" + verb);
        emit(Key::click_play_sound);
    }
}

void Control::object_choice_mouse() { object_choice(receive(Key::cursor_clicked), true); }

void Control::object_choice_touchscreen() {
    // nothing between presses
    if (receive(Key::cursor_clicked))
        object_choice(true, false);
}

void Control::object_choice(bool clicked, bool test_no_interact) {
    auto cursor = pointer();
    const std::string id =
        first_collision(cursor, [&](std::shared_ptr<Component::Image> image) {
            const std::string& e = image->entity();
            if (is_arrow(e))
                return true;
            if (!m_content.request<Text>(e, "name"))
                return false;
            if (test_no_interact && signal(e, "no_interact"))
                return false;
            return in_inventory(m_content.request<Text>(e, "state"));
        });
    if (page_with_arrows(id, clicked))
        return;
    // the item under the pointer, or the one hovered already while the pointer stays in its box
    const std::string item = test_no_interact ? bar_hover(cursor, id) : id;
    hover(Key::interface_active_object, item);
    if (!clicked)
        return;
    if (cursor->value().y() < bar_top) {
        // a click in the room cancels the use
        status()->pop();
        remove(Key::interface_target_object);
    } else {
        object_choice_sub_click(item);
    }
}

void Control::object_choice_sub_click(const std::string& id) {
    // on the bar beside the items: nothing
    if (id.empty())
        return;
    const std::string receiver = value<Text>(Key::interface_target_object);
    set<Text>(Key::click_target, receiver);
    set_action(receiver + "_inventory_" + id, "Default_inventory");
    remove(Key::interface_target_object);
    remove(Key::interface_active_object);
    status()->pop();
    emit(Key::click_play_sound);
}

std::string Control::bar_hit(const std::shared_ptr<Component::Position>& cursor) {
    auto source = m_content.request<Text>(Key::interface_source_object);
    return first_collision(cursor, [&](std::shared_ptr<Component::Image> image) {
        const std::string& e = image->entity();
        if (is_arrow(e))
            return true;
        if (!m_content.request<Text>(e, "name"))
            return false;
        auto state = m_content.request<Text>(e, "state");
        // the item being combined is not combined with itself
        if (!state || (source && e == source->value()))
            return false;
        return in_inventory(state);
    });
}

std::string Control::bar_hover(const std::shared_ptr<Component::Position>& cursor,
                               const std::string& id) {
    // a hovered item is drawn larger: on a gap of its larger picture it would shrink back
    // under the pointer and be hit again, flickering every frame and losing clicks
    if (!id.empty())
        return id;
    auto hovered = m_content.request<Text>(Key::interface_active_object);
    auto source = m_content.request<Text>(Key::interface_source_object);
    if (!hovered || (source && source->value() == hovered->value()))
        return id;
    auto image = m_content.request<Component::Image>(hovered->value(), "image");
    if (!image || !image->on() ||
        !in_inventory(m_content.request<Text>(hovered->value(), "state")) ||
        !in_drawn_box(cursor->value(), *image, camera_view(m_content)))
        return id;
    return hovered->value();
}

void Control::inventory_mouse() {
    auto cursor = pointer();
    // above the bar: it closes, and a click of this frame stays for the next handler
    if (cursor->value().y() < bar_top) {
        status()->pop();
        return;
    }
    const std::string id = bar_hover(cursor, bar_hit(cursor));
    const bool clicked = receive(Key::cursor_clicked);
    if (page_with_arrows(id, clicked))
        return;
    hover(Key::interface_active_object, id);
    if (clicked)
        inventory_sub_click(id);
}

void Control::inventory_touchscreen() {
    if (!receive(Key::cursor_clicked))
        return;
    auto cursor = pointer();
    if (cursor->value().y() < bar_top) {
        status()->pop();
        return;
    }
    const std::string id = bar_hit(cursor);
    if (page_with_arrows(id, true))
        return;
    hover(Key::interface_active_object, id);
    inventory_sub_click(id);
}

void Control::inventory_sub_click(const std::string& id) {
    if (id.empty())
        return;
    emit(Key::click_play_sound);
    emit(Key::cancel_action);
    if (auto source = m_content.request<Text>(Key::interface_source_object)) {
        // the clicked item receives the held one
        set_action(id + "_inventory_" + source->value(), "Default_inventory");
        remove(source);
    } else {
        set<Text>(Key::interface_action_choice_target, id);
        auto game_status = status();
        game_status->pop();
        game_status->push(Orvane::Status::INVENTORY_ACTION);
    }
    remove(Key::interface_active_object);
}

bool Control::page_with_arrows(const std::string& id, bool clicked) {
    const bool left = id == "Left_arrow";
    if (!left && id != "Right_arrow")
        return false;
    if (clicked) {
        auto inventory = m_content.get<Component::Inventory>(Key::game_inventory);
        if (left)
            inventory->prev();
        else
            inventory->next();
    }
    return true;
}

} // namespace Orvane::System
