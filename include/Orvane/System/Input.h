#pragma once

#include <bitset>
#include <cstddef>
#include <vector>

#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/System/Base.h>
#include <Orvane/Third_party/SDL_events.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

/// The input system, second of the frame: drains the frame's window and device events, chooses
/// the input mode (controller over touch over mouse, switched only while idle or in a
/// cutscene), keeps the held state of keys and buttons, and turns events into store signals
/// and components: the cursor and its click, escape, exit, line skip, fast-forward, pause on
/// background, window size and full screen, and the controllers' connection, stick, face
/// buttons and rumble. It calls no other system; Control reads what it writes in the same
/// frame.
class Input : public Base {
  public:
    /// Number of keys and buttons the system keeps a held flag for (every Event_value).
    static constexpr std::size_t number_of_keys = 65;

    /// Creates its event source, an empty event list, all key flags false, stick values 0, and
    /// Stick:direction (0, 0) in its fast-access slot; nothing else.
    explicit Input(Content& content);

    /// The frame step: key flags cleared on a room entry, events drained and the mode chosen,
    /// fast-forward by holding, a requested rumble, every event handled in arrival order, then
    /// the controller's final step in controller mode.
    void run() override;

    /// Drains the event source into the frame's list (UNUSED events dropped) and, while the
    /// status is IDLE or CUTSCENE, switches the mode to the device seen: controller over touch
    /// over mouse (mouse motion does not count). Emits Input_mode:changed on a change; in
    /// controller mode notes activity in Clock:latest_active.
    void update_mode();
    /// KEY_DOWN and BUTTON_DOWN set the flag of the event's value, KEY_UP and BUTTON_UP clear it.
    void update_keys_on(const Event& event);
    /// Escape, exit, line skip, fast-forward by holding or by the touch corner, and pause when
    /// the window goes to the background.
    void handle_exit_pause_speed(const Event& event);
    /// Alt+Enter toggles Window:fullscreen; a resize sets Window:width and Window:height.
    void update_window(const Event& event);
    /// A left press moves the cursor there and emits Cursor:clicked.
    void update_mouse(const Event& event);
    /// A touch outside the fast-forward corner moves the cursor there and emits Cursor:clicked.
    void update_touchscreen(const Event& event);

    /// Connection, removal and switch of controllers: model key Gamepad(<id>), device key
    /// Gamepad_<jid>, one open device per model, Gamepad:id for the current one.
    void update_active_gamepad(const Event& event);
    /// Left stick values, shoulder switch and face-button signals; true when the event is the
    /// release of an arrow button.
    bool update_gamepad(const Event& event);
    /// Both shoulders held fast-forward; then, outside LOCKED and CUTSCENE, the arrows (over the
    /// stick) give Stick:direction: unit length past 0.5, else zero; Stick:moved on a change.
    void finalize_gamepad(bool arrow_released);
    /// Both motors of the current controller at intensity (0 to 1) for a duration in seconds;
    /// nothing without a current controller or when its model has no open device.
    void rumble_gamepad(double intensity, double duration);

    /// Whether the key or button of this value is held (false for values out of range).
    bool key(Event_value value) const;
    /// The left stick's values (-1 to 1 on each axis), or the arrows' last steering.
    Vector stick() const { return {m_stick_x, m_stick_y}; }

  private:
    /// Game:status, which exists from start-up on (fatal otherwise).
    Component::Status& game_status() const;
    /// The top status, read anew at every call.
    Orvane::Status top() const;
    Input_mode mode() const;
    /// Moves Cursor:position to the event's point.
    void set_cursor(const Event& event);

    Third_party::SDL_events m_source;
    std::vector<Event> m_events;
    std::bitset<number_of_keys> m_keys;
    double m_stick_x = 0.0;
    double m_stick_y = 0.0;
};

} // namespace Orvane::System
