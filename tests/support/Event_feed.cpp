#include "Event_feed.h"

#include <utility>

namespace Orvane::Test {

Event_feed::Event_feed() {
    m_previous = Third_party::SDL_events::set_source([this] {
        if (m_events.empty())
            return Event(Event_type::EMPTY, Event_value::NONE, -1, -1);
        const Event next = m_events.front();
        m_events.pop_front();
        return next;
    });
}

Event_feed::~Event_feed() { Third_party::SDL_events::set_source(std::move(m_previous)); }

} // namespace Orvane::Test
