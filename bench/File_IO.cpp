// The data system's two big reads on the sample game (build/data, packed by the build), each
// against bare decoding and upload of the very pictures it loads, alternating in one run on a
// dummy window with the software renderer.
//
// Init file. Engine side: File_IO::read_init on a fresh store, every cached picture and font
// dropped first, so each read decodes everything again (YAML, languages, fonts, texts, sounds
// and the interface pictures). Bare side: the same work done with the libraries alone. The
// very tiles, highlight tiles and hit masks of the pictures that read_init loaded (found after
// a first read: the pictures the store holds), each LZ4_decompress_safe'd from the package
// buffer and uploaded with SDL_CreateTexture and SDL_UpdateTexture; the interface's click and
// step sounds decoded whole to 16-bit samples with libvorbisfile; each font the store names
// decompressed and opened once per file and size with SDL_ttf; and the texts read_init
// rendered (the global texts placed on screen, once per language; none in the sample game)
// rendered with TTF_RenderUTF8_Blended and uploaded. The fixture stops when read_init cached
// a picture or text the bare side does not make. What read_init spends beyond that goes to
// the YAML files, the translation tables, the store, the scan of the save slots and the
// characters' hit rectangles with their glow. `ratio_to_pictures` is read_init against the
// pictures' share of the bare side alone.
//
// Quay. Engine side: File_IO::read_room("quay") on a store fresh from read_init, the image
// cache emptied just before, so each load decodes and uploads every picture of the room again
// (the global characters, read by read_init and kept, are not loaded by the room). Bare side:
// the work the load cannot do without: the pictures read_room loaded, as above; the tile of the
// room's ground map and its graph file's bytes, each LZ4_decompress_safe'd; and the room's
// sound effects decoded whole with plain libvorbisfile. What read_room spends beyond that goes
// to the store cleaning, the ground map's mask and search grids, the music tracks opened, the
// YAML files of every item, the texts rendered and the dialog compiled.
//
// Counters: ratio = total engine time / total bare time (goal 1.3 or less), mean, p99 and
// slowest iteration of each side in ms, and the number of pictures and blocks. The room's
// benchmark adds ratio_without_sounds (the bare side less the sounds, as first measured) and
// the bare sounds' mean. The *_pictures benchmarks split the picture part out: the same
// pictures loaded through the engine's image cache against the same bare side (without the
// map).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>
#include <lz4.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Action.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>
#include <Orvane/Third_party/Yaml.h>

#include "support/Bare_sound.h"
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
    bool map; // a ground map's tile or graph file: not a picture the cache loads
};

// One stored sound effect, decoded whole on the bare side.
struct Stored_sound {
    const char* data;
    int compressed; // 0 for a raw entry
    int size;
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
    std::vector<Stored_sound> sounds; // the room's sound effects
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
    std::vector<char> pcm;
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
        add_map_blocks(quay);
        add_sounds(quay);
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

    // The room's ground map: its one tile, keyed as any tile, then its graph file, go last.
    void add_map_blocks(Picture_set& set) {
        const auto& index = Packaged_asset_manager::asset_map();
        for (const std::string& key : {std::string(room_map) + ".0x0",
                                       Component::Ground_map::graph_file_name(room_map)}) {
            const auto map = index.find(key);
            if (map == index.end()) {
                std::fprintf(stderr, "No %s in the packages\n", key.c_str());
                std::exit(1);
            }
            set.blocks.push_back({packages[map->second.buffer_id].data() + map->second.offset,
                                  int(map->second.compressed_size), int(map->second.size), 0,
                                  int(map->second.height), 0, true});
            scratch.resize(std::max(scratch.size(), map->second.size));
        }
    }

    // The sound effects the store holds after the room's read: an effect is filed under the
    // name of its file in the sample game.
    void add_sounds(Picture_set& set) {
        const std::string folder = "sounds/effects/";
        std::vector<std::string> names;
        for (const auto& [key, info] : Packaged_asset_manager::asset_map())
            if (key.starts_with(folder) && key.ends_with(".ogg") &&
                content.request<Component::Sound>(
                    key.substr(folder.size(), key.size() - folder.size() - 4), "sound"))
                names.push_back(key);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const Packaged_asset_info& info = Packaged_asset_manager::asset_map().at(name);
            set.sounds.push_back({packages[info.buffer_id].data() + info.offset,
                                  int(info.compressed_size), int(info.size)});
            scratch.resize(std::max(scratch.size(), info.size));
        }
        if (set.sounds.empty()) {
            std::fprintf(stderr, "No sound effect of the room found in the store\n");
            std::exit(1);
        }
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
            if (b.compressed == 0) { // a raw entry (a graph file stored as it is): copied
                std::memcpy(scratch.data(), b.data, std::size_t(b.size));
                continue;
            }
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

