// The ground map's path-search machinery: spatial grids over the loaded graph, its arcs, the
// record of the last request and the shortest-walk search. Private to the engine: callers see
// only Ground_map.h.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include <Orvane/Component/Ground_map.h>

namespace Orvane::Component {

/// A uniform grid over segments or points, so that crossing and proximity tests look only at
/// what lies near the tested segment.
class Ground_map::Grid {
  public:
    void clear();
    /// Registers every item in the cells its segment passes through; with `margin`, in their
    /// neighbours too (so that points within one cell of a query are met).
    void build(const std::vector<std::pair<std::uint32_t, Segment>>& items, bool margin);
    /// Calls f(id) for every item registered in the cells that the segment passes through
    /// (each item at most once) until f returns true; returns whether it did.
    template <typename F> bool any_near(const Segment& s, F&& f) const;
    /// Calls f(id) once for every item registered in the cells around p, ring after ring (ring
    /// r: the cells r cells away from p's cell), until `enough(r)` is true after a ring (every
    /// item not met by then lies at least r cell widths from p) or the rings have covered the
    /// whole grid. Returns false, without a call, when p is not inside the grid, and false too
    /// when the rings would visit more cells than a few per item (the items met so far are then
    /// not all the candidates): a scan of every item is cheaper.
    template <typename F, typename G> bool around(const Point& p, F&& f, G&& enough) const {
        auto every = [](const Box&) { return true; };
        return rings(p, f, enough, every, true);
    }
    /// As around(), without the limit on the cells visited: false only when p is not inside
    /// the grid.
    template <typename F, typename G> bool all_around(const Point& p, F&& f, G&& enough) const {
        auto every = [](const Box&) { return true; };
        return rings(p, f, enough, every, false);
    }
    /// As all_around(), over the cells whose box (widened by a hair) `keep` accepts only.
    template <typename F, typename G, typename H>
    bool all_around(const Point& p, F&& f, G&& enough, H&& keep) const {
        return rings(p, f, enough, keep, false);
    }
    /// Calls f(id) once for every item registered in the cells that the box overlaps; returns
    /// false, without a call, when the box does not lie within the grid's inner cells.
    template <typename F> bool in_box(const Box& box, F&& f) const;
    /// Width of a cell, in pixels.
    double cell() const { return m_cell; }

  private:
    /// Calls f(cell) for the cells that the segment passes through, widened by a hair so that
    /// a point on a cell's side belongs to both cells, until f returns true; returns whether
    /// it did.
    template <typename F> bool cells(const Segment& s, F&& f) const;
    template <typename F, typename G, typename H>
    bool rings(const Point& p, F& f, G& enough, H& keep, bool limited) const;
    /// Starts a query: every item counts as not met yet.
    void new_query() const {
        if (++m_query == 0) { // wrapped: forget every old stamp
            std::fill(m_stamp.begin(), m_stamp.end(), 0);
            m_query = 1;
        }
    }
    /// Calls f(id) for every item of the cell not met yet in this query, until f returns true
    /// (a void f never stops it); returns whether it did.
    template <typename F> bool each_new_in(std::size_t cell, F& f) const {
        for (std::uint32_t k = m_start[cell]; k < m_start[cell + 1]; ++k) {
            const std::uint32_t id = m_ids[k];
            if (m_stamp[id] == m_query)
                continue;
            m_stamp[id] = m_query;
            if constexpr (std::is_void_v<decltype(f(id))>)
                f(id);
            else if (f(id))
                return true;
        }
        return false;
    }

