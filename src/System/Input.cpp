#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Input.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

namespace {

using Seconds = Component::Simple<double>;
using Mode = Component::Simple<Input_mode>;

// A press held longer than this fast-forwards.
constexpr double hold_to_speed_up = 0.1;
// The touch corner that fast-forwards: the top-right of the scene.
constexpr int corner_min_x = 1771;
constexpr int corner_max_y = 149;

bool in_corner(const Event& event) { return event.x() >= corner_min_x && event.y() <= corner_max_y; }

Event pattern(Event_type type, Event_value value) { return Event(type, value, -1, -1); }

const Event escape_up = pattern(Event_type::KEY_UP, Event_value::ESCAPE);
const Event back_up = pattern(Event_type::KEY_UP, Event_value::ANDROID_BACK);
const Event start_up = pattern(Event_type::BUTTON_UP, Event_value::START);
const Event select_up = pattern(Event_type::BUTTON_UP, Event_value::SELECT);
const Event space_down = pattern(Event_type::KEY_DOWN, Event_value::SPACE);
const Event space_up = pattern(Event_type::KEY_UP, Event_value::SPACE);
const Event exit_event = pattern(Event_type::WINDOW, Event_value::EXIT);
const Event east_down = pattern(Event_type::BUTTON_DOWN, Event_value::EAST);
const Event south_down = pattern(Event_type::BUTTON_DOWN, Event_value::SOUTH);
const Event touch_down = pattern(Event_type::TOUCH_DOWN, Event_value::LEFT);
const Event touch_up = pattern(Event_type::TOUCH_UP, Event_value::LEFT);
const Event right_down = pattern(Event_type::MOUSE_DOWN, Event_value::RIGHT);
const Event right_up = pattern(Event_type::MOUSE_UP, Event_value::RIGHT);
const Event left_down = pattern(Event_type::MOUSE_DOWN, Event_value::LEFT);
const Event foreground = pattern(Event_type::WINDOW, Event_value::FOREGROUND);
const Event background = pattern(Event_type::WINDOW, Event_value::BACKGROUND);
const Event enter_up = pattern(Event_type::KEY_UP, Event_value::ENTER);
const Event resized = pattern(Event_type::WINDOW, Event_value::RESIZED);

} // namespace

Input::Input(Content& content) : Base(content) {
    m_content.set_fac<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION, "Stick",
                                                 "direction", Vector(0, 0));
}

Component::Status& Input::game_status() const {
    auto s = status();
    ORVANE_CHECK(s, "Cannot find Game:status");
    return *s;
}

Orvane::Status Input::top() const { return game_status().value(); }

Input_mode Input::mode() const {
    return m_content.value<Mode>(Fast_access_component::INTERFACE_INPUT_MODE);
}

void Input::set_cursor(const Event& event) {
    auto cursor = m_content.request<Component::Position>(Fast_access_component::CURSOR_POSITION);
    ORVANE_CHECK(cursor, "Cannot find Cursor:position");
    cursor->set(Point(event.x(), event.y()));
}

bool Input::key(Event_value value) const {
    const auto i = static_cast<std::size_t>(value);
    return i < number_of_keys && m_keys.test(i);
}

void Input::run() {
    if (signal(Key::game_in_new_room))
        m_keys.reset();

    update_mode();

    if (auto pressed = m_content.request<Seconds>(Key::skip_or_speed_time)) {
        const double now = m_content.value<Seconds>(Fast_access_component::CLOCK_TIME);
        if (now - pressed->value() > hold_to_speed_up) {
            remove(pressed);
            emit(Key::time_speedup);
            emit(Key::time_speedup_wanted);
        }
    }

    if (auto rumble = m_content.request<Component::Pair<double, double>>(Key::gamepad_rumble)) {
        rumble_gamepad(rumble->value().first, rumble->value().second);
        remove(rumble);
    }

    bool arrow_released = false;
    for (const Event& event : m_events) {
        update_keys_on(event);
        handle_exit_pause_speed(event);
        update_active_gamepad(event);
        if (top() == Orvane::Status::PAUSE)
            continue;
        update_window(event);
        if (event.type() == Event_type::MOUSE_MOVE &&
            (mode() == Input_mode::MOUSE || mode() == Input_mode::TOUCHSCREEN))
            set_cursor(event);
        const Orvane::Status now = top();
        if (now == Orvane::Status::LOCKED || now == Orvane::Status::CUTSCENE)
            continue;
        switch (mode()) {
        case Input_mode::MOUSE:
            update_mouse(event);
            break;
        case Input_mode::TOUCHSCREEN:
            update_touchscreen(event);
            break;
        case Input_mode::GAMEPAD:
            if (update_gamepad(event))
                arrow_released = true;
            break;
        }
    }

    if (mode() == Input_mode::GAMEPAD)
        finalize_gamepad(arrow_released);

    m_events.clear();
}

