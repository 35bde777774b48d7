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
    // The request works on the loaded graph plus what it inserts; the working graph that it
    // defines is made from m_request only when someone looks at it.
    reset_working();
    Request& r = m_request;
    Vertex_id origin_vertex, target_vertex;
    Edge_id origin_edge, target_edge;

    snap(origin, origin_vertex, origin_edge);
    snap(target, target_vertex, target_edge);

    const std::size_t loaded = m_graph.vertex_count();
    std::size_t n = loaded;
    std::set<std::pair<Vertex_id, Vertex_id>, Compare_ordered_pair> links;
    if (!origin_edge.is_none()) {
        if (target_edge == origin_edge) {
            path.push_back(target);
            return;
        }
        origin_vertex = Vertex_id(n++);
        links.insert({origin_vertex, m_graph.source(origin_edge)});
        links.insert({origin_vertex, m_graph.target(origin_edge)});
    } else if (origin_vertex.is_none()) {
        origin_vertex = Vertex_id(n++);
    }
    r.new_origin = origin_vertex.index() >= loaded;
    if (!target_edge.is_none()) {
        target_vertex = Vertex_id(n++);
        links.insert({target_vertex, m_graph.source(target_edge)});
        links.insert({target_vertex, m_graph.target(target_edge)});
    } else if (target_vertex.is_none()) {
        target_vertex = Vertex_id(n++);
    }
    r.new_target = target_vertex.index() >= loaded;
    r.origin = origin;
    r.target = target;
    r.origin_edge = origin_edge;
    r.target_edge = target_edge;
    auto point = [&](const Vertex_id& v) -> const Point& {
        if (v.index() < loaded)
            return m_graph.vertex(v).point;
        return v == origin_vertex ? origin : target;
    };

    // Direct walk: open ground needs no search. The border edges are the loaded graph's but
    // the two deleted ones (which touch neither inserted vertex).
    auto deleted = [&](const Edge_id& e) { return e == origin_edge || e == target_edge; };
    Segment direct(origin, target);
    bool blocked = m_borders.any_near(direct, [&](std::uint32_t k) {
        const Border& b = m_border_list[k];
        if (deleted(b.edge) || b.source == origin_vertex || b.target == origin_vertex ||
            b.source == target_vertex || b.target == target_vertex)
            return false;
        return crosses(direct, b.segment);
    });
    if (!blocked && walkable_midpoint(origin, target)) {
        path.push_back(target);
        return;
    }

    // Visibility links from every vertex to the origin and to the target.
    for (std::size_t k = 0; k < n; ++k) {
        Vertex_id i(k);
        if (i == origin_vertex || i == target_vertex)
            continue;
        const Point& pi = point(i);
        for (const Vertex_id& j : {origin_vertex, target_vertex}) {
            const Point& pj = point(j);
            if (!walkable_midpoint(pi, pj))
                continue;
            Segment link(pi, pj);
            // Searched from j's end: the outline nearest the origin or the target shadows most
            // of the vertices, so a blocked link usually meets its first crossing early.
            bool crossed = m_borders.any_near(Segment(pj, pi), [&](std::uint32_t e) {
                const Border& b = m_border_list[e];
                if (deleted(b.edge) || b.source == i || b.target == i)
                    return false;
                return crosses(link, b.segment);
            });
            if (!crossed)
                links.insert({i, j});
        }
    }
    r.links.assign(links.begin(), links.end());
    r.stage = Request::Stage::augmented;

    // The links of each vertex, in the link set's order (the order of their edges).
    m_link_start.assign(n + 1, 0);
    for (const auto& [a, b] : r.links) {
        ++m_link_start[a.index() + 1];
        ++m_link_start[b.index() + 1];
    }
    for (std::size_t k = 0; k < n; ++k)
        m_link_start[k + 1] += m_link_start[k];
    m_link_to.resize(m_link_start[n]);
    std::vector<std::uint32_t> fill(m_link_start.begin(), m_link_start.end() - 1);
    for (const auto& [a, b] : r.links) {
        m_link_to[fill[a.index()]++] = std::uint32_t(b.index());
        m_link_to[fill[b.index()]++] = std::uint32_t(a.index());
    }
    // Whether a vertex keeps an edge in the working graph (the clean-up drops it otherwise).
    auto keeps_edges = [&](const Vertex_id& v) {
        if (m_link_start[v.index() + 1] > m_link_start[v.index()])
            return true;
        if (v.index() >= loaded)
            return false;
        for (std::uint32_t a = m_arc_start[v.index()]; a < m_arc_start[v.index() + 1]; ++a)
            if (!deleted(Edge_id(m_arcs[a].edge)))
                return true;
        return false;
    };

    // No walkable link reached the target: there is no walk, and the game goes on.
    if (!keeps_edges(target_vertex))
        return;
    r.stage = Request::Stage::cleaned;
    if (!keeps_edges(origin_vertex))
        return; // the origin saw nothing: no walk from it
    r.stage = Request::Stage::searched;
    search(origin_vertex, target_vertex, n, path);
}

