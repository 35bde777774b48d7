#include "Package_writer.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <lz4.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Assets/Splitter.h>
#include <Orvane/Component/Ground_map.h>
#include <Orvane/Third_party/SDL_pixel_format.h>
#include <Orvane/Third_party/Yaml.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/little_endian.h>

namespace Orvane::Packer {

namespace {

constexpr std::string_view image_marker = ".sdl_surface.lz4";

void put_name(std::vector<char>& out, const std::string& name) {
    append_little_endian(out, name.size(), 1);
    out.insert(out.end(), name.begin(), name.end());
}

std::vector<char> compress(const char* data, std::size_t size) {
    std::vector<char> block(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(size))));
    const int written = LZ4_compress_default(data, block.data(), static_cast<int>(size),
                                             static_cast<int>(block.size()));
    if (written <= 0)
        throw Pack_error("LZ4 could not compress a block of " + std::to_string(size) + " bytes");
    block.resize(static_cast<std::size_t>(written));
    return block;
}

// u32 size, then the LZ4 block of `size` bytes of data.
void put_block(std::vector<char>& out, const char* data, std::size_t size) {
    const std::vector<char> block = compress(data, size);
    append_little_endian(out, block.size(), 4);
    out.insert(out.end(), block.begin(), block.end());
}

std::vector<char> tile_pixels(const Image& image, const Splitter::Rect& tile) {
    std::vector<char> pixels(std::size_t{tile.w} * tile.h * 4);
    for (unsigned int row = 0; row < tile.h; ++row) {
        const auto* from =
            image.pixels.data() + (std::size_t{tile.y + row} * image.width + tile.x) * 4;
        std::copy(from, from + std::size_t{tile.w} * 4,
                  pixels.begin() + static_cast<std::ptrdiff_t>(std::size_t{row} * tile.w * 4));
    }
    return pixels;
}

bool starts_with_any(const std::string& key, std::initializer_list<std::string_view> prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](std::string_view prefix) { return key.starts_with(prefix); });
}

std::string lower_case(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string stored_name(const Entry& entry) {
    switch (entry.storage) {
    case Storage::raw:
        return entry.key;
    case Storage::compressed:
        return entry.key + ".lz4";
    case Storage::image:
        return entry.key.substr(0, entry.key.size() - 4) + std::string(image_marker);
    }
    return entry.key;
}

// The key the reader indexes a stored name under.
std::string key_of(const std::string& name) {
    if (const auto marker = name.find(image_marker); marker != std::string::npos)
        return name.substr(0, marker) + ".png";
    if (name.find(".lz4") != std::string::npos)
        return name.substr(0, name.size() - 4);
    return name;
}

void validate(const Entry& entry) {
    const std::string& key = entry.key;
    auto fail = [&](const std::string& why) {
        throw Pack_error("Cannot pack " + key + ": " + why);
    };
    if (key.empty())
        fail("the name is empty");
    if (key.find(image_marker) != std::string::npos)
        fail("the name contains \".sdl_surface.lz4\"");
    if (entry.package < -1 || entry.package >= 6)
        fail("there is no package " + std::to_string(entry.package));
    switch (entry.storage) {
    case Storage::raw:
        if (key.find(".lz4") != std::string::npos)
            fail("a raw entry's name cannot contain \".lz4\"; store it compressed");
        [[fallthrough]];
    case Storage::compressed:
        if (entry.bytes.empty())
            fail("the entry is empty");
        break;
    case Storage::image:
        if (!key.ends_with(".png"))
            fail("an image's name must end with \".png\"");
        if (entry.image.width > 65535 || entry.image.height > 65535)
            fail("an image is at most 65535 pixels wide and high");
        if (entry.image.width == 0 || entry.image.height == 0)
            fail("an image needs at least one pixel");
        if (entry.image.pixels.size() != std::size_t{entry.image.width} * entry.image.height * 4)
            fail("the pixels do not match the image's size");
        break;
    }
    const std::string name = stored_name(entry);
    if (name.empty() || name.size() > 255)
        fail("the stored name must be 1 to 255 bytes long");
    // e.g. a compressed "x.sdl_surface" is stored as "x.sdl_surface.lz4", which reads as an image
    if (key_of(name) != key)
        fail("the stored name " + name + " would read back as \"" + key_of(name) + "\"");
}

} // namespace

std::size_t package_for(const std::string& key) {
    if (starts_with_any(key, {"sounds/", "musics/"}))
        return 5;
    if (key == "data/locale.yaml" || key.starts_with("locale/"))
        return 1;
    if (starts_with_any(key, {"images/animations/", "images/characters/"}))
        return 3;
    if (starts_with_any(key, {"images/backgrounds/", "images/scenery/"}))
        return 4;
    if (key.starts_with("images/"))
        return 2;
    return 0;
}

