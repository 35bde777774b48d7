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
class Logic : public Base {
  public:
    using Arguments = std::vector<std::string>;
    using Step_handler = std::function<bool(const Arguments&)>;

    /// Builds the keyword table, and creates Logic:action and Notifications:action (empty
    /// actions) and Hinter:color "FFFFFF".
    explicit Logic(Content& content);

    void run() override;

    // The step engine.
    void update_scheduled(std::shared_ptr<Component::Action> action, bool skip_dialog);
    void run_actions(bool skip);
    bool apply_next_step(std::shared_ptr<Component::Action> action);
    void update_action(std::shared_ptr<Component::Action> triggered);
    void cancel_action();
    void reset_all_actions();

    // Notifications and achievements.
    std::string push_notification(const std::string& text, double seconds);
    void clear_notifications(bool force);
    void notify_end_achievements();

    // Cutscene skipping, the debug overlay and the test console.
    bool skip_cutscene();
    void skip_step(const Component::Action::Step& step);
    void update_debug_info(std::shared_ptr<Component::Debug> debug);
    void console_action(std::shared_ptr<Component::Simple<std::string>> line);

  protected:
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

  public:
    // Walking, the follower and code locks: their frame work.
    void update_character_path();
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

    // Step handlers: control flow and game flow.
    bool function_control(const Arguments& args);
    bool function_cutscene(const Arguments& args);
    bool function_emit(const Arguments& args);
    bool function_exit(const Arguments& args);
    bool function_load(const Arguments& args);
    bool function_lock(const Arguments& args);
    bool function_loop(const Arguments& args);
    bool function_message(const Arguments& args);
    bool function_receive(const Arguments& args);
    bool function_save(const Arguments& args);
    bool function_timer(const Arguments& args);
    bool function_trigger(const Arguments& args);
    bool function_unlock(const Arguments& args);
    bool function_wait(const Arguments& args);
    // States, values and lists.
    bool function_add(const Arguments& args);
    bool function_randomize(const Arguments& args);
    bool function_remove(const Arguments& args);
    bool function_set(const Arguments& args);
    // Notifications.
    bool function_notify(const Arguments& args);
    // Camera, fades, moves and rescales.
    bool function_camera(const Arguments& args);
    bool function_fadein(const Arguments& args);
    bool function_fadeout(const Arguments& args);
    bool function_move(const Arguments& args);
    bool function_move60fps(const Arguments& args);
    bool function_rescale(const Arguments& args);
    bool function_rescale60fps(const Arguments& args);
    bool function_shake(const Arguments& args);
    bool function_zoom(const Arguments& args);
    /// The screen fade of "fadein" and "fadeout": Camera:fade = (now, now + duration, fade_in),
    /// replacing any earlier one, and the current action held until now + duration. True.
    bool subfunction_fade(bool fade_in, double duration);
    // Show, hide, play, stop, pause and state changes at 12 frames a second.
    bool function_hide(const Arguments& args);
    bool function_pause(const Arguments& args);
    bool function_play(const Arguments& args);
    bool function_set12fps(const Arguments& args);
    bool function_show(const Arguments& args);
    bool function_stop(const Arguments& args);
    // Walking and looking, speech.
    bool function_goto(const Arguments& args);
    bool function_look(const Arguments& args);
    bool function_talk(const Arguments& args);

    // Dialogs.
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
    // Protected rather than private so that tests can drive the step engine through a
    // subclass.

    /// Fatal check of a handler's argument count: stops with message unless
    /// min <= args.size() <= max.
    static void check_arguments(const Arguments& args, std::size_t min, std::size_t max,
                                const char* message);
    /// Stops with "<keyword> is not a valid function".
    [[noreturn]] static void unknown_keyword(const std::string& keyword);

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
