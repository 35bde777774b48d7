// The menu system on the packed sample game: (a) one frame with the Settings page open, in which
// the highlight walk goes over the whole page, with the mouse on a setting's arrow and with a
// controller, against the same walk over a plain list of the page's images; goal under 0.05 ms
// a frame. (b) Every page rebuilt after a change of language, against making as many text
// images as the rebuild makes anew.
//
// Counters: engine_mean, engine_p99 and engine_max per frame or rebuild; bare_* for the
// baseline in the same run, and their ratio; allocs_per_frame for (a), text_images for (b).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Component/Image.h>
#include <Orvane/Component/Menu.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Menu.h>

#include "support/Allocations.h"
#include "support/Manual_clock.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Clock = std::chrono::steady_clock;
using Text = Component::Simple<std::string>;

class Bench_engine : public Engine {
  public:
    Bench_engine() : Engine(1, const_cast<char**>(args)) {
        set_clock(clock.source(), clock.sleeper());
    }
    Test::Manual_clock clock;
    std::shared_ptr<System::Menu> menu;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        menu = std::make_shared<System::Menu>(content());
        s.menu = menu;
        return s;
    }

  private:
    static constexpr const char* args[] = {"orvane", nullptr};
};

/// The sample game started up in English, no frame run.
struct Game {
    Test::Temp_pref_folder pref;
    std::unique_ptr<Bench_engine> engine;

    Game() {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        pref.write("config.yaml", "locale: en_US\n");
        engine = std::make_unique<Bench_engine>();
        if (!engine->start_up(Test::sample_data("build/data/"))) {
            std::fprintf(stderr, "No sample game in %s: build orvane_sample_data first\n",
                         Test::sample_data("build/data/").c_str());
            std::exit(1);
        }
    }
    ~Game() {
        engine->tear_down();
        engine.reset();
    }
    Content& content() { return engine->content(); }
};

/// An image of the page as the bare walk sees it.
struct Bare_image {
    std::string name;
    bool on = false;
    unsigned char alpha = 0;
};

/// The walk by hand: every image shown, buttons lit when they match the active entry.
void bare_walk(std::vector<Bare_image>& images, const std::string& active, const std::string& base) {
    for (Bare_image& image : images) {
        const bool highlighted =
            image.name == active || (!base.empty() && image.name.find(base) != std::string::npos);
        image.on = true;
        if (image.name.find("_button") != std::string::npos)
            image.alpha = highlighted ? 255 : 0;
    }
    benchmark::DoNotOptimize(images.data());
}

void BM_settings_frame(benchmark::State& state) {
    const bool gamepad = state.range(0) != 0;
    Game game;
    Content& content = game.content();
    content.request<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE)
        ->set(gamepad ? Input_mode::GAMEPAD : Input_mode::MOUSE);
    content.get<Component::Status>(Key::game_status)->push(Status::IN_MENU);
    game.engine->menu->show_menu("Settings");
    if (!gamepad)
        content.set<Text>(Key::interface_active_menu_item, std::string("Sound_volume_left_arrow"));
    game.engine->menu->run();

    std::vector<Bare_image> bare;
    std::vector<Component::Menu::Vertex_wrapper> queue{
        content.get<Component::Menu>("Settings", "menu")->root()};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        for (std::size_t c = 0; c < queue[i].nb_children(); ++c)
            queue.push_back(queue[i][c]);
        if (auto image = queue[i].image())
            bare.push_back({image->entity()});
    }
    const std::string active = content.get<Text>(Key::interface_active_menu_item)->value();
    const std::string base = gamepad ? std::string() : std::string("Sound_volume");

    std::vector<double> engine_times;
    std::vector<double> bare_times;
    std::size_t allocated = 0;
    for (auto _ : state) {
        const std::size_t before = Bench::allocations;
        const auto t0 = Clock::now();
        game.engine->menu->run();
        const auto t1 = Clock::now();
        allocated += Bench::allocations - before;
        bare_walk(bare, active, base);
        const auto t2 = Clock::now();
        engine_times.push_back(std::chrono::duration<double>(t1 - t0).count());
        bare_times.push_back(std::chrono::duration<double>(t2 - t1).count());
    }
    if (content.get<Component::Image>("Sound_volume_button", "image")->alpha() != (gamepad ? 0 : 255))
        state.SkipWithError("the active row is not lit");
    Bench::set_ratio_counters(state, engine_times, bare_times, "us");
    state.counters["allocs_per_frame"] =
        double(allocated) / double(engine_times.empty() ? 1 : engine_times.size());
    state.counters["images"] = double(bare.size());
}

BENCHMARK(BM_settings_frame)->Arg(0)->Arg(1)->ArgNames({"gamepad"});

/// The images the store holds.
std::unordered_set<const Component::Base*> stored_images(Content& content) {
    std::unordered_set<const Component::Base*> out;
    for (const auto& [id, c] : content.components("image"))
        if (id.component() == "image")
            out.insert(c.get());
    return out;
}

void BM_rebuild_after_a_language_change(benchmark::State& state) {
    Game game;
    Content& content = game.content();
    content.get<Component::Status>(Key::game_status)->push(Status::IN_MENU);
    game.engine->menu->show_menu("Settings");
    auto font = content.get<Component::Font>(Key::interface_font);

    std::vector<double> engine_times;
    std::vector<double> bare_times;
    std::size_t made = 0;
    bool french = false;
    for (auto _ : state) {
        french = !french;
        const auto images = stored_images(content);
        const auto t0 = Clock::now();
        game.engine->menu->apply_setting("Language", french ? "Français" : "English");
        const auto t1 = Clock::now();
        made = 0;
        for (const Component::Base* image : stored_images(content))
            made += images.count(image) == 0;
        const auto t2 = Clock::now();
        for (std::size_t i = 0; i < made; ++i) {
            Component::Image text("Probe", "image", font, "FFFFFF", "Sauvegarder", false);
            benchmark::DoNotOptimize(text.width());
        }
        const auto t3 = Clock::now();
        engine_times.push_back(std::chrono::duration<double>(t1 - t0).count());
        bare_times.push_back(std::chrono::duration<double>(t3 - t2).count());
    }
    Bench::set_ratio_counters(state, engine_times, bare_times, "ms");
    state.counters["text_images"] = double(made);
}

BENCHMARK(BM_rebuild_after_a_language_change)->Iterations(40);

} // namespace

BENCHMARK_MAIN();
