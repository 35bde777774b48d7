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
/// The depth of a direction bin with no shadow yet.
constexpr double far_away_depth = std::numeric_limits<double>::infinity();
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

namespace {

constexpr int shadow_bins = 1024;

/// A number that grows with the direction's angle, in [0, 4): cheaper than atan2, and two
/// opposite directions differ by exactly 2.
double pseudo_angle(double dx, double dy) {
    const double p = dx / (std::abs(dx) + std::abs(dy));
    return dy >= 0 ? 1 - p : 3 + p;
}

} // namespace

void Ground_map::Search::visible(const Ground_map& map, const Point& pj, Vertex_id origin,
                                 Vertex_id target, std::vector<std::uint32_t>& out,
                                 const ground_map::Ellipse& within) {
    out.clear();
    const Graph& g = map.m_graph;
    auto deleted = [&](const Edge_id& e) {
        return e == request.origin_edge || e == request.target_edge;
    };
    // Shadows: per direction bin around pj, the distance beyond which every point is hidden
    // by a border edge met so far. A vertex is left untested only when it lies in a bin well
    // inside an edge's angle and well beyond that edge, so that its link certainly crosses
    // it: the margins keep far clear of rounding, for coordinates up to a million.
    const bool shadows = bounded && std::abs(pj.x()) <= 1e6 && std::abs(pj.y()) <= 1e6;
    int open = shadow_bins;               // bins with no shadow yet
    double hidden_beyond = 0;             // once every bin has one: the farthest shadow
    if (shadows)
        shadow.assign(shadow_bins, far_away_depth);
    constexpr double margin = 5e-4; // pseudo-angle kept clear of the edges of every shadow
    // Hides the bins wholly inside the directions from..from + arc, each beyond the larger of
    // depth(direction) at its two sides.
    auto hide = [&](double from, double arc, const auto& depth) {
        constexpr double width = 4.0 / shadow_bins;
        const int k0 = int(std::ceil((from + margin) / width));
        const int k1 = int(std::floor((from + arc - margin) / width));
        double before = k0 < k1 ? depth(k0 * width) : 0;
        for (int k = k0; k < k1; ++k) {
            const double after = depth((k + 1) * width);
            const double beyond = std::max(before, after);
            before = after;
            double& s = shadow[std::size_t((k + shadow_bins) % shadow_bins)];
            if (s > beyond) {
                open -= s == far_away_depth;
                s = beyond;
            }
        }
    };
    // How far from pj the line through a with direction e lies along the direction of
    // pseudo-angle `at` (infinity where it does not lie ahead): within a bin, an edge lies no
    // farther than on the bin's sides.
    auto reach = [](double at, double ax, double ay, double ex, double ey) {
        at = at < 0 ? at + 4 : (at >= 4 ? at - 4 : at);
        const double dx = at <= 2 ? 1 - at : at - 3;
        const double dy = at <= 2 ? 1 - std::abs(dx) : std::abs(dx) - 1;
        const double across = dx * ey - dy * ex;
        const double t = across == 0 ? -1 : (ax * ey - ay * ex) / across;
        return t > 0 ? t * std::sqrt(dx * dx + dy * dy) * (1 + 1e-9) : far_away_depth;
    };
    // The shadow of the border edge from a to b: seen across less than a half-turn, it hides
    // what lies inside its angle beyond it.
    auto cast = [&](const Point& a, const Point& b) {
        const double ax = a.x() - pj.x(), ay = a.y() - pj.y();
        const double bx = b.x() - pj.x(), by = b.y() - pj.y();
        const double da = std::sqrt(ax * ax + ay * ay), db = std::sqrt(bx * bx + by * by);
        if (da < 1 || db < 1 || distance(a, b) < 1)
            return;
        const double pa = pseudo_angle(ax, ay), pb = pseudo_angle(bx, by);
        double from = pa, arc = pb - pa;
        if (arc < 0)
            arc += 4;
        if (arc > 2) {
            from = pb;
            arc = 4 - arc;
        }
        // pj well off the edge's line, so that the side it lies on is never in doubt
        const double off = std::abs(ax * by - ay * bx) / distance(a, b);
        if (arc < 2 && off >= 1e-3 + 1e-6 * std::max(da, db))
            hide(from, arc, [&](double at) { return reach(at, ax, ay, bx - ax, by - ay); });
    };
    // A vertex whose border edges leave it on both sides of the line of sight hides what lies
    // right behind it too: a link passing next to it crosses one of the edges, and one through
    // it touches both. The edges' own shadows stop short of that direction.
    auto cast_behind = [&](std::uint32_t v, const Point& pv) {
        const double vx = pv.x() - pj.x(), vy = pv.y() - pj.y();
        const double dv = std::sqrt(vx * vx + vy * vy);
        if (dv < 1)
            return;
        const double at = pseudo_angle(vx, vy);
        double left = 0, right = 0;
        Point to_left, to_right;
        for (std::uint32_t a = arc_start[v]; a < arc_start[v + 1]; ++a) {
            if (!arcs[a].border || deleted(Edge_id(arcs[a].edge)))
                continue;
            const Point& pw = map.m_graph.vertex(Vertex_id(arcs[a].to)).point;
            const double wx = pw.x() - pj.x(), wy = pw.y() - pj.y();
            const double dw = std::sqrt(wx * wx + wy * wy);
            if (dw < 1 || arcs[a].length < 1)
                continue;
            double turn = pseudo_angle(wx, wy) - at;
            if (turn < 0)
                turn += 4;
            if (turn > left && turn < 2) {
                left = turn;
                to_left = pw;
            } else if (turn > 2 && 4 - turn > right) {
                right = 4 - turn;
                to_right = pw;
            }
        }
        if (left > 2 * margin && right > 2 * margin && left + right <= 1.9)
            hide(at - right, left + right, [&](double direction) {
                const Point& w = direction < at ? to_right : to_left;
                return std::max(dv, reach(direction, vx, vy, w.x() - pv.x(), w.y() - pv.y()));
            });
    };
    auto consider = [&](std::uint32_t i) {
        if (i == origin.index() || i == target.index())
            return;
        const Point& pi = points[i];
        if (shadows) {
            const double dx = pi.x() - pj.x(), dy = pi.y() - pj.y();
            const double d2 = dx * dx + dy * dy;
            if (d2 > 0) {
                const int bin = std::min(int(pseudo_angle(dx, dy) * (shadow_bins / 4.0)),
                                         shadow_bins - 1);
                const double hidden = shadow[std::size_t(bin)] * 1.001;
                if (hidden * hidden < d2)
                    return;
            }
        }
        if (!within.holds(pi))
            return;
        if (map.walkable_midpoint(pi, pj)) {
            Segment link(pi, pj);
            // Searched from j's end: the outline nearest j shadows most of the vertices, so a
            // blocked link usually meets its first crossing early.
            const Border* hit = nullptr;
            borders.any_near(Segment(pj, pi), [&](std::uint32_t e) {
                const Border& b = border_list[e];
                if (deleted(b.edge) || b.source.index() == i || b.target.index() == i ||
                    !crosses(link, b.segment))
                    return false;
                hit = &b;
                return true;
            });
            if (!hit)
                out.push_back(i);
            else if (shadows)
                cast(hit->segment.first(), hit->segment.second());
        }
        if (shadows) {
            for (std::uint32_t a = arc_start[i]; a < arc_start[i + 1]; ++a)
                if (arcs[a].border && !deleted(Edge_id(arcs[a].edge)))
                    cast(pi, g.vertex(Vertex_id(arcs[a].to)).point);
            cast_behind(i, pi);
        }
    };
    // Every vertex not met after ring r lies r cells away or farther: once every bin has a
    // shadow nearer than that, the rest are all hidden.
    if (shadows) {
        // No vertex lies beyond the vertices' box: the directions leaving it from pj hide all.
        const Box& box = vertex_box;
        auto nothing = [](double) { return 0.0; };
        if (pj.x() <= box.xmin)
            hide(1, 2, nothing); // to the left
        if (pj.x() >= box.xmax)
            hide(3, 2, nothing); // to the right
        if (pj.y() <= box.ymin)
            hide(2, 2, nothing); // upwards
        if (pj.y() >= box.ymax)
            hide(0, 2, nothing); // downwards
    }
    // Directions still open once the nearby vertices are done are mostly slits past an
    // outline's corner: the first border edges along each one's middle usually close it.
    bool probed = false;
    auto probe = [&] {
        probed = true;
        const double length = 4.0 * (map.m_max_length + 1) + 4 * std::max(std::abs(pj.x()),
                                                                        std::abs(pj.y()));
        for (int k = 0; k < shadow_bins; ++k) {
            if (shadow[std::size_t(k)] != far_away_depth)
                continue;
            const double at = (k + 0.5) * (4.0 / shadow_bins);
            const double dx = at <= 2 ? 1 - at : at - 3;
            const double dy = at <= 2 ? 1 - std::abs(dx) : std::abs(dx) - 1;
            const Segment ray(pj, Point(pj.x() + dx * length, pj.y() + dy * length));
            borders.any_near(ray, [&](std::uint32_t e) {
                const Border& b = border_list[e];
                if (deleted(b.edge) || !crosses(ray, b.segment))
                    return false;
                cast(b.segment.first(), b.segment.second());
                return shadow[std::size_t(k)] != far_away_depth;
            });
        }
    };
    // every vertex inside the ellipse lies within this distance of pj, one of its foci
    const double reach_all = within.whole() ? far_away
                                            : (within.sum + distance(within.a, within.b)) / 2 *
                                                      (1 + 1e-9) + 1e-6;
    auto enough = [&](int ring) {
        if (ring * vertices.cell() > reach_all)
            return true;
        if (shadows && !probed && ring >= 2 && open > 0)
            probe();
        if (!shadows || open > 0)
            return false;
        // shadows only come nearer: the farthest is looked for again once the rings pass it
        if (ring * vertices.cell() > hidden_beyond * 1.001 + 1e-6)
            hidden_beyond = *std::max_element(shadow.begin(), shadow.end());
        return ring * vertices.cell() > hidden_beyond * 1.001 + 1e-6;
    };
    // A cell whose every vertex the shadows would hide is not walked: every bin that its
    // directions span hides what lies beyond its nearest point.
    auto lit = [&](const Box& box) {
        const double dx = std::max({box.xmin - pj.x(), 0.0, pj.x() - box.xmax});
        const double dy = std::max({box.ymin - pj.y(), 0.0, pj.y() - box.ymax});
        const double near2 = dx * dx + dy * dy;
        if (near2 < 4)
            return true; // around pj: its directions span every bin
        const double a0 = pseudo_angle(box.xmin - pj.x(), box.ymin - pj.y());
        double lo = 0, hi = 0;
        for (const auto& [x, y] : {std::pair{box.xmax, box.ymin}, std::pair{box.xmin, box.ymax},
                                   std::pair{box.xmax, box.ymax}}) {
            double turn = pseudo_angle(x - pj.x(), y - pj.y()) - a0;
            turn = turn > 2 ? turn - 4 : (turn <= -2 ? turn + 4 : turn);
            lo = std::min(lo, turn);
            hi = std::max(hi, turn);
        }
        // a bin more on each side, against the rounding of the vertices' own directions
        const int k0 = int(std::floor((a0 + lo) * (shadow_bins / 4.0))) - 1;
        const int k1 = int(std::floor((a0 + hi) * (shadow_bins / 4.0))) + 1;
        if (k1 - k0 > 16)
            return true; // a near cell: looking at its few vertices costs less
        for (int k = k0; k <= k1; ++k) {
            const double hidden = shadow[std::size_t((k + 2 * shadow_bins) % shadow_bins)] * 1.001;
            if (!(hidden * hidden < near2))
                return true;
        }
        return false;
    };
    if (!vertices.all_around(pj, consider, enough, [&](const Box& box) {
            return within.meets(box) && (!shadows || lit(box));
        }))
        for (std::size_t i = 0; i < g.vertex_count(); ++i)
            consider(std::uint32_t(i));
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
