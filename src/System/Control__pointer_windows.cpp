#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Control.h>
#include <Orvane/Utils/geometry.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Text = Component::Simple<std::string>;
using Number = Component::Simple<int>;

// Dialog lines are "Dialog_choice_<n>..."; the background behind them is not a line.
constexpr std::string_view dialog_line_prefix = "Dialog_choice_";

bool is_dialog_line(const std::string& e) {
    return contains(e, "Dialog_choice_") && !contains(e, "background");
}

bool is_menu_image(const std::string& e) { return contains(e, "_button") || contains(e, "_arrow"); }

// The number written after "Dialog_choice_", read as atoi reads it.
int line_of(const std::string& id) {
    return std::atoi(id.c_str() + dialog_line_prefix.size());
}

} // namespace

void Control::window_mouse() {
    // a click anywhere, on the window too, closes it
    if (receive(Key::cursor_clicked)) {
        emit(Key::interface_hide_window);
        status()->pop();
    }
}

void Control::window_touchscreen() { window_mouse(); }

std::pair<int, int> Control::window_point(const Point& pointer) {
    auto window = m_content.get<Component::Image>(Key::game_window);
    auto position = m_content.get<Component::Position>(window->entity(), "position");
    // back through the drawing: the corner where the window is drawn, then its drawn scale,
    // so that a window still growing to its size is pressed where it shows its buttons
    const auto [corner, drawn_scale] = camera_view(m_content).place(
        position->value(), window->origin(), window->scale(), position->is_interface());
    // a window shown at no size yet has no point under the pointer: one beside every button
    if (!(drawn_scale > 0))
        return {-2, -2};
    return {round((pointer.x() - corner.x()) / drawn_scale),
            round((pointer.y() - corner.y()) / drawn_scale)};
}

void Control::code_mouse() {
    auto code = m_content.get<Component::Code>(Key::game_code);
    auto window = m_content.get<Component::Image>(Key::game_window);
    auto cursor = pointer();
    const bool inside = collides(cursor, window);
    if (inside) {
        const auto [x, y] = window_point(cursor->value());
        // every frame over a button, not only when the hovered button changes
        if (code->hover(x, y))
            emit(Key::code_hover);
    }
    if (receive(Key::cursor_clicked))
        code_sub_click(inside);
}

void Control::code_touchscreen() {
    if (receive(Key::cursor_clicked))
        code_sub_click(collides(pointer(), m_content.get<Component::Image>(Key::game_window)));
}

void Control::code_sub_click(bool inside) {
    auto code = m_content.get<Component::Code>(Key::game_code);
    if (inside) {
        // between the buttons nothing happens
        const auto [x, y] = window_point(pointer()->value());
        if (code->click(x, y))
            emit(Key::code_button_clicked);
        return;
    }
    emit(Key::interface_hide_window);
    code->reset();
    status()->pop();
}

void Control::dialog_mouse() {
    const std::string id = first_collision(pointer(), [](std::shared_ptr<Component::Image> image) {
        return is_dialog_line(image->entity());
    });
    int line = -1;
    if (id.empty()) {
        remove(Key::interface_active_dialog_item, true);
    } else {
        line = line_of(id);
        auto current = m_content.request<Number>(Key::interface_active_dialog_item);
        if (!current || current->value() != line)
            set<Number>(Key::interface_active_dialog_item, line);
    }
    // a click beside the lines is taken and does nothing
    if (receive(Key::cursor_clicked) && line != -1)
        dialog_sub_click();
}

void Control::dialog_touchscreen() {
    if (!receive(Key::cursor_clicked))
        return;
    const std::string id = first_collision(pointer(), [](std::shared_ptr<Component::Image> image) {
        return is_dialog_line(image->entity());
    });
    if (id.empty()) {
        remove(Key::interface_active_dialog_item, true);
        return;
    }
    set<Number>(Key::interface_active_dialog_item, line_of(id));
    dialog_sub_click();
}

void Control::dialog_sub_click() {
    const int line = m_content.value<Number>(Key::interface_active_dialog_item, 0);
    set<Number>(Key::dialog_choice, line);
    emit(Key::dialog_clean);
    remove(Key::interface_active_dialog_item, true);
    remove(Key::game_current_dialog);
    status()->pop();
    emit(Key::click_play_sound);
}

void Control::menu_mouse() {
    const std::string id = first_collision(pointer(), [](std::shared_ptr<Component::Image> image) {
        return is_menu_image(image->entity());
    });
    hover(Key::interface_active_menu_item, id);
    if (receive(Key::cursor_clicked) && !id.empty())
        emit(Key::menu_clicked);
}

void Control::menu_touchscreen() {
    if (!receive(Key::cursor_clicked))
        return;
    const std::string id = first_collision(pointer(), [](std::shared_ptr<Component::Image> image) {
        return is_menu_image(image->entity());
    });
    // a press beside the items leaves the selection as it was
    if (id.empty())
        return;
    set<Text>(Key::interface_active_menu_item, id);
    emit(Key::menu_clicked);
}

} // namespace Orvane::System
