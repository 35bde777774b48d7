// The graph builder's time per ground-map image, on the maps authors draw: floors with many
// obstacles, checkerboards, and floors sprinkled with stray non-gray specks, whose graphs no
// graph file holds: for those, the time until the build for a graph file refuses them. Each
// build is timed per iteration; the iterations give the mean, p99 and maximum. The bare baseline
// is one pass over the same mask reading every pixel's three probes (what tracing the outline
// cannot go below), measured in the same run, so that the ratio of a build to it stays
// comparable on a machine whose speed drifts.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Ground_map.h>

#include "support/Masks.h"
#include "support/Timings.h"
#include <Orvane/Utils/error.h>

namespace {

using Orvane::Component::Ground_map;

using Orvane::Bench::obstacle_mask;
using Orvane::Bench::set_time_counters;

/// A width x height gray floor with `per_mille` thousandths of its pixels turned into stray
/// non-gray specks (fixed seed).
Ground_map::Mask speck_mask(int width, int height, int per_mille) {
    std::mt19937 random(77);
    std::uniform_int_distribution<int> draw(0, 999);
    std::vector<bool> speck(std::size_t(width) * std::size_t(height));
    for (std::size_t i = 0; i < speck.size(); ++i)
        speck[i] = draw(random) < per_mille;
    return Ground_map::Mask(width, height, [&](int px, int py) -> Ground_map::Mask::Color {
        if (speck[std::size_t(py) * std::size_t(width) + std::size_t(px)])
            return {120, 121, 120};
        auto gray = static_cast<unsigned char>(60 + py * 120 / height);
        return {gray, gray, gray};
    });
}

/// A 1920 x 1080 checkerboard of walkable and red squares of `square` pixels.
Ground_map::Mask checker_mask(int square) {
    return Ground_map::Mask(1920, 1080, [&](int px, int py) -> Ground_map::Mask::Color {
        if ((px / square + py / square) % 2 == 0)
            return {255, 0, 0};
        return {100, 100, 100};
    });
}

struct Map_case {
    const char* name;
    Ground_map::Mask (*make)();
    bool refused; ///< more than a graph file holds
};

const std::vector<Map_case>& cases() {
    static const std::vector<Map_case> list = {
        {"obstacles_40", [] { return obstacle_mask(40); }, false},
        {"obstacles_150", [] { return obstacle_mask(150); }, false},
        {"obstacles_480", [] { return obstacle_mask(480); }, false},
        {"obstacles_1500", [] { return obstacle_mask(1500); }, false},
        {"specks_320x180_5pc", [] { return speck_mask(320, 180, 50); }, true},
        {"specks_1920x1080_0.2pc", [] { return speck_mask(1920, 1080, 2); }, true},
        {"checkers_60", [] { return checker_mask(60); }, false},
        {"checkers_100", [] { return checker_mask(100); }, false},
        {"checkers_200", [] { return checker_mask(200); }, false},
    };
    return list;
}

const Ground_map::Mask& mask_of(std::size_t i) {
    static std::map<std::size_t, Ground_map::Mask> masks;
    auto it = masks.find(i);
    if (it == masks.end())
        it = masks.emplace(i, cases()[i].make()).first;
    return it->second;
}


/// The bare baseline: every pixel's three probes (itself, right, below), as tracing does.
void BM_mask_pass(benchmark::State& state) {
    const Ground_map::Mask& mask = mask_of(std::size_t(state.range(0)));
    state.SetLabel(cases()[std::size_t(state.range(0))].name);
    std::vector<double> seconds;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        long long changes = 0;
        for (int x = -1; x < mask.width(); ++x)
            for (int y = -1; y < mask.height(); ++y) {
                int c = mask.level(x, y), r = mask.level(x + 1, y), d = mask.level(x, y + 1);
                changes += ((c >= 0) != (r >= 0)) + ((c >= 0) != (d >= 0));
            }
        benchmark::DoNotOptimize(changes);
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    set_time_counters(state, seconds, "", "ms");
}

[[noreturn]] void throw_on_fatal(const char*, int, const std::string& message) {
    throw std::runtime_error(message);
}

/// The builder for a graph file on the whole mask: the whole build, or, for a map whose graph
/// no file holds, the time until the refusal.
void BM_build_graph(benchmark::State& state) {
    const Map_case& map_case = cases()[std::size_t(state.range(0))];
    const Ground_map::Mask& mask = mask_of(std::size_t(state.range(0)));
    state.SetLabel(std::string(map_case.name) + (map_case.refused ? " (refused)" : ""));
    std::vector<double> seconds;
    std::size_t vertices = 0, edges = 0, refusals = 0;
    const Orvane::Fatal_handler previous = Orvane::set_fatal_handler(throw_on_fatal);
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        Ground_map map("room", "ground_map", mask, 3240, 0);
        try {
            map.build_graph("bench_map.png", {});
        } catch (const std::runtime_error&) {
            ++refusals;
        }
        vertices = map.graph().vertex_count();
        edges = map.graph().edge_count();
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    Orvane::set_fatal_handler(previous);
    set_time_counters(state, seconds, "", "ms");
    state.counters["vertices"] = double(vertices);
    state.counters["edges"] = double(edges);
    state.counters["refused"] = double(refusals);
}

void all_maps(benchmark::internal::Benchmark* b) {
    for (std::size_t i = 0; i < cases().size(); ++i)
        b->Arg(int(i));
}

BENCHMARK(BM_mask_pass)->Apply(all_maps)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_build_graph)->Apply(all_maps)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
