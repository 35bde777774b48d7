#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <sstream>
#include <utility>

#include <SDL.h>

#include <Orvane/Config.h>
#include <Orvane/Third_party/SDL_events.h>

namespace Orvane {

namespace {

constexpr std::array<const char*, 17> type_names = {
    "EMPTY",      "UNUSED",     "WINDOW",      "MOUSE_DOWN", "MOUSE_MOVE", "MOUSE_UP",
    "TOUCH_DOWN", "TOUCH_MOVE", "TOUCH_UP",    "KEY_DOWN",   "KEY_UP",     "NEW_GAMEPAD",
    "WTF",        "WTF",        "BUTTON_DOWN", "BUTTON_UP",  "STICK_MOVE"};

constexpr std::array<const char*, 27> value_names = {
    "NONE",           "EXIT",   "RESIZED", "BACKGROUND", "FOREGROUND", "LEFT",
    "RIGHT",          "ALT",    "CTRL",    "SHIFT",      "TAB",        "ANDROID_BACK",
    "ENTER",          "ESCAPE", "SPACE",   "UP_ARROW",   "LEFT_ARROW", "RIGHT_ARROW",
    "DOWN_ARROW",     "NORTH",  "WEST",    "EAST",       "SOUTH",      "LEFT_SHOULDER",
    "RIGHT_SHOULDER", "START",  "SELECT"};

constexpr int first_letter = static_cast<int>(Event_value::A);
constexpr int last_letter = static_cast<int>(Event_value::Z);
constexpr int first_function_key = static_cast<int>(Event_value::F1);
constexpr int last_function_key = static_cast<int>(Event_value::F12);

} // namespace

std::string to_string(Event_type type) {
    const int index = static_cast<int>(type);
    if (index < 0 || index >= static_cast<int>(type_names.size()))
        return "WTF";
    return type_names[static_cast<std::size_t>(index)];
}

std::string to_string(Event_value value) {
    const int index = static_cast<int>(value);
    if (index >= 0 && index < static_cast<int>(value_names.size()))
        return value_names[static_cast<std::size_t>(index)];
    if (index >= first_letter && index <= last_letter)
        return std::string(1, static_cast<char>('A' + (index - first_letter)));
    if (index >= first_function_key && index <= last_function_key)
        return "F" + std::to_string(index - first_function_key + 1);
    return "WTF";
}

std::ostream& operator<<(std::ostream& out, Event_type type) { return out << to_string(type); }

std::ostream& operator<<(std::ostream& out, Event_value value) { return out << to_string(value); }

Event::Event(const Event_type& type, const Event_value& value, const int& x, const int& y)
    : m_type(type), m_value(value), m_x(x), m_y(y) {}

bool Event::operator==(const Event& other) const {
    return m_type == other.m_type && m_value == other.m_value;
}

bool Event::operator<(const Event& other) const {
    if (m_type != other.m_type)
        return m_type < other.m_type;
    return m_value < other.m_value;
}

Event::operator bool() const { return m_type != Event_type::EMPTY; }

std::string Event::to_string() const {
    if (m_type == Event_type::EMPTY && m_value == Event_value::NONE)
        return "Event(null)";
    std::ostringstream out;
    out << "Event(" << m_type << ", " << m_value << ", " << m_x << ", " << m_y << ")";
    return out.str();
}

std::ostream& operator<<(std::ostream& out, const Event& event) { return out << event.to_string(); }

namespace Third_party {

namespace {

const Event unused_event(Event_type::UNUSED, Event_value::NONE, -1, -1);

// The replacement of SDL's queue; empty while SDL's queue is read.
SDL_events::Source& installed_source() {
    static SDL_events::Source source;
    return source;
}

// Events that need nothing from the platform event but its kind.
const std::unordered_map<std::uint32_t, Event_value>& window_kinds() {
    static const std::unordered_map<std::uint32_t, Event_value> table = {
        {SDL_QUIT, Event_value::EXIT},
        {SDL_APP_TERMINATING, Event_value::EXIT},
        {SDL_APP_DIDENTERFOREGROUND, Event_value::FOREGROUND},
        {SDL_APP_WILLENTERBACKGROUND, Event_value::BACKGROUND},
    };
    return table;
}

const std::unordered_map<SDL_Keycode, Event_value>& key_values() {
    static const std::unordered_map<SDL_Keycode, Event_value> table = [] {
        std::unordered_map<SDL_Keycode, Event_value> keys = {
            {SDLK_TAB, Event_value::TAB},           {SDLK_RETURN, Event_value::ENTER},
            {SDLK_ESCAPE, Event_value::ESCAPE},     {SDLK_SPACE, Event_value::SPACE},
            {SDLK_UP, Event_value::UP_ARROW},       {SDLK_LEFT, Event_value::LEFT_ARROW},
            {SDLK_RIGHT, Event_value::RIGHT_ARROW}, {SDLK_DOWN, Event_value::DOWN_ARROW},
            {SDLK_LCTRL, Event_value::CTRL},        {SDLK_RCTRL, Event_value::CTRL},
            {SDLK_LSHIFT, Event_value::SHIFT},      {SDLK_RSHIFT, Event_value::SHIFT},
            {SDLK_LALT, Event_value::ALT},          {SDLK_AC_BACK, Event_value::ANDROID_BACK},
        };
        for (int i = 0; i <= last_letter - first_letter; ++i)
            keys.emplace(SDLK_a + i, static_cast<Event_value>(first_letter + i));
        // The function-key codes are consecutive from F1 to F12.
        for (int i = 0; i <= last_function_key - first_function_key; ++i)
            keys.emplace(SDLK_F1 + i, static_cast<Event_value>(first_function_key + i));
        return keys;
    }();
    return table;
}

const std::unordered_map<int, Event_value>& button_values() {
    static const std::unordered_map<int, Event_value> table = {
        {SDL_CONTROLLER_BUTTON_A, Event_value::SOUTH},
        {SDL_CONTROLLER_BUTTON_B, Event_value::EAST},
        {SDL_CONTROLLER_BUTTON_X, Event_value::WEST},
        {SDL_CONTROLLER_BUTTON_Y, Event_value::NORTH},
        {SDL_CONTROLLER_BUTTON_BACK, Event_value::SELECT},
        {SDL_CONTROLLER_BUTTON_START, Event_value::START},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, Event_value::LEFT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, Event_value::RIGHT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, Event_value::UP_ARROW},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, Event_value::DOWN_ARROW},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, Event_value::LEFT_ARROW},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Event_value::RIGHT_ARROW},
    };
    return table;
}

