#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Menu.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Utils/helpers.h>

#include "Menu__layout.h"

namespace Orvane::System {

using Component::Collision_type;
using Component::Image;
using Component::Position;

namespace {

using Text = Component::Simple<std::string>;
using Number = Component::Simple<int>;
using Locales = Component::Vector<std::string>;

/// Widest drawn entry line, in scene pixels.
constexpr double max_line_width = 415;

/// Shrinks a text image's scale so that it draws at most max_line_width wide.
void fit(Image& image) {
    if (image.scale() * image.width() > max_line_width)
        image.set_scale(max_line_width / image.width());
}

/// A copy of an arrow picture for a setting row, clickable by its box.
std::shared_ptr<Image> store_arrow(Content& content, const std::string& entity,
                                   const std::shared_ptr<Image>& picture) {
    auto arrow = content.set<Image>(entity, "image", picture);
    arrow->z() = Config::MENU_TEXTS;
    arrow->set_relative_origin(0.5, 0.5);
    arrow->set_collision(Collision_type::BOX);
    return arrow;
}

/// A reused entry part moved to its row of the new build: an entry may change rows between
/// builds (a load list gaining the automatic save, phone numbers in a new order), and its
/// button would otherwise stay over another entry. Only a position on Menu:reference moves.
std::shared_ptr<Position> placed_again(const std::shared_ptr<Position>& position, double x,
                                       double y) {
    if (auto relative = std::dynamic_pointer_cast<Component::Relative_position>(position))
        relative->set(Orvane::Vector(x, y));
    return position;
}

/// The game's locale ids with their descriptions, in the locale file's order.
std::vector<std::pair<std::string, std::string>> described_locales(const Content& content) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& id : content.get<Locales>(Key::game_available_locales)->value())
        out.emplace_back(id,
                         content.get<Text>(Key::locale_entity(id), "description")->value());
    return out;
}

/// The values a setting row steps through, in order.
std::vector<std::string> setting_values(const Content& content, const std::string& setting) {
    if (setting == "Language") {
        std::vector<std::string> out;
        for (const auto& [id, description] : described_locales(content))
            out.push_back(description);
        return out;
    }
    if (setting == "Fullscreen")
        return {"Yes", "No"};
    if (setting == "Interface_scale")
        return {"Tiny", "Small", "Large", "Huge"};
    if (setting == "Text_speed")
        return {"Slow", "Medium_speed", "Fast"};
    if (setting == "Music_volume" || setting == "Sound_volume")
        return {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100"};
    if (setting == "Gamepad_style")
        return {"Xbox", "Nintendo", "Playstation", "Empty"};
    if (setting == "Gamepad_orient")
        return {"Ok_right", "Ok_down"};
    return {};
}

} // namespace

void Menu::make_settings_item(Component::Menu::Vertex_wrapper vertex, const std::string& setting,
                              int y) {
    auto font = m_content.get<Component::Font>(Key::interface_light_font);

    const auto [button, button_position] = make_settings_button(setting, y);
    vertex.init(button, button_position);
    set<Text>(setting, "effect", setting);
    vertex.split(Split_direction::HORIZONTALLY, 4);

    const auto [title, title_position] =
        make_settings_title(setting, "setting", y, locale_get(setting, "text"));
    vertex[0].init(title, title_position);

    const std::vector<std::string> values = setting_values(m_content, setting);
    auto shown_at = Menu_layout::store_position(m_content, setting, 35, y + 75);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string& v = values[i];
        std::string label = v;
        if (auto text = m_content.request<Text>(v, "text"))
            label = locale(text->value());
        else if (is_int(v))
            label = v + " %";
        const std::string entity = setting + "_" + v;
        auto image = Menu_layout::store_text(m_content, entity, font, label, 0.45, 0, 0.5);
        set<Component::Variable>(entity, "position", shown_at);
        if (i == 0)
            vertex[1].init(image, shown_at);
        else
            vertex[1].add(image);
    }

    const std::string left = setting + "_left_arrow";
    const std::string right = setting + "_right_arrow";
    vertex[2].init(store_arrow(m_content, left, m_content.get<Image>(Key::menu_left_arrow_image)),
                   Menu_layout::store_position(m_content, left, 385, y + 60));
    vertex[3].init(store_arrow(m_content, right, m_content.get<Image>(Key::menu_right_arrow_image)),
                   Menu_layout::store_position(m_content, right, 435, y + 60));
}

