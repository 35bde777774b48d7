#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include <Orvane/Component/Ground_map.h>
#include <Orvane/Utils/error.h>

#include "Ground_map__search.h"

namespace Orvane::Component {

namespace {
constexpr double deviation_threshold = 2.0;
constexpr double chain_band = 2 * Ground_map::border_radius;
/// The most vertices, and the most edges, that a graph file holds.
constexpr std::size_t file_limit = 65535;
/// A non-walkable patch of at most this many pixels, walkable all round, counts as a speck.
constexpr std::size_t speck_pixels = 16;
/// How many specks a refusal names.
constexpr std::size_t specks_named = 5;

/// Where the isolated non-walkable specks of a mask lie, for an author who has to clean them: the
/// first few in reading order ("(x, y)" of their first pixel), and how many there are in all.
/// A speck is a patch of diagonally or directly touching non-walkable pixels, no larger than
/// speck_pixels and away from the mask's edge.
std::string speck_places(const Ground_map::Mask& mask) {
    const int width = mask.width(), height = mask.height();
    std::vector<bool> seen(std::size_t(width) * std::size_t(height));
    std::vector<std::pair<int, int>> stack;
    std::string places;
    std::size_t count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = std::size_t(y) * std::size_t(width) + std::size_t(x);
            if (seen[at] || mask.walkable(x, y))
                continue;
            // the whole patch is marked, however large, so that it is walked once
            std::size_t size = 0;
            bool edge = false;
            seen[at] = true;
            stack.assign(1, {x, y});
            while (!stack.empty()) {
                auto [px, py] = stack.back();
                stack.pop_back();
                ++size;
                edge = edge || px == 0 || py == 0 || px == width - 1 || py == height - 1;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = px + dx, ny = py + dy;
                        if (nx < 0 || ny < 0 || nx >= width || ny >= height ||
                            mask.walkable(nx, ny))
                            continue;
                        const std::size_t n = std::size_t(ny) * std::size_t(width) + std::size_t(nx);
                        if (!seen[n]) {
                            seen[n] = true;
                            stack.push_back({nx, ny});
                        }
                    }
            }
            if (edge || size > speck_pixels)
                continue;
            if (count < specks_named)
                places += (count > 0 ? ", (" : "(") + std::to_string(x) + ", " +
                          std::to_string(y) + ")";
            ++count;
        }
    if (count == 0)
        return "its outline is too detailed (no isolated non-walkable speck found)";
    return "isolated non-walkable specks lie at " + places +
           (count > specks_named ? ", ..." : "") + " (" + std::to_string(count) +
           (count == 1 ? " speck" : " specks") +
           " in all): make them walkable or part of larger obstacles";
}