bool is_masked(const std::string& key) {
    for (const char* folder :
         {"images/objects", "images/interface", "images/inventory", "images/masks"})
        if (key.find(folder) != std::string::npos)
            return true;
    return false;
}

bool is_single_tile(const std::string& key) { return key.ends_with("_map.png"); }

Image highlight_of(const Image& image) {
    Image result = image;
    for (std::size_t i = 0; i < result.pixels.size(); i += 4)
        for (std::size_t c = 0; c < 3; ++c)
            result.pixels[i + c] =
                static_cast<unsigned char>(result.pixels[i + c] + (255 - result.pixels[i + c]) / 2);
    return result;
}

Bitmap_2 mask_of(const Image& image) {
    Bitmap_2 mask(image.width, image.height, false);
    for (std::size_t y = 0; y < image.height; ++y)
        for (std::size_t x = 0; x < image.width; ++x)
            if (image.pixels[(y * image.width + x) * 4 + 3] != 0)
                mask.set(x, y, true);
    return mask;
}

void append_raw(std::vector<char>& package, const std::string& name,
                const std::vector<char>& bytes) {
    put_name(package, name);
    append_little_endian(package, bytes.size(), 4);
    package.insert(package.end(), bytes.begin(), bytes.end());
}

void append_compressed(std::vector<char>& package, const std::string& name,
                       const std::vector<char>& bytes) {
    put_name(package, name);
    append_little_endian(package, bytes.size(), 4);
    put_block(package, bytes.data(), bytes.size());
}

void append_image(std::vector<char>& package, const std::string& name, const Image& image,
                  bool masked, bool single_tile) {
    put_name(package, name);
    append_little_endian(package, image.width, 2);
    append_little_endian(package, image.height, 2);
    append_little_endian(package, Third_party::pixel_format_rgba32(), 4);
    const Image highlight = masked ? highlight_of(image) : Image{};
    const unsigned int columns = single_tile ? 1 : Splitter::nb_sub(image.width);
    const unsigned int rows = single_tile ? 1 : Splitter::nb_sub(image.height);
    for (unsigned int x = 0; x < columns; ++x)
        for (unsigned int y = 0; y < rows; ++y) {
            const Splitter::Rect tile = single_tile
                                            ? Splitter::Rect{0, 0, image.width, image.height}
                                            : Splitter::rect(image.width, image.height, x, y);
            const std::vector<char> pixels = tile_pixels(image, tile);
            put_block(package, pixels.data(), pixels.size());
            if (masked) {
                const std::vector<char> bright = tile_pixels(highlight, tile);
                put_block(package, bright.data(), bright.size());
            }
        }
    if (masked) {
        const Bitmap_2 mask = mask_of(image);
        append_little_endian(package, mask.size(), 4);
        put_block(package, reinterpret_cast<const char*>(mask.data()), mask.size());
    }
}

void append_end(std::vector<char>& package) { package.push_back(0); }

Package_set build(const std::vector<Entry>& entries) {
    Package_set packages;
    for (const Entry& entry : entries) {
        validate(entry);
        std::vector<char>& out =
            packages[entry.package >= 0 ? static_cast<std::size_t>(entry.package)
                                        : package_for(entry.key)];
        switch (entry.storage) {
        case Storage::raw:
            append_raw(out, stored_name(entry), entry.bytes);
            break;
        case Storage::compressed:
            append_compressed(out, stored_name(entry), entry.bytes);
            break;
        case Storage::image:
            append_image(out, stored_name(entry), entry.image, is_masked(entry.key),
                         is_single_tile(entry.key));
            break;
        }
    }
    for (std::vector<char>& package : packages)
        append_end(package);
    return packages;
}

