#include <utility>

#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Time.h>

namespace Orvane::System {

Time::Time(Content& content, Clock::Source now, Clock::Sleeper sleeper)
    : Base(content), m_clock(std::move(now), std::move(sleeper)) {
    m_content.set_fac<Component::Debug>(Fast_access_component::GAME_DEBUG, "Game", "debug",
                                        m_content, m_clock);
    m_content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME, "Clock", "time",
                                                 0.0);
    m_content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_LATEST_ACTIVE,
                                                 "Clock", "latest_active", 0.0);
    m_content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_DISCOUNTED_TIME,
                                                 "Clock", "discounted_time", 0.0);
    m_content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_SAVED_TIME, "Clock",
                                                 "saved_time", 0.0);
}

void Time::run() {
    m_clock.update(true);
    m_skip_limiter = false;
    if (auto time = m_content.request<Component::Simple<double>>(Fast_access_component::CLOCK_TIME))
        time->set(m_clock.time());
}

} // namespace Orvane::System
