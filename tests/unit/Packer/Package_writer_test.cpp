#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Ground_map.h>

#include "support/Packages.h"
#include "support/Temp_pref_folder.h"

namespace {

using Orvane::Packaged_asset_manager;
using namespace Orvane::Packer;
using namespace Orvane::Test;
namespace fs = std::filesystem;

std::string read_entry(const std::string& key) {
    Orvane::Packaged_asset asset = Packaged_asset_manager::open(key);
    std::string text(asset.size(), '\0');
    asset.read(text.data(), text.size());
    asset.close();
    return text;
}

void write_file(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

TEST(Package_writer, PackageIsChosenByPath) {
    const std::pair<const char*, std::size_t> cases[] = {{"data/init.yaml", 0},
                                                         {"data/gamecontrollerdb.txt", 0},
                                                         {"fonts/main.ttf", 0},
                                                         {"data/locale.yaml", 1},
                                                         {"locale/fr/texts.yaml", 1},
                                                         {"images/objects/key.png", 2},
                                                         {"images/interface/ok.png", 2},
                                                         {"images/animations/walk.png", 3},
                                                         {"images/characters/bob.png", 3},
                                                         {"images/backgrounds/hall.png", 4},
                                                         {"images/scenery/tree.png", 4},
                                                         {"sounds/step.ogg", 5},
                                                         {"musics/theme.ogg", 5}};
    for (const auto& [key, package] : cases)
        EXPECT_EQ(package_for(key), package) << key;
}

TEST(Package_writer, HighlightIsBrighterAndMaskFollowsAlpha) {
    Image image{2, 1, {0, 100, 255, 0, 10, 20, 30, 128}};
    const Image bright = highlight_of(image);
    EXPECT_EQ(bright.pixels, (std::vector<unsigned char>{127, 177, 255, 0, 132, 137, 142, 128}));
    const Orvane::Bitmap_2 mask = mask_of(image);
    EXPECT_EQ(mask.size(), 1u);
    EXPECT_FALSE(mask(0, 0));
    EXPECT_TRUE(mask(1, 0));
}

TEST(Package_writer, EntriesTheReaderCouldNotReadBackAreRefused) {
    Image bad_pixels = test_image(4, 4);
    bad_pixels.pixels.pop_back();
    const std::pair<Entry, const char*> cases[] = {
        {raw_entry("data/empty.yaml", ""), "empty"},
        {compressed_entry("data/empty.yaml", ""), "empty"},
        {raw_entry("data/a.lz4.yaml", "x"), "cannot contain \".lz4\""},
        {compressed_entry("data/a.sdl_surface.lz4", "x"), "\".sdl_surface.lz4\""},
        {image_entry("images/rooms/a.jpg", test_image(2, 2)), "must end with \".png\""},
        {image_entry("images/rooms/a.png", bad_pixels), "do not match"},
        {raw_entry(std::string(256, 'a'), "x"), "1 to 255 bytes"},
        {compressed_entry(std::string(252, 'a'), "x"), "1 to 255 bytes"},
        {raw_entry("data/a.yaml", "x", 6), "no package 6"},
        {compressed_entry("data/a.sdl_surface", "x"), "would read back as \"data/a.png\""},
        {compressed_entry("", "x"), "the name is empty"},
        {image_entry("images/rooms/none.png", test_image(0, 4)), "at least one pixel"},
        {image_entry("images/rooms/none.png", test_image(4, 0)), "at least one pixel"}};
    for (const auto& [entry, reason] : cases) {
        SCOPED_TRACE(entry.key.substr(0, 40));
        try {
            build({entry});
            ADD_FAILURE() << "accepted";
        } catch (const Pack_error& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    }
    EXPECT_NO_THROW(build({raw_entry(std::string(255, 'a'), "x")}));
}

TEST(Package_writer, EveryPackageEndsWithTheZeroByteAndHoldsNoEmptyEntry) {
    const Package_set packages = build({raw_entry("data/init.yaml", "a: 1\n"),
                                        image_entry("images/objects/key.png", test_image(1, 1)),
                                        compressed_entry("sounds/a.ogg", "OggS")});
    for (std::size_t id = 0; id < packages.size(); ++id) {
        SCOPED_TRACE(Packaged_asset_manager::packages[id]);
        ASSERT_FALSE(packages[id].empty());
        EXPECT_EQ(packages[id].back(), 0);
        std::unordered_map<std::string, Orvane::Packaged_asset_info> index;
        ASSERT_FALSE(Packaged_asset_manager::index_package(packages[id], id, index));
        for (const auto& [key, info] : index)
            EXPECT_TRUE(info.size > 0 || info.width > 0) << key;
    }
}

TEST(Package_writer, SourceFolderBecomesPackagesThatTheReaderIndexesExactly) {
    const Temp_pref_folder scratch;
    const fs::path source = fs::path(scratch.root()) / "source";
    std::string yaml;
    for (int i = 0; i < 200; ++i)
        yaml += "key_" + std::to_string(i) + ": value\n";
    std::string noise(3000, '\0');
    std::mt19937 random(7);
    for (char& c : noise)
        c = static_cast<char>(random());
    write_file(source / "data/init.yaml", yaml);
    write_file(source / "data/notes.lz4", "x");
    write_file(source / "data/empty.yaml", "");
    write_file(source / "sounds/step.ogg", noise);
    fs::create_directories(source / "images/objects");
    fs::create_directories(source / "images/backgrounds");
    const Image key = test_image(600, 30);
    const Image map = test_image(1100, 20);
    write_png((source / "images/objects/key.png").string(), key);
    write_png((source / "images/backgrounds/hall_map.png").string(), map);

    std::vector<std::string> skipped;
    const std::vector<Entry> entries = read_folder(source.string(), skipped);
    EXPECT_EQ(skipped, std::vector<std::string>{"data/empty.yaml"});
    std::map<std::string, Storage> storage;
    for (const Entry& entry : entries)
        storage[entry.key] = entry.storage;
    EXPECT_EQ(storage,
              (std::map<std::string, Storage>{{"data/init.yaml", Storage::compressed},
                                              {"data/notes.lz4", Storage::compressed},
                                              {"images/backgrounds/hall_map.graph", Storage::compressed},
                                              {"images/backgrounds/hall_map.mask", Storage::compressed},
                                              {"images/backgrounds/hall_map.png", Storage::image},
                                              {"images/objects/key.png", Storage::image},
                                              {"sounds/step.ogg", Storage::raw}}));

    // the command-line tool makes the same packages
    const char* build_dir = std::getenv("ORVANE_BUILD_DIR");
    ASSERT_NE(build_dir, nullptr);
    const fs::path output = fs::path(scratch.root()) / "data";
    const std::string command = std::string(build_dir) + "/tools/orvane-pack " + source.string() +
                                " " + output.string() + " > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const Package_set expected = build(entries);
    for (std::size_t id = 0; id < expected.size(); ++id) {
        std::ifstream in(output / (std::string(Packaged_asset_manager::packages[id]) + ".data"),
                         std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(bytes, expected[id]) << Packaged_asset_manager::packages[id];
    }

    ASSERT_TRUE(Packaged_asset_manager::init(output.string() + "/", false));
    EXPECT_EQ(read_entry("data/init.yaml"), yaml);
    EXPECT_EQ(read_entry("data/notes.lz4"), "x");
    EXPECT_EQ(read_entry("sounds/step.ogg"), noise);
    EXPECT_FALSE(Packaged_asset_manager::exists("data/empty.yaml"));
    EXPECT_EQ(Packaged_asset_manager::asset_map().at("images/objects/key.png.1x0.HL").buffer_id,
              2u);
    EXPECT_TRUE(Packaged_asset_manager::exists("images/objects/key.png.mask"));
    const auto& whole_map =
        Packaged_asset_manager::asset_map().at("images/backgrounds/hall_map.png.0x0");
    EXPECT_EQ(whole_map.buffer_id, 4u);
    EXPECT_EQ(whole_map.width, 1100);
    std::vector<unsigned char> pixels(whole_map.size);
    Packaged_asset_manager::open("images/backgrounds/hall_map.png", pixels.data(), pixels.size(), 0,
                                 0, false);
    EXPECT_EQ(pixels, map.pixels);
}

TEST(Package_writer, UnreadablePngIsAPackError) {
    const Temp_pref_folder scratch;
    const fs::path source = fs::path(scratch.root()) / "source";
    write_file(source / "images/rooms/broken.png", "not a png");
    std::vector<std::string> skipped;
    EXPECT_THROW(read_folder(source.string(), skipped), Pack_error);
}

} // namespace

namespace {

std::vector<char> file_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Package_writer, HandMadeGraphTheEngineWouldRefuseIsRefused) {
    const Temp_pref_folder scratch;
    const fs::path source = fs::path(scratch.root()) / "source";
    const fs::path graph = source / "images/backgrounds/hall_map.graph";
    write_file(source / "data/init.yaml", "a: 1\n");
    fs::create_directories(source / "images/backgrounds");
    write_png((source / "images/backgrounds/hall_map.png").string(), test_image(40, 20));
    // a sound graph: 2 vertices, 1 edge
    const std::string sound{"\x02\x00"
                            "\x0A\x00\x00\x00\x14\x00\x00\x00\x00"
                            "\x1E\x00\x00\x00\x14\x00\x00\x00\xFF"
                            "\x01\x00"
                            "\x00\x00\x01\x00\x01",
                            27};
    const std::string cases[] = {"", "\x01\x00", sound.substr(0, 20), sound + "x",
                                 sound.substr(0, 22) + "\x05" + sound.substr(23)};
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(std::to_string(bytes.size()) + " bytes");
        write_file(graph, bytes);
        Orvane::Component::Ground_map::Graph ignored;
        const auto problem = Orvane::Component::Ground_map::try_parse_graph(
            bytes.data(), bytes.size(), graph.string(), ignored);
        ASSERT_TRUE(problem.has_value());
        std::vector<std::string> skipped;
        try {
            read_folder(source.string(), skipped);
            ADD_FAILURE() << "accepted";
        } catch (const Pack_error& error) {
            EXPECT_EQ(std::string(error.what()), *problem);
        }
        const auto [status, errors] = run_packer(source, fs::path(scratch.root()) / "data",
                                                 scratch.root());
        EXPECT_NE(status, 0);
        EXPECT_EQ(errors, "orvane-pack: " + *problem + "\n");
    }
    // a sound one is packed as it is, in place of the one the packer would build
    write_file(graph, sound);
    std::vector<std::string> skipped;
    const std::vector<Entry> entries = read_folder(source.string(), skipped);
    const auto stored = std::find_if(entries.begin(), entries.end(), [](const Entry& e) {
        return e.key == "images/backgrounds/hall_map.graph";
    });
    ASSERT_NE(stored, entries.end());
    EXPECT_EQ(std::string(stored->bytes.begin(), stored->bytes.end()), sound);
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const Entry& e) { return e.key.ends_with(".graph"); }),
              1);
}

