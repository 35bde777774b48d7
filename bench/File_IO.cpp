// The data system's two big reads on the sample game (build/data, packed by the build), each
// against bare decoding and upload of the very pictures it loads, alternating in one run on a
// dummy window with the software renderer.
//
// Init file. Engine side: File_IO::read_init on a fresh store, every cached picture and font
// dropped first, so each read decodes everything again (YAML, languages, fonts, texts, sounds
// and the interface pictures). Bare side: the very tiles, highlight tiles and hit masks of the
// pictures that read_init loaded (found after a first read: the pictures the store holds),
// each LZ4_decompress_safe'd from the package buffer and uploaded with SDL_CreateTexture and
// SDL_UpdateTexture. What read_init spends beyond its pictures goes to work the bare side does
// not do: the two sounds decoded from OGG, the four fonts (each decompressed and opened twice,
// plain and outlined), the YAML files, the translation tables and the texts rendered once per
// language.
//
// Quay. Engine side: File_IO::read_room("quay") on a store fresh from read_init, the image
// cache emptied just before, so each load decodes and uploads every picture of the room again
// (the global characters, read by read_init and kept, are not loaded by the room). Bare side:
// the pictures read_room loaded, as above, and the tile of the room's ground map, only
// decoded. What read_room spends beyond its pictures goes to the store cleaning, the ground
// map's mask and graph, the sounds decoded from OGG, the music tracks opened, the YAML files
// of every item, the texts rendered and the dialog compiled.
//
// Counters: ratio = total engine time / total bare time (goal 1.3 or less), mean, p99 and
// slowest iteration of each side in ms, and the number of pictures and blocks. The *_pictures
// benchmarks split the picture part out: the same pictures loaded through the engine's image
// cache against the same bare side (without the map).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <lz4.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Action.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>

#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Third_party::SDL;
using Bench::seconds_since;
using Bench::set_ratio_counters;

// One stored block to decode and, for pixels, upload.
struct Block {
    const char* data;
    int compressed;
    int size;
    int width; // 0 for a mask or a map (decoded only)
    int height;
    std::uint32_t format;
    bool map; // a ground map's tile: not a picture the cache loads
};

// The quay's ground map (ground_map: [quay_map, quay_map]), read as one surface.
const char* const room_map = "images/backgrounds/quay_map.png";

// The components that the engine creates before any system runs, and the logic system's action.
void fixed_components(Content& content) {
    Engine::create_fixed_components(content);
    content.set<Component::Action>("Logic", "action");
}

// The pictures one read loaded, and the blocks the bare side decodes for them.
struct Picture_set {
    // loaded through the engine's image cache again with the same options
    struct Picture {
        std::string name;
        bool mask;
        bool highlight;
    };
    std::vector<Picture> loaded;
    std::vector<Block> blocks;
};

struct Fixture {
    Test::Temp_pref_folder pref;
    SDL sdl;
    Third_party::SDL_mixer_ext mixer;
    Content content;
    System::File_IO file_io{content};
    SDL_Renderer* renderer = nullptr;
    // The package files read again here: the blocks of the bare side point into them.
    std::vector<std::vector<char>> packages;
    std::vector<char> scratch;
    Picture_set init;
    Picture_set quay;

