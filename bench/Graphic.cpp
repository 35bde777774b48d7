// Drawing: (a) a whole frame of the sample game's quay, its busiest room (three characters, two
// animations, scenery and seven objects over a background wider than the view), against a bare
// SDL loop that draws the same render list with the same textures, alternating in one run;
// (b) the render list built and sorted for 1,000 drawables, against the same culling and sort
// over plain records.
//
// (a) Engine side: Engine::run(), every system's run, the time system's clock and sleeps on a
// manual clock stepped 17 ms a frame (so the frame limiter never waits), the frame ended
// without presenting: the renderer flushed and one pixel read back. Bare side: the very draw
// calls of that frame's render list (each tile's SDL_SetTextureAlphaMod and SDL_RenderCopyF,
// the rectangles worked out beforehand), after the same clearing, ended alike. The renderer is
// OpenGL on the offscreen video driver (Mesa's EGL) when it can be opened, else the software
// renderer on the dummy driver; ORVANE_BENCH_RENDERER=software forces the latter. The label
// says which. Counters: ratio = total engine time / total bare time (goal 1.1 or less),
// cpu_ratio the same over the process's CPU time (the renderer's threads included),
// main_thread_cpu_ratio over the CPU time of the thread that runs the frame, then mean, p99 and
// slowest frame of each side. The quay is timed in its opening, then with the interface shown,
// brought there by controller events through the event source and by the store: controller
// play with every object within reach (their labels, the current one highlighted, the idle
// selector and the switcher hint), the inventory bar open on every item with two notifications,
// and ferran's dialog lines. For these the processor time of the input, control, interface and
// menu systems is given a frame (<system>_ms) and as a share of the main thread's
// (<system>_share_pct).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <Orvane/Assets/Splitter.h>
#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Control.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Input.h>
#include <Orvane/System/Interface.h>
#include <Orvane/System/Logic.h>
#include <Orvane/System/Menu.h>
#include <Orvane/System/Sound.h>
#include <Orvane/System/Time.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_events.h>

#include "support/Event_feed.h"
#include "support/Manual_clock.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Bench::mean;
using Bench::set_ratio_counters;
using Bench::set_time_counters;
using Bench::thread_cpu_seconds;
using Bench::total;
using Third_party::SDL;

double process_cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double wall_seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// ---- (a) a frame of the quay ----

// OpenGL on the offscreen driver when both open here, else software on the dummy driver.
std::string choose_renderer() {
    const char* forced = std::getenv("ORVANE_BENCH_RENDERER");
    if (forced == nullptr || std::string(forced) != "software") {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_RENDER_DRIVER", "opengl", 1);
        bool opened = false;
        if (SDL_Init(SDL_INIT_VIDEO) == 0) {
            if (SDL_Window* w = SDL_CreateWindow("", 0, 0, 64, 64, SDL_WINDOW_OPENGL)) {
                if (SDL_Renderer* r = SDL_CreateRenderer(w, -1, SDL_RENDERER_ACCELERATED)) {
                    SDL_RendererInfo info{};
                    opened =
                        SDL_GetRendererInfo(r, &info) == 0 && std::string(info.name) == "opengl";
                    SDL_DestroyRenderer(r);
                }
                SDL_DestroyWindow(w);
            }
            SDL_Quit();
        }
        if (opened)
            return "opengl (offscreen video driver)";
        std::fprintf(stderr, "OpenGL on the offscreen driver did not open (%s): software\n",
                     SDL_GetError());
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    return "software (dummy video driver)";
}

// A system run through another: the processor time its run() takes is added up, so that each
// system's share of the frame can be told.
class Timed_system : public System::Base {
  public:
    Timed_system(Content& content, std::shared_ptr<System::Base> inner)
        : Base(content), m_inner(std::move(inner)) {}
    void init() override { m_inner->init(); }
    void run() override {
        const double start = Bench::thread_cpu_seconds();
        m_inner->run();
        seconds += Bench::thread_cpu_seconds() - start;
    }
    double seconds = 0; ///< processor time, summed since the benchmark last reset it

  private:
    std::shared_ptr<System::Base> m_inner;
};

class Bench_engine : public Engine {
  public:
    Bench_engine() : Engine(3, const_cast<char**>(args)) {
        set_clock(clock.source(), clock.sleeper());
    }
    Test::Manual_clock clock;
    std::shared_ptr<System::Graphic> graphic;
    // the four systems whose share of the frame is reported, in run order; the engine owns
    // them (and releases them in its own order)
    std::vector<std::pair<std::string, Timed_system*>> timed;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        // the same systems the engine makes, the graphic one kept to end its frames
        graphic = s.graphic;
        timed.clear();
        for (auto [name, system] : {std::pair{"input", &s.input}, {"control", &s.control},
                                    {"interface", &s.interface}, {"menu", &s.menu}}) {
            auto wrapped = std::make_shared<Timed_system>(content(), *system);
            timed.emplace_back(name, wrapped.get());
            *system = wrapped;
        }
        return s;
    }

  private:
    static constexpr const char* args[] = {"orvane", "--locale", "en_US"};
};

