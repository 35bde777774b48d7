#include <Orvane/Component/Action.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/Logic.h>

namespace Orvane::System {

Logic::Logic(Content& content) : Base(content) {
    m_content.set<Component::Action>("Logic", "action");
    m_content.set<Component::Action>("Notifications", "action");
    m_content.set<Component::Simple<std::string>>("Hinter", "color", "FFFFFF");
}

void Logic::run() {}

} // namespace Orvane::System
