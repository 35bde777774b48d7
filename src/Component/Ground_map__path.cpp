#include <algorithm>
#include <cmath>
#include <queue>
#include <set>

#include <Orvane/Component/Ground_map.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Component {

namespace {
constexpr double far_away = std::numeric_limits<double>::max();
}

void Ground_map::snap(Point& p, Vertex_id& v, Edge_id& e) const {
    Simplex c = closest_simplex(p);
    if (c.empty())
        return; // no graph: the point stays free
    if (!is_ground_point(p) || c.distance < border_radius) {
        p = c.point;
        if (c.edge.is_none())
            v = c.vertex;
        else
            e = c.edge;
    }
}

void Ground_map::find_path(Point origin, Point target, std::vector<Point>& path) {
    m_working = m_graph;
    Vertex_id origin_vertex, target_vertex;
    Edge_id origin_edge, target_edge;
    std::set<std::pair<Vertex_id, Vertex_id>, Compare_ordered_pair> links;

    snap(origin, origin_vertex, origin_edge);
    snap(target, target_vertex, target_edge);

    if (!origin_edge.is_none()) {
        if (target_edge == origin_edge) {
            path.push_back(target);
            return;
        }
        origin_vertex = m_working.add_vertex({origin, 0, 0});
        Vertex_id s = m_working.source(origin_edge), t = m_working.target(origin_edge);
        m_working.delete_edge(origin_edge);
        links.insert({origin_vertex, s});
        links.insert({origin_vertex, t});
    } else if (origin_vertex.is_none()) {
        origin_vertex = m_working.add_vertex({origin, 0, 0});
    }
    if (!target_edge.is_none()) {
        target_vertex = m_working.add_vertex({target, 0, 0});
        Vertex_id s = m_working.source(target_edge), t = m_working.target(target_edge);
        m_working.delete_edge(target_edge);
        links.insert({target_vertex, s});
        links.insert({target_vertex, t});
    } else if (target_vertex.is_none()) {
        target_vertex = m_working.add_vertex({target, 0, 0});
    }

    // Direct walk: open ground needs no search. Border edges are the loaded graph's (the
    // working graph only lost the two deleted ones, which touch neither inserted vertex).
    auto touches = [&](std::uint32_t i, const Vertex_id& v) {
        return m_graph.source(Edge_id(i)) == v || m_graph.target(Edge_id(i)) == v;
    };
    auto deleted = [&](std::uint32_t i) {
        return Edge_id(i) == origin_edge || Edge_id(i) == target_edge;
    };
    Segment direct(origin, target);
    bool blocked = m_borders.any_near(direct, [&](std::uint32_t i) {
        if (deleted(i) || touches(i, origin_vertex) || touches(i, target_vertex))
            return false;
        return crosses(direct, Segment(m_graph.vertex(m_graph.source(Edge_id(i))).point,
                                       m_graph.vertex(m_graph.target(Edge_id(i))).point));
    });
    if (!blocked && walkable_midpoint(origin, target)) {
        path.push_back(target);
        m_working = m_graph;
        return;
    }

    // Visibility links from every vertex to the origin and to the target.
    std::size_t n = m_working.vertex_count();
    for (std::size_t k = 0; k < n; ++k) {
        Vertex_id i(k);
        if (i == origin_vertex || i == target_vertex)
            continue;
        const Point& pi = m_working.vertex(i).point;
        for (const Vertex_id& j : {origin_vertex, target_vertex}) {
            const Point& pj = m_working.vertex(j).point;
            if (!walkable_midpoint(pi, pj))
                continue;
            Segment link(pi, pj);
            bool crossed = m_borders.any_near(link, [&](std::uint32_t e) {
                if (deleted(e) || touches(e, i))
                    return false;
                return crosses(link, Segment(m_graph.vertex(m_graph.source(Edge_id(e))).point,
                                             m_graph.vertex(m_graph.target(Edge_id(e))).point));
            });
            if (!crossed)
                links.insert({i, j});
        }
    }
    for (const auto& [a, b] : links) {
        Edge_id e = m_working.add_edge(a, b, {});
        m_working.edge(e).border = false;
    }

    // No walkable link reached the target: there is no walk, and the game goes on.
    if (m_working.incident_edges(target_vertex).empty())
        return;
    std::vector<Vertex_id> renumbering = m_working.clean();
    m_working.validity();
    origin_vertex = renumbering[origin_vertex.index()];
    target_vertex = renumbering[target_vertex.index()];
    if (origin_vertex.is_none() || target_vertex.is_none())
        return; // the origin saw nothing: no walk from it
    shortest_path(origin_vertex, target_vertex, path);
}

