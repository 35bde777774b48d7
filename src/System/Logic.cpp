#include <cstdlib>
#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

Logic::Logic(Content& content) : Base(content) {
    step_handlers.emplace("add", [this](const Arguments& a) { return function_add(a); });
    step_handlers.emplace("camera", [this](const Arguments& a) { return function_camera(a); });
    step_handlers.emplace("control", [this](const Arguments& a) { return function_control(a); });
    step_handlers.emplace("cutscene", [this](const Arguments& a) { return function_cutscene(a); });
    step_handlers.emplace("emit", [this](const Arguments& a) { return function_emit(a); });
    step_handlers.emplace("exit", [this](const Arguments& a) { return function_exit(a); });
    step_handlers.emplace("fadein", [this](const Arguments& a) { return function_fadein(a); });
    step_handlers.emplace("fadeout", [this](const Arguments& a) { return function_fadeout(a); });
    step_handlers.emplace("goto", [this](const Arguments& a) { return function_goto(a); });
    step_handlers.emplace("hide", [this](const Arguments& a) { return function_hide(a); });
    step_handlers.emplace("load", [this](const Arguments& a) { return function_load(a); });
    step_handlers.emplace("lock", [this](const Arguments& a) { return function_lock(a); });
    step_handlers.emplace("look", [this](const Arguments& a) { return function_look(a); });
    step_handlers.emplace("loop", [this](const Arguments& a) { return function_loop(a); });
    step_handlers.emplace("message", [this](const Arguments& a) { return function_message(a); });
    step_handlers.emplace("move", [this](const Arguments& a) { return function_move(a); });
    step_handlers.emplace("move60fps", [this](const Arguments& a) { return function_move60fps(a); });
    step_handlers.emplace("notify", [this](const Arguments& a) { return function_notify(a); });
    step_handlers.emplace("pause", [this](const Arguments& a) { return function_pause(a); });
    step_handlers.emplace("play", [this](const Arguments& a) { return function_play(a); });
    step_handlers.emplace("randomize", [this](const Arguments& a) { return function_randomize(a); });
    step_handlers.emplace("receive", [this](const Arguments& a) { return function_receive(a); });
    step_handlers.emplace("remove", [this](const Arguments& a) { return function_remove(a); });
    step_handlers.emplace("rescale", [this](const Arguments& a) { return function_rescale(a); });
    step_handlers.emplace("rescale60fps", [this](const Arguments& a) { return function_rescale60fps(a); });
    step_handlers.emplace("save", [this](const Arguments& a) { return function_save(a); });
    step_handlers.emplace("set", [this](const Arguments& a) { return function_set(a); });
    step_handlers.emplace("set12fps", [this](const Arguments& a) { return function_set12fps(a); });
    step_handlers.emplace("shake", [this](const Arguments& a) { return function_shake(a); });
    step_handlers.emplace("show", [this](const Arguments& a) { return function_show(a); });
    step_handlers.emplace("stop", [this](const Arguments& a) { return function_stop(a); });
    step_handlers.emplace("talk", [this](const Arguments& a) { return function_talk(a); });
    step_handlers.emplace("timer", [this](const Arguments& a) { return function_timer(a); });
    step_handlers.emplace("trigger", [this](const Arguments& a) { return function_trigger(a); });
    step_handlers.emplace("unlock", [this](const Arguments& a) { return function_unlock(a); });
    step_handlers.emplace("wait", [this](const Arguments& a) { return function_wait(a); });
    step_handlers.emplace("zoom", [this](const Arguments& a) { return function_zoom(a); });
    m_content.set<Component::Action>(Key::logic_action);
    m_content.set<Component::Action>(Key::notifications_action);
    m_content.set<Component::Simple<std::string>>("Hinter", "color", "FFFFFF");
}

std::string Logic::script_of(const Component::Action* action) {
    if (action == nullptr)
        return "";
    return " (script " + action->id().str() +
           (action->file().empty() ? std::string() : ", " + action->file()) + ")";
}

