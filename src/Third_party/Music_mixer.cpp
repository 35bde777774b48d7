#include <algorithm>
#include <array>
#include <cmath>

#include <SDL_mixer.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <Orvane/Third_party/Music_mixer.h>

namespace Orvane::Third_party {

namespace {

/// Adds int(sample x gain) (rounded towards zero) of `n` samples into `out`.
void add_scaled(std::int32_t* out, const std::int16_t* in, std::size_t n, float gain) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // The same steps as the plain loop below, eight samples at a time: the same results.
    const __m128 scale = _mm_set1_ps(gain);
    for (; i + 8 <= n; i += 8) {
        const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i low = _mm_srai_epi32(_mm_unpacklo_epi16(samples, samples), 16);
        const __m128i high = _mm_srai_epi32(_mm_unpackhi_epi16(samples, samples), 16);
        const __m128i a = _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(low), scale));
        const __m128i b = _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(high), scale));
        auto* sum = reinterpret_cast<__m128i*>(out + i);
        _mm_storeu_si128(sum, _mm_add_epi32(_mm_loadu_si128(sum), a));
        _mm_storeu_si128(sum + 1, _mm_add_epi32(_mm_loadu_si128(sum + 1), b));
    }
#endif
    for (; i < n; ++i)
        out[i] += std::int32_t(float(in[i]) * gain);
}

/// Writes `n` sums clipped to the 16-bit range.
void clip(std::int16_t* out, const std::int32_t* in, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Packing with signed saturation is exactly the clipping.
    for (; i + 8 <= n; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(a, b));
    }
#endif
    for (; i < n; ++i)
        out[i] = std::int16_t(std::clamp<std::int32_t>(in[i], -32768, 32767));
}

} // namespace

std::atomic<std::size_t> Music_stream::m_live = 0;

Music_stream::Music_stream(std::unique_ptr<Music_decoder> decoder, int rate)
    : m_decoder(std::move(decoder)), m_rate(rate > 0 ? rate : 44100) {
    ++m_live;
}

Music_stream::~Music_stream() { --m_live; }

void Music_stream::start(bool loop, double position) {
    m_loop = loop;
    m_paused = false;
    m_playing = true;
    m_fade = Fade::NONE;
    m_position = 0;
    if (position > 0 && m_decoder->seek(position))
        m_position = std::llround(position * m_rate);
    else
        m_decoder->seek(0);
}

void Music_stream::play(bool loop) { start(loop, 0); }

void Music_stream::fade_in(bool loop, int milliseconds, double position) {
    start(loop, position);
    if (milliseconds <= 0)
        return;
    m_fade = Fade::IN;
    m_fade_length = std::max<std::int64_t>(1, std::int64_t(milliseconds) * m_rate / 1000);
    m_fade_done = 0;
}

void Music_stream::fade_out(int milliseconds) {
    if (!m_playing)
        return;
    if (milliseconds <= 0) {
        halt();
        return;
    }
    // Starts from the level reached so far, so that a fade-in cut short does not jump.
    float level = 1.0f;
    if (m_fade == Fade::IN)
        level = float(m_fade_done) / float(m_fade_length);
    else if (m_fade == Fade::OUT)
        level = m_fade_from * (1.0f - float(m_fade_done) / float(m_fade_length));
    m_fade = Fade::OUT;
    m_fade_from = level;
    m_fade_length = std::max<std::int64_t>(1, std::int64_t(milliseconds) * m_rate / 1000);
    m_fade_done = 0;
}

void Music_stream::halt() {
    m_playing = false;
    m_paused = false;
    m_fade = Fade::NONE;
}

void Music_stream::pause() {
    if (m_playing)
        m_paused = true;
}

void Music_stream::resume() { m_paused = false; }

void Music_stream::set_volume(int volume) { m_volume = std::clamp(volume, 0, max_volume); }

double Music_stream::position() const { return double(m_position) / m_rate; }

