#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include <Orvane/Component/Ground_map.h>
#include <Orvane/Utils/error.h>

#include "Ground_map__search.h"

namespace Orvane::Component {

namespace {
using ground_map::far_away;
} // namespace

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
    // defines is made from the request's record only when someone looks at it.
    reset_working();
    Search& k = *m_search;
    ground_map::Request& r = k.request;
    Vertex_id origin_vertex, target_vertex;
    Edge_id origin_edge, target_edge;

    snap(origin, origin_vertex, origin_edge);
    snap(target, target_vertex, target_edge);

    const std::size_t loaded = m_graph.vertex_count();
    std::size_t n = loaded;
    std::vector<std::pair<Vertex_id, Vertex_id>>& links = r.links;
    if (!origin_edge.is_none()) {
        if (target_edge == origin_edge) {
            path.push_back(target);
            return;
        }
        origin_vertex = Vertex_id(n++);
        links.push_back({origin_vertex, m_graph.source(origin_edge)});
        links.push_back({origin_vertex, m_graph.target(origin_edge)});
    } else if (origin_vertex.is_none()) {
        origin_vertex = Vertex_id(n++);
    }
    r.new_origin = origin_vertex.index() >= loaded;
    if (!target_edge.is_none()) {
        target_vertex = Vertex_id(n++);
        links.push_back({target_vertex, m_graph.source(target_edge)});
        links.push_back({target_vertex, m_graph.target(target_edge)});
    } else if (target_vertex.is_none()) {
        target_vertex = Vertex_id(n++);
    }
    r.new_target = target_vertex.index() >= loaded;
    r.origin = origin;
    r.target = target;
    r.origin_edge = origin_edge;
    r.target_edge = target_edge;

    // Direct walk: open ground needs no search. The border edges are the loaded graph's but
    // the two deleted ones (which touch neither inserted vertex).
    auto deleted = [&](const Edge_id& e) { return e == origin_edge || e == target_edge; };
    Segment direct(origin, target);
    bool blocked = k.borders.any_near(direct, [&](std::uint32_t e) {
        const Border& b = k.border_list[e];
        if (deleted(b.edge) || b.source == origin_vertex || b.target == origin_vertex ||
            b.source == target_vertex || b.target == target_vertex)
            return false;
        return crosses(direct, b.segment);
    });
    if (!blocked && walkable_midpoint(origin, target)) {
        path.push_back(target);
        return;
    }

    // The search runs first with the links inside an ellipse around origin and target only:
    // a walk no longer than the sum of its foci's distances stays inside it, and so do the
    // vertices whose links the whole search would look at (their distance from the origin plus
    // their straight line to the target stays within the walk's length). When the walk found
    // is short enough for the ellipse, it is the one that the links to every vertex give; else
    // the search runs again over the ellipse that the walk found makes certain, and over all
    // the links when there was no walk. The working graph looks for the other links itself.
    r.origin_vertex = origin_vertex;
    r.target_vertex = target_vertex;
    r.base_links = links.size();
    // The first ellipse is as wide as the longest of the last walks, relative to the
    // straight line, needed: narrow on open fields, the whole map where walks wind.
    const double straight = distance(origin, target);
    double detour = 1.1;
    if (!k.detours.empty())
        detour = *std::max_element(k.detours.begin(), k.detours.end()) * 1.01 + 0.01;
    ground_map::Ellipse within{origin, target, straight * detour + 2 * k.vertices.cell()};
    auto remember = [&](double length) {
        if (!(straight > 0))
            return;
        if (k.detours.size() < 16)
            k.detours.push_back(length / straight);
        else
            k.detours[k.next_detour] = length / straight;
        k.next_detour = (k.next_detour + 1) % 16;
    };
    const std::size_t path_size = path.size();
    for (;;) {
        const bool whole = within.whole();
        links.resize(r.base_links);
        r.stage = ground_map::Request::Stage::copy;
        r.partial = !whole;
        const bool walked = k.link_and_walk(*this, n, within, path);
        if (!walked && !whole) {
            within.sum = far_away;
            continue;
        }
        if (whole) {
            if (walked)
                remember(k.walk.length());
            return;
        }
        const double length = k.walk.length();
        // margins far above the rounding of the search's sums
        const double enough = length * (1 + 1e-6) + 1e-3;
        if (enough <= within.sum) {
            remember(length);
            return;
        }
        path.resize(path_size);
        within.sum = enough;
    }
}