TEST(Package_writer, OutputFolderInsideTheSourceIsNotPacked) {
    const Temp_pref_folder scratch;
    const fs::path source = fs::path(scratch.root()) / "source";
    write_file(source / "data/init.yaml", "a: 1\n");
    write_file(source / "data/outline.yaml", "b: 2\n"); // a name that starts like the output's
    for (const fs::path& output : {source / "out", source / "data/packed"}) {
        SCOPED_TRACE(output.string());
        for (int run = 0; run < 2; ++run) {
            const auto [status, errors] = run_packer(source, output, scratch.root());
            ASSERT_EQ(status, 0) << errors;
        }
        std::vector<std::string> skipped;
        const std::vector<Entry> entries = read_folder(source.string(), skipped, output.string());
        std::vector<std::string> keys;
        for (const Entry& entry : entries)
            keys.push_back(entry.key);
        EXPECT_EQ(keys, (std::vector<std::string>{"data/init.yaml", "data/outline.yaml"}));
        EXPECT_EQ(file_bytes(output / "general.data"), build(entries)[0]);
        fs::remove_all(output);
    }
    // the source folder itself cannot receive the packages
    const auto [status, errors] = run_packer(source, source, scratch.root());
    EXPECT_NE(status, 0);
    EXPECT_NE(errors.find("Cannot pack " + source.string() + " into itself"), std::string::npos)
        << errors;
    EXPECT_FALSE(fs::exists(source / "general.data"));
}

