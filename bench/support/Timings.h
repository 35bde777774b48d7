#pragma once

// Summaries of per-iteration times for the benchmarks' counters.

#include <algorithm>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace Orvane::Bench {

/// Sets `<prefix>mean_<unit>`, `<prefix>p99_<unit>` and `<prefix>max_<unit>` from times in
/// seconds; unit is "ms", "us" or "ns". Nothing without samples.
inline void set_time_counters(benchmark::State& state, std::vector<double> seconds,
                              const std::string& prefix, const std::string& unit) {
    if (seconds.empty())
        return;
    const double scale = unit == "ms" ? 1e3 : unit == "us" ? 1e6 : 1e9;
    std::sort(seconds.begin(), seconds.end());
    double sum = 0;
    for (double t : seconds)
        sum += t;
    state.counters[prefix + "mean_" + unit] = sum / double(seconds.size()) * scale;
    state.counters[prefix + "p99_" + unit] = seconds[(seconds.size() - 1) * 99 / 100] * scale;
    state.counters[prefix + "max_" + unit] = seconds.back() * scale;
}

} // namespace Orvane::Bench