    Fixture() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_RENDER_DRIVER", "software", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        const std::string folder = Test::sample_data("build/data/");
        if (!Packaged_asset_manager::init(folder, false)) {
            std::fprintf(stderr, "No sample game in %s: build orvane_sample_data first\n",
                         folder.c_str());
            std::exit(1);
        }
        int width = 1920;
        int height = 1080;
        sdl.init(width, height, false);
        renderer = SDL_GetRenderer(SDL_GetWindowFromID(1));
        if (renderer == nullptr) {
            std::fprintf(stderr, "No renderer: %s\n", SDL_GetError());
            std::exit(1);
        }
        for (const char* package : Packaged_asset_manager::packages) {
            std::ifstream in(folder + package + ".data", std::ios::binary);
            packages.emplace_back(std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>());
        }
        read_init_once();
        init = find_pictures();
        read_room_once();
        quay = find_pictures();
        add_map_block(quay);
        sdl.clear_managers();
    }
    ~Fixture() { content.clear(); }

    void fresh_store() {
        content.clear();
        sdl.clear_managers();
        fixed_components(content);
        file_io.read_config();
    }

    // The pictures that the store holds after a read (a cached picture held elsewhere than the
    // cache and this lookup), with the tiles, highlights and mask the engine made of them.
    Picture_set find_pictures() {
        Picture_set set;
        const auto& index = Packaged_asset_manager::asset_map();
        std::vector<std::string> names;
        for (const auto& [key, info] : index)
            // ground maps are surfaces, never drawn pictures
            if (info.width > 0 && key.size() > 8 && key.compare(key.size() - 4, 4, ".png") == 0 &&
                key.compare(key.size() - 8, 8, "_map.png") != 0)
                names.push_back(key);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            SDL::Image_handle image = SDL::load_image(name);
            if (image.use_count() <= 2)
                continue; // not loaded by the read
            const bool highlight = std::any_of(image->highlights.begin(), image->highlights.end(),
                                               [](SDL_Texture* h) { return h != nullptr; });
            set.loaded.push_back({name, image->mask.size() != 0, highlight});
            std::size_t t = 0;
            // tiles are keyed "<name>.<x>x<y>"; walk the index for this picture's own
            for (const auto& [key, tile] : index) {
                if (key.size() <= name.size() + 1 || key.compare(0, name.size(), name) != 0 ||
                    key[name.size()] != '.')
                    continue;
                const std::string rest = key.substr(name.size() + 1);
                const bool is_mask = rest == "mask";
                const bool is_highlight =
                    rest.size() > 3 && rest.compare(rest.size() - 3, 3, ".HL") == 0;
                if (rest.find('x') == std::string::npos && !is_mask)
                    continue;
                if ((is_mask && image->mask.size() == 0) || (is_highlight && !highlight))
                    continue;
                if (!is_highlight && !is_mask)
                    ++t;
                set.blocks.push_back({packages[tile.buffer_id].data() + tile.offset,
                                      int(tile.compressed_size), int(tile.size),
                                      is_mask ? 0 : int(tile.width), int(tile.height),
                                      is_mask ? 0 : tile.format, false});
                scratch.resize(std::max(scratch.size(), tile.size));
            }
            if (t != image->tiles.size()) {
                std::fprintf(stderr, "%s: %zu tiles in the index, %zu made\n", name.c_str(), t,
                             image->tiles.size());
                std::exit(1);
            }
        }
        return set;
    }

    // The room's ground map: its one tile, keyed as any tile, goes last.
    void add_map_block(Picture_set& set) {
        const std::string map_tile = std::string(room_map) + ".0x0";
        const auto& index = Packaged_asset_manager::asset_map();
        const auto map = index.find(map_tile);
        if (map == index.end()) {
            std::fprintf(stderr, "No %s in the packages\n", map_tile.c_str());
            std::exit(1);
        }
        set.blocks.push_back({packages[map->second.buffer_id].data() + map->second.offset,
                              int(map->second.compressed_size), int(map->second.size), 0,
                              int(map->second.height), 0, true});
        scratch.resize(std::max(scratch.size(), map->second.size));
    }

    double read_init_once() {
        fresh_store();
        const auto start = std::chrono::steady_clock::now();
        file_io.read_init();
        return seconds_since(start);
    }

    double read_room_once() {
        fresh_store();
        file_io.read_init();
        content.set<Component::Simple<std::function<void()>>>("Game", "loading_callback", [] {});
        sdl.clear_managers();
        const auto start = std::chrono::steady_clock::now();
        file_io.read_room("quay");
        return seconds_since(start);
    }

    double pictures_once(const Picture_set& set) {
        content.clear(); // the store holds the read's pictures
        sdl.clear_managers();
        std::vector<SDL::Image_handle> held;
        held.reserve(set.loaded.size());
        const auto start = std::chrono::steady_clock::now();
        for (const Picture_set::Picture& p : set.loaded)
            held.push_back(SDL::load_image(p.name, p.mask, p.highlight));
        const double seconds = seconds_since(start);
        held.clear();
        sdl.clear_managers();
        return seconds;
    }

    double bare_once(const Picture_set& set, bool with_map) {
        std::vector<SDL_Texture*> textures;
        textures.reserve(set.blocks.size());
        const auto start = std::chrono::steady_clock::now();
        for (const Block& b : set.blocks) {
            if (b.map && !with_map)
                continue;
            const int done = LZ4_decompress_safe(b.data, scratch.data(), b.compressed,
                                                 static_cast<int>(scratch.size()));
            if (done != b.size)
                std::abort();
            if (b.width == 0)
                continue;
            SDL_Texture* texture =
                SDL_CreateTexture(renderer, b.format, SDL_TEXTUREACCESS_STATIC, b.width, b.height);
            SDL_UpdateTexture(texture, nullptr, scratch.data(), b.width * 4);
            textures.push_back(texture);
        }
        const double seconds = seconds_since(start);
        for (SDL_Texture* texture : textures)
            SDL_DestroyTexture(texture);
        return seconds;
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}


