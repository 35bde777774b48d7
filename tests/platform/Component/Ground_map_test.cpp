#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Ground_map.h>

#include "support/Packages.h"
#include "support/Temp_pref_folder.h"

namespace {

using Orvane::Point;
using Orvane::Component::Ground_map;
using Orvane::Packer::Entry;
using Png = Orvane::Packer::Image;

/// A ground-map image drawn as text: '#' a red wall, '.' gray 128; 10 x 10 pixels a character.
Png map_image(const std::vector<std::string>& rows) {
    Png image;
    image.width = unsigned(rows[0].size() * 10);
    image.height = unsigned(rows.size() * 10);
    for (unsigned y = 0; y < image.height; ++y)
        for (unsigned x = 0; x < image.width; ++x) {
            bool wall = rows[y / 10][x / 10] == '#';
            image.pixels.insert(image.pixels.end(),
                                {wall ? (unsigned char)255 : (unsigned char)128,
                                 wall ? (unsigned char)0 : (unsigned char)128,
                                 wall ? (unsigned char)0 : (unsigned char)128, 255});
        }
    return image;
}

const std::vector<std::string> room = {"........", "....##..", "....##..", "........"};
const std::string key = "images/backgrounds/hall_map.png";

TEST(Ground_map_load, ReadsTheMaskAndItsGraphFromThePackages) {
    Png image = map_image(room);
    Orvane::Test::load_packages(
        {Orvane::Test::image_entry(key, image), Orvane::Packer::ground_graph_entry(key, image)});
    Ground_map map("background", "ground_map", key, 300, 100, [] {});
    EXPECT_EQ(map.str_name(), "Ground_map");
    EXPECT_EQ(map.mask().width(), 80);
    EXPECT_EQ(map.max_length(), 89);
    EXPECT_GT(map.graph().vertex_count(), 4u);
    EXPECT_EQ(map.working_graph().vertex_count(), map.graph().vertex_count());
    EXPECT_TRUE(map.is_ground_point({5, 5}));
    EXPECT_FALSE(map.is_ground_point({45, 15}));
    EXPECT_DOUBLE_EQ(map.z_at_point({5, 5}), (1 - 128 / 255.0) * 200 + 100);

    std::vector<Point> path;
    map.find_path(Point(20, 20), Point(75, 15), path);
    ASSERT_FALSE(path.empty());
    EXPECT_GT(path.size(), 1u) << "the block is in the way";
    for (const Point& p : path)
        EXPECT_TRUE(map.is_ground_point(p)) << Orvane::to_string(p);
}

TEST(Ground_map_loadDeathTest, MissingGraphFileIsFatalAndNamesIt) {
    Orvane::Test::load_packages({Orvane::Test::image_entry(key, map_image(room))});
    EXPECT_EXIT(Ground_map("background", "ground_map", key, 300, 100, [] {}),
                ::testing::ExitedWithCode(1),
                "Graph file images/backgrounds/hall_map.graph is missing");
}

TEST(Ground_map_loadDeathTest, MaskImageMustBeOneTile) {
    // Only names ending with "_map.png" are packed as one tile; a wide image is cut in tiles.
    Png wide = map_image({std::string(60, '.')});
    Orvane::Test::load_packages({Orvane::Test::image_entry("images/backgrounds/wide.png", wide)});
    EXPECT_EXIT(Ground_map("background", "ground_map", "images/backgrounds/wide.png", 300, 100,
                           [] {}),
                ::testing::ExitedWithCode(1), "images/backgrounds/wide.png is not stored as one tile");
}

TEST(Ground_map_load, PackerWritesTheGraphBesideEveryGroundMap) {
    namespace fs = std::filesystem;
    const Orvane::Test::Temp_pref_folder scratch;
    const fs::path source = fs::path(scratch.root()) / "source";
    fs::create_directories(source / "images/backgrounds");
    Orvane::Packer::write_png((source / key).string(), map_image(room));
    Orvane::Packer::write_png((source / "images/backgrounds/hall.png").string(), map_image(room));
    std::vector<std::string> skipped;
    const std::vector<Entry> entries = Orvane::Packer::read_folder(source.string(), skipped);
    ASSERT_EQ(entries.size(), 4u) << "a graph and a packed mask for the ground map only";
    EXPECT_EQ(entries[2].key, "images/backgrounds/hall_map.graph") << "right after its image";
    EXPECT_EQ(entries[3].key, "images/backgrounds/hall_map.mask");
    Orvane::Test::load_packages(entries);
    Ground_map map("background", "ground_map", key, 300, 100, [] {});
    EXPECT_GT(map.graph().vertex_count(), 4u);
    std::vector<Point> path;
    map.find_path(Point(20, 20), Point(75, 15), path);
    EXPECT_FALSE(path.empty());
}

/// A ground-map image of every kind of pixel the mask tells apart: gray levels of a gradient,
/// colours that are not gray (one channel off by one), black, white; 150 pixels wide, so that
/// words of 64 pixels straddle rows.
Png varied_map_image() {
    Png image;
    image.width = 150;
    image.height = 37;
    for (unsigned y = 0; y < image.height; ++y)
        for (unsigned x = 0; x < image.width; ++x) {
            auto level = static_cast<unsigned char>((x * 7 + y * 3) % 256);
            unsigned char r = level, g = level, b = level;
            if ((x / 9 + y / 5) % 4 == 0)
                g = static_cast<unsigned char>(level + 1); // not gray
            if (x % 31 == 30)
                r = g = b = (y % 2 == 0) ? 0 : 255;
            if (x < 12 && y < 6)
                r = 255, g = 0, b = 0; // a wall in the corner
            image.pixels.insert(image.pixels.end(), {r, g, b, 255});
        }
    return image;
}

TEST(Ground_map_load, PackedMaskGivesTheMaskAndPathsOfThePicture) {
    // A package made before the packer stored masks has only the picture and the graph: both
    // kinds of package must give the same map.
    const Png image = varied_map_image();
    const Entry picture = Orvane::Test::image_entry(key, image);
    const Entry graph = Orvane::Packer::ground_graph_entry(key, image);
    Orvane::Test::load_packages({picture, graph});
    const Ground_map built("background", "ground_map", key, 300, 100, [] {});
    Entry packed_mask = Orvane::Packer::ground_mask_entry(key, image);
    Orvane::Test::load_packages({picture, graph, packed_mask});
    const Ground_map packed("background", "ground_map", key, 300, 100, [] {});
    // a packed mask stored raw (as the packer keeps a hand-made one that LZ4 does not shrink)
    packed_mask.storage = Orvane::Packer::Storage::raw;
    Orvane::Test::load_packages({picture, graph, packed_mask});
    const Ground_map raw("background", "ground_map", key, 300, 100, [] {});
    EXPECT_EQ(raw.mask().pack(), packed.mask().pack());
    EXPECT_EQ(packed.mask().pack(), built.mask().pack());

    ASSERT_EQ(packed.mask().width(), 150);
    ASSERT_EQ(packed.mask().height(), 37);
    int walkable = 0;
    for (int y = -1; y <= 37; ++y)
        for (int x = -1; x <= 150; ++x) {
            ASSERT_EQ(packed.mask().level(x, y), built.mask().level(x, y)) << x << ", " << y;
            ASSERT_EQ(packed.mask().walkable(x, y), built.mask().walkable(x, y)) << x << ", " << y;
            walkable += built.mask().walkable(x, y);
            // and both as the picture's pixel says
            if (x >= 0 && y >= 0 && x < 150 && y < 37) {
                const std::size_t at = (std::size_t(y) * 150 + std::size_t(x)) * 4;
                const bool gray = image.pixels[at] == image.pixels[at + 1] &&
                                  image.pixels[at] == image.pixels[at + 2];
                ASSERT_EQ(built.mask().level(x, y), gray ? image.pixels[at] : -1) << x << ", " << y;
            }
        }
    EXPECT_GT(walkable, 150 * 37 / 2);
    EXPECT_LT(walkable, 150 * 37);
    std::vector<Point> from_built, from_packed;
    Ground_map a = built, b = packed;
    a.find_path(Point(20, 20), Point(140, 30), from_built);
    b.find_path(Point(20, 20), Point(140, 30), from_packed);
    EXPECT_EQ(from_packed, from_built);
}

TEST(Ground_map_loadDeathTest, DamagedPackedMaskIsFatalAndNamesIt) {
    const Png image = map_image(room);
    const Entry picture = Orvane::Test::image_entry(key, image);
    const Entry graph = Orvane::Packer::ground_graph_entry(key, image);
    Entry truncated = Orvane::Packer::ground_mask_entry(key, image);
    truncated.bytes.pop_back();
    Entry smaller = Orvane::Packer::ground_mask_entry(key, map_image({"..", ".."}));
    smaller.key = truncated.key;
    struct Case {
        const char* name;
        Entry mask;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"truncated", truncated,
         "Packed ground mask images/backgrounds/hall_map.mask has 3611 bytes where 80x40 "
         "pixels take 3612"},
        {"not a mask", Orvane::Test::compressed_entry(truncated.key, "a text file"),
         "Packed ground mask images/backgrounds/hall_map.mask does not start with"},
        {"another size", smaller,
         "Packed ground mask images/backgrounds/hall_map.mask is 20x20 pixels but its image "
         "images/backgrounds/hall_map.png is 80x40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Orvane::Test::load_packages({picture, graph, c.mask});
        EXPECT_EXIT(Ground_map("background", "ground_map", key, 300, 100, [] {}),
                    ::testing::ExitedWithCode(1), c.message);
    }
}

TEST(Ground_map_load, PackerChecksAPackedMaskFoundBesideAGroundMap) {
    namespace fs = std::filesystem;
    const Orvane::Test::Temp_pref_folder scratch;
    const fs::path source = fs::path(scratch.root()) / "source";
    fs::create_directories(source / "images/backgrounds");
    Orvane::Packer::write_png((source / key).string(), map_image(room));
    {
        std::ofstream out(source / "images/backgrounds/hall_map.mask", std::ios::binary);
        out << "not a mask";
    }
    std::vector<std::string> skipped;
    try {
        Orvane::Packer::read_folder(source.string(), skipped);
        ADD_FAILURE() << "a damaged packed mask was packed";
    } catch (const Orvane::Packer::Pack_error& e) {
        EXPECT_NE(std::string(e.what()).find("hall_map.mask does not start with"),
                  std::string::npos)
            << e.what();
    }
}

} // namespace
