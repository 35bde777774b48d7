#include <memory>
#include <string>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Component::Collision_type;
using Third_party::Yaml;

namespace {

const Yaml::Node& list(const Yaml& init, const std::string& key, std::size_t count) {
    const Yaml::Node& items = init[key];
    (void)items[count - 1];
    return items;
}

std::string interface_picture(const Yaml::Node& node) {
    return node.string("images", "interface", "png");
}

std::string sound(const Yaml::Node& node) { return node.string("sounds", "effects", "ogg"); }

} // namespace

std::size_t File_IO::fast_forward_choice() const {
    const bool wanted = signal(Key::time_speedup_wanted);
    auto game_status = status();
    if (game_status && game_status->is(Status::CUTSCENE))
        return wanted ? 1 : 2;
    auto mode = m_content.request<Component::Simple<Input_mode>>(
        Fast_access_component::INTERFACE_INPUT_MODE);
    if (mode && mode->value() == TOUCHSCREEN)
        return 0;
    return wanted ? 0 : 2;
}

void File_IO::read_init_interface(const Yaml& init) {
    m_content.set<Component::Sound>("Click", "sound", sound(init["click_sound"]));
    m_content.set<Component::Sound>("Step", "sound", sound(init["step_sound"]));

    auto hidden_image = [this](const std::string& entity, const Yaml::Node& node, int z,
                               Collision_type collision, bool highlight) {
        auto image = m_content.set<Component::Image>(entity, "image", interface_picture(node), z,
                                                     collision, highlight);
        image->on() = false;
        return image;
    };

    const Yaml::Node& circle = list(init, "circle", 5);
    hidden_image("Left_circle", circle[0], 1, Collision_type::BOX, true);
    hidden_image("Right_circle", circle[1], 1, Collision_type::BOX, true);
    hidden_image(std::string(Key::white_left_circle_image.entity), circle[3], 1,
                 Collision_type::BOX, true);
    hidden_image(std::string(Key::white_right_circle_image.entity), circle[4], 1,
                 Collision_type::BOX, true);

    const Yaml::Node& playstation = list(init, "playstation", 4);
    const char* buttons[] = {"Playstation_triangle", "Playstation_square", "Playstation_cross",
                             "Playstation_circle"};
    for (int i = 0; i < 4; ++i)
        hidden_image(buttons[i], playstation[i], 1, Collision_type::UNCLICKABLE, true);

    const Yaml::Node& fast_forward = list(init, "fast_forward", 2);
    auto chooser = m_content.set<Component::Functional_conditional>(
        "Fast_forward", "image", [this](const std::string&) { return fast_forward_choice(); },
        "");
    for (int i = 0; i < 2; ++i) {
        auto image = std::make_shared<Component::Image>("Fast_forward", "image",
                                                        interface_picture(fast_forward[i]),
                                                        Config::FAST_FORWARD, Collision_type::BOX);
        image->set_relative_origin(1, 0);
        image->set_alpha(64);
        chooser->add(image);
    }
    chooser->add(nullptr);
    m_content.set<Component::Absolute_position>("Fast_forward", "position", Point(1900, 20));

    auto background = hidden_image(std::string(Key::menu_background_image.entity),
                                   init["menu_background"], 0, Collision_type::UNCLICKABLE, false);
    background->z() = Config::MENU_BACKGROUND;
    background->set_relative_origin(0.5, 0.5);
    m_content.set<Component::Absolute_position>(Key::menu_background_position, Point(960, 540));

    hidden_image(std::string(Key::menu_logo_image.entity), init["menu_logo"], 0,
                 Collision_type::UNCLICKABLE, false);

    const Yaml::Node& arrows = list(init, "menu_arrows", 2);
    hidden_image(std::string(Key::menu_left_arrow_image.entity), arrows[0], 0,
                 Collision_type::UNCLICKABLE, false)
        ->set_relative_origin(0, 0.5);
    hidden_image(std::string(Key::menu_right_arrow_image.entity), arrows[1], 0,
                 Collision_type::UNCLICKABLE, false)
        ->set_relative_origin(1, 0.5);

    const Yaml::Node& oknotok = list(init, "menu_oknotok", 2);
    hidden_image("Menu_ok", oknotok[0], 0, Collision_type::UNCLICKABLE, false)
        ->set_relative_origin(0.5, 0.5);
    // the menus read the cancel picture under this name
    hidden_image("Menu_canel", oknotok[1], 0, Collision_type::UNCLICKABLE, false)
        ->set_relative_origin(0.5, 0.5);

    const Yaml::Node& menu_buttons = list(init, "menu_buttons", 2);
    hidden_image(std::string(Key::menu_main_button_image.entity), menu_buttons[0], 1,
                 Collision_type::BOX, false)
        ->set_relative_origin(0.5, 0.5);
    hidden_image(std::string(Key::menu_settings_button_image.entity), menu_buttons[1], 1,
                 Collision_type::BOX, false)
        ->set_relative_origin(0.5, 0.5);

    const Yaml::Node& support = list(init, "menu_support", 2);
    auto maker = [](const std::string& entity, int z, Collision_type collision) {
        return [entity, z, collision](const std::string& file) {
            auto image = std::make_shared<Component::Image>(entity, "image", file, z, collision);
            image->set_relative_origin(0.5, 0.5);
            image->on() = false;
            return image;
        };
    };
    const std::string text(Key::support_text_image.entity);
    const std::string button(Key::support_button_image.entity);
    load_locale_dependent_image(text, "image", interface_picture(support[0]),
                                maker(text, Config::MENU_TEXTS, Collision_type::UNCLICKABLE), true);
    load_locale_dependent_image(button, "image", interface_picture(support[1]),
                                maker(button, Config::MENU_BUTTONS, Collision_type::BOX), true);
}

} // namespace Orvane::System