void report(benchmark::State& state, const Picture_set& set, const std::vector<double>& engine,
            const std::vector<double>& bare) {
    set_ratio_counters(state, engine, bare, "ms");
    state.counters["pictures"] = double(set.loaded.size());
    state.counters["blocks"] = double(set.blocks.size());
}

// One benchmark: engine_once against the bare side, alternating.
template <typename Engine_side, typename Bare_side>
void compare(benchmark::State& state, const Picture_set& set, Engine_side engine_once,
             Bare_side bare_once) {
    std::vector<double> engine;
    std::vector<double> bare;
    for (auto _ : state) {
        engine.push_back(engine_once());
        bare.push_back(bare_once());
    }
    report(state, set, engine, bare);
}

void BM_read_init_vs_bare_pictures(benchmark::State& state) {
    Fixture& f = fixture();
    compare(
        state, f.init, [&] { return f.read_init_once(); },
        [&] { return f.bare_once(f.init, false); });
}
BENCHMARK(BM_read_init_vs_bare_pictures)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_engine_pictures_vs_bare_pictures(benchmark::State& state) {
    Fixture& f = fixture();
    compare(
        state, f.init, [&] { return f.pictures_once(f.init); },
        [&] { return f.bare_once(f.init, false); });
}
BENCHMARK(BM_engine_pictures_vs_bare_pictures)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_read_room_vs_bare_pictures(benchmark::State& state) {
    Fixture& f = fixture();
    compare(
        state, f.quay, [&] { return f.read_room_once(); },
        [&] {
            // the room's pictures released first, as the engine side starts without them: a
            // store full of textures slows the bare side's allocations tenfold
            f.content.clear();
            f.sdl.clear_managers();
            return f.bare_once(f.quay, true);
        });
}
BENCHMARK(BM_read_room_vs_bare_pictures)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_room_pictures_vs_bare_pictures(benchmark::State& state) {
    Fixture& f = fixture();
    compare(
        state, f.quay, [&] { return f.pictures_once(f.quay); },
        [&] { return f.bare_once(f.quay, false); });
}
BENCHMARK(BM_room_pictures_vs_bare_pictures)->Unit(benchmark::kMillisecond)->Iterations(200);

// Where the rest of the room goes: the quay's two ground maps (both sides of ground_map:
// [quay_map, quay_map]) built as read_room builds them, against decoding their tile twice.
void BM_room_ground_maps_vs_bare_map(benchmark::State& state) {
    Fixture& f = fixture();
    const Block& map = f.quay.blocks.back();
    compare(
        state, f.quay,
        [&] {
            const auto start = std::chrono::steady_clock::now();
            for (const char* component : {"ground_map", "2nd_ground_map"})
                benchmark::DoNotOptimize(
                    Component::Ground_map("background", component, room_map, 3240, 1620, [] {}));
            return seconds_since(start);
        },
        [&] {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < 2; ++i)
                if (LZ4_decompress_safe(map.data, f.scratch.data(), map.compressed,
                                        static_cast<int>(f.scratch.size())) != map.size)
                    std::abort();
            return seconds_since(start);
        });
}
BENCHMARK(BM_room_ground_maps_vs_bare_map)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

BENCHMARK_MAIN();
