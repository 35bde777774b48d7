#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include <Orvane/Component/Ground_map.h>
#include <Orvane/Utils/error.h>

#include "Ground_map__search.h"

namespace Orvane::Component {

Ground_map::Ground_map(const std::string& entity, const std::string& component, Mask mask,
                       int front_z, int back_z, Graph graph)
    : Base(entity, component), m_mask(std::move(mask)),
      m_max_length(int(distance(0, 0, m_mask.width(), m_mask.height()))), m_front_z(front_z),
      m_back_z(back_z), m_graph(std::move(graph)), m_search(std::make_unique<Search>()) {
    m_search->working = m_graph;
    index_graph();
}

Ground_map::Ground_map(const Ground_map& other)
    : Base(other), m_mask(other.m_mask), m_max_length(other.m_max_length),
      m_front_z(other.m_front_z), m_back_z(other.m_back_z), m_graph(other.m_graph),
      m_search(std::make_unique<Search>(*other.m_search)) {}

Ground_map::Ground_map(const std::string& entity, const std::string& component,
                       const Ground_map& other)
    : Base(entity, component), m_mask(other.m_mask), m_max_length(other.m_max_length),
      m_front_z(other.m_front_z), m_back_z(other.m_back_z), m_graph(other.m_graph),
      m_search(std::make_unique<Search>(*other.m_search)) {}

Ground_map::Ground_map(Ground_map&& other) noexcept = default;

Ground_map& Ground_map::operator=(const Ground_map& other) {
    if (this != &other)
        *this = Ground_map(other);
    return *this;
}

Ground_map& Ground_map::operator=(Ground_map&& other) noexcept = default;

Ground_map::~Ground_map() = default;

// ---- Probes ----

bool Ground_map::is_ground_point(const Point& p) const { return m_mask.walkable(p.X(), p.Y()); }

bool Ground_map::walkable_midpoint(const Point& a, const Point& b) const {
    return is_ground_point(Point((a.x() + b.x()) / 2, (a.y() + b.y()) / 2));
}

double Ground_map::z_at_point(const Point& p) const {
    int x = std::max(std::min(p.X(), m_mask.width() - 1), 0);
    int y = std::max(std::min(p.Y(), m_mask.height() - 1), 0);
    int gray = m_mask.level(x, y);
    if (gray < 0) {
        Simplex c = closest_simplex(p);
        if (!c.vertex.is_none()) {
            gray = m_graph.vertex(c.vertex).gray;
        } else if (!c.edge.is_none()) {
            const Vertex& s = m_graph.vertex(m_graph.source(c.edge));
            const Vertex& t = m_graph.vertex(m_graph.target(c.edge));
            double ds = distance(c.point, s.point);
            double dt = distance(c.point, t.point);
            gray = int((s.gray * dt + t.gray * ds) / (ds + dt));
        } else {
            gray = 0; // no graph to ask: the front
        }
    }
    return (1 - gray / 255.0) * (m_front_z - m_back_z) + m_back_z;
}

namespace {

/// The nearest of the given vertices and edges of `graph` to p, scanned vertices first, each in
/// increasing index: ties keep the earlier candidate.
template <typename Vertices, typename Edges>
Ground_map::Simplex nearest(const Ground_map::Graph& graph, const Point& p,
                            const Vertices& vertices, const Edges& edges) {
    Ground_map::Simplex best;
    best.point = p;
    for (std::size_t i : vertices) {
        const Point& q = graph.vertex(Ground_map::Vertex_id(i)).point;
        double d = distance(p, q);
        if (d < best.distance) {
            best.distance = d;
            best.vertex = Ground_map::Vertex_id(i);
            best.point = q;
        }
    }
    for (std::size_t i : edges) {
        Ground_map::Edge_id e(i);
        Ground_map::Vertex_id s = graph.source(e);
        if (s.is_none())
            continue;
        const Point& a = graph.vertex(s).point;
        const Point& b = graph.vertex(graph.target(e)).point;
        // An edge whose box is not nearer than the best cannot win: skip the projection.
        double bx = std::max({std::min(a.x(), b.x()) - p.x(), 0.0, p.x() - std::max(a.x(), b.x())});
        double by = std::max({std::min(a.y(), b.y()) - p.y(), 0.0, p.y() - std::max(a.y(), b.y())});
        if (bx * bx + by * by > best.distance * best.distance)
            continue;
        Segment seg(a, b);
        auto [q, inside] = seg.projection(p);
        if (!inside)
            continue;
        double d = distance(p, q);
        if (d < best.distance) {
            best.distance = d;
            best.edge = e;
            best.vertex = Ground_map::Vertex_id();
            best.point = q;
        }
    }
    return best;
}

/// The indices 0 to n - 1, without storing them.
struct All {
    std::size_t n;
    struct Iterator {
        std::size_t i;
        std::size_t operator*() const { return i; }
        Iterator& operator++() {
            ++i;
            return *this;
        }
        bool operator!=(const Iterator& o) const { return i != o.i; }
    };
    Iterator begin() const { return {0}; }
    Iterator end() const { return {n}; }
};

} // namespace

Ground_map::Simplex Ground_map::closest_simplex(const Point& p) const {
    return closest_simplex(p, std::numeric_limits<double>::infinity());
}

Ground_map::Simplex Ground_map::closest_simplex(const Point& p, double radius) const {
    // The grid meets the vertices and edges near p ring after ring; the nearest met so far is
    // kept as a scan of the whole graph in index order, vertices first, would keep it (the
    // smallest distance, then vertices before edges, then the lower index), so that the order
    // in which the grid meets them does not matter. Once every unmet item lies farther than it,
    // the scan's answer is known.
    const std::size_t vertices = m_graph.vertex_count();
    const std::vector<Point>& points = m_search->points;
    Simplex best;
    best.point = p;
    auto consider = [&](std::uint32_t id) {
        if (id < vertices) {
            const Point& q = points[id];
            const double d = distance(p, q);
            if (d < best.distance || (d == best.distance && (!best.edge.is_none() ||
                                                             Vertex_id(id) < best.vertex)))
                best = {Vertex_id(id), Edge_id(), d, q};
            return;
        }
        const Edge_id e(id - vertices);
        const auto& [s, t] = m_search->ends[e.index()];
        const Point& a = points[s];
        const Point& b = points[t];
        // An edge whose box lies farther than the best cannot win: no projection for it.
        const double bx = std::max({std::min(a.x(), b.x()) - p.x(), 0.0,
                                    p.x() - std::max(a.x(), b.x())});
        const double by = std::max({std::min(a.y(), b.y()) - p.y(), 0.0,
                                    p.y() - std::max(a.y(), b.y())});
        if (bx * bx + by * by > best.distance * best.distance)
            return;
        Segment seg(a, b);
        auto [q, inside] = seg.projection(p);
        if (!inside)
            return;
        const double d = distance(p, q);
        if (d < best.distance ||
            (d == best.distance && !best.edge.is_none() && e < best.edge))
            best = {Vertex_id(), e, d, q};
    };
    if (radius < m_search->simplices.cell()) {
        // Only the cells within the radius: what lies farther cannot be an answer.
        const double r = radius + 1e-6 * m_search->simplices.cell();
        if (m_search->simplices.in_box(Box{p.x() - r, p.y() - r, p.x() + r, p.y() + r},
                                       consider)) {
            if (best.distance > radius)
                return Simplex{Vertex_id(), Edge_id(), std::numeric_limits<double>::max(), p};
            return best;
        }
    }
    // unmet items lie at least ring cells away; the margin covers rounding
    bool found = m_search->simplices.around(p, consider, [&](int ring) {
        return best.distance + 1e-6 < ring * m_search->simplices.cell();
    });
    if (!found)
        return nearest(m_graph, p, All{vertices}, All{m_graph.edge_count()});
    return best;
}

bool Ground_map::crosses(const Segment& s, const Segment& b) {
    auto orientation = [](const Point& a, const Point& p, const Point& c) {
        double o = (p.y() - a.y()) * (c.x() - p.x()) - (p.x() - a.x()) * (c.y() - p.y());
        return o == 0 ? 0 : (o > 0 ? 1 : 2);
    };
    const Point &p1 = s.first(), &q1 = s.second(), &p2 = b.first(), &q2 = b.second();
    return orientation(p1, q1, p2) != orientation(p1, q1, q2) &&
           orientation(p2, q2, p1) != orientation(p2, q2, q1);
}

bool Ground_map::intersects_border(const Graph& graph, const Segment& segment,
                                   const Skip& skip) const {
    for (std::size_t i = 0; i < graph.edge_count(); ++i) {
        Edge_id e(i);
        Vertex_id s = graph.source(e), t = graph.target(e);
        if (s.is_none() || t.is_none() || !graph.edge(e).border || skip(e))
            continue;
        if (crosses(segment, Segment(graph.vertex(s).point, graph.vertex(t).point)))
            return true;
    }
    return false;
}

// ---- Spatial grid ----

void Ground_map::Grid::clear() {
    m_cols = m_rows = 0;
    m_items = 0;
    m_start.clear();
    m_ids.clear();
    m_stamp.clear();
}

void Ground_map::Grid::build(const std::vector<std::pair<std::uint32_t, Segment>>& items,
                             bool margin) {
    clear();
    if (items.empty())
        return;
    Box all = items.front().second.box();
    std::uint32_t max_id = 0;
    for (const auto& [id, segment] : items) {
        Box b = segment.box();
        all.xmin = std::min(all.xmin, b.xmin);
        all.ymin = std::min(all.ymin, b.ymin);
        all.xmax = std::max(all.xmax, b.xmax);
        all.ymax = std::max(all.ymax, b.ymax);
        max_id = std::max(max_id, id);
    }
    // Cells of 32 pixels, wider when the items spread over more than a thousand of them (a
    // graph file may hold any coordinates), and wider still until the grid holds no more cells
    // than a few per item: building it and walking it then cost in proportion to the items,
    // however far apart they lie.
    const double width = all.xmax - all.xmin, height = all.ymax - all.ymin;
    const double max_cells = std::max(4096.0, 8.0 * double(items.size()));
    m_cell = std::max(32.0, std::max(width, height) / 1024);
    while ((width / m_cell + 6) * (height / m_cell + 6) > max_cells)
        m_cell *= 2;
    m_items = items.size();
    m_x0 = all.xmin - 2 * m_cell;
    m_y0 = all.ymin - 2 * m_cell;
    m_cols = int((all.xmax - m_x0) / m_cell) + 3;
    m_rows = int((all.ymax - m_y0) / m_cell) + 3;
    std::vector<std::vector<std::uint32_t>> lists(std::size_t(m_cols) * std::size_t(m_rows));
    m_stamp.assign(std::size_t(max_id) + 1, 0);
    m_query = 0;
    std::vector<std::size_t> covered;
    for (const auto& [id, segment] : items) {
        covered.clear();
        cells(segment, [&](std::size_t cell) {
            covered.push_back(cell);
            return false;
        });
        if (margin) {
            std::size_t n = covered.size();
            for (std::size_t k = 0; k < n; ++k) {
                std::size_t c = covered[k] % std::size_t(m_cols);
                std::size_t r = covered[k] / std::size_t(m_cols);
                for (std::size_t rr = r - 1; rr <= r + 1; ++rr)
                    for (std::size_t cc = c - 1; cc <= c + 1; ++cc)
                        covered.push_back(rr * std::size_t(m_cols) + cc);
            }
            std::sort(covered.begin(), covered.end());
            covered.erase(std::unique(covered.begin(), covered.end()), covered.end());
        }
        for (std::size_t cell : covered)
            lists[cell].push_back(id);
    }
    // flattened: one array for all cells, so that a query walks contiguous memory
    m_start.assign(lists.size() + 1, 0);
    for (std::size_t c = 0; c < lists.size(); ++c)
        m_start[c + 1] = m_start[c] + std::uint32_t(lists[c].size());
    m_ids.reserve(m_start.back());
    for (const std::vector<std::uint32_t>& list : lists)
        m_ids.insert(m_ids.end(), list.begin(), list.end());
}

void Ground_map::index_graph() {
    Search& k = *m_search;
    k.border_list.clear();
    std::vector<std::pair<std::uint32_t, Segment>> items;
    for (std::size_t i = 0; i < m_graph.edge_count(); ++i) {
        Edge_id e(i);
        Vertex_id s = m_graph.source(e), t = m_graph.target(e);
        if (s.is_none() || t.is_none() || !m_graph.edge(e).border)
            continue;
        Segment segment(m_graph.vertex(s).point, m_graph.vertex(t).point);
        items.push_back({std::uint32_t(k.border_list.size()), segment});
        k.border_list.push_back({segment, s, t, e});
    }
    k.borders.build(items, false);
    k.border_box = Box();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Box b = items[i].second.box();
        k.border_box = i == 0 ? b : Box{std::min(k.border_box.xmin, b.xmin),
                                        std::min(k.border_box.ymin, b.ymin),
                                        std::max(k.border_box.xmax, b.xmax),
                                        std::max(k.border_box.ymax, b.ymax)};
    }

