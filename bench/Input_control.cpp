// One frame of the input and control systems in controller play in the room: 300 objects with
// a label, 20 of them within the player's reach, with no event and with 50 events in the frame.
// Goals: under 0.1 ms a frame, and no heap allocation in a frame without events.
//
// Counters: engine_mean_us, engine_p99_us and engine_max_us per frame; bare_* for the same work
// done by hand on plain arrays (the reach test and sort over 300 points, a switch over the
// events) in the same run, and their ratio; allocs_per_frame.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/System/Control.h>
#include <Orvane/System/Input.h>
#include <Orvane/Third_party/SDL_events.h>

#include "support/Allocations.h"
#include "support/Input_store.h"
#include "support/Picture.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Clock = std::chrono::steady_clock;

constexpr int objects = 300;
constexpr int in_reach = 20;
const Point player(1000, 800);

// The frame's events, given to the input system in place of SDL's queue.
struct Feed {
    std::vector<Event> events;
    std::size_t next = 0;
    Event pop() {
        if (next < events.size())
            return events[next++];
        return Event(Event_type::EMPTY, Event_value::NONE, -1, -1);
    }
};

// 50 controller events: the stick swinging, arrows pressed and released, shoulders.
std::vector<Event> fifty_events() {
    std::vector<Event> events;
    for (int i = 0; i < 50; ++i) {
        switch (i % 5) {
        case 0:
            events.emplace_back(Event_type::STICK_MOVE, Event_value::LEFT, (i % 2 ? 20000 : -20000),
                                Config::no_value);
            break;
        case 1:
            events.emplace_back(Event_type::STICK_MOVE, Event_value::LEFT, Config::no_value, 3000);
            break;
        case 2:
            events.emplace_back(Event_type::BUTTON_DOWN, Event_value::UP_ARROW, -1, -1);
            break;
        case 3:
            events.emplace_back(Event_type::BUTTON_UP, Event_value::UP_ARROW, -1, -1);
            break;
        default:
            events.emplace_back(Event_type::MOUSE_MOVE, Event_value::NONE, 10 * i, 5 * i);
            break;
        }
    }
    return events;
}

// The store of controller play: the player, 300 labelled objects, 20 of them within reach.
void fill(Content& content) {
    Test::fill_input_store(content, Status::IDLE, Input_mode::GAMEPAD);
    content.set<Component::Simple<std::string>>("Player", "name", "mara");
    content.set<Component::Absolute_position>("mara_body", "position", player, false);
    const std::string picture = Test::texture_less_picture(10, 10);
    for (int i = 0; i < objects; ++i) {
        const std::string id = "room_object_number_" + std::to_string(i);
        // the first 20 stand around the player, the others far along the room
        const Point view = i < in_reach ? Point(player.x() - 200 + 20 * i, player.y() + 50)
                                        : Point(3000 + 10.0 * i, 200);
        content.set<Component::Absolute_position>(id, "label", Point(view.x(), view.y() - 300),
                                                  false);
        content.set<Component::Absolute_position>(id, "view", view, false);
        content.set<Component::Absolute_position>(id, "position", view, false);
        content.set<Component::Image>(id, "image", picture, 100);
        content.set<Component::Simple<std::string>>(id, "state", std::string("default"));
        content.set<Component::Simple<std::string>>(id, "name", id);
    }
}

// The same work by hand on plain arrays.
struct Bare_object {
    double view_x;
    double view_y;
    double label_x;
    std::string name;
};

void bare_frame(const std::vector<Bare_object>& all, std::vector<const Bare_object*>& found,
                const std::vector<Event>& events, std::vector<bool>& keys, double& stick) {
    for (const Event& e : events) {
        switch (e.type()) {
        case Event_type::BUTTON_DOWN:
            keys[static_cast<std::size_t>(e.value())] = true;
            break;
        case Event_type::BUTTON_UP:
            keys[static_cast<std::size_t>(e.value())] = false;
            break;
        case Event_type::STICK_MOVE:
            stick = e.x() / 32767.5;
            break;
        default:
            break;
        }
    }
    found.clear();
    for (const Bare_object& o : all)
        if (std::abs(o.view_x - player.x()) <= 250 && std::abs(o.view_y - player.y()) <= 100)
            found.push_back(&o);
    std::sort(found.begin(), found.end(), [](const Bare_object* a, const Bare_object* b) {
        return a->label_x < b->label_x || (a->label_x == b->label_x && a->name < b->name);
    });
    benchmark::DoNotOptimize(found.data());
}

void BM_input_and_control_frame(benchmark::State& state) {
    const bool with_events = state.range(0) != 0;
    Feed feed;
    const std::vector<Event> events = with_events ? fifty_events() : std::vector<Event>{};
    auto previous = Third_party::SDL_events::set_source([&feed] { return feed.pop(); });
    {
        Content content;
        fill(content);
        System::Input input(content);
        System::Control control(content);
        control.init();
        // the first frame builds the list of active objects
        input.run();
        control.run();

        std::vector<Bare_object> bare;
        for (int i = 0; i < objects; ++i) {
            const double x = i < in_reach ? player.x() - 200 + 20 * i : 3000 + 10.0 * i;
            const double y = i < in_reach ? player.y() + 50 : 200;
            bare.push_back({x, y, x, "room_object_number_" + std::to_string(i)});
        }
        std::vector<const Bare_object*> found;
        found.reserve(objects);
        std::vector<bool> keys(System::Input::number_of_keys);
        double stick = 0;

        std::vector<double> engine_times;
        std::vector<double> bare_times;
        std::size_t allocated = 0;
        std::size_t frames = 0;
        for (auto _ : state) {
            feed.events = events;
            feed.next = 0;
            const std::size_t before = Bench::allocations;
            const auto t0 = Clock::now();
            input.run();
            control.run();
            const auto t1 = Clock::now();
            allocated += Bench::allocations - before;
            ++frames;
            // what the later systems of the frame take
            content.receive("Stick", "moved");
            content.receive("Cancel", "action");
            content.receive("Input_mode", "changed");

            const auto t2 = Clock::now();
            bare_frame(bare, found, events, keys, stick);
            const auto t3 = Clock::now();
            engine_times.push_back(std::chrono::duration<double>(t1 - t0).count());
            bare_times.push_back(std::chrono::duration<double>(t3 - t2).count());
        }
        auto listed = content.request<Component::Vector<std::string>>("Interface", "active_objects");
        if (!listed || listed->value().size() != std::size_t(in_reach))
            state.SkipWithError("the objects within reach are not listed");
        Bench::set_ratio_counters(state, engine_times, bare_times, "us");
        state.counters["allocs_per_frame"] = double(allocated) / double(frames ? frames : 1);
    }
    Third_party::SDL_events::set_source(std::move(previous));
}

BENCHMARK(BM_input_and_control_frame)->Arg(0)->Arg(1)->ArgNames({"events"});

} // namespace

BENCHMARK_MAIN();
