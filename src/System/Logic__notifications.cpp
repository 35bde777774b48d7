#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {

std::string Logic::push_notification(const std::string& text, double seconds) {
    (void)text;
    (void)seconds;
    return {};
}

void Logic::clear_notifications(bool force) { (void)force; }

void Logic::notify_end_achievements() {}

bool Logic::function_notify(const Arguments& args) {
    (void)args;
    return false;
}

} // namespace Orvane::System
