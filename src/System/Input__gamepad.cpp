#include <string>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Input.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

namespace {

using Handle = Component::Simple<SDL_GameController*>;
using Text = Component::Simple<std::string>;

// Raw stick values run from -32768 to 32767.
constexpr double stick_scale = 32767.5;
// A direction shorter than this is no direction.
constexpr double dead_zone = 0.5;

std::string model_key(const Gamepad_info& info) { return "Gamepad(" + info.id + ")"; }
std::string device_key(int jid) { return "Gamepad_" + std::to_string(jid); }

bool is_arrow(Event_value value) {
    return value == Event_value::UP_ARROW || value == Event_value::DOWN_ARROW ||
           value == Event_value::LEFT_ARROW || value == Event_value::RIGHT_ARROW;
}

} // namespace

void Input::update_active_gamepad(const Event& event) {
    switch (event.type()) {
    case Event_type::NEW_GAMEPAD: {
        SDL_GameController* handle = m_source.open_gamepad(event.x());
        // a device gone before it could be opened leaves nothing to track
        if (handle == nullptr)
            return;
        const int jid = m_source.current_gamepad_id();
        Gamepad_info info = m_source.gamepad_info(handle);
        const std::string model = model_key(info);
        auto is_open = m_content.get_or_set<Component::Boolean>(model, "is_open", false);
        if (is_open->value()) {
            // one device per model: a second one of the same kind is let go at once
            m_source.close_gamepad(handle);
            return;
        }
        is_open->set(true);
        const std::string device = device_key(jid);
        set<Handle>(device, "pointer", handle);
        if (auto known = m_content.request<Component::Simple<Gamepad_info>>(model, "gamepad")) {
            // the player's choices for this model outlive the device
            info.labels = known->value().labels;
            info.ok_down = known->value().ok_down;
        }
        set<Component::Simple<Gamepad_info>>(model, "gamepad", info);
        set<Text>(device, "ingame_id", model);
        set<Component::Simple<int>>(model, "joystick_id", jid);
        set<Text>(Key::gamepad_id, model);
        emit(Key::input_mode_changed);
        return;
    }
    case Event_type::GAMEPAD_REMOVED: {
        const std::string device = device_key(event.x());
        auto handle = m_content.request<Handle>(device, "pointer");
        auto model = m_content.request<Text>(device, "ingame_id");
        // a device never tracked (the closed second one of a model) changes nothing
        if (!handle || !model)
            return;
        const std::string key = model->value();
        if (auto current = m_content.request<Text>(Key::gamepad_id);
            current && current->value() == key)
            remove(current);
        m_source.close_gamepad(handle->value());
        remove(handle);
        remove(key, "is_open", true);
        return;
    }
    case Event_type::GAMEPAD_SWITCHED: {
        auto model = m_content.request<Text>(device_key(event.x()), "ingame_id");
        if (!model)
            return;
        set<Text>(Key::gamepad_id, model->value());
        emit(Key::input_mode_changed);
        return;
    }
    default:
        return;
    }
}

bool Input::update_gamepad(const Event& event) {
    switch (event.type()) {
    case Event_type::STICK_MOVE:
        if (event.value() == Event_value::LEFT) {
            if (event.y() == Config::no_value)
                m_stick_x = event.x() / stick_scale;
            else if (event.x() == Config::no_value)
                m_stick_y = event.y() / stick_scale;
        }
        return false;
    case Event_type::BUTTON_DOWN:
        switch (event.value()) {
        case Event_value::LEFT_SHOULDER:
            set<Component::Boolean>(Key::switch_right, false);
            break;
        case Event_value::RIGHT_SHOULDER:
            set<Component::Boolean>(Key::switch_right, true);
            break;
        case Event_value::NORTH:
            emit(Key::action_move);
            break;
        case Event_value::WEST:
            emit(Key::action_take);
            break;
        case Event_value::EAST:
            emit(Key::action_look);
            break;
        case Event_value::SOUTH:
            emit(Key::action_inventory);
            break;
        default:
            break;
        }
        return false;
    case Event_type::BUTTON_UP:
        return is_arrow(event.value());
    default:
        return false;
    }
}

void Input::finalize_gamepad(bool arrow_released) {
    if (key(Event_value::LEFT_SHOULDER) && key(Event_value::RIGHT_SHOULDER)) {
        emit(Key::time_speedup);
        emit(Key::time_speedup_wanted);
    } else {
        receive(Key::time_speedup);
        receive(Key::time_speedup_wanted);
    }

    if (game_status().is(Orvane::Status::LOCKED, Orvane::Status::CUTSCENE))
        return;

    const bool up = key(Event_value::UP_ARROW);
    const bool down = key(Event_value::DOWN_ARROW);
    const bool left = key(Event_value::LEFT_ARROW);
    const bool right = key(Event_value::RIGHT_ARROW);
    if (arrow_released || up || down || left || right) {
        // down wins over up, right over left
        double y = 0;
        if (up)
            y = -1;
        if (down)
            y = 1;
        double x = 0;
        if (left || right)
            x = right ? 1 : -1;
        m_stick_x = x;
        m_stick_y = y;
    }

    Vector v(m_stick_x, m_stick_y);
    if (v.length() > dead_zone)
        v.normalize();
    else
        v = Vector(0, 0);

    auto direction =
        m_content.request<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION);
    ORVANE_CHECK(direction, "Cannot find Stick:direction");
    if (direction->value() != v) {
        direction->set(v);
        emit(Key::stick_moved);
    }
}

void Input::rumble_gamepad(double intensity, double duration) {
    auto current = m_content.request<Text>(Key::gamepad_id);
    if (!current)
        return;
    auto jid = m_content.request<Component::Simple<int>>(current->value(), "joystick_id");
    if (!jid)
        return;
    // the model's device may be closed: a rumble for it has nowhere to go
    auto handle = m_content.request<Handle>(device_key(jid->value()), "pointer");
    if (!handle)
        return;
    m_source.rumble_gamepad(handle->value(), intensity, duration);
}

} // namespace Orvane::System
