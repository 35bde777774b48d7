#include <Orvane/Component/Simple.h>
#include <Orvane/System/Input.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

Input::Input(Content& content) : Base(content) {
    m_content.set_fac<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION, "Stick",
                                                 "direction", Vector(0, 0));
}

void Input::run() {
    m_events.clear();
    while (Event event = m_source.next_event()) {
        if (event.type() == Event_type::WINDOW && event.value() == Event_value::EXIT)
            emit("Game", "exit");
        m_events.push_back(event);
    }
}

} // namespace Orvane::System
