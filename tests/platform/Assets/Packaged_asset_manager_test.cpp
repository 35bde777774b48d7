#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Assets/Splitter.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/SDL_pixel_format.h>

#include "support/Packages.h"
#include "support/Temp_pref_folder.h"

namespace {

using Orvane::Packaged_asset;
using Orvane::Packaged_asset_info;
using Orvane::Packaged_asset_manager;
using Orvane::Splitter;
using Orvane::Third_party::SDL_file;
using namespace Orvane::Packer;
using namespace Orvane::Test;

using Index = std::unordered_map<std::string, Packaged_asset_info>;

std::string read_all(Packaged_asset asset) {
    std::string text(asset.size(), '\0');
    EXPECT_EQ(asset.read(text.data(), text.size()), text.size());
    asset.close();
    return text;
}

std::vector<char> tile_of(const Image& image, const Splitter::Rect& rect) {
    std::vector<char> pixels;
    for (unsigned int y = rect.y; y < rect.y + rect.h; ++y) {
        const auto* row = image.pixels.data() + (std::size_t{y} * image.width + rect.x) * 4;
        pixels.insert(pixels.end(), row, row + std::size_t{rect.w} * 4);
    }
    return pixels;
}

std::vector<char> decode(const std::string& key, unsigned int x, unsigned int y, bool highlight) {
    const std::string tile =
        key + "." + std::to_string(x) + "x" + std::to_string(y) + (highlight ? ".HL" : "");
    const Packaged_asset_info& info = Packaged_asset_manager::asset_map().at(tile);
    std::vector<char> pixels(info.size, '\x7F');
    Packaged_asset_manager::open(key, pixels.data(), pixels.size(), x, y, highlight);
    return pixels;
}

// ---------------------------------------------------------------------------------------------
// Round trips through the writer and the reader

TEST(Packaged_asset_manager, RawAndCompressedEntriesComeBackByteForByte) {
    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary.push_back(static_cast<char>(i));
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "line " + std::to_string(i) + "\n";
    const std::vector<Entry> entries = {
        raw_entry("data/init.yaml", "start: hall\n"),     raw_entry("fonts/bin.ttf", binary),
        compressed_entry("data/rooms/hall.yaml", text),   compressed_entry("sounds/a.ogg", binary),
        compressed_entry("data/notes.lz4.txt", "packed"), raw_entry("x", "y", 3)};
    load_packages(entries);
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.key);
        ASSERT_TRUE(Packaged_asset_manager::exists(entry.key));
        Packaged_asset asset = Packaged_asset_manager::open(entry.key);
        ASSERT_TRUE(asset);
        EXPECT_EQ(asset.size(), entry.bytes.size());
        EXPECT_EQ(asset.buffer() != nullptr, entry.storage == Storage::compressed);
        EXPECT_EQ(read_all(asset), std::string(entry.bytes.begin(), entry.bytes.end()));
        asset.close();
        const Packaged_asset_info& info = Packaged_asset_manager::asset_map().at(entry.key);
        EXPECT_EQ(info.buffer_id,
                  entry.package >= 0 ? std::size_t(entry.package) : package_for(entry.key));
        EXPECT_EQ(info.compressed_size == 0, entry.storage == Storage::raw);
    }
    EXPECT_FALSE(Packaged_asset_manager::exists("data/unknown.yaml"));
    EXPECT_FALSE(Packaged_asset_manager::open("data/unknown.yaml"));
}

TEST(Packaged_asset_manager, FirstKeyWinsAcrossPackagesAndWithinOne) {
    load_packages(std::vector<Entry>{
        raw_entry("data/a.yaml", "sounds", 5), raw_entry("data/a.yaml", "images", 2),
        compressed_entry("data/b.yaml", "first", 4), raw_entry("data/b.yaml", "second", 4),
        raw_entry("data/b.yaml", "general", 0)});
    EXPECT_EQ(read_all(Packaged_asset_manager::open("data/a.yaml")), "images");
    EXPECT_EQ(read_all(Packaged_asset_manager::open("data/b.yaml")), "general");

    Package_set packages;
    append_raw(packages[1], "data/c.yaml", {'1'});
    append_image(packages[1], "data/c.sdl_surface.lz4", test_image(4, 4), false, false);
    append_image(packages[1], "images/rooms/d.sdl_surface.lz4", test_image(3, 3), false, false);
    append_image(packages[1], "images/rooms/d.sdl_surface.lz4", test_image(5, 5), false, false);
    append_raw(packages[1], "data/c.yaml", {'2'});
    for (auto& package : packages)
        append_end(package);
    load_packages(packages);
    EXPECT_EQ(read_all(Packaged_asset_manager::open("data/c.yaml")), "1");
    EXPECT_EQ(Packaged_asset_manager::image_info("images/rooms/d.png").width, 3);
    EXPECT_EQ(decode("images/rooms/d.png", 0, 0, false), tile_of(test_image(3, 3), {0, 0, 3, 3}));
}

