#include <memory>
#include <string>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>

namespace Orvane::System {

using Component::Collision_type;
using Third_party::Yaml;

void File_IO::read_code(const std::string& id, const Yaml::Node& node) {
    m_content.set<Component::Sound>(Key::button(id), "sound",
                                    node["button_sound"].string("sounds", "effects", "ogg"));
    m_content.set<Component::Sound>(id + "_success", "sound",
                                    node["success_sound"].string("sounds", "effects", "ogg"));
    m_content.set<Component::Sound>(id + "_failure", "sound",
                                    node["failure_sound"].string("sounds", "effects", "ogg"));

    auto code = m_content.set<Component::Code>(id, "code");
    auto state = m_content.get_or_set<Component::Simple<std::string>>(id, "state", "");

    using Conditional = Component::Simple_conditional<std::string>;
    std::shared_ptr<Conditional> keypads;
    // one state: the lock's window, and its keypad filed beside it
    const auto window_of = [&](const std::string& state_id,
                               const Yaml::Node& entry) -> std::shared_ptr<Component::Base> {
        if (!keypads)
            keypads = m_content.set<Conditional>(Key::button(id), "image", state);
        const Yaml::Node& skin = list_of(entry, id, "skin", 2);

        auto window = std::make_shared<Component::Image>(
            id, "conditional_image", skin[0].string("images", "windows", "png"),
            Config::INTERFACE_BACK, Collision_type::BOX);
        window->set_relative_origin(0.5, 0.5);
        window->on() = false;
        m_content.set<Component::Absolute_position>(id, "position", Point(960, 540), true);

        auto keypad = std::make_shared<Component::Cropped>(
            Key::button(id), "conditional_image", skin[1].string("images", "windows", "png"),
            Config::INTERFACE_ITEMS);
        keypad->set_relative_origin(0.5, 0.5);
        keypad->on() = false;
        m_content.set<Component::Absolute_position>(Key::button(id), "position", Point(960, 540),
                                                    true);

        keypads->add(state_id, keypad);
        return window;
    };
    read_states(id, "image", state, node["states"], true, window_of);

    const Yaml::Node& buttons = node["buttons"];
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const Yaml::Node& at = list_of(buttons[i], id, "coordinates", 4);
        code->add_button(buttons[i]["value"].string(), at[0].integer(), at[1].integer(),
                         at[2].integer(), at[3].integer());
    }
    const Yaml::Node& answer = node["answer"];
    for (std::size_t i = 0; i < answer.size(); ++i)
        code->add_answer_item(answer[i].string());

    auto action = std::make_shared<Component::Action>(id, "action");
    read_steps(node["on_success"], *action, true);
    m_content.set(action);

    if (signal(id, "is_global"))
        for (const char* part : {"_failure", "_success", "_button"})
            emit(id + part, "is_global");
}

} // namespace Orvane::System
