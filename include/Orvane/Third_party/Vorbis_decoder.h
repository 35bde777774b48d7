#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include <Orvane/Third_party/Music_mixer.h>

namespace Orvane::Third_party {

/// Random access to encoded bytes (a package entry), as the decoder reads them.
class Byte_stream {
  public:
    virtual ~Byte_stream() = default;
    /// Reads up to `size` bytes into `data`; returns the count read (0 at the end).
    virtual std::size_t read(void* data, std::size_t size) = 0;
    /// Moves to the absolute byte `position`; false when it cannot.
    virtual bool seek(std::size_t position) = 0;
    /// The current byte position.
    virtual std::size_t tell() = 0;
    /// The total size in bytes.
    virtual std::size_t size() = 0;
};

/// Decodes an OGG Vorbis stream as it plays, converting it to the device's rate and channel
/// count when they differ from the file's: a windowed-sinc filter for every rate whose ratio to
/// the device's is a fraction with a denominator up to 2048 (8, 11.025, 16, 22.05, 32, 48 or
/// 96 kHz to 44.1 kHz), copied or averaged channels for mono and stereo; SDL's converter for
/// any other rate or channel layout.
class Vorbis_decoder final : public Music_decoder {
  public:
    /// A decoder over `bytes`, or null when they are not OGG Vorbis data.
    static std::unique_ptr<Vorbis_decoder> open(std::unique_ptr<Byte_stream> bytes, int rate,
                                                int channels);
    ~Vorbis_decoder() override;

    std::size_t read(std::int16_t* out, std::size_t frames) override;
    bool seek(double seconds) override;

    /// The file's own frames per second and channel count.
    int file_rate() const;
    int file_channels() const;

  private:
    struct State;
    explicit Vorbis_decoder(std::unique_ptr<State> state);
    std::size_t decode(char* out, std::size_t bytes);
    std::size_t pull();
    std::size_t convert(std::int16_t* out, std::size_t frames);

    std::unique_ptr<State> m_state;
};

} // namespace Orvane::Third_party
