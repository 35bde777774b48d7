#include <Orvane/Component/Simple.h>
#include <Orvane/System/Control.h>

namespace Orvane::System {

Control::Control(Content& content) : Base(content) {}

void Control::init() {
    m_input_mode =
        m_content.value<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE);
    m_status = status()->value();
}

void Control::run() {}

} // namespace Orvane::System
