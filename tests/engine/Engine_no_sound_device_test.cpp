// The sample game on a machine without a sound device: the audio driver named by the
// environment cannot open, the engine says so once and plays its opening scene to its end,
// silent, with its music running and its settings written as usual.

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>

#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Orvane::Test::sample_data;

/// Names an audio driver for the test's life, then puts the previous one back.
class Audio_driver {
  public:
    explicit Audio_driver(const char* name) {
        if (const char* old = std::getenv("SDL_AUDIODRIVER"))
            m_previous = old;
        setenv("SDL_AUDIODRIVER", name, 1);
    }
    ~Audio_driver() {
        if (m_previous.empty())
            unsetenv("SDL_AUDIODRIVER");
        else
            setenv("SDL_AUDIODRIVER", m_previous.c_str(), 1);
    }
    Audio_driver(const Audio_driver&) = delete;
    Audio_driver& operator=(const Audio_driver&) = delete;

  private:
    std::string m_previous;
};

TEST(EngineNoSoundDeviceTest, OpeningPlaysToItsEndSilentAfterOneWarning) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    const Audio_driver driver("no_such_sound_device");

    testing::internal::CaptureStderr();
    Orvane::Test::Fixed_step_engine engine;
    ASSERT_TRUE(engine.start_up(sample_data()));
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("Warning: Cannot initialized SDL Mixer ("), std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("no_such_sound_device"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("); the game runs without sound\n"), std::string::npos) << warnings;
    EXPECT_TRUE(Third_party::SDL_mixer_ext::silent());

    Content& content = engine.content();
    bool was_cutscene = false;
    bool ended = false;
    for (int frame = 1; frame <= 1200 && !ended; ++frame) {
        ASSERT_TRUE(engine.run());
        const Status status =
            content.request<Component::Status>(Fast_access_component::GAME_STATUS)->value();
        was_cutscene = was_cutscene || status == Status::CUTSCENE;
        auto start = content.request<Component::Action>("start", "action");
        ended = was_cutscene && status == Status::IDLE && start && !start->on() &&
                start->scheduled().empty();
    }
    EXPECT_TRUE(was_cutscene);
    EXPECT_TRUE(ended) << "the opening scene did not end in IDLE";
    EXPECT_EQ(content.value<Component::Simple<std::string>>("Player", "name", ""), "mara");

    // the music plays on the stand-in device: its position moves on as it would be heard
    auto music = content.request<Component::Music>("Game", "music");
    ASSERT_TRUE(music);
    ASSERT_GT(music->tracks(), 0u);
    const double at = Third_party::SDL_mixer_ext::position(music->core(0));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Third_party::SDL_mixer_ext::position(music->core(0)) <= at &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(Third_party::SDL_mixer_ext::position(music->core(0)), at);

    engine.tear_down();
    EXPECT_FALSE(Third_party::SDL_mixer_ext::silent());
    EXPECT_NE(pref.read("config.yaml").find("volume"), std::string::npos)
        << "the settings are written as with a sound device";
}

} // namespace
