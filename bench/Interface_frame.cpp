// One frame of the screen interface (System::Interface::run) in controller play over the sample
// game's tower, with every part up at once: 20 objects within reach with their labels, the
// inventory bar open with 9 items (the first one current, with its verbs), 3 notification
// banners, and the 4 choice lines of a dialog, kept built under the open bar as under a pause.
// (a) the steady frame, where nothing changes; goal under 0.1 ms. (b) a frame in which the
// objects within reach change, the dialog on top and the bar closed: 10 labels fade out and 10
// are built (text rendered, backs joined), reported as it is.
//
// Counters: engine_mean_us, engine_p99_us and engine_max_us per frame; bare_* for a bare loop
// doing the steady frame's bookkeeping by hand in the same run (comparing the list of 20 names,
// setting 20 highlights, placing 9 items and 8 line positions, testing 3 banners), and the
// ratio of the means.

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Interface.h>

#include "support/Bare_bar.h"
#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Clock = std::chrono::steady_clock;

constexpr int objects = 40;
constexpr int in_reach = 20;
constexpr int items = 9;
constexpr int banners = 3;

class Tower_engine : public Test::Fixed_step_engine {
  protected:
    Systems make_systems() override {
        Systems s = Fixed_step_engine::make_systems();
        s.file_io = std::make_shared<Test::Tower_file_io>(content());
        return s;
    }
};

std::string object_id(int i) { return "bench_object_" + std::to_string(i); }

std::string item_id(int i) { return "bench_item_" + std::to_string(i); }

std::vector<std::string> reach(int first, int count) {
    std::vector<std::string> ids;
    for (int i = first; i < first + count; ++i)
        ids.push_back(object_id(i));
    return ids;
}

// The sample game in the tower, then a store of controller play in a dialog with the inventory
// open over it: 40 named objects with label points, 20 of them within reach, 4 choice lines, 9
// items carried and 3 notices.
struct Tower {
    Test::Temp_pref_folder pref;
    std::unique_ptr<Tower_engine> engine;
    std::unique_ptr<System::Interface> interface;

    Tower() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_RENDER_DRIVER", "software", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        engine = std::make_unique<Tower_engine>();
        if (!engine->start_up(Test::sample_data("build/data/"))) {
            std::fprintf(stderr, "No sample game in %s: build orvane_sample_data first\n",
                         Test::sample_data("build/data/").c_str());
            std::exit(1);
        }
        for (int frame = 0; frame < 30; ++frame) {
            engine->clock.now += 17;
            engine->run();
        }
        Content& content = engine->content();
        for (int i = 0; i < objects; ++i) {
            const std::string id = object_id(i);
            content.set<Component::Simple<std::string>>(id, "name", "Object " + std::to_string(i));
            content.set<Component::Simple<std::string>>(id, "state", std::string("here"));
            content.set<Component::Absolute_position>(id, "label",
                                                      Point(100 + 40 * (i % in_reach), 300), false);
            content.set<Component::Image>(id, "image", 40, 40, 200, 200, 200);
        }
        content.request<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE)
            ->set(GAMEPAD);
        content.receive(Key::input_mode_changed);
        content.set<Component::Vector<std::string>>(Key::dialog_choices,
                                                    std::vector<std::string>{
                                                        "Where is the keeper?",
                                                        "What happened to the lamp?",
                                                        "Can I go up?", "Goodbye."});
        auto status = content.request<Component::Status>(Fast_access_component::GAME_STATUS);
        status->push(Status::DIALOG);
        content.set<Component::Simple<int>>(Key::interface_active_dialog_item, 2);
        auto inventory = content.get<Component::Inventory>(Key::game_inventory);
        for (int i = 0; i < items; ++i) {
            const std::string id = item_id(i);
            content.set<Component::Simple<std::string>>(id, "name", "Item " + std::to_string(i));
            content.set<Component::Simple<std::string>>(id, "state", std::string("inventory"));
            auto image = content.set<Component::Image>(id, "image", 100, 100, 90, 140, 200);
            image->set_relative_origin(0.5, 0.5);
            image->z() = Config::INTERFACE_ITEMS;
            inventory->add(id);
        }
        for (int n = 0; n < banners; ++n)
            content.set<Component::Simple<std::string>>("Notification_" + std::to_string(n),
                                                        "notification",
                                                        "You got Item " + std::to_string(n) + ".");
        // the current object is the bar's first item throughout
        content.set<Component::Simple<std::string>>(Key::interface_active_object, item_id(0));
        show(0);
        interface = std::make_unique<System::Interface>(content);
        interface->init();
        interface->run(); // builds the labels, the lines and the banners
        // the bar opens over the dialog, its current item with its verbs
        status->push(Status::IN_INVENTORY);
        interface->run();
        // the bar and the selector as their slides leave them
        content.get<Component::Position>(Key::inventory_origin)
            ->set(Point(0, Config::world_height - Config::inventory_height));
        for (const char* slide : {"Inventory", "Gamepad_action_selector"})
            content.remove(slide, "animation", true);
        interface->run();
        for (const char* slide : {"Inventory", "Gamepad_action_selector"})
            content.remove(slide, "animation", true);
    }
    ~Tower() {
        interface.reset();
        engine->tear_down();
        engine.reset();
    }
    void show(int first) {
        Content& content = engine->content();
        content.set<Component::Vector<std::string>>(Key::interface_active_objects,
                                                    reach(first, in_reach));
    }
    // Every part is up, and nothing of the bar, the selector or the banners moves or changes
    // in a steady frame.
    bool steady() const {
        const Content& content = engine->content();
        auto item = content.request<Component::Image>(item_id(items - 1), "image");
        return item && item->on() &&
               content.request<Component::Image>(object_id(in_reach - 1) + "_label_back",
                                                 "image") &&
               content.request<Component::Image>("Dialog_choice_3_off", "image") &&
               content.request<Component::Image>("Notification_2", "image") &&
               !content.request<Component::Base>("Inventory", "animation") &&
               !content.request<Component::Base>("Gamepad_action_selector", "animation") &&
               content.components("notification").size() == std::size_t(banners);
    }
};

