#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Config.h>
#include <Orvane/System/Interface.h>

namespace Orvane::System {

Interface::Interface(Content& content) : Base(content) {}

void Interface::init() {
    // the black layer over the whole view that the screen fades bring in and out; hidden
    auto blackscreen = m_content.set<Component::Image>(
        "Blackscreen", "image", Config::world_width, Config::world_height, 0, 0, 0, 255);
    blackscreen->on() = false;
    blackscreen->z() = Config::MENU_OVERLAY;
    blackscreen->set_collision(Component::Collision_type::UNCLICKABLE);
    m_content.set<Component::Absolute_position>("Blackscreen", "position", Point(0, 0));
}

void Interface::run() {}

} // namespace Orvane::System
