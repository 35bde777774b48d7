#include <algorithm>
#include <memory>
#include <new>
#include <string_view>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Assets/Splitter.h>
#include <Orvane/Third_party/LZ4.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/SDL_pixel_format.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/little_endian.h>

namespace Orvane {

using Third_party::SDL_file;

std::string Packaged_asset_manager::folder_name;
std::vector<std::vector<char>> Packaged_asset_manager::buffers;
std::unordered_map<std::string, Packaged_asset_info> Packaged_asset_manager::package_asset_map;

namespace {

constexpr std::string_view image_marker = ".sdl_surface.lz4";
constexpr std::array<std::string_view, 4> masked_folders = {"images/objects", "images/interface",
                                                            "images/inventory", "images/masks"};

// Reads little-endian fields from a package buffer, never past its end.
class Cursor {
  public:
    explicit Cursor(const std::vector<char>& buffer)
        : m_data(reinterpret_cast<const unsigned char*>(buffer.data())), m_size(buffer.size()) {}

    std::size_t position() const { return m_position; }
    std::size_t left() const { return m_size - m_position; }

    bool read(std::uint64_t& value, std::size_t bytes) {
        if (left() < bytes)
            return false;
        value = read_little_endian(m_data + m_position, bytes);
        m_position += bytes;
        return true;
    }

    bool text(std::string& value, std::size_t bytes) {
        if (left() < bytes)
            return false;
        value.assign(reinterpret_cast<const char*>(m_data + m_position), bytes);
        m_position += bytes;
        return true;
    }

    bool skip(std::size_t bytes) {
        if (left() < bytes)
            return false;
        m_position += bytes;
        return true;
    }