struct Stick_axis {
    Event_value stick;
    bool horizontal;
};

const std::unordered_map<int, Stick_axis>& stick_axes() {
    static const std::unordered_map<int, Stick_axis> table = {
        {SDL_CONTROLLER_AXIS_LEFTX, {Event_value::LEFT, true}},
        {SDL_CONTROLLER_AXIS_LEFTY, {Event_value::LEFT, false}},
        {SDL_CONTROLLER_AXIS_RIGHTX, {Event_value::RIGHT, true}},
        {SDL_CONTROLLER_AXIS_RIGHTY, {Event_value::RIGHT, false}},
    };
    return table;
}

const std::unordered_map<int, Event_value>& trigger_axes() {
    static const std::unordered_map<int, Event_value> table = {
        {SDL_CONTROLLER_AXIS_TRIGGERLEFT, Event_value::LEFT_SHOULDER},
        {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, Event_value::RIGHT_SHOULDER},
    };
    return table;
}

// A trigger counts as pressed from this axis value on.
constexpr int trigger_threshold = 6001;

Event translate_window(const SDL_WindowEvent& window) {
    switch (window.event) {
    case SDL_WINDOWEVENT_SHOWN:
        SDL_ShowCursor(SDL_DISABLE);
        return Event(Event_type::WINDOW, Event_value::FOREGROUND, -1, -1);
    case SDL_WINDOWEVENT_HIDDEN:
        return Event(Event_type::WINDOW, Event_value::BACKGROUND, -1, -1);
    case SDL_WINDOWEVENT_RESIZED:
        return Event(Event_type::WINDOW, Event_value::RESIZED, window.data1, window.data2);
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        SDL_ShowCursor(SDL_DISABLE);
        return unused_event;
    default:
        return unused_event;
    }
}