// The frame's end on both sides: the drawing completed, one pixel read back, nothing shown.
void finish_frame() {
    SDL_RenderFlush(SDL::m_renderer);
    Uint32 pixel = 0;
    SDL_Rect one{960, 540, 1, 1};
    SDL_RenderReadPixels(SDL::m_renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
    benchmark::DoNotOptimize(pixel);
}

// One texture copy of the bare loop.
struct Copy {
    SDL_Texture* texture;
    Uint8 alpha;
    SDL_Rect source;
    SDL_FRect target;
};

// The copies that drawing `list` makes, tile by tile, as the engine's wrapper cuts them.
void copies_of(const System::Graphic::Render_list& list, std::vector<Copy>& out) {
    out.clear();
    for (const auto& e : list) {
        const Component::Image& image = *e.image;
        const auto& core = *image.core();
        const SDL_Rect source{image.xmin(), image.ymin(), image.width(), image.height()};
        const auto add = [&](SDL_Texture* texture, Uint8 alpha, const SDL_Rect& from,
                             const SDL_FRect& to) {
            if (texture != nullptr)
                out.push_back({texture, alpha, from, to});
        };
        if (core.tiles.size() == 1) {
            const SDL_FRect target{float(e.x0), float(e.y0), float(e.x1 - e.x0),
                                   float(e.y1 - e.y0)};
            add(core.tiles[0], image.alpha(), source, target);
            if (image.highlight() != 0 && !core.highlights.empty())
                add(core.highlights[0], image.highlight(), source, target);
            continue;
        }
        const double k = (e.y1 - e.y0) / source.h;
        const unsigned nx = Splitter::nb_sub(unsigned(core.width));
        const unsigned ny = Splitter::nb_sub(unsigned(core.height));
        std::size_t index = 0;
        for (unsigned i = 0; i < nx; ++i)
            for (unsigned j = 0; j < ny; ++j, ++index) {
                const auto t = Splitter::rect(unsigned(core.width), unsigned(core.height), i, j);
                const SDL_Rect tile{int(t.x), int(t.y), int(t.w), int(t.h)};
                SDL_Rect part;
                if (index >= core.tiles.size() || !SDL_IntersectRect(&source, &tile, &part))
                    continue;
                const SDL_FRect target{float((part.x - source.x) * k + e.x0),
                                       float((part.y - source.y) * k + e.y0), float(part.w * k),
                                       float(part.h * k)};
                const SDL_Rect in_tile{part.x - tile.x, part.y - tile.y, part.w, part.h};
                add(core.tiles[index], image.alpha(), in_tile, target);
                if (image.highlight() != 0 && index < core.highlights.size())
                    add(core.highlights[index], image.highlight(), in_tile, target);
            }
    }
}

void bare_frame(const std::vector<Copy>& copies) {
    SDL_Renderer* r = SDL::m_renderer;
    SDL_SetRenderDrawColor(r, 48, 48, 48, 255);
    SDL_RenderClear(r);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    const SDL_Rect stage{0, 0, Config::world_width, Config::world_height};
    SDL_RenderFillRect(r, &stage);
    for (const Copy& c : copies) {
        SDL_SetTextureAlphaMod(c.texture, c.alpha);
        SDL_RenderCopyF(r, c.texture, &c.source, &c.target);
    }
    finish_frame();
}

// What the quay shows while it is timed.
enum class Scene {
    opening,    // the first seconds of the opening cutscene
    controller, // controller play, idle: every object within reach with its label, the current
                // one highlighted, the idle selector's verbs and the switcher hint
    bar,        // the same with the inventory bar open on every item, and two notifications up
    dialog,     // ferran's dialog lines offered, in controller play
};

const char* scene_name(Scene scene) {
    switch (scene) {
    case Scene::opening:
        return "opening";
    case Scene::controller:
        return "controller play, every object in reach";
    case Scene::bar:
        return "inventory bar open, two notifications";
    case Scene::dialog:
        return "ferran's dialog lines";
    }
    return "";
}

Status top(Content& content) {
    return content.request<Component::Status>(Fast_access_component::GAME_STATUS)->value();
}

// The sample game on one engine for every benchmark of this program (SDL's renderer exists
// once), brought from scene to scene by the player's events and the store.
struct Quay {
    std::string renderer = choose_renderer();
    Test::Temp_pref_folder pref;
    std::unique_ptr<Bench_engine> engine;
    std::unique_ptr<Test::Event_feed> events;
    Scene scene = Scene::opening;

    Quay() {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        // a 1920 x 1080 window: the view's pixels one to one
        pref.write("config.yaml", "window: [1920, 1080]\n");
        engine = std::make_unique<Bench_engine>();
        if (!engine->start_up(Test::sample_data("build/data/"))) {
            std::fprintf(stderr, "No sample game in %s: build orvane_sample_data first\n",
                         Test::sample_data("build/data/").c_str());
            std::exit(1);
        }
        engine->graphic->set_presenter(finish_frame);
        // the player's events come from here alone
        events = std::make_unique<Test::Event_feed>();
        // through the room load and the first seconds of the opening
        for (int frame = 0; frame < 240; ++frame)
            step();
        std::fprintf(stderr, "Renderer: %s\n", renderer.c_str());
    }
    ~Quay() {
        events.reset();
        engine->tear_down();
        engine.reset();
    }
    Content& content() { return engine->content(); }
    void step() {
        engine->clock.now += 17;
        engine->run();
    }
    void steps(int count) {
        for (int i = 0; i < count; ++i)
            step();
    }
    // Runs frames until `done` holds, at most `budget`; stops the program when it never does.
    void until(const std::function<bool()>& done, int budget, const char* what) {
        for (int i = 0; i < budget && !done(); ++i)
            step();
        if (!done()) {
            std::fprintf(stderr, "The quay never reached %s\n", what);
            std::exit(1);
        }
    }
    void console(const std::string& line) {
        content().set<Component::Simple<std::string>>(Key::test_console_action, line);
        step();
    }
    void press(Event_value button) {
        events->push(Event(Event_type::BUTTON_DOWN, button, -1, -1));
        step();
        events->push(Event(Event_type::BUTTON_UP, button, -1, -1));
        step();
    }
    bool idle() {
        auto start = content().request<Component::Action>("start", "action");
        return top(content()) == Status::IDLE && start && !start->on();
    }

    // Brings the quay to `wanted`, through the scenes before it that it has not shown yet.
    void enter(Scene wanted) {
        while (scene != wanted) {
            switch (scene) {
            case Scene::opening:
                to_controller_play();
                scene = Scene::controller;
                break;
            case Scene::controller:
                if (wanted == Scene::bar) {
                    to_bar();
                    scene = Scene::bar;
                } else {
                    to_dialog();
                    scene = Scene::dialog;
                }
                break;
            case Scene::bar:
                // the bar closed, the notifications gone
                press(Event_value::SOUTH);
                until([&] { return top(content()) == Status::IDLE; }, 600, "the closed bar");
                until([&] { return !content().request<Component::Base>("Notification_0", "image"); },
                      2400, "the notifications' end");
                scene = Scene::controller;
                break;
            case Scene::dialog:
                std::fprintf(stderr, "The dialog scene is the last one\n");
                std::exit(1);
            }
        }
        // the scene settled: fades, slides and the idle delay over
        steps(420);
    }

    void to_controller_play() {
        content().emit(Key::game_skip_cutscene);
        until([&] { return idle(); }, 1200, "the end of the opening");
        // a stick at rest: the controller is the input now, and Mara stands still
        events->push(Event(Event_type::STICK_MOVE, Event_value::LEFT, 0, Config::no_value));
        step();
        // every object of the room within reach of Mara
        std::vector<std::string> objects;
        for (const auto& entry : content().components("state"))
            objects.push_back(entry.second->entity());
        for (const std::string& id : objects)
            content().set<Component::Simple<double>>(id, "reach_factor", 100.0);
        until([&] { return content().request<Component::Base>(Key::interface_active_objects) != nullptr; },
              120, "objects within reach");
    }

    void to_bar() {
        for (const char* item : {"rope", "hook", "grapnel", "key"})
            console("set " + std::string(item) + " inventory_" + item);
        // the items' notices gone, then two that stay while the frames are timed
        until([&] { return !content().request<Component::Base>("Notification_0", "image"); },
              2400, "the end of the items' notices");
        console("notify Saving 20");
        console("notify Saved 20");
        press(Event_value::SOUTH);
        until([&] { return top(content()) == Status::IN_INVENTORY; }, 60, "the open bar");
    }

    void to_dialog() {
        content().set<Component::Variable>(
            Key::character_triggered_action,
            content().get<Component::Action>("ferran_move", "action"));
        until([&] { return top(content()) == Status::DIALOG; }, 3000, "ferran's dialog lines");
    }
};

// Each frame of `scene` timed against the bare loop drawing that frame's render list.
void quay_frame_vs_bare_loop(benchmark::State& state, Scene scene) {
    static Quay quay;
    quay.enter(scene);
    std::vector<double> engine_wall, bare_wall, engine_cpu, bare_cpu, engine_main, bare_main;
    for (auto& [name, system] : quay.engine->timed)
        system->seconds = 0;
    System::Graphic::Render_list list;
    std::vector<Copy> copies;
    std::size_t drawn = 0;
    for (auto _ : state) {
        double w = wall_seconds();
        double c = process_cpu_seconds();
        double m = thread_cpu_seconds();
        quay.step();
        engine_wall.push_back(wall_seconds() - w);
        engine_cpu.push_back(process_cpu_seconds() - c);
        engine_main.push_back(thread_cpu_seconds() - m);

        // what that frame drew, outside the timing
        Content& content = quay.content();
        System::Graphic::build_render_list(content, System::camera_view(content), list);
        copies_of(list, copies);
        drawn = list.size();

        w = wall_seconds();
        c = process_cpu_seconds();
        m = thread_cpu_seconds();
        bare_frame(copies);
        bare_wall.push_back(wall_seconds() - w);
        bare_cpu.push_back(process_cpu_seconds() - c);
        bare_main.push_back(thread_cpu_seconds() - m);
    }
    if (scene != Scene::opening && top(quay.content()) != (scene == Scene::bar      ? Status::IN_INVENTORY
                                                           : scene == Scene::dialog ? Status::DIALOG
                                                                                    : Status::IDLE))
        state.SkipWithError("the scene changed while it was timed");
    set_ratio_counters(state, engine_wall, bare_wall, "ms");
    state.counters["cpu_ratio"] = total(engine_cpu) / total(bare_cpu);
    state.counters["main_thread_cpu_ratio"] = total(engine_main) / total(bare_main);
    state.counters["engine_main_cpu_ms"] = mean(engine_main) * 1000;
    state.counters["bare_main_cpu_ms"] = mean(bare_main) * 1000;
    set_time_counters(state, engine_main, "engine_main_cpu_", "ms");
    // each timed system's processor time a frame, and its share of the main thread's
    for (auto& [name, system] : quay.engine->timed) {
        state.counters[name + "_ms"] = system->seconds / double(engine_main.size()) * 1000;
        state.counters[name + "_share_pct"] = 100 * system->seconds / total(engine_main);
    }
    // what the scene shows
    Content& content = quay.content();
    auto reach = content.request<Component::Vector<std::string>>(Key::interface_active_objects);
    state.counters["objects_in_reach"] = reach ? double(reach->value().size()) : 0;
    state.counters["items"] = double(content.get<Component::Inventory>(Key::game_inventory)->size());
    state.counters["notifications"] = double(content.components("notification").size());
    state.counters["drawn"] = double(drawn);
    state.counters["copies"] = double(copies.size());
    state.SetLabel(quay.renderer + ", " + scene_name(scene));
}

void BM_quay_frame_vs_bare_loop(benchmark::State& state) {
    quay_frame_vs_bare_loop(state, Scene::opening);
}
BENCHMARK(BM_quay_frame_vs_bare_loop)->Unit(benchmark::kMillisecond)->Iterations(300);

// The quay with the interface shown, scene by scene, in this order (each is reached from the one
// before).
void BM_quay_interface_frame_vs_bare_loop(benchmark::State& state) {
    quay_frame_vs_bare_loop(state, static_cast<Scene>(state.range(0)));
}
BENCHMARK(BM_quay_interface_frame_vs_bare_loop)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300)
    ->ArgName("scene")
    ->Arg(int(Scene::controller))
    ->Arg(int(Scene::bar))
    ->Arg(int(Scene::dialog));

