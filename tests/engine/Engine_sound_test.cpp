// The sample game's sound in the engine, in this process and headless (dummy audio): the quay's
// music with its two tracks follows Mara from the harbour to Ferran's bench, and the step and
// click sounds of the init file play when asked for.

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Engine.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/Music_mixer.h>

#include "support/Manual_clock.h"
#include "support/Sample_data.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Test::sample_data;

// The quay entered as after loading a save: no opening scene.
class Quay_file_io : public System::File_IO {
  public:
    using File_IO::File_IO;
    void read_init() override {
        m_content.set<Component::Simple<std::string>>(Key::force_load_room, "quay");
        m_content.set<Component::Simple<std::string>>(Key::force_load_origin, "quay_save");
        // a save names its player; the music is mixed around her from the first frame
        m_content.set<Component::Simple<std::string>>("Player", "name", std::string("mara"));
        File_IO::read_init();
    }
};

class Quay_engine : public Engine {
  public:
    Quay_engine() : Engine(1, const_cast<char**>(arguments)) {
        set_clock(clock.source(), clock.sleeper());
    }
    /// Runs frames until the quay is loaded (a few at most).
    bool enter_quay() {
        for (int i = 0; i < 20; ++i) {
            clock.at_frame(++frame);
            run();
            auto room = content().request<Component::Simple<std::string>>("Game", "current_room");
            if (room && room->value() == "quay" &&
                !content().request<Component::Base>("Game", "new_room"))
                return true;
        }
        return false;
    }
    void next_frame() {
        clock.at_frame(++frame);
        run();
    }

    Orvane::Test::Manual_clock clock;
    int frame = 0;

  protected:
    Systems make_systems() override {
        Systems s = Engine::make_systems();
        s.file_io = std::make_shared<Quay_file_io>(content());
        return s;
    }

  private:
    static constexpr const char* arguments[] = {"orvane", "--locale", "en_US"};
};

int stream_volume(const Component::Music& music, std::size_t track) {
    auto lock = Third_party::Music_mixer::lock();
    return music.core(track).first->volume();
}

TEST(EngineSoundTest, QuayMusicFollowsMaraToFerransBench) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    Quay_engine engine;
    ASSERT_TRUE(engine.start_up(sample_data()));
    ASSERT_TRUE(engine.enter_quay());
    Content& content = engine.content();

    auto music = content.get<Component::Music>("quay_music", "music");
    ASSERT_EQ(music->tracks(), 2u) << "sea and theme";
    // What the "play" and "control" steps do, for a logic that may not run them yet.
    content.set<Component::Variable>("Game", "music", music);
    content.emit("Music", "start");
    auto body = content.get<Component::Position>(
        content.get<Component::Simple<std::string>>("Player", "name")->value() + "_body",
        "position");

    struct Place {
        const char* where;
        Point at;
        double sea, theme; // the gains of the data
    };
    // Ferran's bench is at (2000, 790): the theme is full within 250, the harbour alone from 900.
    for (const Place& p : {Place{"harbour", Point(600, 900), 1.0, 0.3},
                           Place{"bench", Point(2100, 820), 0.5, 1.0}}) {
        SCOPED_TRACE(p.where);
        body->set(p.at);
        content.emit("Music", "adjust_mix");
        engine.next_frame();
        EXPECT_NEAR(music->mix(0), p.sea, 1e-9);
        EXPECT_NEAR(music->mix(1), p.theme, 1e-9);
        // The default setting 7, at three quarters outside a cutscene.
        const auto status = content.request<Component::Status>(Fast_access_component::GAME_STATUS);
        const double level = 0.7 * (status->is(Orvane::Status::CUTSCENE) ? 1.0 : 0.75);
        EXPECT_EQ(stream_volume(*music, 0), int(p.sea * level * 64));
        EXPECT_EQ(stream_volume(*music, 1), int(p.theme * level * 64));
        EXPECT_GT(stream_volume(*music, 1), 0);
    }
    engine.tear_down();
}

TEST(EngineSoundTest, StepAndClickSoundsPlay) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    Quay_engine engine;
    ASSERT_TRUE(engine.start_up(sample_data()));
    ASSERT_TRUE(engine.enter_quay());
    Content& content = engine.content();

    content.emit("Step", "play_sound");
    content.emit("Click", "play_sound");
    engine.next_frame();
    EXPECT_FALSE(content.signal("Step", "play_sound"));
    EXPECT_FALSE(content.signal("Click", "play_sound"));
    // A channel keeps its last sound after it ends.
    std::set<Mix_Chunk*> played;
    for (int channel = 0; channel < 16; ++channel)
        played.insert(Mix_GetChunk(channel));
    EXPECT_TRUE(played.count(content.get<Component::Sound>("Step", "sound")->core()));
    EXPECT_TRUE(played.count(content.get<Component::Sound>("Click", "sound")->core()));
    engine.tear_down();
}

} // namespace
