// Path requests on full-size ground maps, and the graph builder's time per image.
//
// Maps: obstacle masks whose graphs the builder makes (gray floor with a depth gradient, red
// rectangles and discs), and dense maps whose graphs are made here directly, as the builder
// would make them but for the inner links, which join each vertex to the nearest vertices it
// sees only: a field of many small square obstacles, and a checkerboard.
//
// Every request is timed on its own: the reported time is the mean, with p99 and the maximum
// beside it, in microseconds; the cpu_ figures count the thread's processor time only, which
// a busy machine's preemptions leave out. A plain A* over the same loaded graph, between the vertices
// nearest to the same two points, runs right after each request as the reference: `x_astar`
// is the mean request time over the mean plain A* time.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include <time.h>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Ground_map.h>

#include "support/Masks.h"
#include "support/Timings.h"

namespace {

using Orvane::Point;
using Orvane::Segment;
using Orvane::Component::Ground_map;
using Vid = Ground_map::Vertex_id;
using Eid = Ground_map::Edge_id;
using Clock = std::chrono::steady_clock;

using Orvane::Bench::obstacle_mask;
using Orvane::Bench::set_time_counters;
using Orvane::Bench::thread_cpu_seconds;

/// Joins each vertex of `graph` to the `nearest` nearest vertices that it sees: midpoint on a
/// walkable pixel, and no border edge crossed but those at either end (the builder's rule).
void add_inner_links(Ground_map::Graph& graph, const Ground_map::Mask& mask, std::size_t nearest) {
    constexpr double cell = 32;
    const int cols = mask.width() / int(cell) + 2, rows = mask.height() / int(cell) + 2;
    auto cell_of = [&](double x, double y) {
        int c = std::clamp(int(std::floor(x / cell)) + 1, 0, cols - 1);
        int r = std::clamp(int(std::floor(y / cell)) + 1, 0, rows - 1);
        return std::size_t(r) * std::size_t(cols) + std::size_t(c);
    };
    std::vector<std::vector<Eid>> borders(std::size_t(cols) * std::size_t(rows));
    std::vector<std::vector<Vid>> points(borders.size());
    for (std::size_t i = 0; i < graph.edge_count(); ++i) {
        const Point& a = graph.vertex(graph.source(Eid(i))).point;
        const Point& b = graph.vertex(graph.target(Eid(i))).point;
        std::size_t c0 = cell_of(std::min(a.x(), b.x()) - 1, std::min(a.y(), b.y()) - 1);
        std::size_t c1 = cell_of(std::max(a.x(), b.x()) + 1, std::max(a.y(), b.y()) + 1);
        for (std::size_t r = c0 / std::size_t(cols); r <= c1 / std::size_t(cols); ++r)
            for (std::size_t c = c0 % std::size_t(cols); c <= c1 % std::size_t(cols); ++c)
                borders[r * std::size_t(cols) + c].push_back(Eid(i));
    }
    for (std::size_t i = 0; i < graph.vertex_count(); ++i) {
        const Point& p = graph.vertex(Vid(i)).point;
        points[cell_of(p.x(), p.y())].push_back(Vid(i));
    }
    auto sees = [&](Vid a, Vid b) {
        const Point& pa = graph.vertex(a).point;
        const Point& pb = graph.vertex(b).point;
        Point mid((pa.x() + pb.x()) / 2, (pa.y() + pb.y()) / 2);
        if (!mask.walkable(mid.X(), mid.Y()))
            return false;
        Segment link(pa, pb);
        std::size_t c0 = cell_of(std::min(pa.x(), pb.x()), std::min(pa.y(), pb.y()));
        std::size_t c1 = cell_of(std::max(pa.x(), pb.x()), std::max(pa.y(), pb.y()));
        for (std::size_t r = c0 / std::size_t(cols); r <= c1 / std::size_t(cols); ++r)
            for (std::size_t c = c0 % std::size_t(cols); c <= c1 % std::size_t(cols); ++c)
                for (const Eid& e : borders[r * std::size_t(cols) + c]) {
                    Vid s = graph.source(e), t = graph.target(e);
                    if (s == a || s == b || t == a || t == b || !graph.edge(e).border)
                        continue;
                    if (Ground_map::crosses(link, Segment(graph.vertex(s).point,
                                                          graph.vertex(t).point)))
                        return false;
                }
        return true;
    };
    const std::size_t n = graph.vertex_count();
    std::vector<std::pair<double, Vid>> near;
    for (std::size_t i = 0; i < n; ++i) {
        const Point& p = graph.vertex(Vid(i)).point;
        near.clear();
        std::size_t home = cell_of(p.x(), p.y());
        const int hc = int(home % std::size_t(cols)), hr = int(home / std::size_t(cols));
        for (int r = std::max(hr - 2, 0); r <= std::min(hr + 2, rows - 1); ++r)
            for (int c = std::max(hc - 2, 0); c <= std::min(hc + 2, cols - 1); ++c)
                for (const Vid& v : points[std::size_t(r) * std::size_t(cols) + std::size_t(c)])
                    if (v.index() != i)
                        near.push_back({Orvane::distance(p, graph.vertex(v).point), v});
        std::sort(near.begin(), near.end());
        std::size_t linked = 0;
        for (const auto& [d, v] : near) {
            if (linked == nearest)
                break;
            if (graph.is_edge(Vid(i), v) || !sees(Vid(i), v))
                continue;
            ++linked;
            graph.edge(graph.add_edge(Vid(i), v, {})).border = false;
        }
    }
}

/// Adds the four sides of the box (pixel corners) as border edges.
void add_box(Ground_map::Graph& graph, double x0, double y0, double x1, double y1,
             std::map<Point, Vid>& index) {
    auto vertex = [&](double x, double y) {
        auto [it, added] = index.try_emplace(Point(x, y));
        if (added)
            it->second = graph.add_vertex({Point(x, y), 128});
        return it->second;
    };
    Vid a = vertex(x0, y0), b = vertex(x1, y0), c = vertex(x1, y1), d = vertex(x0, y1);
    graph.add_edge(a, b, {true});
    graph.add_edge(b, c, {true});
    graph.add_edge(c, d, {true});
    graph.add_edge(d, a, {true});
}

/// A 1920 x 1080 field of small square obstacles, one in each `spacing`-pixel cell at a random
/// place, 6 to `spacing` / 2 pixels wide; its graph is made directly.
std::unique_ptr<Ground_map> square_field(int spacing) {
    std::mt19937 random(4321);
    const int cols = 1920 / spacing, rows = 1080 / spacing;
    std::vector<std::array<int, 3>> squares; // x, y, size
    std::uniform_int_distribution<int> size(6, spacing / 2);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            int s = size(random);
            std::uniform_int_distribution<int> at(2, spacing - s - 2);
            squares.push_back({c * spacing + at(random), r * spacing + at(random), s});
        }
    std::vector<unsigned char> wall(1920 * 1080, 0);
    for (const auto& [x, y, s] : squares)
        for (int py = y; py < y + s; ++py)
            for (int px = x; px < x + s; ++px)
                wall[std::size_t(py) * 1920 + std::size_t(px)] = 1;
    Ground_map::Mask mask(1920, 1080, [&](int px, int py) -> Ground_map::Mask::Color {
        if (wall[std::size_t(py) * 1920 + std::size_t(px)])
            return {200, 30, 30};
        auto gray = static_cast<unsigned char>(py * 255 / 1080);
        return {gray, gray, gray};
    });
    Ground_map::Graph graph;
    std::map<Point, Vid> index;
    add_box(graph, -0.5, -0.5, 1919.5, 1079.5, index);
    for (const auto& [x, y, s] : squares)
        add_box(graph, x - 0.5, y - 0.5, x + s - 0.5, y + s - 0.5, index);
    add_inner_links(graph, mask, 4);
    return std::make_unique<Ground_map>("room", "ground_map", std::move(mask), 3240, 0, graph);
}