    double bare_sounds_once(const Picture_set& set) {
        const auto start = std::chrono::steady_clock::now();
        for (const Stored_sound& sound : set.sounds) {
            const char* ogg = sound.data;
            if (sound.compressed != 0) {
                if (LZ4_decompress_safe(sound.data, scratch.data(), sound.compressed,
                                        static_cast<int>(scratch.size())) != sound.size)
                    std::abort();
                ogg = scratch.data();
            }
            if (Bench::decode_ogg(ogg, std::size_t(sound.size), pcm) == 0)
                std::abort();
        }
        return seconds_since(start);
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

// ---- The rest of the init file's bare work: its sounds, fonts and texts ----

// One package entry's bytes: stored raw, or as an LZ4 block to decompress first.
struct Entry {
    const char* data;
    std::size_t stored;
    std::size_t size;
    bool compressed;
};

Entry entry_of(const Fixture& f, const std::string& name) {
    const auto& index = Packaged_asset_manager::asset_map();
    const auto found = index.find(name);
    if (found == index.end()) {
        std::fprintf(stderr, "No %s in the packages\n", name.c_str());
        std::exit(1);
    }
    const Packaged_asset_info& info = found->second;
    const bool compressed = info.compressed_size > 0;
    return {f.packages[info.buffer_id].data() + info.offset,
            compressed ? info.compressed_size : info.size, info.size, compressed};
}

// What read_init made beyond its pictures, found after a read: the sounds of the interface
// section, each font once per file and size (the engine shares a font opened twice) and every
// text rendered once per language and colour.
struct Init_rest {
    std::vector<Entry> sounds;
    struct Font {
        Entry entry;
        int points;
    };
    std::vector<Font> fonts;
    struct Text {
        std::size_t font;
        SDL_Color color;
        std::string text;
    };
    std::vector<Text> texts;
};

Init_rest find_init_rest(Fixture& f) {
    f.read_init_once();
    Init_rest rest;
    Third_party::Yaml init("data/init.yaml", false, false);
    if (!init.parse())
        std::abort();
    for (const char* key : {"click_sound", "step_sound"})
        rest.sounds.push_back(entry_of(f, init[key].string("sounds", "effects", "ogg")));

    std::vector<std::string> opened;
    auto font_index = [&](const Store_key& key) {
        const auto& font = f.content.get<Component::Font>(key)->core();
        const std::string name = font->file + "@" + std::to_string(font->size);
        const auto at = std::find(opened.begin(), opened.end(), name);
        if (at != opened.end())
            return std::size_t(at - opened.begin());
        opened.push_back(name);
        rest.fonts.push_back({entry_of(f, font->file), font->size});
        return rest.fonts.size() - 1;
    };
    for (const Store_key& key :
         {Key::debug_font, Key::interface_font, Key::interface_light_font, Key::dialog_font})
        font_index(key);

    // the global texts placed on screen, rendered in the dialog font in every language
    const std::size_t dialog = font_index(Key::dialog_font);
    auto current = f.content.get<Component::Simple<std::string>>(Key::game_current_locale);
    const std::string saved = current->value();
    const auto locales =
        f.content.get<Component::Vector<std::string>>(Key::game_available_locales)->value();
    std::vector<std::string> rendered;
    const Third_party::Yaml::Node& names = init.has("texts") ? init["texts"] : init.root();
    for (std::size_t i = 0; i < names.size(); ++i) {
        Third_party::Yaml item("data/texts/" + names[i].string() + ".yaml", false, false);
        if (!item.parse())
            std::abort();
        if (!item.root().has("coordinates"))
            continue;
        const std::string color = item.root().has("color") ? item["color"].string() : "000000";
        for (const std::string& id : locales) {
            current->set(id);
            const std::string text = f.file_io.locale(item["text"].string());
            if (std::find(rendered.begin(), rendered.end(), color + "|" + text) != rendered.end())
                continue;
            rendered.push_back(color + "|" + text);
            rest.texts.push_back({dialog, Third_party::SDL::color(color), text});
        }
    }
    current->set(saved);

    // every cached picture or text the read made is one the bare side makes too
    const std::size_t made = Third_party::SDL::m_images.size();
    if (made != f.init.loaded.size() + rest.texts.size()) {
        std::fprintf(stderr, "read_init made %zu pictures and texts, the bare side %zu\n", made,
                     f.init.loaded.size() + rest.texts.size());
        std::exit(1);
    }
    f.fresh_store();
    return rest;
}

// The sounds decoded to 16-bit samples, the fonts opened, the texts rendered and uploaded.
double bare_rest_once(Fixture& f, const Init_rest& rest) {
    // left uninitialised: the decoder fills them
    std::vector<std::unique_ptr<char[]>> bytes;
    std::vector<TTF_Font*> fonts;
    std::vector<SDL_Texture*> textures;
    auto bytes_of = [&](const Entry& e) {
        if (!e.compressed)
            return e.data;
        char* out = bytes.emplace_back(new char[e.size]).get();
        if (LZ4_decompress_safe(e.data, out, int(e.stored), int(e.size)) != int(e.size))
            std::abort();
        return static_cast<const char*>(out);
    };
    const auto start = std::chrono::steady_clock::now();
    for (const Entry& e : rest.sounds)
        if (Bench::decode_ogg(bytes_of(e), e.size, f.pcm) == 0)
            std::abort();
    for (const Init_rest::Font& font : rest.fonts) {
        TTF_Font* opened = TTF_OpenFontRW(
            SDL_RWFromConstMem(bytes_of(font.entry), int(font.entry.size)), 1, font.points);
        if (opened == nullptr)
            std::abort();
        fonts.push_back(opened);
    }
    for (const Init_rest::Text& text : rest.texts) {
        TTF_Font* font = fonts[text.font];
        SDL_Surface* surface =
            text.text.find('\n') != std::string::npos
                ? TTF_RenderUTF8_Blended_Wrapped(font, text.text.c_str(), text.color, 1920)
                : TTF_RenderUTF8_Blended(font, text.text.c_str(), text.color);
        textures.push_back(SDL_CreateTextureFromSurface(f.renderer, surface));
        SDL_FreeSurface(surface);
    }
    const double seconds = seconds_since(start);
    for (SDL_Texture* texture : textures)
        SDL_DestroyTexture(texture);
    for (TTF_Font* font : fonts)
        TTF_CloseFont(font);
    return seconds;
}

void BM_read_init_vs_bare(benchmark::State& state) {
    Fixture& f = fixture();
    static const Init_rest rest = find_init_rest(f);
    std::vector<double> engine;
    std::vector<double> bare;
    std::vector<double> pictures;
    for (auto _ : state) {
        engine.push_back(f.read_init_once());
        // the read's pictures released first, as the engine side starts without them
        f.content.clear();
        f.sdl.clear_managers();
        pictures.push_back(f.bare_once(f.init, false));
        bare.push_back(pictures.back() + bare_rest_once(f, rest));
    }
    report(state, f.init, engine, bare);
    state.counters["ratio_to_pictures"] = Bench::total(engine) / Bench::total(pictures);
    state.counters["sounds"] = double(rest.sounds.size());
    state.counters["fonts"] = double(rest.fonts.size());
    state.counters["texts"] = double(rest.texts.size());
}
BENCHMARK(BM_read_init_vs_bare)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_engine_pictures_vs_bare_pictures(benchmark::State& state) {
    Fixture& f = fixture();
    compare(
        state, f.init, [&] { return f.pictures_once(f.init); },
        [&] { return f.bare_once(f.init, false); });
}
BENCHMARK(BM_engine_pictures_vs_bare_pictures)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_read_room_vs_bare_work(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<double> engine;
    std::vector<double> bare;
    std::vector<double> sounds;
    for (auto _ : state) {
        engine.push_back(f.read_room_once());
        // the room's pictures released first, as the engine side starts without them: a store
        // full of textures slows the bare side's allocations tenfold
        f.content.clear();
        f.sdl.clear_managers();
        const double without_sounds = f.bare_once(f.quay, true);
        sounds.push_back(f.bare_sounds_once(f.quay));
        bare.push_back(without_sounds + sounds.back());
    }
    report(state, f.quay, engine, bare);
    state.counters["ratio_without_sounds"] =
        Bench::total(engine) / (Bench::total(bare) - Bench::total(sounds));
    state.counters["bare_sounds_mean_ms"] = Bench::mean(sounds) * 1e3;
    state.counters["sounds"] = double(f.quay.sounds.size());
}
BENCHMARK(BM_read_room_vs_bare_work)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_room_pictures_vs_bare_pictures(benchmark::State& state) {
    Fixture& f = fixture();
    compare(
        state, f.quay, [&] { return f.pictures_once(f.quay); },
        [&] { return f.bare_once(f.quay, false); });
}
BENCHMARK(BM_room_pictures_vs_bare_pictures)->Unit(benchmark::kMillisecond)->Iterations(200);

// The sound part of the room: its effects loaded as read_room loads them, against decoding them
// with plain libvorbisfile.
void BM_room_sounds_vs_bare_sounds(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<std::string> names;
    for (const auto& [key, info] : Packaged_asset_manager::asset_map())
        for (const Stored_sound& sound : f.quay.sounds)
            if (f.packages[info.buffer_id].data() + info.offset == sound.data)
                names.push_back(key);
    compare(
        state, f.quay,
        [&] {
            const auto start = std::chrono::steady_clock::now();
            for (const std::string& name : names)
                benchmark::DoNotOptimize(Component::Sound("bench", "sound", name));
            return seconds_since(start);
        },
        [&] { return f.bare_sounds_once(f.quay); });
    state.counters["sounds"] = double(names.size());
}
BENCHMARK(BM_room_sounds_vs_bare_sounds)->Unit(benchmark::kMillisecond)->Iterations(100);

// The six packages with the quay's packed mask renamed away, as a package made before the packer
// stored masks: its ground map is then classified from the picture.
std::vector<std::vector<char>> packages_without_packed_mask(const Fixture& f) {
    std::vector<std::vector<char>> copies = f.packages;
    const std::string name = Component::Ground_map::packed_mask_file_name(room_map);
    bool found = false;
    for (std::vector<char>& package : copies) {
        auto at = std::search(package.begin(), package.end(), name.begin(), name.end());
        if (at == package.end())
            continue;
        at[std::ptrdiff_t(name.size()) - 1] = '_'; // "..._map.mas_": a key no one asks for
        found = true;
    }
    if (!found) {
        std::fprintf(stderr, "No %s in the packages\n", name.c_str());
        std::exit(1);
    }
    return copies;
}

// Where the rest of the room goes: the quay's two ground maps (both sides of ground_map:
// [quay_map, quay_map]) made as read_room makes them (the first loaded, the second a copy of
// it), against the bare work they need: decoding their picture's tile and their graph file's
// bytes once. Argument 0: from the packed mask beside the picture, as packed today; 1: from a
// package made before the packer stored masks, where the mask is classified from the picture.
// Counter engine_ms_per_mpx: the engine's mean over the map's megapixels.
void BM_room_ground_maps_vs_bare_map(benchmark::State& state) {
    Fixture& f = fixture();
    const bool old_package = state.range(0) == 1;
    if (old_package)
        Packaged_asset_manager::load(packages_without_packed_mask(f));
    compare(
        state, f.quay,
        [&] {
            const auto start = std::chrono::steady_clock::now();
            Component::Ground_map first("background", "ground_map", room_map, 3240, 1620, [] {});
            Component::Ground_map second("background", "2nd_ground_map", first);
            const double seconds = seconds_since(start);
            benchmark::DoNotOptimize(first);
            benchmark::DoNotOptimize(second);
            return seconds;
        },
        [&] {
            Picture_set map;
            for (const Block& b : f.quay.blocks)
                if (b.map)
                    map.blocks.push_back(b);
            return f.bare_once(map, true);
        });
    const Packaged_image_info info = Packaged_asset_manager::image_info(room_map);
    state.counters["engine_ms_per_mpx"] =
        state.counters["engine_mean_ms"] / (double(info.width) * info.height / 1e6);
    if (old_package)
        Packaged_asset_manager::load(f.packages);
}
BENCHMARK(BM_room_ground_maps_vs_bare_map)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Arg(0)
    ->Arg(1);

} // namespace

BENCHMARK_MAIN();
