#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <unordered_map>

#include <Orvane/Third_party/Gamepad.h>

struct _SDL_GameController;
typedef struct _SDL_GameController SDL_GameController;
union SDL_Event;

namespace Orvane {

/// Kind of an input event, in the engine's own vocabulary.
enum class Event_type : int {
    EMPTY = 0,             ///< no event pending
    UNUSED = 1,            ///< an event the engine ignores
    WINDOW = 2,            ///< quit, window and application life-cycle events
    MOUSE_DOWN = 3,        ///< mouse button pressed
    MOUSE_MOVE = 4,        ///< mouse moved
    MOUSE_UP = 5,          ///< mouse button released
    TOUCH_DOWN = 6,        ///< finger down
    TOUCH_MOVE = 7,        ///< finger moved
    TOUCH_UP = 8,          ///< finger up
    KEY_DOWN = 9,          ///< key pressed
    KEY_UP = 10,           ///< key released
    NEW_GAMEPAD = 11,      ///< controller connected (x = device index)
    GAMEPAD_SWITCHED = 12, ///< another controller became the current one (x = instance id)
    GAMEPAD_REMOVED = 13,  ///< controller disconnected (x = instance id)
    BUTTON_DOWN = 14,      ///< controller button pressed, or trigger pressed past the threshold
    BUTTON_UP = 15,        ///< controller button released, or trigger below the threshold
    STICK_MOVE = 16,       ///< controller stick axis moved
};

/// What an input event is about: window happenings, pointer buttons, keys and controller
/// buttons. Controller face buttons are named by position (SOUTH is the bottom one).
enum class Event_value : int {
    NONE = 0,
    EXIT = 1,       ///< quit requested
    RESIZED = 2,    ///< window resized (x, y = new size)
    BACKGROUND = 3, ///< window hidden or application about to go to the background
    FOREGROUND = 4, ///< window shown or application back in the foreground
    LEFT = 5,       ///< left mouse button, any touch, left stick
    RIGHT = 6,      ///< right mouse button, right stick
    ALT = 7,        ///< left Alt key
    CTRL = 8,       ///< either Ctrl key
    SHIFT = 9,      ///< either Shift key
    TAB = 10,
    ANDROID_BACK = 11, ///< the application-control Back key
    ENTER = 12,
    ESCAPE = 13,
    SPACE = 14,
    UP_ARROW = 15,       ///< up arrow key, D-pad up
    LEFT_ARROW = 16,     ///< left arrow key, D-pad left
    RIGHT_ARROW = 17,    ///< right arrow key, D-pad right
    DOWN_ARROW = 18,     ///< down arrow key, D-pad down
    NORTH = 19,          ///< top face button
    WEST = 20,           ///< left face button
    EAST = 21,           ///< right face button
    SOUTH = 22,          ///< bottom face button
    LEFT_SHOULDER = 23,  ///< left shoulder button or left trigger
    RIGHT_SHOULDER = 24, ///< right shoulder button or right trigger
    START = 25,
    SELECT = 26, ///< Back (select) button
    // Letter keys, then function keys.
    // clang-format off
    A = 27, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
    F1 = 53, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    // clang-format on
};

/// Name of an event type as printed in debug output; "WTF" for the controller switch and
/// removal kinds and for unknown values.
std::string to_string(Event_type type);
/// Name of an event value as printed in debug output: the enumerator's name, the letter for
/// A to Z, "F<n>" for the function keys, "WTF" for unknown values.
std::string to_string(Event_value value);
std::ostream& operator<<(std::ostream& out, Event_type type);
std::ostream& operator<<(std::ostream& out, Event_value value);

/// One input event: a type, a value and two numbers. x and y hold a pointer position in
/// logical scene pixels (1920 x 1080), a new window size, a controller id (in x) or a stick
/// deflection; -1 where the event carries no number, and Config::no_value on the stick axis
/// that did not move.
class Event {
  public:
    Event(const Event_type& type, const Event_value& value, const int& x, const int& y);

    Event_type type() const { return m_type; }
    Event_value value() const { return m_value; }
    int x() const { return m_x; }
    int y() const { return m_y; }

    /// Type and value equal; x and y are not compared, so an event matches a pattern such as
    /// (MOUSE_DOWN, LEFT, any, any).
    bool operator==(const Event& other) const;
    /// By type, then by value; x and y are ignored.
    bool operator<(const Event& other) const;
    /// True unless the type is EMPTY.
    explicit operator bool() const;

    /// "Event(<type>, <value>, <x>, <y>)", or "Event(null)" when type and value are both 0.
    std::string to_string() const;

  private:
    Event_type m_type;
    Event_value m_value;
    int m_x;
    int m_y;
};

std::ostream& operator<<(std::ostream& out, const Event& event);

namespace Third_party {

/// The engine's one reader of the platform's event queue (owned by the input system): turns
/// each pending platform event into an Event, and opens, closes and shakes game controllers.
/// Keeps track of the current controller so that an event from another one is followed by a
/// GAMEPAD_SWITCHED event. Used only after SDL has been initialised with its video and
/// game-controller subsystems (unless a replacement source is installed), and only on the main
/// thread.
class SDL_events {
  public:
    /// A replacement for the platform's queue: gives the next pending event, already in the
    /// engine's vocabulary, or an EMPTY event when none is pending.
    using Source = std::function<Event()>;

    SDL_events();

    /// The next pending event, one per call; an EMPTY event when none is pending. Right after
    /// an event from a controller other than the current one, returns
    /// (GAMEPAD_SWITCHED, NONE, its instance id, -1) without reading the queue. Reads the
    /// installed replacement source when there is one (its events are returned as they are),
    /// SDL's queue otherwise.
    Event next_event();

    /// Installs `source` in place of SDL's queue for every SDL_events object, like the queue
    /// itself one for the whole process, and returns the source it replaces (empty for SDL's
    /// queue); an empty `source` puts SDL's queue back. Input tests feed events through it
    /// without SDL.
    static Source set_source(Source source);

    /// Opens the controller at this device index and makes it the current one. Returns null
    /// when the device cannot be opened.
    SDL_GameController* open_gamepad(int device_index);
    /// Closes a controller returned by open_gamepad.
    void close_gamepad(SDL_GameController* controller);
    /// Runs both motors at `strength` (0 to 1, clamped) for `duration` seconds, replacing any
    /// rumble still running. A duration under a millisecond (negative ones included) stops
    /// the motors.
    void rumble_gamepad(SDL_GameController* controller, double strength, double duration);
    /// Description of a controller from its vendor, product and name; a null controller gives
    /// the "Default controller" description with the id "0:0".
    Gamepad_info gamepad_info(SDL_GameController* controller);

    /// Instance id of the current controller (-1 before any controller has been seen): the
    /// one open_gamepad has just opened, or the last one an event came from.
    int current_gamepad_id() const { return m_current_gamepad; }

  private:
    Event translate_controller(Event_type type, const SDL_Event& event);

    // Platform event kind -> engine event type, for the events translated by their family.
    std::unordered_map<std::uint32_t, Event_type> m_types;
    bool m_switch_pending = false;
    int m_current_gamepad = -1;
};

} // namespace Third_party
} // namespace Orvane
