// Building the room's action selector: four verbs around an object, each a text label and a
// button (a label too), their positions and their appearing animations, the old verbs faded
// out under other names, on the sample game's store, the text rendered anew every time (the
// image cache is emptied between builds). Software renderer on the dummy video driver.
//
// Bare side, in the same run: what any selector must draw: the four verb texts rendered by
// the platform layer (uncached) and four backs, each a black bar joined between two circle
// ends. Counters: ratio = total engine time / total bare time, then mean, p99 and slowest
// build of each side (engine_*, bare_*), in microseconds.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Interface.h>
#include <Orvane/Third_party/SDL.h>

#include "support/Manual_clock.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Clock = std::chrono::steady_clock;
using Third_party::SDL;

class Bench_engine : public Engine {
  public:
    Bench_engine() : Engine(3, const_cast<char**>(args)) {
        set_clock(clock.source(), clock.sleeper());
    }
    Test::Manual_clock clock;

  private:
    static constexpr const char* args[] = {"orvane", "--locale", "en_US"};
};

// Removes the faded copies of the last build, so that the cache holds its pictures alone.
void drop_faded_copies(Content& content) {
    std::vector<std::string> old;
    for (const auto& [id, component] : content.components("image"))
        if (id.entity().ends_with("_old"))
            old.push_back(id.entity());
    for (const auto& entity : old)
        for (const char* component : {"image", "position", "animation"})
            content.remove(entity, component, true);
}

void BM_room_selector_build(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Test::Temp_pref_folder pref;
    pref.write("config.yaml", "window: [1920, 1080]\n");
    Bench_engine engine;
    if (!engine.start_up(Test::sample_data("build/data/"))) {
        state.SkipWithError("no sample game: build orvane_sample_data first");
        return;
    }
    Content& content = engine.content();
    content.request<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE)
        ->set(MOUSE);
    content.request<Component::Position>(Fast_access_component::CURSOR_POSITION)
        ->set(Point(960, 540));
    System::Interface interface(content);

    auto font = content.get<Component::Font>("Interface", "font");
    auto left = content.get<Component::Image>("Left_circle", "image");
    auto right = content.get<Component::Image>("Right_circle", "image");
    std::vector<std::string> words;
    for (const char* verb : {"take", "look", "move", "inventory"})
        words.push_back(content.get<Component::Simple<std::string>>(std::string("Default_") + verb,
                                                                    "label")
                            ->value());

    std::vector<double> engine_times;
    std::vector<double> bare_times;
    std::vector<SDL::Image_handle> kept;
    for (auto _ : state) {
        drop_faded_copies(content);
        SDL::m_images.clear();
        content.emit("Interface", "force_refresh");
        const auto t0 = Clock::now();
        interface.set_action_selector(System::Interface::Selector_type::ACTION_CHOICE, "bench");
        engine_times.push_back(Bench::seconds_since(t0));

        kept.clear();
        SDL::m_images.clear();
        const auto t1 = Clock::now();
        for (const auto& text : words) {
            auto picture = SDL::create_text(font->core(), "FFFFFF", text);
            auto [bar, scale] = SDL::create_rectangle(SDL::width(picture) + 40, 100, 0, 0, 0, 255);
            kept.push_back(picture);
            kept.push_back(SDL::compose({left->core(), bar, right->core()}));
        }
        bare_times.push_back(Bench::seconds_since(t1));
        benchmark::DoNotOptimize(kept.data());
    }
    if (interface.action_slot(3) != "bench_take" ||
        !content.request<Component::Image>("bench_look_label", "image"))
        state.SkipWithError("the selector was not built");
    Bench::set_ratio_counters(state, engine_times, bare_times, "us");
    engine.tear_down();
}

BENCHMARK(BM_room_selector_build)->Iterations(300);

} // namespace

BENCHMARK_MAIN();
