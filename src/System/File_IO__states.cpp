#include <functional>
#include <memory>
#include <string>

#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Third_party::Yaml;

std::shared_ptr<Component::Simple_conditional<std::string>> File_IO::read_states(
    const std::string& id, const std::string& component,
    const std::shared_ptr<Component::Simple<std::string>>& state, const Yaml::Node& states,
    bool default_saved,
    const std::function<std::shared_ptr<Component::Base>(const std::string& state_id,
                                                         const Yaml::Node& entry)>& read) {
    std::shared_ptr<Component::Simple_conditional<std::string>> choices;
    for (std::size_t i = 0; i < states.size(); ++i) {
        const Yaml::Node& entry = states[i];
        const std::string state_id = entry["id"].string();
        if (i == 0) {
            if (state->value().empty()) {
                state->set(state_id);
                if (!default_saved)
                    state->mark_as_unaltered();
            }
            choices =
                m_content.set<Component::Simple_conditional<std::string>>(id, component, state);
        }
        choices->add(state_id, read(state_id, entry));
    }
    return choices;
}

} // namespace Orvane::System