Tower& tower() {
    static Tower t;
    return t;
}

// The steady frame's bookkeeping by hand.
void bare_frame(const std::vector<std::string>& wanted, const std::vector<std::string>& shown,
                std::vector<unsigned char>& highlights, std::vector<double>& lines,
                std::vector<Bench::Bare_item>& bar, const std::vector<bool>& up) {
    if (wanted != shown)
        benchmark::DoNotOptimize(wanted.data());
    for (std::size_t i = 0; i < highlights.size(); ++i)
        highlights[i] = i == 0 ? 255 : 192;
    double y = 1070;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i] = y;
        y -= 50;
    }
    Bench::lay_out_bar(bar, 930);
    const std::size_t up_count = Bench::banners_up(up);
    benchmark::DoNotOptimize(highlights.data());
    benchmark::DoNotOptimize(lines.data());
    benchmark::DoNotOptimize(bar.data());
    benchmark::DoNotOptimize(up_count);
}

void BM_interface_steady_controller_frame(benchmark::State& state) {
    Tower& t = tower();
    t.show(0);
    t.interface->run();
    const std::vector<std::string> wanted = reach(0, in_reach);
    const std::vector<std::string> shown = wanted;
    std::vector<unsigned char> highlights(in_reach);
    std::vector<double> lines(8);
    std::vector<Bench::Bare_item> bar(items);
    const std::vector<bool> up(banners, true);
    std::vector<double> engine_times, bare_times;
    for (auto _ : state) {
        auto start = Clock::now();
        t.interface->run();
        engine_times.push_back(Bench::seconds_since(start));
        start = Clock::now();
        bare_frame(wanted, shown, highlights, lines, bar, up);
        bare_times.push_back(Bench::seconds_since(start));
    }
    if (!t.steady())
        state.SkipWithError("the frame is not steady");
    Bench::set_time_counters(state, engine_times, "engine_", "us");
    Bench::set_time_counters(state, bare_times, "bare_", "us");
    state.counters["ratio"] = Bench::mean(engine_times) / Bench::mean(bare_times);
}
BENCHMARK(BM_interface_steady_controller_frame)->Iterations(2000)->UseRealTime();

void BM_interface_frame_building_ten_labels(benchmark::State& state) {
    Tower& t = tower();
    // objects come and go within reach in the room, with the dialog on top: the bar closes
    t.engine->content().request<Component::Status>(Fast_access_component::GAME_STATUS)->pop();
    t.interface->run();
    int first = 0;
    std::vector<double> engine_times;
    for (auto _ : state) {
        // ten objects leave reach and ten come in
        first = first == 0 ? 10 : 0;
        t.show(first);
        auto start = Clock::now();
        t.interface->run();
        engine_times.push_back(Bench::seconds_since(start));
    }
    Bench::set_time_counters(state, engine_times, "engine_", "us");
}
BENCHMARK(BM_interface_frame_building_ten_labels)->Iterations(200)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