bool Ground_map::Search::link_and_walk(const Ground_map& map, std::size_t n,
                                       const ground_map::Ellipse& within,
                                       std::vector<Point>& path) {
    Search& k = *this;
    ground_map::Request& r = k.request;
    std::vector<std::pair<Vertex_id, Vertex_id>>& links = r.links;
    const std::size_t loaded = k.points.size();
    const Vertex_id origin_vertex = r.origin_vertex, target_vertex = r.target_vertex;
    auto point = [&](std::uint32_t v) -> const Point& {
        if (v < loaded)
            return k.points[v];
        return (v == loaded && r.new_origin) ? r.origin : r.target;
    };
    auto deleted = [&](const Edge_id& e) { return e == r.origin_edge || e == r.target_edge; };
    // Visibility links from the vertices to the origin and to the target.
    for (const Vertex_id& j : {origin_vertex, target_vertex}) {
        k.visible(map, point(std::uint32_t(j.index())), origin_vertex, target_vertex, k.sees,
                  within);
        for (std::uint32_t i : k.sees)
            links.push_back({Vertex_id(i), j});
    }
    r.stage = ground_map::Request::Stage::augmented;

    // The links of each vertex.
    k.link_start.assign(n + 1, 0);
    for (const auto& [a, b] : links) {
        ++k.link_start[a.index() + 1];
        ++k.link_start[b.index() + 1];
    }
    for (std::size_t v = 0; v < n; ++v)
        k.link_start[v + 1] += k.link_start[v];
    k.link_to.resize(k.link_start[n]);
    k.sees.assign(k.link_start.begin(), k.link_start.end() - 1);
    for (const auto& [a, b] : links) {
        k.link_to[k.sees[a.index()]++] = std::uint32_t(b.index());
        k.link_to[k.sees[b.index()]++] = std::uint32_t(a.index());
    }
    // Whether a vertex keeps an edge in the working graph (the clean-up drops it otherwise).
    auto keeps_edges = [&](const Vertex_id& v) {
        if (k.link_start[v.index() + 1] > k.link_start[v.index()])
            return true;
        if (v.index() >= loaded)
            return false;
        for (std::uint32_t a = k.arc_start[v.index()]; a < k.arc_start[v.index() + 1]; ++a)
            if (!deleted(Edge_id(k.arcs[a].edge)))
                return true;
        return false;
    };

    // No walkable link reached the target: there is no walk, and the game goes on.
    if (!keeps_edges(target_vertex))
        return false;
    r.stage = ground_map::Request::Stage::cleaned;
    if (!keeps_edges(origin_vertex))
        return false; // the origin saw nothing: no walk from it

    // The clean-up keeps the order of the vertices, so the search runs on the handles before
    // it and finds the walk that it would find on the cleaned working graph.
    auto neighbors = [&](std::uint32_t v, auto&& step) {
        if (v < loaded)
            for (std::uint32_t a = k.arc_start[v]; a < k.arc_start[v + 1]; ++a) {
                const ground_map::Arc& arc = k.arcs[a];
                if (!deleted(Edge_id(arc.edge)))
                    step(arc.to, arc.length);
            }
        const Point& pv = point(v);
        for (std::uint32_t a = k.link_start[v]; a < k.link_start[v + 1]; ++a)
            step(k.link_to[a], distance(pv, point(k.link_to[a])));
    };
    return k.walk.find(n, std::uint32_t(origin_vertex.index()),
                       std::uint32_t(target_vertex.index()), point, neighbors, path);
}

bool Ground_map::shortest_path(Vertex_id origin, Vertex_id target, std::vector<Point>& path) {
    const Graph& w = working_graph();
    w.vertex(origin);
    w.vertex(target); // a target outside the graph is fatal, never read beyond it
    auto point = [&](std::uint32_t v) -> const Point& { return w.vertex(Vertex_id(v)).point; };
    auto neighbors = [&](std::uint32_t v, auto&& step) {
        const Point& pv = w.vertex(Vertex_id(v)).point;
        for (const Edge_id& e : w.incident_edges(Vertex_id(v))) {
            Vertex_id u = w.opposite(e, Vertex_id(v));
            step(std::uint32_t(u.index()), distance(pv, w.vertex(u).point));
        }
    };
    return m_search->walk.find(w.vertex_count(), std::uint32_t(origin.index()),
                               std::uint32_t(target.index()), point, neighbors, path);
}

