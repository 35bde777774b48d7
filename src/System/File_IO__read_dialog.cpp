#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Code.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Dialog.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

using Component::Collision_type;
using Third_party::Yaml;

void File_IO::read_code(const std::string& id, const Yaml::Node& node) {
    m_content.set<Component::Sound>(id + "_button", "sound",
                                    node["button_sound"].string("sounds", "effects", "ogg"));
    m_content.set<Component::Sound>(id + "_success", "sound",
                                    node["success_sound"].string("sounds", "effects", "ogg"));
    m_content.set<Component::Sound>(id + "_failure", "sound",
                                    node["failure_sound"].string("sounds", "effects", "ogg"));

    auto code = m_content.set<Component::Code>(id, "code");
    auto state = m_content.get_or_set<Component::Simple<std::string>>(id, "state", "");

    using Conditional = Component::Simple_conditional<std::string>;
    std::shared_ptr<Conditional> windows;
    std::shared_ptr<Conditional> keypads;
    const Yaml::Node& states = node["states"];
    for (std::size_t j = 0; j < states.size(); ++j) {
        const std::string state_id = states[j]["id"].string();
        if (j == 0) {
            if (state->value().empty())
                state->set(state_id);
            windows = m_content.set<Conditional>(id, "image", state);
            keypads = m_content.set<Conditional>(id + "_button", "image", state);
        }
        const Yaml::Node& skin = list_of(states[j], id, "skin", 2);

        auto window = std::make_shared<Component::Image>(
            id, "conditional_image", skin[0].string("images", "windows", "png"),
            Config::INTERFACE_BACK, Collision_type::BOX);
        window->set_relative_origin(0.5, 0.5);
        window->on() = false;
        m_content.set<Component::Absolute_position>(id, "position", Point(960, 540), true);

        auto keypad = std::make_shared<Component::Cropped>(
            id + "_button", "conditional_image", skin[1].string("images", "windows", "png"),
            Config::INTERFACE_ITEMS);
        keypad->set_relative_origin(0.5, 0.5);
        keypad->on() = false;
        m_content.set<Component::Absolute_position>(id + "_button", "position", Point(960, 540),
                                                    true);

        windows->add(state_id, window);
        keypads->add(state_id, keypad);
    }

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

void File_IO::read_dialog(const std::string& id, const Yaml::Node& node) {
    using Vertex = Component::Dialog::Vertex_handle;
    const std::string where = (node.file ? *node.file : std::string("?")) + ": " + id;

    auto dialog =
        m_content.set<Component::Dialog>(id, "dialog", node.has("end") ? node["end"].string() : "");

    struct Pending {
        Vertex from;
        std::string label;
        std::string line;
        std::string condition;
        bool unless;
        bool displayed;
    };
    std::map<std::string, Vertex> labels = {{"end", dialog->vertex_out()}};
    std::vector<Pending> pending;
    std::optional<Vertex> current = dialog->vertex_in();
    std::string pending_label;

    auto arrive = [&](Vertex v) {
        if (current)
            dialog->add_edge(*current, v, "", "", false, true);
        if (!pending_label.empty()) {
            labels.emplace(pending_label, v);
            pending_label.clear();
        }
    };

    const Yaml::Node& lines = node["lines"];
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Yaml::Node& entry = lines[i];
        if (entry.has("choices")) {
            const Vertex point = dialog->add_vertex("", "", "");
            const Yaml::Node& choices = entry["choices"];
            for (std::size_t c = 0; c < choices.size(); ++c) {
                const Yaml::Node& choice = choices[c];
                Pending edge{point,
                             choice["goto"].string(),
                             choice["line"].string(),
                             "",
                             false,
                             !choice.has("displayed") || choice["displayed"].boolean()};
                if (choice.has("if")) {
                    edge.condition = choice["if"].string();
                } else if (choice.has("unless")) {
                    edge.condition = choice["unless"].string();
                    edge.unless = true;
                }
                pending.push_back(edge);
            }
            arrive(point);
            current.reset();
        } else if (entry.has("line")) {
            const Yaml::Node& line = list_of(entry, id, "line", 2);
            const Vertex v = dialog->add_vertex(line[0].string(), line[1].string(),
                                                line.size() == 3 ? line[2].string() : "");
            arrive(v);
            current = v;
        }
        if (entry.has("target"))
            pending_label = entry["target"].string();
        if (entry.has("goto")) {
            const std::string label = entry["goto"].string();
            // without a line to leave from, the jump would start nowhere
            ORVANE_CHECK(current, where + ": goto \"" + label + "\" (line " + std::to_string(i) +
                                      ") has no line to leave from");
            pending.push_back({*current, label, "", "", false, true});
            current.reset();
        }
    }

    for (const Pending& edge : pending) {
        auto to = labels.find(edge.label);
        ORVANE_CHECK(to != labels.end(),
                     where + ": label \"" + edge.label + "\" names no line or choice");
        dialog->add_edge(edge.from, to->second, edge.line, edge.condition, edge.unless,
                         edge.displayed);
    }
}

} // namespace Orvane::System
