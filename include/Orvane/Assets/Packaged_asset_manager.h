#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <Orvane/Assets/Packaged_asset.h>

namespace Orvane {

/// The index entry of one package entry.
struct Packaged_asset_info {
    std::size_t buffer_id = 0;       ///< package 0..5 holding the entry
    std::size_t offset = 0;          ///< first byte of the entry's data in that package
    std::size_t compressed_size = 0; ///< bytes of the stored LZ4 block; 0 for a raw entry
    std::size_t size = 0;            ///< bytes once decompressed (stored bytes of a raw entry)
    std::uint16_t width = 0;         ///< pixels, images and tiles only
    std::uint16_t height = 0;        ///< pixels, images and tiles only
    std::uint32_t format = 0;        ///< SDL pixel format, images and tiles only
};

/// Size and pixel format of a packaged image.
struct Packaged_image_info {
    int width = 0;
    int height = 0;
    std::uint32_t format = 0;
};

/// The six package files, read whole into memory once at start-up and indexed by entry name,
/// and the per-user folder's files. Static state, read-only after init().
///
/// A package is a sequence of records ended by a 0 byte; every integer is little-endian. A
/// record is a u8 name length (1..255) and the name, then by the name's kind:
/// - name containing ".sdl_surface.lz4": an image, key = the name cut there + ".png"; u16 width,
///   u16 height, u32 pixel format (4 bytes per pixel), then per tile (column outer, row inner;
///   one tile for keys ending "_map.png") a u32 size and an LZ4 block, followed for masked
///   images (keys containing "images/objects", "images/interface", "images/inventory" or
///   "images/masks") by its highlight block likewise; masked images end with a mask: u32 size,
///   u32 compressed size, LZ4 block. Keys made: "<key>.<x>x<y>", "<key>.<x>x<y>.HL",
///   "<key>.mask" and "<key>" (the image itself, offset 0, size 0).
/// - otherwise a name containing ".lz4": key = the name less its last four characters; u32 size,
///   u32 compressed size, LZ4 block.
/// - otherwise raw: key = the name; u32 size, bytes.
/// The first entry made under a key wins, and packages are indexed in the order of `packages`.
class Packaged_asset_manager {
  public:
    /// Package names in index order (their buffer_id); each file is <folder><name>.data.
    static constexpr std::array<const char*, 6> packages = {
        "general", "locale", "images", "images_animations", "images_scenery", "sounds"};

    /// What is wrong in a package buffer, and where.
    struct Index_error {
        std::size_t offset = 0;
        std::string reason;
    };

    /// Reads and indexes the six packages of `folder` (a prefix ending with the path separator),
    /// replacing any earlier index. Only regular files are read (a directory or a FIFO counts as
    /// missing). Returns false when general.data cannot be opened. Any other package missing or
    /// unreadable, larger than the machine's memory, truncated or malformed is fatal, naming the
    /// file (and the offset where it broke). With `local` true, only the folder is kept and nothing is indexed:
    /// every later open must ask for local files.
    static bool init(const std::string& folder, bool local);

    /// Indexes six package buffers already in memory, in `packages` order, replacing any earlier
    /// index; the folder given to the last init() names them in messages. Malformed buffers are
    /// fatal as in init().
    static void load(std::vector<std::vector<char>> buffers);

    /// Indexes one package buffer into `index` (keys already there are kept). Checks every
    /// length, size and offset against the buffer; returns what broke and where, or nothing when
    /// the whole package up to its closing 0 byte is sound.
    static std::optional<Index_error>
    index_package(const std::vector<char>& buffer, std::size_t buffer_id,
                  std::unordered_map<std::string, Packaged_asset_info>& index);

    /// With `local` true, the disk file <folder><name> for reading. Otherwise the package entry:
    /// an unknown name gives an empty asset without a message; a raw entry a stream over the
    /// package's bytes (no copy; zero bytes give a valid empty stream); a compressed entry a
    /// stream over a new decompressed buffer, freed by close(). A size mismatch, or memory
    /// running out for the buffer, is fatal naming the entry and its package.
    static Packaged_asset open(const std::string& name, bool local = false);

    /// The file <per-user folder><name>, for writing (through a temporary file replacing it on
    /// close; failure to create is fatal) or for reading (missing gives an empty asset).
    static Packaged_asset open_pref(const std::string& name, bool write);

    /// Whether the name is in the index.
    static bool exists(const std::string& name);

    /// Width, height and pixel format of an image; fatal "Packaged asset <name> not found".
    static Packaged_image_info image_info(const std::string& name);

    /// Decompresses tile (x, y) of image `name` (its highlight variant when `highlight`) straight
    /// into `destination`, which holds `capacity` bytes. Fatal "Packaged asset <name>.<x>x<y>[.HL]
    /// not found" for an unknown tile, and fatal when the tile needs more than `capacity` bytes
    /// or does not decompress to its recorded size (naming the tile and its package).
    static void open(const std::string& name, void* destination, std::size_t capacity,
                     unsigned int x, unsigned int y, bool highlight);

    /// <folder><name>.
    static std::string local_file_name(const std::string& name);

    /// The whole index.
    static const std::unordered_map<std::string, Packaged_asset_info>& asset_map();

  private:
    static std::string folder_name;
    static std::vector<std::vector<char>> buffers;
    static std::unordered_map<std::string, Packaged_asset_info> package_asset_map;
};

} // namespace Orvane
