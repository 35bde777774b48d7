#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <Orvane/Component/Base.h>
#include <Orvane/Utils/geometry.h>
#include <Orvane/Utils/graph.h>

namespace Orvane::Component {

/// Where characters may walk in a room and how deep every spot lies. It rests on the depth mask
/// (an image the size of the room whose gray pixels are walkable, their gray level giving the
/// depth) and on the walkable graph stored beside it, whose border edges trace the outline of
/// the walkable area. All points are in mask pixels (x to the right, y down).
///
/// Path requests work on a working copy of the loaded graph, into which they insert the origin
/// and the target; the debug view draws that copy.
class Ground_map : public Base {
  public:
    /// The walkable classes of the mask's pixels: a gray level (0..255) for a pixel whose red,
    /// green and blue are equal, "not walkable" for every other pixel and every position
    /// outside the image.
    class Mask {
      public:
        using Color = std::array<unsigned char, 3>;
        Mask() = default;
        /// A mask of width x height pixels, reading each pixel's (r, g, b) once from `color`.
        Mask(int width, int height, const std::function<Color(int x, int y)>& color);

        int width() const { return m_width; }
        int height() const { return m_height; }
        /// Gray level of pixel (x, y), or -1 when the pixel is not walkable or outside.
        int level(int x, int y) const {
            if (!walkable(x, y))
                return -1;
            return m_levels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)];
        }
        bool walkable(int x, int y) const {
            if (x < 0 || y < 0 || x >= m_width || y >= m_height)
                return false;
            std::size_t i = std::size_t(y) * std::size_t(m_width) + std::size_t(x);
            return (m_walkable[i / 64] >> (i % 64)) & 1;
        }

