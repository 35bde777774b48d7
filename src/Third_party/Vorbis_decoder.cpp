#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <numeric>
#include <vector>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <Orvane/Third_party/Vorbis_decoder.h>

namespace Orvane::Third_party {

namespace {

constexpr int host_big_endian = SDL_BYTEORDER == SDL_BIG_ENDIAN ? 1 : 0;

std::size_t read_bytes(void* data, std::size_t size, std::size_t count, void* source) {
    if (size == 0)
        return 0;
    return static_cast<Byte_stream*>(source)->read(data, size * count) / size;
}

int seek_bytes(void* source, ogg_int64_t offset, int whence) {
    auto* bytes = static_cast<Byte_stream*>(source);
    ogg_int64_t target = offset;
    if (whence == SEEK_CUR)
        target += ogg_int64_t(bytes->tell());
    else if (whence == SEEK_END)
        target += ogg_int64_t(bytes->size());
    if (target < 0 || target > ogg_int64_t(bytes->size()))
        return -1;
    return bytes->seek(std::size_t(target)) ? 0 : -1;
}

long tell_bytes(void* source) { return long(static_cast<Byte_stream*>(source)->tell()); }

/// I0, the modified Bessel function of the first kind, for the Kaiser window.
double bessel_i0(double x) {
    double sum = 1, term = 1;
    for (int k = 1; k < 64 && term > 1e-12 * sum; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

/// The dot product of `n` floats (a multiple of 4), summed in four lanes then across them:
/// (lane 0 + lane 2) + (lane 1 + lane 3), the order `dot4` keeps too.
[[gnu::always_inline]] inline float dot(const float* a, const float* b, std::size_t n) {
#if defined(__SSE__)
    __m128 sum = _mm_setzero_ps();
    for (std::size_t i = 0; i < n; i += 4)
        sum = _mm_add_ps(sum, _mm_mul_ps(_mm_loadu_ps(a + i), _mm_loadu_ps(b + i)));
    sum = _mm_add_ps(sum, _mm_movehl_ps(sum, sum));
    sum = _mm_add_ss(sum, _mm_shuffle_ps(sum, sum, 1));
    return _mm_cvtss_f32(sum);
#else
    float sum[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < n; i += 4)
        for (std::size_t j = 0; j < 4; ++j)
            sum[j] += a[i + j] * b[i + j];
    return (sum[0] + sum[2]) + (sum[1] + sum[3]);
#endif
}

#if defined(__SSE2__)
/// Four outputs at once: the dot products of rows[j] with inputs[j], each summed as `dot` sums
/// it, rounded and clipped to 16 bits as `to_sample` does; the four samples are in the low half.
[[gnu::always_inline]] inline __m128i dot4(const float* const rows[4], const float* const inputs[4],
                                           std::size_t n) {
    __m128 a0 = _mm_setzero_ps(), a1 = _mm_setzero_ps(), a2 = _mm_setzero_ps(),
           a3 = _mm_setzero_ps();
    for (std::size_t i = 0; i < n; i += 4) {
        a0 = _mm_add_ps(a0, _mm_mul_ps(_mm_loadu_ps(rows[0] + i), _mm_loadu_ps(inputs[0] + i)));
        a1 = _mm_add_ps(a1, _mm_mul_ps(_mm_loadu_ps(rows[1] + i), _mm_loadu_ps(inputs[1] + i)));
        a2 = _mm_add_ps(a2, _mm_mul_ps(_mm_loadu_ps(rows[2] + i), _mm_loadu_ps(inputs[2] + i)));
        a3 = _mm_add_ps(a3, _mm_mul_ps(_mm_loadu_ps(rows[3] + i), _mm_loadu_ps(inputs[3] + i)));
    }
    // Transposed: lanes 0 + 2 of each, then lanes 1 + 3 of each, then their sum.
    const __m128 s01 = _mm_add_ps(_mm_unpacklo_ps(a0, a1), _mm_unpackhi_ps(a0, a1));
    const __m128 s23 = _mm_add_ps(_mm_unpacklo_ps(a2, a3), _mm_unpackhi_ps(a2, a3));
    const __m128 sums = _mm_add_ps(_mm_movelh_ps(s01, s23), _mm_movehl_ps(s23, s01));
    // max gives its second operand for NaN: NaN becomes -32768, as in `to_sample`.
    const __m128 scaled =
        _mm_min_ps(_mm_max_ps(_mm_mul_ps(sums, _mm_set1_ps(32768.0f)), _mm_set1_ps(-32768.0f)),
                   _mm_set1_ps(32767.0f));
    const __m128i rounded = _mm_cvtps_epi32(scaled);
    return _mm_packs_epi32(rounded, rounded);
}
#endif

/// A float sample in -1..1 as a 16-bit sample, rounded to the nearest and clamped, as
/// libvorbisfile's own 16-bit output does.
[[gnu::always_inline]] inline std::int16_t to_sample(float value) {
    const float scaled = value * 32768.0f;
    if (!(scaled > -32768.0f))
        return -32768;
    if (scaled >= 32767.0f)
        return 32767;
#if defined(__SSE__)
    return std::int16_t(_mm_cvtss_si32(_mm_set_ss(scaled)));
#else
    return std::int16_t(std::lrint(scaled));
#endif
}

/// Rate conversion by an exact ratio: output frame n stands at input frame n x down / up. A
/// polyphase windowed-sinc filter (Kaiser window), one row of `taps` weights per phase, each
/// row summing to 1. Equal rates give a single phase that copies the input as it is.
struct Polyphase {
    std::size_t up = 1;
    std::size_t down = 1;
    std::size_t taps = 4;       // a multiple of 4
    std::vector<float> weights; // up rows of taps

    /// Tap k of an output weighs input frame (the output's input frame, rounded down) - centre
    /// + k; `centre` frames of silence therefore precede the data.
    std::size_t centre() const { return taps / 2 - 1; }

    /// The filter from `from` frames per second to `to`, or an empty one (`up` 0) when the
    /// ratio needs more than a few thousand phases.
    static Polyphase make(int from, int to) {
        Polyphase p;
        const int common = std::gcd(from, to);
        p.up = std::size_t(to / common);
        p.down = std::size_t(from / common);
        if (p.up > 2048 || p.down > 16 * p.up) {
            p.up = 0;
            return p;
        }
        if (p.up == p.down) {
            p.weights = {0, 1, 0, 0};
            return p;
        }
        // Below the lower Nyquist frequency, with a margin for the transition band.
        const double band = std::min(1.0, double(p.up) / double(p.down));
        const double cutoff = 0.9 * band;
        constexpr double zero_crossings = 5;
        const std::size_t span = std::size_t(std::ceil(2 * zero_crossings / band));
        p.taps = (span + 3) / 4 * 4;
        const double half = double(p.taps) / 2;
        constexpr double beta = 7;
        const double window_scale = 1 / bessel_i0(beta);
        p.weights.resize(p.up * p.taps);
        for (std::size_t phase = 0; phase < p.up; ++phase) {
            float* row = &p.weights[phase * p.taps];
            double sum = 0;
            std::vector<double> w(p.taps);
            for (std::size_t k = 0; k < p.taps; ++k) {
                const double t = double(k) - double(p.centre()) - double(phase) / double(p.up);
                const double x = t / half;
                const double window =
                    x * x < 1 ? bessel_i0(beta * std::sqrt(1 - x * x)) * window_scale : 0;
                const double arg = std::numbers::pi * cutoff * t;
                const double sinc = t == 0 ? 1 : std::sin(arg) / arg;
                w[k] = window * sinc;
                sum += w[k];
            }
            for (std::size_t k = 0; k < p.taps; ++k)
                row[k] = float(w[k] / sum);
        }
        return p;
    }
};

} // namespace

struct Vorbis_decoder::State {
    std::unique_ptr<Byte_stream> bytes;
    OggVorbis_File file{};
    bool open = false;
    int file_rate = 0;
    int file_channels = 0;
    int channels = 2;
    int link = 0;
    int rate = 44100;
    // Files in another rate or channel count go through the own converter: the filter, and the
    // float input of each file channel, from `centre` frames before the next output's on.
    bool convert = false;
    Polyphase filter;
    std::vector<std::vector<float>> input;
    std::size_t cursor = 0; // the first input frame (in `input`) weighed by the next output
    std::size_t phase = 0;  // the next output's row of weights
    bool ended = false;
    // Channel layouts the own converter does not map go through SDL's converter.
    SDL_AudioStream* converter = nullptr;
    bool flushed = false;
    std::int64_t frames_in = 0;  // file frames given to the converter since the last seek
    std::int64_t frames_out = 0; // device frames taken from it since the last seek
    std::int64_t frames_end = 0; // device frames the converted data holds, once flushed

    /// Back to the state before the first frame: silence ahead of the filter's centre.
    void restart() {
        for (auto& samples : input)
            samples.assign(filter.centre(), 0.0f);
        cursor = 0;
        phase = 0;
        ended = false;
        flushed = false;
        frames_in = 0;
        frames_out = 0;
        frames_end = 0;
    }

    ~State() {
        if (converter != nullptr)
            SDL_FreeAudioStream(converter);
        if (open)
            ov_clear(&file);
    }
};

std::unique_ptr<Vorbis_decoder> Vorbis_decoder::open(std::unique_ptr<Byte_stream> bytes, int rate,
                                                     int channels) {
    if (!bytes || rate <= 0 || channels <= 0)
        return nullptr;
    auto state = std::make_unique<State>();
    state->bytes = std::move(bytes);
    state->channels = channels;
    state->rate = rate;
    const ov_callbacks callbacks{read_bytes, seek_bytes, nullptr, tell_bytes};
    if (ov_open_callbacks(state->bytes.get(), &state->file, nullptr, 0, callbacks) < 0)
        return nullptr;
    state->open = true;
    const vorbis_info* info = ov_info(&state->file, -1);
    if (info == nullptr || info->channels <= 0 || info->rate <= 0)
        return nullptr;
    state->file_rate = int(info->rate);
    state->file_channels = info->channels;
    const bool mapped = state->file_channels == channels || state->file_channels == 1 ||
                        (state->file_channels == 2 && channels == 1);
    if (state->file_rate != rate || state->file_channels != channels) {
        state->filter = Polyphase::make(state->file_rate, rate);
        state->convert = mapped && state->filter.up != 0;
    }
    if (state->convert) {
        state->input.resize(std::size_t(state->file_channels));
        state->restart();
    } else if (state->file_rate != rate || state->file_channels != channels) {
        state->converter =
            SDL_NewAudioStream(AUDIO_S16SYS, Uint8(state->file_channels), state->file_rate,
                               AUDIO_S16SYS, Uint8(channels), rate);
        if (state->converter == nullptr)
            return nullptr;
    }
    return std::unique_ptr<Vorbis_decoder>(new Vorbis_decoder(std::move(state)));
}

Vorbis_decoder::Vorbis_decoder(std::unique_ptr<State> state) : m_state(std::move(state)) {}

Vorbis_decoder::~Vorbis_decoder() = default;

int Vorbis_decoder::file_rate() const { return m_state->file_rate; }

int Vorbis_decoder::file_channels() const { return m_state->file_channels; }

std::size_t Vorbis_decoder::decode(char* out, std::size_t bytes) {
    std::size_t done = 0;
    int holes = 0;
    while (done < bytes) {
        int link = 0;
        const int want = int(std::min<std::size_t>(bytes - done, 1 << 16));
        const long got = ov_read(&m_state->file, out + done, want, host_big_endian, 2, 1, &link);
        if (got == OV_HOLE && ++holes < 64)
            continue;
        if (got <= 0)
            break;
        if (link != m_state->link) {
            // A chained link in another format cannot continue this stream: it ends here.
            const vorbis_info* info = ov_info(&m_state->file, link);
            if (info == nullptr || info->channels != m_state->file_channels ||
                int(info->rate) != m_state->file_rate)
                break;
            m_state->link = link;
        }
        done += std::size_t(got);
    }
    return done;
}

std::size_t Vorbis_decoder::pull() {
    State& s = *m_state;
    int holes = 0;
    for (;;) {
        float** pcm = nullptr;
        int link = 0;
        const long got = ov_read_float(&s.file, &pcm, 4096, &link);
        if (got == OV_HOLE && ++holes < 64)
            continue;
        if (got <= 0)
            return 0;
        if (link != s.link) {
            // A chained link in another format cannot continue this stream: it ends here.
            const vorbis_info* info = ov_info(&s.file, link);
            if (info == nullptr || info->channels != s.file_channels ||
                int(info->rate) != s.file_rate)
                return 0;
            s.link = link;
        }
        for (std::size_t c = 0; c < s.input.size(); ++c)
            s.input[c].insert(s.input[c].end(), pcm[c], pcm[c] + got);
        return std::size_t(got);
    }
}

std::size_t Vorbis_decoder::convert(std::int16_t* out, std::size_t frames) {
    State& s = *m_state;
    const Polyphase& filter = s.filter;
    const std::size_t taps = filter.taps;
    const std::size_t width = std::size_t(s.channels);
    const std::size_t file_width = s.input.size();
    std::size_t done = 0;
    while (done < frames) {
        std::size_t room = frames - done;
        if (s.ended)
            room =
                std::min(room, std::size_t(std::max<std::int64_t>(0, s.frames_end - s.frames_out)));
        const std::size_t held = s.input[0].size();
        // Local copies: the loop writes samples through `out`, which must not make the compiler
        // read the filter's state again on every frame.
        const float* weights = filter.weights.data();
        const float* first = s.input[0].data();
        const float* second = file_width > 1 ? s.input[1].data() : first;
        const std::size_t up = filter.up;
        const std::size_t down = filter.down;
        std::size_t cursor = s.cursor;
        std::size_t phase = s.phase;
        std::int16_t* frame = out + done * width;
        std::size_t made = 0;
#if defined(__SSE2__)
        // Four frames at a time for mono and stereo files on a stereo device.
        if (width == 2 && (file_width == 1 || file_width == 2)) {
            for (; made + 4 <= room; made += 4, frame += 8) {
                std::size_t cursors[4];
                const float* rows[4];
                std::size_t next_cursor = cursor, next_phase = phase;
                for (std::size_t j = 0; j < 4; ++j) {
                    cursors[j] = next_cursor;
                    rows[j] = weights + next_phase * taps;
                    next_phase += down;
                    while (next_phase >= up) {
                        next_phase -= up;
                        ++next_cursor;
                    }
                }
                if (cursors[3] + taps > held)
                    break;
                const float* left[4] = {first + cursors[0], first + cursors[1], first + cursors[2],
                                        first + cursors[3]};
                const __m128i l = dot4(rows, left, taps);
                __m128i r = l;
                if (file_width == 2) {
                    const float* right[4] = {second + cursors[0], second + cursors[1],
                                             second + cursors[2], second + cursors[3]};
                    r = dot4(rows, right, taps);
                }
                _mm_storeu_si128(reinterpret_cast<__m128i*>(frame), _mm_unpacklo_epi16(l, r));
                cursor = next_cursor;
                phase = next_phase;
            }
        }
#endif
        for (; made < room && cursor + taps <= held; ++made, frame += width) {
            const float* row = weights + phase * taps;
            if (file_width == 1) {
                const std::int16_t sample = to_sample(dot(row, first + cursor, taps));
                for (std::size_t c = 0; c < width; ++c)
                    frame[c] = sample;
            } else if (file_width == 2 && width == 2) {
                frame[0] = to_sample(dot(row, first + cursor, taps));
                frame[1] = to_sample(dot(row, second + cursor, taps));
            } else if (file_width == width) {
                for (std::size_t c = 0; c < width; ++c)
                    frame[c] = to_sample(dot(row, s.input[c].data() + cursor, taps));
            } else { // stereo to mono
                frame[0] = to_sample(
                    0.5f * (dot(row, first + cursor, taps) + dot(row, second + cursor, taps)));
            }
            phase += down;
            while (phase >= up) {
                phase -= up;
                ++cursor;
            }
        }
        s.cursor = cursor;
        s.phase = phase;
        done += made;
        s.frames_out += std::int64_t(made);
        if (made == room) {
            if (s.ended)
                break;
            continue;
        }
        if (s.ended)
            break;
        // Keeps only the input still to be weighed, then decodes more.
        for (auto& samples : s.input)
            samples.erase(samples.begin(), samples.begin() + std::ptrdiff_t(s.cursor));
        s.cursor = 0;
        const std::size_t got = pull();
        if (got == 0) {
            // The last outputs weigh frames past the end: silence.
            s.ended = true;
            s.frames_end = s.frames_in * std::int64_t(filter.up) / std::int64_t(filter.down);
            for (auto& samples : s.input)
                samples.insert(samples.end(), taps, 0.0f);
        } else {
            s.frames_in += std::int64_t(got);
        }
    }
    return done;
}

std::size_t Vorbis_decoder::read(std::int16_t* out, std::size_t frames) {
    if (m_state->convert)
        return convert(out, frames);
    const std::size_t frame_bytes = sizeof(std::int16_t) * std::size_t(m_state->channels);
    const std::size_t want = frames * frame_bytes;
    if (m_state->converter == nullptr)
        return decode(reinterpret_cast<char*>(out), want) / frame_bytes;

    State& s = *m_state;
    std::array<char, 8192> block;
    const std::size_t file_frame = sizeof(std::int16_t) * std::size_t(s.file_channels);
    while (std::size_t(SDL_AudioStreamAvailable(s.converter)) < want && !s.flushed) {
        const std::size_t got = decode(block.data(), block.size() / file_frame * file_frame);
        if (got == 0) {
            // The resampler keeps a tail back that flushing alone does not give out: push it
            // through with silence, and cut the output where the data ends.
            block.fill(0);
            SDL_AudioStreamPut(s.converter, block.data(),
                               int(block.size() / file_frame * file_frame));
            SDL_AudioStreamFlush(s.converter);
            s.flushed = true;
            s.frames_end = s.frames_in * s.rate / s.file_rate;
            break;
        }
        SDL_AudioStreamPut(s.converter, block.data(), int(got));
        s.frames_in += std::int64_t(got / file_frame);
    }
    std::size_t wanted = want;
    if (s.flushed)
        wanted =
            std::min(wanted, std::size_t(std::max<std::int64_t>(0, s.frames_end - s.frames_out)) *
                                 frame_bytes);
    if (wanted == 0)
        return 0;
    const int got = SDL_AudioStreamGet(s.converter, out, int(wanted));
    if (got <= 0)
        return 0;
    s.frames_out += got / std::int64_t(frame_bytes);
    return std::size_t(got) / frame_bytes;
}

bool Vorbis_decoder::seek(double seconds) {
    if (m_state->converter != nullptr)
        SDL_AudioStreamClear(m_state->converter);
    m_state->restart();
    const ogg_int64_t total = ov_pcm_total(&m_state->file, -1);
    const double target = seconds * m_state->file_rate;
    // Checked as a double first: NaN, infinite or huge positions (a damaged save) have no frame
    // number, and converting them would be undefined.
    const double last = total >= 0 ? double(total) : 9.0e18;
    if (!(target >= 0 && target <= last) || ov_pcm_seek(&m_state->file, ogg_int64_t(target)) != 0) {
        ov_pcm_seek(&m_state->file, 0);
        return false;
    }
    return true;
}

} // namespace Orvane::Third_party