TEST(Package_writer, PngExtensionInAnotherCaseIsStoredRawWithAWarning) {
    const Temp_pref_folder scratch;
    const fs::path source = fs::path(scratch.root()) / "source";
    fs::create_directories(source / "images/objects");
    write_png((source / "images/objects/a.png").string(), test_image(4, 4));
    for (const char* name : {"b.PNG", "c.Png"})
        write_png((source / "images/objects" / name).string(), test_image(4, 4));
    std::vector<std::string> skipped;
    testing::internal::CaptureStderr();
    const std::vector<Entry> entries = read_folder(source.string(), skipped);
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].storage, Storage::image);
    EXPECT_EQ(entries[1].storage, Storage::raw);
    EXPECT_EQ(entries[2].storage, Storage::raw);
    const std::string warning = " is stored as raw bytes, not as an image: only the extension "
                                "\".png\" in lower case makes an image\n";
    EXPECT_EQ(errors, "Warning: images/objects/b.PNG" + warning +
                          "Warning: images/objects/c.Png" + warning);
}

} // namespace

TEST(Package_writer, YamlFileTheEngineCannotReadIsRefusedNamingFileAndLine) {
    const Temp_pref_folder scratch;
    const fs::path source = fs::path(scratch.root()) / "source";
    write_file(source / "data/init.yaml", "a: 1\n");
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"name: Quay\nobjects: [lamp, net\nmusics: [tide]\n",
         "Failed parsing Yaml file (data/rooms/quay.yaml:3): did not find expected ',' or ']', "
         "while parsing a flow sequence at line 2"},
        {"name: Quay\n  background: quay\n", "Failed parsing Yaml file (data/rooms/quay.yaml:2)"},
        {"name: &a Quay\n", "Failed parsing Yaml file (data/rooms/quay.yaml:1): anchors"},
        {"- name: Quay\n", "Failed parsing Yaml file (data/rooms/quay.yaml:1): its top level is "
                           "not a mapping"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        write_file(source / "data/rooms/quay.yaml", c.text);
        std::vector<std::string> skipped;
        try {
            read_folder(source.string(), skipped);
            ADD_FAILURE() << "accepted";
        } catch (const Pack_error& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(c.message)) << error.what();
        }
        const auto [status, errors] =
            run_packer(source, fs::path(scratch.root()) / "data", scratch.root());
        EXPECT_NE(status, 0);
        EXPECT_TRUE(errors.starts_with(std::string("orvane-pack: ") + c.message)) << errors;
        EXPECT_FALSE(fs::exists(fs::path(scratch.root()) / "data/general.data"));
    }
    // files that are not YAML are not read as YAML
    write_file(source / "data/rooms/quay.yaml", "name: Quay\n");
    write_file(source / "data/notes.txt", "objects: [lamp\n");
    const auto [status, errors] =
        run_packer(source, fs::path(scratch.root()) / "data", scratch.root());
    EXPECT_EQ(status, 0) << errors;
}