    items.clear();
    const std::size_t vertices = m_graph.vertex_count();
    k.bounded = true;
    k.points.clear();
    for (std::size_t v = 0; v < vertices; ++v) {
        const Point& p = m_graph.vertex(Vertex_id(v)).point;
        k.points.push_back(p);
        items.push_back({std::uint32_t(v), Segment(p, p)});
        k.bounded = k.bounded && std::abs(p.x()) <= 1e6 && std::abs(p.y()) <= 1e6;
        const Box b = p.box();
        k.vertex_box = v == 0 ? b : Box{std::min(k.vertex_box.xmin, b.xmin),
                                        std::min(k.vertex_box.ymin, b.ymin),
                                        std::max(k.vertex_box.xmax, b.xmax),
                                        std::max(k.vertex_box.ymax, b.ymax)};
    }
    k.vertices.build(items, false);
    k.ends.assign(m_graph.edge_count(), {0, 0});
    for (std::size_t i = 0; i < m_graph.edge_count(); ++i) {
        Vertex_id s = m_graph.source(Edge_id(i)), t = m_graph.target(Edge_id(i));
        if (s.is_none() || t.is_none())
            continue;
        k.ends[i] = {std::uint32_t(s.index()), std::uint32_t(t.index())};
        items.push_back({std::uint32_t(vertices + i),
                         Segment(m_graph.vertex(s).point, m_graph.vertex(t).point)});
    }
    k.simplices.build(items, false);

