#include <Orvane/Component/Dialog.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

Dialog::Dialog(const std::string& entity, const std::string& component, const std::string& end)
    : Base(entity, component) {
    m_vertex_in = m_graph.add_vertex(Vertex{"", "IN", ""});
    m_vertex_out = m_graph.add_vertex(Vertex{end, "OUT", ""});
}

Dialog::Vertex_handle Dialog::add_vertex(const std::string& character, const std::string& line,
                                         const std::string& signal) {
    return m_graph.add_vertex(Vertex{character, line, signal});
}

Dialog::Edge_handle Dialog::add_edge(Vertex_handle source, Vertex_handle target,
                                     const std::string& line, const std::string& condition,
                                     bool unless, bool displayed) {
    return m_graph.add_edge(source, target, Edge{line, condition, unless, displayed, true});
}

bool Dialog::has_incident_edges(Vertex_handle vertex) const {
    return !m_graph.incident_edges(vertex).empty();
}

void Dialog::init(Vertex_handle vertex) {
    if (vertex == Vertex_handle()) {
        const auto& out_of_in = m_graph.incident_edges(m_vertex_in);
        m_current = m_vertex_in;
        if (out_of_in.empty())
            m_current = m_vertex_out; // a dialog without lines is over at once
        else
            follow(out_of_in.front());
        return;
    }
    // a saved position that names no vertex of this dialog ends it rather than being read
    m_current = std::size_t(vertex) < m_graph.vertex_count() ? vertex : m_vertex_out;
}

void Dialog::next() {
    const auto& out = m_graph.incident_edges(checked_current());
    if (out.empty()) {
        m_current = m_vertex_out;
        return;
    }
    follow(out.front());
}

std::string Dialog::next(int choice) {
    const Edge_handle e = enabled_edge(choice);
    if (e == Edge_handle())
        return "";
    const std::string result = m_graph.edge(e).condition == "said" ? said_key(e) : "";
    follow(e);
    return result;
}

bool Dialog::is_displayed(int choice) const {
    const Edge_handle e = enabled_edge(choice);
    return e == Edge_handle() ? true : m_graph.edge(e).displayed;
}

bool Dialog::is_over() const { return m_current == m_vertex_out; }

bool Dialog::is_line() const { return !current_vertex().character.empty(); }

bool Dialog::has_signal() const { return !current_vertex().signal.empty(); }

std::pair<std::string, std::string> Dialog::line() const {
    const Vertex& v = current_vertex();
    return {v.character, v.line};
}

const std::string& Dialog::signal() const { return current_vertex().signal; }

std::string Dialog::said_key(Edge_handle edge) const {
    return entity() + std::to_string(std::size_t(edge));
}

std::string Dialog::str_name() const { return "Dialog"; }

Dialog::Vertex_handle Dialog::checked_current() const {
    ORVANE_CHECK(std::size_t(m_current) < m_graph.vertex_count(),
          "Dialog " + entity() + ":" + component() + " read before it was started");
    return m_current;
}

const Dialog::Vertex& Dialog::current_vertex() const { return m_graph.vertex(checked_current()); }

Dialog::Edge_handle Dialog::enabled_edge(int choice) const {
    if (choice < 0)
        return Edge_handle();
    int seen = 0;
    for (const Edge_handle& e : m_graph.incident_edges(checked_current())) {
        if (!m_graph.edge(e).enabled)
            continue;
        if (seen == choice)
            return e;
        ++seen;
    }
    return Edge_handle();
}

void Dialog::follow(Edge_handle edge) { m_current = m_graph.opposite(edge, m_current); }

} // namespace Orvane::Component
