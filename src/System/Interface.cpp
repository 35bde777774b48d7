#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>

namespace Orvane::System {

Interface::Interface(Content& content) : Base(content) {}

void Interface::init() {
    using Component::Absolute_position;
    using Component::Collision_type;
    using Component::Image;
    using Component::Relative_position;
    const double s = Config::interface_scale;

    // the black layer over the whole view that the screen fades bring in and out; hidden
    auto blackscreen = m_content.set<Image>(Key::blackscreen_image, Config::world_width,
                                            Config::world_height, 0, 0, 0, 255);
    blackscreen->on() = false;
    blackscreen->z() = Config::MENU_OVERLAY;
    blackscreen->set_collision(Collision_type::UNCLICKABLE);
    m_content.set<Absolute_position>("Blackscreen", "position", Point(0, 0));

    // the inventory bar, closed below the view; a new start leaves it where it is
    auto origin = m_content.request<Absolute_position>("Inventory", "origin");
    if (!origin)
        origin = m_content.set<Absolute_position>("Inventory", "origin", Point(0, 1130));

    // its tab: the word of Inventory:label on a black background, the chamfer at its right end;
    // made from the init file's interface pictures and font, so not before that file is read
    if (m_content.request<Image>(Key::chamfer_image)) {
        auto label = m_content.set<Image>("Inventory_label", "image",
                                          m_content.get<Component::Font>(Key::interface_font),
                                          "FFFFFF", locale_get(Key::inventory_label));
        label->set_collision(Collision_type::UNCLICKABLE);
        label->z() = Config::INTERFACE_ITEMS;
        label->set_scale(0.5 * s);
        label->set_relative_origin(0.5, 0.5);

        const int wb = int((label->width() / 2 + 20) * s);
        const int hb = int(50 * s);
        auto tab =
            m_content.set<Image>("Inventory_label_background", "image", wb, hb, 0, 0, 0, 255);
        tab->set_collision(Collision_type::BOX);
        tab->z() = Config::INTERFACE_BACK;
        m_content.set<Relative_position>("Inventory_label_background", "position", origin,
                                         Vector(0, -hb));
        m_content.set<Relative_position>("Chamfer", "position", origin, Vector(wb, -hb));
        m_content.set<Relative_position>("Inventory_label", "position", origin,
                                         Vector(wb / 2, -0.5 * hb));
        auto chamfer = m_content.get<Image>(Key::chamfer_image);
        chamfer->set_collision(Collision_type::BOX);
        chamfer->set_scale(s);
    }

    // the bar itself and its arrows
    auto bar = m_content.set<Image>("Inventory_background", "image", Config::world_width,
                                    Config::inventory_height, 0, 0, 0, 255);
    bar->z() = Config::INTERFACE_BACK;
    bar->set_collision(Collision_type::UNCLICKABLE);
    m_content.set<Relative_position>("Inventory_background", "position", origin, Vector(0, 0));
    m_content.set<Relative_position>("Left_arrow", "position", origin, Vector(20, 75));
    m_content.set<Relative_position>("Right_arrow", "position", origin, Vector(1900, 75));
}

void Interface::run() {}

} // namespace Orvane::System
