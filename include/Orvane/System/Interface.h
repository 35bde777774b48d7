#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Config.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

/// The screen interface: object labels, the action selector, the inventory bar,
/// notifications, the object switcher, code-lock hover, dialog choices and the cursor. Every
/// frame it turns what Control, Logic and Menu wrote into the store into interface entities;
/// besides the few members below it keeps no state of its own. All its positions are interface
/// positions (fixed on the 1920 x 1080 view); all sizes are multiplied by
/// Config::interface_scale when they are built.
class Interface : public Base {
  public:
    /// Kind of the action selector.
    enum class Selector_type : int {
        NONE = 0,                    ///< nothing shown
        IDLE = 1,                    ///< controller, idle: the verbs of the active object
        OKNOTOK = 2,                 ///< controller, second object, window or code lock
        OKCONTINUE = 3,              ///< controller, in a menu
        ACTION_CHOICE = 4,           ///< a verb for an object of the room
        INVENTORY_ACTION_CHOICE = 5, ///< a verb for an inventory item (mouse, touchscreen)
        IN_INVENTORY = 6             ///< controller, inventory open: the verbs of the item
    };

    /// The ends, margin and placement of a label (see create_label and update_label).
    enum class Label_type : int {
        PLAIN = 0,           ///< two circle ends, centred
        OPAQUE = 1,          ///< two circle ends, width from the byte count, opaque, one higher
        SQUARE = 2,          ///< no ends, centred
        OPEN_LEFT = 3,       ///< a right end only, extends to the right
        OPEN_RIGHT = 4,      ///< a left end only, extends to the left
        RIGHT_OF_BUTTON = 5, ///< beside a button, extends to the right
        LEFT_OF_BUTTON = 6,  ///< beside a button, extends to the left
        GOTO_LEFT = 7,       ///< an arrow pointing left (outside mouse mode), extends right
        GOTO_RIGHT = 8       ///< an arrow pointing right (outside mouse mode), extends left
    };

    /// How a label appears (see animate_label).
    enum class Animation_style : int { NONE = 0, MOVE = 1, FADE = 2, FADE_IN_PLACE = 3, ZOOM = 4 };

    /// The place of a verb around the selector's anchor; also the direction in which a wriggly
    /// position swings.
    enum class Button_orientation : int {
        UP = 0,
        RIGHT = 1,
        DOWN = 2,
        LEFT = 3,
        UP_FAR = 4,
        UP_RIGHT = 5,
        DOWN_RIGHT = 6,
        DOWN_FAR = 7,
        DOWN_LEFT = 8,
        UP_LEFT = 9,
        LEFT_FAR = 10,
        RIGHT_FAR = 11,
        UP_LEFT_STEEP = 12,
        UP_RIGHT_STEEP = 13,
        DOWN_LEFT_STEEP = 14,
        DOWN_RIGHT_STEEP = 15
    };

    /// Binds the system to the store: members empty, selector type NONE. Creates nothing.
    explicit Interface(Content& content);

    /// Creates the fixed interface entities (black layer, inventory bar and its tab, object
    /// switcher hints, selector anchors) with the current scale, font and translations; keeps
    /// Inventory:origin when present. Runs at start-up and on every Interface:reinit. Fatal
    /// "Cannot find ..." without Interface:font, Inventory:label, Chamfer:image,
    /// Switch_target:text or the circle ends.
    void init() override;
    /// The frame: init() on Interface:reinit, then every update in a fixed order, then the end
    /// of Interface:force_refresh (so each update of the frame sees it, and none of the next).
    void run() override;

    // ---- Frame steps, in the order run() calls them ----

    /// Shows the name label of the pointed object (mouse) or of the nearby ones.
    void update_object_labels();
    /// Moves the inventory bar and shows its items.
    void update_inventory();
    /// Labels of the active objects in touchscreen and controller play.
    void update_active_objects();
    /// Chooses and shows the action selector; keeps the hovered verb's button lit.
    void update_action_selector();
    /// Shows and fades out notifications.
    void update_notifications();
    /// Fades the controller's object-switcher hint in and out.
    void update_object_switcher();
    /// The hovered button of a code lock.
    void update_code_hover();
    /// The dialog choice lines.
    void update_dialog_choices();
    /// The cursor's look and visibility.
    void update_cursor();

