// The sample game's opening cutscene, headless, through the engine in this process: played to
// its end, and skipped a few frames in; both runs must leave the same game.

#include <map>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>

#include "support/Fixed_step_engine.h"
#include "support/Temp_pref_folder.h"

namespace {

using namespace Orvane;
using Orvane::Test::sample_data;

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
    Orvane::Test::Fixed_step_engine engine;
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
            content.emit(Key::game_skip_cutscene);
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
