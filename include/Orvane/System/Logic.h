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

    // Walking, the follower and code locks: their frame work.
    void update_character_path();
    void update_follower();
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

  protected:
    // Protected rather than private so that tests can drive the step engine through a
    // subclass.

    /// Fatal check of a handler's argument count: stops with message unless
    /// min <= args.size() <= max.
    static void check_arguments(const Arguments& args, std::size_t min, std::size_t max,
                                const char* message);
    /// Stops with "<keyword> is not a valid function".
    [[noreturn]] static void unknown_keyword(const std::string& keyword);

    /// The frame time in seconds, read from Clock:time at the start of each run().
    double now = 0;
    /// Keyword -> handler bound to this system.
    std::unordered_map<std::string, Step_handler> step_handlers;
    /// The action whose step is being applied.
    std::shared_ptr<Component::Action> current_action;
    /// Actions still to be processed by the running run_actions(), first in, first out.
    std::deque<std::shared_ptr<Component::Action>> run_list;
};

} // namespace Orvane::System
