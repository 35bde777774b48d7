#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Music.h>

#include <Packer/Ogg.h>

#include "support/Packages.h"
#include "support/audio.h"

namespace {

using Orvane::Point;
using Orvane::Component::Music;
using State = Music::Source_state;

std::string ogg_tone(double frequency) {
    const auto bytes =
        Orvane::Packer::encode_ogg(Orvane::Test::sine(frequency, 0.5, 0.2, 44100), 2, 44100);
    return {bytes.begin(), bytes.end()};
}

/// A music of two tracks with a positional source "room" at (0, 0), radii 100 and 300, gains
/// (1, 0), and a general source "all" with gains (0, 1).
class Music_mix : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        using Orvane::Test::raw_entry;
        const auto wav =
            Orvane::Test::encode_wav(Orvane::Test::sine(441, 0.5, 0.1, 44100), 2, 44100);
        Orvane::Test::load_packages(
            {raw_entry("musics/one.ogg", ogg_tone(441)),
             raw_entry("musics/two.ogg", ogg_tone(1000)),
             raw_entry("sounds/click.wav", std::string(wav.begin(), wav.end()))});
    }
    void SetUp() override {
        music = std::make_unique<Music>("hall", "music");
        music->add_track("musics/one.ogg");
        music->add_track("musics/two.ogg");
        music->add_source("room", {1, 0}, 0, 0, 100, 300);
        music->add_source("all", {0, 1}, 0, 0, 0, 0);
        music->init();
    }
    void expect_mix(double one, double two) const {
        EXPECT_NEAR(music->mix(0), one, 1e-9);
        EXPECT_NEAR(music->mix(1), two, 1e-9);
    }
    State state(const std::string& id) const { return music->sources().at(id).state; }

    std::unique_ptr<Music> music;
};

TEST_F(Music_mix, NewMusicHoldsItsTracksAtGainZeroUntilMixed) {
    Music fresh("hall", "music");
    EXPECT_EQ(fresh.str_name(), "Music");
    EXPECT_FALSE(fresh.on());
    fresh.add_track("musics/one.ogg");
    EXPECT_EQ(fresh.tracks(), 1u);
    EXPECT_NE(fresh.core(0).first, nullptr);
    EXPECT_EQ(fresh.mix(0), 0.0);
}

TEST_F(Music_mix, InitSoundsTheGeneralSourcesOnly) {
    expect_mix(0, 1);
    Music positional_only("cave", "music");
    positional_only.add_track("musics/one.ogg");
    positional_only.add_source("room", {1}, 0, 0, 100, 300);
    positional_only.init();
    EXPECT_EQ(positional_only.mix(0), 0.0);
}

TEST_F(Music_mix, PositionalSourceCrossFadesWithTheGeneralMusicByDistance) {
    struct Case {
        double distance, one, two;
    };
    for (const Case& c : {Case{50, 1, 0}, Case{100, 1, 0}, Case{200, 0.5, 0.5}, Case{300, 0, 1},
                          Case{1000, 0, 1}}) {
        SCOPED_TRACE(c.distance);
        EXPECT_FALSE(music->adjust_mix(Point(0, c.distance), 0));
        expect_mix(c.one, c.two);
    }
}

TEST_F(Music_mix, PositionalFadeOutFallsFromItsLastLevel) {
    music->on() = true;
    music->adjust_mix(Point(140, 0), 9); // c = (140 - 300) / (100 - 300) = 0.8
    EXPECT_NEAR(music->sources().at("room").level, 0.8, 1e-9);
    music->disable_source("room", 10, 2);
    EXPECT_EQ(state("room"), State::FADING_OUT);

    EXPECT_TRUE(music->adjust_mix(Point(1000, 0), 11)); // the candidate whatever its distance
    expect_mix(0.4, 0.6);
    EXPECT_TRUE(music->adjust_mix(Point(1000, 0), 12.5));
    EXPECT_EQ(state("room"), State::OFF);
    expect_mix(0, 1);
    EXPECT_FALSE(music->adjust_mix(Point(0, 0), 13)) << "an OFF source is passed over";
    expect_mix(0, 1);
}