void Input::update_mode() {
    bool mouse_seen = false;
    bool touch_seen = false;
    bool gamepad_seen = false;
    while (Event event = m_source.next_event()) {
        switch (event.type()) {
        case Event_type::UNUSED:
            continue;
        case Event_type::MOUSE_DOWN:
        case Event_type::MOUSE_UP:
            mouse_seen = true;
            break;
        case Event_type::TOUCH_DOWN:
        case Event_type::TOUCH_MOVE:
        case Event_type::TOUCH_UP:
            touch_seen = true;
            break;
        case Event_type::NEW_GAMEPAD:
        case Event_type::BUTTON_DOWN:
        case Event_type::BUTTON_UP:
        case Event_type::STICK_MOVE:
            gamepad_seen = true;
            break;
        default:
            break;
        }
        m_events.push_back(event);
    }

    auto mode_component = m_content.request<Mode>(Fast_access_component::INTERFACE_INPUT_MODE);
    ORVANE_CHECK(mode_component, "Cannot find Interface:input_mode");
    const Input_mode before = mode_component->value();
    if (game_status().is(Orvane::Status::IDLE, Orvane::Status::CUTSCENE)) {
        if (gamepad_seen)
            mode_component->set(Input_mode::GAMEPAD);
        else if (touch_seen)
            mode_component->set(Input_mode::TOUCHSCREEN);
        else if (mouse_seen)
            mode_component->set(Input_mode::MOUSE);
        if (mode_component->value() != before)
            emit(Key::input_mode_changed);
    }

    if (mode_component->value() == Input_mode::GAMEPAD) {
        const Vector direction =
            m_content.value<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION);
        if (gamepad_seen || direction != Vector(0, 0)) {
            auto latest = m_content.request<Seconds>(Fast_access_component::CLOCK_LATEST_ACTIVE);
            ORVANE_CHECK(latest, "Cannot find Clock:latest_active");
            latest->set(m_content.value<Seconds>(Fast_access_component::CLOCK_TIME));
        }
    }
}

void Input::update_keys_on(const Event& event) {
    const auto i = static_cast<std::size_t>(event.value());
    if (i >= number_of_keys)
        return;
    switch (event.type()) {
    case Event_type::KEY_DOWN:
    case Event_type::BUTTON_DOWN:
        m_keys.set(i);
        break;
    case Event_type::KEY_UP:
    case Event_type::BUTTON_UP:
        m_keys.reset(i);
        break;
    default:
        break;
    }
}

void Input::handle_exit_pause_speed(const Event& event) {
    if (event == escape_up || event == back_up || event == start_up || event == select_up)
        emit(Key::game_escape);
    if (top() == Orvane::Status::CUTSCENE && event == space_up)
        emit(Key::game_escape);
    if (event == exit_event)
        emit(Key::game_exit);
    if (top() == Orvane::Status::LOCKED &&
        (event == space_up || event == east_down || event == south_down || event == touch_down ||
         event == right_down))
        emit(Key::game_skip_dialog);

    if (event == right_down || event == space_down) {
        set<Seconds>(Key::skip_or_speed_time,
                     m_content.value<Seconds>(Fast_access_component::CLOCK_TIME));
    } else if (event == right_up || event == space_up) {
        remove(Key::skip_or_speed_time, true);
        receive(Key::time_speedup);
        receive(Key::time_speedup_wanted);
    }

    if (event == foreground && top() == Orvane::Status::PAUSE)
        game_status().pop();
    if (event == background && top() != Orvane::Status::PAUSE)
        game_status().push(Orvane::Status::PAUSE);

    if (event == touch_down) {
        if (in_corner(event)) {
            emit(Key::time_speedup);
            emit(Key::time_speedup_wanted);
        }
    } else if (event == touch_up) {
        receive(Key::time_speedup);
        receive(Key::time_speedup_wanted);
    }
}

void Input::update_window(const Event& event) {
    if (event == enter_up && key(Event_value::ALT)) {
        m_content.get<Component::Boolean>(Key::window_fullscreen)->toggle();
        emit(Key::window_toggle_fullscreen);
    } else if (event == resized) {
        m_content.get<Component::Simple<int>>(Key::window_width)->set(event.x());
        m_content.get<Component::Simple<int>>(Key::window_height)->set(event.y());
        emit(Key::window_rescaled);
    }
}

void Input::update_mouse(const Event& event) {
    if (event == left_down) {
        set_cursor(event);
        emit(Key::cursor_clicked);
    }
}

void Input::update_touchscreen(const Event& event) {
    if (event == touch_down && !in_corner(event)) {
        set_cursor(event);
        emit(Key::cursor_clicked);
    }
}

} // namespace Orvane::System