/// A 1920 x 1080 checkerboard of `size`-pixel squares, the top-left one walkable; walkable
/// squares meet at their corners only. Its graph is made directly.
std::unique_ptr<Ground_map> checkerboard(int size) {
    auto walkable = [&](int px, int py) { return (px / size + py / size) % 2 == 0; };
    Ground_map::Mask mask(1920, 1080, [&](int px, int py) -> Ground_map::Mask::Color {
        if (!walkable(px, py))
            return {200, 30, 30};
        auto gray = static_cast<unsigned char>(py * 255 / 1080);
        return {gray, gray, gray};
    });
    Ground_map::Graph graph;
    std::map<Point, Vid> index;
    for (int y = 0; y < 1080; y += size)
        for (int x = 0; x < 1920; x += size)
            if (walkable(x, y))
                add_box(graph, x - 0.5, y - 0.5, std::min(x + size, 1920) - 0.5,
                        std::min(y + size, 1080) - 0.5, index);
    add_inner_links(graph, mask, 4);
    return std::make_unique<Ground_map>("room", "ground_map", std::move(mask), 3240, 0, graph);
}

/// The maps by benchmark argument: 1 to 999 obstacles for the builder's maps, 1000 + spacing
/// for a square field, 2000 + size for a checkerboard. Each is made once.
Ground_map& map_for(int arg) {
    static std::map<int, std::unique_ptr<Ground_map>> maps;
    std::unique_ptr<Ground_map>& map = maps[arg];
    if (!map) {
        if (arg >= 2000) {
            map = checkerboard(arg - 2000);
        } else if (arg >= 1000) {
            map = square_field(arg - 1000);
        } else {
            map = std::make_unique<Ground_map>("room", "ground_map", obstacle_mask(arg), 3240, 0);
            map->build_graph({});
            map = std::make_unique<Ground_map>("room", "ground_map", map->mask(), 3240, 0,
                                               map->graph());
        }
    }
    return *map;
}

