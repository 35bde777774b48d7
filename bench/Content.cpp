// Store lookups by a 20-character entity name: the store's own lookup (the names as views,
// hashed once, found without building a key) against the lookup as the store made it before,
// which builds a Component::Id for every lookup (two string copies, a heap allocation and the
// hashes), over the same components in the same run.
//
// BM_lookup_view_vs_id interleaves batches of both and reports, per lookup: the mean, the 99th
// percentile and the maximum of the batch means in ns, "ratio" (Id-building mean over the
// store's mean; the goal is 2 or more) and the heap allocations per lookup of each (the goal for
// the store is 0).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>

namespace {

// Heap allocations made by this program so far.
std::size_t allocations = 0;

} // namespace

// The program's own operator new counts every allocation. GCC takes the free() of memory that
// this operator new got from malloc() for a mismatch once both are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using Orvane::Content;
using Orvane::Component::Id;
using Orvane::Component::Simple;

constexpr int entities = 1000;

/// The store's lookup as it was: a name index of strings, and maps keyed by Id whose every
/// lookup builds an Id.
struct Id_store {
    using Map = std::unordered_map<Id, Content::Component_ptr, Orvane::Component::Id_hash>;
    std::vector<Map> maps = std::vector<Map>(Content::number_of_maps);
    std::unordered_map<std::string, std::size_t> name_index;

    explicit Id_store(const Content& content) {
        name_index.max_load_factor(1.0f);
        for (const char* name : {"image", "position"})
            name_index.emplace(name, content.map_index(name));
        for (const auto& map : content)
            for (const auto& [id, c] : map)
                maps[map_index(c->component())].emplace(id, c);
    }
    std::size_t map_index(const std::string& component) const {
        auto it = name_index.find(component);
        return it == name_index.end() ? 0 : it->second;
    }
    template <typename T>
    std::shared_ptr<T> request(const std::string& entity, const std::string& component) const {
        const Map& map = maps[map_index(component)];
        auto it = map.find(Id(entity, component));
        return Orvane::Component::cast<T>(it == map.end() ? nullptr : it->second);
    }
};

/// A store with 1000 "image" components of 20-character entity names, beside other names in
/// their own maps and in the shared map; the same components in the Id-building store; and the
/// names to look up in a scattered order.
struct Store {
    Content content;
    std::unique_ptr<Id_store> by_id;
    std::vector<std::string> names;

    Store() {
        char name[32];
        for (int i = 0; i < entities; ++i) {
            std::snprintf(name, sizeof name, "Kitchen_cupboard_%03d", i);
            names.emplace_back(name);
            content.set<Simple<int>>(name, "image", i);
            content.set<Simple<int>>(name, "position", i);
            content.set<Simple<int>>(name, "label_text", i);
        }
        if (names.front().size() != 20)
            std::abort();
        by_id = std::make_unique<Id_store>(content);
        // A walk through the names that is not the order of the map's buckets.
        std::vector<std::string> scattered;
        for (int i = 0; i < entities; ++i)
            scattered.push_back(names[static_cast<std::size_t>(i * 379 % entities)]);
        names.swap(scattered);
    }
};

Store& store() {
    static Store instance;
    return instance;
}

const std::string component = "image";

std::shared_ptr<Simple<int>> request_by_id(const Store& s, const std::string& entity) {
    return s.by_id->request<Simple<int>>(entity, component);
}

std::shared_ptr<Simple<int>> request_by_view(const Store& s, const std::string& entity) {
    return s.content.request<Simple<int>>(entity, component);
}

template <typename Lookup> void lookups(benchmark::State& state, Lookup lookup) {
    const Store& s = store();
    std::size_t i = 0;
    const std::size_t before = allocations;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(s, s.names[i]));
        i = i + 1 == s.names.size() ? 0 : i + 1;
    }
    state.counters["allocs_per_lookup"] =
        double(allocations - before) /
        double(std::max<benchmark::IterationCount>(1, state.iterations()));
}

void BM_lookup_building_an_id(benchmark::State& state) { lookups(state, request_by_id); }
BENCHMARK(BM_lookup_building_an_id);

void BM_lookup_by_view(benchmark::State& state) { lookups(state, request_by_view); }
BENCHMARK(BM_lookup_by_view);

/// Batch means per lookup, in ns, and the allocations made.
struct Series {
    std::vector<double> batch_ns;
    std::size_t allocated = 0;
    std::size_t lookups = 0;

    double mean() const {
        double sum = 0;
        for (double v : batch_ns)
            sum += v;
        return sum / double(batch_ns.size());
    }
    double percentile(double p) const {
        std::vector<double> sorted = batch_ns;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min(sorted.size() - 1, std::size_t(p * double(sorted.size())))];
    }
};

template <typename Lookup> void batch(Series& series, Lookup lookup, std::size_t& next) {
    constexpr int size = 256;
    const Store& s = store();
    const std::size_t before = allocations;
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < size; ++k) {
        benchmark::DoNotOptimize(lookup(s, s.names[next]));
        next = next + 1 == s.names.size() ? 0 : next + 1;
    }
    const auto end = std::chrono::steady_clock::now();
    series.allocated += allocations - before;
    series.lookups += size;
    series.batch_ns.push_back(std::chrono::duration<double, std::nano>(end - start).count() / size);
}

void BM_lookup_view_vs_id(benchmark::State& state) {
    Series by_id;
    Series by_view;
    std::size_t next_id = 0;
    std::size_t next_view = 0;
    for (auto _ : state) {
        batch(by_id, request_by_id, next_id);
        batch(by_view, request_by_view, next_view);
    }
    state.counters["id_mean_ns"] = by_id.mean();
    state.counters["id_p99_ns"] = by_id.percentile(0.99);
    state.counters["id_max_ns"] = by_id.percentile(1.0);
    state.counters["view_mean_ns"] = by_view.mean();
    state.counters["view_p99_ns"] = by_view.percentile(0.99);
    state.counters["view_max_ns"] = by_view.percentile(1.0);
    state.counters["ratio"] = by_id.mean() / by_view.mean();
    state.counters["id_allocs_per_lookup"] = double(by_id.allocated) / double(by_id.lookups);
    state.counters["view_allocs_per_lookup"] = double(by_view.allocated) / double(by_view.lookups);
}
BENCHMARK(BM_lookup_view_vs_id)->Iterations(4000);

} // namespace

BENCHMARK_MAIN();