void Logic::check_arguments(const Arguments& args, std::size_t min, std::size_t max,
                            const char* message) const {
    ORVANE_CHECK(args.size() >= min && args.size() <= max,
                 message + script_of(current_action.get()));
}

void Logic::unknown_keyword(const std::string& keyword, const Component::Action& action) {
    check_impl(__FILE__, __LINE__, keyword + " is not a valid function" + script_of(&action));
}

namespace {

using Component::Action;

// The component stored under c's own key, as stored (conditionals not looked through).
bool stored_is(const Content& content, const std::shared_ptr<Component::Base>& c) {
    return content.request<Component::Base>(c->entity(), c->component()) == c;
}

// Ends a scheduled item: removes c when it is still the component stored under its key. One
// filed under the same key since (a second shake, a new move of the same item) is not this
// item's to end.
void remove_if_stored(Content& content, const std::shared_ptr<Component::Base>& c) {
    if (stored_is(content, c))
        content.remove(c);
}

} // namespace

void Logic::launch_action(const std::shared_ptr<Action>& action) {
    // An action without steps has nothing to run: it ends where it is launched.
    if (action->size() > 0)
        action->launch();
}

void Logic::end_scheduled(const std::shared_ptr<Action>& action) {
    // A copy: a bubble of Logic:action itself is scheduled again on it below.
    const Action::Schedule items = action->scheduled();
    action->reset_scheduled();
    auto logic_action = m_content.request<Action>(Key::logic_action);
    for (const auto& [t, c] : items) {
        if (!c)
            continue;
        if (t == 0)
            m_content.remove(c->entity(), "nofollow", true);
        else if (startswith(c->entity(), "Comment_")) {
            if (logic_action)
                logic_action->schedule(t, c);
        } else if (dynamic_cast<const Component::Signal*>(c.get()))
            m_content.set(c);
        else if (c->entity() != "wait")
            remove_if_stored(m_content, c);
    }
}

void Logic::run() {
    now = m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME);
    steps_in_frame.clear();

    update_debug_info(m_content.request<Component::Debug>(Fast_access_component::GAME_DEBUG));
    if (receive(Key::game_clear_notifications))
        clear_notifications(false);
    if (receive(Key::game_notify_end_achievements))
        notify_end_achievements();

    auto game_status = status();
    ORVANE_CHECK(game_status, "Cannot find Game:status");
    auto notifications = m_content.get<Action>(Key::notifications_action);

    // Paused frame: only notifications end.
    if (game_status->is(Status::PAUSE, Status::IN_MENU) || signal(Key::game_reset)) {
        update_scheduled(notifications, false);
        return;
    }

    // Dialog frame: the dialog's own action waits for the choice, everything else goes on.
    if (game_status->is(Status::DIALOG)) {
        update_scheduled(notifications, false);
        m_content.walk("action", [&](const Content::Component_ptr& c) {
            if (c->entity() == "Character" || c->entity() == "Logic" ||
                c->entity() == "Notifications")
                return;
            if (auto action = Component::cast<Action>(c))
                update_scheduled(action, false);
        });
        run_actions(false);
        return;
    }

    const bool in_new_room = signal(Key::game_in_new_room);
    if (in_new_room) {
        reset_all_actions();
        game_status->pop();
    }
    if (receive(Key::skip_message_create))
        push_notification(locale_get("Skip_cutscene", "text"), 5.0);
    if (receive(Key::cancel_action))
        cancel_action();
    if (auto line = m_content.request<Component::Simple<std::string>>(Key::test_console_action))
        console_action(line);
    const bool skip_dialog = receive(Key::game_skip_dialog);

    m_content.walk("action", [&](const Content::Component_ptr& c) {
        if (c->entity() == "Character")
            return;
        if (auto action = Component::cast<Action>(c))
            update_scheduled(action, skip_dialog);
    });

    if (receive(Key::game_test)) {
        // no step asks for it: its end goes on Logic:action, not on the action stepped last
        current_action = nullptr;
        function_shake({std::to_string(random_double(0, 30)), std::to_string(random_double(0, 3))});
    }

    update_character_path();
    update_code();
    if (!in_new_room)
        update_follower();

    // Room entry: the action of the origin the room was entered from.
    if (auto origin =
            m_content.request<Component::Simple<std::string>>(Key::game_new_room_origin)) {
        const std::string o = origin->value();
        auto entry = m_content.get<Action>(o, "action");
        if (o == "Saved_game") {
            // The room's own save action runs after the save game's steps. Added before the
            // launch, so that a save game without steps of its own still runs it.
            const std::string room = value<Component::Simple<std::string>>(Key::game_current_room);
            if (m_content.request<Action>(room + "_save", "action"))
                entry->add("trigger", {room + "_save"});
        }
        launch_action(entry);
        remove(Key::game_new_room_origin);
        emit(Key::game_new_room_loaded);
    }

    if (auto triggered = m_content.request<Action>(Key::character_triggered_action))
        update_action(triggered);

    const bool skip = skip_cutscene();
    run_actions(skip);
}