    double m_cell = 32;
    double m_x0 = 0, m_y0 = 0;
    int m_cols = 0, m_rows = 0;
    std::size_t m_items = 0;            ///< items registered by the last build
    std::vector<std::uint32_t> m_start; ///< cell c lists m_ids[m_start[c]..m_start[c + 1])
    std::vector<std::uint32_t> m_ids;
    mutable std::vector<std::uint32_t> m_stamp;
    mutable std::uint32_t m_query = 0;
};

/// A border edge of the loaded graph, as the crossing tests need it.
struct Ground_map::Border {
    Segment segment;
    Vertex_id source;
    Vertex_id target;
    Edge_id edge;
};

namespace ground_map {

constexpr double far_away = std::numeric_limits<double>::max();

/// The points whose distances to the two foci add up to no more than `sum` pixels: the only
/// places that a walk between the foci no longer than `sum` can pass through.
struct Ellipse {
    Point a;
    Point b;
    double sum = far_away; ///< far_away: the whole plane

    bool whole() const { return !(sum < far_away); }
    bool holds(const Point& p) const { return whole() || distance(p, a) + distance(p, b) <= sum; }
    /// Whether some point of the box lies inside.
    bool meets(const Box& box) const {
        if (whole())
            return true;
        auto to_box = [&](const Point& p) {
            const double dx = std::max({box.xmin - p.x(), 0.0, p.x() - box.xmax});
            const double dy = std::max({box.ymin - p.y(), 0.0, p.y() - box.ymax});
            return std::sqrt(dx * dx + dy * dy);
        };
        return to_box(a) + to_box(b) <= sum;
    }
};

/// One step along the loaded graph from a vertex: to `to` by `edge`, `length` pixels.
struct Arc {
    std::uint32_t to;
    std::uint32_t edge;
    double length;
    bool border;
};

/// What the last request did to the working graph. The working graph itself is made from it
/// only when someone looks at it, so that a request touches only the part of the graph that
/// its search explores. Vertex handles are those before the clean-up.
struct Request {
    enum class Stage {
        copy,      ///< a plain copy of the loaded graph
        augmented, ///< origin and target inserted and linked; no search (isolated target)
        cleaned,   ///< then cleaned up; no search (the origin saw nothing, or was dropped)
    } stage = Stage::copy;
    Point origin;
    Point target;
    bool new_origin = false;
    bool new_target = false;
    Ground_map::Edge_id origin_edge;
    Ground_map::Edge_id target_edge;
    /// The links, unordered and maybe repeated: the working graph adds them in the order of
    /// the link set (Compare_ordered_pair), each once.
    std::vector<std::pair<Ground_map::Vertex_id, Ground_map::Vertex_id>> links;
    /// Whether `links` holds the visibility links within a search ellipse only, after the
    /// first `base_links` (those to the ends of the deleted edges): the working graph then
    /// looks for the others.
    bool partial = false;
    std::size_t base_links = 0;
    Ground_map::Vertex_id origin_vertex;
    Ground_map::Vertex_id target_vertex;
};

/// The shortest walk between two of the vertices 0..n-1, the one that Dijkstra's search with a
/// lazy-deletion heap finds. A* with the straight-line distance to the target (shrunk by a
/// relative hair so that rounding never makes it overestimate) finds the target's distance
/// while exploring only what could lie on a shortest walk, and keeps going past the target over
/// what lies within a hair of that distance. The walk back then picks, at each vertex, the
/// neighbour that Dijkstra's search would have made its parent: of the neighbours whose
/// distance plus the step gives the vertex's distance exactly, the first to leave Dijkstra's
/// queue (the nearest, then the larger index).
class Shortest_walk {
  public:
    /// point(v) is vertex v's point; neighbors(v, f) calls f(w, length) for each step from v.
    /// Appends the walk's points without the origin's; returns false, appending nothing, when
    /// the target is not reached.
    template <typename Point_of, typename Neighbors>
    bool find(std::size_t n, std::uint32_t origin, std::uint32_t target, const Point_of& point,
              const Neighbors& neighbors, std::vector<Point>& path);
    /// The length of the walk that the last successful find() appended.
    double length() const { return m_length; }