/// The outline's border edges and vertices bucketed in square cells, for the inner links: which
/// vertices a vertex may see, the exact crossing test along a link, and the vertices near it.
///
/// What a vertex may see comes from a sweep outwards from it, ring of cells after ring, that
/// keeps per angular bin how far the border edges met so far certainly hide everything: a bin
/// lying wholly inside an edge's angle (with a margin) is hidden beyond the edge. A cell whose
/// bins are all hidden nearer than the cell is neither opened nor are its vertices candidates,
/// and the sweep stops at a ring of hidden cells. Only what the exact test would refuse is left
/// out (the segment to a hidden vertex crosses the hiding edge, which has neither end of the
/// link as an end), so the links are those that testing every pair gives.
class Outline_cells {
  public:
    explicit Outline_cells(const Ground_map::Graph& graph) : m_graph(graph) {
        const std::size_t n = graph.vertex_count();
        double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
        for (std::size_t k = 0; k < n; ++k) {
            const Point& p = graph.vertex(Ground_map::Vertex_id(k)).point;
            xmin = k == 0 ? p.x() : std::min(xmin, p.x());
            ymin = k == 0 ? p.y() : std::min(ymin, p.y());
            xmax = k == 0 ? p.x() : std::max(xmax, p.x());
            ymax = k == 0 ? p.y() : std::max(ymax, p.y());
        }
        // whole-number cell sides: the outline's points, on half pixels, never lie on one
        m_x0 = std::floor(xmin) - 1;
        m_y0 = std::floor(ymin) - 1;
        m_cols = int((xmax - m_x0) / cell_side) + 2;
        m_rows = int((ymax - m_y0) / cell_side) + 2;
        const std::size_t cells = std::size_t(m_cols) * std::size_t(m_rows);

        for (std::size_t e = 0; e < graph.edge_count(); ++e) {
            const Ground_map::Edge_id id(e);
            const Ground_map::Vertex_id s = graph.source(id), t = graph.target(id);
            if (s.is_none() || t.is_none() || !graph.edge(id).border)
                continue;
            m_borders.push_back({graph.vertex(s).point, graph.vertex(t).point,
                                 std::uint32_t(s.index()), std::uint32_t(t.index())});
        }
        std::vector<std::vector<std::uint32_t>> lists(cells);
        for (std::size_t b = 0; b < m_borders.size(); ++b) {
            const Border& border = m_borders[b];
            const int c0 = column(std::min(border.a.x(), border.b.x()) - hair);
            const int c1 = column(std::max(border.a.x(), border.b.x()) + hair);
            const int r0 = row(std::min(border.a.y(), border.b.y()) - hair);
            const int r1 = row(std::max(border.a.y(), border.b.y()) + hair);
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c)
                    lists[index(c, r)].push_back(std::uint32_t(b));
        }
        flatten(lists, m_border_start, m_border_ids);
        for (auto& list : lists)
            list.clear();
        for (std::size_t k = 0; k < n; ++k) {
            const Point& p = graph.vertex(Ground_map::Vertex_id(k)).point;
            lists[index(column(p.x()), row(p.y()))].push_back(std::uint32_t(k));
        }
        flatten(lists, m_vertex_start, m_vertex_ids);
        m_border_stamp.assign(m_borders.size(), 0);
        m_vertex_stamp.assign(n, 0);
        m_hidden.resize(bins);
        m_rays.resize(bins + 1);
        for (int k = 0; k <= bins; ++k) {
            const double angle = bin_angle(k);
            m_rays[std::size_t(k)] = {std::cos(angle), std::sin(angle)};
        }
    }

    /// The vertices after i (in increasing index) that the sweep from i leaves as candidates.
    void candidates(std::uint32_t i, std::vector<std::uint32_t>& out) {
        out.clear();
        const Point p = m_graph.vertex(Ground_map::Vertex_id(i)).point;
        std::fill(m_hidden.begin(), m_hidden.end(), std::numeric_limits<double>::max());
        next_query();
        m_open.clear();
        const int pc = column(p.x()), pr = row(p.y());
        for (int ring = 0;; ++ring) {
            bool open = false;
            for_ring(pc, pr, ring, [&](int c, int r) {
                if (ring > 0 && hidden_cell(p, c, r))
                    return;
                open = true;
                const std::size_t cell = index(c, r);
                m_open.push_back(cell);
                for (std::uint32_t k = m_border_start[cell]; k < m_border_start[cell + 1]; ++k) {
                    const std::uint32_t b = m_border_ids[k];
                    if (m_border_stamp[b] == m_query)
                        continue;
                    m_border_stamp[b] = m_query;
                    if (m_borders[b].s != i && m_borders[b].t != i)
                        hide_behind(p, m_borders[b]);
                }
            });
            const bool whole = pc - ring <= 0 && pr - ring <= 0 && pc + ring >= m_cols - 1 &&
                               pr + ring >= m_rows - 1;
            if (whole || !open)
                break;
        }
        for (std::size_t cell : m_open)
            for (std::uint32_t k = m_vertex_start[cell]; k < m_vertex_start[cell + 1]; ++k) {
                const std::uint32_t j = m_vertex_ids[k];
                if (j <= i)
                    continue;
                const Point& q = m_graph.vertex(Ground_map::Vertex_id(j)).point;
                const double angle = std::atan2(q.y() - p.y(), q.x() - p.x());
                if (distance(p, q) <= m_hidden[bin_of(angle)])
                    out.push_back(j);
            }
        std::sort(out.begin(), out.end());
    }

    /// Whether the link from vertex i to vertex j crosses a border edge that has neither as an
    /// end (the crossing test of the ground map).
    bool crossed(std::uint32_t i, std::uint32_t j, const Segment& link) {
        next_query();
        return walk(link, [&](std::size_t cell) {
            for (std::uint32_t k = m_border_start[cell]; k < m_border_start[cell + 1]; ++k) {
                const std::uint32_t b = m_border_ids[k];
                if (m_border_stamp[b] == m_query)
                    continue;
                m_border_stamp[b] = m_query;
                const Border& border = m_borders[b];
                if (border.s == i || border.s == j || border.t == i || border.t == j)
                    continue;
                if (Ground_map::crosses(link, Segment(border.a, border.b)))
                    return true;
            }
            return false;
        });
    }

    /// Every vertex but i and j whose point projects strictly inside the link at most `band`
    /// pixels from it (band below a cell side), in increasing index.
    void near(std::uint32_t i, std::uint32_t j, const Segment& link, double band,
              std::vector<std::uint32_t>& out) {
        out.clear();
        next_query();
        // exact on half pixels: most vertices are left out on these before the projection
        const Point& a = link.first();
        const double dx = link.second().x() - a.x(), dy = link.second().y() - a.y();
        const double length2 = dx * dx + dy * dy;
        const double reach2 = (band + 1e-3) * (band + 1e-3) * length2;
        walk(link, [&](std::size_t cell) {
            const int c = int(cell % std::size_t(m_cols)), r = int(cell / std::size_t(m_cols));
            for (int rr = std::max(r - 1, 0); rr <= std::min(r + 1, m_rows - 1); ++rr)
                for (int cc = std::max(c - 1, 0); cc <= std::min(c + 1, m_cols - 1); ++cc) {
                    const std::size_t around = index(cc, rr);
                    for (std::uint32_t k = m_vertex_start[around];
                         k < m_vertex_start[around + 1]; ++k) {
                        const std::uint32_t v = m_vertex_ids[k];
                        if (m_vertex_stamp[v] == m_query || v == i || v == j)
                            continue;
                        m_vertex_stamp[v] = m_query;
                        const Point& q = m_graph.vertex(Ground_map::Vertex_id(v)).point;
                        const double qx = q.x() - a.x(), qy = q.y() - a.y();
                        const double across = qx * dy - qy * dx, along = qx * dx + qy * dy;
                        if (across * across > reach2 || along < -1e-6 * length2 ||
                            along > (1 + 1e-6) * length2)
                            continue;
                        auto [foot, inside] = link.projection(q);
                        if (inside && distance(foot, q) <= band)
                            out.push_back(v);
                    }
                }
            return false;
        });
        std::sort(out.begin(), out.end());
    }

  private:
    struct Border {
        Point a, b;
        std::uint32_t s, t;
    };
    static constexpr double cell_side = 32;
    static constexpr int bins = 2048;
    static constexpr double bin_width = 2 * std::numbers::pi / bins;
    static constexpr double hair = 1e-7;        ///< cell registration margin, pixels
    static constexpr double angle_hair = 1e-9;  ///< margin on angles, radians
    static constexpr double distance_hair = 1e-6; ///< margin on distances, pixels

    static double bin_angle(int k) { return -std::numbers::pi + k * bin_width; }
    static std::size_t bin_of(double angle) {
        const int k = int(std::floor((angle + std::numbers::pi) / bin_width));
        return std::size_t(((k % bins) + bins) % bins);
    }
    int column(double x) const {
        return int(std::clamp(std::floor((x - m_x0) / cell_side), 0.0, double(m_cols - 1)));
    }
    int row(double y) const {
        return int(std::clamp(std::floor((y - m_y0) / cell_side), 0.0, double(m_rows - 1)));
    }
    std::size_t index(int c, int r) const {
        return std::size_t(r) * std::size_t(m_cols) + std::size_t(c);
    }
    static void flatten(const std::vector<std::vector<std::uint32_t>>& lists,
                        std::vector<std::uint32_t>& start, std::vector<std::uint32_t>& ids) {
        start.assign(lists.size() + 1, 0);
        for (std::size_t c = 0; c < lists.size(); ++c)
            start[c + 1] = start[c] + std::uint32_t(lists[c].size());
        ids.clear();
        ids.reserve(start.back());
        for (const auto& list : lists)
            ids.insert(ids.end(), list.begin(), list.end());
    }
    void next_query() {
        if (++m_query == 0) { // wrapped: forget every old stamp
            std::fill(m_border_stamp.begin(), m_border_stamp.end(), 0);
            std::fill(m_vertex_stamp.begin(), m_vertex_stamp.end(), 0);
            m_query = 1;
        }
    }

    /// Calls f(c, r) for the cells of the ring `ring` cells away from (pc, pr), within the grid.
    template <typename F> void for_ring(int pc, int pr, int ring, F&& f) const {
        if (ring == 0) {
            f(pc, pr);
            return;
        }
        const int c0 = std::max(pc - ring, 0), c1 = std::min(pc + ring, m_cols - 1);
        for (int c = c0; c <= c1; ++c) {
            if (pr - ring >= 0)
                f(c, pr - ring);
            if (pr + ring < m_rows)
                f(c, pr + ring);
        }
        const int r0 = std::max(pr - ring + 1, 0), r1 = std::min(pr + ring - 1, m_rows - 1);
        for (int r = r0; r <= r1; ++r) {
            if (pc - ring >= 0)
                f(pc - ring, r);
            if (pc + ring < m_cols)
                f(pc + ring, r);
        }
    }

    /// Whether every bin that the cell (c, r), which does not hold p, covers seen from p is
    /// hidden nearer than the cell.
    bool hidden_cell(const Point& p, int c, int r) const {
        const double x0 = m_x0 + c * cell_side, y0 = m_y0 + r * cell_side;
        const double x1 = x0 + cell_side, y1 = y0 + cell_side;
        const double dx = std::max({x0 - p.x(), 0.0, p.x() - x1});
        const double dy = std::max({y0 - p.y(), 0.0, p.y() - y1});
        const double nearest = std::sqrt(dx * dx + dy * dy);
        // the corners' angles, taken from the first one's: the cell spans less than a half turn
        const std::pair<double, double> corners[] = {{x0, y0}, {x1, y0}, {x0, y1}, {x1, y1}};
        const double middle = std::atan2(y0 - p.y(), x0 - p.x());
        double lo = 0, hi = 0;
        for (std::size_t k = 1; k < 4; ++k) {
            double off = std::atan2(corners[k].second - p.y(), corners[k].first - p.x()) - middle;
            if (off > std::numbers::pi)
                off -= 2 * std::numbers::pi;
            else if (off < -std::numbers::pi)
                off += 2 * std::numbers::pi;
            lo = std::min(lo, off);
            hi = std::max(hi, off);
        }
        const int first = int(std::floor((middle + lo - angle_hair + std::numbers::pi) / bin_width));
        const int last = int(std::floor((middle + hi + angle_hair + std::numbers::pi) / bin_width));
        for (int k = first; k <= last; ++k)
            if (m_hidden[std::size_t(((k % bins) + bins) % bins)] >= nearest)
                return false;
        return true;
    }

    /// Lowers the hiding distance of every bin lying wholly inside the border's angle seen from
    /// p: beyond the border, all along the bin.
    void hide_behind(const Point& p, const Border& border) {
        const double ax = border.a.x() - p.x(), ay = border.a.y() - p.y();
        const double bx = border.b.x() - p.x(), by = border.b.y() - p.y();
        const double turn = ax * by - ay * bx; // exact: half-pixel coordinates
        if (turn == 0)
            return; // p on the border's line: it hides nothing
        double lo = std::atan2(ay, ax), hi = std::atan2(by, bx);
        if (turn < 0)
            std::swap(lo, hi);
        if (hi < lo)
            hi += 2 * std::numbers::pi;
        // the border's line: n . x = n . a, with n its normal
        const double nx = -(border.b.y() - border.a.y()), ny = border.b.x() - border.a.x();
        const double offset = nx * ax + ny * ay;
        const int first = int(std::ceil((lo + angle_hair + std::numbers::pi) / bin_width));
        const int last = int(std::floor((hi - angle_hair + std::numbers::pi) / bin_width)) - 1;
        if (first > last)
            return;
        auto reach = [&](int k) {
            const auto& [ux, uy] = m_rays[std::size_t(((k % bins) + bins) % bins)];
            return offset / (nx * ux + ny * uy);
        };
        double before = reach(first);
        for (int k = first; k <= last; ++k) {
            const double after = reach(k + 1);
            double& hidden = m_hidden[std::size_t(((k % bins) + bins) % bins)];
            hidden = std::min(hidden, std::max(before, after) + distance_hair);
            before = after;
        }
    }

    /// Calls f(cell) for the cells that the segment passes through, widened by a hair, from its
    /// first point on, until f returns true; returns whether it did.
    template <typename F> bool walk(const Segment& s, F&& f) const {
        return walk_segment_cells(
            s.first(), s.second(), m_x0, cell_side, hair, [this](double x) { return column(x); },
            [this](double y) { return row(y); }, [&](int c, int r) { return f(index(c, r)); });
    }

    const Ground_map::Graph& m_graph;
    double m_x0 = 0, m_y0 = 0;
    int m_cols = 0, m_rows = 0;
    std::vector<Border> m_borders;
    std::vector<std::uint32_t> m_border_start, m_border_ids; ///< per cell, crossing borders
    std::vector<std::uint32_t> m_vertex_start, m_vertex_ids; ///< per cell, vertices inside
    std::vector<std::uint32_t> m_border_stamp, m_vertex_stamp;
    std::uint32_t m_query = 0;
    std::vector<double> m_hidden; ///< per bin: beyond this distance, hidden
    std::vector<std::pair<double, double>> m_rays; ///< unit vector at each bin's first angle
    std::vector<std::size_t> m_open;
};
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
    build_graph(std::string(), [&](const Build_progress&) {
        if (progress)
            progress();
    });
}