      private:
        int m_width = 0;
        int m_height = 0;
        std::vector<unsigned char> m_levels;
        std::vector<std::uint64_t> m_walkable; ///< one bit a pixel: small enough to stay cached
    };

    struct Vertex {
        Point point;
        unsigned char gray = 0;
        double distance = 0; ///< scratch space of the shortest-path search
    };
    struct Edge {
        bool border = true; ///< true on the walkable outline, false for inner links
    };
    using Graph = Orvane::Graph<Vertex, Edge, false>;
    using Vertex_id = Graph::Vertex_id;
    using Edge_id = Graph::Edge_id;
    using Skip = std::function<bool(const Edge_id&)>;

    /// Orders pairs of vertices as unordered pairs: a pair and its reverse are one element.
    struct Compare_ordered_pair {
        bool operator()(const std::pair<Vertex_id, Vertex_id>& a,
                        const std::pair<Vertex_id, Vertex_id>& b) const {
            auto lo_a = std::min(a.first, a.second), hi_a = std::max(a.first, a.second);
            auto lo_b = std::min(b.first, b.second), hi_b = std::max(b.first, b.second);
            return lo_a < lo_b || (lo_a == lo_b && hi_a < hi_b);
        }
    };

    /// Two vertex handles; true unless both are none.
    struct Neighbor_query {
        Vertex_id first;
        Vertex_id second;
        explicit operator bool() const { return !first.is_none() || !second.is_none(); }
    };

    /// The nearest vertex or edge found by a search, with the nearest point on it. At most one
    /// of the two handles is set; an empty record has neither.
    struct Simplex {
        Vertex_id vertex;
        Edge_id edge;
        double distance = std::numeric_limits<double>::max();
        Point point;
        bool empty() const { return vertex.is_none() && edge.is_none(); }
    };

    /// How close (pixels) a point must come to the graph to be snapped onto it.
    static constexpr double border_radius = 5.0;

    /// Loads the mask image `file` (a one-tile package image whose name ends with "_map.png")
    /// and its graph file (the name with "png" replaced by "graph") from the packages; front z
    /// and back z are the depths of gray levels 0 and 255. The callback is not used.
    Ground_map(const std::string& entity, const std::string& component, const std::string& file,
               int front_z, int back_z, const std::function<void()>& callback);
    /// A ground map over a mask and a graph held in memory.
    Ground_map(const std::string& entity, const std::string& component, Mask mask, int front_z,
               int back_z, Graph graph = {});

    std::string str_name() const override { return "Ground_map"; }

    /// Fills the loaded graph from the graph file `file` of the packages (fatal when it is
    /// missing or malformed).
    void read(const std::string& file);
    /// The graph stored in a graph file's bytes: u16 vertex count, then per vertex i32 x, i32 y,
    /// u8 gray; u16 edge count, then per edge u16 source, u16 target, u8 border flag; all
    /// little-endian. A size that does not match the counts, or an edge naming a missing vertex,
    /// is a fatal check naming `file`.
    static Graph parse_graph(const char* data, std::size_t size, const std::string& file);
    /// The same reading without the fatal check: fills `graph` and returns nothing when the
    /// bytes hold a sound graph file, or returns the message that parse_graph() would end with
    /// (naming `file`), `graph` then holding an unspecified part of the file.
    static std::optional<std::string> try_parse_graph(const char* data, std::size_t size,
                                                      const std::string& file, Graph& graph);
    /// The graph file's bytes for the loaded graph (deleted edges left out). Vertices on pixel
    /// corners are stored at the walkable pixel they bound. More than 65535 vertices or edges is
    /// a fatal check naming `file`.
    std::vector<char> write_graph(const std::string& file) const;
    /// The graph file's name beside a mask image: its last three characters become "graph".
    static std::string graph_file_name(const std::string& mask_file);

    /// Whether p lies on a walkable pixel (coordinates rounded to the nearest pixel).
    bool is_ground_point(const Point& p) const;
    /// The depth at p: from the gray level of the pixel (clamped into the mask), or, on a
    /// non-walkable pixel, from the nearest vertex or edge of the graph.
    double z_at_point(const Point& p) const;
    /// The nearest vertex or edge of the loaded graph and the nearest point on it; ties keep
    /// lower indices and vertices before edges.
    Simplex closest_simplex(const Point& p) const;
    /// Whether `segment` crosses a border edge of `graph` that `skip` does not skip.
    bool intersects_border(const Graph& graph, const Segment& segment, const Skip& skip) const;
    /// Exact crossing test of two segments: they cross when each one's ends lie on different
    /// sides of (or one on) the other's line. Collinear segments never cross.
    static bool crosses(const Segment& s, const Segment& b);

    /// Appends to `path` the points to walk through from origin to target, without the origin.
    /// When no walk exists (separate walkable islands), nothing is appended.
    void find_path(Point origin, Point target, std::vector<Point>& path);
    /// Appends to `path` the points of a walk from origin along `direction`: straight until the
    /// outline stops it, then sliding along the outline while the direction allows.
    void find_path(Point origin, Vector direction, std::vector<Point>& path);
    /// Dijkstra's search on the working graph; appends the path without the origin. Returns
    /// false, appending nothing, when the target cannot be reached.
    bool shortest_path(Vertex_id origin, Vertex_id target, std::vector<Point>& path);
    /// Where a ray from p along v (at least as long as the mask's diagonal) first meets the
    /// outline of the working graph, snapped to a vertex within the border radius.
    Simplex closest_intersected_edge(const Point& p, const Vector& v, const Skip& skip) const;

    /// Builds the walkable graph from the mask into the loaded graph: traces the outline,
    /// simplifies it and adds inner links between outline vertices that see each other.
    /// `progress` (may be empty) is called regularly.
    void build_graph(const std::function<void()>& progress);
    /// How far a build has come: `phase` 1 (tracing the outline), 2 (simplifying it) or 3
    /// (inner links), and `done`, the part of that phase done, from 0 to 1.
    struct Build_progress {
        int phase = 1;
        double done = 0;
    };
    /// The same build for the graph file of the mask image `image`, which holds at most 65535
    /// vertices and 65535 edges: an outline of more vertices is refused before any inner link
    /// is made, and inner links as soon as the edges pass the limit (fatal checks naming
    /// `image` and the first places where isolated non-walkable specks lie). An empty `image`
    /// builds without the limit. `progress` (may be empty) is called where build_graph() calls
    /// its callback, with how far the build has come.
    void build_graph(const std::string& image,
                     const std::function<void(const Build_progress&)>& progress);
    /// For a vertex with exactly two edges, its distance to the line through its two neighbours;
    /// the largest finite double for any other vertex or when the neighbours coincide.
    double deviation(const Vertex_id& v) const;
    /// The vertex stored under p in `index`, made (with that gray level) when there is none.
    Vertex_id add_vertex(std::map<Point, Vertex_id>& index, const Point& p,
                         const unsigned char& gray);

    const Mask& mask() const { return m_mask; }
    const Graph& graph() const { return m_graph; }
    /// The working graph as the last request left it (a copy of the loaded graph before any).
    const Graph& working_graph() const;
    int max_length() const { return m_max_length; }
    int front_z() const { return m_front_z; }
    int back_z() const { return m_back_z; }

  private:
    /// A uniform grid over segments or points, so that crossing and proximity tests look only
    /// at what lies near the tested segment.
    class Grid {
      public:
        void clear();
        /// Registers every item in the cells its segment passes through; with `margin`, in
        /// their neighbours too (so that points within one cell of a query are met).
        void build(const std::vector<std::pair<std::uint32_t, Segment>>& items, bool margin);
        /// Calls f(id) for every item registered in the cells that the segment passes through
        /// (each item at most once) until f returns true; returns whether it did.
        template <typename F> bool any_near(const Segment& s, F&& f) const;
        /// Calls f(id) once for every item registered in the cells around p, ring after ring
        /// (ring r: the cells r cells away from p's cell), until `enough(r)` is true after a
        /// ring (every item not met by then lies at least r cells widths from p) or the rings
        /// have covered the whole grid. Returns false, without a call, when p is not inside the
        /// grid, and false too when the rings would visit more cells than a few per item (the
        /// items met so far are then not all the candidates): a scan of every item is cheaper.
        template <typename F, typename G> bool around(const Point& p, F&& f, G&& enough) const;
        /// Width of a cell, in pixels.
        double cell() const { return m_cell; }

      private:
        /// Calls f(cell) for the cells that the segment passes through, widened by a hair so
        /// that a point on a cell's side belongs to both cells, until f returns true; returns
        /// whether it did.
        template <typename F> bool cells(const Segment& s, F&& f) const;

        double m_cell = 32;
        double m_x0 = 0, m_y0 = 0;
        int m_cols = 0, m_rows = 0;
        std::size_t m_items = 0; ///< items registered by the last build
        std::vector<std::uint32_t> m_start; ///< cell c lists m_ids[m_start[c]..m_start[c + 1])
        std::vector<std::uint32_t> m_ids;
        mutable std::vector<std::uint32_t> m_stamp;
        mutable std::uint32_t m_query = 0;
    };

    /// A border edge of the loaded graph, as the crossing tests need it.
    struct Border {
        Segment segment;
        Vertex_id source;
        Vertex_id target;
        Edge_id edge;
    };
    /// One step along the loaded graph from a vertex: to `to` by `edge`, `length` pixels.
    struct Arc {
        std::uint32_t to;
        std::uint32_t edge;
        double length;
    };
    /// What the last request did to the working graph. The working graph itself is made from
    /// it only when someone looks at it, so that a request touches only the part of the graph
    /// that its search explores. Vertex handles are those before the clean-up.
    struct Request {
        enum class Stage {
            copy,      ///< a plain copy of the loaded graph
            augmented, ///< origin and target inserted and linked; no search (isolated target)
            cleaned,   ///< then cleaned up; no search (the origin saw nothing)
            searched,  ///< then searched: `distance` holds the search's distances
        } stage = Stage::copy;
        Point origin;
        Point target;
        bool new_origin = false;
        bool new_target = false;
        Edge_id origin_edge;
        Edge_id target_edge;
        std::vector<std::pair<Vertex_id, Vertex_id>> links; ///< in the link set's order
        std::vector<double> distance;
    };

    void snap(Point& p, Vertex_id& v, Edge_id& e) const;
    /// Rebuilds what is derived from the loaded graph: the border grid and the arcs.
    void index_graph();
    bool walkable_midpoint(const Point& a, const Point& b) const;
    /// Starts a request: the working graph becomes a plain copy of the loaded graph.
    void reset_working();
    /// The working graph for reading, without making a copy of the loaded graph for it.
    const Graph& working() const;
    /// Dijkstra's search from origin to target over the loaded graph's arcs (without the
    /// request's deleted edges) and the request's links, n vertices before the clean-up; the
    /// same walk that the search on the cleaned working graph finds.
    bool search(Vertex_id origin, Vertex_id target, std::size_t n, std::vector<Point>& path);

    Mask m_mask;
    int m_max_length = 0;
    int m_front_z = 0;
    int m_back_z = 0;
    Graph m_graph;
    mutable Graph m_working;
    mutable bool m_working_ready = true; ///< whether m_working shows m_request
    Request m_request;
    std::vector<Border> m_border_list;
    Grid m_borders;                         ///< m_border_list by position
    Grid m_simplices;                       ///< vertex v as v, edge e as vertex count + e
    std::vector<std::uint32_t> m_arc_start; ///< vertex v's arcs: m_arcs[m_arc_start[v]..[v + 1])
    std::vector<Arc> m_arcs; ///< per vertex in increasing edge index, as after a clean-up
    // scratch of the search, kept between requests to spare allocations
    std::vector<std::uint32_t> m_link_start;
    std::vector<std::uint32_t> m_link_to;
    std::vector<Vertex_id> m_parent;
};

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
    const int c0 = column(std::min(a.x(), b.x()) - eps);
    const int c1 = column(std::max(a.x(), b.x()) + eps);
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    // Cells are visited from the first point towards the second (columns in that direction,
    // rows within a column too), so that a search that stops at the first hit looks first
    // where the segment starts.
    for (int k = 0; k <= c1 - c0; ++k) {
        const int c = dx < 0 ? c1 - k : c0 + k;
        double ymin = std::min(a.y(), b.y()), ymax = std::max(a.y(), b.y());
        if (dx != 0) {
            // the part of the segment within this column (widened by eps)
            double x_lo = m_x0 + c * m_cell - eps, x_hi = x_lo + m_cell + 2 * eps;
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
        for (int m = 0; m <= r1 - r0; ++m) {
            const int r = dy < 0 ? r1 - m : r0 + m;
            if (f(std::size_t(r) * std::size_t(m_cols) + std::size_t(c)))
                return true;
        }
    }
    return false;
}

