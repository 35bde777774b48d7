#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
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
/// and the target; the debug view draws that copy. The copy is made only when someone asks for
/// it: a request itself searches the loaded graph and what it inserts.
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
        /// A mask of width x height pixels read row by row: `row(y)` gives the row's `width`
        /// pixels, each r | g << 8 | b << 16 (the top byte is ignored), valid until the next call.
        static Mask from_rows(int width, int height,
                              const std::function<const std::uint32_t*(int y)>& row);

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
            return (m_walkable[i / 8] >> (i % 8)) & 1;
        }

        /// The mask as the packer stores it beside the graph file, so that a load need not
        /// classify the picture's pixels again: "OGML", u32 width, u32 height (little-endian),
        /// then the gray level of every pixel, rows top first (0 for pixels that are not
        /// walkable), then the walkable bits, pixel i as bit i % 8 of byte i / 8.
        std::vector<char> pack() const;
        /// The mask stored in those bytes (copied). Bytes of another form, or of a size that does
        /// not match width x height, give the message, naming `file`; `mask` is then unchanged.
        static std::optional<std::string> try_unpack(const char* data, std::size_t size,
                                                     const std::string& file, Mask& mask);
        /// The same reading without a copy: the mask reads its pixels where `bytes` lie, and it
        /// and its copies keep them.
        static std::optional<std::string> try_unpack_in_place(std::shared_ptr<const char> bytes,
                                                              std::size_t size,
                                                              const std::string& file, Mask& mask);

      private:
        int m_width = 0;
        int m_height = 0;
        const unsigned char* m_levels = nullptr;   ///< in m_packed: a byte a pixel
        const unsigned char* m_walkable = nullptr; ///< in m_packed: a bit a pixel, cache-friendly
        /// The packed bytes the pixels are read from; never changed once made: copies share them.
        std::shared_ptr<const char> m_packed;
    };

    struct Vertex {
        Point point;
        unsigned char gray = 0;
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
    /// and back z are the depths of gray levels 0 and 255. The mask comes from the packed mask
    /// beside the image when the packages hold one (fatal, naming it, when it is damaged or of
    /// another size than the image), from the image's pixels otherwise. The callback is not
    /// used.
    Ground_map(const std::string& entity, const std::string& component, const std::string& file,
               int front_z, int back_z, const std::function<void()>& callback);
    /// A ground map over a mask and a graph held in memory.
    Ground_map(const std::string& entity, const std::string& component, Mask mask, int front_z,
               int back_z, Graph graph = {});
    /// The same map and graph as `other`, filed under another key: a room whose two maps are
    /// one picture reads it once.
    Ground_map(const std::string& entity, const std::string& component, const Ground_map& other);
    Ground_map(const Ground_map& other);
    Ground_map(Ground_map&& other) noexcept;
    Ground_map& operator=(const Ground_map& other);
    Ground_map& operator=(Ground_map&& other) noexcept;
    ~Ground_map() override;

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
    /// The packed mask's name beside a mask image: its last three characters become "mask"
    /// (see Mask::pack()). Packages made before the packer wrote it do not hold it: the mask is
    /// then classified from the picture.
    static std::string packed_mask_file_name(const std::string& mask_file);

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
    /// outline stops it, then sliding along the outline while the direction allows. The walk
    /// stops before a step that would bring it back where it has been (it would then go round
    /// the same places): no point follows itself.
    void find_path(Point origin, Orvane::Vector direction, std::vector<Point>& path);
    /// A shortest walk on the working graph, the one Dijkstra's search finds (of equally short
    /// walks, the one through vertices that leave its queue first: nearer, then of larger
    /// index); appends it without the origin. Returns false, appending nothing, when the target
    /// cannot be reached.
    bool shortest_path(Vertex_id origin, Vertex_id target, std::vector<Point>& path);
    /// Where a ray from p along v (at least as long as the mask's diagonal) first meets the
    /// outline of the working graph, snapped to a vertex within the border radius.
    Simplex closest_intersected_edge(const Point& p, const Orvane::Vector& v,
                                     const Skip& skip) const;

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
    class Grid;    ///< uniform grid over segments or points (Ground_map__search.h)
    struct Border; ///< a border edge of the loaded graph as the crossing tests need it
    struct Search; ///< what the path search derives from the loaded graph, and its scratch

    void snap(Point& p, Vertex_id& v, Edge_id& e) const;
    /// closest_simplex(p) when it lies within `radius` pixels of p; else an empty simplex.
    Simplex closest_simplex(const Point& p, double radius) const;
    /// Rebuilds what is derived from the loaded graph: the grids and the arcs.
    void index_graph();
    bool walkable_midpoint(const Point& a, const Point& b) const;
    /// Starts a request: the working graph becomes a plain copy of the loaded graph.
    void reset_working();
    /// The working graph for reading, without making a copy of the loaded graph for it.
    const Graph& working() const;

    Mask m_mask;
    int m_max_length = 0;
    int m_front_z = 0;
    int m_back_z = 0;
    Graph m_graph;
    std::unique_ptr<Search> m_search;
};

} // namespace Orvane::Component