  private:
    struct Entry {
        double f; ///< distance from the origin plus the estimate to the target
        double g; ///< distance from the origin when pushed
        std::uint32_t v;
        bool operator<(const Entry& o) const { return f > o.f; } // the smallest f on top
    };
    std::vector<double> m_g;
    std::vector<Entry> m_heap;
    std::vector<Point> m_reversed;
    double m_length = 0;
};

template <typename Point_of, typename Neighbors>
bool Shortest_walk::find(std::size_t n, std::uint32_t origin, std::uint32_t target,
                         const Point_of& point, const Neighbors& neighbors,
                         std::vector<Point>& path) {
    // Relative slack far above the rounding of sums of a few thousand steps.
    constexpr double hair = 1e-7;
    m_g.assign(n, far_away);
    m_heap.clear();
    const Point goal = point(target);
    auto estimate = [&](std::uint32_t v) { return distance(point(v), goal) * (1 - hair); };
    auto push = [&](double f, double g, std::uint32_t v) {
        m_heap.push_back({f, g, v});
        std::push_heap(m_heap.begin(), m_heap.end());
    };
    m_g[origin] = 0;
    push(estimate(origin), 0, origin);
    bool reached = false;
    double bound = far_away;
    while (!m_heap.empty()) {
        std::pop_heap(m_heap.begin(), m_heap.end());
        const Entry e = m_heap.back();
        m_heap.pop_back();
        if (e.g > m_g[e.v])
            continue; // outdated entry
        if (e.f > bound)
            break;
        if (e.v == target) {
            reached = true;
            bound = e.g * (1 + hair);
            continue;
        }
        neighbors(e.v, [&](std::uint32_t w, double length) {
            const double g = length + e.g;
            if (m_g[w] > g) {
                m_g[w] = g;
                push(g + estimate(w), g, w);
            }
        });
    }
    if (!reached)
        return false;
    m_reversed.clear();
    std::uint32_t v = target;
    for (std::size_t steps = 0; v != origin; ++steps) {
        if (steps > n)
            return false; // cannot happen with consistent distances; never loop
        const double gv = m_g[v];
        std::uint32_t parent = std::uint32_t(-1);
        double parent_g = far_away;
        neighbors(v, [&](std::uint32_t w, double length) {
            const double gw = m_g[w];
            if (w == v || gw == far_away || length + gw != gv)
                return;
            if (gw > gv || (gw == gv && w < v))
                return; // leaves Dijkstra's queue after v: never its parent
            if (parent == std::uint32_t(-1) || gw < parent_g || (gw == parent_g && w > parent)) {
                parent = w;
                parent_g = gw;
            }
        });
        if (parent == std::uint32_t(-1))
            return false;
        m_reversed.push_back(point(v));
        v = parent;
    }
    path.insert(path.end(), m_reversed.rbegin(), m_reversed.rend());
    m_length = m_g[target];
    return true;
}

} // namespace ground_map

/// Everything the path requests derive from the loaded graph, the record of the last request
/// with the working graph made from it, and the scratch kept between requests.
struct Ground_map::Search {
    std::vector<Border> border_list;
    Grid borders;   ///< border_list by position
    Box border_box; ///< around every border edge
    Grid simplices; ///< vertex v as v, edge e as vertex count + e
    Grid vertices;  ///< the vertices' points
    std::vector<Point> points; ///< vertex v's point, packed
    /// Edge e's source and target, packed (for the edges that the simplices grid holds).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ends;
    Box vertex_box; ///< around every vertex
    /// Whether every vertex lies within a million pixels of the origin: the visibility shadows
    /// then keep well clear of rounding.
    bool bounded = false;
    std::vector<std::uint32_t> arc_start; ///< vertex v's arcs: arcs[arc_start[v]..[v + 1])
    std::vector<ground_map::Arc> arcs;    ///< per vertex in increasing edge index

    ground_map::Request request;
    Graph working;
    bool working_ready = true; ///< whether `working` shows `request`

