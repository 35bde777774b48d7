#include <cstdint>
#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Dialog.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>
#include <Orvane/Utils/integer.h>

namespace Orvane::System {

using Component::Action;
using String = Component::Simple<std::string>;

bool Logic::function_control(const Arguments& args) {
    check_arguments(args, 1, 2, "function_control takes 1 or 2 arguments");
    const std::string& player = args[0];
    if (auto name = m_content.request<String>(Key::player_name)) {
        m_content.get<String>(name->value(), "state")->set("default");
        name->set(player);
    } else
        m_content.set<String>(Key::player_name, player);
    m_content.get<String>(player, "state")->set("player");
    if (args.size() == 2)
        m_content.set<String>(Key::follower_name, args[1]);
    else
        remove(Key::follower_name, true);
    return true;
}

bool Logic::function_cutscene(const Arguments& /*args*/) {
    receive(Key::time_speedup);
    status()->push(Status::CUTSCENE);
    return true;
}

bool Logic::function_emit(const Arguments& args) {
    check_arguments(args, 1, 1, "function_emit takes 1 argument");
    emit(args[0], "signal");
    return true;
}

bool Logic::function_exit(const Arguments& /*args*/) {
    emit(Key::game_exit);
    return true;
}

bool Logic::function_load(const Arguments& args) {
    check_arguments(args, 2, 2, "function_load takes 2 arguments");
    m_content.set<String>(Key::game_new_room, args[0]);
    m_content.set<String>(Key::game_new_room_origin, args[1]);
    auto game_status = status();
    if (game_status->is(Status::CUTSCENE))
        game_status->pop();
    game_status->push(Status::LOCKED);
    return true;
}

bool Logic::function_lock(const Arguments& /*args*/) {
    status()->push(Status::LOCKED);
    return true;
}

bool Logic::function_loop(const Arguments& /*args*/) {
    current_action->stop();
    launch_action(current_action);
    return true;
}

bool Logic::function_message(const Arguments& args) {
    check_arguments(args, 1, 1, "function_message takes 1 argument");
    m_content.get<String>(args[0], "text");
    if (signal(Key::game_no_menu)) {
        // no page would show the message, nor close it and let the script go on
        if (!message_without_menu_warned)
            warning("The message " + args[0] +
                    " is not shown: the game has no menus (no_menu in data/init.yaml)");
        message_without_menu_warned = true;
        return true;
    }
    // The stored component itself: a text that follows the language stays one.
    m_content.set<Component::Variable>("Message", "text",
                                       m_content.request<Component::Base>(args[0], "text"));
    m_content.set<String>(Key::game_triggered_menu, "Message");
    emit("Show", "menu");
    return false;
}

bool Logic::function_receive(const Arguments& args) {
    check_arguments(args, 1, 3, "function_receive takes 1, 2 or 3 argument");
    const bool got = receive(args[0], "signal");
    const std::size_t started = got ? 1 : 2;
    if (args.size() > started) {
        auto action = m_content.get<Action>(args[started], "action");
        launch_action(action);
        run_list.push_back(action);
    }
    return true;
}

bool Logic::function_save(const Arguments& /*args*/) {
    emit(Key::game_save);
    m_content.set<String>(Key::savegame_id, "auto");
    push_notification(locale_get("Saving", "text"), 2.0);
    return true;
}

bool Logic::function_timer(const Arguments& args) {
    check_arguments(args, 1, 1, "function_timer takes 1 argument");
    m_content.set<Component::Simple<double>>(args[0], "init_value", now);
    return true;
}

bool Logic::function_trigger(const Arguments& args) {
    check_arguments(args, 1, SIZE_MAX, "function_trigger takes at least 1 argument");
    const std::string& id = args[0];
    if (m_content.request<Component::Dialog>(id, "dialog"))
        return subfunction_trigger_dialog(args);
    if (auto action = m_content.request<Action>(id, "action")) {
        const bool from_player =
            current_action && m_content.request<Action>(Key::character_action) == current_action;
        launch_action(action);
        run_list.push_back(action);
        if (args.size() == 1 && from_player)
            m_content.set<Component::Variable>(Key::character_action, action);
        return true;
    }
    m_content.set<String>(Key::game_triggered_menu, id);
    emit("Show", "menu");
    return true;
}

bool Logic::function_unlock(const Arguments& /*args*/) {
    status()->pop();
    return true;
}

bool Logic::function_wait(const Arguments& args) {
    check_arguments(args, 0, 2, "function_wait takes at most 2 arguments");
    if (args.empty())
        return false;
    double due = 0;
    if (args.size() == 1)
        due = now + to_double(args[0]);
    else {
        due = value<Component::Simple<double>>(args[0], "init_value") + to_double(args[1]);
        // What the action still waited for ends now, as if cancelled.
        end_scheduled(current_action);
    }
    current_action->schedule(due, std::make_shared<Component::Base>("wait", "wait"));
    return false;
}

namespace {

// An integer "add" or "set" of `script` whose result lies beyond the int range.
void warn_saturated(const std::shared_ptr<Component::Action>& script, const std::string& keyword,
                    const std::vector<std::string>& args, int held) {
    warning((script ? script->id().str() : std::string("A script")) + ": \"" + keyword +
            "\" of " + args[1] + " on " + args[0] +
            " goes beyond the integer range; the value is held at " + std::to_string(held));
}

} // namespace

bool Logic::function_add(const Arguments& args) {
    check_arguments(args, 2, 2, "function_add takes 2 arguments");
    const std::string& id = args[0];
    if (auto number = m_content.request<Component::Simple<int>>(id, "value")) {
        const Saturated_int sum = saturating_add(number->value(), args[1]);
        if (sum.saturated)
            warn_saturated(current_action, "add", args, sum.value);
        number->set(sum.value);
        run_bound_action(id, number->value());
        return true;
    }
    auto list = m_content.get_or_set<Component::Vector<std::string>>(id, "list");
    // A list change does not mark the list as altered.
    const bool altered = list->was_altered();
    std::vector<std::string> items = list->value();
    items.push_back(args[1]);
    list->set(items);
    if (!altered)
        list->mark_as_unaltered();
    return true;
}

bool Logic::function_randomize(const Arguments& args) {
    check_arguments(args, 2, SIZE_MAX, "function_randomize takes more than 1 argument");
    auto state = m_content.get<String>(args[0], "state");
    state->set(args[static_cast<std::size_t>(random_int(1, static_cast<int>(args.size())))]);
    return true;
}

bool Logic::function_remove(const Arguments& args) {
    check_arguments(args, 2, 2, "function_remove takes 2 3 arguments");
    m_content.get_or_set<Component::Vector<std::string>>(args[0], "list")->remove(args[1]);
    return true;
}

bool Logic::function_set(const Arguments& args) {
    check_arguments(args, 2, 3, "function_set takes 2 or 3 arguments");
    const std::string& id = args[0];
    if (auto number = m_content.request<Component::Simple<int>>(id, "value")) {
        const Saturated_int value = leading_int(args[1]);
        if (value.saturated)
            warn_saturated(current_action, "set", args, value.value);
        number->set(value.value);
        run_bound_action(id, number->value());
        return true;
    }
    auto state = m_content.request<String>(id, "state");
    if (!state)
        return true;
    std::string next = args[1];
    if (args.size() == 3) {
        if (state->value() != args[1])
            return true;
        next = args[2];
    }

    const bool was_carried = startswith(state->value(), "inventory");
    const bool carried = startswith(next, "inventory");
    if (was_carried && !carried)
        m_content.get<Component::Inventory>(Key::game_inventory)->remove(id);
    state->set(next);
    if (carried) {
        if (!was_carried) {
            auto inventory = m_content.get<Component::Inventory>(Key::game_inventory);
            inventory->add(id);
            // Scrolled to the end, so that the new item shows.
            while (inventory->next()) {
            }
            if (!signal(Key::game_in_new_room))
                push_notification(
                    locale_get("You_got", "text") + " " + locale_get(id, "name") + ".", 3.0);
        }
        auto image = m_content.get<Component::Image>(id, "image");
        image->set_relative_origin(0.5, 0.5);
        image->z() = Config::Depth::INTERFACE_ITEMS;
        image->on() = false;
    }
    return true;
}

} // namespace Orvane::System
