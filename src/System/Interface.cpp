#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
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
    std::shared_ptr<Component::Position> origin =
        m_content.request<Component::Position>(Key::inventory_origin);
    if (!origin)
        origin = m_content.set<Absolute_position>(Key::inventory_origin, Point(0, 1130));

    // its tab: the word of Inventory:label on a black background, the chamfer at its right end
    auto label = m_content.set<Image>("Inventory_label", "image",
                                      m_content.get<Component::Font>(Key::interface_font),
                                      "FFFFFF", locale_get(Key::inventory_label));
    label->set_collision(Collision_type::UNCLICKABLE);
    label->z() = Config::INTERFACE_ITEMS;
    label->set_scale(0.5 * s);
    label->set_relative_origin(0.5, 0.5);

    const int wb = int((label->width() / 2 + 20) * s);
    const int hb = int(50 * s);
    auto tab = m_content.set<Image>("Inventory_label_background", "image", wb, hb, 0, 0, 0, 255);
    tab->set_collision(Collision_type::BOX);
    tab->z() = Config::INTERFACE_BACK;
    m_content.set<Relative_position>("Inventory_label_background", "position", origin,
                                     Vector(0, -hb));
    m_content.set<Relative_position>(Key::chamfer_position, origin, Vector(wb, -hb));
    m_content.set<Relative_position>("Inventory_label", "position", origin,
                                     Vector(wb / 2, -0.5 * hb));
    auto chamfer = m_content.get<Image>(Key::chamfer_image);
    chamfer->set_collision(Collision_type::BOX);
    chamfer->set_scale(s);

    // the bar itself and its arrows
    auto bar = m_content.set<Image>("Inventory_background", "image", Config::world_width,
                                    Config::inventory_height, 0, 0, 0, 255);
    bar->z() = Config::INTERFACE_BACK;
    bar->set_collision(Collision_type::UNCLICKABLE);
    m_content.set<Relative_position>("Inventory_background", "position", origin, Vector(0, 0));
    m_content.set<Relative_position>("Left_arrow", "position", origin, Vector(20, 75));
    m_content.set<Relative_position>("Right_arrow", "position", origin, Vector(1900, 75));

    // the controller's selector stands above the bar's right end; the bar moves it
    m_content.set<Absolute_position>(Key::gamepad_action_selector_position,
                                     origin->value() + Vector(1920 - 260 * s, -180 * s));
    // stands for the cursor, whatever the cursor component becomes
    m_content.set<Component::Variable>(
        Key::selected_object_position,
        m_content.request<Component::Position>(Fast_access_component::CURSOR_POSITION));
}

void Interface::run() {
    if (receive(Key::interface_reinit))
        init();
    update_object_labels();
    update_inventory();
    update_active_objects();
    update_action_selector();
    update_notifications();
    update_object_switcher();
    update_code_hover();
    update_dialog_choices();
    update_cursor();
    // every step above has seen it; it never lasts into the next frame
    receive(Key::interface_force_refresh);
}

} // namespace Orvane::System
