// One frame of the control system's idle mouse play over a busy room: 1,000 shown images of
// named objects, 100 of them tested pixel by pixel, the camera scrolled, the mouse hovering a
// pile of 20 of them. Goal: under 0.1 ms a frame.
//
// Counters: engine_mean_us, engine_p99_us and engine_max_us per frame; bare_* for the same hit
// test done by hand on plain arrays (boxes, depths, masks) in the same run, and their ratio;
// allocs_per_frame.

#include <chrono>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/Control.h>

#include "support/Allocations.h"
#include "support/Input_store.h"
#include "support/Picture.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Clock = std::chrono::steady_clock;

constexpr int images = 1000;
constexpr int masked_every = 10; // one image in ten is pixel-perfect
constexpr int piled = 20;        // the first ones lie under the pointer
const Point camera(500, 0);
const Point pointer(700, 400);

// A 40 x 40 mask: a disc.
std::vector<std::string> disc() {
    std::vector<std::string> rows;
    for (int y = 0; y < 40; ++y) {
        std::string row;
        for (int x = 0; x < 40; ++x)
            row += (x - 20) * (x - 20) + (y - 20) * (y - 20) < 400 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// Where image i lies in the room: the first ones around the pointer, the others spread out.
Point place(int i) {
    if (i < piled)
        return {camera.x() + pointer.x() - 20 + i % 5, pointer.y() - 20 + i % 7};
    return {double(97 * i % 2800), double(200 + 61 * i % 800)};
}

void fill(Content& content) {
    Test::fill_input_store(content, Status::IDLE, Input_mode::MOUSE);
    content.request<Component::Position>(Fast_access_component::CAMERA_POSITION)->set(camera);
    content.request<Component::Position>(Fast_access_component::CURSOR_POSITION)->set(pointer);
    const std::string box = Test::texture_less_picture(40, 40);
    const std::string masked = Test::masked_picture(disc());
    for (int i = 0; i < images; ++i) {
        const std::string id = "room_object_number_" + std::to_string(i);
        const bool pixel = i % masked_every == 0;
        content.set<Component::Image>(id, "image", pixel ? masked : box, 100 + i % 50,
                                      pixel ? Component::Collision_type::PIXEL_PERFECT
                                            : Component::Collision_type::BOX);
        content.set<Component::Absolute_position>(id, "position", place(i), false);
        content.set<Component::Simple<std::string>>(id, "state", std::string("default"));
        content.set<Component::Simple<std::string>>(id, "name", id);
    }
}

// The same hit test by hand on plain arrays.
struct Bare_image {
    double x;
    double y;
    int z;
    bool pixel;
    const std::string* name;
};

const std::string* bare_hit(const std::vector<Bare_image>& all, const std::vector<bool>& mask) {
    const Bare_image* best = nullptr;
    const int cx = int(std::lround(pointer.x()));
    const int cy = int(std::lround(pointer.y()));
    for (const Bare_image& b : all) {
        if (best && b.z < best->z)
            continue;
        const int t = int(std::lround(b.x - camera.x()));
        const int v = int(std::lround(b.y - camera.y()));
        if (cx < t || cy < v || cx >= t + 40 || cy >= v + 40)
            continue;
        if (b.pixel && !mask[std::size_t((cy - v) * 40 + (cx - t))])
            continue;
        best = &b;
    }
    return best ? best->name : nullptr;
}

void BM_idle_mouse_hover(benchmark::State& state) {
    Content content;
    fill(content);
    System::Control control(content);
    control.init();
    control.run();

    std::vector<std::string> names;
    for (int i = 0; i < images; ++i)
        names.push_back("room_object_number_" + std::to_string(i));
    std::vector<Bare_image> bare;
    for (int i = 0; i < images; ++i) {
        const Point p = place(i);
        bare.push_back({p.x(), p.y(), 100 + i % 50, i % masked_every == 0, &names[std::size_t(i)]});
    }
    std::vector<bool> mask;
    for (const std::string& row : disc())
        for (char c : row)
            mask.push_back(c == '#');

    std::vector<double> engine_times;
    std::vector<double> bare_times;
    std::size_t allocated = 0;
    std::size_t frames = 0;
    for (auto _ : state) {
        const std::size_t before = Bench::allocations;
        const auto t0 = Clock::now();
        control.run();
        const auto t1 = Clock::now();
        allocated += Bench::allocations - before;
        ++frames;
        const auto t2 = Clock::now();
        benchmark::DoNotOptimize(bare_hit(bare, mask));
        const auto t3 = Clock::now();
        engine_times.push_back(std::chrono::duration<double>(t1 - t0).count());
        bare_times.push_back(std::chrono::duration<double>(t3 - t2).count());
    }
    const std::string* expected = bare_hit(bare, mask);
    auto active = content.request<Component::Simple<std::string>>("Interface", "active_object");
    if (!expected || !active || active->value() != *expected)
        state.SkipWithError("the hovered object is not the one under the pointer");
    Bench::set_ratio_counters(state, engine_times, bare_times, "us");
    state.counters["allocs_per_frame"] = double(allocated) / double(frames ? frames : 1);
}

BENCHMARK(BM_idle_mouse_hover);

} // namespace

BENCHMARK_MAIN();
