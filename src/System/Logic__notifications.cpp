#include <cmath>
#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Third_party/Steam.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

namespace {

using Slot = Fast_access_component;

/// Seconds a notification must have been on screen before an ordinary clear fades it out.
constexpr double clear_delay = 0.25;
/// How long an achievement announcement stays.
constexpr double achievement_seconds = 3.0;

} // namespace

std::string Logic::push_notification(const std::string& text, double seconds) {
    std::size_t n = 0;
    while (m_content.request<Component::Simple<std::string>>("Notification_" + std::to_string(n),
                                                             "notification"))
        ++n;
    const std::string id = "Notification_" + std::to_string(n);
    auto notification = m_content.set<Component::Simple<std::string>>(id, "notification", text);
    m_content.get<Component::Action>(Key::notifications_action)
        ->schedule(now + seconds, notification);

    auto mode = m_content.request<Component::Simple<Input_mode>>(Slot::INTERFACE_INPUT_MODE);
    if (mode && mode->value() == Input_mode::GAMEPAD)
        m_content.set<Component::Pair<double, double>>(Key::gamepad_rumble, 0.2, 0.05);
    return id;
}

bool Logic::notification_ended(const std::string& id) {
    if (!m_content.request<Component::Image>(id, "image"))
        return false;
    emit(id, "end_notification");
    return true;
}

void Logic::clear_notifications(bool force) {
    auto notifications = m_content.get<Component::Action>(Key::notifications_action);
    for (const auto& [time, c] : notifications->scheduled()) {
        const std::string& id = c->entity();
        const double created = m_content.value<Component::Simple<double>>(id, "creation_time", 0.0);
        // a notice made a moment ago survives an ordinary clear
        if (force || now - created > clear_delay)
            emit(id, "end_notification");
    }
}

void Logic::notify_end_achievements() {
    const double play = m_content.value<Component::Simple<double>>(Slot::CLOCK_SAVED_TIME) +
                        m_content.value<Component::Simple<double>>(Slot::CLOCK_TIME) -
                        m_content.value<Component::Simple<double>>(Slot::CLOCK_DISCOUNTED_TIME);
    const double limit = std::trunc(play);

    if (m_content.request<Component::Simple<std::string>>("ACH_END", "text"))
        function_notify({"ACH_END"});
    // walk: each unlock files new components while the values are visited
    m_content.walk("value", [&](const Content::Component_ptr& c) {
        auto value = Component::cast<Component::Simple<int>>(c);
        if (value && startswith(c->entity(), "ACH_") && value->value() > limit)
            function_notify({c->entity()});
    });
}

bool Logic::function_notify(const Arguments& args) {
    check_arguments(args, 1, 2, "function_notify takes 1 or 2 arguments");
    if (args.size() == 2) {
        push_notification(locale(args[0]), to_double(args[1]));
        return true;
    }
    const std::string& id = args[0];
    emit(id, "done");
    if (Third_party::Steam::set_achievement(id)) {
        emit(id, "stored");
        return true;
    }
    const std::string text = locale_get("Achievement", "text") + " " + locale_get(id, "text");
    emit(push_notification(text, achievement_seconds), "is_achievement");
    return true;
}

} // namespace Orvane::System
