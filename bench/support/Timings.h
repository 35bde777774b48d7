#pragma once

// Summaries of per-iteration times for the benchmarks' counters.

#include <algorithm>
#include <cstdlib>
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

/// Sum of the times.
inline double total(const std::vector<double>& seconds) {
    double sum = 0;
    for (double t : seconds)
        sum += t;
    return sum;
}

/// Mean of the times (0 without any).
inline double mean(const std::vector<double>& seconds) {
    return seconds.empty() ? 0 : total(seconds) / double(seconds.size());
}

/// An engine side against a bare side timed in the same run: `ratio` = total engine time over
/// total bare time, and the time counters of each side, prefixed "engine_" and "bare_".
inline void set_ratio_counters(benchmark::State& state, const std::vector<double>& engine,
                               const std::vector<double>& bare, const std::string& unit) {
    state.counters["ratio"] = total(engine) / total(bare);
    set_time_counters(state, engine, "engine_", unit);
    set_time_counters(state, bare, "bare_", unit);
}

} // namespace Orvane::Bench
