#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

using Third_party::Yaml;

namespace {

Input_mode input_mode(const std::string& name) {
    if (name == "Mouse")
        return Input_mode::MOUSE;
    if (name == "Touchscreen")
        return Input_mode::TOUCHSCREEN;
    ORVANE_CHECK(name == "Gamepad", "Invalid mode " + name);
    return Input_mode::GAMEPAD;
}

} // namespace

void File_IO::read_action(const std::string& id, const Yaml::Node& node) {
    if (node.has("label"))
        m_content.set<Component::Simple<std::string>>(id, "label", node["label"].string());

    auto new_action = [&](const Yaml::Node& entry) {
        auto action = std::make_shared<Component::Action>(id, "action");
        read_steps(entry["effect"], *action, true);
        return action;
    };

    if (node.has("states")) {
        auto state = m_content.get_or_set<Component::Simple<std::string>>(id, "state", "");
        // the default state counts as a change: saves record it even before a script runs
        const bool read =
            read_states(id, "action", state, node["states"], true,
                        [&](const std::string&,
                            const Yaml::Node& entry) -> std::shared_ptr<Component::Base> {
                            return new_action(entry);
                        }) != nullptr;
        if (!read) // a list without entries still gives the item its action
            m_content.set<Component::Simple_conditional<std::string>>(id, "action", state);
    } else if (node.has("modes")) {
        auto mode = m_content.request<Component::Simple<Input_mode>>(
            Fast_access_component::INTERFACE_INPUT_MODE);
        ORVANE_CHECK(mode, "Cannot find Interface:input_mode while reading the action " + id);
        auto action = m_content.set<Component::Simple_conditional<Input_mode>>(id, "action", mode);
        const Yaml::Node& modes = node["modes"];
        for (std::size_t i = 0; i < modes.size(); ++i)
            action->add(input_mode(modes[i]["id"].string()), new_action(modes[i]));
    } else {
        m_content.set(new_action(node));
    }
}

} // namespace Orvane::System
