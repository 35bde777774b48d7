#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Control.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;

// On these pages the controller highlights settings by name and steps them with their arrows.
bool is_settings_page(const std::string& menu) { return menu == "Settings" || menu == "Controls"; }


constexpr const char* left_arrow = "_left_arrow";
constexpr const char* right_arrow = "_right_arrow";

} // namespace

void Control::menu_gamepad() {
    if (auto right = m_content.request<Component::Boolean>(Key::switch_right)) {
        menu_sub_triggered(right->value() ? Event_value::RIGHT : Event_value::LEFT);
        remove(right);
    }
    if (const Event_value stick = stick_left_right_up_down(); stick != Event_value::NONE)
        menu_sub_triggered(stick);
    const std::string verb = gamepad_verb();
    if (is_notok(verb))
        menu_sub_triggered(Event_value::SOUTH);
    else if (is_ok(verb))
        menu_sub_triggered(Event_value::EAST);
    flush_gamepad_keys();
}

void Control::menu_sub_triggered(const Event_value& value) {
    // Until the menu system has highlighted a first item of a shown page, no command has
    // anything to act on (a stick moved as the first page opens comes before that).
    auto highlight = m_content.request<Text>(Key::interface_gamepad_active_menu_item);
    if (!highlight)
        return;
    const bool settings = is_settings_page(this->value<Text>(Key::game_current_menu));
    const std::string item = highlight->value();
    const bool on_setting = settings && !contains(item, "_button");

    const auto click = [&](const std::string& id) {
        set<Text>(Key::interface_active_menu_item, id);
        emit(Key::menu_clicked);
    };

    switch (value) {
    case Event_value::LEFT:
        if (!settings)
            menu_sub_switch_active_item(false);
        else if (on_setting)
            click(item + left_arrow);
        break;
    case Event_value::RIGHT:
        if (!settings)
            menu_sub_switch_active_item(true);
        else if (on_setting)
            click(item + right_arrow);
        break;
    case Event_value::UP_ARROW:
        menu_sub_switch_active_item(false);
        break;
    case Event_value::DOWN_ARROW:
        menu_sub_switch_active_item(true);
        break;
    case Event_value::EAST:
        click(on_setting ? item + right_arrow : item);
        break;
    case Event_value::SOUTH:
        // the page is left in this frame
        emit(Key::game_escape);
        update_exit();
        break;
    default:
        break;
    }
}

void Control::menu_sub_switch_active_item(bool down) {
    const std::string menu = value<Text>(Key::game_current_menu);
    auto tree = m_content.get<Component::Menu>(menu, "menu");
    auto highlight = m_content.get<Text>(Key::interface_gamepad_active_menu_item);
    const std::string& current = highlight->value();
    const bool settings = is_settings_page(menu);

    std::vector<std::string> items;
    std::size_t index = 0;
    bool found = false;
    std::deque<Component::Menu::Vertex_wrapper> queue{tree->root()};
    while (!queue.empty()) {
        const Component::Menu::Vertex_wrapper node = queue.front();
        queue.pop_front();
        for (std::size_t i = 0; i < node.nb_children(); ++i)
            queue.push_back(node[i]);
        if (!node.has_image())
            continue;
        const std::string& e = node.image()->entity();
        const std::size_t size = items.size();
        if (settings) {
            if (const std::size_t cut = e.find(left_arrow); cut != std::string::npos)
                items.push_back(e.substr(0, cut));
            else if (e == "Ok_alone_button")
                items.push_back(e);
        } else if (contains(e, "_button")) {
            items.push_back(e);
        }
        if (items.size() > size && items.back() == current) {
            index = items.size() - 1;
            found = true;
        }
    }
    ORVANE_CHECK(found, "Node " + current + " not found in menu");

    const std::size_t n = items.size();
    const std::string& next = down ? items[index + 1 < n ? index + 1 : 0]
                                   : items[index > 0 ? index - 1 : n - 1];
    highlight->set(next);
    set<Text>(Key::interface_active_menu_item, next);
}

} // namespace Orvane::System
