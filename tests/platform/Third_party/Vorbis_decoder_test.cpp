#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Third_party/Vorbis_decoder.h>

#include <Packer/Ogg.h>

#include "support/audio.h"

namespace {

using Orvane::Third_party::Byte_stream;
using Orvane::Third_party::Vorbis_decoder;

class Memory_bytes : public Byte_stream {
  public:
    explicit Memory_bytes(std::vector<char> bytes) : m_bytes(std::move(bytes)) {}
    std::size_t read(void* data, std::size_t size) override {
        const std::size_t n = std::min(size, m_bytes.size() - m_position);
        if (n > 0)
            std::memcpy(data, m_bytes.data() + m_position, n);
        m_position += n;
        return n;
    }
    bool seek(std::size_t position) override {
        if (position > m_bytes.size())
            return false;
        m_position = position;
        return true;
    }
    std::size_t tell() override { return m_position; }
    std::size_t size() override { return m_bytes.size(); }

  private:
    std::vector<char> m_bytes;
    std::size_t m_position = 0;
};

std::unique_ptr<Vorbis_decoder> open(std::vector<char> bytes, int rate = 44100, int channels = 2) {
    return Vorbis_decoder::open(std::make_unique<Memory_bytes>(std::move(bytes)), rate, channels);
}

/// Everything the decoder gives, interleaved, read `frames` at a time.
std::vector<std::int16_t> decode_all(Vorbis_decoder& decoder, int channels = 2,
                                     std::size_t frames = 1000) {
    std::vector<std::int16_t> out;
    std::vector<std::int16_t> block(frames * std::size_t(channels));
    while (std::size_t n = decoder.read(block.data(), frames))
        out.insert(out.end(), block.begin(), block.begin() + std::ptrdiff_t(n) * channels);
    return out;
}

TEST(Vorbis_decoder, DecodesInTheDeviceFormatOrConvertsToIt) {
    struct Case {
        int file_rate;
        std::vector<bool> file_channels;
    };
    for (const Case& c :
         {Case{44100, {true, false}}, Case{22050, {true}}, Case{48000, {true, false}},
          Case{8000, {true}}, Case{44100, {true}}, Case{96000, {true, false}},
          Case{22050, {true, false}}, Case{11025, {true}}, Case{32000, {true, false}}}) {
        SCOPED_TRACE(testing::Message()
                     << c.file_rate << " Hz, " << c.file_channels.size() << " channels");
        const int file_channels = int(c.file_channels.size());
        auto decoder = open(Orvane::Packer::encode_ogg(
            Orvane::Test::sine(440, 0.5, 1.0, c.file_rate, c.file_channels), file_channels,
            c.file_rate));
        ASSERT_NE(decoder, nullptr);
        EXPECT_EQ(decoder->file_rate(), c.file_rate);
        EXPECT_EQ(decoder->file_channels(), file_channels);
        const auto samples = decode_all(*decoder);
        const std::size_t frames = samples.size() / 2;
        EXPECT_NEAR(double(frames), 44100.0, 100.0);
        const double left = Orvane::Test::tone_level(samples.data(), frames, 2, 0, 440, 44100);
        const double right = Orvane::Test::tone_level(samples.data(), frames, 2, 1, 440, 44100);
        EXPECT_NEAR(left, 0.5 * 32767, 0.05 * 32767);
        if (file_channels == 1)
            EXPECT_NEAR(right, left, 0.02 * 32767) << "mono plays on both sides";
        else
            EXPECT_LT(right, 0.01 * 32767) << "the right channel of the file is silent";
    }
}

TEST(Vorbis_decoder, MonoAtTheDeviceRateIsCopiedToBothSidesUnchanged) {
    const auto ogg =
        Orvane::Packer::encode_ogg(Orvane::Test::sine(440, 0.7, 1.0, 44100, {true}), 1, 44100);
    auto mono = open(ogg, 44100, 1);
    auto stereo = open(ogg, 44100, 2);
    ASSERT_NE(mono, nullptr);
    ASSERT_NE(stereo, nullptr);
    const auto plain = decode_all(*mono, 1);
    const auto both = decode_all(*stereo, 2);
    ASSERT_EQ(both.size(), plain.size() * 2);
    for (std::size_t f = 0; f < plain.size(); ++f)
        ASSERT_TRUE(both[2 * f] == plain[f] && both[2 * f + 1] == plain[f])
            << "frame " << f << ": " << both[2 * f] << ", " << both[2 * f + 1] << " for "
            << plain[f];
}

TEST(Vorbis_decoder, StereoOnAMonoDeviceIsTheAverageOfBothSides) {
    const auto ogg =
        Orvane::Packer::encode_ogg(Orvane::Test::sine(440, 0.6, 1.0, 44100, {true, false}), 2, 44100);
    auto stereo = open(ogg, 44100, 2);
    auto mono = open(ogg, 44100, 1);
    ASSERT_NE(stereo, nullptr);
    ASSERT_NE(mono, nullptr);
    const auto both = decode_all(*stereo, 2);
    const auto one = decode_all(*mono, 1);
    ASSERT_EQ(both.size(), one.size() * 2);
    for (std::size_t f = 0; f < one.size(); ++f)
        ASSERT_NEAR(one[f], (both[2 * f] + both[2 * f + 1]) / 2.0, 1.0) << "frame " << f;
}

TEST(Vorbis_decoder, ConvertedAudioIsTheSameWhateverTheReadSize) {
    for (const int file_rate : {48000, 8000}) {
        SCOPED_TRACE(file_rate);
        const auto ogg = Orvane::Packer::encode_ogg(
            Orvane::Test::sine(440, 0.5, 1.0, file_rate, {true, false}), 2, file_rate);
        auto large = open(ogg);
        auto small = open(ogg);
        ASSERT_NE(large, nullptr);
        ASSERT_NE(small, nullptr);
        const auto expected = decode_all(*large, 2, 2048);
        EXPECT_EQ(decode_all(*small, 2, 7), expected);
        // and after a seek back to the start
        ASSERT_TRUE(small->seek(0));
        EXPECT_EQ(decode_all(*small, 2, 3), expected);
    }
}

TEST(Vorbis_decoder, SeeksToAPositionInSecondsInAConvertedFile) {
    auto decoder =
        open(Orvane::Packer::encode_ogg(Orvane::Test::sine(440, 0.5, 2.0, 48000), 2, 48000));
    ASSERT_NE(decoder, nullptr);
    EXPECT_TRUE(decoder->seek(1.5));
    EXPECT_NEAR(double(decode_all(*decoder).size() / 2), 0.5 * 44100, 10);
    EXPECT_FALSE(decoder->seek(5.0));
    EXPECT_NEAR(double(decode_all(*decoder).size() / 2), 2.0 * 44100, 10) << "back at the start";
}

TEST(Vorbis_decoder, SeeksToAPositionInSeconds) {
    auto decoder =
        open(Orvane::Packer::encode_ogg(Orvane::Test::sine(440, 0.5, 2.0, 44100), 2, 44100));
    ASSERT_NE(decoder, nullptr);
    EXPECT_TRUE(decoder->seek(1.5));
    EXPECT_NEAR(double(decode_all(*decoder).size() / 2), 0.5 * 44100, 10);
    EXPECT_TRUE(decoder->seek(0));
    EXPECT_NEAR(double(decode_all(*decoder).size() / 2), 2.0 * 44100, 10);
    for (double outside : {5.0, -1.0, 1e300, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(outside);
        decode_all(*decoder);
        EXPECT_FALSE(decoder->seek(outside));
        EXPECT_NEAR(double(decode_all(*decoder).size() / 2), 2.0 * 44100, 10)
            << "back at the start";
    }
}

TEST(Vorbis_decoder, RejectsBytesThatAreNotVorbis) {
    EXPECT_EQ(open({}), nullptr);
    EXPECT_EQ(open(std::vector<char>(5000, 'x')), nullptr);
    auto ogg = Orvane::Packer::encode_ogg(Orvane::Test::sine(440, 0.5, 0.2, 44100), 2, 44100);
    ogg.resize(40); // cut inside the headers
    EXPECT_EQ(open(ogg), nullptr);
}

TEST(Vorbis_decoder, TruncatedDataEndsEarly) {
    auto ogg = Orvane::Packer::encode_ogg(Orvane::Test::sine(440, 0.5, 10.0, 44100), 2, 44100);
    ogg.resize(ogg.size() * 6 / 10);
    auto decoder = open(ogg);
    ASSERT_NE(decoder, nullptr);
    const auto frames = decode_all(*decoder).size() / 2;
    EXPECT_GT(frames, 2u * 44100u);
    EXPECT_LT(frames, 10u * 44100u);
}

} // namespace