    // ---- Labels ----
    //
    // A label `<id>` is the group `<id>:group` of its text image `<id>:image` (absent for an
    // empty text) and its back `<id>_back:image`, drawn at `<id>:position` and
    // `<id>_back:position`. Widths are native pixels of the images; on screen they are
    // multiplied by 0.5 x Config::interface_scale x k.

    /// Builds the group, text and back of `<id>` (no positions). The text is capitalised; a
    /// "Playstation_..." text shows the glyph image of that name. Scale 0.5 x k x interface
    /// scale. Fatal without Interface:font or the end images the type needs.
    void create_label(const std::string& id, std::string text, const Label_type& type,
                      const Component::Collision_type& collision, double k);
    /// Finishes the label's running animations (their end values are kept), rescales it for k
    /// and places its text and back relative to `anchor` (offsets by type). Fatal without
    /// `<id>_back:image`.
    void update_label(const std::string& id, const Label_type& type,
                      std::shared_ptr<Component::Position> anchor, double k);
    /// Starts the 0.25-second appearance, glide or zoom of the label chosen by style and glide;
    /// a glide moves `<id>:global_position` to target.
    void animate_label(const std::string& id, const Animation_style& style, bool glide,
                       const Point& target);
    /// A position that swings gently around base + offset along the orientation (a symmetric
    /// sway when random_phase, its phase then drawn from the entity's name); period about 4.7
    /// seconds, amplitude 5 x interface scale. Stored under (entity, component) when insert.
    std::shared_ptr<Component::Functional_position>
    wriggly_position(const std::string& entity, const std::string& component,
                     std::shared_ptr<Component::Position> base, const Vector& offset,
                     const Button_orientation& orientation, bool insert, bool random_phase);
    /// Anchors the label `<id>_label` of object `<id>` anew at the object's current label
    /// point, swaying, and rescales it for k. Does nothing while the inventory is open. Fatal
    /// without `<id>:label`.
    void update_label_position(const std::string& id, double k);
    /// Removes the label; with fade its images live on for 0.25 seconds as `<e>_old` copies
    /// fading out, so that the id can be used again at once. Nothing without `<id>:group`.
    void delete_label(const std::string& id, bool fade);
    /// Whether the backs of the labels a and b overlap at the scale of a k = 1 label (touching
    /// counts); false when either has no back.
    bool labels_intersect(const std::string& a, const std::string& b);

    /// The back of a label, named (entity, "image"): the `left` end (may be null), a middle
    /// bar of bar_width by 100 native pixels in the opaque colour (r, g, b), black unless
    /// given (none when bar_width is 0), then the `right` end (may be null), side by side,
    /// centred vertically. However long, the bar keeps its full width (it is made of pieces
    /// that the rectangle maker stores at full resolution). Used by create_label and by the
    /// notification backs. Needs at least one part; the ends are not changed.
    static std::shared_ptr<Component::Image>
    join_label_back(const std::string& entity, const std::shared_ptr<Component::Image>& left,
                    int bar_width, const std::shared_ptr<Component::Image>& right, int r = 0,
                    int g = 0, int b = 0);

    // ---- Action selector ----

    /// Shows the selector of that type for that target; rebuilds only when either differs
    /// from the last build or Interface:force_refresh is present.
    void set_action_selector(const Selector_type& type, const std::string& id);
    /// Fades out every verb shown and empties the four slots; the current type and id stay.
    void reset_action_selector();
    /// Builds one verb `<id>_<action>` (a disabled one, `Default_<action>`, when id is empty):
    /// its label and its button around anchor.
    void generate_action(const std::string& id, const std::string& action,
                         const Button_orientation& orientation, const std::string& button,
                         const std::shared_ptr<Component::Position>& anchor,
                         const Animation_style& style);
    /// The placement of an orientation: slot, label offset, button offset and start offset
    /// (multiplied by the interface scale) and, for the sideways places, the label type.
    void compute_action_positions(const Button_orientation& orientation, std::size_t& slot,
                                  Vector& label_offset, Vector& button_offset,
                                  Vector& start_offset, Label_type& type);