void Ground_map::build_graph(const std::string& image,
                             const std::function<void(const Build_progress&)>& progress) {
    Build_progress at;
    auto report = [&](int phase, double done) {
        if (!progress)
            return;
        at.phase = phase;
        at.done = std::min(done, 1.0);
        progress(at);
    };
    const bool limited = !image.empty();
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
        report(1, double(x + 2) / double(width + 1));
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
        // each step removes one vertex: at most as many steps as vertices
        const double steps = 2.0 * double(m_graph.vertex_count());
        for (std::size_t i = 0; i < m_graph.vertex_count(); ++i) {
            if (deviation(Vertex_id(i)) < deviation_threshold)
                queue.insert(Vertex_id(i));
            report(2, double(i + 1) / steps);
        }
        std::size_t step = m_graph.vertex_count();
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
            report(2, double(++step) / steps);
        }
    }

    m_graph.validity();
    m_graph.clean();
    m_graph.validity();
    // The inner links cost far more than the outline: a graph that its file cannot hold is
    // refused before them, and while they are made, as soon as it passes the limit.
    ORVANE_CHECK(!limited || m_graph.vertex_count() <= file_limit,
                 "Ground map " + image + " needs " + std::to_string(m_graph.vertex_count()) +
                     " vertices, more than the " + std::to_string(file_limit) +
                     " a graph file holds; " + speck_places(m_mask));

    // Inner links between outline vertices that see each other, split into chains through
    // the vertices they pass close to. Whether a pair sees each other does not change while
    // links are added (only border edges hide), so the sweep from i gathers the candidates
    // first; whether they are joined already is asked in the order of the pairs.
    Outline_cells cells(m_graph);
    // which pairs are joined, kept beside the graph: a vertex gathers many links, and asking
    // its incident list for each pair would cost their number every time
    std::unordered_set<std::uint64_t> joined;
    auto pair_key = [](std::size_t a, std::size_t b) {
        return std::uint64_t(std::min(a, b)) << 32 | std::uint64_t(std::max(a, b));
    };
    for (std::size_t e = 0; e < m_graph.edge_count(); ++e)
        joined.insert(pair_key(m_graph.source(Edge_id(e)).index(),
                               m_graph.target(Edge_id(e)).index()));
    std::vector<std::uint32_t> candidates, near;
    std::vector<std::pair<double, std::uint32_t>> chain;
    const std::size_t n = m_graph.vertex_count();
    for (std::size_t i = 0; i < n; ++i) {
        const Point pi = m_graph.vertex(Vertex_id(i)).point;
        cells.candidates(std::uint32_t(i), candidates);
        for (std::uint32_t j : candidates) {
            if (joined.contains(pair_key(i, j)))
                continue;
            const Point pj = m_graph.vertex(Vertex_id(j)).point;
            if (!is_ground_point(Point((pi.x() + pj.x()) / 2, (pi.y() + pj.y()) / 2)))
                continue;
            Segment link(pi, pj);
            if (cells.crossed(std::uint32_t(i), j, link))
                continue;
            // i, j, then the vertices near the link in index order, sorted along the link;
            // equal places keep that order
            cells.near(std::uint32_t(i), j, link, chain_band, near);
            chain.clear();
            chain.push_back({link.projected_coordinate(pi), std::uint32_t(i)});
            chain.push_back({link.projected_coordinate(pj), j});
            for (std::uint32_t k : near)
                chain.push_back({link.projected_coordinate(m_graph.vertex(Vertex_id(k)).point), k});
            std::stable_sort(chain.begin(), chain.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
                const std::uint32_t a = chain[k].second, b = chain[k + 1].second;
                if (!joined.insert(pair_key(a, b)).second)
                    continue;
                Edge_id e = m_graph.add_edge(Vertex_id(a), Vertex_id(b), {false});
                m_graph.edge(e).border = false;
                ORVANE_CHECK(!limited || m_graph.edge_count() <= file_limit,
                             "Ground map " + image + " needs more than " +
                                 std::to_string(file_limit) +
                                 " edges, the most a graph file holds; " +
                                 speck_places(m_mask));
            }
        }
        // pairs done so far, of n (n - 1) / 2
        const double pairs = std::max(double(n) * double(n - 1) / 2, 1.0);
        const double left = double(n) - double(i) - 1; // vertices after i
        report(3, (pairs - left * (left - 1) / 2) / pairs);
    }
    index_graph();
}

} // namespace Orvane::Component
