#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <Orvane/Assets/Bitmap_2.h>

namespace Orvane::Packer {

/// A failure to pack: a name the package format cannot hold, an unreadable source file.
struct Pack_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// Pixels of an image, 4 bytes per pixel: R, G, B, A in memory order, rows top first, no
/// padding.
struct Image {
    unsigned int width = 0;
    unsigned int height = 0;
    std::vector<unsigned char> pixels;
};

/// How an entry is stored.
enum class Storage {
    raw,        ///< the bytes as they are
    compressed, ///< one LZ4 block, stored name = key + ".lz4"
    image,      ///< tiles of `image`, stored name = key less ".png" + ".sdl_surface.lz4"
};

/// One entry of a package set, named by the key the reader will index it under.
struct Entry {
    std::string key;
    Storage storage = Storage::raw;
    std::vector<char> bytes; ///< raw and compressed entries
    Image image;             ///< image entries
    int package = -1;        ///< 0..5, or -1 to choose it from the key
};

/// The six packages, in the reader's order.
using Package_set = std::array<std::vector<char>, 6>;

/// The package an entry goes to by its key: sounds/ and musics/ in sounds; data/locale.yaml and
/// locale/ in locale; images/animations/ and images/characters/ in images_animations;
/// images/backgrounds/ and images/scenery/ in images_scenery; other images/ in images; the rest
/// (data/, fonts/, ...) in general.
std::size_t package_for(const std::string& key);

/// Whether the reader expects highlight tiles and a mask for this image key.
bool is_masked(const std::string& key);

/// Whether the reader expects this image as one single tile ("_map.png").
bool is_single_tile(const std::string& key);

/// The highlighted variant of an image: every colour halfway to white, alpha unchanged.
Image highlight_of(const Image& image);

/// The hit mask of an image: a bit for every pixel whose alpha is not 0.
Bitmap_2 mask_of(const Image& image);

/// Appends one record of each kind, exactly as stored, without any check of the name (tests use
/// these to make odd packages). `append_compressed` and `append_image` take the stored name.
void append_raw(std::vector<char>& package, const std::string& name,
                const std::vector<char>& bytes);
void append_compressed(std::vector<char>& package, const std::string& name,
                       const std::vector<char>& bytes);
void append_image(std::vector<char>& package, const std::string& name, const Image& image,
                  bool masked, bool single_tile);

/// Appends the closing 0 byte.
void append_end(std::vector<char>& package);

/// Builds the six packages from a table of entries, in table order within each package. Throws
/// Pack_error for an entry the reader could not read back as given: an empty key, an empty raw
/// or compressed entry, a stored name longer than 255 bytes or that the reader would index under
/// another key, a raw key containing ".lz4", a key containing ".sdl_surface.lz4", an image key
/// not ending ".png", an image without pixels, larger than 65535 pixels or whose pixels do not
/// match its size.
Package_set build(const std::vector<Entry>& entries);

/// Decodes a PNG file into RGBA pixels; throws Pack_error on failure.
Image read_png(const std::string& path);

/// Encodes an image as a PNG file; throws Pack_error on failure.
void write_png(const std::string& path, const Image& image);

/// The entries of a source folder: every file by its path relative to the folder ('/'
/// separated, in sorted order); PNG files become images, other files are compressed when LZ4
/// saves at least an eighth of their size (always when the key contains ".lz4"), raw otherwise.
/// Empty files cannot be stored and are listed in `skipped`. Every ground-map image without a
/// graph file beside it gets its ground_graph_entry() right after it, and, without a packed
/// mask beside it, its ground_mask_entry(). The folder `output`,
/// when it lies inside the source folder, is left out (an earlier run's packages); `output`
/// being the source folder itself is a Pack_error. A graph file beside a ground map (key
/// ending "_map.graph") must read as the engine reads it: otherwise a Pack_error with the
/// engine's message, naming the file; likewise a packed mask (key ending "_map.mask"). So must
/// every ".yaml" file: otherwise a Pack_error with
/// the YAML reader's message, naming the file and the line. A file whose extension is ".png"
/// in another case (".PNG") is stored as it is, with a warning.
std::vector<Entry> read_folder(const std::string& folder, std::vector<std::string>& skipped,
                               const std::string& output = "");

/// The walkable-graph entry of a ground-map image (key ending "_map.png"): the graph that the
/// ground map's builder makes from the image, stored compressed under the key with "png"
/// replaced by "graph". read_folder() adds one beside every ground-map image.
Entry ground_graph_entry(const std::string& key, const Image& image);

/// The packed-mask entry of a ground-map image (key ending "_map.png"): the image's mask as the
/// ground map packs it (Ground_map::Mask::pack()), stored compressed under the key with "png"
/// replaced by "mask", so that a room load need not classify the image's pixels.
Entry ground_mask_entry(const std::string& key, const Image& image);

/// What ground_graph_entry() reports while the builder works on an image: its key, the build's
/// phase (1 to 3) and the part of that phase done (0 to 1).
using Graph_progress = std::function<void(const std::string& key, int phase, double done)>;

/// Installs the report for every later ground_graph_entry(); an empty one reports nothing.
void set_graph_progress(Graph_progress progress);

/// Writes the six packages as <folder>/<name>.data, creating the folder.
void write_packages(const Package_set& packages, const std::string& folder);

} // namespace Orvane::Packer
