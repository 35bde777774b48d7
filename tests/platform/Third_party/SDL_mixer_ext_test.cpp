#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Packer/Ogg.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Third_party/Music_mixer.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>
#include <Orvane/Utils/error.h>

#include "support/Packages.h"
#include "support/audio.h"

namespace {

using Orvane::Packaged_asset_manager;
using Orvane::Test::sine;
using Orvane::Third_party::Music_stream;
using Orvane::Third_party::SDL_mixer_ext;

constexpr int rate = 44100;

std::string bytes(const std::vector<char>& v) { return std::string(v.begin(), v.end()); }

/// Music and sounds made once: two looping tones, a long and a short sound.
void load_audio_package() {
    using Orvane::Test::raw_entry;
    static const std::vector<Orvane::Packer::Entry> entries = {
        raw_entry("musics/a.ogg",
                  bytes(Orvane::Packer::encode_ogg(sine(441, 0.5, 2.0, rate), 2, rate))),
        raw_entry("musics/b.ogg",
                  bytes(Orvane::Packer::encode_ogg(sine(1000, 0.5, 2.0, rate), 2, rate))),
        raw_entry("musics/long.ogg",
                  bytes(Orvane::Packer::encode_ogg(sine(441, 0.5, 13.0, rate), 2, rate))),
        raw_entry("musics/not_vorbis.ogg", std::string(3000, 'x')),
        raw_entry("sounds/tone.wav",
                  bytes(Orvane::Test::encode_wav(sine(441, 0.5, 1.0, rate), 2, rate))),
        raw_entry("sounds/long.wav",
                  bytes(Orvane::Test::encode_wav(sine(441, 0.1, 5.0, rate), 2, rate))),
        raw_entry("sounds/tone.ogg",
                  bytes(Orvane::Packer::encode_ogg(sine(441, 0.5, 1.0, rate), 2, rate))),
    };
    Orvane::Test::load_packages(entries);
}

/// Every test starts the audio subsystem afresh on the driver it asks for.
class Mixer : public testing::Test {
  protected:
    void SetUp() override {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        load_audio_package();
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_AUDIO); }
};

using MixerDeathTest = Mixer;

