#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Third_party/Music_mixer.h>

namespace {

using Orvane::Third_party::mix_music;
using Orvane::Third_party::Music_decoder;
using Orvane::Third_party::Music_stream;

constexpr int rate = 44100;
constexpr int channels = 2;

/// Decoded audio from a formula: `length` stereo frames whose samples are value(frame, channel).
class Formula_decoder : public Music_decoder {
  public:
    using Formula = std::function<std::int16_t(std::size_t frame, int channel)>;
    Formula_decoder(std::size_t length, Formula value) : m_length(length), m_value(value) {}

    std::size_t read(std::int16_t* out, std::size_t frames) override {
        std::size_t n = 0;
        for (; n < frames && m_cursor < m_length; ++n, ++m_cursor)
            for (int c = 0; c < channels; ++c)
                out[n * channels + c] = m_value(m_cursor, c);
        return n;
    }
    bool seek(double seconds) override {
        const auto frame = std::size_t(seconds * rate);
        m_cursor = frame <= m_length ? frame : 0;
        return frame <= m_length;
    }

  private:
    std::size_t m_length;
    Formula m_value;
    std::size_t m_cursor = 0;
};

std::unique_ptr<Music_stream> constant_stream(std::int16_t value, std::size_t length = 60 * rate) {
    return std::make_unique<Music_stream>(
        std::make_unique<Formula_decoder>(length, [value](std::size_t, int) { return value; }),
        rate);
}

/// Left channel: the frame index modulo 30000, so that tests can tell where the stream is.
std::unique_ptr<Music_stream> counting_stream(std::size_t length) {
    return std::make_unique<Music_stream>(
        std::make_unique<Formula_decoder>(
            length, [](std::size_t frame, int) { return std::int16_t(frame % 30000); }),
        rate);
}

/// Mixes `frames` frames of the streams into silence and returns the left channel.
std::vector<int> mix_left(std::vector<Music_stream*> streams, std::size_t frames) {
    std::vector<std::int16_t> buffer(frames * channels, 0);
    mix_music(streams, buffer.data(), frames, channels);
    std::vector<int> left(frames);
    for (std::size_t f = 0; f < frames; ++f)
        left[f] = buffer[f * channels];
    return left;
}

TEST(Music_mixer, VolumeScalesTheStream) {
    struct Case {
        int volume;
        int expected;
    };
    for (const Case& c : {Case{128, 10000}, Case{64, 5000}, Case{32, 2500}, Case{0, 0},
                          Case{500, 10000}, Case{-3, 0}}) {
        SCOPED_TRACE(c.volume);
        auto stream = constant_stream(10000);
        stream->set_volume(c.volume);
        stream->play(true);
        const auto left = mix_left({stream.get()}, 100);
        EXPECT_EQ(left.front(), c.expected);
        EXPECT_EQ(left.back(), c.expected);
    }
}

TEST(Music_mixer, HaltedStreamAddsNothingAndKeepsTheBuffer) {
    auto stream = constant_stream(10000);
    std::vector<std::int16_t> buffer(200, 7);
    std::vector<Music_stream*> streams{stream.get(), nullptr};
    mix_music(streams, buffer.data(), 100, channels);
    EXPECT_EQ(buffer, std::vector<std::int16_t>(200, 7));
}

TEST(Music_mixer, StreamsAreSummedWithTheBufferAndClipped) {
    struct Case {
        std::int16_t a, b, before;
        int expected;
    };
    for (const Case& c : {Case{20000, 20000, 0, 32767}, Case{-20000, -20000, 0, -32768},
                          Case{20000, -5000, 100, 15100}, Case{30000, 30000, -30000, 30000}}) {
        SCOPED_TRACE(testing::Message() << c.a << " + " << c.b << " + " << c.before);
        auto a = constant_stream(c.a);
        auto b = constant_stream(c.b);
        a->play(true);
        b->play(true);
        std::vector<std::int16_t> buffer(2 * 6000, c.before);
        std::vector<Music_stream*> streams{a.get(), b.get()};
        mix_music(streams, buffer.data(), 6000, channels);
        EXPECT_EQ(buffer.front(), c.expected);
        EXPECT_EQ(buffer.back(), c.expected);
    }
}

TEST(Music_mixer, EverySampleIsScaledSummedAndClippedAsThePlainFormulaSays) {
    // Samples over the whole 16-bit range, odd frame counts (the ends of blocks of eight
    // samples), volumes that round differently: each sample must be
    // clip(before + sum of int(sample x volume / 128)).
    auto value = [](std::size_t frame, int channel) {
        return std::int16_t(int((frame * 7919 + std::size_t(channel) * 104729) % 65536) - 32768);
    };
    auto other = [](std::size_t frame, int channel) {
        return std::int16_t(int((frame * 2713 + std::size_t(channel) * 31) % 60000) - 30000);
    };
    for (int volume : {1, 37, 48, 64, 127, 128}) {
        for (std::size_t frames :
             {std::size_t(1), std::size_t(3), std::size_t(5), std::size_t(13), std::size_t(2051)}) {
            SCOPED_TRACE(testing::Message() << "volume " << volume << ", " << frames << " frames");
            Music_stream a(std::make_unique<Formula_decoder>(frames, value), rate);
            Music_stream b(std::make_unique<Formula_decoder>(frames, other), rate);
            a.set_volume(volume);
            b.set_volume(128 - volume / 2);
            a.play(false);
            b.play(false);
            std::vector<std::int16_t> buffer(frames * channels);
            for (std::size_t i = 0; i < buffer.size(); ++i)
                buffer[i] = std::int16_t(int(i % 5) * 1000 - 2000);
            const auto before = buffer;
            std::vector<Music_stream*> streams{&a, &b};
            mix_music(streams, buffer.data(), frames, channels);
            const float gain_a = float(volume) / 128.0f;
            const float gain_b = float(128 - volume / 2) / 128.0f;
            for (std::size_t i = 0; i < buffer.size(); ++i) {
                const std::size_t f = i / channels;
                const int c = int(i % channels);
                const int sum =
                    before[i] + int(float(value(f, c)) * gain_a) + int(float(other(f, c)) * gain_b);
                ASSERT_EQ(buffer[i], std::clamp(sum, -32768, 32767)) << "sample " << i;
            }
        }
    }
}

TEST(Music_mixer, TwoSecondFadeOutLastsTwoThousandMillisecondsOfSamplesThenHalts) {
    auto stream = constant_stream(10000);
    stream->play(true);
    mix_left({stream.get()}, rate); // one second in
    stream->fade_out(2000);
    const auto left = mix_left({stream.get()}, 2 * rate - 1);
    EXPECT_EQ(left[0], 10000);
    EXPECT_NEAR(left[rate], 5000, 2); // halfway down after one second
    EXPECT_GT(left[2 * rate - 100], 0);
    for (std::size_t f = 1; f < left.size(); ++f)
        ASSERT_LE(left[f], left[f - 1]) << "frame " << f;
    EXPECT_TRUE(stream->playing()) << "one frame of the 2000 ms is still to come";

    mix_left({stream.get()}, 1);
    EXPECT_FALSE(stream->playing());
    EXPECT_EQ(mix_left({stream.get()}, 100), std::vector<int>(100, 0));
    EXPECT_DOUBLE_EQ(stream->position(), 3.0); // the position where the fade ended
}

TEST(Music_mixer, FadeInRisesLinearlyToTheVolume) {
    auto stream = constant_stream(10000);
    stream->set_volume(64);
    stream->fade_in(true, 1000, 0);
    const auto left = mix_left({stream.get()}, 2 * rate);
    EXPECT_EQ(left[0], 0);
    EXPECT_NEAR(left[rate / 4], 1250, 2);
    EXPECT_NEAR(left[rate / 2], 2500, 2);
    EXPECT_EQ(left[rate], 5000);
    EXPECT_EQ(left.back(), 5000);
    for (std::size_t f = 1; f < std::size_t(rate); ++f)
        ASSERT_GE(left[f], left[f - 1]) << "frame " << f;
    EXPECT_TRUE(stream->playing());
}

TEST(Music_mixer, FadesOfZeroOrLessTakeEffectAtOnce) {
    for (int ms : {0, -500}) {
        SCOPED_TRACE(ms);
        auto stream = constant_stream(10000);
        stream->fade_in(true, ms, 0);
        EXPECT_EQ(mix_left({stream.get()}, 10).front(), 10000);
        stream->fade_out(ms);
        EXPECT_FALSE(stream->playing());
        EXPECT_EQ(mix_left({stream.get()}, 10).front(), 0);
        EXPECT_DOUBLE_EQ(stream->position(), 10.0 / rate);
    }
}

TEST(Music_mixer, FadeOutOfAHaltedStreamDoesNothing) {
    auto stream = constant_stream(10000);
    stream->fade_out(1000);
    EXPECT_FALSE(stream->playing());
    EXPECT_EQ(mix_left({stream.get()}, 10).front(), 0);
}

TEST(Music_mixer, FadeOutDuringAFadeInStartsFromTheLevelReached) {
    auto stream = constant_stream(10000);
    stream->fade_in(true, 1000, 0);
    mix_left({stream.get()}, rate / 2); // halfway up
    stream->fade_out(1000);
    const auto left = mix_left({stream.get()}, rate);
    EXPECT_NEAR(left[0], 5000, 2);
    EXPECT_NEAR(left[rate / 2], 2500, 2);
}

TEST(Music_mixer, FadeInFromAPositionStartsThere) {
    auto stream = counting_stream(20 * rate);
    stream->fade_in(true, 1000, 12.5);
    EXPECT_DOUBLE_EQ(stream->position(), 12.5);
    const auto left = mix_left({stream.get()}, rate + 100);
    const std::size_t start = std::size_t(12.5 * rate); // 551250
    EXPECT_EQ(left[rate + 10], int((start + rate + 10) % 30000));
    EXPECT_DOUBLE_EQ(stream->position(), 12.5 + double(rate + 100) / rate);

    stream->fade_in(true, 0, 0); // and position 0 starts from the beginning
    EXPECT_EQ(mix_left({stream.get()}, 5)[3], 3);
}

TEST(Music_mixer, PauseHoldsTheStreamAndResumeGoesOn) {
    auto stream = counting_stream(10 * rate);
    stream->play(true);
    mix_left({stream.get()}, 1000);
    stream->pause();
    EXPECT_TRUE(stream->paused());
    EXPECT_EQ(mix_left({stream.get()}, 500), std::vector<int>(500, 0));
    EXPECT_DOUBLE_EQ(stream->position(), 1000.0 / rate);
    stream->resume();
    const auto left = mix_left({stream.get()}, 3);
    EXPECT_EQ(left, (std::vector<int>{1000, 1001, 1002}));
}

TEST(Music_mixer, ResumeDoesNotRestartAHaltedStream) {
    auto stream = constant_stream(10000);
    stream->play(true);
    stream->halt();
    stream->resume();
    EXPECT_FALSE(stream->playing());
    EXPECT_EQ(mix_left({stream.get()}, 10).front(), 0);
}

TEST(Music_mixer, LoopingStreamWrapsToTheStart) {
    auto stream = counting_stream(1000);
    stream->play(true);
    const auto left = mix_left({stream.get()}, 2500);
    EXPECT_EQ(left[999], 999);
    EXPECT_EQ(left[1000], 0);
    EXPECT_EQ(left[2499], 499);
    EXPECT_TRUE(stream->playing());
    EXPECT_DOUBLE_EQ(stream->position(), 500.0 / rate);
}

TEST(Music_mixer, StreamPlayedOnceHaltsAtTheEnd) {
    auto stream = counting_stream(1000);
    stream->play(false);
    const auto left = mix_left({stream.get()}, 1500);
    EXPECT_EQ(left[999], 999);
    EXPECT_EQ(left[1000], 0);
    EXPECT_FALSE(stream->playing());
}

TEST(Music_mixer, EmptyDataHaltsInsteadOfLoopingForever) {
    auto stream = counting_stream(0);
    stream->play(true);
    EXPECT_EQ(mix_left({stream.get()}, 100), std::vector<int>(100, 0));
    EXPECT_FALSE(stream->playing());
}

TEST(Music_mixer, PositionAdvancesWithThePlayedFramesAndPlayRestartsAtZero) {
    auto stream = counting_stream(10 * rate);
    EXPECT_DOUBLE_EQ(stream->position(), 0.0);
    stream->play(true);
    mix_left({stream.get()}, rate / 2);
    EXPECT_DOUBLE_EQ(stream->position(), 0.5);
    stream->halt();
    EXPECT_DOUBLE_EQ(stream->position(), 0.5);
    stream->play(true);
    EXPECT_DOUBLE_EQ(stream->position(), 0.0);
}

} // namespace
