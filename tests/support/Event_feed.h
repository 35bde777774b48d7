#pragma once

#include <cstddef>
#include <deque>

#include <Orvane/Third_party/SDL_events.h>

namespace Orvane::Test {

/// Input events fed to every SDL_events object (the input system's included) in place of SDL's
/// queue while the feed lives: next_event() gives them in the order pushed, then EMPTY events.
/// The source it replaced comes back when it is destroyed, so feeds nest.
class Event_feed {
  public:
    Event_feed();
    ~Event_feed();
    Event_feed(const Event_feed&) = delete;
    Event_feed& operator=(const Event_feed&) = delete;

    void push(const Event& event) { m_events.push_back(event); }
    /// Events pushed and not read yet.
    std::size_t pending() const { return m_events.size(); }

  private:
    std::deque<Event> m_events;
    Third_party::SDL_events::Source m_previous;
};

} // namespace Orvane::Test
