#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Component {
class Debug;
class Image;
class Position;
template <typename T> class Simple;
} // namespace Orvane::Component

namespace Orvane::System {

/// The logic system: runs the game's scripts step by step, with dialogs, movement, the
/// follower, notifications and code locks.
///
/// A step handler (function_<keyword>) applies one step of the current action and returns true
/// when the action goes on at once with its next step, false when it waits (for a timer, a
/// walk, a menu or a dialog choice). A wrong argument count is a fatal check naming the keyword.
class Logic : public Base {
  public:
    using Arguments = std::vector<std::string>;
    using Step_handler = std::function<bool(const Arguments&)>;

    /// Builds the keyword table, and creates Logic:action and Notifications:action (empty
    /// actions) and Hinter:color "FFFFFF".
    explicit Logic(Content& content);

    /// One frame: reads Clock:time into `now`, serves the notification requests, then, in a
    /// paused or menu frame or while Game:reset is pending, only ends notifications; in a
    /// dialog frame updates every action but the player's and the dialog's own and runs them;
    /// otherwise serves a room entry, the skip message, a cancel and the test console, updates
    /// every action's schedule, walks, code locks and the follower, launches the entry action
    /// of a new room and the player's triggered action, skips a cutscene on request and runs
    /// the actions.
    void run() override;

    // ---- The step engine ----

    /// Ends the items of `action`'s schedule that are due at `now`: signals are stored, other
    /// items removed from the store (speech bubbles only while still the stored ones); items
    /// at time 0 (walks, animations) end when their walk is over or their animation shows its
    /// last frame. With `skip_dialog`, once the bubble has been up a quarter of a second,
    /// pending bubble lines go and pending stop_talking signals fire at once.
    void update_scheduled(std::shared_ptr<Component::Action> action, bool skip_dialog);
    /// Applies the steps of every running action (the player's walk action excepted) until
    /// each waits or ends, actions started on the way included; with `skip`, each action first
    /// skips to its next "unlock" (see skip_to_unlock). A running action no longer stored
    /// under its key is kept as Finishing_<entity>:action while it runs or holds items.
    void run_actions(bool skip);
    /// Applies the next step of `action` (which becomes the current action) through its
    /// handler and returns the handler's answer; an action without steps stops, false. More
    /// than max_steps_per_frame steps of one action in one frame, or an unknown keyword, is a
    /// fatal check.
    bool apply_next_step(std::shared_ptr<Component::Action> action);
    /// Makes `triggered` the player's action (Character:action) in place of the running one,
    /// whose scheduled items end, and launches it; an exit the player already stands at
    /// (within 74 x 29 pixels) is left without the walk. Removes Character:triggered_action.
    void update_action(std::shared_ptr<Component::Action> triggered);
    /// Cancels the player's action (not Logic:action): its scheduled items end, it stops, and
    /// the player stops walking.
    void cancel_action();
    /// Stops every action, ending the code lock's pending timers, and removes the player's
    /// running and triggered actions.
    void reset_all_actions();

    // ---- Notifications and achievements ----

    /// Shows `text` as a notification in the first free slot Notification_<n> for `seconds`
    /// (its end on Notifications:action), with a short rumble in gamepad mode; returns the
    /// slot's entity.
    std::string push_notification(const std::string& text, double seconds);
    /// Fades out the shown notifications: all of them when `force`, otherwise those shown for
    /// more than a quarter of a second.
    void clear_notifications(bool force);
    /// At the game's end, announces ACH_END when the game has one, and every ACH_<id> whose
    /// value is over the whole seconds played.
    void notify_end_achievements();

    // ---- Cutscene skipping, the debug overlay and the test console ----

    /// In a cutscene, on Game:skip_cutscene (consumed): clears the notifications, pops the
    /// cutscene status and puts every walk, move, rescale and zoom change at its end. True
    /// when it skipped; outside a cutscene the request is left for later, false.
    bool skip_cutscene();
    /// The end state of one skipped step: moves, rescales, the camera, zoom, walks, hiding,
    /// stopping and state changes are applied at once; any other step is dropped.
    void skip_step(const Component::Action::Step& step);
    /// Draws the debug text as Debug:image at the top-left corner while `debug` is on, and
    /// hides it when off; nothing without `debug`.
    void update_debug_info(std::shared_ptr<Component::Debug> debug);
    /// Runs the console line `line` ("keyword arguments...") as Console:action when the
    /// keyword has a handler ("info" runs nothing), then removes Test:console_action.
    void console_action(std::shared_ptr<Component::Simple<std::string>> line);