Event translate_key(Event_type type, const SDL_KeyboardEvent& key) {
    const auto& table = key_values();
    const auto found = table.find(key.keysym.sym);
    if (found == table.end())
        return unused_event;
    return Event(type, found->second, -1, -1);
}

Event translate_touch(Event_type type, const SDL_TouchFingerEvent& finger) {
    // Normalised finger position scaled to the logical view, in single precision, truncated.
    return Event(type, Event_value::LEFT,
                 static_cast<int>(finger.x * static_cast<float>(Config::world_width)),
                 static_cast<int>(finger.y * static_cast<float>(Config::world_height)));
}

Event translate_mouse(Event_type type, const SDL_Event& event) {
    int x = event.motion.x;
    int y = event.motion.y;
    Uint8 button = 0;
    if (event.type != SDL_MOUSEMOTION) {
        x = event.button.x;
        y = event.button.y;
        button = event.button.button;
    }
    Event_value value = Event_value::NONE;
    if (button == SDL_BUTTON_LEFT)
        value = Event_value::LEFT;
    else if (button == SDL_BUTTON_RIGHT)
        value = Event_value::RIGHT;
    return Event(type, value, x, y);
}

} // namespace

SDL_events::SDL_events()
    : m_types{
          {SDL_MOUSEBUTTONDOWN, Event_type::MOUSE_DOWN},
          {SDL_MOUSEMOTION, Event_type::MOUSE_MOVE},
          {SDL_MOUSEBUTTONUP, Event_type::MOUSE_UP},
          {SDL_FINGERDOWN, Event_type::TOUCH_DOWN},
          {SDL_FINGERMOTION, Event_type::TOUCH_MOVE},
          {SDL_FINGERUP, Event_type::TOUCH_UP},
          {SDL_KEYDOWN, Event_type::KEY_DOWN},
          {SDL_KEYUP, Event_type::KEY_UP},
          {SDL_CONTROLLERAXISMOTION, Event_type::STICK_MOVE},
          {SDL_CONTROLLERBUTTONDOWN, Event_type::BUTTON_DOWN},
          {SDL_CONTROLLERBUTTONUP, Event_type::BUTTON_UP},
      } {}

Event SDL_events::next_event() {
    if (m_switch_pending) {
        m_switch_pending = false;
        return Event(Event_type::GAMEPAD_SWITCHED, Event_value::NONE, m_current_gamepad, -1);
    }

    if (const Source& source = installed_source())
        return source();

    SDL_Event event;
    if (SDL_PollEvent(&event) == 0)
        return Event(Event_type::EMPTY, Event_value::NONE, -1, -1);

    const auto window_kind = window_kinds().find(event.type);
    if (window_kind != window_kinds().end())
        return Event(Event_type::WINDOW, window_kind->second, -1, -1);
    if (event.type == SDL_WINDOWEVENT)
        return translate_window(event.window);
    if (event.type == SDL_CONTROLLERDEVICEADDED)
        return Event(Event_type::NEW_GAMEPAD, Event_value::NONE, event.cdevice.which, -1);
    if (event.type == SDL_CONTROLLERDEVICEREMOVED)
        return Event(Event_type::GAMEPAD_REMOVED, Event_value::NONE, event.cdevice.which, -1);

    const auto found = m_types.find(event.type);
    if (found == m_types.end())
        return unused_event;
    switch (found->second) {
    case Event_type::KEY_DOWN:
    case Event_type::KEY_UP:
        return translate_key(found->second, event.key);
    case Event_type::TOUCH_DOWN:
    case Event_type::TOUCH_MOVE:
    case Event_type::TOUCH_UP:
        return translate_touch(found->second, event.tfinger);
    case Event_type::MOUSE_DOWN:
    case Event_type::MOUSE_MOVE:
    case Event_type::MOUSE_UP:
        return translate_mouse(found->second, event);
    default:
        return translate_controller(found->second, event);
    }
}