void Music_stream::mix_into(std::int32_t* accumulator, std::size_t frames, int channels) {
    std::array<std::int16_t, chunk_samples> decoded;
    const std::size_t width = std::size_t(std::max(channels, 1));
    frames = std::min(frames, chunk_samples / width);
    const float gain = float(m_volume) / float(max_volume);
    bool wrapped = false; // guards against spinning on data that decodes to nothing

    std::size_t done = 0;
    while (done < frames && m_playing && !m_paused) {
        const std::size_t got = m_decoder->read(decoded.data(), frames - done);
        if (got == 0) {
            if (!m_loop || wrapped) {
                halt();
                break;
            }
            wrapped = true;
            m_decoder->seek(0);
            m_position = 0;
            continue;
        }
        wrapped = false;
        std::int32_t* out = accumulator + done * width;
        std::size_t used = got;
        if (m_fade == Fade::NONE) {
            add_scaled(out, decoded.data(), got * width, gain);
        } else {
            const float length = float(m_fade_length);
            for (std::size_t f = 0; f < got; ++f) {
                const float progress = float(m_fade_done) / length;
                const float envelope =
                    m_fade == Fade::IN ? progress : m_fade_from * (1.0f - progress);
                const float g = gain * envelope;
                for (std::size_t c = 0; c < width; ++c)
                    out[f * width + c] += std::int32_t(float(decoded[f * width + c]) * g);
                if (++m_fade_done >= m_fade_length) {
                    used = f + 1;
                    break;
                }
            }
            if (m_fade_done >= m_fade_length) {
                m_position += std::int64_t(used);
                done += used;
                if (m_fade == Fade::OUT) {
                    halt();
                    break;
                }
                // The fade-in is over: the frames decoded past its end still play, at full level.
                m_fade = Fade::NONE;
                add_scaled(out + used * width, decoded.data() + used * width, (got - used) * width,
                           gain);
                m_position += std::int64_t(got - used);
                done += got - used;
                continue;
            }
        }
        m_position += std::int64_t(got);
        done += got;
    }
}

void mix_music(std::span<Music_stream* const> streams, std::int16_t* buffer, std::size_t frames,
               int channels) {
    const std::size_t width = std::size_t(std::max(channels, 1));
    const std::size_t chunk_frames = Music_stream::chunk_samples / width;
    std::array<std::int32_t, Music_stream::chunk_samples> sum;
    for (std::size_t start = 0; start < frames; start += chunk_frames) {
        const std::size_t n = std::min(chunk_frames, frames - start);
        std::int16_t* out = buffer + start * width;
        std::copy(out, out + n * width, sum.begin());
        for (Music_stream* stream : streams)
            if (stream != nullptr)
                stream->mix_into(sum.data(), n, channels);
        clip(out, sum.data(), n * width);
    }
}

std::mutex Music_mixer::m_mutex;
std::vector<Music_stream*> Music_mixer::m_streams;
int Music_mixer::m_rate = 44100;
int Music_mixer::m_channels = 2;

void Music_mixer::install(int rate, int channels) {
    {
        std::lock_guard guard(m_mutex);
        m_rate = rate;
        m_channels = channels;
    }
    Mix_HookMusic(&Music_mixer::hook, nullptr);
}

void Music_mixer::uninstall() { Mix_HookMusic(nullptr, nullptr); }

void Music_mixer::attach(Music_stream* stream) {
    std::lock_guard guard(m_mutex);
    if (std::find(m_streams.begin(), m_streams.end(), stream) == m_streams.end())
        m_streams.push_back(stream);
}

void Music_mixer::detach(Music_stream* stream) {
    std::lock_guard guard(m_mutex);
    std::erase(m_streams, stream);
}

std::unique_lock<std::mutex> Music_mixer::lock() { return std::unique_lock(m_mutex); }

void Music_mixer::hook(void*, std::uint8_t* stream, int length) {
    std::lock_guard guard(m_mutex);
    const std::size_t frame_bytes = sizeof(std::int16_t) * std::size_t(m_channels);
    mix_music(m_streams, reinterpret_cast<std::int16_t*>(stream), std::size_t(length) / frame_bytes,
              m_channels);
}

} // namespace Orvane::Third_party
