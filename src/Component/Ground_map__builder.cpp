#include <algorithm>
#include <cmath>
#include <set>

#include <Orvane/Component/Ground_map.h>
#include <Orvane/Utils/error.h>

#include "Ground_map__search.h"

namespace Orvane::Component {

namespace {
constexpr double deviation_threshold = 2.0;
constexpr double chain_band = 2 * Ground_map::border_radius;
} // namespace

double Ground_map::deviation(const Vertex_id& v) const {
    const std::vector<Edge_id>& edges = m_graph.incident_edges(v);
    if (edges.size() != 2)
        return std::numeric_limits<double>::max();
    const Point& a = m_graph.vertex(m_graph.opposite(edges[0], v)).point;
    const Point& b = m_graph.vertex(m_graph.opposite(edges[1], v)).point;
    if (a == b)
        return std::numeric_limits<double>::max(); // no line through one point
    const Point& p = m_graph.vertex(v).point;
    return distance(p, Line(a, b).projection(p));
}

Ground_map::Vertex_id Ground_map::add_vertex(std::map<Point, Vertex_id>& index, const Point& p,
                                             const unsigned char& gray) {
    auto [it, added] = index.try_emplace(p);
    if (added)
        it->second = m_graph.add_vertex({p, gray});
    return it->second;
}

void Ground_map::build_graph(const std::function<void()>& progress) {
    auto report = [&] {
        if (progress)
            progress();
    };
    const int width = m_mask.width(), height = m_mask.height();
    working_graph(); // the working graph keeps what it shows now

    // Outline: an edge along every pixel side between a walkable and a non-walkable pixel.
    // Pixel (x, y) covers (x - 0.5, y - 0.5) to (x + 0.5, y + 0.5); outside counts as walls.
    std::map<Point, Vertex_id> index;
    for (int x = -1; x < width; ++x) {
        for (int y = -1; y < height; ++y) {
            int c = m_mask.level(x, y), r = m_mask.level(x + 1, y), d = m_mask.level(x, y + 1);
            if ((c >= 0) != (r >= 0)) {
                auto gray = static_cast<unsigned char>(c >= 0 ? c : r);
                Vertex_id a = add_vertex(index, Point(x + 0.5, y - 0.5), gray);
                Vertex_id b = add_vertex(index, Point(x + 0.5, y + 0.5), gray);
                m_graph.add_edge(a, b, {true});
            }
            if ((c >= 0) != (d >= 0)) {
                auto gray = static_cast<unsigned char>(c >= 0 ? c : d);
                Vertex_id a = add_vertex(index, Point(x - 0.5, y + 0.5), gray);
                Vertex_id b = add_vertex(index, Point(x + 0.5, y + 0.5), gray);
                m_graph.add_edge(a, b, {true});
            }
        }
        report();
    }

    // Simplification: collapse the vertex that moves the outline least, while that is less
    // than the threshold.
    if (m_graph.vertex_count() > 0) {
        std::function<bool(const Vertex_id&, const Vertex_id&)> less = [this](const Vertex_id& a,
                                                                              const Vertex_id& b) {
            double da = deviation(a), db = deviation(b);
            return da < db || (da == db && a < b);
        };
        std::set<Vertex_id, decltype(less)> queue(less);
        for (std::size_t i = 0; i < m_graph.vertex_count(); ++i) {
            if (deviation(Vertex_id(i)) < deviation_threshold)
                queue.insert(Vertex_id(i));
            report();
        }
        while (!queue.empty()) {
            Vertex_id v = *queue.begin();
            queue.erase(queue.begin());
            const std::vector<Edge_id> edges = m_graph.incident_edges(v);
            Vertex_id a = m_graph.opposite(edges[0], v);
            Vertex_id b = m_graph.opposite(edges[1], v);
            queue.erase(a);
            queue.erase(b);
            m_graph.delete_edge(edges[1]);
            m_graph.delete_edge(edges[0]);
            m_graph.add_edge(a, b, {true});
            if (deviation(a) < deviation_threshold)
                queue.insert(a);
            if (deviation(b) < deviation_threshold)
                queue.insert(b);
            report();
        }
    }

    m_graph.validity();
    m_graph.clean();
    m_graph.validity();
    index_graph();

    // Inner links between outline vertices that see each other, split into chains through
    // the vertices they pass close to.
    Grid points;
    {
        std::vector<std::pair<std::uint32_t, Segment>> items;
        for (std::size_t k = 0; k < m_graph.vertex_count(); ++k) {
            const Point& p = m_graph.vertex(Vertex_id(k)).point;
            items.push_back({std::uint32_t(k), Segment(p, p)});
        }
        points.build(items, true);
    }
    std::size_t n = m_graph.vertex_count();
    for (std::size_t i = 0; i < n; ++i) {
        const Point pi = m_graph.vertex(Vertex_id(i)).point;
        for (std::size_t j = i + 1; j < n; ++j) {
            Vertex_id vi(i), vj(j);
            if (m_graph.is_edge(vi, vj))
                continue;
            const Point pj = m_graph.vertex(vj).point;
            // the cheap probe first: all three tests must pass, in any order
            if (!walkable_midpoint(pi, pj))
                continue;
            Segment link(pi, pj);
            bool crossed = m_search->borders.any_near(link, [&](std::uint32_t k) {
                const Border& b = m_search->border_list[k];
                if (b.source == vi || b.source == vj || b.target == vi || b.target == vj)
                    return false;
                return crosses(link, b.segment);
            });
            if (crossed)
                continue;
            std::vector<std::uint32_t> chain;
            points.any_near(link, [&](std::uint32_t k) {
                if (k == i || k == j)
                    return false;
                auto [q, inside] = link.projection(m_graph.vertex(Vertex_id(k)).point);
                if (inside && distance(q, m_graph.vertex(Vertex_id(k)).point) <= chain_band)
                    chain.push_back(k);
                return false;
            });
            std::sort(chain.begin(), chain.end());
            chain.insert(chain.begin(), {std::uint32_t(i), std::uint32_t(j)});
            std::stable_sort(chain.begin(), chain.end(), [&](std::uint32_t a, std::uint32_t b) {
                return link.projected_coordinate(m_graph.vertex(Vertex_id(a)).point) <
                       link.projected_coordinate(m_graph.vertex(Vertex_id(b)).point);
            });
            for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
                Vertex_id a(chain[k]), b(chain[k + 1]);
                if (m_graph.is_edge(a, b))
                    continue;
                Edge_id e = m_graph.add_edge(a, b, {false});
                m_graph.edge(e).border = false;
            }
        }
        report();
    }
    index_graph();
}

} // namespace Orvane::Component