Menu::Placed_image Menu::make_settings_button(const std::string& id, int y) {
    const std::string entity = Key::button(id);
    if (auto image = m_content.request<Image>(entity, "image"))
        return {image, placed_again(m_content.get<Position>(entity, "position"), 240, y + 50)};
    auto image = set<Image>(entity, "image", m_content.get<Image>(Key::menu_settings_button_image));
    image->z() = Config::MENU_BUTTONS;
    image->set_relative_origin(0.5, 0.5);
    image->on() = false;
    return {image, Menu_layout::store_position(m_content, entity, 240, y + 50)};
}

Menu::Placed_image Menu::make_settings_title(const std::string& id, const std::string& suffix,
                                             int y, const std::string& text) {
    auto font = m_content.get<Component::Font>(Key::interface_font);
    const std::string entity = id + "_" + suffix;
    if (auto image = m_content.request<Image>(id, "image"))
        return {image, placed_again(m_content.get<Position>(entity, "position"), 35, y + 35)};
    auto image = Menu_layout::store_text(m_content, entity, font, text, 0.5, 0, 0.5);
    fit(*image);
    return {image, Menu_layout::store_position(m_content, entity, 35, y + 35)};
}

Menu::Placed_image Menu::make_settings_subtitle(const std::string& id, const std::string& suffix,
                                                int y, const std::string& text) {
    auto font = m_content.get<Component::Font>(Key::interface_light_font);
    const std::string entity = id + "_" + suffix;
    if (auto image = m_content.request<Image>(id + "_number", "image"))
        return {image, placed_again(m_content.get<Position>(entity, "position"), 35, y + 75)};
    auto image = Menu_layout::store_text(m_content, entity, font, text, 0.45, 0, 0.5);
    fit(*image);
    return {image, Menu_layout::store_position(m_content, entity, 35, y + 75)};
}

void Menu::apply_setting(const std::string& setting, const std::string& value) {
    if (setting == "Language") {
        for (const auto& [id, description] : described_locales(m_content)) {
            if (description != value)
                continue;
            m_content.request<Text>(Fast_access_component::GAME_CURRENT_LOCALE)->set(id);
            break;
        }
        for (const char* page : Config::menus)
            delete_menu(page);
        emit(Key::interface_reinit);
        init();
        show_menu("Settings");
        emit(Key::game_name_changed);
    } else if (setting == "Fullscreen") {
        m_content.get<Component::Boolean>(Key::window_fullscreen)->set(value == "Yes");
        emit(Key::window_toggle_fullscreen);
    } else if (setting == "Interface_scale") {
        auto scale = m_content.get<Number>(Key::interface_scale);
        const std::vector<std::string> names = setting_values(m_content, setting);
        const int stored[] = {4, 6, 9, 12};
        for (std::size_t i = 0; i < names.size(); ++i)
            if (value == names[i])
                scale->set(stored[i]);
        Config::interface_scale = scale->value() / 6.0;
        emit(Key::interface_reinit);
        emit(Key::interface_force_refresh);
    } else if (setting == "Text_speed") {
        const int speed = value == "Slow" ? 18 : value == "Medium_speed" ? 12 : 9;
        set<Number>(Key::dialog_speed, speed)->mark_as_altered();
    } else if (setting == "Music_volume") {
        set<Number>(Key::music_volume, to_int(value) / 10)->mark_as_altered();
        emit(Key::music_volume_changed);
    } else if (setting == "Sound_volume") {
        set<Number>(Key::sounds_volume, to_int(value) / 10)->mark_as_altered();
    } else if (setting == "Gamepad_style" || setting == "Gamepad_orient") {
        auto pad = m_content.request<Text>(Key::gamepad_id);
        if (!pad)
            return;
        using Pad = Component::Simple<Gamepad_info>;
        Gamepad_info info = m_content.get<Pad>(pad->value(), "gamepad")->value();
        if (setting == "Gamepad_style")
            info.labels = value == "Xbox"          ? Gamepad_labels::XBOX
                          : value == "Nintendo"    ? Gamepad_labels::NINTENDO
                          : value == "Playstation" ? Gamepad_labels::PLAYSTATION
                                                   : Gamepad_labels::NO_LABEL;
        else
            info.ok_down = value == "Ok_down";
        set<Pad>(pad->value(), "gamepad", info);
        emit(Key::interface_force_refresh);
    }
}

} // namespace Orvane::System
