// Loading the sample game's quay (build/data, packed by the build) against bare decoding and
// upload of its pictures, alternating in one run on a dummy window with the software renderer.
//
// Engine side: File_IO::read_room("quay") on a store fresh from read_init, the image cache
// emptied just before, so each load decodes and uploads every picture of the room again (the
// global characters, read by read_init and kept, are not loaded by the room). Bare side: the
// very tiles, highlight tiles and hit masks of the pictures that read_room loaded (found after
// a first load: the pictures the cache holds that the store holds too), and the tile of the
// room's ground map, each LZ4_decompress_safe'd from the package buffer; the picture tiles are
// uploaded with SDL_CreateTexture and SDL_UpdateTexture, masks and the map only decoded.
// Counters: ratio = total engine time / total bare time (goal 1.3 or less), mean, p99 and
// slowest iteration of each side in ms, and the number of pictures and blocks.
// BM_room_pictures_vs_bare_pictures splits the picture part out: the same pictures loaded
// through the engine's image cache against the bare side without the map. What read_room
// spends beyond its pictures goes to work the bare side does not do: the store cleaning, the
// ground map's mask and graph, the sounds decoded from OGG, the music tracks opened, the YAML
// files of every item, the texts rendered and the dialog compiled.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>

namespace {

namespace fs = std::filesystem;
using namespace Orvane;
using Third_party::SDL;

// One stored block to decode and, for pixels, upload.
struct Block {
    const char* data;
    int compressed;
    int size;
    int width; // 0 for a mask (decoded only)
    int height;
    std::uint32_t format;
    bool map; // the ground map's tile: decoded only, and not a picture the cache loads
};

// The quay's ground map (ground_map: [quay_map, quay_map]), read as one surface.
const char* const room_map = "images/backgrounds/quay_map.png";

std::string data_folder() {
    if (const char* folder = std::getenv("ORVANE_SAMPLE_DATA"))
        return folder;
    const char* build = std::getenv("ORVANE_BUILD_DIR");
    return std::string(build != nullptr ? build : "build") + "/data/";
}

// The components that the engine creates before any system runs.
void fixed_components(Content& content) {
    content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status");
    content.set_fac<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION, "Camera",
                                                  "position", Point(0, 0));
    content.set_fac<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM, "Camera", "zoom",
                                               1.0);
    content.set<Component::Inventory>("Game", "inventory");
    content.set<Component::Action>("Logic", "action");
}

struct Fixture {
    std::string pref = (fs::temp_directory_path() / "orvane-bench-pref-XXXXXX").string();
    SDL sdl;
    Third_party::SDL_mixer_ext mixer;
    Content content;
    System::File_IO file_io{content};
    SDL_Renderer* renderer = nullptr;
    std::vector<Block> blocks;
    // The same pictures loaded through the engine's image cache, with the same options.
    struct Picture {
        std::string name;
        bool mask;
        bool highlight;
    };
    std::vector<Picture> loaded;
    std::size_t pictures = 0;
    std::vector<char> scratch;
    // The package files read again here: the blocks of the bare side point into them.
    std::vector<std::vector<char>> packages;

