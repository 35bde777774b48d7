#pragma once

#include <cstdint>

namespace Orvane::Third_party {

/// The SDL pixel-format value whose pixels are the bytes R, G, B, A in memory order, on any
/// byte order: the format of the packages' image tiles.
std::uint32_t pixel_format_rgba32();

/// Bytes per pixel of an SDL pixel-format value; 0 for an unknown value or a planar (FourCC)
/// format.
unsigned int pixel_format_bytes(std::uint32_t format);

} // namespace Orvane::Third_party
