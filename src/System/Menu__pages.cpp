#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Menu.h>

#include "Menu__layout.h"

namespace Orvane::System {

using Component::Collision_type;
using Component::Image;
using Component::Position;
using Vertex = Component::Menu::Vertex_wrapper;

namespace {

using Text = Component::Simple<std::string>;

/// The pages made of a title, a text and buttons: (page, title, text, Ok alone).
struct Text_page {
    const char* page;
    const char* title;
    const char* text;
    bool alone;
};

/// Hides an image and places it over the menus' panel: depth z, anchored at its centre.
void centre(const std::shared_ptr<Image>& image, int z) {
    image->z() = z;
    image->on() = false;
    image->set_relative_origin(0.5, 0.5);
}

/// A translucent black bar of width x 50 under a button's icon.
std::shared_ptr<Image> store_bar(Content& content, const std::string& entity, int width) {
    auto bar = content.set<Image>(entity, "image", width, 50, 0, 0, 0, 64);
    centre(bar, Config::MENU_BUTTONS);
    return bar;
}

/// Stores <entity>:position on another position, with no offset.
std::shared_ptr<Position> store_on(Content& content, const std::string& entity,
                                   const std::shared_ptr<Position>& on) {
    return content.set<Component::Relative_position>(entity, "position", on);
}

} // namespace

namespace Menu_layout {

std::shared_ptr<Image> store_text(Content& content, const std::string& entity,
                                  const std::shared_ptr<Component::Font>& font,
                                  const std::string& text, double scale, double fx, double fy) {
    auto image =
        content.set<Image>(entity, "image", font, "FFFFFF", text.empty() ? " " : text, false);
    image->z() = Config::MENU_TEXTS;
    image->on() = false;
    image->set_scale(scale);
    image->set_relative_origin(fx, fy);
    image->set_collision(Collision_type::UNCLICKABLE);
    return image;
}

std::shared_ptr<Position> store_position(Content& content, const std::string& entity, double x,
                                         double y) {
    return content.set<Component::Relative_position>(
        entity, "position", content.get<Position>(Key::menu_reference), Orvane::Vector(x, y));
}

} // namespace Menu_layout

void Menu::init() {
    auto exit = set<Component::Menu>("Exit", "menu");
    exit->split(Split_direction::VERTICALLY, 10);
    set<Component::Relative_position>(Key::menu_reference,
                                      m_content.get<Position>(Key::menu_background_position),
                                      Orvane::Vector(-240, -420));

    make_exit_menu_item((*exit)[0], "Menu_logo", 130);
    for (std::size_t i = 0; i < Config::exit_menu_items.size(); ++i)
        make_exit_menu_item((*exit)[i + 1], Config::exit_menu_items[i], 220 + 90 * int(i));
    make_oknotok_item((*exit)[8], true);
    make_support_item(exit, 9);

    auto text_page = [this](const Text_page& p) {
        auto page = set<Component::Menu>(p.page, "menu");
        page->split(Split_direction::VERTICALLY, 3);
        make_text_menu_title((*page)[0], p.title);
        make_text_menu_text((*page)[1], p.text);
        make_oknotok_item((*page)[2], p.alone);
    };
    for (const Text_page& p : {Text_page{"New_game", "New_game", "Wanna_restart", false},
                               Text_page{"Wanna_save", "Save", "Wanna_save", false},
                               Text_page{"Wanna_load", "Load", "Wanna_load", false},
                               Text_page{"Saved", "Save", "Saved", true}})
        text_page(p);
    init_controls_menu();
    text_page({"Phone", "Phone", "No_number_text", true});
    init_loadsave_menus();
    set<Component::Menu>("Message", "menu");
    set<Component::Menu>("End", "menu");

    auto settings = set<Component::Menu>("Settings", "menu");
    settings->split(Split_direction::VERTICALLY, 8);
    make_text_menu_title((*settings)[0], "Settings");
    const char* rows[] = {"Language",   "Fullscreen",   "Interface_scale",
                          "Text_speed", "Music_volume", "Sound_volume"};
    for (std::size_t i = 0; i < 6; ++i)
        make_settings_item((*settings)[i + 1], rows[i], 135 + 115 * int(i));
    make_oknotok_item((*settings)[7], true);

    auto overlay = set<Image>(Key::menu_overlay_image, Config::world_width, Config::world_height,
                              0, 0, 0, 64);
    overlay->on() = false;
    overlay->z() = Config::MENU_OVERLAY;
    overlay->set_collision(Collision_type::UNCLICKABLE);
    set<Component::Absolute_position>(Key::menu_overlay_position, Point(0, 0), true);
}

void Menu::make_exit_menu_item(Vertex vertex, const std::string& id, int y) {
    auto reference = m_content.get<Position>(Key::menu_reference);
    if (id == "Menu_logo") {
        auto logo = m_content.get<Image>(Key::menu_logo_image);
        centre(logo, Config::MENU_TEXTS);
        vertex.init(logo, Menu_layout::store_position(m_content, id, 240, y));
        return;
    }

    const std::string label_id = "Exit_" + id;
    const std::string icon_id = Key::icon(id);
    auto font = m_content.get<Component::Font>(Key::interface_font);
    const std::string text = locale_get(id, "text");
    vertex.split(Split_direction::SINGLE, 1);
    Vertex row = vertex[0];
    row.split(Split_direction::HORIZONTALLY, 2);
    auto icon = m_content.get<Image>(icon_id, "image");

    std::shared_ptr<Image> label = m_content.request<Image>(label_id, "image");
    std::shared_ptr<Position> label_position;
    std::shared_ptr<Position> icon_position;
    if (label) {
        label_position = m_content.get<Position>(label_id, "position");
        icon_position = m_content.get<Position>(icon_id, "position");
    } else {
        label = Menu_layout::store_text(m_content, label_id, font, text, 0.5, 0, 0.5);
        label_position = Menu_layout::store_position(m_content, label_id, 150, y);
        icon_position = Menu_layout::store_position(m_content, icon_id, 90, y);
    }
    row[0].init(icon, icon_position);
    row[1].init(label, label_position);

    const std::string button_id = Key::button(id);
    std::shared_ptr<Image> button = m_content.request<Image>(button_id, "image");
    std::shared_ptr<Position> button_position;
    if (button) {
        button_position = m_content.get<Position>(button_id, "position");
    } else {
        button = set<Image>(button_id, "image",
                            m_content.get<Image>(Key::menu_main_button_image));
        centre(button, Config::MENU_BUTTONS);
        button_position = Menu_layout::store_position(m_content, button_id, 240, y);
    }
    vertex.init(button, button_position);
    set<Text>(id, "effect", id);
}

void Menu::make_support_item(const std::shared_ptr<Component::Menu>& menu, std::size_t index) {
    Vertex vertex = (*menu)[index];
    vertex.split(Split_direction::SINGLE, 1);
    const std::string text(Key::support_text_image.entity);
    const std::string button(Key::support_button_image.entity);
    auto position = m_content.request<Position>(text, "position");
    if (!position)
        position = set<Component::Absolute_position>(text, "position", Point(335, 90), true);
    vertex[0].init(m_content.get<Image>(Key::support_text_image), position);
    vertex.init(m_content.get<Image>(Key::support_button_image),
                store_on(m_content, button, position));
    set<Text>("Support", "effect", std::string("Support"));
}

void Menu::make_oknotok_item(Vertex vertex, bool alone) {
    if (!m_content.request<Image>("Ok_alone_icon", "image")) {
        auto ok = m_content.get<Image>(Key::icon("Ok"), "image");
        centre(ok, Config::MENU_TEXTS);
        ok->set_collision(Collision_type::UNCLICKABLE);
        set<Image>("Ok_alone_icon", "image", ok);
        auto ok_position = Menu_layout::store_position(m_content, Key::icon("Ok"), 120, 858);
        auto alone_position = Menu_layout::store_position(m_content, "Ok_alone_icon", 240, 858);
        store_bar(m_content, "Ok_button", 230);
        store_bar(m_content, "Ok_alone_button", 460);
        store_on(m_content, "Ok_button", ok_position);
        store_on(m_content, "Ok_alone_button", alone_position);
        set<Text>("Ok", "effect", std::string("Ok"));
        set<Text>("Ok_alone", "effect", std::string("Ok"));
        auto cancel = m_content.get<Image>(Key::icon("Cancel"), "image");
        centre(cancel, Config::MENU_TEXTS);
        cancel->set_collision(Collision_type::UNCLICKABLE);
        auto cancel_position =
            Menu_layout::store_position(m_content, Key::icon("Cancel"), 360, 858);
        store_bar(m_content, "Cancel_button", 230);
        store_on(m_content, "Cancel_button", cancel_position);
        set<Text>("Cancel", "effect", std::string("Cancel"));
    }

    auto place = [this](Vertex v, const std::string& entity) {
        v.init(m_content.get<Image>(entity, "image"), m_content.get<Position>(entity, "position"));
    };
    if (alone) {
        vertex.split(Split_direction::SINGLE, 1);
        place(vertex, "Ok_alone_button");
        place(vertex[0], "Ok_alone_icon");
        return;
    }
    vertex.split(Split_direction::HORIZONTALLY, 2);
    for (std::size_t i = 0; i < 2; ++i)
        vertex[i].split(Split_direction::SINGLE, 1);
    place(vertex[0], "Ok_button");
    place(vertex[0][0], Key::icon("Ok"));
    place(vertex[1], "Cancel_button");
    place(vertex[1][0], Key::icon("Cancel"));
}

void Menu::make_text_menu_title(Vertex vertex, const std::string& id) {
    const std::string entity = "Title_" + id;
    const std::string text = locale_get(id, "text");
    // Pages that share a title share its image: a new one would replace, in the store, the
    // one the other pages hold, and only the stored image is drawn.
    auto image = m_content.request<Image>(entity, "image");
    auto made_from = m_title_texts.find(id);
    if (!image || made_from == m_title_texts.end() || made_from->second != text) {
        image = Menu_layout::store_text(m_content, entity,
                                        m_content.get<Component::Font>(Key::interface_font), text,
                                        0.75, 0.5, 0.5);
        m_title_texts[id] = text;
        Menu_layout::store_position(m_content, entity, 240, 90);
    }
    vertex.init(image, m_content.get<Position>(entity, "position"));
}

void Menu::make_text_menu_text(Vertex vertex, const std::string& id) {
    auto font = m_content.get<Component::Font>(Key::interface_light_font);
    // through the variable of Message:text: the lines are named after the text it points at
    auto source = m_content.get<Text>(id, "text");
    const std::string& entity = source->entity();
    const std::string text = locale(source->value());

    std::vector<std::string> lines;
    if (text.find('\n') == std::string::npos) {
        lines.push_back(text);
    } else {
        // only lines ended by a line break are shown
        std::size_t start = 0;
        for (std::size_t end = text.find('\n'); end != std::string::npos;
             end = text.find('\n', start)) {
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
    }

    vertex.split(Split_direction::VERTICALLY, lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line_id = entity + "_" + std::to_string(i);
        auto image = Menu_layout::store_text(m_content, line_id, font, lines[i], 0.5, 0, 0);
        vertex[i].init(image, Menu_layout::store_position(m_content, line_id, 35,
                                                          220 + 35 * double(i)));
    }
}

} // namespace Orvane::System
