#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <Packer/Package_writer.h>

namespace Orvane::Test {

/// Builds the six packages from a table of entries in memory and loads them as the engine's
/// package index (replacing any earlier one).
void load_packages(const std::vector<Packer::Entry>& entries);

/// Loads six package buffers as they are (for hand-made or damaged packages).
void load_packages(const Packer::Package_set& packages);

/// A raw entry, chosen by its key's package unless `package` is given.
Packer::Entry raw_entry(const std::string& key, const std::string& bytes, int package = -1);

/// An LZ4-compressed entry.
Packer::Entry compressed_entry(const std::string& key, const std::string& bytes, int package = -1);

/// An image entry of the given pixels.
Packer::Entry image_entry(const std::string& key, const Packer::Image& image, int package = -1);

/// A short sound as an OGG file: 0.1 s of a 441 Hz sine at 0.3, stereo at 44100 Hz.
std::string ogg_bytes();

/// A `width` x `height` image whose every pixel tells its position: R = x, G = y, B = x ^ y
/// (each mod 256), A = 255 but 0 on every pixel where (x + y) % 7 == 0.
Packer::Image test_image(unsigned int width, unsigned int height);

/// Runs the command-line packer of the build on `source` into `output`; returns its exit status
/// and what it wrote to standard error (kept in `scratch`/errors.txt).
std::pair<int, std::string> run_packer(const std::filesystem::path& source,
                                       const std::filesystem::path& output,
                                       const std::filesystem::path& scratch);

} // namespace Orvane::Test
