// Writing and reading back a large save: 2,000 altered states, 2,000 altered positions and 500
// altered integers (a save of some 170 kB), in a temporary per-user folder. Goals: a write
// under 5 ms, a read under 10 ms.
//
// Engine write: File_IO::write_savefile, from the store walk to the renamed file. Bare write:
// the very same bytes written to a temporary file with fwrite, fsync'd, renamed over the target
// and the folder fsync'd, which is the least any save that survives a crash costs. With the
// folder on a disk, both sides are dominated by the two flushes; on a memory file system (set
// TMPDIR) the engine side shows what building the text costs. Engine read: File_IO::read_savefile
// into a fresh store (parse, whole-file check, restore). Bare read: the file read whole and run
// through libyaml's event parser, building nothing. Counters: ratio = total engine time /
// total bare time, mean, p99 and slowest iteration of each side in ms, and the file's size.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <Packer/Package_writer.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <yaml.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Inventory.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/File_IO.h>

#include "support/Save_store.h"
#include "support/Temp_pref_folder.h"
#include "support/Timings.h"

namespace {

using namespace Orvane;
using Bench::seconds_since;
using Bench::set_ratio_counters;
using Clock = std::chrono::steady_clock;

struct Fixture {
    Test::Temp_pref_folder home;

    Fixture() {
        pref = home.pref_path();

        std::vector<Packer::Entry> entries;
        for (const auto& [key, file] :
             {std::pair<std::string, std::string>{"data/rooms/quay.yaml",
                                                  "name: The quay\ncharacters: [mara]\n"},
              {"data/characters/mara.yaml", Test::character_file()}})
            entries.push_back(
                {key, Packer::Storage::raw, std::vector<char>(file.begin(), file.end()), {}, -1});
        Packaged_asset_manager::init("", true);
        auto packages = Packer::build(entries);
        Packaged_asset_manager::load({packages.begin(), packages.end()});

        Test::save_components(store, 1.0);
        store.set<Component::Simple<std::string>>("Game", "current_room", "quay");
        store.set<Component::Simple<std::string>>("Game", "current_room_name", "The quay");
        store.set<Component::Simple<std::string>>("Player", "name", "mara");
        for (int i = 0; i < 2000; ++i) {
            const std::string id = "object_" + std::to_string(i);
            store.set<Component::Simple<std::string>>(id, "state", "")
                ->set("state_" + std::to_string(i % 7));
            store.set<Component::Absolute_position>(id, "position", Point(0, 0), false)
                ->set(Point(i * 1.25, 1080 - i * 0.5));
        }
        for (int i = 0; i < 500; ++i)
            store.set<Component::Simple<int>>("counter_" + std::to_string(i), "value", 0)->set(i);
        engine_write();
        std::ifstream in(pref + "save_auto.yaml", std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }

    double engine_write() {
        const auto start = Clock::now();
        store.set<Component::Simple<std::string>>("Savegame", "id", "auto");
        System::File_IO(store).write_savefile();
        return seconds_since(start);
    }

    double bare_write() {
        const auto start = Clock::now();
        const std::string target = pref + "bare.yaml";
        const std::string temp = target + ".tmp";
        std::FILE* f = std::fopen(temp.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fflush(f);
        ::fsync(::fileno(f));
        std::fclose(f);
        std::rename(temp.c_str(), target.c_str());
        const int dir = ::open(pref.c_str(), O_RDONLY | O_DIRECTORY);
        ::fsync(dir);
        ::close(dir);
        return seconds_since(start);
    }

    double engine_read() {
        Content fresh;
        Test::save_components(fresh, 1.0);
        const auto start = Clock::now();
        const bool read = System::File_IO(fresh).read_savefile("auto");
        const double t = seconds_since(start);
        if (!read)
            std::abort();
        return t;
    }

    double bare_read() {
        const auto start = Clock::now();
        std::ifstream in(pref + "bare.yaml", std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        yaml_parser_t parser;
        yaml_parser_initialize(&parser);
        yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(bytes.data()),
                                     bytes.size());
        for (bool done = false; !done;) {
            yaml_event_t event;
            if (!yaml_parser_parse(&parser, &event))
                std::abort();
            done = event.type == YAML_STREAM_END_EVENT;
            yaml_event_delete(&event);
        }
        yaml_parser_delete(&parser);
        return seconds_since(start);
    }

    std::string pref;
    Content store;
    std::string text;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void report(benchmark::State& state, const std::vector<double>& engine,
            const std::vector<double>& bare) {
    set_ratio_counters(state, engine, bare, "ms");
    state.counters["bytes"] = double(fixture().text.size());
}

void BM_write_save_vs_bare_write(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<double> engine;
    std::vector<double> bare;
    for (auto _ : state) {
        engine.push_back(f.engine_write());
        bare.push_back(f.bare_write());
    }
    report(state, engine, bare);
}
BENCHMARK(BM_write_save_vs_bare_write)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_read_save_vs_bare_parse(benchmark::State& state) {
    Fixture& f = fixture();
    f.bare_write();
    std::vector<double> engine;
    std::vector<double> bare;
    for (auto _ : state) {
        engine.push_back(f.engine_read());
        bare.push_back(f.bare_read());
    }
    report(state, engine, bare);
}
BENCHMARK(BM_read_save_vs_bare_parse)->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace

BENCHMARK_MAIN();
