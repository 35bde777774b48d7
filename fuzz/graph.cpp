// Fuzzes the ground map's graph file reader: any byte string is read as a graph file. A file the
// reader refuses ends there. An accepted graph must hold what the reader promises (the counts of
// the file, every edge between two of its vertices), and then serves path requests over a mask
// drawn from the graph itself (walkable inside its outline, as the mask it was built from):
// point to point and along directions, between the graph's own vertices and points on, off and
// outside the mask, each followed by a look at the working graph it leaves.
// The reader's checks are all that a graph file must pass: nothing after them may end the
// process, crash or read out of bounds.
#include <algorithm>
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

/// The largest side of a drawn mask: a graph file may hold any coordinates.
constexpr int max_side = 1024;

/// The mask a graph fits: it spans the graph's vertices (up to max_side pixels a side, from 0),
/// and a pixel is walkable when a ray from its centre to the right crosses the border edges an
/// odd number of times, which gives back the walkable area of a graph made by the builder (its
/// outline runs along the mask's edge and round every obstacle). Grays grow downwards.
Ground_map::Mask mask_of(const Ground_map::Graph& graph) {
    double right = 1, bottom = 1;
    for (std::size_t i = 0; i < graph.vertex_count(); ++i) {
        const Point& p = graph.vertex(Ground_map::Vertex_id(i)).point;
        right = std::max(right, p.x() + 2);
        bottom = std::max(bottom, p.y() + 2);
    }
    const int width = int(std::min(right, double(max_side)));
    const int height = int(std::min(bottom, double(max_side)));
    // per row, where the border edges cross the row's centre line
    std::vector<std::vector<double>> crossings(static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < graph.edge_count(); ++i) {
        const Ground_map::Edge_id e(i);
        if (!graph.edge(e).border)
            continue;
        Point a = graph.vertex(graph.source(e)).point, b = graph.vertex(graph.target(e)).point;
        if (a.y() > b.y())
            std::swap(a, b);
        // rows whose centre y satisfies a.y <= y < b.y
        const double first = std::max(std::ceil(a.y()), 0.0);
        const double last = std::min(std::ceil(b.y()) - 1, double(height - 1));
        for (double y = first; y <= last; ++y)
            crossings[std::size_t(y)].push_back(a.x() + (y - a.y()) * (b.x() - a.x()) /
                                                            (b.y() - a.y()));
    }
    std::vector<bool> walkable(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        std::vector<double>& row = crossings[std::size_t(y)];
        std::sort(row.begin(), row.end());
        // pixels between the 1st and 2nd crossing, the 3rd and 4th, ...
        for (std::size_t k = 0; k + 1 < row.size(); k += 2) {
            const int x0 = int(std::clamp(std::ceil(row[k]), 0.0, double(width)));
            const int x1 = int(std::clamp(std::floor(row[k + 1]), -1.0, double(width - 1)));
            for (int x = x0; x <= x1; ++x)
                walkable[std::size_t(y) * std::size_t(width) + std::size_t(x)] = true;
        }
    }
    return Ground_map::Mask(width, height, [&](int x, int y) {
        if (!walkable[std::size_t(y) * std::size_t(width) + std::size_t(x)])
            return Ground_map::Mask::Color{255, 0, 0};
        auto gray = static_cast<unsigned char>(y * 255 / height);
        return Ground_map::Mask::Color{gray, gray, gray};
    });
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

    Ground_map::Mask mask = mask_of(graph);
    const double w = mask.width(), h = mask.height();
    Ground_map map("room", "ground_map", std::move(mask), 100, 0, std::move(graph));
    std::vector<Point> points = {{w / 10, h / 8}, {w * 0.9, h * 0.85}, {w / 2, h / 2}, {-10, 5}};
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
