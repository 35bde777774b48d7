#include <map>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Component/Dialog.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Utils/error.h>

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_dialog(const std::string& id, const Yaml::Node& node) {
    using Vertex = Component::Dialog::Vertex_handle;
    const std::string where = (node.file ? *node.file : std::string("?")) + ":" +
                              std::to_string(node.line) + ": " + id;

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
