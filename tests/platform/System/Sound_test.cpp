// The sound system over the real mixer: stream volumes and channels are read back from the
// audio layer (dummy driver), and what reaches the speakers from a capture (disk driver).
#include <cstddef>
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

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Sound.h>
#include <Orvane/Third_party/Music_mixer.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>

#include "support/Packages.h"
#include "support/audio.h"

namespace Orvane::System {
namespace {

using Component::Music;
using Mixer = Third_party::SDL_mixer_ext;
using Test::Audio_capture;

constexpr int rate = Audio_capture::rate;

std::string ogg_tone(double frequency, double seconds) {
    const auto bytes = Packer::encode_ogg(Test::sine(frequency, 0.5, seconds, rate), 2, rate);
    return {bytes.begin(), bytes.end()};
}

std::string wav_tone(double amplitude, double seconds) {
    const auto bytes = Test::encode_wav(Test::sine(441, amplitude, seconds, rate), 2, rate);
    return {bytes.begin(), bytes.end()};
}

/// Two music tracks (a low and a high tone) and two effects, encoded once.
void load_audio_package() {
    using Test::raw_entry;
    static const std::vector<Packer::Entry> entries = {
        raw_entry("sounds/musics/low.ogg", ogg_tone(441, 6.0)),
        raw_entry("sounds/musics/high.ogg", ogg_tone(1000, 6.0)),
        raw_entry("sounds/effects/long.wav", wav_tone(0.1, 5.0)),
        raw_entry("sounds/effects/tone.wav", wav_tone(0.5, 1.0)),
    };
    Test::load_packages(entries);
}

/// A store as the other systems leave it (clock, status, both settings at 10, the player "mara"
/// far from everything) and the sound system over the dummy audio driver.
class Sound_system : public testing::Test {
  protected:
    void SetUp() override {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        load_audio_package();
        clock = content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME,
                                                           "Clock", "time", 0.0);
        status = content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game",
                                                    "status");
        status->pop(); // IDLE
        music_volume = content.set<Component::Simple<int>>("Music", "volume", 10);
        sounds_volume = content.set<Component::Simple<int>>("Sounds", "volume", 10);
        content.set<Component::Simple<std::string>>("Player", "name", std::string("mara"));
        body = content.set<Component::Absolute_position>("mara_body", "position", Point(5000, 500));
    }
    void TearDown() override {
        system.reset();
        content.clear();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void open() { system = std::make_unique<Sound>(content); }

    /// The music "quay_music" made current: track 0 the low tone, track 1 the high one; a
    /// general source "harbour" with the gains given and a positional source "bench" at
    /// (1000, 500), radii 100 and 300, gains (0, 1).
    std::shared_ptr<Music> play_music(const std::vector<double>& harbour) {
        auto music = content.set<Music>("quay_music", "music");
        music->add_track("sounds/musics/low.ogg");
        music->add_track("sounds/musics/high.ogg");
        music->add_source("harbour", harbour, 0, 0, 0, 0);
        music->add_source("bench", {0, 1}, 1000, 500, 100, 300);
        music->init();
        content.set<Component::Variable>("Game", "music", music);
        return music;
    }

    static int stream_volume(const Music& music, std::size_t track) {
        auto lock = Third_party::Music_mixer::lock();
        return music.core(track).first->volume();
    }
    static bool playing(const Music& music, std::size_t track) {
        auto lock = Third_party::Music_mixer::lock();
        return music.core(track).first->playing();
    }
    static bool paused(const Music& music, std::size_t track) {
        auto lock = Third_party::Music_mixer::lock();
        return music.core(track).first->paused();
    }
    double resume_at() const {
        return content.get<Component::Simple<double>>("quay_music", "resume_at")->value();
    }
    void fade(double end, bool fade_in) {
        content.set<Component::Tuple<double, double, bool>>("Music", "fade", clock->value(), end,
                                                            fade_in);
    }

    Content content;
    std::unique_ptr<Sound> system;
    std::shared_ptr<Component::Simple<double>> clock;
    std::shared_ptr<Component::Status> status;
    std::shared_ptr<Component::Simple<int>> music_volume;
    std::shared_ptr<Component::Simple<int>> sounds_volume;
    std::shared_ptr<Component::Absolute_position> body;
};

using Sound_systemDeathTest = Sound_system;

TEST_F(Sound_system, MusicPlaysAtTheSettingInTenthsAndThreeQuartersOfItOutsideCutscenes) {
    open();
    auto music = play_music({1.0, 0.5});
    // int(gain x setting / 10 x 0.75 x 64), and without the 0.75 in a cutscene: no setting
    // above 0 is muted.
    struct Case {
        bool cutscene;
        double gain;
        int by_setting[11];
    };
    const Case cases[] = {
        {false, 1.0, {0, 4, 9, 14, 19, 24, 28, 33, 38, 43, 48}},
        {false, 0.5, {0, 2, 4, 7, 9, 12, 14, 16, 19, 21, 24}},
        {true, 1.0, {0, 6, 12, 19, 25, 32, 38, 44, 51, 57, 64}},
        {true, 0.5, {0, 3, 6, 9, 12, 16, 19, 22, 25, 28, 32}},
    };
    for (const Case& c : cases) {
        const std::size_t track = c.gain == 1.0 ? 0 : 1;
        ASSERT_EQ(music->mix(track), c.gain);
        status->reset();
        status->pop();
        if (c.cutscene)
            status->push(Orvane::Status::CUTSCENE);
        for (int setting = 0; setting <= 10; ++setting) {
            SCOPED_TRACE(testing::Message() << "cutscene " << c.cutscene << ", gain " << c.gain
                                            << ", setting " << setting);
            music_volume->set(setting);
            content.emit("Music", "start");
            system->run();
            EXPECT_EQ(stream_volume(*music, track), c.by_setting[setting]);
            EXPECT_TRUE(playing(*music, track));
            // the same level through a refresh
            Mixer::set_volume(music->core(track), int(track), 0);
            content.emit(Key::music_volume_changed);
            system->run();
            EXPECT_EQ(stream_volume(*music, track), c.by_setting[setting]);
        }
    }
}

TEST_F(Sound_system, ACutsceneChangesTheMusicLevelAtTheNextRefreshOnly) {
    open();
    auto music = play_music({1.0, 0.5});
    content.emit("Music", "start");
    system->run();
    EXPECT_EQ(stream_volume(*music, 1), 24); // 0.5 x 0.75 x 64
    status->push(Orvane::Status::CUTSCENE);
    system->run();
    EXPECT_EQ(stream_volume(*music, 1), 24);
    content.emit(Key::music_volume_changed);
    system->run();
    EXPECT_EQ(stream_volume(*music, 1), 32); // 0.5 x 64
    EXPECT_FALSE(content.signal(Key::music_volume_changed));
}

TEST_F(Sound_system, EffectsPlayAtTheSettingInTenths) {
    open();
    content.set<Component::Sound>("gull", "sound", "sounds/effects/long.wav");
    const int by_setting[11] = {0, 12, 25, 38, 51, 64, 76, 89, 102, 115, 128};
    for (int setting = 0; setting <= 10; ++setting) {
        SCOPED_TRACE(setting);
        Mix_HaltChannel(-1); // frees every channel: the next sound takes channel 0
        sounds_volume->set(setting);
        content.emit("gull", "play_sound");
        system->run();
        EXPECT_EQ(Mix_Volume(0, -1), by_setting[setting]);
        EXPECT_EQ(Mix_Playing(0), 1);
        EXPECT_FALSE(content.signal("gull", "play_sound")) << "a request is played once";
    }
}

TEST_F(Sound_system, TheMixFollowsThePlayerAcrossTheRadiiAndThroughSourceFades) {
    open();
    auto music = play_music({1.0, 0.0});
    content.emit("Music", "start");
    system->run();
    struct Place {
        double x;
        int low, high; // stream volumes at setting 10: gain x 48
    };
    // The bench is at x = 1000: full within 100, silent from 300 on.
    for (const Place& p : {Place{5000, 48, 0}, Place{1300, 48, 0}, Place{1200, 24, 24},
                           Place{1100, 0, 48}, Place{1000, 0, 48}, Place{1250, 36, 12}}) {
        SCOPED_TRACE(p.x);
        body->set(Point(p.x, 500));
        content.emit("Music", "adjust_mix");
        system->run();
        EXPECT_EQ(stream_volume(*music, 0), p.low);
        EXPECT_EQ(stream_volume(*music, 1), p.high);
        EXPECT_FALSE(content.signal("Music", "adjust_mix")) << "no fade runs";
    }

    // At the bench, the source fades out over 2 s and in again; the one request keeps the
    // mix recomputed every frame until the fade ends.
    body->set(Point(1000, 500));
    content.emit("Music", "adjust_mix");
    system->run();
    EXPECT_EQ(stream_volume(*music, 1), 48);
    struct Frame {
        double time;
        int low, high;
        bool again;
    };
    clock->set(10);
    music->disable_source("bench", 10, 2);
    content.emit("Music", "adjust_mix");
    for (const Frame& f : {Frame{11, 24, 24, true}, Frame{11.5, 36, 12, true},
                           Frame{12.5, 48, 0, true}, Frame{13, 48, 0, false}}) {
        SCOPED_TRACE(f.time);
        clock->set(f.time);
        system->run();
        EXPECT_EQ(stream_volume(*music, 0), f.low);
        EXPECT_EQ(stream_volume(*music, 1), f.high);
        EXPECT_EQ(content.signal("Music", "adjust_mix"), f.again);
    }
    music->enable_source("bench", 13, 2);
    content.emit("Music", "adjust_mix");
    for (const Frame& f : {Frame{14, 24, 24, true}, Frame{15.5, 0, 48, false}}) {
        SCOPED_TRACE(f.time);
        clock->set(f.time);
        system->run();
        EXPECT_EQ(stream_volume(*music, 0), f.low);
        EXPECT_EQ(stream_volume(*music, 1), f.high);
        EXPECT_EQ(content.signal("Music", "adjust_mix"), f.again);
    }
}

TEST_F(Sound_system, AFadeAfterAStopResumesWhereTheStopBegan) {
    open();
    auto music = play_music({1.0, 0.5});
    content.emit("Music", "start");
    system->run();
    for (int wait = 0; wait < 5000 && Mixer::position(music->core(0)) < 0.5; wait += 10)
        SDL_Delay(10);
    clock->set(5);
    content.emit("Music", "stop");
    system->run();
    const double stopped_at = resume_at();
    EXPECT_GE(stopped_at, 0.5);
    EXPECT_FALSE(content.signal("Music", "stop"));
    // The 0.2 s fade-out ends as the device plays on.
    for (int wait = 0; wait < 5000 && (playing(*music, 0) || playing(*music, 1)); wait += 10)
        SDL_Delay(10);
    EXPECT_FALSE(playing(*music, 0));
    EXPECT_FALSE(playing(*music, 1));

    clock->set(6);
    fade(7, true);
    system->run();
    for (std::size_t track : {0u, 1u}) {
        SCOPED_TRACE(track);
        EXPECT_TRUE(playing(*music, track));
        const double position = Mixer::position(music->core(track));
        EXPECT_GE(position, stopped_at);
        EXPECT_LT(position, stopped_at + 1.0);
    }
    EXPECT_TRUE(music->on());
    EXPECT_EQ(content.request<Component::Base>("Music", "fade"), nullptr) << "consumed";

    // A fade-out keeps its starting position too.
    for (int wait = 0; wait < 5000 && Mixer::position(music->core(0)) < stopped_at + 0.1;
         wait += 10)
        SDL_Delay(10);
    fade(8, false);
    system->run();
    EXPECT_GE(resume_at(), stopped_at + 0.1);
}

TEST_F(Sound_system, ASaveKeepsThePositionAndLeavesTheSignalToTheDataSystem) {
    open();
    auto music = play_music({1.0, 0.5});
    content.emit("Music", "start");
    system->run();
    for (int wait = 0; wait < 5000 && Mixer::position(music->core(0)) < 0.3; wait += 10)
        SDL_Delay(10);
    content.emit("Game", "save");
    system->run();
    EXPECT_GE(resume_at(), 0.3);
    EXPECT_TRUE(content.signal("Game", "save"));
    EXPECT_TRUE(playing(*music, 0));
}

TEST_F(Sound_system, AStartDuringAPauseIsPausedAtOnceAndResumedWithTheGame) {
    open();
    auto music = play_music({1.0, 0.5});
    status->push(Orvane::Status::PAUSE);
    content.emit("Music", "start");
    system->run();
    for (std::size_t track : {0u, 1u}) {
        EXPECT_TRUE(playing(*music, track));
        EXPECT_TRUE(paused(*music, track));
    }
    EXPECT_FALSE(music->on());
    const double held_at = Mixer::position(music->core(0));
    SDL_Delay(150);
    EXPECT_EQ(Mixer::position(music->core(0)), held_at) << "a paused track does not advance";

    status->pop();
    system->run();
    EXPECT_FALSE(paused(*music, 0));
    EXPECT_FALSE(paused(*music, 1));
    EXPECT_TRUE(music->on());
}

TEST_F(Sound_system, MusicRequestsWaitForAMusic) {
    open();
    content.emit("Music", "start");
    content.emit("Music", "adjust_mix");
    content.emit(Key::music_volume_changed);
    system->run();
    EXPECT_TRUE(content.signal("Music", "start"));
    EXPECT_TRUE(content.signal("Music", "adjust_mix"));
    EXPECT_FALSE(content.signal(Key::music_volume_changed)) << "consumed in every case";

    auto music = play_music({1.0, 0.5});
    system->run();
    EXPECT_FALSE(content.signal("Music", "start"));
    EXPECT_FALSE(content.signal("Music", "adjust_mix"));
    EXPECT_TRUE(playing(*music, 0));
    EXPECT_EQ(stream_volume(*music, 0), 48);
}

TEST_F(Sound_system, AMusicWithoutTracksKeepsItsResumePosition) {
    open();
    auto empty = content.set<Music>("silence", "music");
    content.set<Component::Variable>("Game", "music", empty);
    content.emit("Music", "stop");
    content.emit("Game", "save");
    system->run();
    EXPECT_EQ(content.request<Component::Base>("silence", "resume_at"), nullptr)
        << "no track, no position to keep";

    content.set<Component::Simple<double>>("silence", "resume_at", 3.5);
    for (bool fade_in : {false, true}) {
        SCOPED_TRACE(fade_in);
        content.emit("Music", "stop");
        content.emit("Music", "start");
        content.emit("Music", "adjust_mix");
        fade(1, fade_in);
        system->run();
        EXPECT_EQ(content.get<Component::Simple<double>>("silence", "resume_at")->value(), 3.5);
        EXPECT_TRUE(empty->on());
    }
}

TEST_F(Sound_system, CodeLockSoundsPlayOnePerFrameFailureFirst) {
    open();
    auto lock = content.set<Component::Code>("shapes_lock", "code");
    content.set<Component::Variable>("Game", "code", lock);
    std::vector<std::shared_ptr<Component::Sound>> sounds;
    for (const char* suffix : {"_failure", "_success", "_button"})
        sounds.push_back(content.set<Component::Sound>(std::string("shapes_lock") + suffix, "sound",
                                                       "sounds/effects/long.wav"));
    content.emit("code", "play_click");
    content.emit("code", "play_success");
    content.emit("code", "play_failure");
    // Each frame takes the next channel: the long sounds go on playing meanwhile.
    for (int frame = 0; frame < 3; ++frame) {
        SCOPED_TRACE(frame);
        system->run();
        EXPECT_EQ(Mix_Playing(frame), 1);
        EXPECT_EQ(Mix_GetChunk(frame), sounds[std::size_t(frame)]->core());
        EXPECT_EQ(Mix_Playing(frame + 1), 0) << "one sound per frame";
        EXPECT_EQ(Mix_Volume(frame, -1), 128);
    }
    system->run();
    EXPECT_EQ(Mix_Playing(3), 0);
}

TEST_F(Sound_systemDeathTest, MissingDataIsFatal) {
    open();
    EXPECT_EXIT(
        {
            fade(1, true);
            system->run();
        },
        testing::ExitedWithCode(1), "No music to fade");
    EXPECT_EXIT(
        {
            content.emit("ghost", "play_sound");
            system->run();
        },
        testing::ExitedWithCode(1), "Cannot find ghost:sound");
    EXPECT_EXIT(
        {
            content.emit("code", "play_click");
            system->run();
        },
        testing::ExitedWithCode(1), "Cannot find Game:code");
    EXPECT_EXIT(
        {
            content.remove("Music", "volume");
            system->run();
        },
        testing::ExitedWithCode(1), "Cannot find Music:volume");
}

/// The same over the disk driver: what reaches each speaker.
class Captured_sound : public Sound_system {
  protected:
    void SetUp() override {
        Sound_system::SetUp();
        capture.emplace(testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        Sound_system::TearDown();
        capture.reset();
    }
    /// Levels of the low and high tones on the left speaker over 0.5 s, from 0.3 s after
    /// `from` bytes (the buffers already mixed when something changed are skipped).
    std::pair<double, double> tones_after(std::uintmax_t from) const {
        capture->wait_for(from, 1.0);
        const auto samples = capture->samples(from + std::uintmax_t(0.3 * rate) * 4, 0.5);
        EXPECT_EQ(samples.size(), std::size_t(0.5 * rate) * 2);
        return {Audio_capture::level(samples, 0, 441), Audio_capture::level(samples, 0, 1000)};
    }

    std::optional<Audio_capture> capture;
};

TEST_F(Captured_sound, ThePlayerWalkingToTheBenchBringsItsTrackIn) {
    open();
    play_music({1.0, 0.0});
    content.emit("Music", "start");
    system->run();
    // 0.5 x 48 / 128 of full scale for the track heard alone
    const double heard = 0.5 * 48 / 128 * 32767;
    const auto far = tones_after(capture->bytes());
    EXPECT_NEAR(far.first, heard, 0.1 * heard);
    EXPECT_LT(far.second, 0.02 * heard);

    body->set(Point(1050, 500));
    content.emit("Music", "adjust_mix");
    system->run();
    const auto near = tones_after(capture->bytes());
    EXPECT_LT(near.first, 0.02 * heard);
    EXPECT_NEAR(near.second, heard, 0.1 * heard);
}

TEST_F(Captured_sound, PanningAbsentIsCentredAndZeroIsTheRightSpeakerOnly) {
    struct Case {
        std::optional<double> panning;
        double left, right; // amplitudes of the 0.5 tone
    };
    for (const Case& c : {Case{std::nullopt, 0.249, 0.249}, Case{0.0, 0, 0.5}, Case{1.0, 0.5, 0}}) {
        SCOPED_TRACE(c.panning ? std::to_string(*c.panning) : "absent");
        system.reset();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        capture->restart();
        open();
        content.set<Component::Sound>("gull", "sound", "sounds/effects/tone.wav");
        if (c.panning)
            content.set<Component::Simple<double>>("gull", "panning", *c.panning);
        const auto start = capture->bytes();
        content.emit("gull", "play_sound");
        system->run();
        capture->wait_for(start, 4.0);
        system.reset();
        const auto samples =
            capture->samples(capture->onset(start) + std::uintmax_t(0.1 * rate) * 4, 0.5);
        ASSERT_EQ(samples.size(), std::size_t(0.5 * rate) * 2);
        EXPECT_NEAR(Audio_capture::level(samples, 0, 441), c.left * 32767, 0.02 * 32767);
        EXPECT_NEAR(Audio_capture::level(samples, 1, 441), c.right * 32767, 0.02 * 32767);
        EXPECT_EQ(content.request<Component::Base>("gull", "panning") != nullptr,
                  c.panning.has_value())
            << "a panning stays for its writer to overwrite";
        content.remove("gull", "panning", true);
    }
}

} // namespace
} // namespace Orvane::System
