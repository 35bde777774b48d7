#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

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
    auto tab = m_content.set<Image>(Key::inventory_label_background_image, wb, hb, 0, 0, 0, 255);
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

    init_switcher();

    // the controller's selector stands above the bar's right end; the bar moves it
    m_content.set<Absolute_position>(Key::gamepad_action_selector_position,
                                     origin->value() + Vector(1920 - 260 * s, -180 * s));
    // stands for the cursor, whatever the cursor component becomes
    m_content.set<Component::Variable>(
        Key::selected_object_position,
        m_content.request<Component::Position>(Fast_access_component::CURSOR_POSITION));
}

std::shared_ptr<Component::Relative_position>
Interface::place_switcher_label(const std::string& id, const std::string& text,
                                const Label_type& type,
                                const std::shared_ptr<Component::Position>& anchor) {
    create_label(id, text, type, Component::Collision_type::UNCLICKABLE, 1.0);
    auto global = m_content.set<Component::Relative_position>(id, "global_position", anchor);
    update_label(id, type, global, 1.0);
    return global;
}

void Interface::init_switcher() {
    using Component::Image;
    using Component::Position;
    const double s = Config::interface_scale;
    auto width = [this](const std::string& id) {
        return double(m_content.get<Image>(id + "_back", "image")->width());
    };
    auto x_of = [this](const std::string& entity, const std::string& component) {
        return m_content.get<Position>(entity, component)->value().x();
    };

    // the hint sways in the bottom-left corner
    auto anchor = wriggly_position(
        "Switcher", "position",
        std::make_shared<Component::Absolute_position>("Switcher", "position",
                                                       Point(25 * s, 1080 - 25 * s)),
        Vector(0, 0), Button_orientation::UP, true, true);

    // the key or shoulder letters, their corner on the anchor
    for (const auto& [id, text] : {std::pair<std::string, std::string>{"Keyboard_switcher_left", "Tab"},
                                   {"Gamepad_switcher_left", "L"}}) {
        auto global = place_switcher_label(id, text, Label_type::OPAQUE, anchor);
        global->set(Vector(0.25 * s * width(id),
                           -0.25 * s * m_content.get<Image>(id + "_back", "image")->height()));
    }

    // the words after them, and the right shoulder after the controller's words
    const std::string words = locale_get(Key::switch_target_text);
    const double y = m_content.get<Position>("Gamepad_switcher_left", "global_position")->value().y();
    const double keyboard_y =
        m_content.get<Position>("Keyboard_switcher_left", "global_position")->value().y();
    place_switcher_label("Keyboard_switcher_label", words, Label_type::RIGHT_OF_BUTTON, anchor)
        ->set(Point(x_of("Keyboard_switcher_left_back", "position") +
                        0.25 * s * width("Keyboard_switcher_label"),
                    keyboard_y));
    m_content.get<Component::Relative_position>("Keyboard_switcher_label", "position")
        ->set(Vector(20, 0));
    m_content.get<Component::Relative_position>("Keyboard_switcher_label_back", "position")
        ->set(Vector(0, 0));
    place_switcher_label("Gamepad_switcher_label", words, Label_type::SQUARE, anchor)
        ->set(Point(x_of("Gamepad_switcher_left_back", "position") +
                        0.25 * s * width("Gamepad_switcher_label"),
                    y));
    place_switcher_label("Gamepad_switcher_right", "R", Label_type::OPAQUE, anchor)
        ->set(Point(x_of("Gamepad_switcher_label", "global_position") +
                        0.25 * s * width("Gamepad_switcher_label"),
                    y));

    // both hints start invisible; the switcher fades them in
    auto gather = [this](const std::string& entity, std::initializer_list<const char*> members) {
        auto group = m_content.set<Component::Group>(entity, "group");
        for (const char* member : members)
            group->add(m_content.get<Component::Group>(member, "group"));
        group->apply<Image>([](const std::shared_ptr<Image>& image) { image->set_alpha(0); });
    };
    gather("Keyboard_switcher", {"Keyboard_switcher_left", "Keyboard_switcher_label"});
    gather("Gamepad_switcher",
           {"Gamepad_switcher_left", "Gamepad_switcher_label", "Gamepad_switcher_right"});
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
