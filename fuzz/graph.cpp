// Fuzzes the ground map's graph file reader: any byte string is read as a graph file. A file the
// reader refuses ends there. An accepted graph must hold what the reader promises (the counts of
// the file, every edge between two of its vertices), and then serves path requests over a small
// fixed mask: point to point and along directions, between the graph's own vertices and fixed
// points on, off and outside the mask, each followed by a look at the working graph it leaves.
// The reader's checks are all that a graph file must pass: nothing after them may end the
// process, crash or read out of bounds.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Component/Ground_map.h>

using Orvane::Point;
using Orvane::Vector;
using Orvane::Component::Ground_map;

namespace {

constexpr int mask_width = 48;
constexpr int mask_height = 32;

/// Walkable grays growing with x, and a wall block in the middle that paths must go round.
const Ground_map::Mask& mask() {
    static const Ground_map::Mask m(mask_width, mask_height, [](int x, int y) {
        if (x >= 16 && x < 32 && y >= 8 && y < 24)
            return Ground_map::Mask::Color{255, 0, 0};
        auto gray = static_cast<unsigned char>(x * 5);
        return Ground_map::Mask::Color{gray, gray, gray};
    });
    return m;
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

void require_finite(const std::vector<Point>& path) {
    for (const Point& p : path)
        require(std::isfinite(p.x()) && std::isfinite(p.y()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // exactly sized, so that any read past the end is caught
    std::vector<char> bytes(reinterpret_cast<const char*>(data),
                            reinterpret_cast<const char*>(data) + size);
    Ground_map::Graph graph;
    if (Ground_map::try_parse_graph(bytes.data(), bytes.size(), "fuzz.graph", graph))
        return 0;

    const std::size_t vertices =
        std::size_t(std::uint8_t(bytes[0])) | std::size_t(std::uint8_t(bytes[1])) << 8;
    require(graph.vertex_count() == vertices);
    require(bytes.size() == 4 + 9 * vertices + 5 * graph.edge_count());
    for (std::size_t i = 0; i < graph.edge_count(); ++i) {
        const Ground_map::Edge_id e(i);
        require(graph.source(e) <= graph.target(e));
        require(graph.target(e).index() < vertices);
    }

    Ground_map map("room", "ground_map", mask(), 100, 0, std::move(graph));
    std::vector<Point> points = {{4, 4}, {44, 28}, {24, 16}, {-10, 5}};
    for (std::size_t i = 0; i < vertices && i < 2; ++i)
        points.push_back(map.graph().vertex(Ground_map::Vertex_id(i)).point);
    if (map.graph().edge_count() > 0) {
        const Ground_map::Edge_id e(0);
        const Point& a = map.graph().vertex(map.graph().source(e)).point;
        const Point& b = map.graph().vertex(map.graph().target(e)).point;
        points.push_back({(a.x() + b.x()) / 2, (a.y() + b.y()) / 2});
    }

    std::vector<Point> path;
    for (const Point& from : points) {
        (void)map.z_at_point(from);
        (void)map.closest_simplex(from);
        for (const Point& to : points) {
            path.clear();
            map.find_path(from, to, path);
            require_finite(path);
            (void)map.working_graph();
        }
        for (const Vector& direction : {Vector(1, 0), Vector(-3, 2)}) {
            path.clear();
            map.find_path(from, direction, path);
            require_finite(path);
            (void)map.working_graph();
        }
    }
    return 0;
}
