// The music mixer's cost on the audio thread, as CPU seconds per second of audio played: four
// streams mixed one device buffer (2048 frames) at a time, as the audio callback does. The goal
// is under 1% (a "cpu_per_audio_second" below 0.01).

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include <Orvane/Third_party/Music_mixer.h>
#include <Orvane/Third_party/Vorbis_decoder.h>

#include <Packer/Ogg.h>

#include "support/audio.h"

namespace {

using namespace Orvane::Third_party;

constexpr int rate = 44100;
constexpr std::size_t buffer_frames = 2048;

/// Already decoded audio, looping: the cost of mixing alone.
class Decoded : public Music_decoder {
  public:
    explicit Decoded(std::vector<std::int16_t> samples) : m_samples(std::move(samples)) {}
    std::size_t read(std::int16_t* out, std::size_t frames) override {
        const std::size_t n = std::min(frames, m_samples.size() / 2 - m_cursor);
        std::memcpy(out, m_samples.data() + m_cursor * 2, n * 4);
        m_cursor += n;
        return n;
    }
    bool seek(double) override {
        m_cursor = 0;
        return true;
    }

  private:
    std::vector<std::int16_t> m_samples;
    std::size_t m_cursor = 0;
};

class Memory_bytes : public Byte_stream {
  public:
    explicit Memory_bytes(const std::vector<char>& bytes) : m_bytes(bytes) {}
    std::size_t read(void* data, std::size_t size) override {
        const std::size_t n = std::min(size, m_bytes.size() - m_position);
        if (n > 0)
            std::memcpy(data, m_bytes.data() + m_position, n);
        m_position += n;
        return n;
    }
    bool seek(std::size_t position) override {
        m_position = std::min(position, m_bytes.size());
        return true;
    }
    std::size_t tell() override { return m_position; }
    std::size_t size() override { return m_bytes.size(); }

  private:
    const std::vector<char>& m_bytes;
    std::size_t m_position = 0;
};

/// Ten seconds of music-like audio: a few tones over noise, so the encoder spends a realistic
/// number of bits (a pure tone would decode unrealistically fast).
std::vector<float> music_like(unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.0f, 0.08f);
    std::vector<float> samples(std::size_t(10 * rate) * 2);
    for (std::size_t f = 0; f < samples.size() / 2; ++f) {
        const double t = double(f) / rate;
        const double tones = 0.2 * std::sin(2 * std::numbers::pi * (220 + 30 * seed) * t) +
                             0.1 * std::sin(2 * std::numbers::pi * 660 * t + seed) +
                             0.05 * std::sin(2 * std::numbers::pi * 3300 * t);
        samples[2 * f] = float(tones) + noise(random);
        samples[2 * f + 1] = float(tones) + noise(random);
    }
    return samples;
}

void run(benchmark::State& state, std::vector<std::unique_ptr<Music_stream>>& streams) {
    std::vector<Music_stream*> pointers;
    for (auto& stream : streams) {
        stream->set_volume(48);
        stream->play(true);
        pointers.push_back(stream.get());
    }
    std::vector<std::int16_t> buffer(buffer_frames * 2);
    for (auto _ : state) {
        std::fill(buffer.begin(), buffer.end(), 0);
        mix_music(pointers, buffer.data(), buffer_frames, 2);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    // Audio seconds produced, divided into the CPU time spent: CPU seconds per audio second.
    state.counters["cpu_per_audio_second"] =
        benchmark::Counter(double(state.iterations()) * buffer_frames / rate,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_mix_four_decoded_streams(benchmark::State& state) {
    std::vector<std::unique_ptr<Music_stream>> streams;
    for (unsigned i = 0; i < 4; ++i) {
        std::vector<std::int16_t> samples;
        for (float v : music_like(i))
            samples.push_back(std::int16_t(v * 32767));
        streams.push_back(std::make_unique<Music_stream>(std::make_unique<Decoded>(samples), rate));
    }
    run(state, streams);
}
BENCHMARK(BM_mix_four_decoded_streams);

void BM_mix_four_vorbis_streams(benchmark::State& state) {
    static std::vector<std::vector<char>> files;
    if (files.empty())
        for (unsigned i = 0; i < 4; ++i)
            files.push_back(Orvane::Packer::encode_ogg(music_like(i), 2, rate));
    std::vector<std::unique_ptr<Music_stream>> streams;
    for (const auto& file : files)
        streams.push_back(std::make_unique<Music_stream>(
            Vorbis_decoder::open(std::make_unique<Memory_bytes>(file), rate, 2), rate));
    run(state, streams);
}
BENCHMARK(BM_mix_four_vorbis_streams);

} // namespace

BENCHMARK_MAIN();