    // ---- State, read by tests ----

    const std::string& action_slot(std::size_t i) const { return m_action_slots[i]; }
    Selector_type selector_type() const { return m_selector_type; }
    const std::string& selector_id() const { return m_selector_id; }

  private:
    /// Interface:input_mode; the mouse when it is not set.
    Input_mode input_mode() const;
    /// Clock:time; 0 when it is not set.
    double clock_time() const;
    /// Seconds since the player's last input at time `now`; while the game's first idle span
    /// runs (First_idle:time, set when the game starts in controller play) it counts as long
    /// idle, and once the span is over First_idle:time is removed.
    double idle_seconds(double now);
    void zoom_label(const std::string& id, const std::shared_ptr<Component::Image>& back);
    void init_switcher();
    std::shared_ptr<Component::Relative_position>
    place_switcher_label(const std::string& id, const std::string& text, const Label_type& type,
                         const std::shared_ptr<Component::Position>& anchor);
    void place_room_selector(const std::string& target, const std::array<std::string, 4>& buttons);
    void make_button(const std::string& name, const std::string& text,
                     const std::shared_ptr<Component::Position>& anchor, const Vector& offset,
                     const Vector& start, const Button_orientation& orientation,
                     const Animation_style& style);
    void place_inventory_selector(const std::string& target);
    void highlight_hovered_verb();

    /// Id of the object whose name label is shown.
    std::string labelled_object;
    /// Ids of the objects whose labels are shown in touchscreen and controller play.
    std::vector<std::string> labelled_objects;
    /// The action key of the verb shown in each of the selector's four slots ("" for none).
    std::array<std::string, 4> m_action_slots;
    Selector_type m_selector_type = Selector_type::NONE;
    std::string m_selector_id;

    // Inventory bar and notifications

    /// Builds the banner of the notification `entity` ("Notification_<n>") showing `text`: the
    /// text, a star for an achievement (Notification_<n>:is_achievement, consumed) and the pill
    /// behind them, in the row of n (from the top, or from the bottom in a cutscene), fading
    /// in. Fatal "Cannot find ..." without Interface:font, the star or the pill's ends.
    void build_notification(const std::string& entity, const std::string& text);

    // Object labels
  public:
    /// Creates (or creates again) the label `<id>_label` of object `<id>`, placed for the
    /// status and input mode: above the item in the open inventory bar, beside the cursor with
    /// the mouse, swaying at the object's label point otherwise; then fades it in. Fatal
    /// without `<id>:name`.
    void create_object_label(const std::string& id);
    /// Sets the highlight of `<id>:image` (0 none, 255 lit) when that image exists.
    void highlight_object(const std::string& id, unsigned char value);
    /// The object whose label is shown with the mouse, or the current one with a controller.
    const std::string& labelled() const { return labelled_object; }
    /// The objects whose labels are shown in touchscreen and controller play.
    const std::vector<std::string>& labelled_list() const { return labelled_objects; }

  private:
    /// Drops the label and highlight of object x (faded out).
    void drop_object_label(const std::string& x);
    /// Drops every object label shown and forgets them.
    void drop_object_labels();

    // Switcher
  public:
    /// Fades every image of `<id>:group` in (to alpha 255, 100 for label backs) or out over
    /// 0.25 seconds, unless the fade of `<id>_left` is still running.
    void fade_action_selector(const std::string& id, bool fade_in);

  private:
    // Windows, dialog lines and cursor
    /// Number of dialog choice lines built for the list shown (0 when none are shown).
    std::size_t m_dialog_lines = 0;
};

} // namespace Orvane::System
