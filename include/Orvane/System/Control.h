#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/System/Base.h>
#include <Orvane/Third_party/SDL_events.h>
#include <Orvane/Utils/geometry.h>
#include <Orvane/Utils/View.h>

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

    // Pointer hit testing, shared by every mouse and touchscreen handler.

    /// What a hit test asks of an image under the pointer.
    using Image_filter = std::function<bool(std::shared_ptr<Component::Image>)>;
    /// The entity of the topmost image under `position` (a screen point) that is on, not
    /// UNCLICKABLE and accepted by `accept`: the greatest depth wins, and of equal depths the
    /// one met later in the walk of the store's images. Empty when there is none. `accept` is
    /// asked only about images under the position.
    std::string first_collision(const std::shared_ptr<Component::Position>& position,
                                const Image_filter& accept);
    /// Whether the screen point `position` lies on `image` as it is drawn: its entity's
    /// position goes through the camera and the zoom unless it is an interface position; a
    /// BOX image is hit in its box, a PIXEL_PERFECT one on a set bit of its mask (the offset
    /// in the box divided by the drawn scale). The position of the image's entity must exist.
    bool collides(const std::shared_ptr<Component::Position>& position,
                  const std::shared_ptr<Component::Image>& image);

    // Pointer play while idle.

    /// Hover and click in the room: the strip along the bottom edge opens the inventory;
    /// otherwise the named object under the cursor becomes Interface:active_object and a click
    /// goes to idle_sub_click.
    virtual void idle_mouse();
    /// A touch: the bottom 50 pixels open the inventory; otherwise an object within reach (or
    /// its label) under the finger is acted on through idle_sub_click.
    virtual void idle_touchscreen();
    /// A click on the object `id` (empty: on the ground): walks, uses the held item on it,
    /// walks to a walk-to object, or opens the verb choice; removes Interface:active_object.
    void idle_sub_click(const std::string& id);

    // Pointer choices: verbs, the second object, the inventory bar.

    /// The verb under the pointer as Interface:active_button; a click picks it.
    virtual void action_choice_mouse();
    /// A press picks the verb under it.
    virtual void action_choice_touchscreen();
    /// The item to use with the room object of Interface:target_object; the arrows page.
    virtual void object_choice_mouse();
    virtual void object_choice_touchscreen();
    /// The open inventory bar: hover, page, pick an item; the pointer above the bar closes it.
    virtual void inventory_mouse();
    virtual void inventory_touchscreen();
    /// Ends the verb choice on the hit `id` (a selector image, or empty): opens the item choice
    /// ("inventory"), holds the item ("combine"), or triggers <target>_<verb>.
    void action_choice_sub_click(const std::string& id);
    /// Uses the item `id` with Interface:target_object: triggers <target>_inventory_<id>.
    void object_choice_sub_click(const std::string& id);
    /// The item `id` clicked in the bar: combined with the held item, or offered its verbs.
    void inventory_sub_click(const std::string& id);

    // Pointer play in windows, code locks, dialogs and menus.

    /// Any click closes the shown window.
    virtual void window_mouse();
    virtual void window_touchscreen();
    /// The code lock: hover (mouse only) and press its buttons; a click beside the window
    /// closes it.
    virtual void code_mouse();
    virtual void code_touchscreen();
    /// The dialog line under the pointer as Interface:active_dialog_item; a click picks it.
    virtual void dialog_mouse();
    virtual void dialog_touchscreen();
    /// The menu image under the pointer as Interface:active_menu_item; a click emits
    /// Menu:clicked.
    virtual void menu_mouse();
    virtual void menu_touchscreen();
    /// A click in the code lock: on the window (`inside`), presses the button under it;
    /// beside it, closes the lock and drops what was entered.
    void code_sub_click(bool inside);
    /// Picks the line of Interface:active_dialog_item (0 without one) as Dialog:choice.
    void dialog_sub_click();
    /// The point of the window image under the screen point `pointer`, in the picture's own
    /// pixels from its top-left corner, as the window is drawn (through its scale).
    std::pair<int, int> window_point(const Point& pointer);

    // Controller choices: every handler takes a shoulder press, a latched stick push and the
    // face button of the frame as a verb, acts, then drops what is left unused.

    /// The verb choice: a shoulder leaves it, a face button picks its verb.
    virtual void action_choice_gamepad();
    /// The item to use on Interface:target_object (or with Interface:source_object).
    virtual void object_choice_gamepad();
    /// The open inventory bar: move over the items, use, combine, look at or close.
    virtual void inventory_gamepad();
    /// The shown window: "look" or "inventory" closes it.
    virtual void window_gamepad();
    /// The code lock: the stick moves its highlight, confirm presses, cancel leaves.
    virtual void code_gamepad();
    /// The dialog lines: shoulders and stick move the highlight (wrapping), a press picks it.
    virtual void dialog_gamepad();
    /// The open menu page: shoulders, stick and face buttons as menu commands.
    virtual void menu_gamepad();

    /// The verb of the frame: the last received of Action:move, take, inventory, look (so
    /// "look" wins), empty when none was pressed.
    std::string gamepad_verb();
    /// Whether the verb confirms or cancels, by the active controller's ok_down (true when
    /// there is no Gamepad:id): SOUTH ("inventory") confirms with ok_down, EAST ("look")
    /// without.
    bool is_ok(const std::string& verb);
    bool is_notok(const std::string& verb);
    /// The latched stick readings: one answer per push, nothing more until the stick is seen
    /// back at rest.
    Event_value stick_left_right();
    Event_value stick_up_down();
    Event_value stick_left_right_up_down();
    Vector stick_direction();
    /// A verb picked in ACTION: the item choice ("inventory") or <target>_<verb>.
    void action_choice_sub_triggered(const std::string& verb);
    /// A verb in OBJECT: confirm uses the current item, cancel leaves.
    void object_choice_sub_triggered(const std::string& verb);
    /// A verb in IN_INVENTORY: look, use, combine, or close.
    void inventory_sub_triggered(const std::string& verb);
    /// Moves the current inventory item one place, without wrapping, over the item being
    /// combined; keeps it in the bar's shown nine.
    void inventory_sub_switch_active_object(bool right);
    /// The shoulders, then the stick left or right, move to the next or previous item.
    void gamepad_sub_switch_item();
    /// Moves the highlighted dialog line down or up, wrapping around.
    void dialog_sub_switch_active_object(bool down);
    /// One menu command: LEFT, RIGHT, UP_ARROW, DOWN_ARROW, EAST (confirm), SOUTH (cancel).
    void menu_sub_triggered(const Event_value& value);
    /// Moves the controller's highlight to the next or previous selectable item of the open
    /// page, breadth first, wrapping around.
    void menu_sub_switch_active_item(bool down);

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
    /// The hit test of one image against a screen point under a view.
    bool collides(const Point& pointer, const Component::Image& image, const View& view) const;
    /// Whether the screen point lies in the box `image` is drawn in, whatever its mask says.
    bool in_drawn_box(const Point& pointer, const Component::Image& image, const View& view) const;
    /// The arrows of the inventory bar page on a click: true when `id` is one of them (the
    /// frame's work is then done).
    bool page_with_arrows(const std::string& id, bool clicked);
    /// Stores the hover key `key` = id (writing nothing when it holds id already), or removes
    /// it when id is empty.
    void hover(const Store_key& key, const std::string& id);
    /// Cursor:position.
    std::shared_ptr<Component::Position> pointer() const;
    /// The bar's item or arrow under `cursor`, the item being combined left out.
    std::string bar_hit(const std::shared_ptr<Component::Position>& cursor);
    /// The bar item to hover given the hit `id`: with nothing hit, the item hovered already
    /// while the pointer stays in its drawn box; otherwise `id`.
    std::string bar_hover(const std::shared_ptr<Component::Position>& cursor,
                          const std::string& id);
    /// The item choice of OBJECT, after the click was taken (or not) from the store.
    void object_choice(bool clicked, bool test_no_interact);

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