    // scratch of the requests
    ground_map::Shortest_walk walk;
    std::vector<double> detours; ///< the last walks' lengths over their straight line's
    std::size_t next_detour = 0; ///< where the next one goes in `detours`
    std::vector<std::uint32_t> link_start; ///< the request's links per vertex
    std::vector<std::uint32_t> link_to;
    std::vector<std::uint32_t> sees; ///< the vertices that see one point; then fill positions
    std::vector<double> shadow; ///< per direction bin, the distance beyond which all is hidden

    /// Links the request's origin and target to the vertices inside `within` that see them,
    /// then appends the shortest walk over the working graph so made, as find_path() does;
    /// returns whether there is one. `n`: the vertex count with the inserted ones.
    bool link_and_walk(const Ground_map& map, std::size_t n, const ground_map::Ellipse& within,
                       std::vector<Point>& path);
    /// Fills `out` with the loaded vertices, other than `origin` and `target`, whose link to
    /// the point pj is walkable: its midpoint on a walkable pixel and no border edge but the
    /// request's deleted ones and the vertex's own crossing it. Vertices are taken nearer ones
    /// first, and those that the border edges met so far certainly hide are never tested.
    /// Only the vertices inside `within` are looked at.
    void visible(const Ground_map& map, const Point& pj, Vertex_id origin, Vertex_id target,
                 std::vector<std::uint32_t>& out, const ground_map::Ellipse& within);
};

/// Calls f(column, row) for the cells of a grid of square cells of side `cell` whose column 0
/// starts at x0 that the segment a-b passes through, widened by eps, until f returns true;
/// returns whether it did. column(x) and row(y) give the cell of a coordinate, clamped as the
/// grid needs. Cells are visited from a towards b (columns in that direction, rows within a
/// column too), so that a search that stops at the first hit looks first where the segment
/// starts.
template <typename Column, typename Row, typename F>
bool walk_segment_cells(const Point& a, const Point& b, double x0, double cell, double eps,
                        const Column& column, const Row& row, F&& f) {
    const int c0 = column(std::min(a.x(), b.x()) - eps);
    const int c1 = column(std::max(a.x(), b.x()) + eps);
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    for (int k = 0; k <= c1 - c0; ++k) {
        const int c = dx < 0 ? c1 - k : c0 + k;
        double ymin = std::min(a.y(), b.y()), ymax = std::max(a.y(), b.y());
        if (dx != 0) {
            // the part of the segment within this column (widened by eps)
            const double x_lo = x0 + c * cell - eps, x_hi = x_lo + cell + 2 * eps;
            double u0 = (x_lo - a.x()) / dx, u1 = (x_hi - a.x()) / dx;
            if (u0 > u1)
                std::swap(u0, u1);
            u0 = std::max(u0, 0.0);
            u1 = std::min(u1, 1.0);
            if (u0 > u1)
                continue;
            ymin = std::min(a.y() + dy * u0, a.y() + dy * u1);
            ymax = std::max(a.y() + dy * u0, a.y() + dy * u1);
        }
        const int r0 = row(ymin - eps), r1 = row(ymax + eps);
        for (int m = 0; m <= r1 - r0; ++m)
            if (f(c, dy < 0 ? r1 - m : r0 + m))
                return true;
    }
    return false;
}

template <typename F> bool Ground_map::Grid::cells(const Segment& s, F&& f) const {
    const Point& a = s.first();
    const Point& b = s.second();
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
        !std::isfinite(b.y()))
        return false;
    const double eps = 1e-6 * m_cell;
    // clamped before the conversion, so that far points convert safely
    auto column = [&](double x) {
        return int(std::clamp(std::floor((x - m_x0) / m_cell), 1.0, double(m_cols - 2)));
    };
    auto row = [&](double y) {
        return int(std::clamp(std::floor((y - m_y0) / m_cell), 1.0, double(m_rows - 2)));
    };
    return walk_segment_cells(a, b, m_x0, m_cell, eps, column, row, [&](int col, int r) {
        return f(std::size_t(r) * std::size_t(m_cols) + std::size_t(col));
    });
}

template <typename F> bool Ground_map::Grid::any_near(const Segment& s, F&& f) const {
    if (m_start.empty())
        return false;
    new_query();
    return cells(s, [&](std::size_t cell) { return each_new_in(cell, f); });
}