    // ---- Walking, the follower and code locks: their frame work ----

    /// On Cursor:clicked, walks the player to the cursor; on Stick:moved, walks the player
    /// along the stick's direction, or stops the walk when the stick is centred.
    void update_character_path();
    /// Once a second after the follower appears, and every second after that, lets the
    /// follower (Follower:name, unless it has <id>:nofollow) decide whether to follow.
    void update_follower();
    /// The open code lock's frame work, on its signals: a press flashes the button and judges
    /// the sequence (click, failure picture, or success picture, LOCKED and a quit 0.1 s later);
    /// code:cheat solves the lock; the flash end hides the flash; the quit closes the screen and
    /// launches the lock's action. Its timers are scheduled on Logic:action.
    void update_code();
    /// Stores a walk of `id` (empty: the player) to the target's point as `<id>:path`; a
    /// screen point is taken into the scene first. True when the character has a path to it
    /// on return (a new one, or the running one kept for a goal less than 5 pixels away).
    bool compute_path_from_target(std::shared_ptr<Component::Position> target, std::string id);
    /// Stores a walk of the player from its feet along `direction`; true when stored.
    bool compute_path_from_direction(const Vector& direction);
    /// One steering decision for the follower `id`: walk to the player when too far, else stop.
    void follow(const std::string& id);

    // ---- Step handlers: control flow and game flow ----

    /// "control player [follower]": `player` becomes Player:name (the former player's state
    /// back to "default", the new one's to "player") and the follower is set or cleared.
    bool function_control(const Arguments& args);
    /// "cutscene": pushes CUTSCENE and drops a pending Time:speedup.
    bool function_cutscene(const Arguments& args);
    /// "emit id": emits <id>:signal.
    bool function_emit(const Arguments& args);
    /// "exit": emits Game:exit.
    bool function_exit(const Arguments& args);
    /// "load room origin": requests the room (Game:new_room, Game:new_room_origin), leaves a
    /// cutscene and pushes LOCKED.
    bool function_load(const Arguments& args);
    /// "lock": pushes LOCKED.
    bool function_lock(const Arguments& args);
    /// "loop": starts the current action again at its first step.
    bool function_loop(const Arguments& args);
    /// "message id": shows the text <id>:text in the message menu; waits. In a game without
    /// menus (Game:no_menu) no page would show it or close: the first such message is warned
    /// about, naming the text, and the script goes on at once.
    bool function_message(const Arguments& args);
    /// "receive id [if_received] [if_not]": consumes <id>:signal and launches the action named
    /// for the outcome, when there is one.
    bool function_receive(const Arguments& args);
    /// "save": requests the automatic save and notifies it.
    bool function_save(const Arguments& args);
    /// "timer id": starts the timer <id>:init_value at now.
    bool function_timer(const Arguments& args);
    /// "trigger id [...]": plays the dialog id, launches the action id (the player's action
    /// when the player's action triggered it with no more argument), or else opens the menu id.
    bool function_trigger(const Arguments& args);
    /// "unlock": pops the status.
    bool function_unlock(const Arguments& args);
    /// "wait" waits until what the action has scheduled has ended; "wait seconds" until
    /// `seconds` from now; "wait timer seconds" until `seconds` after the timer started,
    /// ending first what the action still waited for.
    bool function_wait(const Arguments& args);

    // ---- Step handlers: states, values and lists ----

    /// "add id n|item": adds n to the integer <id>:value and runs its bound action, or appends
    /// the item to the list <id>:list (made when absent) without marking it altered.
    bool function_add(const Arguments& args);
    /// "randomize id state...": sets <id>:state to one of the states, at random.
    bool function_randomize(const Arguments& args);
    /// "remove id item": removes the item from the list <id>:list.
    bool function_remove(const Arguments& args);
    /// "set id value" or "set id from to": sets the integer <id>:value (running its bound
    /// action) or the state <id>:state (the second form only from `from`); an "inventory"
    /// state puts the item in the inventory (notified outside a room entry), another state
    /// takes it out.
    bool function_set(const Arguments& args);

    // ---- Step handlers: notifications ----

    /// "notify id seconds" shows the text id for `seconds`; "notify id" unlocks the
    /// achievement id (<id>:done, then <id>:stored when the platform's achievements took it,
    /// otherwise an announcement).
    bool function_notify(const Arguments& args);

