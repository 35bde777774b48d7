#pragma once

#include <string>
#include <utility>
#include <vector>

#include <Orvane/Component/Base.h>
#include <Orvane/Utils/graph.h>

namespace Orvane::Component {

/// One conversation as a directed graph, with a cursor on the current vertex. Vertices are
/// spoken lines, choice points, or the two fixed ends IN and OUT; edges lead to the next
/// vertex and, out of a choice point, carry the text of a choice and the condition under which
/// it is offered. The Logic system walks it: init, then next() after a line, get_choices and
/// next(n) at a choice point, until is_over().
class Dialog : public Base {
  public:
    /// A spoken line (character not empty), a choice point (character and line empty), IN
    /// (line "IN") or OUT (line "OUT", character = the end action's entity).
    struct Vertex {
        std::string character;
        std::string line;
        std::string signal;
    };

    /// A link to the next vertex; out of a choice point, one choice: its text, the signal that
    /// decides whether it is offered ("said": its own said-marker; empty: always), whether that
    /// test is inverted, whether picking it makes the player's character say it, and whether
    /// it is offered now (recomputed by get_choices).
    struct Edge {
        std::string line;
        std::string condition;
        bool unless = false;
        bool displayed = true;
        bool enabled = true;
    };

    using Graph_type = Graph<Vertex, Edge, true>;
    using Vertex_handle = Typed_int<Vertex>;
    using Edge_handle = Typed_int<Edge>;

    /// A dialog with its two ends, IN (handle 0) and OUT (handle 1); `end` is the entity of
    /// the action launched when the conversation reaches OUT (empty for none). Not started.
    Dialog(const std::string& entity, const std::string& component, const std::string& end);

    /// Appends a vertex and returns its handle.
    Vertex_handle add_vertex(const std::string& character, const std::string& line,
                             const std::string& signal);
    /// Appends an enabled edge from source to target and returns its handle.
    Edge_handle add_edge(Vertex_handle source, Vertex_handle target, const std::string& line,
                         const std::string& condition, bool unless, bool displayed);

    /// Whether the vertex has an out-edge.
    bool has_incident_edges(Vertex_handle vertex) const;

    Vertex_handle vertex_in() const { return m_vertex_in; }
    Vertex_handle vertex_out() const { return m_vertex_out; }
    Vertex_handle current() const { return m_current; }
    const Graph_type& graph() const { return m_graph; }

    /// Places the cursor: with -1 (a default handle) on the first vertex after IN, otherwise on
    /// the given vertex (a saved position). Without a vertex after IN, or with a handle that
    /// names no vertex, the conversation is over at once (cursor on OUT).
    void init(Vertex_handle vertex = Vertex_handle());
    /// Moves the cursor along the first out-edge of the current vertex; to OUT when there is
    /// none, so that a walk always ends.
    void next();
    /// Follows the choice-th (0-based) enabled out-edge of the current vertex. Returns the
    /// choice's said-marker key when its condition is "said" (the caller emits key:signal),
    /// else an empty string. No such choice: nothing changes and the result is empty.
    std::string next(int choice);
    /// Whether picking the choice-th enabled out-edge makes the player's character say it;
    /// true when there is no such choice.
    bool is_displayed(int choice) const;

    /// The cursor is on OUT.
    bool is_over() const;
    /// The current vertex is spoken by someone (OUT counts when the dialog has an end action).
    bool is_line() const;
    bool has_signal() const;
    /// (character, line) of the current vertex.
    std::pair<std::string, std::string> line() const;
    const std::string& signal() const;

    /// Recomputes which out-edges of the current vertex are offered, reading their condition
    /// signals (entity = condition or said-marker key, component "signal") from `content`
    /// without consuming them, and appends the lines of the offered ones to `choices` (not
    /// emptied first). `choices` is a string vector or a component holding one;
    /// `content` is anything with signal(entity, component).
    template <typename List, typename Store> void get_choices(List& choices, const Store& content);

    /// Key of the said-marker of an edge: the dialog's entity followed by the edge's index.
    std::string said_key(Edge_handle edge) const;

    std::string str_name() const override;

  private:
    /// The current vertex's handle; reading the cursor before init() is fatal.
    Vertex_handle checked_current() const;
    const Vertex& current_vertex() const;
    /// The choice-th enabled out-edge of the current vertex, or -1.
    Edge_handle enabled_edge(int choice) const;
    void follow(Edge_handle edge);

    Graph_type m_graph;
    Vertex_handle m_vertex_in;
    Vertex_handle m_vertex_out;
    Vertex_handle m_current;
};

template <typename List, typename Store>
void Dialog::get_choices(List& choices, const Store& content) {
    std::vector<std::string> offered;
    for (const Edge_handle& e : m_graph.incident_edges(checked_current())) {
        Edge& edge = m_graph.edge(e);
        if (!edge.condition.empty()) {
            const std::string key = edge.condition == "said" ? said_key(e) : edge.condition;
            edge.enabled = content.signal(key, "signal") != edge.unless;
        }
        if (edge.enabled)
            offered.push_back(edge.line);
    }
    if constexpr (requires { choices.push_back(std::string()); }) {
        choices.insert(choices.end(), offered.begin(), offered.end());
    } else {
        if (offered.empty())
            return;
        auto lines = choices.value();
        lines.insert(lines.end(), offered.begin(), offered.end());
        choices.set(lines);
    }
}

} // namespace Orvane::Component
