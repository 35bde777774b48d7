#include "audio.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include <vorbis/vorbisenc.h>

namespace Orvane::Test {

namespace {

void append(std::vector<char>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

} // namespace

std::vector<char> encode_ogg(const std::vector<float>& samples, int channels, int rate) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0)
        std::abort();
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    std::vector<char> out;
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        append(out, page);

    const std::size_t frames = samples.size() / std::size_t(channels);
    std::size_t done = 0;
    bool end = false;
    while (!end) {
        const std::size_t n = std::min<std::size_t>(1024, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, int(n));
            for (std::size_t f = 0; f < n; ++f)
                for (int c = 0; c < channels; ++c)
                    buffer[c][f] = samples[(done + f) * std::size_t(channels) + std::size_t(c)];
            vorbis_analysis_wrote(&dsp, int(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append(out, page);
                    if (ogg_page_eos(&page) != 0)
                        end = true;
                }
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<char> encode_wav(const std::vector<float>& samples, int channels, int rate) {
    std::vector<char> out;
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(char((value >> (8 * i)) & 0xFF));
    };
    const auto data_bytes = std::uint32_t(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + data_bytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2); // PCM
    put(std::uint32_t(channels), 2);
    put(std::uint32_t(rate), 4);
    put(std::uint32_t(rate * channels * 2), 4);
    put(std::uint32_t(channels * 2), 2);
    put(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(data_bytes, 4);
    for (float sample : samples)
        put(std::uint32_t(std::uint16_t(std::int16_t(std::lround(sample * 32767)))), 2);
    return out;
}

std::vector<float> sine(double frequency, double amplitude, double seconds, int rate,
                        std::vector<bool> on_channel) {
    const std::size_t channels = on_channel.size();
    const auto frames = std::size_t(seconds * rate);
    std::vector<float> out(frames * channels, 0.0f);
    for (std::size_t f = 0; f < frames; ++f) {
        const double v = amplitude * std::sin(2 * std::numbers::pi * frequency * double(f) / rate);
        for (std::size_t c = 0; c < channels; ++c)
            if (on_channel[c])
                out[f * channels + c] = float(v);
    }
    return out;
}

double tone_level(const std::int16_t* samples, std::size_t frames, int channels, int channel,
                  double frequency, int rate) {
    const double w = 2 * std::numbers::pi * frequency / rate;
    const double coefficient = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        const double s =
            samples[f * std::size_t(channels) + std::size_t(channel)] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return 2 * std::sqrt(std::max(power, 0.0)) / double(frames);
}

} // namespace Orvane::Test
