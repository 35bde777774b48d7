// One steady frame of the inventory bar and the notifications: the bar open with nine items
// carried (the active one with its label over the selector's Cancel label), and three banners
// up. Nothing is built or ended: the frame places the bar's items and finds every banner
// already shown.
//
// Counters: engine_mean_us, engine_p99_us and engine_max_us per frame; bare_* for the same
// work done by hand on plain arrays (nine slots laid out, three flags tested) in the same run,
// and their ratio; allocs_per_frame.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/Interface.h>

#include "support/Allocations.h"
#include "support/Bare_bar.h"
#include "support/Input_store.h"
#include "support/Picture.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Clock = std::chrono::steady_clock;

constexpr int items = 9;
constexpr int banners = 3;

// The store of the open bar: nine items, the first one active with its label, the selector's
// Cancel label on the anchor, the arrows, and three banners up.
void fill(Content& content) {
    Test::fill_input_store(content, Status::IN_INVENTORY, Input_mode::MOUSE);
    auto origin = content.set<Component::Absolute_position>("Inventory", "origin", Point(0, 930));
    auto anchor = content.set<Component::Absolute_position>("Gamepad_action_selector", "position",
                                                            Point(1660, 735));
    const std::string picture = Test::texture_less_picture(100, 100);
    auto inventory = content.get<Component::Inventory>("Game", "inventory");
    for (int i = 0; i < items; ++i) {
        const std::string id = "inventory_item_" + std::to_string(i);
        content.set<Component::Image>(id, "image", picture, 1000001);
        content.set<Component::Relative_position>(id, "position", origin, Vector(0, 75));
        inventory->add(id);
    }
    content.set<Component::Simple<std::string>>("Interface", "active_object", "inventory_item_0");
    const std::string back = Test::texture_less_picture(200, 100);
    content.set<Component::Image>("inventory_item_0_label_back", "image", back, 1000001);
    content.set<Component::Absolute_position>("inventory_item_0_label_back", "position",
                                              Point(272, 850));
    content.set<Component::Image>("inventory_item_0_Cancel_label_back", "image", back, 1000001);
    content.set<Component::Relative_position>("inventory_item_0_Cancel_label_back", "position",
                                              anchor, Vector(40, 60));
    for (const char* arrow : {"Left_arrow", "Right_arrow"})
        content.set<Component::Image>(arrow, "image", Test::texture_less_picture(20, 40), 1000001);
    for (int n = 0; n < banners; ++n) {
        const std::string id = "Notification_" + std::to_string(n);
        content.set<Component::Simple<std::string>>(id, "notification", std::string("Saved"));
        content.set<Component::Image>(id, "image", back, 1000011);
    }
}

// The same work by hand: the nine slots' places and looks, three banners tested.
void bare_frame(std::vector<Bench::Bare_item>& bar, const std::vector<bool>& shown,
                double origin_y) {
    Bench::lay_out_bar(bar, origin_y);
    const std::size_t up = Bench::banners_up(shown);
    benchmark::DoNotOptimize(bar.data());
    benchmark::DoNotOptimize(up);
}

void BM_inventory_and_notifications_frame(benchmark::State& state) {
    Content content;
    fill(content);
    System::Interface interface(content);
    // the first frame finds the bar in place
    interface.update_inventory();
    interface.update_notifications();

    std::vector<Bench::Bare_item> bar(items);
    const std::vector<bool> shown(banners, true);
    std::vector<double> engine_times;
    std::vector<double> bare_times;
    std::size_t allocated = 0;
    std::size_t frames = 0;
    for (auto _ : state) {
        const std::size_t before = Bench::allocations;
        const auto t0 = Clock::now();
        interface.update_inventory();
        interface.update_notifications();
        const auto t1 = Clock::now();
        allocated += Bench::allocations - before;
        ++frames;

        const auto t2 = Clock::now();
        bare_frame(bar, shown, 930);
        const auto t3 = Clock::now();
        engine_times.push_back(std::chrono::duration<double>(t1 - t0).count());
        bare_times.push_back(std::chrono::duration<double>(t3 - t2).count());
    }
    if (content.request<Component::Base>("Inventory", "animation") ||
        content.components("notification").size() != std::size_t(banners))
        state.SkipWithError("the frame is not steady");
    Bench::set_ratio_counters(state, engine_times, bare_times, "us");
    state.counters["allocs_per_frame"] = double(allocated) / double(frames ? frames : 1);
}

BENCHMARK(BM_inventory_and_notifications_frame);

} // namespace

BENCHMARK_MAIN();