bool Ground_map::shortest_path(Vertex_id origin, Vertex_id target, std::vector<Point>& path) {
    std::size_t n = m_working.vertex_count();
    std::vector<Vertex_id> parent(n);
    std::priority_queue<std::pair<double, Vertex_id>> queue;
    for (std::size_t k = 0; k < n; ++k)
        m_working.vertex(Vertex_id(k)).distance = far_away;
    // Only the origin enters the queue at first: a vertex still at the far distance when it
    // leaves the queue could improve nothing.
    m_working.vertex(origin).distance = 0;
    queue.push({-0.0, origin});
    while (!queue.empty()) {
        auto [minus_d, v] = queue.top();
        queue.pop();
        double d = -minus_d;
        if (d > m_working.vertex(v).distance)
            continue; // outdated entry
        if (v == target)
            break; // its parents are final: the rest of the search cannot change the walk
        const Point& pv = m_working.vertex(v).point;
        for (const Edge_id& e : m_working.incident_edges(v)) {
            Vertex_id w = m_working.opposite(e, v);
            Vertex& vw = m_working.vertex(w);
            double nd = distance(pv, vw.point) + d;
            if (vw.distance > nd) {
                vw.distance = nd;
                parent[w.index()] = v;
                queue.push({-nd, w});
            }
        }
    }
    if (target == origin)
        return true;
    std::vector<Point> reversed;
    for (Vertex_id v = target; v != origin; v = parent[v.index()]) {
        if (parent[v.index()].is_none())
            return false; // separate walkable islands: no walk
        reversed.push_back(m_working.vertex(v).point);
    }
    path.insert(path.end(), reversed.rbegin(), reversed.rend());
    return true;
}

Ground_map::Simplex Ground_map::closest_intersected_edge(const Point& p, const Vector& v,
                                                         const Skip& skip) const {
    // The ray reaches across the whole mask even for a short stick vector.
    double scale = double(m_max_length) / std::min(v.length(), 1.0);
    Segment ray(p, p + v * scale);
    Simplex best;
    best.point = Point(0, 0);
    for (std::size_t i = 0; i < m_working.edge_count(); ++i) {
        Edge_id e(i);
        Vertex_id s = m_working.source(e), t = m_working.target(e);
        if (s.is_none() || t.is_none() || !m_working.edge(e).border || skip(e))
            continue;
        Segment edge(m_working.vertex(s).point, m_working.vertex(t).point);
        if (!crosses(ray, edge))
            continue;
        Point q = intersection(ray, edge);
        double d = distance(p, q);
        if (d < best.distance) {
            best.vertex = Vertex_id();
            best.edge = e;
            best.distance = d;
            best.point = q;
        }
    }
    if (best.empty())
        return Simplex{Vertex_id(), Edge_id(), far_away, Point(0, 0)};

    Vertex_id s = m_working.source(best.edge), t = m_working.target(best.edge);
    const Point& ps = m_working.vertex(s).point;
    const Point& pt = m_working.vertex(t).point;
    if (double d = distance(best.point, ps); d < border_radius)
        best = {s, Edge_id(), d, ps};
    if (double d = distance(best.point, pt); d < border_radius)
        best = {t, Edge_id(), d, pt};

    if (walkable_midpoint(p, best.point))
        return best;
    Simplex c = closest_simplex(Point((p.x() + best.point.x()) / 2, (p.y() + best.point.y()) / 2));
    if (!c.edge.is_none() && skip(c.edge))
        return Simplex{Vertex_id(), Edge_id(), far_away, Point(0, 0)};
    if (c.distance <= border_radius)
        return c;
    return Simplex{Vertex_id(), Edge_id(), far_away, Point(0, 0)};
}

void Ground_map::find_path(Point origin, Vector direction, std::vector<Point>& path) {
    m_working = m_graph;
    if (!(direction.length() > 0) || !std::isfinite(direction.length()))
        return; // no direction to walk in
    Vertex_id at_vertex;
    Edge_id at_edge;
    snap(origin, at_vertex, at_edge);
    std::size_t limit = m_graph.vertex_count() + m_graph.edge_count();

    for (std::size_t pass = 1; pass <= limit; ++pass) {
        Simplex r;
        if (!at_vertex.is_none()) {
            Vertex_id u = at_vertex;
            r = closest_intersected_edge(origin, direction, [&](const Edge_id& e) {
                return m_working.source(e) == u || m_working.target(e) == u;
            });
            if (r.empty()) {
                double best = 0;
                Vertex_id next;
                for (const Edge_id& e : m_working.incident_edges(u)) {
                    Vertex_id w = m_working.other_vertex(e, u);
                    Vector to_w(origin, m_working.vertex(w).point);
                    to_w.normalize();
                    double score = direction * to_w;
                    if (score > best) {
                        best = score;
                        next = w;
                    }
                }
                if (next.is_none())
                    return;
                origin = m_working.vertex(next).point;
                path.push_back(origin);
                at_vertex = next;
                continue;
            }
        } else if (at_edge.is_none()) {
            r = closest_intersected_edge(origin, direction, [](const Edge_id&) { return false; });
            if (r.empty())
                return; // nothing stops the walk within the mask: no walk
        } else {
            Edge_id on = at_edge;
            r = closest_intersected_edge(origin, direction,
                                         [&](const Edge_id& e) { return e == on; });
            if (r.empty()) {
                Vertex_id s = m_working.source(on), t = m_working.target(on);
                double score =
                    direction * Vector(m_working.vertex(s).point, m_working.vertex(t).point);
                if (score == 0)
                    return;
                at_vertex = score > 0 ? t : s;
                at_edge = Edge_id();
                origin = m_working.vertex(at_vertex).point;
                path.push_back(origin);
                continue;
            }
        }
        at_vertex = r.vertex;
        at_edge = r.edge;
        origin = r.point;
        path.push_back(origin);
    }
    // More passes than the graph has vertices and edges: the walk goes round; stop here.
}

} // namespace Orvane::Component
