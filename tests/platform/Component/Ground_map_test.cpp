#include <filesystem>
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
using Orvane::Packer::Image;

/// A ground-map image drawn as text: '#' a red wall, '.' gray 128; 10 x 10 pixels a character.
Image map_image(const std::vector<std::string>& rows) {
    Image image;
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
    Image image = map_image(room);
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
    Image wide = map_image({std::string(60, '.')});
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
    ASSERT_EQ(entries.size(), 3u) << "a graph for the ground map only";
    EXPECT_EQ(entries[2].key, "images/backgrounds/hall_map.graph") << "right after its image";
    Orvane::Test::load_packages(entries);
    Ground_map map("background", "ground_map", key, 300, 100, [] {});
    EXPECT_GT(map.graph().vertex_count(), 4u);
    std::vector<Point> path;
    map.find_path(Point(20, 20), Point(75, 15), path);
    EXPECT_FALSE(path.empty());
}

} // namespace
