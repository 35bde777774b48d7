// Start-up cost of the packages: indexing a package set of realistic size (about 200 MiB of
// image pixels once decoded) and decoding every tile through the engine, against bare
// LZ4_decompress_safe over the same blocks in the same run. The "ratio" counter of
// BM_engine_vs_bare_lz4 is engine time / bare time; the goal is 1.2 or less.
//
// BM_init_from_disk_vs_read_and_bare_lz4 adds the file reads: init() of the package files on
// disk and every tile decoded through the engine, against plain read() of the same files into
// memory and bare LZ4 of the same blocks, alternating in one run. Its argument is the size of
// the set in halves of the set above (1: 0.5x, 2: 1x, 8: 4x). Both sides read from the page
// cache (the files were just written). Counters: ratio = total engine time / total bare time,
// the means and the slowest iteration of each side in ms.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include <Packer/Package_writer.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <lz4.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Assets/Splitter.h>

namespace {

using Orvane::Packaged_asset_info;
using Orvane::Packaged_asset_manager;
using Orvane::Splitter;
using namespace Orvane::Packer;

// Game-like art: smooth gradients with flat areas, shapes, a little grain and transparent
// borders on objects.
Image painted(unsigned int width, unsigned int height, std::uint32_t seed, bool cut_out) {
    Image image{width, height, std::vector<unsigned char>(std::size_t{width} * height * 4)};
    std::uint32_t state = seed * 2654435761u + 1;
    auto random = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x) {
            unsigned char* pixel = &image.pixels[(std::size_t{y} * width + x) * 4];
            const unsigned int band = (x / 64 + y / 48 + seed) % 5;
            const unsigned int grain = (y % 3 == 0) ? random() % 6 : 0;
            pixel[0] = static_cast<unsigned char>((x * 255 / (width + 1)) / 4 * 4 + grain);
            pixel[1] = static_cast<unsigned char>(band * 40 + (y * 90 / (height + 1)));
            pixel[2] = static_cast<unsigned char>(((x + y) / 8 % 32) * 6 + grain);
            const bool inside =
                !cut_out || ((x - width / 2.0) * (x - width / 2.0) / (width * width) +
                                 (y - height / 2.0) * (y - height / 2.0) / (height * height) <
                             0.2);
            pixel[3] = inside ? 255 : 0;
        }
    return image;
}

struct Tile {
    std::string image;
    unsigned int x;
    unsigned int y;
    bool highlight;
    const char* block;
    std::size_t buffer_id;
    std::size_t offset;
    std::size_t compressed;
    std::size_t size;
};

struct Fixture {
    std::vector<std::vector<char>> packages;
    std::vector<Tile> tiles;
    std::size_t pixel_bytes = 0;
    std::size_t stored_bytes = 0;
    std::size_t largest_tile = 0;

    // `halves` halves of the standard set: 14 backgrounds, 40 objects and 40 animation frames.
    explicit Fixture(std::uint32_t halves = 2) {
        std::vector<Entry> entries;
        for (std::uint32_t i = 0; i < 7 * halves; ++i)
            entries.push_back({"images/backgrounds/room_" + std::to_string(i) + ".png",
                               Storage::image,
                               {},
                               painted(1920, 1080, i, false),
                               -1});
        for (std::uint32_t i = 0; i < 20 * halves; ++i)
            entries.push_back({"images/objects/object_" + std::to_string(i) + ".png",
                               Storage::image,
                               {},
                               painted(400, 400, 100 + i, true),
                               -1});
        for (std::uint32_t i = 0; i < 20 * halves; ++i)
            entries.push_back({"images/animations/walk_" + std::to_string(i) + ".png",
                               Storage::image,
                               {},
                               painted(450, 450, 200 + i, true),
                               -1});
        const Package_set built = build(entries);
        packages.assign(built.begin(), built.end());
        for (const auto& package : packages)
            stored_bytes += package.size();

        Packaged_asset_manager::init("", true);
        Packaged_asset_manager::load(packages);
        const auto& index = Packaged_asset_manager::asset_map();
        for (const Entry& entry : entries) {
            const auto& info = index.at(entry.key);
            for (unsigned int x = 0; x < Splitter::nb_sub(info.width); ++x)
                for (unsigned int y = 0; y < Splitter::nb_sub(info.height); ++y)
                    for (bool highlight : {false, true}) {
                        const std::string key = entry.key + "." + std::to_string(x) + "x" +
                                                std::to_string(y) + (highlight ? ".HL" : "");
                        const auto found = index.find(key);
                        if (found == index.end())
                            continue;
                        const Packaged_asset_info& tile = found->second;
                        tiles.push_back({entry.key, x, y, highlight,
                                         packages[tile.buffer_id].data() + tile.offset,
                                         tile.buffer_id, tile.offset, tile.compressed_size,
                                         tile.size});
                        pixel_bytes += tile.size;
                        largest_tile = std::max(largest_tile, tile.size);
                    }
        }
    }
};

const Fixture& fixture() {
    static const Fixture instance;
    return instance;
}

double index_and_decode(std::vector<std::vector<char>> packages, std::vector<char>& pixels) {
    const auto start = std::chrono::steady_clock::now();
    Packaged_asset_manager::load(std::move(packages));
    for (const Tile& tile : fixture().tiles)
        Packaged_asset_manager::open(tile.image, pixels.data(), pixels.size(), tile.x, tile.y,
                                     tile.highlight);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double bare_lz4(std::vector<char>& pixels) {
    const auto start = std::chrono::steady_clock::now();
    for (const Tile& tile : fixture().tiles) {
        const int result =
            LZ4_decompress_safe(tile.block, pixels.data(), static_cast<int>(tile.compressed),
                                static_cast<int>(pixels.size()));
        benchmark::DoNotOptimize(result);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture().pixel_bytes));
    state.counters["tiles"] = static_cast<double>(fixture().tiles.size());
    state.counters["pixel_MiB"] = static_cast<double>(fixture().pixel_bytes) / (1 << 20);
    state.counters["stored_MiB"] = static_cast<double>(fixture().stored_bytes) / (1 << 20);
}