void Logic::update_scheduled(std::shared_ptr<Action> action, bool skip_dialog) {
    // A dialog skip removes pending bubble lines only once the current bubble has been up for
    // a quarter of a second.
    const bool dialog_skip =
        skip_dialog &&
        now - m_content.value<Component::Simple<double>>(Key::dialog_creation_time, 0.0) > 0.25;

    action->update_scheduled([&](const Action::Scheduled& item) -> bool {
        const auto& [t, c] = item;
        if (!c)
            return false;
        if (t == 0) {
            if (dynamic_cast<const Component::Path*>(c.get())) {
                if (stored_is(m_content, c))
                    return true;
                // The walk ended or was replaced: the follower follows again.
                remove(c->entity(), "nofollow", true);
                return false;
            }
            if (const auto* animation = dynamic_cast<const Component::Animation*>(c.get()))
                return !animation->is_last_frame();
            return false;
        }
        if (t > now) {
            if (dialog_skip) {
                if (contains(c->entity(), "Comment_")) {
                    remove_if_stored(m_content, c);
                    return false;
                }
                if (c->component() == "stop_talking") {
                    m_content.set(c);
                    return false;
                }
            }
            return true;
        }
        if (dynamic_cast<const Component::Signal*>(c.get())) {
            m_content.set(c);
            return false;
        }
        if (c->component() == "notification")
            // Not drawn yet: the end waits for the interface's image, while the slot lasts.
            return !notification_ended(c->entity()) && stored_is(m_content, c);
        if (c->entity() == "wait")
            return false;
        if (startswith(c->entity(), "Comment_")) {
            // A newer bubble under the same id stays.
            if (stored_is(m_content, c))
                remove(c);
            return false;
        }
        remove_if_stored(m_content, c);
        return false;
    });
}

void Logic::run_actions(bool skip) {
    // Collecting changes nothing in the store: the live map is walked.
    for (const auto& [id, c] : m_content.components("action")) {
        if (id.entity() == "Character")
            continue;
        auto action = Component::cast<Action>(c);
        if (action && action->on())
            run_list.push_back(std::move(action));
    }

    while (!run_list.empty()) {
        std::shared_ptr<Action> action = std::move(run_list.front());
        run_list.pop_front();
        if (action->on() && action->size() == 0) {
            // Launched elsewhere without steps: it ends at once.
            action->stop();
            continue;
        }

        if (skip) {
            const bool unlocked = skip_to_unlock(action);
            end_scheduled(action);
            if (action->on() && unlocked)
                skip = false;
            if (!action->on())
                continue;
        }

        if (action->ready()) {
            while (action->on() && apply_next_step(action)) {
            }
            if ((action->on() || !action->scheduled().empty()) &&
                m_content.request<Action>(action->entity(), action->component()) != action)
                m_content.set<Component::Variable>("Finishing_" + action->entity(), "action",
                                                   action);
        }
    }
}

