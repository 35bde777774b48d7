#include <Orvane/Component/Action.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/error.h>

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
    m_content.set<Component::Action>("Logic", "action");
    m_content.set<Component::Action>("Notifications", "action");
    m_content.set<Component::Simple<std::string>>("Hinter", "color", "FFFFFF");
}

void Logic::check_arguments(const Arguments& args, std::size_t min, std::size_t max,
                            const char* message) {
    ORVANE_CHECK(args.size() >= min && args.size() <= max, message);
}

void Logic::unknown_keyword(const std::string& keyword) {
    check_impl(__FILE__, __LINE__, keyword + " is not a valid function");
}

void Logic::run() {}

void Logic::update_scheduled(std::shared_ptr<Component::Action> action, bool skip_dialog) {
    (void)action;
    (void)skip_dialog;
}

void Logic::run_actions(bool skip) { (void)skip; }

bool Logic::apply_next_step(std::shared_ptr<Component::Action> action) {
    (void)action;
    return false;
}

void Logic::update_action(std::shared_ptr<Component::Action> triggered) { (void)triggered; }

void Logic::cancel_action() {}

void Logic::reset_all_actions() {}

} // namespace Orvane::System