    // The arcs list each vertex's edges in increasing edge index, as a clean-up leaves them.
    const std::size_t n = m_graph.vertex_count();
    k.arc_start.assign(n + 1, 0);
    for (std::size_t i = 0; i < m_graph.edge_count(); ++i) {
        Vertex_id s = m_graph.source(Edge_id(i)), t = m_graph.target(Edge_id(i));
        if (s.is_none() || t.is_none())
            continue;
        ++k.arc_start[s.index() + 1];
        ++k.arc_start[t.index() + 1];
    }
    for (std::size_t v = 0; v < n; ++v)
        k.arc_start[v + 1] += k.arc_start[v];
    k.arcs.assign(k.arc_start[n], {});
    std::vector<std::uint32_t> at(k.arc_start.begin(), k.arc_start.end() - 1);
    for (std::size_t i = 0; i < m_graph.edge_count(); ++i) {
        Vertex_id s = m_graph.source(Edge_id(i)), t = m_graph.target(Edge_id(i));
        if (s.is_none() || t.is_none())
            continue;
        const Point& ps = m_graph.vertex(s).point;
        const Point& pt = m_graph.vertex(t).point;
        const bool border = m_graph.edge(Edge_id(i)).border;
        k.arcs[at[s.index()]++] = {std::uint32_t(t.index()), std::uint32_t(i), distance(ps, pt),
                                   border};
        k.arcs[at[t.index()]++] = {std::uint32_t(s.index()), std::uint32_t(i), distance(pt, ps),
                                   border};
    }
}