SDL_events::Source SDL_events::set_source(Source source) {
    std::swap(installed_source(), source);
    return source;
}

Event SDL_events::translate_controller(Event_type type, const SDL_Event& event) {
    const SDL_JoystickID id =
        type == Event_type::STICK_MOVE ? event.caxis.which : event.cbutton.which;
    if (id != m_current_gamepad) {
        // The event is still reported; the next call tells that this controller is current.
        m_switch_pending = true;
        m_current_gamepad = id;
    }

    if (type == Event_type::STICK_MOVE) {
        const int axis = event.caxis.axis;
        const int v = event.caxis.value;
        const auto stick = stick_axes().find(axis);
        if (stick != stick_axes().end()) {
            if (stick->second.horizontal)
                return Event(type, stick->second.stick, v, Config::no_value);
            return Event(type, stick->second.stick, Config::no_value, v);
        }
        const auto trigger = trigger_axes().find(axis);
        if (trigger != trigger_axes().end()) {
            // Reported on every axis event: a moving pressed trigger repeats BUTTON_DOWN.
            const Event_type state =
                v >= trigger_threshold ? Event_type::BUTTON_DOWN : Event_type::BUTTON_UP;
            return Event(state, trigger->second, -1, -1);
        }
        return unused_event;
    }

    const auto button = button_values().find(event.cbutton.button);
    if (button == button_values().end())
        return unused_event;
    return Event(type, button->second, -1, -1);
}

SDL_GameController* SDL_events::open_gamepad(int device_index) {
    SDL_GameController* controller = SDL_GameControllerOpen(device_index);
    // A failed open gives a null controller, whose instance id SDL reports as -1.
    m_current_gamepad = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    return controller;
}

void SDL_events::close_gamepad(SDL_GameController* controller) {
    SDL_GameControllerClose(controller);
}

void SDL_events::rumble_gamepad(SDL_GameController* controller, double strength, double duration) {
    // Clamped so that out-of-range requests neither wrap the 16-bit intensity around nor
    // overflow the millisecond count (NaN counts as 0).
    const double clamped_strength = strength > 0.0 ? std::min(strength, 1.0) : 0.0;
    const double clamped_duration =
        duration > 0.0 ? std::min(duration, double(INT_MAX) / 1000.0) : 0.0;
    auto intensity = static_cast<Uint16>(static_cast<int>(clamped_strength * 65535));
    const auto milliseconds = static_cast<Uint32>(static_cast<int>(clamped_duration * 1000));
    // SDL keeps a rumble of 0 ms going until the next request: a request shorter than a
    // millisecond stops the motors instead.
    if (milliseconds == 0)
        intensity = 0;
    SDL_GameControllerRumble(controller, intensity, intensity, milliseconds);
}

Gamepad_info SDL_events::gamepad_info(SDL_GameController* controller) {
    if (controller == nullptr)
        return Gamepad_info(0, 0, "Default controller");
    const char* name = SDL_GameControllerName(controller);
    return Gamepad_info(SDL_GameControllerGetVendor(controller),
                        SDL_GameControllerGetProduct(controller),
                        name != nullptr ? name : "Default controller");
}

} // namespace Third_party
} // namespace Orvane
