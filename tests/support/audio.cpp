#include "audio.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <thread>

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

Audio_capture::Audio_capture(const std::string& name) {
    const char* build = std::getenv("ORVANE_BUILD_DIR");
    m_file = std::filesystem::path(build != nullptr ? build : ".") / ("capture_" + name + ".raw");
    restart();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", m_file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1); // faster than real time
}

Audio_capture::~Audio_capture() {
    std::error_code ignored;
    std::filesystem::remove(m_file, ignored);
}

void Audio_capture::restart() {
    std::error_code ignored;
    std::filesystem::remove(m_file, ignored);
}

std::uintmax_t Audio_capture::bytes() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(m_file, error);
    return error ? 0 : size;
}

void Audio_capture::wait_for(std::uintmax_t from, double seconds) const {
    const auto goal = from + std::uintmax_t(seconds * rate) * 4;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (bytes() < goal && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

std::vector<std::int16_t> Audio_capture::samples(std::uintmax_t from, double seconds) const {
    std::ifstream in(m_file, std::ios::binary);
    in.seekg(std::streamoff(from / 4 * 4));
    std::vector<std::int16_t> out(std::size_t(seconds * rate) * 2);
    in.read(reinterpret_cast<char*>(out.data()), std::streamsize(out.size() * 2));
    out.resize(std::size_t(std::max<std::streamsize>(in.gcount(), 0)) / 2);
    return out;
}

std::uintmax_t Audio_capture::onset(std::uintmax_t from) const {
    const auto out = samples(from, 10.0);
    for (std::size_t i = 0; i + 1 < out.size(); i += 2)
        if (std::abs(out[i]) > 1000 || std::abs(out[i + 1]) > 1000)
            return from / 4 * 4 + i * 2;
    return from / 4 * 4 + out.size() * 2;
}

double Audio_capture::level(const std::vector<std::int16_t>& samples, int channel,
                            double frequency) {
    return tone_level(samples.data(), samples.size() / 2, 2, channel, frequency, rate);
}

} // namespace Orvane::Test