void set_graph_counters(benchmark::State& state, const Ground_map& map) {
    state.counters["vertices"] = double(map.graph().vertex_count());
    state.counters["edges"] = double(map.graph().edge_count());
}


/// A plain A* over the loaded graph with the straight-line distance: adjacency arrays, a
/// binary heap with lazy deletion, no visibility links.
class Plain_a_star {
  public:
    explicit Plain_a_star(const Ground_map::Graph& graph) : m_graph(graph) {
        const std::size_t n = graph.vertex_count();
        m_start.assign(n + 1, 0);
        for (std::size_t i = 0; i < graph.edge_count(); ++i) {
            ++m_start[graph.source(Eid(i)).index() + 1];
            ++m_start[graph.target(Eid(i)).index() + 1];
        }
        for (std::size_t v = 0; v < n; ++v)
            m_start[v + 1] += m_start[v];
        m_to.resize(m_start[n]);
        m_length.resize(m_start[n]);
        std::vector<std::uint32_t> at(m_start.begin(), m_start.end() - 1);
        for (std::size_t i = 0; i < graph.edge_count(); ++i) {
            std::uint32_t s = std::uint32_t(graph.source(Eid(i)).index());
            std::uint32_t t = std::uint32_t(graph.target(Eid(i)).index());
            double d = Orvane::distance(graph.vertex(Vid(s)).point, graph.vertex(Vid(t)).point);
            m_to[at[s]] = t;
            m_length[at[s]++] = d;
            m_to[at[t]] = s;
            m_length[at[t]++] = d;
        }
    }
    /// The walk's length, or -1 when there is none.
    double run(std::uint32_t origin, std::uint32_t target) {
        const std::size_t n = m_graph.vertex_count();
        m_g.assign(n, std::numeric_limits<double>::max());
        m_parent.assign(n, std::uint32_t(-1));
        const Point& goal = m_graph.vertex(Vid(target)).point;
        auto h = [&](std::uint32_t v) {
            return Orvane::distance(m_graph.vertex(Vid(v)).point, goal);
        };
        std::priority_queue<std::pair<double, std::uint32_t>> queue;
        m_g[origin] = 0;
        queue.push({-h(origin), origin});
        while (!queue.empty()) {
            auto [f, v] = queue.top();
            queue.pop();
            if (v == target)
                return m_g[v];
            if (-f > m_g[v] + h(v) + 1e-9)
                continue;
            for (std::uint32_t a = m_start[v]; a < m_start[v + 1]; ++a) {
                const std::uint32_t w = m_to[a];
                const double g = m_g[v] + m_length[a];
                if (g < m_g[w]) {
                    m_g[w] = g;
                    m_parent[w] = v;
                    queue.push({-(g + h(w)), w});
                }
            }
        }
        return -1;
    }

