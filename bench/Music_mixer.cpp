// The music mixer's cost on the audio thread. Each case mixes a set of streams one device buffer
// (2048 frames at 44100 Hz, stereo) at a time, as the audio callback does, and in the same run,
// buffer for buffer, decodes the same streams with plain libvorbisfile (`ov_read` of the same
// length of audio at each file's own rate and channel count) as the reference. Reported per
// buffer: mean, p99 and max of both, the ratio of the means ("ratio", the goal is 1.2 or less)
// and the mix's CPU seconds per audio second ("cpu_per_audio_second").
//
// The whole mix is decoding, conversion to 16 bits, resampling and channel mapping to the
// device's format, volume, fades and the sum. Cases with fades keep each stream fading in and
// out over its ten-second loop.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <Orvane/Third_party/Music_mixer.h>
#include <Orvane/Third_party/Vorbis_decoder.h>

#include <Packer/Ogg.h>

#include "support/Timings.h"
#include "support/audio.h"

namespace {

using namespace Orvane::Third_party;
using Clock = std::chrono::steady_clock;

constexpr int device_rate = 44100;
constexpr std::size_t buffer_frames = 2048;
constexpr double seconds_per_file = 10;

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

/// Ten seconds of music-like audio at `rate`: a few tones over noise, so the encoder spends a
/// realistic number of bits (a pure tone would decode unrealistically fast).
std::vector<float> music_like(unsigned seed, int rate, int channels) {
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.0f, 0.08f);
    const std::size_t frames = std::size_t(seconds_per_file * rate);
    std::vector<float> samples(frames * std::size_t(channels));
    const double top = std::min(3300.0, rate * 0.4);
    for (std::size_t f = 0; f < frames; ++f) {
        const double t = double(f) / rate;
        const double tones = 0.2 * std::sin(2 * std::numbers::pi * (220 + 30 * seed) * t) +
                             0.1 * std::sin(2 * std::numbers::pi * 660 * t + seed) +
                             0.05 * std::sin(2 * std::numbers::pi * top * t);
        for (int c = 0; c < channels; ++c)
            samples[f * std::size_t(channels) + std::size_t(c)] = float(tones) + noise(random);
    }
    return samples;
}

struct Source {
    int rate;
    int channels;
};

/// One encoded file per source kind and seed, made once for the whole run.
const std::vector<char>& file_for(const Source& source, unsigned seed) {
    struct Made {
        int rate, channels;
        unsigned seed;
        std::vector<char> bytes;
    };
    static std::vector<std::unique_ptr<Made>> made;
    for (const auto& m : made)
        if (m->rate == source.rate && m->channels == source.channels && m->seed == seed)
            return m->bytes;
    made.push_back(std::make_unique<Made>(
        Made{source.rate, source.channels, seed,
             Orvane::Packer::encode_ogg(music_like(seed, source.rate, source.channels),
                                      source.channels, source.rate)}));
    return made.back()->bytes;
}

/// Plain libvorbisfile over one file: `ov_read` of 16-bit samples at the file's own rate and
/// channel count, starting again at the end. The reference the mix is measured against.
class Plain_decoder {
  public:
    explicit Plain_decoder(const std::vector<char>& file) : m_bytes(file) {
        const ov_callbacks callbacks{
            [](void* data, std::size_t size, std::size_t count, void* source) -> std::size_t {
                return size == 0
                           ? 0
                           : static_cast<Memory_bytes*>(source)->read(data, size * count) / size;
            },
            [](void* source, ogg_int64_t offset, int whence) -> int {
                auto* bytes = static_cast<Memory_bytes*>(source);
                const ogg_int64_t base = whence == SEEK_CUR   ? ogg_int64_t(bytes->tell())
                                         : whence == SEEK_END ? ogg_int64_t(bytes->size())
                                                              : 0;
                return bytes->seek(std::size_t(base + offset)) ? 0 : -1;
            },
            nullptr,
            [](void* source) -> long { return long(static_cast<Memory_bytes*>(source)->tell()); }};
        if (ov_open_callbacks(&m_bytes, &m_file, nullptr, 0, callbacks) != 0)
            std::abort();
        const vorbis_info* info = ov_info(&m_file, -1);
        m_rate = int(info->rate);
        m_channels = info->channels;
        m_buffer.resize(std::size_t(m_rate) * std::size_t(m_channels));
    }
    ~Plain_decoder() { ov_clear(&m_file); }
    Plain_decoder(const Plain_decoder&) = delete;
    Plain_decoder& operator=(const Plain_decoder&) = delete;

    /// Decodes the file frames that `device_frames` frames at the device's rate stand for.
    void decode(std::size_t device_frames) {
        m_owed += double(device_frames) * m_rate / device_rate;
        const std::size_t frames = std::size_t(m_owed);
        m_owed -= double(frames);
        std::size_t want = frames * std::size_t(m_channels) * 2;
        char* out = reinterpret_cast<char*>(m_buffer.data());
        while (want > 0) {
            int link = 0;
            const long got = ov_read(&m_file, out, int(want), 0, 2, 1, &link);
            if (got <= 0) {
                ov_pcm_seek(&m_file, 0);
                continue;
            }
            want -= std::size_t(got);
            out += got;
        }
        benchmark::DoNotOptimize(m_buffer.data());
    }

  private:
    Memory_bytes m_bytes;
    OggVorbis_File m_file{};
    int m_rate = 0;
    int m_channels = 0;
    double m_owed = 0;
    std::vector<std::int16_t> m_buffer;
};

