// Store lookups by a 20-character entity name: the store's own lookup (the names as views,
// hashed once, found without building a key) against the lookup as the store made it before,
// which builds a Component::Id for every lookup (two string copies, a heap allocation and the
// hashes), over the same components in the same run.
//
// BM_lookup_view_vs_id interleaves batches of the three lookups ("before": the store's lookup as
// it was, with the library's string hash and the typed view by dynamic_cast alone; "id": the
// same building today's Component::Id, with today's Component::cast;
// "view": the store's lookup) and reports, per lookup: the mean, the 99th percentile and the
// maximum of the batch means in ns, the heap allocations (the goal for the store is 0), and
// "ratio", the mean before over the store's mean (the goal is 2 or more; "ratio_id" likewise
// against building today's Id).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>

#include "support/Allocations.h"

using Orvane::Bench::allocations;

namespace {

using Orvane::Content;
using Orvane::Component::Id;
using Orvane::Component::Simple;

constexpr int entities = 1000;

/// The key as it was: both names copied, each hashed by the library's string hash, XORed.
class Former_id {
  public:
    Former_id(const std::string& entity, const std::string& component)
        : m_entity(entity), m_component(component),
          m_hash(std::hash<std::string>{}(entity) ^ std::hash<std::string>{}(component)) {}
    bool operator==(const Former_id& other) const {
        return m_entity == other.m_entity && m_component == other.m_component;
    }
    std::size_t hash() const { return m_hash; }

  private:
    std::string m_entity;
    std::string m_component;
    std::size_t m_hash;
};

/// Hash functor of both key types: the stored hash.
struct Stored_hash {
    template <typename Key> std::size_t operator()(const Key& key) const noexcept {
        return key.hash();
    }
};

/// The typed view as the store took it before: dynamic_cast alone, conditionals looked through.
template <typename T> std::shared_ptr<T> former_cast(std::shared_ptr<Orvane::Component::Base> c) {
    for (std::size_t depth = 0; c && depth <= Orvane::Component::max_conditional_depth; ++depth) {
        if (T* typed = dynamic_cast<T*>(c.get()))
            return std::shared_ptr<T>(std::move(c), typed);
        const auto* conditional = dynamic_cast<const Orvane::Component::Conditional_base*>(c.get());
        if (!conditional)
            return nullptr;
        c = conditional->get();
    }
    return nullptr;
}

/// A lookup that builds a key every time, as the store did: a name index of strings, then maps
/// keyed by `Key`. With Former_id, the store's lookup as it was before.
template <typename Key> struct Key_building_store {
    using Map = std::unordered_map<Key, Content::Component_ptr, Stored_hash>;
    std::vector<Map> maps = std::vector<Map>(Content::number_of_maps);
    std::unordered_map<std::string, std::size_t> name_index;

    explicit Key_building_store(const Content& content) {
        name_index.max_load_factor(1.0f);
        for (const char* name : {"image", "position"})
            name_index.emplace(name, content.map_index(name));
        for (const auto& map : content)
            for (const auto& [id, c] : map)
                maps[map_index(c->component())].emplace(Key(c->entity(), c->component()), c);
    }
    std::size_t map_index(const std::string& component) const {
        auto it = name_index.find(component);
        return it == name_index.end() ? 0 : it->second;
    }
    template <typename T>
    std::shared_ptr<T> request(const std::string& entity, const std::string& component) const {
        const Map& map = maps[map_index(component)];
        auto it = map.find(Key(entity, component));
        if constexpr (std::is_same_v<Key, Former_id>)
            return former_cast<T>(it == map.end() ? nullptr : it->second);
        else
            return Orvane::Component::cast<T>(it == map.end() ? nullptr : it->second);
    }
};

/// A store with 1000 "image" components of 20-character entity names, beside other names in
/// their own maps and in the shared map; the same components in the Id-building store; and the
/// names to look up in a scattered order.
struct Store {
    Content content;
    std::unique_ptr<Key_building_store<Former_id>> before;
    std::unique_ptr<Key_building_store<Id>> by_id;
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
        before = std::make_unique<Key_building_store<Former_id>>(content);
        by_id = std::make_unique<Key_building_store<Id>>(content);
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

std::shared_ptr<Simple<int>> request_before(const Store& s, const std::string& entity) {
    return s.before->request<Simple<int>>(entity, component);
}

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

void BM_lookup_before(benchmark::State& state) { lookups(state, request_before); }
BENCHMARK(BM_lookup_before);

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

void report(benchmark::State& state, const std::string& name, const Series& series) {
    state.counters[name + "_mean_ns"] = series.mean();
    state.counters[name + "_p99_ns"] = series.percentile(0.99);
    state.counters[name + "_max_ns"] = series.percentile(1.0);
    state.counters[name + "_allocs_per_lookup"] =
        double(series.allocated) / double(series.lookups);
}

void BM_lookup_view_vs_id(benchmark::State& state) {
    Series before;
    Series by_id;
    Series by_view;
    std::size_t next_before = 0;
    std::size_t next_id = 0;
    std::size_t next_view = 0;
    for (auto _ : state) {
        batch(before, request_before, next_before);
        batch(by_id, request_by_id, next_id);
        batch(by_view, request_by_view, next_view);
    }
    report(state, "before", before);
    report(state, "id", by_id);
    report(state, "view", by_view);
    state.counters["ratio"] = before.mean() / by_view.mean();
    state.counters["ratio_id"] = by_id.mean() / by_view.mean();
}
BENCHMARK(BM_lookup_view_vs_id)->Iterations(4000);

} // namespace

BENCHMARK_MAIN();
