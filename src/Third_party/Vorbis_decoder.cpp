#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <Orvane/Third_party/Vorbis_decoder.h>
#include <Orvane/Utils/Resampler.h>

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
    Resampler filter;
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
        state->filter = Resampler::make(state->file_rate, rate);
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
    const Resampler& filter = s.filter;
    const std::size_t taps = filter.taps;
    const std::size_t width = std::size_t(s.channels);
    std::size_t done = 0;
    while (done < frames) {
        std::size_t room = frames - done;
        if (s.ended)
            room =
                std::min(room, std::size_t(std::max<std::int64_t>(0, s.frames_end - s.frames_out)));
        const std::size_t made =
            filter.run(s.input, s.cursor, s.phase, out + done * width, width, room);
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
