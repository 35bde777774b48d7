#pragma once

// Summaries of per-iteration times for the benchmarks' counters.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <ctime>
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

/// Seconds from `start` to now on the steady clock.
inline double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

/// The value below which a share `p` (0..1) of the values lie: the value at index p * count,
/// 1.0 giving the largest (0 without any).
inline double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

/// The calling thread's processor time, in seconds.
inline double thread_cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
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