    Fixture() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_RENDER_DRIVER", "software", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        if (mkdtemp(pref.data()) == nullptr)
            std::abort();
        setenv("XDG_DATA_HOME", pref.c_str(), 1);
        const std::string folder = data_folder();
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
        engine_once();
        find_pictures();
    }
    ~Fixture() {
        content.clear();
        std::error_code ignored;
        fs::remove_all(pref, ignored);
    }

    void fresh_store() {
        content.clear();
        sdl.clear_managers();
        fixed_components(content);
        file_io.read_config();
    }

    // The pictures that the store holds after read_room (a cached picture held elsewhere than
    // the cache and this lookup), with the tiles, highlights and mask the engine made of them.
    void find_pictures() {
        for (const char* package : Packaged_asset_manager::packages) {
            std::ifstream in(data_folder() + package + ".data", std::ios::binary);
            packages.emplace_back(std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>());
        }
        const auto& index = Packaged_asset_manager::asset_map();
        std::vector<std::string> names;
        for (const auto& [key, info] : index)
            // ground maps are surfaces, never drawn pictures
            if (info.width > 0 && key.size() > 8 && key.compare(key.size() - 4, 4, ".png") == 0 &&
                key.compare(key.size() - 8, 8, "_map.png") != 0)
                names.push_back(key);
        std::sort(names.begin(), names.end());
        std::size_t largest = 0;
        for (const std::string& name : names) {
            SDL::Image_handle image = SDL::load_image(name);
            if (image.use_count() <= 2)
                continue; // not loaded by read_room
            ++pictures;
            loaded.push_back({name, image->mask.size() != 0,
                              std::any_of(image->highlights.begin(), image->highlights.end(),
                                          [](SDL_Texture* h) { return h != nullptr; })});
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
                if (is_mask && image->mask.size() == 0)
                    continue;
                if (is_highlight && std::none_of(image->highlights.begin(), image->highlights.end(),
                                                 [](SDL_Texture* h) { return h != nullptr; }))
                    continue;
                if (!is_highlight && !is_mask)
                    ++t;
                const char* block = packages[tile.buffer_id].data() + tile.offset;
                blocks.push_back({block, int(tile.compressed_size), int(tile.size),
                                  is_mask ? 0 : int(tile.width), int(tile.height),
                                  is_mask ? 0 : tile.format, false});
                largest = std::max(largest, tile.size);
            }
            if (t != image->tiles.size()) {
                std::fprintf(stderr, "%s: %zu tiles in the index, %zu made\n", name.c_str(), t,
                             image->tiles.size());
                std::exit(1);
            }
        }
        // the map: its one tile, keyed as any tile
        const std::string map_tile = std::string(room_map) + ".0x0";
        const auto map = index.find(map_tile);
        if (map == index.end()) {
            std::fprintf(stderr, "No %s in the packages\n", map_tile.c_str());
            std::exit(1);
        }
        blocks.push_back({packages[map->second.buffer_id].data() + map->second.offset,
                          int(map->second.compressed_size), int(map->second.size), 0,
                          int(map->second.height), 0, true});
        largest = std::max(largest, map->second.size);
        scratch.resize(largest);
        sdl.clear_managers();
    }

    double engine_once() {
        fresh_store();
        file_io.read_init();
        content.set<Component::Simple<std::function<void()>>>("Game", "loading_callback", [] {});
        sdl.clear_managers();
        const auto start = std::chrono::steady_clock::now();
        file_io.read_room("quay");
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    double pictures_once() {
        content.clear(); // the store holds read_room's pictures
        sdl.clear_managers();
        std::vector<SDL::Image_handle> held;
        held.reserve(loaded.size());
        const auto start = std::chrono::steady_clock::now();
        for (const Picture& p : loaded)
            held.push_back(SDL::load_image(p.name, p.mask, p.highlight));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        held.clear();
        sdl.clear_managers();
        return seconds;
    }

    double bare_once(bool with_map = true) {
        std::vector<SDL_Texture*> textures;
        textures.reserve(blocks.size());
        const auto start = std::chrono::steady_clock::now();
        for (const Block& b : blocks) {
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
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (SDL_Texture* texture : textures)
            SDL_DestroyTexture(texture);
        return seconds;
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

double mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v)
        sum += x;
    return sum / double(v.size());
}

double p99(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * 99 / 100)];
}

void report(benchmark::State& state, const std::vector<double>& engine,
            const std::vector<double>& bare) {
    Fixture& f = fixture();
    double total_engine = 0;
    double total_bare = 0;
    for (double x : engine)
        total_engine += x;
    for (double x : bare)
        total_bare += x;
    state.counters["ratio"] = total_engine / total_bare;
    state.counters["engine_ms"] = mean(engine) * 1000;
    state.counters["engine_p99_ms"] = p99(engine) * 1000;
    state.counters["engine_max_ms"] = *std::max_element(engine.begin(), engine.end()) * 1000;
    state.counters["bare_ms"] = mean(bare) * 1000;
    state.counters["bare_p99_ms"] = p99(bare) * 1000;
    state.counters["bare_max_ms"] = *std::max_element(bare.begin(), bare.end()) * 1000;
    state.counters["pictures"] = double(f.pictures);
    state.counters["blocks"] = double(f.blocks.size());
}

void BM_read_room_vs_bare_pictures(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<double> engine;
    std::vector<double> bare;
    for (auto _ : state) {
        engine.push_back(f.engine_once());
        // the room's pictures released first, as the engine side starts without them: a store
        // full of textures slows the bare side's allocations tenfold
        f.content.clear();
        f.sdl.clear_managers();
        bare.push_back(f.bare_once());
    }
    report(state, engine, bare);
}
BENCHMARK(BM_read_room_vs_bare_pictures)->Unit(benchmark::kMillisecond)->Iterations(200);

// Where the time goes: only the pictures that read_room loads, through the engine's image
// cache, against the same bare decoding and upload (without the map).
void BM_room_pictures_vs_bare_pictures(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<double> engine;
    std::vector<double> bare;
    for (auto _ : state) {
        engine.push_back(f.pictures_once());
        bare.push_back(f.bare_once(false));
    }
    report(state, engine, bare);
}
BENCHMARK(BM_room_pictures_vs_bare_pictures)->Unit(benchmark::kMillisecond)->Iterations(200);

// Where the rest goes: the quay's two ground maps (both sides of ground_map: [quay_map,
// quay_map]) built as read_room builds them, against decoding their tile twice.
void BM_room_ground_maps_vs_bare_map(benchmark::State& state) {
    Fixture& f = fixture();
    const Block& map = f.blocks.back();
    std::vector<double> engine;
    std::vector<double> bare;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (const char* component : {"ground_map", "2nd_ground_map"})
            benchmark::DoNotOptimize(
                Component::Ground_map("background", component, room_map, 3240, 1620, [] {}));
        engine.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < 2; ++i)
            if (LZ4_decompress_safe(map.data, f.scratch.data(), map.compressed,
                                    static_cast<int>(f.scratch.size())) != map.size)
                std::abort();
        bare.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    report(state, engine, bare);
}
BENCHMARK(BM_room_ground_maps_vs_bare_map)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

BENCHMARK_MAIN();
