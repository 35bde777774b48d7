#pragma once

#include <array>
#include <vector>

#include <Orvane/System/Base.h>
#include <Orvane/Third_party/SDL_events.h>

namespace Orvane::System {

/// The input system: turns the frame's window and device events into store signals and
/// components and chooses the input mode.
class Input : public Base {
  public:
    /// Number of keys and buttons the system keeps a pressed flag for.
    static constexpr std::size_t number_of_keys = 65;

    /// Creates its event source, an empty event list, all key flags false, stick values 0, and
    /// Stick:direction (0, 0) in its fast-access slot.
    explicit Input(Content& content);

    void run() override;

  private:
    Third_party::SDL_events m_source;
    std::vector<Event> m_events;
    std::array<bool, number_of_keys> m_keys{};
    double m_stick_x = 0.0;
    double m_stick_y = 0.0;
};

} // namespace Orvane::System