Ground_map::Simplex Ground_map::closest_intersected_edge(const Point& p,
                                                         const Orvane::Vector& v,
                                                         const Skip& skip) const {
    // The ray reaches across the whole mask even for a short stick vector.
    double scale = double(m_max_length) / std::min(v.length(), 1.0);
    Segment ray(p, p + v * scale);
    const Graph& graph = working();
    const Search& k = *m_search;
    Simplex best;
    best.point = Point(0, 0);
    // The nearest crossing wins, the lower edge index on a tie, in whatever order they come.
    auto consider = [&](const Edge_id& e, const Segment& edge) {
        if (!crosses(ray, edge))
            return;
        Point q = intersection(ray, edge);
        double d = distance(p, q);
        if (d < best.distance || (d == best.distance && e < best.edge)) {
            best.vertex = Vertex_id();
            best.edge = e;
            best.distance = d;
            best.point = q;
        }
    };
    const Point& a = ray.first();
    const Point& b = ray.second();
    const double length = distance(a, b);
    if (k.request.stage == ground_map::Request::Stage::copy && std::isfinite(length)) {
        // The working graph's border edges are the loaded graph's: the border grid gives those
        // near the ray, one stretch after the other from p, until a crossing nearer than the
        // stretches not yet looked at is found. Only the part of the ray over the border
        // edges' box is walked.
        double from = 0, to = length;
        const Box& box = k.border_box;
        for (int axis = 0; axis < 2 && from <= to; ++axis) {
            const double start = axis == 0 ? a.x() : a.y();
            const double delta = (axis == 0 ? b.x() - a.x() : b.y() - a.y()) / length;
            const double lo = (axis == 0 ? box.xmin : box.ymin) - 1;
            const double hi = (axis == 0 ? box.xmax : box.ymax) + 1;
            if (delta == 0) {
                if (start < lo || start > hi)
                    to = -1;
                continue;
            }
            double t0 = (lo - start) / delta, t1 = (hi - start) / delta;
            if (t0 > t1)
                std::swap(t0, t1);
            from = std::max(from, t0);
            to = std::min(to, t1);
        }
        const double step = 2 * k.borders.cell();
        const Orvane::Vector along(a, b);
        for (double at = std::max(from, 0.0); !k.border_list.empty() && at <= to; at += step) {
            const double end = std::min(at + step, to);
            Segment part(a + along * (at / length), a + along * (end / length));
            k.borders.any_near(part, [&](std::uint32_t id) {
                const Border& edge = k.border_list[id];
                // the crossing first: most edges met do not cross, and skip() reads the graph
                if (crosses(ray, edge.segment) && !skip(edge.edge))
                    consider(edge.edge, edge.segment);
                return false;
            });
            if (best.distance < end * (1 - 1e-9) - 1e-9)
                break;
        }
    } else {
        for (std::size_t i = 0; i < graph.edge_count(); ++i) {
            Edge_id e(i);
            Vertex_id s = graph.source(e), t = graph.target(e);
            if (s.is_none() || t.is_none() || !graph.edge(e).border || skip(e))
                continue;
            consider(e, Segment(graph.vertex(s).point, graph.vertex(t).point));
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
    // only a vertex or edge within the border radius is an answer
    Simplex c = closest_simplex(Point((p.x() + best.point.x()) / 2, (p.y() + best.point.y()) / 2),
                                border_radius);
    if (!c.edge.is_none() && skip(c.edge))
        return Simplex{Vertex_id(), Edge_id(), far_away, Point(0, 0)};
    if (c.distance <= border_radius)
        return c;
    return Simplex{Vertex_id(), Edge_id(), far_away, Point(0, 0)};
}

void Ground_map::find_path(Point origin, Orvane::Vector direction, std::vector<Point>& path) {
    reset_working(); // this walk reads the loaded graph and never edits it
    if (!(direction.length() > 0) || !std::isfinite(direction.length()))
        return; // no direction to walk in
    Vertex_id at_vertex;
    Edge_id at_edge;
    snap(origin, at_vertex, at_edge);
    std::size_t limit = m_graph.vertex_count() + m_graph.edge_count();
    // Each pass depends only on where the walk is: once a place comes back, the walk would go
    // round the same places until the pass limit (at a wall's corner it may stay on one point
    // for thousands of passes). It stops where it would come back instead.
    std::set<std::tuple<std::size_t, std::size_t, double, double>> been;
    been.insert({at_vertex.index(), at_edge.index(), origin.x(), origin.y()});
    auto move_to = [&](const Vertex_id& v, const Edge_id& e, const Point& p) {
        if (!been.insert({v.index(), e.index(), p.x(), p.y()}).second)
            return false;
        at_vertex = v;
        at_edge = e;
        origin = p;
        path.push_back(origin);
        return true;
    };

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
                    Orvane::Vector to_w(origin, m_graph.vertex(w).point);
                    to_w.normalize();
                    double score = direction * to_w;
                    if (score > best) {
                        best = score;
                        next = w;
                    }
                }
                if (next.is_none() || !move_to(next, Edge_id(), m_graph.vertex(next).point))
                    return;
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
                double score =
                    direction * Orvane::Vector(m_graph.vertex(s).point, m_graph.vertex(t).point);
                if (score == 0)
                    return;
                Vertex_id next = score > 0 ? t : s;
                if (!move_to(next, Edge_id(), m_graph.vertex(next).point))
                    return;
                continue;
            }
        }
        if (!move_to(r.vertex, r.edge, r.point))
            return;
    }
    // More passes than the graph has vertices and edges: the walk goes round; stop here.
}

} // namespace Orvane::Component
