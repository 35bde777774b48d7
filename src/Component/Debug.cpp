#include <algorithm>

#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/Utils/Clock.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Component {

namespace {

/// At least two digits.
std::string two_digits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

} // namespace

Debug::Debug(const std::string& entity, const std::string& component, Content& content,
             Clock& clock)
    : Boolean(entity, component, false), m_content(content), m_clock(clock) {}

void Debug::start_loop() {
    m_work_start = m_clock.get();
    m_started = true;
}

void Debug::end_loop() {
    // The first frame is drawn before any start_loop: its work would be counted from the time
    // source's zero (its whole uptime), making the first block's share read 100%.
    if (!m_started)
        return;
    m_accumulated += m_clock.get() - m_work_start;
    if (++m_frames == 60) {
        m_cpu = std::min(1.0, (m_accumulated / 60) / (1000 / m_clock.fps()));
        m_accumulated = 0;
        m_frames = 0;
    }
}

std::string Debug::in_game_time() const {
    const double t = m_content.value<Simple<double>>(Fast_access_component::CLOCK_SAVED_TIME) +
                     m_clock.time() -
                     m_content.value<Simple<double>>(Fast_access_component::CLOCK_DISCOUNTED_TIME);
    const int s = int(t);
    return (s < 36000 ? "0" : "") + std::to_string(s / 3600) + ":" + two_digits((s / 60) % 60) +
           ":" + two_digits(s % 60);
}

std::string Debug::debug_str() const {
    auto clock_value = [this](Fast_access_component slot) {
        return std::to_string(m_content.value<Simple<double>>(slot));
    };
    std::string out = "[Debug info]\n";
    out += "Clock time = " + clock_value(Fast_access_component::CLOCK_TIME) + "\n";
    out += "Saved time = " + clock_value(Fast_access_component::CLOCK_SAVED_TIME) + "\n";
    out += "Discounted time = " + clock_value(Fast_access_component::CLOCK_DISCOUNTED_TIME) + "\n";
    out += "In game time = " + in_game_time() + "\n";
    out += "FPS = " + std::to_string(round(m_clock.fps())) + "Hz\n";
    out += "CPU = " + std::to_string(round(m_cpu * 100)) + "%\n";

    const auto status = m_content.request<Base>(Fast_access_component::GAME_STATUS);
    ORVANE_CHECK(status,
          "Fast-access slot " + fast_access_name(Fast_access_component::GAME_STATUS) + " is empty");
    out += status->str() + "\n\n";

    std::size_t count = 0;
    for (const auto& map : m_content)
        count += map.size();
    out += std::to_string(count) + " components in memory\n";

    if (const auto player = m_content.request<Simple<std::string>>(Key::player_name)) {
        const std::string body = Key::body(player->value());
        if (const auto image = m_content.request<Image>(body, "image")) {
            const Point p = m_content.get<Position>(body, "position")->value();
            out += "Player position = [" + std::to_string(p.x()) + ", " + std::to_string(p.y()) +
                   ", " + std::to_string(image->z()) + "]\n";
            out += "Player scale = " + std::to_string(image->scale()) + "\n";
        }
    }
    return out;
}

} // namespace Orvane::Component