    // ---- Step handlers: camera, fades, moves and rescales ----

    /// "camera x [y [seconds]]": glides the camera to (x, y) in one second, or moves it over
    /// `seconds` (at once for 0), the action waiting.
    bool function_camera(const Arguments& args);
    /// "fadein seconds" fades the screen in (see subfunction_fade); "fadein id source seconds"
    /// fades a music source in.
    bool function_fadein(const Arguments& args);
    /// "fadeout seconds" fades the screen out; "fadeout id source seconds" fades a music
    /// source out.
    bool function_fadeout(const Arguments& args);
    /// "move id x y z [seconds]": places a character at once (with a fixed depth or its
    /// facing), or moves an item to (x, y) at depth z, over `seconds` at 12 frames a second.
    bool function_move(const Arguments& args);
    /// "move60fps id x y z seconds": moves an item to (x, y) over `seconds` at the frame rate,
    /// keeping its depth.
    bool function_move60fps(const Arguments& args);
    /// "rescale id scale [seconds]": sets the item's scale, or changes it over whole animation
    /// frames.
    bool function_rescale(const Arguments& args);
    /// "rescale60fps id scale seconds": changes the item's scale over `seconds` at the frame
    /// rate.
    bool function_rescale60fps(const Arguments& args);
    /// "shake intensity seconds": shakes the camera (and rumbles in gamepad mode).
    bool function_shake(const Arguments& args);
    /// "zoom factor [seconds]": sets the camera zoom, or changes it over `seconds`.
    bool function_zoom(const Arguments& args);
    /// The screen fade of "fadein" and "fadeout": Camera:fade = (now, now + duration, fade_in),
    /// replacing any earlier one, and the current action held until now + duration. True.
    bool subfunction_fade(bool fade_in, double duration);

    // ---- Step handlers: show, hide, play, stop, pause and states at 12 frames a second ----

    /// "hide id": hides the item's image, or its group at the next animation frame.
    bool function_hide(const Arguments& args);
    /// "pause id": emits <id>:pause.
    bool function_pause(const Arguments& args);
    /// "play id [...]": plays a sound (panned to the side of the player's target), a music
    /// (faded in over a second argument), an animation (held until its last frame unless it
    /// loops) or a character's own animation ([name, seconds] for the player, or [character,
    /// name, seconds]).
    bool function_play(const Arguments& args);
    /// "set12fps id state": sets <id>:state at the next animation frame.
    bool function_set12fps(const Arguments& args);
    /// "show id": shows the item's image or group, or opens a window (IN_WINDOW) or a code
    /// lock (IN_CODE).
    bool function_show(const Arguments& args);
    /// "stop music" stops the music; "stop id" stops the item's (or the player's) animation.
    bool function_stop(const Arguments& args);

    // ---- Step handlers: walking, looking and speech ----

    /// "goto [character] [x y | item]": walks the character (the player by default) to the
    /// point, or to the view point of the item (the player's target by default); the action
    /// waits for the walk.
    bool function_goto(const Arguments& args);
    /// "look [character] [target]": turns the character (the player by default) towards the
    /// target's position, the clicked item or the cursor; a carried item is not looked at.
    bool function_look(const Arguments& args);
    /// "talk [speaker] line [seconds]": shows the speaker's line (the player's by default) in
    /// a speech bubble above its label for `seconds` or its reading time, and moves its mouth.
    bool function_talk(const Arguments& args);

    // ---- Dialogs ----

    /// Plays the dialog args[0] on from where it stands, up to its next choice point or its
    /// end: the steps of one stretch (looks, the line, its signal, a wait and a trigger that
    /// goes on) replace the steps of Logic:action, whose schedule is kept, and that action
    /// becomes the player's next action. Without a second argument the dialog starts (LOCKED
    /// pushed, at the saved position if any); "continue" goes past the current line, or takes
    /// the picked Dialog:choice; any other second argument resumes at the current vertex. At a
    /// choice point the offered lines go to Dialog:choices with DIALOG pushed; a choice point
    /// that offers nothing ends the dialog as its exit does (LOCKED popped, the end action
    /// launched). A picked choice outside the offered ones is dropped and the same choices
    /// are offered again. Always false: the calling action waits.
    bool subfunction_trigger_dialog(const Arguments& args);
    /// Replaces the speech bubble with the lines of `text` in the colour of `id` (<id>:color):
    /// outlined text images Comment_<n>:image at speech scale, centred on their position,
    /// cut into lines no wider than the interface size allows, appended to `images` in order.
    /// Dialog:creation_time is set to now.
    void create_dialog(const std::string& id, const std::string& text,
                       std::vector<std::shared_ptr<Component::Image>>& images);