void BM_index_and_decode_every_tile(benchmark::State& state) {
    std::vector<char> pixels(fixture().largest_tile);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::vector<char>> packages = fixture().packages;
        state.ResumeTiming();
        index_and_decode(std::move(packages), pixels);
    }
    report(state);
}
BENCHMARK(BM_index_and_decode_every_tile)->Unit(benchmark::kMillisecond);

void BM_bare_lz4_same_blocks(benchmark::State& state) {
    std::vector<char> pixels(fixture().largest_tile);
    for (auto _ : state)
        bare_lz4(pixels);
    report(state);
}
BENCHMARK(BM_bare_lz4_same_blocks)->Unit(benchmark::kMillisecond);

void BM_engine_vs_bare_lz4(benchmark::State& state) {
    std::vector<char> pixels(fixture().largest_tile);
    double engine = 0;
    double bare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::vector<char>> packages = fixture().packages;
        state.ResumeTiming();
        engine += index_and_decode(std::move(packages), pixels);
        bare += bare_lz4(pixels);
    }
    report(state);
    state.counters["ratio"] = engine / bare;
}
BENCHMARK(BM_engine_vs_bare_lz4)->Unit(benchmark::kMillisecond);

// A package set written to a folder of its own, removed at exit.
struct Disk_set {
    Fixture fixture;
    std::string folder;

    explicit Disk_set(std::uint32_t halves) : fixture(halves) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder = pattern + "/";
        for (std::size_t id = 0; id < fixture.packages.size(); ++id) {
            std::ofstream out(file(id), std::ios::binary);
            out.write(fixture.packages[id].data(),
                      static_cast<std::streamsize>(fixture.packages[id].size()));
        }
    }
    ~Disk_set() { std::filesystem::remove_all(folder); }
    Disk_set(const Disk_set&) = delete;
    Disk_set& operator=(const Disk_set&) = delete;

    std::string file(std::size_t id) const {
        return folder + Packaged_asset_manager::packages[id] + ".data";
    }
};

const Disk_set& disk_set(std::uint32_t halves) {
    static std::map<std::uint32_t, std::unique_ptr<Disk_set>> sets;
    auto& set = sets[halves];
    if (!set)
        set = std::make_unique<Disk_set>(halves);
    return *set;
}

double init_and_decode(const Disk_set& set, std::vector<char>& pixels) {
    const auto start = std::chrono::steady_clock::now();
    if (!Packaged_asset_manager::init(set.folder, false))
        std::abort();
    for (const Tile& tile : set.fixture.tiles)
        Packaged_asset_manager::open(tile.image, pixels.data(), pixels.size(), tile.x, tile.y,
                                     tile.highlight);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The least a reader can do: read() each whole file into fresh memory, then decode the blocks.
double read_and_bare_lz4(const Disk_set& set, std::vector<char>& pixels) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<char[]>> files;
    for (std::size_t id = 0; id < set.fixture.packages.size(); ++id) {
        const int fd = ::open(set.file(id).c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (fd < 0 || ::fstat(fd, &info) != 0)
            std::abort();
        const auto size = static_cast<std::size_t>(info.st_size);
        files.emplace_back(new char[size]);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got = ::read(fd, files.back().get() + done, size - done);
            if (got <= 0)
                std::abort();
            done += static_cast<std::size_t>(got);
        }
        ::close(fd);
    }
    for (const Tile& tile : set.fixture.tiles) {
        const int result = LZ4_decompress_safe(files[tile.buffer_id].get() + tile.offset,
                                               pixels.data(), static_cast<int>(tile.compressed),
                                               static_cast<int>(pixels.size()));
        benchmark::DoNotOptimize(result);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_init_from_disk_vs_read_and_bare_lz4(benchmark::State& state) {
    const Disk_set& set = disk_set(static_cast<std::uint32_t>(state.range(0)));
    std::vector<char> pixels(set.fixture.largest_tile);
    std::vector<double> engine;
    std::vector<double> bare;
    for (auto _ : state) {
        engine.push_back(init_and_decode(set, pixels));
        bare.push_back(read_and_bare_lz4(set, pixels));
    }
    Packaged_asset_manager::init("", true); // frees the package buffers
    auto total = [](const std::vector<double>& times) {
        double sum = 0;
        for (const double t : times)
            sum += t;
        return sum;
    };
    const double runs = static_cast<double>(engine.size());
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * set.fixture.pixel_bytes));
    state.counters["set"] = static_cast<double>(state.range(0)) / 2;
    state.counters["stored_MiB"] = static_cast<double>(set.fixture.stored_bytes) / (1 << 20);
    state.counters["pixel_MiB"] = static_cast<double>(set.fixture.pixel_bytes) / (1 << 20);
    state.counters["engine_ms"] = total(engine) / runs * 1000;
    state.counters["engine_max_ms"] = *std::max_element(engine.begin(), engine.end()) * 1000;
    state.counters["bare_ms"] = total(bare) / runs * 1000;
    state.counters["bare_max_ms"] = *std::max_element(bare.begin(), bare.end()) * 1000;
    state.counters["ratio"] = total(engine) / total(bare);
}
BENCHMARK(BM_init_from_disk_vs_read_and_bare_lz4)
    ->Arg(1)
    ->Arg(2)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
