#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Menu.h>
#include <Orvane/Third_party/Gamepad.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

#include "Menu__layout.h"

namespace Orvane::System {

using Component::Image;

namespace {

using Text = Component::Simple<std::string>;
using Seconds = Component::Simple<double>;

/// Longest controller name shown in full, in bytes.
constexpr std::size_t max_name_bytes = 20;

/// The controller's name for the Controls page: past max_name_bytes, cut at the last whole
/// UTF-8 character that fits and followed by "...".
std::string shown_name(const std::string& name) {
    if (name.size() <= max_name_bytes)
        return name;
    std::size_t end = max_name_bytes;
    // continuation bytes (10xxxxxx) belong to the character that began before them
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end) + "...";
}

/// The help text and the closing text: one image of several lines, top-left anchored.
std::shared_ptr<Image> store_page_text(Content& content, const std::string& entity,
                                       const std::string& text) {
    return Menu_layout::store_text(content, entity,
                                   content.get<Component::Font>(Key::interface_light_font), text,
                                   0.4, 0, 0);
}

/// Phone entries are 100 pixels apart, the first at 135.
int number_y(std::size_t rank) { return 135 + 100 * (int(rank) - 1); }

} // namespace

void Menu::init_controls_menu() {
    auto page = set<Component::Menu>("Controls", "menu");
    const Input_mode mode =
        m_content.value<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE);
    const bool gamepad = mode == Input_mode::GAMEPAD;
    page->split(Split_direction::VERTICALLY, gamepad ? 5 : 3);
    make_text_menu_title((*page)[0], "Controls");

    std::string text = locale_get(mode == Input_mode::MOUSE         ? "Controls_mouse"
                                  : mode == Input_mode::TOUCHSCREEN ? "Controls_touchscreen"
                                                                    : "Controls_gamepad",
                                  "text");
    std::shared_ptr<Component::Simple<Gamepad_info>> pad;
    if (gamepad) {
        if (auto id = m_content.request<Text>(Key::gamepad_id)) {
            pad = m_content.get<Component::Simple<Gamepad_info>>(id->value(), "gamepad");
            text += "\n " + shown_name(pad->value().name) + " (" + pad->value().id + ")";
        }
    }
    (*page)[1].init(store_page_text(m_content, "Controls_text", text),
                    Menu_layout::store_position(m_content, "Controls_text", 28, 135));

    if (gamepad) {
        make_settings_item((*page)[2], "Gamepad_style", 595);
        make_settings_item((*page)[3], "Gamepad_orient", 710);
        if (pad) {
            const Gamepad_info& info = pad->value();
            page->update_setting("Gamepad_style",
                                 info.labels == Gamepad_labels::NINTENDO      ? "Nintendo"
                                 : info.labels == Gamepad_labels::PLAYSTATION ? "Playstation"
                                 : info.labels == Gamepad_labels::XBOX        ? "Xbox"
                                                                              : "Empty");
            page->update_setting("Gamepad_orient", info.ok_down ? "Ok_down" : "Ok_right");
        }
    }
    make_oknotok_item((*page)[gamepad ? 4 : 2], true);
}

void Menu::update_phone_menu() {
    if (!status()->was(Status::IDLE)) {
        auto page = set<Component::Menu>("Phone", "menu");
        page->split(Split_direction::VERTICALLY, 3);
        make_text_menu_title((*page)[0], "Phone");
        make_text_menu_text((*page)[1], "No_phone_allowed");
        make_oknotok_item((*page)[2], true);
        return;
    }
    auto list = m_content.request<Component::Vector<std::string>>(Key::phone_numbers_list);
    if (!list)
        return;
    const std::vector<std::string> numbers = list->value();

    auto current = m_content.get<Component::Menu>("Phone", "menu");
    bool shown = current->nb_children() == numbers.size() + 2;
    for (std::size_t i = 0; shown && i < numbers.size(); ++i) {
        const Component::Menu::Vertex_wrapper entry = (*current)[i + 1];
        const std::shared_ptr<Image> button = entry.image();
        shown = entry.nb_children() == 2 && button && button->entity() == Key::button(numbers[i]) &&
                m_content.request<Image>(button->entity(), button->component());
    }
    if (shown)
        return;

    auto page = set<Component::Menu>("Phone", "menu");
    page->split(Split_direction::VERTICALLY, numbers.size() + 2);
    make_text_menu_title((*page)[0], "Phone");
    for (std::size_t i = 1; i <= numbers.size(); ++i) {
        const std::string& number = numbers[i - 1];
        const std::string label = locale_get(number, "label");
        const std::size_t space = label.rfind(' ');
        ORVANE_CHECK(space != std::string::npos, "Warning: ill-formed number " + label);
        const int y = number_y(i);

        Component::Menu::Vertex_wrapper entry = (*page)[i];
        const auto [button, position] = make_settings_button(number, y);
        entry.init(button, position);
        set<Text>(number, "effect", number);
        entry.split(Split_direction::VERTICALLY, 2);
        const auto [name, name_position] =
            make_settings_title(number, "name", y, label.substr(0, space));
        entry[0].init(name, name_position);
        const auto [digits, digits_position] =
            make_settings_subtitle(number, "number", y, label.substr(space + 1));
        entry[1].init(digits, digits_position);
    }
    make_oknotok_item((*page)[numbers.size() + 1], true);
}

void Menu::update_end_menu() {
    auto page = set<Component::Menu>("End", "menu");
    page->split(Split_direction::VERTICALLY, 4);
    make_text_menu_title((*page)[0], "End");

    const double play_time = m_content.value<Seconds>(Fast_access_component::CLOCK_SAVED_TIME) +
                             m_content.value<Seconds>(Fast_access_component::CLOCK_TIME) -
                             m_content.value<Seconds>(Fast_access_component::CLOCK_DISCOUNTED_TIME);
    std::string elapsed = locale_get("Game_time", "text");
    capitalize(elapsed);
    const std::string text = locale_get("End_message", "text") + "\n" + elapsed + " = " +
                             time_to_string(play_time);
    (*page)[1].init(store_page_text(m_content, "End_message_text", text),
                    Menu_layout::store_position(m_content, "End_message_text", 28, 135));

    // The rows' labels are made anew each time, in the current language: a change of language
    // rebuilds the other pages, but this one only when it is shown.
    const char* rows[] = {"End_new_game", "End_quit"};
    const int ys[] = {480, 595};
    for (std::size_t i = 0; i < 2; ++i) {
        remove("Exit_" + std::string(rows[i]), "image", true);
        make_exit_menu_item((*page)[i + 2], rows[i], ys[i]);
    }
}

} // namespace Orvane::System
