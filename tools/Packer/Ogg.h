#pragma once

#include <vector>

namespace Orvane::Packer {

/// Encodes interleaved samples in [-1, 1] (`channels` per frame, `rate` frames per second) as an
/// OGG Vorbis file in memory. The stream serial number is fixed, so the same samples always give
/// the same bytes. Throws Pack_error when the encoder refuses the channel count or rate.
std::vector<char> encode_ogg(const std::vector<float>& samples, int channels, int rate);

} // namespace Orvane::Packer