TEST_F(Music_mix, DisablingWithoutADurationOrWhileOffIsImmediate) {
    struct Case {
        double duration;
        bool on;
    };
    for (const Case& c : {Case{0, true}, Case{2, false}}) {
        SCOPED_TRACE(testing::Message() << "duration " << c.duration << ", on " << c.on);
        SetUp();
        music->on() = c.on;
        music->disable_source("room", 10, c.duration);
        EXPECT_EQ(state("room"), State::OFF);
        EXPECT_FALSE(music->adjust_mix(Point(0, 50), 10.5));
        expect_mix(0, 1);
    }
}

TEST_F(Music_mix, GeneralSourceFadesInLinearly) {
    music->on() = true;
    music->disable_source("all", 0, 0);
    music->enable_source("all", 0, 4);
    EXPECT_EQ(state("all"), State::FADING_IN);
    EXPECT_TRUE(music->adjust_mix(Point(1000, 0), 1));
    expect_mix(0, 0.25);
    EXPECT_FALSE(music->adjust_mix(Point(1000, 0), 5));
    EXPECT_EQ(state("all"), State::ON);
    expect_mix(0, 1);
}

TEST_F(Music_mix, GeneralSourceFadesOutThenTurnsOff) {
    music->on() = true;
    music->disable_source("all", 0, 4);
    EXPECT_TRUE(music->adjust_mix(Point(1000, 0), 3));
    expect_mix(0, 0.25);
    EXPECT_FALSE(music->adjust_mix(Point(1000, 0), 4.5));
    EXPECT_EQ(state("all"), State::OFF);
    expect_mix(0, 0);
}

TEST_F(Music_mix, PositionalSourceNeverHeardStaysSilentThroughItsFadeIn) {
    music->on() = true;
    music->disable_source("room", 0, 0);
    music->enable_source("room", 0, 2);
    EXPECT_TRUE(music->adjust_mix(Point(0, 50), 1));
    expect_mix(0, 1);
    EXPECT_FALSE(music->adjust_mix(Point(0, 50), 3));
    EXPECT_EQ(state("room"), State::ON);
    expect_mix(1, 0);
}

TEST_F(Music_mix, EnablingAFadingSourceOrDisablingAFadingOneIsImmediate) {
    music->on() = true;
    music->disable_source("all", 0, 4);
    music->enable_source("all", 1, 4);
    EXPECT_EQ(state("all"), State::ON);
    music->disable_source("all", 0, 0);
    music->enable_source("all", 0, 4);
    music->disable_source("all", 1, 4);
    EXPECT_EQ(state("all"), State::OFF);
}

TEST_F(Music_mix, AddingASourceAgainReplacesItsGainsAndPlaceButNotItsState) {
    music->disable_source("room", 0, 0);
    music->add_source("room", {0.5, 0.5}, 1000, 1000, 10, 20);
    const auto& room = music->sources().at("room");
    EXPECT_EQ(room.state, State::OFF);
    EXPECT_EQ(room.position, Point(1000, 1000));
    EXPECT_EQ(room.big_radius, 20);
    EXPECT_EQ(room.mix, (std::vector<double>{0.5, 0.5}));
    music->add_source("room", {0.25, 0.25}, 5, 5, 0, 0); // big radius 0: place kept
    EXPECT_EQ(room.position, Point(1000, 1000));
    EXPECT_EQ(room.mix, (std::vector<double>{0.25, 0.25}));
}

TEST_F(Music_mix, UnknownSourceIdsAreIgnored) {
    music->on() = true;
    music->enable_source("nowhere", 0, 2);
    music->disable_source("nowhere", 0, 2);
    EXPECT_EQ(music->sources().size(), 2u);
    EXPECT_FALSE(music->adjust_mix(Point(1000, 0), 1));
    expect_mix(0, 1);
}

TEST_F(Music_mix, SourceGainsAreReadOnlyWithinTheirLength) {
    music->add_source("all", {0.5}, 0, 0, 0, 0);
    music->adjust_mix(Point(1000, 0), 0);
    expect_mix(0.5, 0);
    music->add_source("all", {0.25, 0.75, 1.0}, 0, 0, 0, 0);
    music->adjust_mix(Point(1000, 0), 0);
    expect_mix(0.25, 0.75);
}

TEST_F(Music_mix, SoundHoldsItsDecodedEffect) {
    Orvane::Third_party::SDL_mixer_ext mixer; // sounds are decoded to the open device's format
    Orvane::Component::Sound sound("door", "sound", "sounds/click.wav");
    EXPECT_EQ(sound.str_name(), "Sound");
    EXPECT_NE(sound.core(), nullptr);
}

} // namespace