bool Logic::apply_next_step(std::shared_ptr<Action> action) {
    current_action = action;
    if (action->size() == 0) {
        action->stop();
        return false;
    }
    std::size_t& steps = steps_in_frame[action.get()];
    ORVANE_CHECK(++steps <= max_steps_per_frame,
                 "Action " + action->id().str() + " applied more than " +
                     std::to_string(max_steps_per_frame) +
                     " steps in one frame: its script never waits (a loop without a waiting "
                     "step, or an action that triggers itself)");
    const Action::Step step = action->next_step();
    auto handler = step_handlers.find(step.function());
    if (handler == step_handlers.end())
        unknown_keyword(step.function(), *action);
    return handler->second(step.args());
}

void Logic::update_action(std::shared_ptr<Action> triggered) {
    if (auto old = m_content.request<Action>(Key::character_action)) {
        for (const auto& [t, c] : old->scheduled()) {
            if (t == 0 || !c || c->entity() == "wait")
                continue;
            if (dynamic_cast<const Component::Signal*>(c.get()))
                m_content.set(c);
            else
                remove_if_stored(m_content, c);
        }
        old->stop();
    }

    launch_action(triggered);

    // The player who already stands at an exit leaves at once, without the walk.
    if (triggered->size() > 0 && endswith(triggered->entity(), "_goto") &&
        triggered->first_step().function() == "goto" &&
        triggered->last_step().function() == "load") {
        const std::string player = value<Component::Simple<std::string>>(Key::player_name);
        const Point p = m_content.get<Component::Position>(player, "position")->value();
        const Point q =
            m_content.get<Component::Position>(triggered->target_entity(), "position")->value();
        if (std::abs(p.X() - q.X()) <= 74 && std::abs(p.Y() - q.Y()) <= 29)
            triggered->next_step();
    }

    m_content.set<Component::Variable>(Key::character_action, triggered);
    remove(Key::character_triggered_action, true);
}

void Logic::cancel_action() {
    auto logic_action = m_content.get<Action>(Key::logic_action);
    auto cancelled = m_content.request<Action>(Key::character_action);
    if (!cancelled || cancelled == logic_action)
        return;
    end_scheduled(cancelled);
    cancelled->stop();
    remove(Key::character_action);
    if (auto player = m_content.request<Component::Simple<std::string>>(Key::player_name)) {
        const std::string id = player->value();
        remove(id, "path", true);
        emit(id, "stop_walking");
    }
}

void Logic::reset_all_actions() {
    // The lock's timers sit on Logic:action, whose schedule is emptied below.
    end_code_timers();
    m_content.walk("action", [&](const Content::Component_ptr& c) {
        if (auto action = Component::cast<Action>(c))
            action->stop();
    });
    remove(Key::character_action, true);
    remove(Key::character_triggered_action, true);
}

void Logic::run_bound_action(const std::string& id, int value) {
    std::shared_ptr<Action> action = m_content.request<Action>(id, std::to_string(value));
    if (!action)
        action = m_content.request<Action>(id, "default");
    if (!action)
        return;

    const std::string name = action->id().str();
    if (bound_chain.size() >= max_bound_depth) {
        std::string chain;
        for (const std::string& link : bound_chain)
            chain += link + " -> ";
        check_impl(__FILE__, __LINE__,
                   "Bound actions nest more than " + std::to_string(max_bound_depth) +
                       " deep (a bound action sets a value of its own chain): " + chain + name);
    }
    // Popped however the run ends, also when a test's fatal handler throws.
    struct Link {
        std::vector<std::string>& chain;
        ~Link() { chain.pop_back(); }
    } link{bound_chain};
    bound_chain.push_back(name);

    launch_action(action);
    // Every step in this call: a waiting step does not hold a bound action up.
    while (action->on())
        apply_next_step(action);
    // Not in the "action" map: kept there while what it scheduled has not ended.
    if (!action->scheduled().empty())
        m_content.set<Component::Variable>("Finishing_" + id + "_" + action->component(),
                                           "action", action);
}

} // namespace Orvane::System
