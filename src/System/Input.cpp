#include <Orvane/Component/Simple.h>
#include <Orvane/System/Input.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::System {

Input::Input(Content& content) : Base(content) {
    m_content.set_fac<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION, "Stick",
                                                 "direction", Vector(0, 0));
}

void Input::run() {}

} // namespace Orvane::System
