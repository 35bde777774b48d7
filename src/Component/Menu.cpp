#include <Orvane/Component/Menu.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

namespace {

/// Name of a setting's value: the image's entity name without its "id_" prefix; empty when the
/// name is too short to hold one.
std::string value_name(const Image& image, const std::string& id) {
    const std::string& name = image.entity();
    return name.size() > id.size() ? name.substr(id.size() + 1) : std::string();
}

} // namespace

Menu::Vertex_wrapper::Vertex_wrapper(Graph_type& graph, Vertex_handle vertex)
    : m_graph(&graph), m_vertex(vertex) {}

Menu::Vertex& Menu::Vertex_wrapper::data() const { return m_graph->vertex(m_vertex); }

void Menu::Vertex_wrapper::split(Split_direction direction, std::size_t n) {
    ORVANE_CHECK(data().direction == Split_direction::NO_SPLIT, "Trying to split already splitted vertex");
    data().direction = direction;
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex_handle child = m_graph->add_vertex(Vertex{});
        m_graph->add_edge(m_vertex, child, Edge{});
    }
}

Menu::Vertex_wrapper Menu::Vertex_wrapper::operator[](std::size_t i) const {
    const auto& edges = m_graph->incident_edges(m_vertex);
    ORVANE_CHECK(i < edges.size(), "Menu vertex has no child " + std::to_string(i) + " (it has " +
                                std::to_string(edges.size()) + ")");
    return Vertex_wrapper(*m_graph, m_graph->opposite(edges[i], m_vertex));
}

std::size_t Menu::Vertex_wrapper::nb_children() const {
    return m_graph->incident_edges(m_vertex).size();
}

void Menu::Vertex_wrapper::init(std::shared_ptr<Image> image, std::shared_ptr<Position> position) {
    data().images.push_back(std::move(image));
    data().position = std::move(position);
}

void Menu::Vertex_wrapper::add(std::shared_ptr<Image> image) {
    data().images.push_back(std::move(image));
}

bool Menu::Vertex_wrapper::has_image() const { return !data().images.empty(); }

std::shared_ptr<Image> Menu::Vertex_wrapper::image() const {
    const Vertex& v = data();
    return v.current < v.images.size() ? v.images[v.current] : nullptr;
}

std::shared_ptr<Position> Menu::Vertex_wrapper::position() const { return data().position; }

Split_direction Menu::Vertex_wrapper::direction() const { return data().direction; }

void Menu::Vertex_wrapper::hide() {
    if (std::shared_ptr<Image> shown = image())
        shown->on() = false;
    for (std::size_t i = 0; i < nb_children(); ++i)
        (*this)[i].hide();
}

void Menu::Vertex_wrapper::apply(const std::function<void(std::shared_ptr<Image>)>& fn) {
    if (nb_children() < 2) {
        // a vertex without an image (an empty cell of the layout) has nothing to give
        if (std::shared_ptr<Image> shown = image())
            fn(shown);
    }
    for (std::size_t i = 0; i < nb_children(); ++i)
        (*this)[i].apply(fn);
}

bool Menu::Vertex_wrapper::is_setting(const std::string& id) const {
    const Vertex& v = data();
    return nb_children() == 0 && v.images.size() >= 2 && v.position && v.position->entity() == id;
}

std::string Menu::Vertex_wrapper::change_setting(const std::string& id, int diff) {
    if (nb_children() > 0) {
        for (std::size_t i = 0; i < nb_children(); ++i) {
            std::string result = (*this)[i].change_setting(id, diff);
            if (!result.empty())
                return result;
        }
        return "";
    }
    if (!is_setting(id))
        return "";

    Vertex& v = data();
    v.images[v.current]->on() = false;
    if (diff == 1)
        v.current = v.current + 1 == v.images.size() ? 0 : v.current + 1;
    else
        v.current = v.current == 0 ? v.images.size() - 1 : v.current - 1;
    v.images[v.current]->on() = true;
    return value_name(*v.images[v.current], id);
}

void Menu::Vertex_wrapper::update_setting(const std::string& id, const std::string& value) {
    if (nb_children() > 0) {
        for (std::size_t i = 0; i < nb_children(); ++i)
            (*this)[i].update_setting(id, value);
        return;
    }
    if (!is_setting(id))
        return;

    Vertex& v = data();
    for (std::size_t i = 0; i < v.images.size(); ++i) {
        if (value_name(*v.images[i], id) == value) {
            v.current = i;
            return;
        }
    }
    ORVANE_CHECK(false, "Value " + value + " not found in setting " + id);
}

Menu::Menu(const std::string& entity, const std::string& component)
    : Base(entity, component), m_root(m_graph.add_vertex(Vertex{})) {}

Menu::Vertex_wrapper Menu::root() { return Vertex_wrapper(m_graph, m_root); }

void Menu::split(Split_direction direction, std::size_t n) { root().split(direction, n); }

Menu::Vertex_wrapper Menu::operator[](std::size_t i) { return root()[i]; }

std::size_t Menu::nb_children() { return root().nb_children(); }

void Menu::hide() { root().hide(); }

void Menu::apply(const std::function<void(std::shared_ptr<Image>)>& fn) { root().apply(fn); }

void Menu::update_setting(const std::string& id, const std::string& value) {
    root().update_setting(id, value);
}

std::string Menu::increment(const std::string& id) { return root().change_setting(id, 1); }

std::string Menu::decrement(const std::string& id) { return root().change_setting(id, -1); }

std::string Menu::str_name() const { return "Menu"; }

} // namespace Orvane::Component
