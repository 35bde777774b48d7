// Visibility links of a path request: the vertices of the graph that a point sees, found ring
// after ring around it, with the walls met so far shadowing what lies behind them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include <Orvane/Component/Ground_map.h>

#include "Ground_map__search.h"

namespace Orvane::Component {

namespace {

using ground_map::far_away;
/// The depth of a direction bin with no shadow yet.
constexpr double far_away_depth = std::numeric_limits<double>::infinity();
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

} // namespace Orvane::Component
