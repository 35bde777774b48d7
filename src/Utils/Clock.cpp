#include <chrono>
#include <cmath>
#include <thread>

#include <Orvane/Utils/Clock.h>

namespace Orvane {

std::int64_t steady_milliseconds() {
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return ns.count() / 1000000;
}

void sleep_milliseconds(std::int64_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Clock::Clock(Source now, Sleeper sleeper) : m_now(std::move(now)), m_sleeper(std::move(sleeper)) {
    m_latest = m_now();
    m_origin = m_latest;
}

double Clock::get() const { return static_cast<double>(m_now()); }

void Clock::update(bool count) {
    std::int64_t now = m_now();
    if (count) {
        m_accumulated += static_cast<double>(now - m_latest);
        if (++m_frames == 60) {
            m_fps = 1000 / (m_accumulated / 60);
            m_accumulated = 0;
            m_frames = 0;
        }
    }
    m_latest = now;
    m_time = static_cast<double>(now - m_origin) / 1000;
}

void Clock::set(double t) { m_origin = m_latest - std::llround(t * 1000); }

void Clock::sleep(double s) {
    m_sleeper(static_cast<std::int64_t>(s * 1000));
    m_time = static_cast<double>(m_now() - m_origin) / 1000;
}

} // namespace Orvane
