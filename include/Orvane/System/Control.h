#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/System/Base.h>

namespace Orvane::System {

/// The control system, third of the frame: notices status and input-mode changes and runs the
/// end and begin steps of a status, handles escape, the cutscene skip message and menu
/// requests, and then runs the one handler registered for the current status and input mode,
/// which turns pointing, clicking, touching and controller buttons into the player's choices
/// and, through set_action, into Character:triggered_action.
class Control : public Base {
  public:
    /// Hash of the dispatch table's keys: the status's number XOR the mode's number.
    struct Hash_status_mode_pair {
        std::size_t operator()(const std::pair<Orvane::Status, Input_mode>& key) const noexcept {
            return static_cast<std::size_t>(static_cast<int>(key.first) ^
                                            static_cast<int>(key.second));
        }
    };
    using Handler_table = std::unordered_map<std::pair<Orvane::Status, Input_mode>,
                                             std::function<void()>, Hash_status_mode_pair>;

    /// Fills the dispatch table (26 pairs); creates no component.
    explicit Control(Content& content);

    /// Remembers the current input mode (Interface:input_mode) and the top status.
    void init() override;
    /// The frame step: clears the room's choices on a room entry, runs the end and begin steps
    /// when the status or the mode changed, handles escape, skip and menu requests, then runs
    /// the handler of the (possibly new) top status and the remembered mode.
    void run() override;

    /// End step of a status (IDLE only): in controller mode keeps the current object as
    /// Interface:previous_active_object; removes Interface:active_object and
    /// Interface:active_objects.
    virtual void end_status(Orvane::Status old);
    /// Begin step of a status: clears the stick latch; in controller mode leaves
    /// INVENTORY_ACTION at once, picks the first dialog line, the inventory item to start on or
    /// the first code button, and drops a pointer's source object on the way back to IDLE.
    virtual void begin_status(Orvane::Status status);
    /// Escape, the cutscene skip message and its 5-second expiry, and menu requests: may push
    /// or pop IN_MENU.
    void update_exit();
    /// Stores Character:triggered_action as a variable on <id>:action, or, when there is none,
    /// on <default_id>:action (fatal "Cannot find <default_id>:action" when that is missing).
    void set_action(const std::string& id, const std::string& default_id);

    // Controller idle: the handler of (IDLE, GAMEPAD) and its steps.

    /// Cancels the walk on a stick move, keeps the active objects up to date, switches with the
    /// shoulders, opens the inventory (SOUTH) or acts on the current object (EAST), then drops
    /// every unused press.
    virtual void idle_gamepad();
    /// The objects within the player's reach, ordered left to right by label x (equal x by
    /// name); the still follower joins unless its label box touches another's. Writes nothing.
    std::vector<std::string> detect_active_objects();
    /// Runs the detection and brings Interface:active_objects, Interface:active_object and
    /// Interface:previous_active_object up to date; writes nothing when the list is unchanged.
    void idle_sub_update_active_objects();
    /// Moves the current object one place right (true) or left (false), wrapping around.
    void idle_sub_switch_active_object(bool right);
    /// Emits Click:play_sound and requests a rumble of (0.05, 0.05) as Gamepad:rumble.
    void click_and_rumble();
    /// Drops the face-button signals and Switch:right left unused this frame.
    void flush_gamepad_keys();

    // Handlers of the other statuses and modes; they do nothing yet.

    virtual void idle_mouse() {}
    virtual void idle_touchscreen() {}
    virtual void action_choice_mouse() {}
    virtual void action_choice_touchscreen() {}
    virtual void action_choice_gamepad() {}
    virtual void object_choice_mouse() {}
    virtual void object_choice_touchscreen() {}
    virtual void object_choice_gamepad() {}
    virtual void inventory_mouse() {}
    virtual void inventory_touchscreen() {}
    virtual void inventory_gamepad() {}
    virtual void window_mouse() {}
    virtual void window_touchscreen() {}
    virtual void window_gamepad() {}
    virtual void code_mouse() {}
    virtual void code_touchscreen() {}
    virtual void code_gamepad() {}
    virtual void dialog_mouse() {}
    virtual void dialog_touchscreen() {}
    virtual void dialog_gamepad() {}
    virtual void menu_mouse() {}
    virtual void menu_touchscreen() {}
    virtual void menu_gamepad() {}

    /// The dispatch table, for inspection.
    const Handler_table& handlers() const { return m_handlers; }
    Orvane::Status remembered_status() const { return m_status; }
    Input_mode remembered_mode() const { return m_input_mode; }
    /// Set by a controller handler that took its one step for a stick push; cleared by every
    /// begin step.
    bool stick_latch() const { return m_stick_latch; }
    void set_stick_latch(bool latched) { m_stick_latch = latched; }

  private:
    // One object seen by the detection: its label x and its entity name (the label's own).
    struct Candidate {
        double x;
        const std::string* name;
    };
    /// Fills m_candidates with the objects within reach, sorted; builds no string when the
    /// names fit the scratch buffers.
    void collect_active_objects();
    /// Whether the follower's label box touches the box of one of the first `count` candidates.
    bool follower_box_overlaps(const std::string& follower, std::size_t count);
    /// The controller begin step of OBJECT and IN_INVENTORY: the inventory item to start on.
    void begin_inventory_choice();

    Input_mode m_input_mode = MOUSE;
    Orvane::Status m_status = Orvane::Status::IDLE;
    double m_skip_message_time = 0.0;
    bool m_stick_latch = false;
    Handler_table m_handlers;

    // Scratch of the detection, kept between frames so that a frame builds no list.
    std::vector<Candidate> m_candidates;
    std::string m_scratch;
};

} // namespace Orvane::System
