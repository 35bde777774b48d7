#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_integer(const std::string& id, const Yaml::Node& node) {
    const int value = node["value"].integer();
    // a value kept from an earlier visit, or restored from a save, stays
    if (!m_content.request<Component::Simple<int>>(id, "value"))
        m_content.set<Component::Simple<int>>(id, "value", value);

    if (!node.has("triggers"))
        return;
    const Yaml::Node& triggers = node["triggers"];
    for (std::size_t i = 0; i < triggers.size(); ++i) {
        auto action = std::make_shared<Component::Action>(id, triggers[i]["value"].string());
        read_steps(triggers[i]["effect"], *action, true);
        m_content.set(action);
    }
}

} // namespace Orvane::System
