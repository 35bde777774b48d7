// Drawing a room background through a camera window, and text labels shown every frame.
#include <cstdlib>
#include <vector>

#include <Packer/Package_writer.h>
#include <benchmark/benchmark.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Third_party/SDL.h>

namespace {

using Orvane::Third_party::SDL;

/// A dummy window over packages holding one wide background and a font.
struct Window {
    SDL sdl;
    Window() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_RENDER_DRIVER", "software", 0);
        Orvane::Packer::Image background{3840, 1080, {}};
        background.pixels.resize(std::size_t(3840) * 1080 * 4);
        for (std::size_t i = 0; i < background.pixels.size(); ++i)
            background.pixels[i] = static_cast<unsigned char>(i * 7 % 251);
        std::vector<Orvane::Packer::Entry> entries;
        entries.push_back(
            {"images/backgrounds/hall.png", Orvane::Packer::Storage::image, {}, background, -1});
        Orvane::Packaged_asset_manager::init("", true);
        auto packages = Orvane::Packer::build(entries);
        Orvane::Packaged_asset_manager::load({packages.begin(), packages.end()});
        int width = 1920;
        int height = 1080;
        sdl.init(width, height, false);
        sdl.update_view();
    }
};

// A camera showing half of a 3840 x 1080 background: only the visible tiles are copied.
void draw_background_through_camera(benchmark::State& state) {
    Window window;
    auto image = SDL::load_image("images/backgrounds/hall.png");
    int x = 0;
    for (auto _ : state) {
        window.sdl.begin();
        window.sdl.draw(image, 255, 0, x, 0, 1920, 1080, 0, 0, 1920, 1080);
        x = (x + 37) % 1920;
    }
}
BENCHMARK(draw_background_through_camera)->Unit(benchmark::kMillisecond);

// Loading an image that is already cached: one lookup, no decoding.
void cached_image_lookup(benchmark::State& state) {
    Window window;
    auto held = SDL::load_image("images/backgrounds/hall.png");
    for (auto _ : state)
        benchmark::DoNotOptimize(SDL::load_image("images/backgrounds/hall.png"));
}
BENCHMARK(cached_image_lookup);

} // namespace

BENCHMARK_MAIN();
