// The logic system's frame over many scripts.
//
// BM_running/N: N actions that each set a state, add to a value, wait a frame and loop: four
// steps applied per action and frame, schedule update included. BM_waiting/N: N actions that
// only wait. BM_bare/N: the same state and value writes as BM_running, made directly through
// the store without the step engine, measured in the same run as the baseline.
//
// Counters, per frame: us (mean), us_p99 and us_max of the frame times; for running actions
// us_per_step (mean frame time over the steps applied) and ratio_to_bare (mean frame time over
// the bare frame's); for waiting actions us_per_action. Goals: 0.5 us per applied step, 0.2 us
// per waiting action, and a frame of 100 running actions well under 1 ms.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/Logic.h>
#include <Orvane/Utils/Clock.h>

#include "support/Timings.h"

namespace {

using namespace Orvane;
using Component::Action;
using Int = Component::Simple<int>;
using String = Component::Simple<std::string>;

constexpr double frame_seconds = 1.0 / 60;

/// A store as the engine has it for the logic system, with n scripts.
struct Scene {
    Content content;
    Clock clock;
    std::shared_ptr<Component::Simple<double>> time;
    std::unique_ptr<System::Logic> logic;
    std::vector<std::string> ids;
    double now = 0;

    Scene(int n, bool running) {
        content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status")
            ->pop();
        time = content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME,
                                                          "Clock", "time", 0.0);
        content.set_fac<Component::Debug>(Fast_access_component::GAME_DEBUG, "Game", "debug",
                                          content, clock);
        content.set<Component::Inventory>("Game", "inventory");
        logic = std::make_unique<System::Logic>(content);
        for (int i = 0; i < n; ++i) {
            const std::string id = "lantern_" + std::to_string(i);
            ids.push_back(id);
            content.set<String>(id + "_lamp", "state", "off");
            content.set<Int>(id, "value", 0);
            auto action = content.set<Action>(id + "_flicker", "action");
            if (running) {
                action->add("set", {id + "_lamp", "on"});
                action->add("add", {id, "1"});
                action->add("wait", {"0"});
                action->add("loop", {});
            } else
                action->add("wait", {"100000"});
            action->launch();
        }
        frame(); // first frame: every script reaches its wait
    }
    ~Scene() {
        logic.reset();
        content.clear();
    }

    void frame() {
        now += frame_seconds;
        time->set(now);
        logic->run();
    }

    // The same writes as a running frame, straight through the store.
    void bare_frame() {
        for (const std::string& id : ids) {
            content.request<String>(id + "_lamp", "state")->set("on");
            auto value = content.request<Int>(id, "value");
            value->set(value->value() + 1);
        }
    }
};

struct Times {
    std::vector<double> us;
    double mean() const { return Bench::mean(us); }
    double percentile(double p) const { return Bench::percentile(us, p); }
};

template <typename Frame> Times time_frames(benchmark::State& state, Frame frame) {
    Times times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        frame();
        const auto end = std::chrono::steady_clock::now();
        times.us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return times;
}

void report(benchmark::State& state, Times& times) {
    state.counters["us"] = times.mean();
    state.counters["us_p99"] = times.percentile(0.99);
    state.counters["us_max"] = times.percentile(1.0);
}

double bare_mean(int n) {
    Scene scene(n, true);
    Times times;
    for (int i = 0; i < 2000; ++i) {
        const auto start = std::chrono::steady_clock::now();
        scene.bare_frame();
        const auto end = std::chrono::steady_clock::now();
        times.us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return times.mean();
}

void BM_running(benchmark::State& state) {
    const int n = int(state.range(0));
    const double bare = bare_mean(n);
    Scene scene(n, true);
    const int before = scene.content.get<Int>(scene.ids[0], "value")->value();
    Times times = time_frames(state, [&] { scene.frame(); });
    const int rounds = scene.content.get<Int>(scene.ids[0], "value")->value() - before;
    if (rounds != int(state.iterations()))
        state.SkipWithError(("the scripts took " + std::to_string(rounds) + " rounds in " +
                             std::to_string(state.iterations()) + " frames")
                                .c_str());
    const double steps = 4.0 * n; // loop, set, add, wait
    report(state, times);
    state.counters["us_per_step"] = times.mean() / steps;
    state.counters["bare_us"] = bare;
    state.counters["ratio_to_bare"] = times.mean() / bare;
}
BENCHMARK(BM_running)->Arg(100)->Arg(1000);

void BM_waiting(benchmark::State& state) {
    const int n = int(state.range(0));
    Scene scene(n, false);
    Times times = time_frames(state, [&] { scene.frame(); });
    report(state, times);
    state.counters["us_per_action"] = times.mean() / n;
}
BENCHMARK(BM_waiting)->Arg(1000);

void BM_bare(benchmark::State& state) {
    Scene scene(int(state.range(0)), true);
    Times times = time_frames(state, [&] { scene.bare_frame(); });
    report(state, times);
}
BENCHMARK(BM_bare)->Arg(100)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
