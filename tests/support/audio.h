#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
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

/// What the audio device plays, written to a file by SDL's disk driver (16-bit stereo at
/// 44100 Hz, faster than real time) and read back. Construct it before the device opens: it
/// points the driver at "capture_<name>.raw" in the build folder, emptied first; the file is
/// removed with the object.
class Audio_capture {
  public:
    static constexpr int rate = 44100;

    explicit Audio_capture(const std::string& name);
    ~Audio_capture();
    Audio_capture(const Audio_capture&) = delete;
    Audio_capture& operator=(const Audio_capture&) = delete;

    /// Empties the file again (for a device that is closed and opened anew).
    void restart();
    /// Bytes written so far.
    std::uintmax_t bytes() const;
    /// Waits until `seconds` more of audio have been written after `from` bytes (30 s at most).
    void wait_for(std::uintmax_t from, double seconds) const;
    /// The samples from byte `from` on, for `seconds` (fewer when the file ends before).
    std::vector<std::int16_t> samples(std::uintmax_t from, double seconds) const;
    /// Byte offset of the first audible frame at or after `from`: the device keeps writing
    /// silence while a test starts a sound, so timing alone cannot place it.
    std::uintmax_t onset(std::uintmax_t from) const;
    /// tone_level of one channel of captured samples.
    static double level(const std::vector<std::int16_t>& samples, int channel, double frequency);

  private:
    std::filesystem::path m_file;
};

} // namespace Orvane::Test