template <typename F> bool Ground_map::Grid::in_box(const Box& box, F&& f) const {
    if (m_start.empty() || !std::isfinite(box.xmin) || !std::isfinite(box.ymin) ||
        !std::isfinite(box.xmax) || !std::isfinite(box.ymax))
        return false;
    const double c0 = std::floor((box.xmin - m_x0) / m_cell);
    const double c1 = std::floor((box.xmax - m_x0) / m_cell);
    const double r0 = std::floor((box.ymin - m_y0) / m_cell);
    const double r1 = std::floor((box.ymax - m_y0) / m_cell);
    if (c0 < 1 || r0 < 1 || c1 > m_cols - 2 || r1 > m_rows - 2)
        return false;
    new_query();
    auto every = [&](std::uint32_t id) { f(id); };
    for (int r = int(r0); r <= int(r1); ++r)
        for (int c = int(c0); c <= int(c1); ++c)
            each_new_in(std::size_t(r) * std::size_t(m_cols) + std::size_t(c), every);
    return true;
}

template <typename F, typename G, typename H>
bool Ground_map::Grid::rings(const Point& p, F& f, G& enough, H& keep, bool limited) const {
    if (m_start.empty() || !std::isfinite(p.x()) || !std::isfinite(p.y()))
        return false;
    const double fx = std::floor((p.x() - m_x0) / m_cell), fy = std::floor((p.y() - m_y0) / m_cell);
    if (fx < 1 || fy < 1 || fx > m_cols - 2 || fy > m_rows - 2)
        return false;
    const int cx = int(fx), cy = int(fy);
    new_query();
    // Cells visited, out of a budget of a few per item: past it, the nearest item lies so far
    // away (in cells) that scanning every item costs less than walking on.
    std::size_t budget = 4 * m_items + 64;
    const double hair = 1e-3 * m_cell; // far above the widening that registers the items
    auto every = [&](std::uint32_t id) { f(id); };
    auto visit = [&](int c, int r) {
        --budget;
        const double x = m_x0 + c * m_cell, y = m_y0 + r * m_cell;
        if (!keep(Box{x - hair, y - hair, x + m_cell + hair, y + m_cell + hair}))
            return;
        each_new_in(std::size_t(r) * std::size_t(m_cols) + std::size_t(c), every);
    };
    for (int ring = 0;; ++ring) {
        // the ring's cells within the grid (rings are clipped to it)
        const int c0 = std::max(cx - ring, 0), c1 = std::min(cx + ring, m_cols - 1);
        const int r0 = std::max(cy - ring + 1, 0), r1 = std::min(cy + ring - 1, m_rows - 1);
        std::size_t cells = 0;
        if (ring == 0) {
            cells = 1;
        } else {
            const std::size_t across = std::size_t(c1 - c0 + 1);
            const std::size_t down = r1 >= r0 ? std::size_t(r1 - r0 + 1) : 0;
            cells = across * ((cy - ring >= 0) + (cy + ring < m_rows)) +
                    down * ((cx - ring >= 0) + (cx + ring < m_cols));
        }
        if (limited && cells > budget)
            return false;
        if (ring == 0) {
            visit(cx, cy);
        } else {
            for (int c = c0; c <= c1; ++c) {
                if (cy - ring >= 0)
                    visit(c, cy - ring);
                if (cy + ring < m_rows)
                    visit(c, cy + ring);
            }
            for (int r = r0; r <= r1; ++r) {
                if (cx - ring >= 0)
                    visit(cx - ring, r);
                if (cx + ring < m_cols)
                    visit(cx + ring, r);
            }
        }
        const bool whole = cx - ring <= 0 && cy - ring <= 0 && cx + ring >= m_cols - 1 &&
                           cy + ring >= m_rows - 1;
        if (whole || enough(ring))
            break;
    }
    return true;
}

} // namespace Orvane::Component
