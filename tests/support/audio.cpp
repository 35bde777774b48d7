#include "audio.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Orvane::Test {

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