struct Image_case {
    std::string key;
    unsigned int width;
    unsigned int height;
    bool masked;
    bool single_tile;
};

void PrintTo(const Image_case& image, std::ostream* out) {
    *out << image.key << " " << image.width << "x" << image.height;
}

class Packaged_image : public ::testing::TestWithParam<Image_case> {};

TEST_P(Packaged_image, TilesHighlightsAndMaskComeBackByteForByte) {
    const auto& [key, width, height, masked, single_tile] = GetParam();
    const Image image = test_image(width, height);
    load_packages({image_entry(key, image)});

    const auto info = Packaged_asset_manager::image_info(key);
    EXPECT_EQ(info.width, static_cast<int>(width));
    EXPECT_EQ(info.height, static_cast<int>(height));
    EXPECT_EQ(info.format, Orvane::Third_party::pixel_format_rgba32());

    const unsigned int columns = single_tile ? 1 : Splitter::nb_sub(width);
    const unsigned int rows = single_tile ? 1 : Splitter::nb_sub(height);
    const Image bright = highlight_of(image);
    for (unsigned int x = 0; x < columns; ++x)
        for (unsigned int y = 0; y < rows; ++y) {
            SCOPED_TRACE("tile " + std::to_string(x) + "x" + std::to_string(y));
            const Splitter::Rect rect = single_tile ? Splitter::Rect{0, 0, width, height}
                                                    : Splitter::rect(width, height, x, y);
            const std::string tile = key + "." + std::to_string(x) + "x" + std::to_string(y);
            const Packaged_asset_info& entry = Packaged_asset_manager::asset_map().at(tile);
            EXPECT_EQ(entry.width, rect.w);
            EXPECT_EQ(entry.height, rect.h);
            EXPECT_EQ(entry.size, std::size_t{rect.w} * rect.h * 4);
            EXPECT_EQ(decode(key, x, y, false), tile_of(image, rect));
            EXPECT_EQ(Packaged_asset_manager::exists(tile + ".HL"), masked);
            if (masked) {
                EXPECT_EQ(decode(key, x, y, true), tile_of(bright, rect));
            }
        }
    EXPECT_FALSE(Packaged_asset_manager::exists(key + "." + std::to_string(columns) + "x0"));
    EXPECT_FALSE(Packaged_asset_manager::exists(key + ".0x" + std::to_string(rows)));

    ASSERT_EQ(Packaged_asset_manager::exists(key + ".mask"), masked);
    if (masked) {
        const Orvane::Bitmap_2 mask = mask_of(image);
        const std::string stored = read_all(Packaged_asset_manager::open(key + ".mask"));
        ASSERT_EQ(stored.size(), mask.size());
        EXPECT_TRUE(
            std::equal(stored.begin(), stored.end(), mask.data(),
                       [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; }));
        EXPECT_FALSE(mask(0, 0)) << "pixel (0, 0) is transparent in the test image";
        EXPECT_TRUE(mask(1, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Packages, Packaged_image,
    ::testing::Values(Image_case{"images/rooms/hall.png", 1920, 1080, false, false},
                      Image_case{"images/rooms/narrow.png", 511, 40, false, false},
                      Image_case{"images/animations/walk.png", 512, 513, false, false},
                      Image_case{"images/objects/key.png", 600, 520, true, false},
                      Image_case{"images/interface/button.png", 30, 20, true, false},
                      Image_case{"images/inventory/coin.png", 40, 41, true, false},
                      Image_case{"images/masks/door.png", 1030, 10, true, false},
                      Image_case{"images/backgrounds/hall_map.png", 1100, 600, false, true},
                      Image_case{"images/objects/table_map.png", 700, 30, true, true}),
    [](const auto& test) {
        std::string name = test.param.key.substr(7);
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

TEST(Packaged_asset_manager, ImageKeyEndsAtTheFirstSurfaceMarker) {
    Package_set packages;
    append_image(packages[2], "images/rooms/hall.sdl_surface.lz4.old", test_image(5, 2), false,
                 false);
    append_compressed(packages[2], "data/rooms/hall.yaml.lz4", {'o', 'k'});
    for (auto& package : packages)
        append_end(package);
    load_packages(packages);
    EXPECT_TRUE(Packaged_asset_manager::exists("images/rooms/hall.png"));
    EXPECT_TRUE(Packaged_asset_manager::exists("images/rooms/hall.png.0x0"));
    const Packaged_asset_info& image =
        Packaged_asset_manager::asset_map().at("images/rooms/hall.png");
    EXPECT_EQ(image.offset, 0u);
    EXPECT_EQ(image.size, 0u);
    EXPECT_EQ(read_all(Packaged_asset_manager::open("data/rooms/hall.yaml")), "ok");
}

TEST(Packaged_asset_manager, ZeroSizeEntriesOpenAsValidEmptyStreams) {
    Package_set packages;
    append_raw(packages[0], "data/empty.yaml", {});
    append_compressed(packages[0], "data/empty_packed.yaml.lz4", {});
    for (auto& package : packages)
        append_end(package);
    load_packages(packages);
    for (const char* name : {"data/empty.yaml", "data/empty_packed.yaml"}) {
        SCOPED_TRACE(name);
        Packaged_asset asset = Packaged_asset_manager::open(name);
        ASSERT_TRUE(asset);
        EXPECT_EQ(asset.size(), 0u);
        char byte;
        EXPECT_EQ(asset.read(&byte, 1), 0u);
        asset.close();
    }
}

TEST(Packaged_asset_manager, FilesOnDiskAreIndexedAndLocalModeReadsPlainFiles) {
    const Temp_pref_folder scratch;
    const std::string folder = scratch.root() + "/data/";
    write_packages(build({compressed_entry("data/init.yaml", "start: hall\n"),
                          image_entry("images/objects/key.png", test_image(20, 10)),
                          raw_entry("sounds/step.ogg", "OggS")}),
                   folder);
    ASSERT_TRUE(Packaged_asset_manager::init(folder, false));
    EXPECT_EQ(Packaged_asset_manager::asset_map().size(), 6u);
    EXPECT_EQ(read_all(Packaged_asset_manager::open("data/init.yaml")), "start: hall\n");
    EXPECT_EQ(Packaged_asset_manager::local_file_name("x"), folder + "x");

    ASSERT_TRUE(Packaged_asset_manager::init(folder, true));
    EXPECT_FALSE(Packaged_asset_manager::exists("data/init.yaml"));
    EXPECT_FALSE(Packaged_asset_manager::open("data/init.yaml", false));
    Packaged_asset local = Packaged_asset_manager::open("sounds.data", true);
    ASSERT_TRUE(local);
    EXPECT_EQ(local.size(), std::filesystem::file_size(folder + "sounds.data"));
    local.close();

    std::filesystem::remove(folder + "general.data");
    EXPECT_FALSE(Packaged_asset_manager::init(folder, false));
    EXPECT_TRUE(Packaged_asset_manager::asset_map().empty());
}

// ---------------------------------------------------------------------------------------------
// Bad packages

// A package holding one record of every kind.
std::vector<char> sample_package() {
    std::vector<char> package;
    append_raw(package, "data/init.yaml", {'a', 'b', 'c'});
    append_compressed(package, "data/locale.yaml.lz4", std::vector<char>(300, 'z'));
    append_image(package, "images/objects/key.sdl_surface.lz4", test_image(520, 3), true, false);
    append_image(package, "images/rooms/hall.sdl_surface.lz4", test_image(3, 3), false, false);
    append_end(package);
    return package;
}

TEST(Packaged_asset_manager, EveryTruncationIsReportedWithinTheBuffer) {
    const std::vector<char> whole = sample_package();
    Index index;
    ASSERT_FALSE(Packaged_asset_manager::index_package(whole, 0, index));
    EXPECT_EQ(index.size(), 10u);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<char> cut(whole.begin(),
                                    whole.begin() + static_cast<std::ptrdiff_t>(length));
        Index partial;
        const auto error = Packaged_asset_manager::index_package(cut, 0, partial);
        ASSERT_TRUE(error) << "a package cut to " << length << " bytes was accepted";
        EXPECT_LE(error->offset, length);
        for (const auto& [key, info] : partial)
            EXPECT_LE(info.offset + info.compressed_size, length) << key;
    }
}

struct Corruption {
    std::string what;
    std::function<void(std::vector<char>&, const Index&)> damage;
    std::string reason;
};

void put_u32(std::vector<char>& package, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        package[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

TEST(Packaged_asset_manager, MalformedRecordsAreReportedWithTheirOffset) {
    const std::vector<char> whole = sample_package();
    Index good;
    ASSERT_FALSE(Packaged_asset_manager::index_package(whole, 0, good));
    const std::size_t image_format = good.at("images/objects/key.png.0x0").offset - 4 - 4;
    const Corruption cases[] = {
        {"unknown pixel format", [&](auto& p, auto&) { put_u32(p, image_format, 0x12345678); },
         "not a known 4-byte format"},
        {"3-byte pixel format", [&](auto& p, auto&) { put_u32(p, image_format, 0x17101803); },
         "not a known 4-byte format"},
        {"image header claiming huge tiles",
         [](auto& p, const Index& i) {
             put_u32(p, i.at("images/rooms/hall.png.0x0").offset - 12, 0xFFFFFFFF);
         },
         "block of images/rooms/hall.png.0x0 claims 1048576 bytes"},
        {"mask of the wrong size",
         [](auto& p, const Index& i) {
             put_u32(p, i.at("images/objects/key.png.mask").offset - 8, 7);
         },
         "mask of images/objects/key.png holds 7 bytes"},
        {"huge uncompressed size",
         [](auto& p, const Index& i) {
             put_u32(p, i.at("data/locale.yaml").offset - 8, 0xFFFFFFFF);
         },
         "data/locale.yaml claims 4294967295 bytes"},
        {"raw size past the end",
         [](auto& p, const Index& i) { put_u32(p, i.at("data/init.yaml").offset - 4, 0x7FFFFFFF); },
         "data/init.yaml of 2147483647 bytes runs past the end"},
        {"tile block past the end",
         [](auto& p, const Index& i) {
             put_u32(p, i.at("images/rooms/hall.png.0x0").offset - 4, 1u << 30);
         },
         "images/rooms/hall.png.0x0 runs past the end"},
        {"empty compressed block",
         [](auto& p, const Index& i) { put_u32(p, i.at("data/locale.yaml").offset - 4, 0); },
         "data/locale.yaml claims 300 bytes from an LZ4 block of 0"},
        {"empty tile block",
         [](auto& p, const Index& i) {
             put_u32(p, i.at("images/objects/key.png.1x0.HL").offset - 4, 0);
         },
         "block of images/objects/key.png.1x0.HL is empty"},
        {"no closing 0 byte", [](auto& p, auto&) { p.back() = 5; }, "runs past the end"},
    };
    for (const Corruption& corruption : cases) {
        SCOPED_TRACE(corruption.what);
        std::vector<char> package = whole;
        corruption.damage(package, good);
        Index index;
        const auto error = Packaged_asset_manager::index_package(package, 0, index);
        ASSERT_TRUE(error);
        EXPECT_NE(error->reason.find(corruption.reason), std::string::npos) << error->reason;
        EXPECT_LT(error->offset, package.size());
    }
    std::vector<char> unended(whole.begin(), whole.end() - 1);
    Index index;
    EXPECT_EQ(Packaged_asset_manager::index_package(unended, 0, index)->reason,
              "the package ends without its closing 0 byte");
}

TEST(Packaged_asset_managerDeathTest, UnknownImagesAndTilesAreFatal) {
    load_packages({image_entry("images/rooms/hall.png", test_image(600, 10)),
                   image_entry("images/objects/key.png", test_image(10, 10))});
    std::vector<char> pixels(1 << 20);
    EXPECT_EXIT(Packaged_asset_manager::image_info("images/rooms/none.png"),
                ::testing::ExitedWithCode(1), "Packaged asset images/rooms/none.png not found");
    EXPECT_EXIT(Packaged_asset_manager::open("images/rooms/hall.png", pixels.data(), pixels.size(),
                                             0, 0, true),
                ::testing::ExitedWithCode(1),
                "Packaged asset images/rooms/hall.png.0x0.HL not found");
    EXPECT_EXIT(Packaged_asset_manager::open("images/rooms/hall.png", pixels.data(), pixels.size(),
                                             2, 0, false),
                ::testing::ExitedWithCode(1), "Packaged asset images/rooms/hall.png.2x0 not found");
    EXPECT_EXIT(
        Packaged_asset_manager::open("images/objects/key.png", pixels.data(), 399, 0, 0, true),
        ::testing::ExitedWithCode(1),
        "Packaged asset images/objects/key.png.0x0.HL needs 400 bytes, the destination holds 399");
}

TEST(Packaged_asset_managerDeathTest, BlocksOfTheWrongSizeAreFatal) {
    Package_set packages;
    append_compressed(packages[0], "data/bad.yaml.lz4", {'h', 'e', 'l', 'l', 'o'});
    put_u32(packages[0], 1 + std::string("data/bad.yaml.lz4").size(), 6);
    append_compressed(packages[0], "data/garbage.yaml.lz4", {'h', 'e', 'l', 'l', 'o'});
    // "hello" is one literal run: a token claiming a longer run makes the block corrupt
    packages[0][packages[0].size() - 6] = '\xF0';
    for (auto& package : packages)
        append_end(package);
    load_packages(packages);
    EXPECT_EXIT(Packaged_asset_manager::open("data/bad.yaml"), ::testing::ExitedWithCode(1),
                "LZ4 decompressed size differs from expected \\(5 != 6\\) in data/bad.yaml "
                "\\(package .*general.data\\)");
    EXPECT_EXIT(Packaged_asset_manager::open("data/garbage.yaml"), ::testing::ExitedWithCode(1),
                "LZ4 decompressed size differs from expected \\(-?[0-9]+ != 5\\) in "
                "data/garbage.yaml \\(package .*general.data\\)");

    // a tile whose block ends too early: its last sequence is cut
    Package_set images = build({image_entry("images/rooms/hall.png", test_image(8, 8))});
    Index index;
    ASSERT_FALSE(Packaged_asset_manager::index_package(images[2], 2, index));
    const Packaged_asset_info tile = index.at("images/rooms/hall.png.0x0");
    put_u32(images[2], tile.offset - 4, static_cast<std::uint32_t>(tile.compressed_size - 1));
    images[2].erase(images[2].begin() + static_cast<std::ptrdiff_t>(tile.offset) + 1);
    load_packages(images);
    std::vector<char> pixels(tile.size);
    EXPECT_EXIT(Packaged_asset_manager::open("images/rooms/hall.png", pixels.data(),
                                             pixels.size(), 0, 0, false),
                ::testing::ExitedWithCode(1),
                "LZ4 decompressed size differs from expected \\(-?[0-9]+ != 256\\) in "
                "images/rooms/hall.png.0x0 \\(package .*images.data\\)");
}

// A compressed entry of `stored` zero bytes (no valid LZ4 block) claiming `claimed` bytes, in
// the sounds package.
void load_entry_claiming(std::uint32_t stored, std::uint32_t claimed) {
    const std::string name = "sounds/music.ogg.lz4";
    Package_set packages;
    const std::string head = static_cast<char>(name.size()) + name + std::string(8, '\0');
    std::vector<char>& sounds = packages[5];
    sounds.assign(head.size() + stored, '\0');
    std::copy(head.begin(), head.end(), sounds.begin());
    put_u32(sounds, head.size() - 8, claimed);
    put_u32(sounds, head.size() - 4, stored);
    for (auto& package : packages)
        append_end(package);
    load_packages(packages);
}

// A corrupt entry may claim up to 255 times its stored size: the memory is not zero-filled
// first, so only the decoding runs, and fails naming the entry and its package.
TEST(Packaged_asset_managerDeathTest, CorruptEntryClaimingHugeSizeFailsNamingIt) {
    const std::uint32_t stored = 8u << 20;
    load_entry_claiming(stored, 2000000000u);
    EXPECT_EXIT(Packaged_asset_manager::open("sounds/music.ogg"), ::testing::ExitedWithCode(1),
                "LZ4 decompressed size differs from expected \\(-[0-9]+ != 2000000000\\) in "
                "sounds/music.ogg \\(package .*sounds.data\\)");
    // the largest size the format can claim, 255 times the stored bytes
    load_entry_claiming(0xFFFFFFFFu / 255, 0xFFFFFFFFu);
    EXPECT_EXIT(Packaged_asset_manager::open("sounds/music.ogg"), ::testing::ExitedWithCode(1),
                "LZ4 decompressed size differs from expected \\(-1 != 4294967295\\) in "
                "sounds/music.ogg \\(package .*sounds.data\\)");
}

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_TEST_ASAN 1
#endif
#endif

TEST(Packaged_asset_managerDeathTest, MemoryRunningOutForAnEntryIsFatalNamingIt) {
#ifdef ORVANE_TEST_ASAN
    GTEST_SKIP() << "the sanitizer reserves more address space than any limit leaves";
#else
    load_entry_claiming(8u << 20, 2000000000u);
    EXPECT_EXIT(
        {
            // room for what the process holds now, not for the entry's 2 GB
            rlimit limit{};
            getrlimit(RLIMIT_AS, &limit);
            std::ifstream statm("/proc/self/statm");
            std::size_t pages = 0;
            statm >> pages;
            limit.rlim_cur = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + (512u << 20);
            setrlimit(RLIMIT_AS, &limit);
            Packaged_asset_manager::open("sounds/music.ogg");
        },
        ::testing::ExitedWithCode(1),
        "Cannot allocate 2000000000 bytes to decompress sounds/music.ogg \\(package "
        ".*sounds.data\\)");
#endif
}

TEST(Packaged_asset_managerDeathTest, DamagedOrMissingPackageFilesNameTheFile) {
    const Temp_pref_folder scratch;
    const std::string folder = scratch.root() + "/data/";
    write_packages(build({raw_entry("data/init.yaml", "start: hall\n"),
                          image_entry("images/rooms/hall.png", test_image(40, 40))}),
                   folder);
    const auto images_size = std::filesystem::file_size(folder + "images.data");
    std::filesystem::resize_file(folder + "images.data", images_size - 10);
    EXPECT_EXIT(Packaged_asset_manager::init(folder, false), ::testing::ExitedWithCode(1),
                "Package .*/data/images.data is malformed at offset [0-9]+: .*runs past the end");

    std::filesystem::remove(folder + "images.data");
    EXPECT_EXIT(Packaged_asset_manager::init(folder, false), ::testing::ExitedWithCode(1),
                "Package file .*/data/images.data is missing or unreadable");

    std::filesystem::create_directory(folder + "images.data");
    EXPECT_EXIT(Packaged_asset_manager::init(folder, false), ::testing::ExitedWithCode(1),
                "Package file .*/data/images.data is missing or unreadable");

    Package_set packages = build({raw_entry("data/init.yaml", "x")});
    packages[5].clear();
    EXPECT_EXIT(load_packages(packages), ::testing::ExitedWithCode(1),
                "Package sounds.data is malformed at offset 0: the package ends without its "
                "closing 0 byte");
}

// Files that are not plain readable files in place of a package: start-up neither hangs nor
// aborts, it stops with the message naming the file.
TEST(Packaged_asset_managerDeathTest, PackagesThatAreNotPlainFilesNameTheFile) {
    const Temp_pref_folder scratch;
    const std::string folder = scratch.root() + "/data/";
    write_packages(build({raw_entry("data/init.yaml", "start: hall\n")}), folder);
    const std::string sounds = folder + "sounds.data";

    std::filesystem::remove(sounds);
    ASSERT_EQ(mkfifo(sounds.c_str(), 0600), 0);
    EXPECT_EXIT(Packaged_asset_manager::init(folder, false), ::testing::ExitedWithCode(1),
                "Package file .*/data/sounds.data is missing or unreadable");

    // a sparse file: larger than memory, it costs no disk
    std::filesystem::remove(sounds);
    const std::uintmax_t huge =
        std::max<std::uintmax_t>(std::uintmax_t{100} << 30, 2 * SDL_file::memory_size());
    std::ofstream{sounds};
    std::filesystem::resize_file(sounds, huge);
    EXPECT_EXIT(Packaged_asset_manager::init(folder, false), ::testing::ExitedWithCode(1),
                "Package file .*/data/sounds.data is missing or unreadable: its " +
                    std::to_string(huge) + " bytes do not fit in memory");
    std::filesystem::remove(sounds);
}

TEST(Packaged_asset_manager, FirstPackageThatIsNotAPlainFileCountsAsMissing) {
    const Temp_pref_folder scratch;
    const std::string folder = scratch.root() + "/data/";
    write_packages(build({raw_entry("data/init.yaml", "start: hall\n")}), folder);
    const std::string general = folder + "general.data";
    std::filesystem::remove(general);
    std::filesystem::create_directory(general);
    EXPECT_FALSE(Packaged_asset_manager::init(folder, false));
    std::filesystem::remove(general);
    ASSERT_EQ(mkfifo(general.c_str(), 0600), 0);
    EXPECT_FALSE(Packaged_asset_manager::init(folder, false)) << "and it does not block";
}

} // namespace
