// The ground map's mask: walkable pixels and their gray levels, classified from a picture's
// pixels or read from the packed form the packer stores beside the graph file.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Component/Ground_map.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/little_endian.h>

namespace Orvane::Component {

namespace {

constexpr char packed_mask_magic[4] = {'O', 'G', 'M', 'L'};
constexpr std::size_t packed_mask_header = 12;

std::size_t packed_mask_size(std::size_t count) {
    return packed_mask_header + count + (count + 7) / 8;
}

/// The packed bytes of a width x height mask, filled by fill(levels, words): the gray level of
/// every pixel (0 where not walkable) and the walkable bits as 64-bit words (pixel i as bit
/// i % 64 of word i / 64), zeroed beforehand.
template <typename Fill> std::vector<char> packed_mask(int width, int height, Fill&& fill) {
    const std::size_t count = std::size_t(width) * std::size_t(height);
    std::vector<char> out(packed_mask_size(count));
    std::memcpy(out.data(), packed_mask_magic, 4);
    std::vector<char> size;
    append_little_endian(size, std::uint32_t(width), 4);
    append_little_endian(size, std::uint32_t(height), 4);
    std::memcpy(out.data() + 4, size.data(), 8);
    std::vector<std::uint64_t> words((count + 63) / 64);
    fill(reinterpret_cast<unsigned char*>(out.data() + packed_mask_header), words.data());
    unsigned char* bits = reinterpret_cast<unsigned char*>(out.data() + packed_mask_header + count);
    for (std::size_t b = 0; b < (count + 7) / 8; ++b)
        bits[b] = static_cast<unsigned char>(words[b / 8] >> (8 * (b % 8)));
    return out;
}

} // namespace

Ground_map::Mask::Mask(int width, int height, const std::function<Color(int x, int y)>& color) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    auto bytes = std::make_shared<std::vector<char>>(
        packed_mask(width, height, [&](unsigned char* levels, std::uint64_t* words) {
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    Color c = color(x, y);
                    std::size_t i = std::size_t(y) * std::size_t(width) + std::size_t(x);
                    if (c[0] == c[1] && c[0] == c[2]) {
                        levels[i] = c[0];
                        words[i / 64] |= std::uint64_t(1) << (i % 64);
                    }
                }
        }));
    std::optional<std::string> problem = try_unpack_in_place(
        std::shared_ptr<const char>(bytes, bytes->data()), bytes->size(), "", *this);
    ORVANE_CHECK(!problem, *problem);
}

Ground_map::Mask
Ground_map::Mask::from_rows(int width, int height,
                            const std::function<const std::uint32_t*(int y)>& row) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const std::size_t w = std::size_t(width);
    auto bytes = std::make_shared<std::vector<char>>(
        packed_mask(width, height, [&](unsigned char* levels, std::uint64_t* words) {
            // The bits of the current word are gathered in a register and or-ed in once it is
            // full or the row ends (a word may span two rows).
            std::size_t i = 0;
            for (int y = 0; y < height; ++y) {
                const std::uint32_t* colors = row(y);
                std::size_t x = 0;
                while (x < w) {
                    const std::size_t first = i % 64;
                    const std::size_t n = std::min(w - x, 64 - first);
                    std::uint64_t gathered = 0;
                    for (std::size_t k = 0; k < n; ++k) {
                        const std::uint32_t c = colors[x + k] & 0xFFFFFF;
                        const std::uint32_t red = c & 0xFF;
                        const bool gray = c == red * 0x010101;
                        levels[i + k] = gray ? static_cast<unsigned char>(red) : 0;
                        gathered |= std::uint64_t(gray) << k;
                    }
                    words[i / 64] |= gathered << first;
                    x += n;
                    i += n;
                }
            }
        }));
    Mask mask;
    std::optional<std::string> problem = try_unpack_in_place(
        std::shared_ptr<const char>(bytes, bytes->data()), bytes->size(), "", mask);
    ORVANE_CHECK(!problem, *problem);
    return mask;
}

std::vector<char> Ground_map::Mask::pack() const {
    if (!m_packed)
        return packed_mask(0, 0, [](unsigned char*, std::uint64_t*) {});
    const std::size_t count = std::size_t(m_width) * std::size_t(m_height);
    return std::vector<char>(m_packed.get(), m_packed.get() + packed_mask_size(count));
}

std::optional<std::string> Ground_map::Mask::try_unpack(const char* data, std::size_t size,
                                                        const std::string& file, Mask& mask) {
    auto copy = std::make_shared<std::vector<char>>(data, data + size);
    return try_unpack_in_place(std::shared_ptr<const char>(copy, copy->data()), size, file, mask);
}

std::optional<std::string> Ground_map::Mask::try_unpack_in_place(std::shared_ptr<const char> bytes,
                                                                 std::size_t size,
                                                                 const std::string& file,
                                                                 Mask& mask) {
    const char* data = bytes.get();
    if (size < packed_mask_header || std::memcmp(data, packed_mask_magic, 4) != 0)
        return "Packed ground mask " + file + " does not start with a packed mask's header (" +
               std::to_string(size) + " bytes)";
    const auto* u = reinterpret_cast<const unsigned char*>(data);
    const std::uint64_t width = read_little_endian(u + 4, 4);
    const std::uint64_t height = read_little_endian(u + 8, 4);
    // sizes past what a picture can have are refused before any product could overflow
    if (width > 65535 || height > 65535)
        return "Packed ground mask " + file + " claims " + std::to_string(width) + "x" +
               std::to_string(height) + " pixels, more than a picture holds";
    const std::size_t count = std::size_t(width * height);
    const std::size_t expected = packed_mask_size(count);
    if (size != expected)
        return "Packed ground mask " + file + " has " + std::to_string(size) + " bytes where " +
               std::to_string(width) + "x" + std::to_string(height) + " pixels take " +
               std::to_string(expected);
    const unsigned char* bits = u + packed_mask_header + count;
    // bits past the last pixel would make a packed mask differ from the built one
    if (count % 8 != 0 && (bits[count / 8] >> (count % 8)) != 0)
        return "Packed ground mask " + file + " marks pixels past its last one as walkable";
    mask.m_width = int(width);
    mask.m_height = int(height);
    mask.m_levels = u + packed_mask_header;
    mask.m_walkable = bits;
    mask.m_packed = std::move(bytes);
    return std::nullopt;
}

} // namespace Orvane::Component