  private:
    const Ground_map::Graph& m_graph;
    std::vector<std::uint32_t> m_start, m_to, m_parent;
    std::vector<double> m_length, m_g;
};

/// The vertex nearest to p, by a scan.
std::uint32_t nearest_vertex(const Ground_map::Graph& graph, const Point& p) {
    std::uint32_t best = 0;
    double best_d = std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < graph.vertex_count(); ++i) {
        double d = Orvane::distance(p, graph.vertex(Vid(i)).point);
        if (d < best_d) {
            best_d = d;
            best = std::uint32_t(i);
        }
    }
    return best;
}

std::vector<Point> walkable_points(const Ground_map& map, unsigned seed, std::size_t count) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> x(0, 1920), y(0, 1080);
    std::vector<Point> points;
    while (points.size() < count) {
        Point p(x(random), y(random));
        if (map.is_ground_point(p))
            points.push_back(p);
    }
    return points;
}

/// The times of path requests, each request timed against the plain A* run after it.
struct Request_times {
    std::vector<double> times, plain_times, cpu_times;

    /// Times `request` (wall clock, which is the iteration's time, and the thread's CPU time),
    /// then `plain`.
    template <typename Request, typename Plain>
    void time(benchmark::State& state, Request request, Plain plain) {
        const double cpu_start = thread_cpu_seconds();
        auto start = Clock::now();
        request();
        auto middle = Clock::now();
        cpu_times.push_back(thread_cpu_seconds() - cpu_start);
        plain();
        auto end = Clock::now();
        const double seconds = std::chrono::duration<double>(middle - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        plain_times.push_back(std::chrono::duration<double>(end - middle).count());
    }

    /// The time counters of the requests, of the A* runs ("astar_") and of the requests' CPU
    /// time ("cpu_"), and x_astar: the mean request time over the mean A* time.
    void set_counters(benchmark::State& state) const {
        set_time_counters(state, times, "", "us");
        set_time_counters(state, plain_times, "astar_", "us");
        set_time_counters(state, cpu_times, "cpu_", "us");
        state.counters["x_astar"] = state.counters["mean_us"] / state.counters["astar_mean_us"];
    }
};

/// Requests between random walkable points, each followed by the plain A* reference.
void BM_find_path(benchmark::State& state) {
    Ground_map& map = map_for(int(state.range(0)));
    std::vector<Point> points = walkable_points(map, 99, 256);
    std::vector<std::uint32_t> nearest;
    for (const Point& p : points)
        nearest.push_back(nearest_vertex(map.graph(), p));
    Plain_a_star plain(map.graph());
    std::size_t i = 0, found = 0;
    std::vector<Point> path;
    Request_times times;
    for (auto _ : state) {
        const std::size_t from = i % 256, to = (i * 7 + 3) % 256;
        path.clear();
        times.time(
            state, [&] { map.find_path(points[from], points[to], path); },
            [&] { benchmark::DoNotOptimize(plain.run(nearest[from], nearest[to])); });
        found += path.empty() ? 0 : 1;
        benchmark::DoNotOptimize(path.data());
        ++i;
    }
    set_graph_counters(state, map);
    state.counters["found"] = double(found) / double(i);
    times.set_counters(state);
}
BENCHMARK(BM_find_path)
    ->ArgName("map")
    ->Arg(40)
    ->Arg(120)
    ->Arg(240)
    ->Arg(480)
    ->Arg(1048)
    ->Arg(1032)
    ->Arg(1024)
    ->Arg(2060)
    ->Arg(2030)
    ->Arg(2016)
    ->Arg(2012)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

/// Whether the straight line from a to b is a walk: its midpoint on a walkable pixel and no
/// border edge of the loaded graph crossed (the points lie off the outline).
bool in_sight(const Ground_map& map, const Point& a, const Point& b) {
    if (!map.is_ground_point(Point((a.x() + b.x()) / 2, (a.y() + b.y()) / 2)))
        return false;
    const Ground_map::Graph& graph = map.graph();
    for (std::size_t i = 0; i < graph.edge_count(); ++i)
        if (graph.edge(Eid(i)).border &&
            Ground_map::crosses(Segment(a, b), Segment(graph.vertex(graph.source(Eid(i))).point,
                                                       graph.vertex(graph.target(Eid(i))).point)))
            return false;
    return true;
}

/// Requests between random walkable points whose start sees the target: the answer is the
/// straight line (to the target as snapped). The median is reported beside the mean.
void BM_find_path_in_sight(benchmark::State& state) {
    Ground_map& map = map_for(int(state.range(0)));
    std::vector<std::pair<Point, Point>> pairs;
    std::vector<Point> points = walkable_points(map, 5, 512);
    for (std::size_t k = 0; pairs.size() < 256 && k < points.size() * points.size(); ++k) {
        const Point& a = points[k % points.size()];
        const Point& b = points[(k / points.size() + k) % points.size()];
        if (a != b && in_sight(map, a, b))
            pairs.push_back({a, b});
    }
    std::size_t i = 0, straight = 0;
    std::vector<Point> path;
    std::vector<double> times;
    for (auto _ : state) {
        const auto& [from, to] = pairs[i % pairs.size()];
        path.clear();
        auto start = Clock::now();
        map.find_path(from, to, path);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        straight += path.size() == 1 ? 1 : 0;
        benchmark::DoNotOptimize(path.data());
        ++i;
    }
    set_graph_counters(state, map);
    state.counters["straight"] = double(straight) / double(i);
    state.counters["median_us"] = Orvane::Bench::percentile(times, 0.5) * 1e6;
    set_time_counters(state, times, "", "us");
}
BENCHMARK(BM_find_path_in_sight)
    ->ArgName("map")
    ->Arg(40)
    ->Arg(480)
    ->Arg(1048)
    ->Arg(2060)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

/// Walks along stick directions from random walkable points, each followed by the plain A*
/// reference between two random points of the same map.
void BM_find_path_direction(benchmark::State& state) {
    Ground_map& map = map_for(int(state.range(0)));
    std::vector<Point> points = walkable_points(map, 7, 256);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> turn(0, 6.283);
    std::vector<Orvane::Vector> directions;
    std::vector<std::uint32_t> nearest;
    for (const Point& p : points) {
        double a = turn(random);
        // as the logic system passes the stick: x times 1.22, y over 1.41
        directions.push_back(Orvane::Vector(std::cos(a) * 1.22, std::sin(a) / 1.41));
        nearest.push_back(nearest_vertex(map.graph(), p));
    }
    Plain_a_star plain(map.graph());
    std::size_t i = 0, points_walked = 0;
    std::vector<Point> path;
    Request_times times;
    for (auto _ : state) {
        const std::size_t k = i % 256;
        path.clear();
        times.time(
            state, [&] { map.find_path(points[k], directions[k], path); },
            [&] { benchmark::DoNotOptimize(plain.run(nearest[k], nearest[(i * 7 + 3) % 256])); });
        points_walked += path.size();
        benchmark::DoNotOptimize(path.data());
        ++i;
    }
    set_graph_counters(state, map);
    state.counters["points"] = double(points_walked) / double(i);
    times.set_counters(state);
}
BENCHMARK(BM_find_path_direction)
    ->ArgName("map")
    ->Arg(120)
    ->Arg(480)
    ->Arg(1048)
    ->Arg(1024)
    ->Arg(2060)
    ->Arg(2016)
    ->Arg(2012)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

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

} // namespace

BENCHMARK_MAIN();