  private:
    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// An LZ4 block yields at most about 255 bytes per stored byte; larger claims are corrupt and
// must not become allocations.
bool plausible_block(std::uint64_t size, std::uint64_t compressed) {
    return size <= compressed * 255 + 255;
}

Packaged_asset_manager::Index_error broken(std::size_t offset, std::string reason) {
    return {offset, std::move(reason)};
}

std::string package_file(std::size_t id) {
    return Packaged_asset_manager::local_file_name(
        std::string(Packaged_asset_manager::packages[id]) + ".data");
}

// "<key> (package <file>)": what messages about one entry quote.
std::string entry_name(const std::string& key, const Packaged_asset_info& info) {
    return key + " (package " + package_file(info.buffer_id) + ")";
}

} // namespace

std::optional<Packaged_asset_manager::Index_error>
Packaged_asset_manager::index_package(const std::vector<char>& buffer, std::size_t buffer_id,
                                      std::unordered_map<std::string, Packaged_asset_info>& index) {
    Cursor in(buffer);
    std::uint64_t value = 0;
    std::string name;

    // Steps over one LZ4 block of `compressed` bytes and indexes it under `key`.
    auto add_block = [&](const std::string& key, std::uint64_t compressed, std::uint64_t size,
                         std::uint16_t width, std::uint16_t height,
                         std::uint32_t format) -> std::optional<Index_error> {
        const std::size_t offset = in.position();
        // an LZ4 block is never empty, and a compressed size of 0 would mark a raw entry
        if (compressed == 0)
            return broken(offset, "block of " + key + " is empty");
        // a tile's size follows from the image header: a corrupt header claims huge tiles
        if (!plausible_block(size, compressed))
            return broken(offset, "block of " + key + " claims " + std::to_string(size) +
                                      " bytes from " + std::to_string(compressed));
        if (!in.skip(compressed))
            return broken(offset, "block of " + std::to_string(compressed) + " bytes for " + key +
                                      " runs past the end (" + std::to_string(in.left()) +
                                      " bytes left)");
        index.try_emplace(
            key, Packaged_asset_info{buffer_id, offset, compressed, size, width, height, format});
        return std::nullopt;
    };

    for (;;) {
        const std::size_t record = in.position();
        if (!in.read(value, 1))
            return broken(record, "the package ends without its closing 0 byte");
        if (value == 0)
            return std::nullopt;
        if (!in.text(name, value))
            return broken(record,
                          "record name of " + std::to_string(value) + " bytes runs past the end");

        if (const auto marker = name.find(image_marker); marker != std::string::npos) {
            const std::string key = name.substr(0, marker) + ".png";
            const std::size_t header = in.position();
            std::uint64_t width = 0, height = 0, format = 0;
            if (!in.read(width, 2) || !in.read(height, 2) || !in.read(format, 4))
                return broken(header, "image header of " + key + " is cut short");
            const auto pixel_format = static_cast<std::uint32_t>(format);
            if (Third_party::pixel_format_bytes(pixel_format) != 4)
                return broken(header + 4, "image " + key + " has pixel format " +
                                              std::to_string(pixel_format) +
                                              ", which is not a known 4-byte format");
            const auto w = static_cast<unsigned int>(width);
            const auto h = static_cast<unsigned int>(height);
            const bool single = key.ends_with("_map.png");
            const bool masked = std::any_of(
                masked_folders.begin(), masked_folders.end(),
                [&](std::string_view folder) { return key.find(folder) != std::string::npos; });
            const unsigned int columns = single ? 1 : Splitter::nb_sub(w);
            const unsigned int rows = single ? 1 : Splitter::nb_sub(h);
            for (unsigned int x = 0; x < columns; ++x)
                for (unsigned int y = 0; y < rows; ++y) {
                    const Splitter::Rect tile =
                        single ? Splitter::Rect{0, 0, w, h} : Splitter::rect(w, h, x, y);
                    const std::uint64_t size = std::uint64_t{tile.w} * 4 * tile.h;
                    const std::string tile_key =
                        key + "." + std::to_string(x) + "x" + std::to_string(y);
                    for (int variant = 0; variant < (masked ? 2 : 1); ++variant) {
                        const std::string block_key = variant == 0 ? tile_key : tile_key + ".HL";
                        const std::size_t field = in.position();
                        if (!in.read(value, 4))
                            return broken(field, "size of " + block_key + " is cut short");
                        if (auto error = add_block(
                                block_key, value, size, static_cast<std::uint16_t>(tile.w),
                                static_cast<std::uint16_t>(tile.h), pixel_format))
                            return error;
                    }
                }
            if (masked) {
                const std::size_t field = in.position();
                std::uint64_t size = 0;
                if (!in.read(size, 4) || !in.read(value, 4))
                    return broken(field, "sizes of " + key + ".mask are cut short");
                if (size != std::uint64_t{w} * h / 8 + 1 || !plausible_block(size, value))
                    return broken(field, "mask of " + key + " holds " + std::to_string(size) +
                                             " bytes in " + std::to_string(value) + ", not the " +
                                             std::to_string(std::uint64_t{w} * h / 8 + 1) +
                                             " bytes of a " + std::to_string(w) + "x" +
                                             std::to_string(h) + " mask");
                if (auto error = add_block(key + ".mask", value, size, 0, 0, 0))
                    return error;
            }
            index.try_emplace(key,
                              Packaged_asset_info{buffer_id, 0, 0, 0, static_cast<std::uint16_t>(w),
                                                  static_cast<std::uint16_t>(h), pixel_format});
        } else if (name.find(".lz4") != std::string::npos) {
            const std::string key = name.substr(0, name.size() - 4);
            const std::size_t field = in.position();
            std::uint64_t size = 0;
            if (!in.read(size, 4) || !in.read(value, 4))
                return broken(field, "sizes of " + key + " are cut short");
            if (!plausible_block(size, value))
                return broken(field, key + " claims " + std::to_string(size) +
                                         " bytes from an LZ4 block of " + std::to_string(value));
            if (auto error = add_block(key, value, size, 0, 0, 0))
                return error;
        } else {
            const std::size_t field = in.position();
            if (!in.read(value, 4))
                return broken(field, "size of " + name + " is cut short");
            const std::size_t offset = in.position();
            if (!in.skip(value))
                return broken(offset, name + " of " + std::to_string(value) +
                                          " bytes runs past the end (" + std::to_string(in.left()) +
                                          " bytes left)");
            index.try_emplace(name, Packaged_asset_info{buffer_id, offset, 0, value, 0, 0, 0});
        }
    }
}

bool Packaged_asset_manager::init(const std::string& folder, bool local) {
    folder_name = folder;
    buffers.clear();
    package_asset_map.clear();
    if (local)
        return true;

    std::vector<std::vector<char>> contents(packages.size());
    for (std::size_t id = 0; id < packages.size(); ++id) {
        const std::string path = package_file(id);
        // only a regular file opens: a directory or a FIFO counts as missing
        Packaged_asset file(path, false);
        // Without the first package there is no game here at all: the caller reports it.
        if (!file && id == 0)
            return false;
        ORVANE_CHECK(file, "Package file " + path + " is missing or unreadable");
        const std::size_t size = file.size();
        const std::size_t memory = SDL_file::memory_size();
        const std::string too_large = "Package file " + path + " is missing or unreadable: its " +
                                      std::to_string(size) + " bytes do not fit in memory";
        ORVANE_CHECK(memory == 0 || size < memory, too_large);
        try {
            contents[id].resize(size);
        } catch (const std::exception&) {
            ORVANE_CHECK(false, too_large);
        }
        const std::size_t done = file.read_whole(contents[id].data(), size);
        file.close();
        ORVANE_CHECK(done == size, "Package file " + path + " could only be read up to offset " +
                                       std::to_string(done) + " of " + std::to_string(size));
    }
    load(std::move(contents));
    return true;
}

void Packaged_asset_manager::load(std::vector<std::vector<char>> contents) {
    ORVANE_CHECK(contents.size() == packages.size(), "Expected " + std::to_string(packages.size()) +
                                                  " package buffers, got " +
                                                  std::to_string(contents.size()));
    buffers = std::move(contents);
    package_asset_map.clear();
    for (std::size_t id = 0; id < buffers.size(); ++id) {
        const auto error = index_package(buffers[id], id, package_asset_map);
        ORVANE_CHECK(!error, "Package " + package_file(id) + " is malformed at offset " +
                          std::to_string(error->offset) + ": " + error->reason);
    }
}

Packaged_asset Packaged_asset_manager::open(const std::string& name, bool local) {
    if (local)
        return Packaged_asset(local_file_name(name), false);
    const auto found = package_asset_map.find(name);
    if (found == package_asset_map.end())
        return {};
    const Packaged_asset_info& info = found->second;
    const char* data = buffers[info.buffer_id].data() + info.offset;
    if (info.compressed_size == 0)
        return Packaged_asset(data, info.size);
    // Not zero-filled: the block overwrites every byte, and a corrupt entry claiming far more
    // than it holds then costs no pages before its decoding fails.
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[info.size]);
    ORVANE_CHECK(bytes != nullptr, "Cannot allocate " + std::to_string(info.size) +
                                       " bytes to decompress " + entry_name(name, info));
    Third_party::lz4_decompress_buffer(data, info.compressed_size, bytes.get(), info.size,
                                       entry_name(name, info));
    return Packaged_asset(std::move(bytes), info.size);
}

Packaged_asset Packaged_asset_manager::open_pref(const std::string& name, bool write) {
    return Packaged_asset(SDL_file::pref_path() + name, write);
}

bool Packaged_asset_manager::exists(const std::string& name) {
    return package_asset_map.contains(name);
}

Packaged_image_info Packaged_asset_manager::image_info(const std::string& name) {
    const auto found = package_asset_map.find(name);
    ORVANE_CHECK(found != package_asset_map.end(), "Packaged asset " + name + " not found");
    return {found->second.width, found->second.height, found->second.format};
}

void Packaged_asset_manager::open(const std::string& name, void* destination, std::size_t capacity,
                                  unsigned int x, unsigned int y, bool highlight) {
    std::string key = name + "." + std::to_string(x) + "x" + std::to_string(y);
    if (highlight)
        key += ".HL";
    const auto found = package_asset_map.find(key);
    ORVANE_CHECK(found != package_asset_map.end(), "Packaged asset " + key + " not found");
    const Packaged_asset_info& info = found->second;
    ORVANE_CHECK(info.size <= capacity, "Packaged asset " + key + " needs " + std::to_string(info.size) +
                                     " bytes, the destination holds " + std::to_string(capacity));
    Third_party::lz4_decompress_buffer(buffers[info.buffer_id].data() + info.offset,
                                       info.compressed_size, static_cast<char*>(destination),
                                       info.size, entry_name(key, info));
}

std::string Packaged_asset_manager::local_file_name(const std::string& name) {
    return folder_name + name;
}

const std::unordered_map<std::string, Packaged_asset_info>& Packaged_asset_manager::asset_map() {
    return package_asset_map;
}

} // namespace Orvane