// ---- (b) the render list of 1,000 drawables ----

// A record of the bare side: what the sort and the cull need, nothing else.
struct Record {
    int z;
    std::string name;
    double x0, y0, x1, y1;
};

void BM_render_list_1000_vs_bare_sort(benchmark::State& state) {
    constexpr int count = 1000;
    Content content;
    content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status");
    std::mt19937 random(7);
    std::vector<Record> records;
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i)
        order[std::size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), random);
    // texture-less pictures of a few sizes, reached through the image cache
    for (int i : order) {
        const int w = 40 + 20 * (i % 5);
        const int h = 60 + 10 * (i % 7);
        const std::string file = "bench/" + std::to_string(w) + "x" + std::to_string(h);
        SDL::m_images.get(file, [&] { return SDL::make_image(nullptr, nullptr, w, h); });
        char name[32];
        std::snprintf(name, sizeof name, "item_%04d", i);
        // 50 depths: most names meet an equal depth in the sort
        const int z = int(random() % 50) * 100;
        auto image = content.set<Component::Image>(name, "image", file, z);
        const bool interface = i % 10 == 0;
        // over three views' widths and heights: some lie outside on both axes
        const Point p(double(random() % 5760) - 1920, double(random() % 3240) - 1080);
        content.set<Component::Absolute_position>(name, "position", p, interface);
        records.push_back({z, name, p.x(), p.y(), p.x() + w, p.y() + h});
    }
    const View view{{300, 0}, 1.0};

    System::Graphic::Render_list list;
    std::vector<const Record*> bare_list;
    bare_list.reserve(records.size());
    std::vector<double> engine, bare;
    for (auto _ : state) {
        double w = wall_seconds();
        System::Graphic::build_render_list(content, view, list);
        engine.push_back(wall_seconds() - w);
        benchmark::DoNotOptimize(list.data());

        w = wall_seconds();
        bare_list.clear();
        for (const Record& r : records) {
            const double x0 = r.x0 - view.camera.x(), x1 = r.x1 - view.camera.x();
            if ((x1 >= 0 && x0 <= 1920) || (r.y1 >= 0 && r.y0 <= 1080))
                bare_list.push_back(&r);
        }
        std::sort(bare_list.begin(), bare_list.end(), [](const Record* a, const Record* b) {
            return a->z != b->z ? a->z < b->z : a->name < b->name;
        });
        bare.push_back(wall_seconds() - w);
        benchmark::DoNotOptimize(bare_list.data());
    }
    set_ratio_counters(state, engine, bare, "us");
    state.counters["kept"] = double(list.size());
    state.counters["goal_us"] = 200;
    SDL::m_images.clear();
}
BENCHMARK(BM_render_list_1000_vs_bare_sort)->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace

BENCHMARK_MAIN();