struct Timings {
    std::vector<double> seconds;
    void add(Clock::duration d) { seconds.push_back(std::chrono::duration<double>(d).count()); }
    double mean() const { return Orvane::Bench::mean(seconds); }
    double percentile(double p) const { return Orvane::Bench::percentile(seconds, p); }
};

/// Mixes `sources` through the mixer and decodes them plainly, buffer for buffer, alternating.
void mix_against_plain(benchmark::State& state, std::vector<Source> sources, bool fades) {
    std::vector<std::unique_ptr<Music_stream>> streams;
    std::vector<std::unique_ptr<Plain_decoder>> plain;
    std::vector<Music_stream*> pointers;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const auto& file = file_for(sources[i], unsigned(i));
        auto decoder = Vorbis_decoder::open(std::make_unique<Memory_bytes>(file), device_rate, 2);
        if (decoder == nullptr) {
            state.SkipWithError("cannot open the encoded file");
            return;
        }
        streams.push_back(std::make_unique<Music_stream>(std::move(decoder), device_rate));
        plain.push_back(std::make_unique<Plain_decoder>(file));
        streams.back()->set_volume(48);
        if (!fades)
            streams.back()->play(true);
        pointers.push_back(streams.back().get());
    }
    // A fade-in over the first 3 s of each ten-second loop, a fade-out over the last 3 s (which
    // halts the stream where the file ends; the next loop fades in from the start again).
    const std::size_t loop_buffers = std::size_t(seconds_per_file * device_rate / buffer_frames);
    const std::size_t fade_out_at = std::size_t(7.0 * device_rate / buffer_frames);

    std::vector<std::int16_t> buffer(buffer_frames * 2);
    Timings mix, reference;
    std::size_t index = 0;
    for (auto _ : state) {
        if (fades) {
            const std::size_t at = index % loop_buffers;
            for (auto& stream : streams)
                if (at == 0)
                    stream->fade_in(true, 3000, 0);
                else if (at == fade_out_at)
                    stream->fade_out(3000);
        }
        ++index;
        const auto start = Clock::now();
        std::fill(buffer.begin(), buffer.end(), 0);
        mix_music(pointers, buffer.data(), buffer_frames, 2);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
        const auto middle = Clock::now();
        for (auto& decoder : plain)
            decoder->decode(buffer_frames);
        benchmark::ClobberMemory();
        mix.add(middle - start);
        reference.add(Clock::now() - middle);
    }
    const double buffer_seconds = double(buffer_frames) / device_rate;
    state.counters["mix_mean_us"] = mix.mean() * 1e6;
    state.counters["mix_p99_us"] = mix.percentile(0.99) * 1e6;
    state.counters["mix_max_us"] = mix.percentile(1.0) * 1e6;
    state.counters["plain_mean_us"] = reference.mean() * 1e6;
    state.counters["plain_p99_us"] = reference.percentile(0.99) * 1e6;
    state.counters["plain_max_us"] = reference.percentile(1.0) * 1e6;
    state.counters["ratio"] = reference.mean() > 0 ? mix.mean() / reference.mean() : 0;
    state.counters["cpu_per_audio_second"] = mix.mean() / buffer_seconds;
}

void BM_mix_four_decoded_streams(benchmark::State& state) {
    std::vector<std::unique_ptr<Music_stream>> streams;
    std::vector<Music_stream*> pointers;
    for (unsigned i = 0; i < 4; ++i) {
        std::vector<std::int16_t> samples;
        for (float v : music_like(i, device_rate, 2))
            samples.push_back(std::int16_t(v * 32767));
        streams.push_back(
            std::make_unique<Music_stream>(std::make_unique<Decoded>(samples), device_rate));
        streams.back()->set_volume(48);
        streams.back()->play(true);
        pointers.push_back(streams.back().get());
    }
    std::vector<std::int16_t> buffer(buffer_frames * 2);
    for (auto _ : state) {
        std::fill(buffer.begin(), buffer.end(), 0);
        mix_music(pointers, buffer.data(), buffer_frames, 2);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.counters["cpu_per_audio_second"] =
        benchmark::Counter(double(state.iterations()) * buffer_frames / device_rate,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_mix_four_decoded_streams);

} // namespace

int main(int argc, char** argv) {
    const Source cd{44100, 2}, high{48000, 2}, half{22050, 2}, half_mono{22050, 1}, phone{8000, 1};
    struct Case {
        const char* name;
        std::vector<Source> sources;
        bool fades;
    };
    const std::vector<Case> cases = {
        {"four_44k_stereo", {cd, cd, cd, cd}, false},
        {"four_44k_stereo_fading", {cd, cd, cd, cd}, true},
        {"four_48k_stereo", {high, high, high, high}, false},
        {"four_22k_stereo", {half, half, half, half}, false},
        {"four_22k_mono", {half_mono, half_mono, half_mono, half_mono}, false},
        {"four_8k_mono", {phone, phone, phone, phone}, false},
        {"mixed_rates_fading", {cd, high, half_mono, phone}, true},
        {"sixteen_mixed_rates_fading",
         {cd, high, half, half_mono, phone, cd, high, half, half_mono, phone, cd, high, half,
          half_mono, phone, cd},
         true},
    };
    for (const Case& c : cases)
        benchmark::RegisterBenchmark(
            (std::string("BM_mix_against_plain/") + c.name).c_str(),
            [c](benchmark::State& state) { mix_against_plain(state, c.sources, c.fades); })
            ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
