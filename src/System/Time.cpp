#include <utility>

#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Time.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

namespace {

using Seconds = Component::Simple<double>;

// Displays measured faster than this are capped at 60 frames per second.
constexpr double capped_above_hz = 70;
// The shortest frame once the cap is on.
constexpr double shortest_frame = 1.0 / 60;
// How long the display's rate is measured.
constexpr double measured_seconds = 5;

} // namespace

Time::Time(Content& content, Clock::Source now, Clock::Sleeper sleeper)
    : Base(content), m_clock(std::move(now), std::move(sleeper)) {
    m_content.set_fac<Component::Debug>(Fast_access_component::GAME_DEBUG, Key::game_debug,
                                        m_content, m_clock);
    m_content.set_fac<Seconds>(Fast_access_component::CLOCK_TIME, Key::clock_time, 0.0);
    m_content.set_fac<Seconds>(Fast_access_component::CLOCK_LATEST_ACTIVE, Key::clock_latest_active,
                               0.0);
    m_content.set_fac<Seconds>(Fast_access_component::CLOCK_DISCOUNTED_TIME,
                               Key::clock_discounted_time, 0.0);
    m_content.set_fac<Seconds>(Fast_access_component::CLOCK_SAVED_TIME, Key::clock_saved_time, 0.0);
}

std::shared_ptr<Seconds> Time::clock_slot(Fast_access_component slot) const {
    auto c = m_content.request<Seconds>(slot);
    ORVANE_CHECK(c, "Fast-access slot " + fast_access_name(slot) + " is empty");
    return c;
}

void Time::discount(double dt) {
    auto discounted = clock_slot(Fast_access_component::CLOCK_DISCOUNTED_TIME);
    discounted->set(discounted->value() + dt);
}

void Time::run() {
    m_clock.update(true);
    if (!m_skip_limiter)
        limit_fps();
    m_skip_limiter = false;
    // The clock's time from here on; it changes when the clock is moved below.
    double t = m_clock.time();

    const auto status = this->status();
    const auto status_is = [&status](Orvane::Status s) { return status && status->is(s); };

    // No fast-forward during cutscenes.
    if (status_is(Orvane::Status::CUTSCENE))
        receive(Key::time_speedup);

    // Pause. It is settled before the fast-forward so that a fast-forward begun or ended while
    // the game was paused is counted on the clock as it was when the pause began.
    if (status_is(Orvane::Status::PAUSE)) {
        m_content.get_or_set<Seconds>("Time", "begin_pause", t);
        return; // Clock:time stands still
    }
    if (auto begin_pause = m_content.request<Seconds>("Time", "begin_pause")) {
        // The pause just ended: the clock resumes from where it stopped.
        m_clock.set(begin_pause->value());
        m_clock.update(false);
        remove(begin_pause);
        t = m_clock.time();
    }

    // Fast-forward: the clock itself keeps the real rate; Clock:time runs at twice its rate
    // from the start of the fast-forward.
    double now = t;
    if (signal(Key::time_speedup)) {
        const double begin = m_content.get_or_set<Seconds>("Time", "begin_speedup", t)->value();
        now = begin + 2 * (t - begin);
    } else if (auto begin_speedup = m_content.request<Seconds>("Time", "begin_speedup")) {
        // The fast-forward just ended: the clock jumps to the accelerated time so that
        // Clock:time goes on from there, and the extra is left out of play time.
        const double begin = begin_speedup->value();
        const double accelerated = begin + 2 * (t - begin);
        const double jump = accelerated - t;
        discount(jump);
        m_clock.set(accelerated);
        remove(begin_speedup);
        // An open menu or loading period is measured on the moved clock: it moves too, so
        // that the jump, discounted just now, is not discounted again when the period closes.
        if (auto menu_start = m_content.request<Seconds>("Time", "in_menu_start"))
            menu_start->set(menu_start->value() + jump);
        t = accelerated;
        now = accelerated;
    }

    clock_slot(Fast_access_component::CLOCK_TIME)->set(now);

    // A restart counts play time from 0. A menu or loading period left open across it counts
    // only from the restart, or its close would discount time that is no longer in play time.
    if (signal(Key::game_reset)) {
        clock_slot(Fast_access_component::CLOCK_DISCOUNTED_TIME)->set(t);
        clock_slot(Fast_access_component::CLOCK_SAVED_TIME)->set(0);
        if (auto menu_start = m_content.request<Seconds>("Time", "in_menu_start"))
            menu_start->set(t);
    }

    // Menus and room loads are not play time. A save closes the period so that the saved play
    // time is exact; the next frame opens a new one while the menu is still shown.
    if (!signal(Key::game_save) &&
        (status_is(Orvane::Status::IN_MENU) ||
         m_content.request<Component::Simple<std::string>>(Key::game_new_room))) {
        m_content.get_or_set<Seconds>("Time", "in_menu_start", t);
        return;
    }
    if (auto menu_start = m_content.request<Seconds>("Time", "in_menu_start")) {
        discount(t - menu_start->value());
        remove(menu_start);
    }
}

void Time::limit_fps() {
    const double real = m_clock.get() / 1000;
    if (!m_needs_update) {
        if (!m_game_started) {
            // The measurement begins once the first room has started.
            if (signal(Key::game_new_room_loaded)) {
                m_latest_refresh = real;
                m_refresh_time = 0;
                m_nb_refresh = 0;
                m_game_started = true;
            }
            return;
        }
        if (m_clock.time() == 0)
            return;
        m_refresh_time += real - m_latest_refresh;
        ++m_nb_refresh;
        m_latest_refresh = real;
        if (m_refresh_time <= measured_seconds)
            return;
        m_refresh_time /= m_nb_refresh; // the mean frame interval
        if (1 / m_refresh_time > capped_above_hz)
            m_needs_limits = true;
        m_needs_update = true;
    }
    if (m_needs_limits) {
        const double d = real - m_latest_refresh;
        if (d < shortest_frame)
            m_clock.sleep(shortest_frame - d);
        m_latest_refresh = m_clock.get() / 1000;
    }
}

} // namespace Orvane::System
