// Path requests on a full-size ground map with many obstacles, and the graph builder's time per
// image. The map is generated: gray floor with a depth gradient, red rectangles and discs.
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Ground_map.h>

namespace {

using Orvane::Point;
using Orvane::Component::Ground_map;

struct Obstacle {
    bool disc;
    double x, y, a, b; // rectangle: corner and size; disc: centre and radius
};

/// A 1920 x 1080 mask with `count` obstacles placed by a fixed seed.
Ground_map::Mask obstacle_mask(int count) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> x(0, 1920), y(0, 1080), size(20, 90);
    std::vector<Obstacle> obstacles;
    for (int i = 0; i < count; ++i)
        obstacles.push_back({i % 2 == 0, x(random), y(random), size(random), size(random)});
    return Ground_map::Mask(1920, 1080, [&](int px, int py) -> Ground_map::Mask::Color {
        for (const Obstacle& o : obstacles) {
            bool inside = o.disc ? (px - o.x) * (px - o.x) + (py - o.y) * (py - o.y) < o.a * o.a / 4
                                 : px >= o.x && px < o.x + o.a && py >= o.y && py < o.y + o.b;
            if (inside)
                return {200, 30, 30};
        }
        auto gray = static_cast<unsigned char>(py * 255 / 1080);
        return {gray, gray, gray};
    });
}

/// The ground map over obstacle_mask(count) with its built graph, made once per count (the
/// benchmark library calls each benchmark several times).
Ground_map& built_map(int count) {
    static std::map<int, std::unique_ptr<Ground_map>> maps;
    std::unique_ptr<Ground_map>& map = maps[count];
    if (!map) {
        map = std::make_unique<Ground_map>("room", "ground_map", obstacle_mask(count), 3240, 0);
        map->build_graph({});
        map =
            std::make_unique<Ground_map>("room", "ground_map", map->mask(), 3240, 0, map->graph());
    }
    return *map;
}

void set_graph_counters(benchmark::State& state, const Ground_map& map) {
    const double vertices = double(map.graph().vertex_count());
    const double edges = double(map.graph().edge_count());
    state.counters["vertices"] = vertices;
    state.counters["edges"] = edges;
    // thousands of E log2 V: time per request over this stays flat when the cost grows as
    // E log V
    state.counters["kElogV"] = edges * std::log2(vertices) / 1000;
}

void BM_build_graph(benchmark::State& state) {
    Ground_map::Mask mask = obstacle_mask(int(state.range(0)));
    std::size_t vertices = 0, edges = 0;
    for (auto _ : state) {
        Ground_map map("room", "ground_map", mask, 3240, 0);
        map.build_graph({});
        vertices = map.graph().vertex_count();
        edges = map.graph().edge_count();
    }
    state.counters["vertices"] = double(vertices);
    state.counters["edges"] = double(edges);
}
BENCHMARK(BM_build_graph)
    ->Arg(40)
    ->Arg(120)
    ->Arg(240)
    ->Arg(480)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

/// Requests between random walkable points; microseconds per request.
void BM_find_path(benchmark::State& state) {
    Ground_map& map = built_map(int(state.range(0)));
    std::mt19937 random(99);
    std::uniform_real_distribution<double> x(0, 1920), y(0, 1080);
    std::vector<Point> points;
    while (points.size() < 256) {
        Point p(x(random), y(random));
        if (map.is_ground_point(p))
            points.push_back(p);
    }
    std::size_t i = 0, found = 0;
    std::vector<Point> path;
    for (auto _ : state) {
        path.clear();
        map.find_path(points[i % 256], points[(i * 7 + 3) % 256], path);
        found += path.empty() ? 0 : 1;
        benchmark::DoNotOptimize(path.data());
        ++i;
    }
    set_graph_counters(state, map);
    state.counters["found"] = double(found) / double(i);
}
BENCHMARK(BM_find_path)->Arg(40)->Arg(120)->Arg(240)->Arg(480)->Unit(benchmark::kMicrosecond);

/// Walks along stick directions from random walkable points.
void BM_find_path_direction(benchmark::State& state) {
    Ground_map& map = built_map(int(state.range(0)));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0, 1920), y(0, 1080), turn(0, 6.283);
    std::vector<std::pair<Point, Orvane::Vector>> walks;
    while (walks.size() < 256) {
        Point p(x(random), y(random));
        double a = turn(random);
        if (map.is_ground_point(p))
            walks.push_back({p, Orvane::Vector(std::cos(a), std::sin(a))});
    }
    std::size_t i = 0;
    std::vector<Point> path;
    for (auto _ : state) {
        path.clear();
        map.find_path(walks[i % 256].first, walks[i % 256].second, path);
        benchmark::DoNotOptimize(path.data());
        ++i;
    }
    set_graph_counters(state, map);
}
BENCHMARK(BM_find_path_direction)->Arg(120)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