bool Ground_map::search(Vertex_id origin, Vertex_id target, std::size_t n,
                        std::vector<Point>& path) {
    // The clean-up keeps the order of the vertices and of each vertex's edges, so the search
    // runs on the handles before it: it pops and relaxes in the same order and finds the same
    // walk as on the cleaned working graph.
    const std::size_t loaded = m_graph.vertex_count();
    const Request& r = m_request;
    auto point = [&](std::size_t v) -> const Point& {
        if (v < loaded)
            return m_graph.vertex(Vertex_id(v)).point;
        return (v == loaded && r.new_origin) ? r.origin : r.target;
    };
    std::vector<double>& dist = m_request.distance;
    dist.assign(n, far_away);
    m_parent.assign(n, Vertex_id());
    std::priority_queue<std::pair<double, Vertex_id>> queue;
    dist[origin.index()] = 0;
    queue.push({-0.0, origin});
    while (!queue.empty()) {
        // plain variables, not a structured binding: the relaxing lambda below captures them
        const double d = -queue.top().first;
        const Vertex_id v = queue.top().second;
        queue.pop();
        const std::size_t iv = v.index();
        if (d > dist[iv])
            continue; // outdated entry
        if (v == target)
            break; // its parents are final: the rest of the search cannot change the walk
        auto relax = [&](std::size_t w, double length) {
            double nd = length + d;
            if (dist[w] > nd) {
                dist[w] = nd;
                m_parent[w] = v;
                queue.push({-nd, Vertex_id(w)});
            }
        };
        if (iv < loaded)
            for (std::uint32_t a = m_arc_start[iv]; a < m_arc_start[iv + 1]; ++a) {
                const Arc& arc = m_arcs[a];
                if (arc.edge != r.origin_edge.index() && arc.edge != r.target_edge.index())
                    relax(arc.to, arc.length);
            }
        const Point& pv = point(iv);
        for (std::uint32_t a = m_link_start[iv]; a < m_link_start[iv + 1]; ++a)
            relax(m_link_to[a], distance(pv, point(m_link_to[a])));
    }
    if (target == origin)
        return true;
    std::vector<Point> reversed;
    for (Vertex_id v = target; v != origin; v = m_parent[v.index()]) {
        if (m_parent[v.index()].is_none())
            return false; // separate walkable islands: no walk
        reversed.push_back(point(v.index()));
    }
    path.insert(path.end(), reversed.rbegin(), reversed.rend());
    return true;
}

bool Ground_map::shortest_path(Vertex_id origin, Vertex_id target, std::vector<Point>& path) {
    working_graph();
    m_working.vertex(target); // a target outside the graph is fatal, never read beyond it
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
    const Graph& graph = working();
    Simplex best;
    best.point = Point(0, 0);
    for (std::size_t i = 0; i < graph.edge_count(); ++i) {
        Edge_id e(i);
        Vertex_id s = graph.source(e), t = graph.target(e);
        if (s.is_none() || t.is_none() || !graph.edge(e).border || skip(e))
            continue;
        Segment edge(graph.vertex(s).point, graph.vertex(t).point);
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

    Vertex_id s = graph.source(best.edge), t = graph.target(best.edge);
    const Point& ps = graph.vertex(s).point;
    const Point& pt = graph.vertex(t).point;
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
    reset_working(); // this walk reads the loaded graph and never edits it
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
                return m_graph.source(e) == u || m_graph.target(e) == u;
            });
            if (r.empty()) {
                double best = 0;
                Vertex_id next;
                for (const Edge_id& e : m_graph.incident_edges(u)) {
                    Vertex_id w = m_graph.other_vertex(e, u);
                    Vector to_w(origin, m_graph.vertex(w).point);
                    to_w.normalize();
                    double score = direction * to_w;
                    if (score > best) {
                        best = score;
                        next = w;
                    }
                }
                if (next.is_none())
                    return;
                origin = m_graph.vertex(next).point;
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
                Vertex_id s = m_graph.source(on), t = m_graph.target(on);
                double score = direction * Vector(m_graph.vertex(s).point, m_graph.vertex(t).point);
                if (score == 0)
                    return;
                at_vertex = score > 0 ? t : s;
                at_edge = Edge_id();
                origin = m_graph.vertex(at_vertex).point;
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