// A machine without a sound device runs the game silent: one warning with the library's
// reason, then everything plays on SDL's dummy driver; the next device tries the configured
// driver again.
TEST_F(Mixer, DeviceThatCannotOpenGivesAWarningAndPlaysSilent) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    {
        testing::internal::CaptureStderr();
        SDL_mixer_ext mixer;
        const std::string warnings = testing::internal::GetCapturedStderr();
        EXPECT_EQ(warnings.rfind("Warning: Cannot initialized SDL Mixer (", 0), 0u) << warnings;
        EXPECT_NE(warnings.find("no_such_driver"), std::string::npos) << warnings;
        EXPECT_TRUE(warnings.ends_with("); the game runs without sound\n")) << warnings;
        EXPECT_TRUE(SDL_mixer_ext::silent());
        EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");

        auto music = SDL_mixer_ext::load_music("musics/a.ogg");
        SDL_mixer_ext::start_music(music, 0, 1.0);
        auto sound = SDL_mixer_ext::load_sound("sounds/tone.wav");
        SDL_mixer_ext::play_sound(sound, 1.0, 0.5);
        // the stand-in device takes the samples as a device would
        for (int i = 0; i < 500 && SDL_mixer_ext::position(music) <= 0; ++i)
            SDL_Delay(10);
        EXPECT_GT(SDL_mixer_ext::position(music), 0.0);
        SDL_mixer_ext::delete_sound(sound);
        SDL_mixer_ext::delete_music(music);
    }
    EXPECT_FALSE(SDL_mixer_ext::silent());
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    testing::internal::CaptureStderr();
    {
        SDL_mixer_ext mixer;
        EXPECT_FALSE(SDL_mixer_ext::silent());
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(MixerDeathTest, MusicOrSoundThatCannotLoadIsFatal) {
    SDL_mixer_ext mixer;
    EXPECT_EXIT(SDL_mixer_ext::load_music("musics/missing.ogg"), testing::ExitedWithCode(1),
                "Cannot load music musics/missing.ogg");
    EXPECT_EXIT(SDL_mixer_ext::load_music("musics/not_vorbis.ogg"), testing::ExitedWithCode(1),
                "Cannot load music musics/not_vorbis.ogg");
    EXPECT_EXIT(SDL_mixer_ext::load_sound("sounds/missing.wav"), testing::ExitedWithCode(1),
                "Cannot load sound sounds/missing.wav");
}

TEST_F(MixerDeathTest, FatalCheckWhileMusicPlaysEndsWithStatusOneEveryTime) {
    // A normal exit would tear down the streams' package buffers and the mixer's list while the
    // audio thread goes on mixing them (status 139 every time here); a large index makes that
    // teardown longer still.
    std::vector<Orvane::Packer::Entry> entries = {
        Orvane::Test::raw_entry(
            "musics/a.ogg", bytes(Orvane::Packer::encode_ogg(sine(441, 0.5, 2.0, rate), 2, rate))),
        Orvane::Test::raw_entry(
            "musics/b.ogg", bytes(Orvane::Packer::encode_ogg(sine(1000, 0.5, 2.0, rate), 2, rate))),
        Orvane::Test::raw_entry(
            "musics/c.ogg", bytes(Orvane::Packer::encode_ogg(sine(660, 0.5, 2.0, rate), 2, rate))),
    };
    for (int i = 0; i < 20000; ++i)
        entries.push_back(Orvane::Test::raw_entry("data/filler/" + std::to_string(i), "x"));
    Orvane::Test::load_packages(entries);
    // The disk device mixes buffer after buffer with hardly a pause, as fast as it can.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    // Forked children: the index is built once here, and this process starts no audio thread
    // (the fixture closed the audio subsystem), so forking is safe.
    GTEST_FLAG_SET(death_test_style, "fast");
    for (int run = 0; run < 50; ++run) {
        SCOPED_TRACE(run);
        EXPECT_EXIT(
            {
                SDL_mixer_ext mixer;
                std::vector<SDL_mixer_ext::Music_handle> musics;
                for (const char* file : {"musics/a.ogg", "musics/b.ogg", "musics/c.ogg"}) {
                    musics.push_back(SDL_mixer_ext::load_music(file));
                    SDL_mixer_ext::start_music(musics.back(), 0, 1.0);
                }
                // Until the device has mixed the streams (at most a few seconds).
                for (int wait = 0; wait < 3000 && SDL_mixer_ext::position(musics.back()) == 0;
                     ++wait)
                    SDL_Delay(1);
                ORVANE_CHECK(false, "checked while the music plays");
            },
            testing::ExitedWithCode(1), "checked while the music plays");
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
}

/// Reads a stream's state under the mixer lock: the device mixes the stream meanwhile.
template <typename Read> auto locked(Read read) {
    auto lock = Orvane::Third_party::Music_mixer::lock();
    return read();
}

TEST_F(Mixer, MusicVolumeUsesSixtyFourAsFull) {
    SDL_mixer_ext mixer;
    auto music = SDL_mixer_ext::load_music("musics/a.ogg");
    SDL_mixer_ext::start_music(music, 0, 1.0);
    EXPECT_EQ(locked([&] { return music.first->volume(); }), 64);
    EXPECT_TRUE(locked([&] { return music.first->playing(); }));
    SDL_mixer_ext::set_volume(music, 0, 0.5);
    EXPECT_EQ(locked([&] { return music.first->volume(); }), 32);
    SDL_mixer_ext::delete_music(music);
    EXPECT_EQ(music.first, nullptr);
}

TEST_F(Mixer, FadeInStartsFromThePositionGiven) {
    SDL_mixer_ext mixer;
    auto music = SDL_mixer_ext::load_music("musics/long.ogg");
    for (double from : {0.0, 12.5}) {
        SCOPED_TRACE(from);
        SDL_mixer_ext::fade(music, 0, 1.0, true, from);
        const double position = SDL_mixer_ext::position(music);
        EXPECT_GE(position, from);
        EXPECT_LT(position, from + 0.5);
        EXPECT_TRUE(locked([&] { return music.first->playing(); }));
    }
    SDL_mixer_ext::delete_music(music);
}

TEST_F(Mixer, FadeOutKeepsPlayingUntilItEndsAndAZeroFadeHaltsAtOnce) {
    SDL_mixer_ext mixer;
    auto music = SDL_mixer_ext::load_music("musics/a.ogg");
    SDL_mixer_ext::start_music(music, 0, 1.0);
    SDL_mixer_ext::fade(music, 0, 2.0, false, 0);
    EXPECT_TRUE(locked([&] { return music.first->playing(); })) << "a 2 s fade-out has only begun";
    SDL_mixer_ext::pause_music(music, 0);
    EXPECT_TRUE(locked([&] { return music.first->paused(); }));
    SDL_mixer_ext::resume_music(music, 0);
    EXPECT_FALSE(locked([&] { return music.first->paused(); }));
    for (double duration : {0.0, -1.0}) {
        SDL_mixer_ext::start_music(music, 0, 1.0);
        SDL_mixer_ext::fade(music, 0, duration, false, 0);
        EXPECT_FALSE(locked([&] { return music.first->playing(); }));
    }
    SDL_mixer_ext::delete_music(music);
}

TEST_F(Mixer, LiveStreamsCountUntilTheLastCopyGoes) {
    SDL_mixer_ext mixer;
    const std::size_t before = Music_stream::live();
    auto music = SDL_mixer_ext::load_music("musics/a.ogg");
    auto other = SDL_mixer_ext::load_music("musics/a.ogg");
    EXPECT_EQ(Music_stream::live(), before + 2);
    auto copy = music;
    SDL_mixer_ext::delete_music(music);
    EXPECT_EQ(Music_stream::live(), before + 2) << "a copy still holds the stream";
    SDL_mixer_ext::delete_music(other);
    EXPECT_EQ(Music_stream::live(), before + 1);
    copy = {};
    EXPECT_EQ(Music_stream::live(), before);
}

TEST_F(Mixer, ACopyOfAHandleKeptAfterDeleteMusicIsHarmless) {
    SDL_mixer_ext mixer;
    auto music = SDL_mixer_ext::load_music("musics/a.ogg");
    SDL_mixer_ext::start_music(music, 0, 1.0);
    const auto copy = music;
    SDL_mixer_ext::delete_music(music);
    ASSERT_NE(copy.first, nullptr);
    EXPECT_FALSE(copy.second) << "the entry is closed for every copy";
    // Every operation on the stale copy works on a stream the mixer no longer reads.
    SDL_mixer_ext::start_music(copy, 0, 1.0);
    SDL_mixer_ext::set_volume(copy, 0, 0.5);
    SDL_mixer_ext::fade(copy, 0, 1.0, true, 0.5);
    SDL_mixer_ext::fade(copy, 0, 1.0, false, 0);
    SDL_mixer_ext::pause_music(copy, 0);
    SDL_mixer_ext::resume_music(copy, 0);
    SDL_mixer_ext::stop_music(copy, 0);
    EXPECT_GE(SDL_mixer_ext::position(copy), 0.0);
    auto again = copy;
    SDL_mixer_ext::delete_music(again); // a second delete through a copy does nothing more
    EXPECT_EQ(again.first, nullptr);
    SDL_Delay(150); // the device mixes a few buffers meanwhile
}

TEST_F(Mixer, AStreamWhoseHandlesAreAllDroppedLeavesTheMixer) {
    SDL_mixer_ext mixer;
    Orvane::Packaged_asset entry;
    {
        auto music = SDL_mixer_ext::load_music("musics/a.ogg");
        entry = music.second;
        SDL_mixer_ext::start_music(music, 0, 1.0);
        SDL_Delay(50);
    } // dropped without delete_music: the mixer must not read it any more
    EXPECT_FALSE(entry) << "the last copy closes the entry";
    auto other = SDL_mixer_ext::load_music("musics/b.ogg");
    SDL_mixer_ext::start_music(other, 0, 1.0);
    SDL_Delay(150);
    EXPECT_TRUE(locked([&] { return other.first->playing(); }));
    SDL_mixer_ext::delete_music(other);
}

TEST_F(Mixer, SeventeenthSoundIsDroppedAndAFinishedChannelIsReused) {
    SDL_mixer_ext mixer;
    auto sound = SDL_mixer_ext::load_sound("sounds/long.wav");
    for (int i = 0; i < 16; ++i)
        SDL_mixer_ext::play_sound(sound, 0.5, 0.5);
    for (int channel = 0; channel < 16; ++channel) {
        SCOPED_TRACE(channel);
        EXPECT_FALSE(SDL_mixer_ext::m_available_channels[std::size_t(channel)]);
        EXPECT_EQ(Mix_Playing(channel), 1);
        EXPECT_EQ(Mix_Volume(channel, -1), 64);
    }
    SDL_mixer_ext::play_sound(sound, 1.0, 0.0); // no channel left
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(Mix_Volume(channel, -1), 64) << "channel " << channel << " kept its volume";
    EXPECT_EQ(SDL_mixer_ext::reserve_channel(), -1);

    Mix_HaltChannel(3); // the sound on channel 3 ends
    EXPECT_TRUE(SDL_mixer_ext::m_available_channels[3]);
    SDL_mixer_ext::play_sound(sound, 1.0, 0.5);
    EXPECT_FALSE(SDL_mixer_ext::m_available_channels[3]);
    EXPECT_EQ(Mix_Volume(3, -1), 128);
    SDL_mixer_ext::delete_sound(sound);
    EXPECT_EQ(sound, nullptr);
}

TEST_F(Mixer, SoundThatCannotStartFreesItsChannel) {
    SDL_mixer_ext mixer;
    Mix_Chunk* none = nullptr;
    SDL_mixer_ext::play_sound(none, 1.0, 0.5);
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_TRUE(SDL_mixer_ext::m_available_channels[std::size_t(channel)]) << channel;
    EXPECT_EQ(SDL_mixer_ext::reserve_channel(), 0);
}

TEST_F(Mixer, OggSoundsLoadToo) {
    SDL_mixer_ext mixer;
    auto sound = SDL_mixer_ext::load_sound("sounds/tone.ogg");
    EXPECT_NE(sound, nullptr);
    SDL_mixer_ext::delete_sound(sound);
}

TEST_F(Mixer, DeletingMusicAndSoundsAfterTheDeviceClosedIsSafe) {
    auto mixer = std::make_unique<SDL_mixer_ext>();
    auto music = SDL_mixer_ext::load_music("musics/a.ogg");
    auto sound = SDL_mixer_ext::load_sound("sounds/long.wav");
    SDL_mixer_ext::start_music(music, 0, 1.0);
    SDL_mixer_ext::play_sound(sound, 1.0, 0.5);
    mixer.reset();
    SDL_mixer_ext::delete_music(music);
    SDL_mixer_ext::delete_sound(sound);
    EXPECT_EQ(music.first, nullptr);
    EXPECT_EQ(sound, nullptr);
    SDL_mixer_ext::delete_music(music); // and twice does nothing
}

/// The device writes what it plays to a file: 16-bit stereo at 44100 Hz.
class Captured_mixer : public Mixer {
  protected:
    void SetUp() override {
        Mixer::SetUp();
        m_capture.emplace(testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        Mixer::TearDown();
        m_capture.reset();
    }

    std::uintmax_t captured_bytes() const { return m_capture->bytes(); }
    void wait_for(std::uintmax_t from, double seconds) const { m_capture->wait_for(from, seconds); }
    std::vector<std::int16_t> captured(std::uintmax_t from, double seconds) const {
        return m_capture->samples(from, seconds);
    }
    std::uintmax_t onset(std::uintmax_t from) const { return m_capture->onset(from); }
    double level(const std::vector<std::int16_t>& samples, int channel, double frequency) const {
        return Orvane::Test::Audio_capture::level(samples, channel, frequency);
    }

    std::optional<Orvane::Test::Audio_capture> m_capture;
};

TEST_F(Captured_mixer, TwoMusicStreamsPlayTogetherAtTheirOwnVolumes) {
    auto mixer = std::make_unique<SDL_mixer_ext>();
    auto a = SDL_mixer_ext::load_music("musics/a.ogg");
    auto b = SDL_mixer_ext::load_music("musics/b.ogg");
    SDL_mixer_ext::set_music_channels(2);
    const auto start = captured_bytes();
    SDL_mixer_ext::start_music(a, 0, 1.0); // 64 of 128: half level
    SDL_mixer_ext::start_music(b, 1, 0.5); // 32 of 128: quarter level
    wait_for(start, 6.0);
    mixer.reset();

    // Past the first buffers, and across a loop of the two-second tracks.
    const auto samples = captured(onset(start) + std::uintmax_t(0.5 * rate) * 4, 2.0);
    ASSERT_EQ(samples.size(), std::size_t(2 * rate) * 2);
    for (int channel : {0, 1}) {
        SCOPED_TRACE(channel);
        const double level_a = level(samples, channel, 441);
        const double level_b = level(samples, channel, 1000);
        EXPECT_NEAR(level_a, 0.25 * 32767, 0.03 * 32767);
        EXPECT_NEAR(level_b, 0.125 * 32767, 0.02 * 32767);
        EXPECT_NEAR(level_a / level_b, 2.0, 0.2);
    }
    SDL_mixer_ext::delete_music(a);
    SDL_mixer_ext::delete_music(b);
}

TEST_F(Captured_mixer, PannedSoundsLandOnTheirSide) {
    struct Case {
        double panning;
        double left, right; // expected amplitudes of the 0.5 tone on each side
    };
    // Centred, each side gets 127 of 255.
    for (const Case& c : {Case{1.0, 0.5, 0}, Case{0.0, 0, 0.5}, Case{0.5, 0.249, 0.249},
                          Case{1.7, 0.5, 0}, Case{-0.5, 0, 0.5}}) {
        SCOPED_TRACE(c.panning);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_capture->restart();
        auto mixer = std::make_unique<SDL_mixer_ext>();
        auto sound = SDL_mixer_ext::load_sound("sounds/tone.wav");
        const auto start = captured_bytes();
        SDL_mixer_ext::play_sound(sound, 1.0, c.panning);
        wait_for(start, 4.0);
        mixer.reset();
        const auto samples = captured(onset(start) + std::uintmax_t(0.1 * rate) * 4, 0.5);
        ASSERT_EQ(samples.size(), std::size_t(0.5 * rate) * 2);
        EXPECT_NEAR(level(samples, 0, 441), c.left * 32767, 0.02 * 32767);
        EXPECT_NEAR(level(samples, 1, 441), c.right * 32767, 0.02 * 32767);
        SDL_mixer_ext::delete_sound(sound);
    }
}

} // namespace