template <typename F> bool Ground_map::Grid::any_near(const Segment& s, F&& f) const {
    if (m_start.empty())
        return false;
    if (++m_query == 0) { // wrapped: forget every old stamp
        std::fill(m_stamp.begin(), m_stamp.end(), 0);
        m_query = 1;
    }
    return cells(s, [&](std::size_t cell) {
        for (std::uint32_t k = m_start[cell]; k < m_start[cell + 1]; ++k) {
            const std::uint32_t id = m_ids[k];
            if (m_stamp[id] == m_query)
                continue;
            m_stamp[id] = m_query;
            if (f(id))
                return true;
        }
        return false;
    });
}

template <typename F, typename G>
bool Ground_map::Grid::around(const Point& p, F&& f, G&& enough) const {
    if (m_start.empty() || !std::isfinite(p.x()) || !std::isfinite(p.y()))
        return false;
    const double fx = std::floor((p.x() - m_x0) / m_cell), fy = std::floor((p.y() - m_y0) / m_cell);
    if (fx < 1 || fy < 1 || fx > m_cols - 2 || fy > m_rows - 2)
        return false;
    const int cx = int(fx), cy = int(fy);
    if (++m_query == 0) { // wrapped: forget every old stamp
        std::fill(m_stamp.begin(), m_stamp.end(), 0);
        m_query = 1;
    }
    // Cells visited, out of a budget of a few per item: past it, the nearest item lies so far
    // away (in cells) that scanning every item costs less than walking on.
    std::size_t budget = 4 * m_items + 64;
    auto visit = [&](int c, int r) {
        --budget;
        const std::size_t cell = std::size_t(r) * std::size_t(m_cols) + std::size_t(c);
        for (std::uint32_t k = m_start[cell]; k < m_start[cell + 1]; ++k) {
            const std::uint32_t id = m_ids[k];
            if (m_stamp[id] != m_query) {
                m_stamp[id] = m_query;
                f(id);
            }
        }
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
        if (cells > budget)
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
