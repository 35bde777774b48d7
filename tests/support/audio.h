#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// OGG Vorbis files come from the packer library: Orvane::Packer::encode_ogg in <Packer/Ogg.h>.
namespace Orvane::Test {

/// Encodes interleaved samples in [-1, 1] as a 16-bit PCM WAV file in memory.
std::vector<char> encode_wav(const std::vector<float>& samples, int channels, int rate);

/// `seconds` of a sine of `frequency` Hz at `amplitude` (0..1), interleaved: on the channels
/// where `on_channel` is true, silence on the others.
std::vector<float> sine(double frequency, double amplitude, double seconds, int rate,
                        std::vector<bool> on_channel = {true, true});

/// The amplitude of the `frequency` component of one channel of 16-bit interleaved audio
/// (Goertzel), in sample units: a full-scale sine gives about 32767.
double tone_level(const std::int16_t* samples, std::size_t frames, int channels, int channel,
                  double frequency, int rate);

} // namespace Orvane::Test