std::vector<Entry> read_folder(const std::string& folder, std::vector<std::string>& skipped,
                               const std::string& output) {
    namespace fs = std::filesystem;
    std::error_code error;
    const bool has_output = !output.empty() && fs::is_directory(output, error);
    if (has_output && fs::equivalent(folder, output, error))
        throw Pack_error("Cannot pack " + folder + " into itself: the output folder must not be "
                         "the source folder");
    std::vector<fs::path> files;
    for (auto item = fs::recursive_directory_iterator(folder);
         item != fs::recursive_directory_iterator(); ++item) {
        // packages written into the source folder by an earlier run are not game data
        if (has_output && item->is_directory() && fs::equivalent(item->path(), output, error))
            item.disable_recursion_pending();
        else if (item->is_regular_file())
            files.push_back(item->path());
    }
    std::sort(files.begin(), files.end());

    std::vector<Entry> entries;
    for (const fs::path& file : files) {
        Entry entry;
        entry.key = fs::relative(file, folder).generic_string();
        if (const std::string extension = file.extension().string();
            extension != ".png" && lower_case(extension) == ".png")
            warning(entry.key + " is stored as raw bytes, not as an image: only the extension "
                                "\".png\" in lower case makes an image");
        if (entry.key.ends_with(".png")) {
            entry.storage = Storage::image;
            entry.image = read_png(file.string());
        } else {
            std::ifstream in(file, std::ios::binary);
            entry.bytes.assign(std::istreambuf_iterator<char>(in), {});
            if (!in.good() && !in.eof())
                throw Pack_error("Cannot read " + file.string());
            // a graph made by hand must read as the engine will read it
            if (entry.key.ends_with("_map.graph")) {
                Component::Ground_map::Graph graph;
                if (const auto problem = Component::Ground_map::try_parse_graph(
                        entry.bytes.data(), entry.bytes.size(), file.string(), graph))
                    throw Pack_error(*problem);
            }
            if (entry.key.ends_with("_map.mask")) {
                Component::Ground_map::Mask mask;
                if (const auto problem = Component::Ground_map::Mask::try_unpack(
                        entry.bytes.data(), entry.bytes.size(), file.string(), mask))
                    throw Pack_error(*problem);
            }
            if (entry.bytes.empty()) {
                skipped.push_back(entry.key);
                continue;
            }
            // a YAML file the engine cannot read is refused now, not when a room names it
            if (entry.key.ends_with(".yaml"))
                if (const auto problem = Third_party::Yaml::problem(
                        entry.key, entry.bytes.data(), entry.bytes.size()))
                    throw Pack_error(*problem);
            const std::size_t block = compress(entry.bytes.data(), entry.bytes.size()).size();
            const bool worth = block + entry.bytes.size() / 8 <= entry.bytes.size();
            entry.storage = worth || entry.key.find(".lz4") != std::string::npos
                                ? Storage::compressed
                                : Storage::raw;
        }
        entries.push_back(std::move(entry));
        // A ground map brings its walkable graph, unless the folder has one beside it already.
        const std::size_t added = entries.size() - 1;
        if (entries[added].storage != Storage::image || !is_single_tile(entries[added].key))
            continue;
        const std::string key = entries[added].key;
        if (!fs::exists(fs::path(folder) / Component::Ground_map::graph_file_name(key)))
            entries.push_back(ground_graph_entry(key, entries[added].image));
        // and its mask, so that a room load need not classify the image's pixels
        if (!fs::exists(fs::path(folder) / Component::Ground_map::packed_mask_file_name(key)))
            entries.push_back(ground_mask_entry(key, entries[added].image));
    }
    return entries;
}

namespace {
Graph_progress graph_progress;

Component::Ground_map::Mask mask_of_map(const Image& image) {
    using Component::Ground_map;
    return Ground_map::Mask(int(image.width), int(image.height), [&](int x, int y) {
        const std::size_t at = (std::size_t(y) * image.width + std::size_t(x)) * 4;
        return Ground_map::Mask::Color{image.pixels[at], image.pixels[at + 1],
                                       image.pixels[at + 2]};
    });
}

} // namespace

void set_graph_progress(Graph_progress progress) { graph_progress = std::move(progress); }

Entry ground_graph_entry(const std::string& key, const Image& image) {
    using Component::Ground_map;
    const std::string name = Ground_map::graph_file_name(key);
    Ground_map map("Packer", "ground_map", mask_of_map(image), 0, 0);
    // refused before the long part when the graph file could not hold the result
    map.build_graph(key, [&](const Ground_map::Build_progress& at) {
        if (graph_progress)
            graph_progress(key, at.phase, at.done);
    });
    Entry entry;
    entry.key = name;
    entry.storage = Storage::compressed;
    entry.bytes = map.write_graph(name);
    return entry;
}

Entry ground_mask_entry(const std::string& key, const Image& image) {
    Entry entry;
    entry.key = Component::Ground_map::packed_mask_file_name(key);
    entry.storage = Storage::compressed;
    entry.bytes = mask_of_map(image).pack();
    return entry;
}

void write_packages(const Package_set& packages, const std::string& folder) {
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    for (std::size_t id = 0; id < packages.size(); ++id) {
        const fs::path path =
            fs::path(folder) / (std::string(Packaged_asset_manager::packages[id]) + ".data");
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(packages[id].data(), static_cast<std::streamsize>(packages[id].size()));
        out.close();
        if (!out)
            throw Pack_error("Cannot write " + path.string());
    }
}

} // namespace Orvane::Packer
