// The sample game's opening cutscene, headless, through the engine in this process: played to
// its end, and skipped a few frames in; both runs must leave the same game.

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>
#include <Orvane/System/Control.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/System/Input.h>
#include <Orvane/System/Interface.h>
#include <Orvane/System/Logic.h>
#include <Orvane/System/Menu.h>
#include <Orvane/System/Sound.h>
#include <Orvane/System/Time.h>

#include "support/Manual_clock.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;

std::string sample_data() {
    const char* build = std::getenv("ORVANE_BUILD_DIR");
    return build == nullptr ? std::string() : std::string(build) + "/data/";
}

// The time system with a fixed step: frame n runs at n / 60 s, whatever the machine does.
class Fixed_step_time : public System::Time {
  public:
    using Time::Time;
    void run() override {
        Time::run();
        ++frames;
        m_content.request<Component::Simple<double>>(Fast_access_component::CLOCK_TIME)
            ->set(frames / 60.0);
    }
    int frames = 0;
};

// The animation system, followed by the end of the room-entry frame (a no-op once the system
// takes the signal itself).
class Room_entering_animation : public System::Animation {
  public:
    using Animation::Animation;
    void run() override {
        Animation::run();
        m_content.receive("Game", "in_new_room");
    }
};

class Cutscene_engine : public Engine {
  public:
    Cutscene_engine() : Engine(1, const_cast<char**>(args)) {
        set_clock(clock.source(), clock.sleeper());
    }
    Orvane::Test::Manual_clock clock;

  protected:
    Systems make_systems() override {
        Systems s;
        s.file_io = std::make_shared<System::File_IO>(content());
        s.graphic = std::make_shared<System::Graphic>(content());
        s.control = std::make_shared<System::Control>(content());
        s.interface = std::make_shared<System::Interface>(content());
        s.menu = std::make_shared<System::Menu>(content());
        s.time = std::make_shared<Fixed_step_time>(content(), clock_source(), clock_sleeper());
        s.animation = std::make_shared<Room_entering_animation>(content());
        s.input = std::make_shared<System::Input>(content());
        s.logic = std::make_shared<System::Logic>(content());
        s.sound = std::make_shared<System::Sound>(content());
        return s;
    }

  private:
    static constexpr const char* args[] = {"orvane", nullptr};
};

// What the two runs must agree on.
struct Outcome {
    std::map<std::string, std::string> states;
    std::map<std::string, int> values;
    std::string player;
    std::string follower;
    std::map<std::string, std::string> positions;
};

Outcome outcome(Content& content) {
    Outcome out;
    for (const auto& [id, c] : content.components("state"))
        if (auto state = Component::cast<Component::Simple<std::string>>(c))
            out.states[id.str()] = state->value();
    for (const auto& [id, c] : content.components("value"))
        if (auto value = Component::cast<Component::Simple<int>>(c))
            out.values[id.str()] = value->value();
    out.player = content.value<Component::Simple<std::string>>("Player", "name", "(none)");
    out.follower = content.value<Component::Simple<std::string>>("Follower", "name", "(none)");
    for (const char* character : {"mara", "pip", "ferran"})
        if (auto position = content.request<Component::Position>(character, "position"))
            out.positions[character] = to_string(position->value());
    return out;
}

// Runs the sample game from its start until the opening scene has ended and the game is idle;
// with skip_at > 0, asks for a skip in that frame.
Outcome play_opening(int skip_at) {
    Cutscene_engine engine;
    EXPECT_TRUE(engine.start_up(sample_data()));
    Content& content = engine.content();
    bool was_cutscene = false;
    bool ended = false;
    for (int frame = 1; frame <= 1200 && !ended; ++frame) {
        if (frame == skip_at) {
            EXPECT_EQ(content.request<Component::Status>(Fast_access_component::GAME_STATUS)
                          ->value(),
                      Status::CUTSCENE)
                << "the skip comes during the cutscene";
            content.emit("Game", "skip_cutscene");
        }
        EXPECT_TRUE(engine.run());
        const Status status =
            content.request<Component::Status>(Fast_access_component::GAME_STATUS)->value();
        was_cutscene = was_cutscene || status == Status::CUTSCENE;
        auto start = content.request<Component::Action>("start", "action");
        ended = was_cutscene && status == Status::IDLE && start && !start->on() &&
                start->scheduled().empty();
    }
    EXPECT_TRUE(was_cutscene);
    EXPECT_TRUE(ended) << "the opening scene did not end in IDLE";
    Outcome out = outcome(content);
    engine.tear_down();
    return out;
}

TEST(LogicCutsceneTest, SkippedOpeningEndsAsThePlayedOne) {
    const Orvane::Test::Temp_pref_folder pref;
    ASSERT_FALSE(sample_data().empty()) << "ORVANE_BUILD_DIR is not set: run through ctest";
    const Outcome played = play_opening(0);
    const Outcome skipped = play_opening(5);

    EXPECT_EQ(played.player, "mara");
    EXPECT_EQ(played.follower, "pip");
    EXPECT_EQ(played.states.at("mara:state"), "player");
    EXPECT_EQ(played.values.at("coins:value"), 0);
    EXPECT_EQ(skipped.states, played.states);
    EXPECT_EQ(skipped.values, played.values);
    EXPECT_EQ(skipped.player, played.player);
    EXPECT_EQ(skipped.follower, played.follower);
    EXPECT_EQ(skipped.positions, played.positions);
}

} // namespace
