#include <array>
#include <cmath>
#include <string>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Third_party/SDL_events.h>

namespace Orvane::System {

using Component::Image;
using Component::Position;
using Orientation = Interface::Button_orientation;
using Style = Interface::Animation_style;
using Type = Interface::Selector_type;

namespace {

// The controller stays idle this long before the selector shows its verbs (seconds).
constexpr double idle_delay = 5.0;

// Where each orientation puts its verb: slot, label offset, button offset, start offset, and
// whether the label sits beside the button (and on which side).
struct Placement {
    std::size_t slot;
    Vector label;
    Vector button;
    Vector start;
    int side; // 0: the caller's type; 1: right of the button; -1: left of it
};

const std::array<Placement, 16> placements = {{
    {0, {0, -80}, {0, -40}, {0, -14}, 0},               // UP
    {1, {40, 0}, {40, 0}, {14, 0}, 1},                  // RIGHT
    {2, {0, 80}, {0, 40}, {0, 14}, 0},                  // DOWN
    {3, {-40, 0}, {-40, 0}, {-14, 0}, -1},              // LEFT
    {0, {0, -100}, {0, -60}, {0, -14}, 0},              // UP_FAR
    {3, {50, -28.25}, {50, -28.25}, {-14, 0}, 1},       // UP_RIGHT
    {1, {50, 28.25}, {50, 28.25}, {14, 0}, 1},          // DOWN_RIGHT
    {2, {0, 100}, {0, 60}, {0, 14}, 0},                 // DOWN_FAR
    {1, {-50, 28.25}, {-50, 28.25}, {14, 0}, -1},       // DOWN_LEFT
    {3, {-50, -28.25}, {-50, -28.25}, {-14, 0}, -1},    // UP_LEFT
    {3, {-60, 0}, {-60, 0}, {-14, 0}, -1},              // LEFT_FAR
    {1, {60, 0}, {60, 0}, {14, 0}, 1},                  // RIGHT_FAR
    {0, {-28.25, -90}, {-28.25, -50}, {0, -14}, 0},     // UP_LEFT_STEEP
    {2, {28.25, -90}, {28.25, -50}, {0, 14}, 0},        // UP_RIGHT_STEEP
    {0, {-28.25, 90}, {-28.25, 50}, {0, -14}, 0},      // DOWN_LEFT_STEEP
    {2, {28.25, 90}, {28.25, 50}, {0, 14}, 0},         // DOWN_RIGHT_STEEP
}};

// The verbs of the room selector, in the order they are built.
constexpr std::array<const char*, 4> room_verbs = {"take", "look", "move", "inventory"};

} // namespace

void Interface::compute_action_positions(const Button_orientation& orientation,
                                         std::size_t& slot, Vector& label_offset,
                                         Vector& button_offset, Vector& start_offset,
                                         Label_type& type) {
    const Placement& p = placements[std::size_t(orientation) % placements.size()];
    const double s = Config::interface_scale;
    slot = p.slot;
    label_offset = p.label * s;
    button_offset = p.button * s;
    start_offset = p.start * s;
    if (p.side > 0)
        type = Label_type::RIGHT_OF_BUTTON;
    else if (p.side < 0)
        type = Label_type::LEFT_OF_BUTTON;
}

void Interface::update_action_selector() {
    auto game_status = status();
    auto string_of = [this](const Store_key& key) {
        auto c = m_content.request<Component::Simple<std::string>>(key);
        return c ? c->value() : std::string();
    };
    if (game_status->is(Status::CUTSCENE, Status::LOCKED, Status::DIALOG)) {
        if (!m_action_slots[0].empty())
            reset_action_selector();
        // the verbs are gone: the same request afterwards must build them again
        m_selector_type = Type::NONE;
        m_selector_id.clear();
        return;
    }

    if (input_mode() == GAMEPAD) {
        if (game_status->is(Status::IDLE)) {
            if (!signal(Key::game_just_launched)) {
                const double now = clock_time();
                if (idle_seconds(now) <= idle_delay) {
                    set_action_selector(Type::NONE, "");
                    return;
                }
            }
            set_action_selector(Type::IDLE, string_of(Key::interface_active_object));
            remove(Key::player_not_moved_yet, true);
        } else if (game_status->is(Status::IN_INVENTORY)) {
            set_action_selector(Type::IN_INVENTORY, string_of(Key::interface_active_object));
        } else if (game_status->is(Status::ACTION)) {
            set_action_selector(Type::ACTION_CHOICE,
                                value<Component::Simple<std::string>>(
                                    Key::interface_action_choice_target));
        } else if (game_status->is(Status::OBJECT, Status::IN_WINDOW, Status::IN_CODE)) {
            set_action_selector(Type::OKNOTOK, "");
        } else if (game_status->is(Status::IN_MENU)) {
            set_action_selector(Type::OKCONTINUE, "");
        } else {
            set_action_selector(Type::NONE, "");
        }
        return;
    }

    if (game_status->is(Status::ACTION))
        set_action_selector(Type::ACTION_CHOICE, value<Component::Simple<std::string>>(
                                                     Key::interface_action_choice_target));
    else if (game_status->is(Status::INVENTORY_ACTION))
        set_action_selector(
            Type::INVENTORY_ACTION_CHOICE,
            value<Component::Simple<std::string>>(Key::interface_action_choice_target));
    else
        set_action_selector(Type::NONE, "");
    highlight_hovered_verb();
}

void Interface::highlight_hovered_verb() {
    if (m_action_slots[0].empty())
        return;
    auto active = m_content.request<Component::Simple<std::string>>(Key::interface_active_button);
    std::string hovered = active ? active->value() : std::string();
    std::size_t cut = hovered.find("_button_");
    if (cut == std::string::npos)
        cut = hovered.find("_label");
    hovered = cut == std::string::npos ? std::string() : hovered.substr(0, cut);
    for (const std::string& slot : m_action_slots)
        if (!slot.empty())
            m_content.get<Image>(slot + "_button_back", "image")
                ->set_highlight(slot == hovered ? 255 : 0);
}

void Interface::set_action_selector(const Selector_type& type, const std::string& id) {
    if (type == m_selector_type && id == m_selector_id && !signal(Key::interface_force_refresh))
        return;
    reset_action_selector();
    m_selector_type = type;
    m_selector_id = id;

    // the controller in use; with the mouse, a controller without labels that confirms below
    Gamepad_info info(0, 0, "Default controller");
    bool from_gamepad = false;
    if (input_mode() == GAMEPAD)
        if (auto pad = m_content.request<Component::Simple<std::string>>(Key::gamepad_id)) {
            info = value<Component::Simple<Gamepad_info>>(pad->value(), "gamepad");
            from_gamepad = true;
        }
    auto text = [&info](Event_value button) { return gamepad_label(info, button); };
    Orientation ok = Orientation::DOWN;
    Event_value ok_button = Event_value::SOUTH;
    Orientation cancel = Orientation::RIGHT;
    Event_value cancel_button = Event_value::EAST;
    if (from_gamepad && !info.ok_down) {
        std::swap(ok, cancel);
        std::swap(ok_button, cancel_button);
    }

    auto anchor = m_content.get<Position>(Key::gamepad_action_selector_position);
    auto answers = [&](const std::string& owner, const std::string& no) {
        generate_action("", "take", Orientation::LEFT, text(Event_value::WEST), anchor,
                        Style::FADE_IN_PLACE);
        generate_action(owner, "Ok", ok, text(ok_button), anchor, Style::FADE_IN_PLACE);
        generate_action("", "move", Orientation::UP, text(Event_value::NORTH), anchor,
                        Style::FADE_IN_PLACE);
        generate_action(owner, no, cancel, text(cancel_button), anchor, Style::FADE_IN_PLACE);
    };

    switch (type) {
    case Type::NONE:
        break;
    case Type::IDLE:
        generate_action("", "take", Orientation::LEFT, text(Event_value::WEST), anchor,
                        Style::FADE_IN_PLACE);
        generate_action(id, id.empty() ? "look" : "Action", Orientation::RIGHT,
                        text(Event_value::EAST), anchor, Style::FADE_IN_PLACE);
        generate_action("", "move", Orientation::UP, text(Event_value::NORTH), anchor,
                        Style::FADE_IN_PLACE);
        generate_action("Default", "inventory", Orientation::DOWN, text(Event_value::SOUTH),
                        anchor, Style::FADE_IN_PLACE);
        break;
    case Type::OKNOTOK:
        answers("oknotok", "Cancel");
        break;
    case Type::OKCONTINUE:
        answers("okcontinue", "Continue");
        break;
    case Type::ACTION_CHOICE:
        place_room_selector(id, {text(Event_value::WEST), text(Event_value::EAST),
                                 text(Event_value::NORTH), text(Event_value::SOUTH)});
        break;
    case Type::INVENTORY_ACTION_CHOICE:
        place_inventory_selector(id);
        break;
    case Type::IN_INVENTORY: {
        const bool can_combine =
            m_content.get<Component::Inventory>(Key::game_inventory)->size() >= 2;
        generate_action(can_combine ? id : "", "combine", Orientation::LEFT,
                        text(Event_value::WEST), anchor, Style::FADE_IN_PLACE);
        generate_action(id, "look", Orientation::RIGHT, text(Event_value::EAST), anchor,
                        Style::FADE_IN_PLACE);
        generate_action(id, "use", Orientation::UP, text(Event_value::NORTH), anchor,
                        Style::FADE_IN_PLACE);
        // the way back out of the bar is always the bottom button
        generate_action(id, "Cancel", Orientation::DOWN, text(Event_value::SOUTH), anchor,
                        Style::FADE_IN_PLACE);
        break;
    }
    }
}

void Interface::place_room_selector(const std::string& target,
                                    const std::array<std::string, 4>& buttons) {
    const double s = Config::interface_scale;
    const bool gamepad = input_mode() == GAMEPAD;
    auto cursor = m_content.request<Position>(Fast_access_component::CURSOR_POSITION);
    if (gamepad)
        cursor->set(m_content.get<Position>(target, "label")->value() -
                    Vector(m_content.get<Position>(Key::camera_position)->value()));
    auto anchor = m_content.set<Component::Absolute_position>(Key::action_selector_position,
                                                              cursor->value());

    std::array<Orientation, 4> places = {Orientation::LEFT, Orientation::RIGHT, Orientation::UP,
                                         Orientation::DOWN};
    auto build = [&](Style style) {
        for (std::size_t i = 0; i < room_verbs.size(); ++i)
            generate_action(target, room_verbs[i], places[i], buttons[i], anchor, style);
    };
    build(Style::MOVE);

    // the label backs just built, read when each test runs
    auto back = [&](const char* verb) {
        const std::string entity = target + "_" + verb + "_label_back";
        auto image = m_content.get<Image>(entity, "image");
        return std::make_pair(m_content.get<Position>(entity, "position")->value(), image);
    };
    auto move_anchor = [&](const Vector& by) { anchor->set(anchor->value() + by); };
    bool changed = false;

    auto [inventory_at, inventory_image] = back("inventory");
    const double b = 1060 - (inventory_at.y() + 0.25 * inventory_image->height() * s);
    if (b < 0) {
        changed = true;
        if (gamepad)
            move_anchor(Vector(0, b));
        else
            places = {Orientation::LEFT_FAR, Orientation::RIGHT_FAR, Orientation::UP_LEFT_STEEP,
                      Orientation::UP_RIGHT_STEEP};
    }
    auto [move_at, move_image] = back("move");
    const double t = move_at.y() - 20 - 0.25 * move_image->height() * s;
    if (t < 0) {
        changed = true;
        if (gamepad)
            move_anchor(Vector(0, -t));
        else
            places = {Orientation::LEFT_FAR, Orientation::RIGHT_FAR,
                      Orientation::DOWN_LEFT_STEEP, Orientation::DOWN_RIGHT_STEEP};
    }
    auto [take_at, take_image] = back("take");
    const double l = take_at.x() - 20 - 0.25 * take_image->width() * s;
    if (l < 0) {
        changed = true;
        if (gamepad)
            move_anchor(Vector(-l, 0));
        else
            places = {Orientation::UP_RIGHT, Orientation::DOWN_RIGHT, Orientation::UP_FAR,
                      Orientation::DOWN_FAR};
    }
    auto [look_at, look_image] = back("look");
    const double r = 1900 - 0.25 * look_image->width() * s - look_at.x();
    if (r < 0) {
        changed = true;
        if (gamepad)
            move_anchor(Vector(r, 0));
        else
            places = {Orientation::UP_LEFT, Orientation::DOWN_LEFT, Orientation::UP_FAR,
                      Orientation::DOWN_FAR};
    }

    // in a corner the plain cross fits once the anchor is moved in on both sides
    if (!gamepad && (t < 0 || b < 0) && (l < 0 || r < 0)) {
        move_anchor(Vector(l < 0 ? -l : r, t < 0 ? -t : b));
        places = {Orientation::LEFT, Orientation::RIGHT, Orientation::UP, Orientation::DOWN};
    }
    if (changed)
        build(Style::MOVE);
}

void Interface::place_inventory_selector(const std::string& target) {
    const double s = Config::interface_scale;
    auto anchor = m_content.set<Component::Absolute_position>(
        Key::action_selector_position,
        Point(m_content.get<Position>(target, "position")->value().x(),
              m_content.get<Position>(Key::inventory_origin)->value().y() - 37.5 * s));
    auto build = [&](const char* verb, Orientation place) {
        generate_action(target, verb, place, "", anchor, Style::MOVE);
    };
    auto edge = [&](const char* verb, double side) {
        const std::string entity = target + "_" + verb + "_label_back";
        return m_content.get<Position>(entity, "position")->value().x() +
               side * 0.25 * m_content.get<Image>(entity, "image")->width() * s;
    };

    // combine stays clear of the bar's tab
    build("combine", Orientation::LEFT);
    const double left =
        edge("combine", -1) - (m_content.get<Position>(Key::chamfer_position)->value().x() + 50);
    if (left < 0) {
        anchor->set(anchor->value() + Vector(-left, 0));
        build("combine", Orientation::LEFT);
    }
    // look stays inside the view's right edge
    build("look", Orientation::RIGHT);
    const double right = 1920 - (edge("look", 1) + 20 * s);
    if (right < 0) {
        anchor->set(anchor->value() + Vector(right, 0));
        build("look", Orientation::RIGHT);
        build("combine", Orientation::LEFT);
    }
    build("use", Orientation::UP);
}

void Interface::reset_action_selector() {
    for (std::string& slot : m_action_slots) {
        delete_label(slot + "_label", true);
        delete_label(slot + "_button", true);
        slot.clear();
    }
}

void Interface::make_button(const std::string& name, const std::string& text,
                            const std::shared_ptr<Position>& anchor, const Vector& offset,
                            const Vector& start, const Button_orientation& orientation,
                            const Animation_style& style) {
    create_label(name, text, Label_type::OPAQUE, Component::Collision_type::BOX, 1.0);
    auto position =
        wriggly_position(name, "global_position", anchor, offset, orientation, true, false);
    update_label(name, Label_type::OPAQUE, position, 1.0);
    // gliding buttons start near the centre
    if (style == Animation_style::MOVE)
        position->set(anchor->value() + start);
}

void Interface::generate_action(const std::string& id, const std::string& action,
                                const Button_orientation& orientation, const std::string& button,
                                const std::shared_ptr<Position>& anchor,
                                const Animation_style& style) {
    using String = Component::Simple<std::string>;
    const double s = Config::interface_scale;
    const std::string key = id + "_" + action;

    // a capitalised action is one of the interface's own words
    std::shared_ptr<String> text = m_content.request<String>(key, "label");
    if (!action.empty() && action[0] >= 'A' && action[0] <= 'Z')
        text = m_content.get<String>(action, "text");
    if (!text)
        text = m_content.get<String>("Default_" + action, "label");

    std::size_t slot = 0;
    Vector label_offset;
    Vector button_offset;
    Vector start_offset;
    Label_type type = Label_type::PLAIN;
    compute_action_positions(orientation, slot, label_offset, button_offset, start_offset, type);
    m_action_slots[slot] = key;
    if (style != Animation_style::MOVE)
        start_offset = button_offset;

    if (id.empty()) {
        // a verb without an action of its own: a faded button without text
        const std::string name = "Default_" + action;
        m_action_slots[slot] = name;
        const std::string button_name = name + "_button";
        make_button(button_name, button, anchor, button_offset, start_offset, orientation, style);
        if (auto face = m_content.request<Image>(button_name, "image"))
            face->on() = false;
        m_content.get<Image>(button_name + "_back", "image")->set_alpha(128);
        animate_label(button_name, style, true, anchor->value() + button_offset);
        return;
    }

    const std::string label = key + "_label";
    create_label(label, locale(text->value()), type, Component::Collision_type::BOX, 1.0);
    auto position =
        wriggly_position(label, "global_position", anchor, label_offset, orientation, true, false);
    update_label(label, type, position, 1.0);

    // far and steep labels are pushed back inside the view, or beside their button
    const double x = m_content.get<Position>(label + "_back", "position")->value().x();
    const double half = 0.25 * m_content.get<Image>(label + "_back", "image")->width() * s;
    double shift = 0;
    switch (orientation) {
    case Orientation::UP_FAR:
    case Orientation::DOWN_FAR:
        if (x - half < 20)
            shift = 20 - x + half;
        else if (x + half > 1900)
            shift = 1900 - x - half;
        shift = std::trunc(shift);
        break;
    case Orientation::UP_LEFT_STEEP:
    case Orientation::DOWN_LEFT_STEEP:
        shift = -half + 20;
        break;
    case Orientation::UP_RIGHT_STEEP:
    case Orientation::DOWN_RIGHT_STEEP:
        shift = half - 20;
        break;
    default:
        break;
    }
    if (shift != 0) {
        const Vector to_back(anchor->value(),
                             m_content.get<Position>(label + "_back", "position")->value());
        position->set(wriggly_position(label, "global_position", anchor,
                                       Vector(to_back.x() + shift, to_back.y()),
                                       orientation, false, false)
                          ->function());
    }
    animate_label(label, style, false, Point(0, 0));

    const std::string button_name = key + "_button";
    make_button(button_name, button, anchor, button_offset, start_offset, orientation, style);
    animate_label(button_name, style, true, anchor->value() + button_offset);
}

} // namespace Orvane::System