  protected:
    // What tests drive through a subclass: the step engine's inner parts and its state.

    /// Fatal check of a handler's argument count: stops with message unless
    /// min <= args.size() <= max, followed by the script being run and its file.
    void check_arguments(const Arguments& args, std::size_t min, std::size_t max,
                         const char* message) const;
    /// Stops with "<keyword> is not a valid function", followed by the script and its file.
    [[noreturn]] static void unknown_keyword(const std::string& keyword,
                                             const Component::Action& action);
    /// " (script <entity>:<component>, <file>)" for the script `action`; nothing for none.
    static std::string script_of(const Component::Action* action);

    /// Most steps that one action may apply in one frame; beyond, its script never waits.
    static constexpr std::size_t max_steps_per_frame = 10000;
    /// Most bound-action runs nested in one another (a bound action setting a value).
    static constexpr std::size_t max_bound_depth = 32;

    /// Launches action at its first step; an action without steps ends at once instead.
    static void launch_action(const std::shared_ptr<Component::Action>& action);
    /// Empties action's schedule, ending each item as a cancelled action's items end: speech
    /// bubbles move to Logic:action and end on time, signals fire, walks give the follower
    /// back, other components are removed.
    void end_scheduled(const std::shared_ptr<Component::Action>& action);
    /// Runs to its end, within this call, the action bound to value `value` of item `id`
    /// (<id>:<value>, else <id>:default); one that leaves scheduled items is kept as
    /// Finishing_<id>_<value>:action until they end.
    void run_bound_action(const std::string& id, int value);

    /// The due end of notification slot `id` (an entity Notification_<n>): once the screen
    /// interface has made the slot's image, asks it to fade the slot out and returns true (the
    /// end is done); without an image yet returns false, and the end must stay scheduled, or
    /// the slot would never be freed.
    bool notification_ended(const std::string& id);
    /// The skip of one running action: takes its steps up to its next "unlock" and passes every
    /// other step, its last one included, to skip_step. True when an "unlock" was taken (it is
    /// not applied: the skip already left the cutscene).
    bool skip_to_unlock(const std::shared_ptr<Component::Action>& action);
    /// The skipped "goto": places the walker at once where function_goto would walk it.
    void skip_goto(const Arguments& args);
    /// Places a walking character at the end of its walk at once, through function_move,
    /// facing right when `right` is "true"; a fixed depth (<id>:z, <id>:z_rescaled) stays, as
    /// it does when the walk is played.
    void place_walker(const std::string& id, const Point& point, const std::string& right);

    /// The frame time in seconds, read from Clock:time at the start of each run().
    double now = 0;
    /// Keyword -> handler bound to this system.
    std::unordered_map<std::string, Step_handler> step_handlers;
    /// The action whose step is being applied.
    std::shared_ptr<Component::Action> current_action;
    /// Actions still to be processed by the running run_actions(), first in, first out.
    std::deque<std::shared_ptr<Component::Action>> run_list;
    /// Steps applied per action since the start of the frame.
    std::unordered_map<const Component::Action*, std::size_t> steps_in_frame;
    /// The bound actions being run, outermost first, as "<id>:<value>".
    std::vector<std::string> bound_chain;
    /// Whether a message was skipped in a game without menus (warned about once).
    bool message_without_menu_warned = false;

  private:
    // Code locks.

    /// Shows Code_result:image, sharing the graphics of <picture>:image, and schedules its
    /// removal on Logic:action half a second from now.
    void show_code_result(const std::string& picture);
    /// A solved lock: schedules code:quit on Logic:action 0.1 s from now and pushes LOCKED.
    void solve_code_lock();
    /// Closes the open lock: asks the interface to hide its window, clears the entered
    /// sequence, drops Code_hover:image and pops LOCKED and IN_CODE. Launches nothing.
    void close_code_lock();
    /// Before a room entry empties Logic:action's schedule: a pending result picture is
    /// removed, a pending flash end switches the flash off, and a pending code:quit closes the
    /// lock without launching its action.
    void end_code_timers();
};

} // namespace Orvane::System