// ---- Working graph ----

void Ground_map::reset_working() {
    m_search->request.stage = ground_map::Request::Stage::copy;
    m_search->request.links.clear();
    m_search->request.partial = false;
    m_search->working_ready = false;
}

const Ground_map::Graph& Ground_map::working() const {
    if (!m_search->working_ready && m_search->request.stage == ground_map::Request::Stage::copy)
        return m_graph;
    return working_graph();
}

const Ground_map::Graph& Ground_map::working_graph() const {
    Search& k = *m_search;
    if (k.working_ready)
        return k.working;
    // Replays the request on a fresh copy, step by step as the request is defined.
    using Stage = ground_map::Request::Stage;
    k.working = m_graph;
    ground_map::Request& r = k.request;
    if (r.partial) {
        // the search linked the vertices near its walk only: the others are linked now
        r.links.resize(r.base_links);
        for (const Vertex_id& j : {r.origin_vertex, r.target_vertex}) {
            k.visible(*this, j == r.origin_vertex ? r.origin : r.target, r.origin_vertex,
                      r.target_vertex, k.sees, ground_map::Ellipse{});
            for (std::uint32_t i : k.sees)
                r.links.push_back({Vertex_id(i), j});
        }
        r.partial = false;
    }
    if (r.stage != Stage::copy) {
        if (r.new_origin) {
            k.working.add_vertex({r.origin, 0});
            if (!r.origin_edge.is_none())
                k.working.delete_edge(r.origin_edge);
        }
        if (r.new_target) {
            k.working.add_vertex({r.target, 0});
            if (!r.target_edge.is_none())
                k.working.delete_edge(r.target_edge);
        }
        std::set<std::pair<Vertex_id, Vertex_id>, Compare_ordered_pair> links(r.links.begin(),
                                                                              r.links.end());
        for (const auto& [a, b] : links) {
            Edge_id e = k.working.add_edge(a, b, {});
            k.working.edge(e).border = false;
        }
        if (r.stage != Stage::augmented) {
            k.working.clean();
            k.working.validity();
        }
    }
    k.working_ready = true;
    return k.working;
}

} // namespace Orvane::Component
