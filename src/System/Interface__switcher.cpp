#include <memory>
#include <string>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

// The controller hint shows after this many seconds without input (seconds).
constexpr double hint_delay = 5.0;
// After the game starts, controller play shows the hint this long (seconds).
constexpr double first_idle_span = 60.0;
// Label backs fade to this alpha, everything else to full.
constexpr unsigned char hint_back_alpha = 100;

} // namespace

double Interface::idle_seconds(double now) {
    if (auto first = m_content.request<Component::Simple<double>>(Key::first_idle_time)) {
        if (now - first->value() < first_idle_span)
            return 100;
        remove(Key::first_idle_time);
    }
    return now - value<Component::Simple<double>>(Key::clock_latest_active);
}

void Interface::update_object_switcher() {
    bool hide = true;
    auto objects = m_content.request<Component::Vector<std::string>>(Key::interface_active_objects);
    if (input_mode() == GAMEPAD && !status()->is(Status::IN_MENU) && objects &&
        objects->value().size() >= 2) {
        if (receive(Key::game_just_launched))
            m_content.set<Component::Simple<double>>(Key::first_idle_time, clock_time());
        hide = false;
    }
    const double now = clock_time();
    const double d = idle_seconds(now);

    auto left = m_content.get<Component::Image>("Gamepad_switcher_left", "image");
    if (hide || d < hint_delay) {
        if (left->alpha() == 0)
            left->on() = false;
        else
            fade_action_selector("Gamepad_switcher", false);
    } else if (left->alpha() != 255) {
        left->on() = true;
        fade_action_selector("Gamepad_switcher", true);
    }
}

void Interface::fade_action_selector(const std::string& id, bool fade_in) {
    // a fade runs to its end before another starts
    if (m_content.request<Component::GUI_image_animation>(id + "_left", "animation"))
        return;
    const double t0 = clock_time();
    m_content.get<Component::Group>(id, "group")
        ->apply<Component::Image>([&](const std::shared_ptr<Component::Image>& image) {
            const std::string& entity = image->entity();
            const bool label_back =
                entity.find("_label") != std::string::npos && !endswith(entity, "_label");
            const unsigned char a = label_back ? hint_back_alpha : 255;
            image->on() = true;
            m_content.set<Component::GUI_image_animation>(
                entity, "animation", t0, t0 + 0.25, image, image->scale(), image->scale(),
                static_cast<unsigned char>(fade_in ? 0 : a),
                static_cast<unsigned char>(fade_in ? a : 0), false);
        });
}

} // namespace Orvane::System
