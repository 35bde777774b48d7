#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

namespace {

/// How long a pressed button flashes, in seconds.
constexpr double flash_duration = 0.1;
/// How long a result picture stays, in seconds.
constexpr double result_duration = 0.5;
/// How long after a success the lock's screen closes, in seconds.
constexpr double quit_delay = 0.1;

} // namespace

void Logic::update_code() {
    if (receive(Key::code_button_clicked)) {
        auto code = m_content.get<Component::Code>(Key::game_code);
        const std::string lock = m_content.get<Component::Image>(Key::game_window)->entity();
        auto logic_action = m_content.get<Component::Action>(Key::logic_action);

        // The pad picture shows every button pressed: cropped to this one, it lies on it.
        auto flash = m_content.get<Component::Cropped>(Key::button(lock), "image");
        flash->crop(code->xmin(), code->xmax(), code->ymin(), code->ymax());
        const Point window = m_content.get<Component::Position>(lock, "position")->value();
        m_content.set<Component::Absolute_position>(
            Key::button(lock), "position",
            Point(window.x() + code->xmin(), window.y() + code->ymin()));
        flash->on() = true;
        logic_action->schedule(now + flash_duration,
                               std::make_shared<Component::Signal>("code", "stop_flashing"));

        if (code->failure()) {
            code->reset();
            emit(Key::code_play_failure);
            show_code_result("Code_failure");
        } else if (code->success()) {
            code->reset();
            emit(Key::code_play_success);
            show_code_result("Code_success");
            solve_code_lock();
        } else {
            emit(Key::code_play_click);
        }
    }

    if (receive(Key::code_cheat)) {
        m_content.get<Component::Code>(Key::game_code)->reset();
        emit(Key::code_play_success);
        solve_code_lock();
    }

    if (receive("code", "stop_flashing")) {
        const std::string lock = m_content.get<Component::Image>(Key::game_window)->entity();
        m_content.get<Component::Image>(Key::button(lock), "image")->on() = false;
    }

    if (receive(Key::code_quit)) {
        const std::string lock = m_content.get<Component::Code>(Key::game_code)->entity();
        close_code_lock();
        launch_action(m_content.get<Component::Action>(lock, "action"));
    }
}

void Logic::show_code_result(const std::string& picture) {
    auto result = m_content.set<Component::Image>(
        "Code_result", "image", m_content.get<Component::Image>(picture, "image"));
    result->on() = true;
    m_content.get<Component::Action>(Key::logic_action)->schedule(now + result_duration, result);
}

void Logic::solve_code_lock() {
    m_content.get<Component::Action>(Key::logic_action)
        ->schedule(now + quit_delay, std::make_shared<Component::Signal>("code", "quit"));
    auto game_status = status();
    ORVANE_CHECK(game_status, "Cannot find Game:status");
    game_status->push(Status::LOCKED);
}

void Logic::close_code_lock() {
    emit(Key::interface_hide_window);
    m_content.get<Component::Code>(Key::game_code)->reset();
    remove(Key::code_hover_image, true);
    auto game_status = status();
    ORVANE_CHECK(game_status, "Cannot find Game:status");
    // The LOCKED of the success, then the IN_CODE of the open screen.
    game_status->pop();
    game_status->pop();
}

void Logic::end_code_timers() {
    auto logic_action = m_content.request<Component::Action>(Key::logic_action);
    if (!logic_action)
        return;
    bool quit = false;
    for (const auto& [t, c] : logic_action->scheduled()) {
        if (!c || t == 0)
            continue;
        if (c->entity() == "Code_result" && c->component() == "image") {
            if (m_content.request<Component::Base>("Code_result", "image") == c)
                remove(c);
        } else if (c->entity() == "code" && c->component() == "stop_flashing") {
            // A lock kept across rooms would show its pad's flash again with its window.
            if (auto window = m_content.request<Component::Image>(Key::game_window))
                if (auto flash =
                        m_content.request<Component::Image>(Key::button(window->entity()), "image"))
                    flash->on() = false;
        } else if (c->entity() == "code" && c->component() == "quit") {
            quit = true;
        }
    }
    // Closed, but its action is not launched: the new room's entry action runs instead.
    if (quit)
        close_code_lock();
}

} // namespace Orvane::System
