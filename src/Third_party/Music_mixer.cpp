#include <algorithm>
#include <array>
#include <cmath>

#include <SDL_mixer.h>

#include <Orvane/Third_party/Music_mixer.h>

namespace Orvane::Third_party {

Music_stream::Music_stream(std::unique_ptr<Music_decoder> decoder, int rate)
    : m_decoder(std::move(decoder)), m_rate(rate > 0 ? rate : 44100) {}

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
            for (std::size_t i = 0; i < got * width; ++i)
                out[i] += std::int32_t(float(decoded[i]) * gain);
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
                for (std::size_t i = used * width; i < got * width; ++i)
                    out[i] += std::int32_t(float(decoded[i]) * gain);
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
        for (std::size_t i = 0; i < n * width; ++i)
            out[i] = std::int16_t(std::clamp<std::int32_t>(sum[i], -32768, 32767));
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
