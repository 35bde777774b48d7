#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

using Component::Image;
using String = Component::Simple<std::string>;

namespace {

// Windows grow in and shrink away in this time (seconds).
constexpr double window_time = 0.25;
// No dialog line is wider than this on screen.
constexpr double widest_line = 1900;
// The lowest dialog line rests on this y; the panel reaches 20 pixels above the highest.
constexpr int lowest_line = 1070;

std::string line_entity(std::size_t i, const char* look) {
    return "Dialog_choice_" + std::to_string(i) + "_" + look;
}

} // namespace

void Interface::update_code_hover() {
    const double t = clock_time();
    auto animate_window = [&](double from_scale, double to_scale, unsigned char from_alpha,
                              unsigned char to_alpha) {
        auto window = m_content.get<Image>(Key::game_window);
        window->on() = true;
        m_content.set<Component::GUI_image_animation>(window->entity(), "animation", t,
                                                      t + window_time, window, from_scale,
                                                      to_scale, from_alpha, to_alpha, false);
    };
    if (receive(Key::interface_show_window))
        animate_window(0, 1, 0, 255);
    if (receive(Key::interface_hide_window))
        animate_window(1, 0, 255, 0);

    if (!receive(Key::code_hover)) {
        // with the mouse the mark lives while the pointer stays on a button
        if (input_mode() == MOUSE)
            remove(Key::code_hover_image, true);
        return;
    }
    const std::string player = value<String>(Key::player_name);
    auto code = m_content.get<Component::Code>(Key::game_code);
    auto window = m_content.get<Image>(Key::game_window);
    const Point centre = m_content.get<Component::Position>(window->entity(), "position")->value();
    const RGB_color color = color_from_string(value<String>(player, "color"));
    auto mark = m_content.set<Image>(Key::code_hover_image, code->xmax() - code->xmin(),
                                     code->ymax() - code->ymin(), color[0], color[1], color[2],
                                     128);
    mark->set_collision(Component::Collision_type::UNCLICKABLE);
    mark->z() = Config::INTERFACE_ITEMS;
    // the window's position is its centre; the button's bounds count from its top-left corner
    m_content.set<Component::Absolute_position>(
        "Code_hover", "position",
        centre + Vector(code->xmin(), code->ymin()) -
            Vector(0.5 * window->width(), 0.5 * window->height()),
        true);
}

void Interface::update_dialog_choices() {
    // the lines that were built go, whatever the list holds now: the logic may have replaced
    // the list since (a dialog started by another action)
    if (receive(Key::dialog_clean) &&
        m_content.request<Image>("Dialog_choice_background", "image")) {
        for (std::size_t i = m_dialog_lines; i-- > 0;)
            for (const char* look : {"off", "on"}) {
                remove(line_entity(i, look), "image", true);
                remove(line_entity(i, look), "position", true);
            }
        remove("Dialog_choice_background", "image");
        remove("Dialog_choice_background", "position");
        m_dialog_lines = 0;
    }

    auto game_status = status();
    const bool current = game_status->is(Status::DIALOG);
    if (!current && !game_status->was(Status::DIALOG))
        return;

    auto background = m_content.request<Image>("Dialog_choice_background", "image");
    if (!background) {
        const double s = Config::interface_scale;
        auto font = m_content.get<Component::Font>(Key::dialog_font);
        const std::string color = value<String>(value<String>(Key::player_name), "color");
        const std::vector<std::string> choices =
            value<Component::Vector<std::string>>(Key::dialog_choices);
        int h = lowest_line;
        for (std::size_t i = choices.size(); i-- > 0;) {
            const std::string text = locale(choices[i]);
            auto off = m_content.set<Image>(line_entity(i, "off"), "image", font, "FFFFFF", text);
            auto on = m_content.set<Image>(line_entity(i, "on"), "image", font, color, text);
            double scale = 0.75 * s;
            if (off->width() * scale > widest_line)
                scale = widest_line / off->width();
            for (const auto& image : {off, on}) {
                image->z() = Config::DIALOG_LINES;
                image->set_scale(scale);
                image->set_relative_origin(0, 1);
            }
            h = int(h - off->height() * scale);
        }
        background = m_content.set<Image>("Dialog_choice_background", "image",
                                          Config::world_width, 1100 - h, 0, 0, 0, 192);
        background->set_relative_origin(0, 1);
        m_content.set<Component::Absolute_position>("Dialog_choice_background", "position",
                                                    Point(0, Config::world_height), true);
        m_dialog_lines = choices.size();
    }

    // a pause or a menu over the dialog hides the lines without destroying them
    background->on() = current;
    for (std::size_t i = 0; i < m_dialog_lines; ++i)
        for (const char* look : {"off", "on"})
            m_content.get<Image>(line_entity(i, look), "image")->on() = current;
    if (!current)
        return;

    auto active = m_content.request<Component::Simple<int>>(Key::interface_active_dialog_item);
    const int highlighted = active ? active->value() : -1;
    double y = lowest_line;
    for (std::size_t i = m_dialog_lines; i-- > 0;) {
        auto off = m_content.get<Image>(line_entity(i, "off"), "image");
        auto on = m_content.get<Image>(line_entity(i, "on"), "image");
        for (const char* look : {"off", "on"})
            m_content.set<Component::Absolute_position>(line_entity(i, look), "position",
                                                        Point(10, y), true);
        off->on() = int(i) != highlighted;
        on->on() = int(i) == highlighted;
        y = int(y - off->height() * off->scale());
    }
}

void Interface::update_cursor() {
    const Input_mode mode = input_mode();
    auto state = m_content.get<String>(Key::cursor_state);
    auto set_state = [&](const std::string& s) {
        if (state->value() != s)
            state->set(s);
    };
    if (mode != MOUSE) {
        set_state("none");
        remove("Selected_object", "image", true);
        return;
    }

    auto game_status = status();
    if (game_status->is(Status::IN_MENU)) {
        set_state("default");
    } else if (auto source = m_content.request<String>(Key::interface_source_object)) {
        if (state->value() != "selected") {
            set_state("selected");
            // the carried object on the cursor, shown while the cursor's state says so
            auto image = std::make_shared<Image>(
                "Selected_object", "image", m_content.get<Image>(source->value(), "image"));
            image->set_alpha(255);
            image->set_scale(0.28 * Config::interface_scale);
            image->set_collision(Component::Collision_type::UNCLICKABLE);
            image->z() = Config::FAST_FORWARD;
            m_content
                .set<Component::Simple_conditional<std::string>>("Selected_object", "image",
                                                                 state)
                ->add("selected", image);
        }
    } else {
        if (state->value() == "selected")
            remove("Selected_object", "image", true);
        if (game_status->is(Status::INVENTORY_ACTION)) {
            set_state("default");
        } else if (!labelled_object.empty()) {
            auto right = m_content.request<Component::Boolean>(Key::go_to(labelled_object),
                                                               "right");
            set_state(right ? (right->value() ? "goto_right" : "goto_left") : "object");
        } else {
            set_state("default");
        }
    }
    if (auto cursor = m_content.request<Image>(Key::cursor_image))
        cursor->set_scale(0.5 * Config::interface_scale);
}

} // namespace Orvane::System
