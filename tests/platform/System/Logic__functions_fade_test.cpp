#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/Logic.h>

#include "support/Logic_steps_fixture.h"

namespace Orvane::Test {
namespace {

using Fade = Component::Tuple<double, double, bool>;
using Shake = Component::Array<double, 4>;
using Move60fps = Component::Tuple<Point, Point, double, double>;
using Rescale60fps = Component::Tuple<double, double, double, double>;
using Source_state = Component::Music::Source_state;

// The quay's music: a general source, and "bench", positional, switched off; the tracks play.
std::shared_ptr<Component::Music> add_music(Content& content, bool bench_on) {
    auto music = content.set<Component::Music>("quay_music", "music");
    music->add_source("harbour", {1.0, 0.3}, 0, 0, 0, 0);
    music->add_source("bench", {0.5, 1.0}, 1500, 900, 250, 900);
    if (!bench_on)
        music->disable_source("bench", 0, 0);
    music->on() = true;
    return music;
}

// An object "box" at (100, 200), depth 500, scale 0.8.
std::shared_ptr<Component::Image> add_box(Content& content) {
    content.set<Component::Absolute_position>("box", "position", Point(100, 200), false);
    auto image = content.set<Component::Image>("box", "image", 40, 30);
    image->z() = 500;
    image->set_scale(0.8);
    return image;
}

const Component::Music::Source& bench(Content& content) {
    return content.get<Component::Music>("quay_music", "music")->sources().at("bench");
}

const std::vector<Step_case>& fade_step_cases() {
    static const std::vector<Step_case> cases = {
        {"a one-argument fadein fades the screen in and holds the action to its end",
         [](Content&) {},
         "fadein",
         {"2"},
         10.5,
         {{12.5, "Fade:dummy", "Base"}},
         [](Content& c) {
             EXPECT_EQ(c.get<Fade>("Camera", "fade")->value(), std::make_tuple(10.5, 12.5, true));
         }},
        {"a one-argument fadeout fades the screen out",
         [](Content&) {},
         "fadeout",
         {"1"},
         3.0,
         {{4.0, "Fade:dummy", "Base"}},
         [](Content& c) {
             EXPECT_EQ(c.get<Fade>("Camera", "fade")->value(), std::make_tuple(3.0, 4.0, false));
         }},
        {"a fade replaces the one before it",
         [](Content& c) { c.set<Fade>("Camera", "fade", 0.0, 5.0, false); },
         "fadein",
         {"0.5"},
         1.0,
         {{1.5, "Fade:dummy", "Base"}},
         [](Content& c) {
             EXPECT_EQ(c.get<Fade>("Camera", "fade")->value(), std::make_tuple(1.0, 1.5, true));
         }},
        {"a three-argument fadein brings a music source in without holding the action",
         [](Content& c) { add_music(c, false); },
         "fadein",
         {"quay_music", "bench", "3"},
         7.0,
         {},
         [](Content& c) {
             EXPECT_EQ(bench(c).state, Source_state::FADING_IN);
             EXPECT_DOUBLE_EQ(bench(c).fade_start, 7.0);
             EXPECT_DOUBLE_EQ(bench(c).fade_duration, 3.0);
             EXPECT_TRUE(c.signal("Music", "adjust_mix"));
             EXPECT_FALSE(c.request<Fade>("Camera", "fade")) << "the screen is not faded";
         }},
        {"a three-argument fadeout takes a music source out",
         [](Content& c) { add_music(c, true); },
         "fadeout",
         {"quay_music", "bench", "2"},
         7.0,
         {},
         [](Content& c) {
             EXPECT_EQ(bench(c).state, Source_state::FADING_OUT);
             EXPECT_DOUBLE_EQ(bench(c).fade_start, 7.0);
             EXPECT_DOUBLE_EQ(bench(c).fade_duration, 2.0);
             EXPECT_TRUE(c.signal("Music", "adjust_mix"));
         }},
        {"a shake starts from the camera's x and is removed at its end",
         [](Content&) {},
         "shake",
         {"10", "1"},
         5.0,
         {{6.0, "Camera:shake", "Array<double,4>"}},
         [](Content& c) {
             EXPECT_EQ(c.get<Shake>("Camera", "shake")->value(),
                       (std::array<double, 4>{5.0, 6.0, 10.0, 960.0}));
             EXPECT_FALSE(c.request<Component::Base>("Gamepad", "rumble"))
                 << "no rumble with the mouse";
         }},
        {"a shake in gamepad mode also rumbles",
         [](Content& c) {
             c.get<Component::Simple<Input_mode>>("Interface", "input_mode")
                 ->set(Input_mode::GAMEPAD);
         },
         "shake",
         {"10", "1"},
         5.0,
         {{6.0, "Camera:shake", "Array<double,4>"}},
         [](Content& c) {
             const auto rumble = c.get<Component::Pair<double, double>>("Gamepad", "rumble");
             EXPECT_DOUBLE_EQ(rumble->value().first, 0.25);
             EXPECT_DOUBLE_EQ(rumble->value().second, 0.75);
         }},
        {"move60fps moves from the item's position and keeps its depth",
         [](Content& c) { add_box(c); },
         "move60fps",
         {"box", "300", "400", "900", "2"},
         4.0,
         {{6.0, "Dummy:event", "Signal"}, {6.0, "box:move60fps", "Tuple<...>"}},
         [](Content& c) {
             EXPECT_EQ(c.get<Move60fps>("box", "move60fps")->value(),
                       std::make_tuple(Point(100, 200), Point(300, 400), 4.0, 6.0));
             EXPECT_EQ(c.get<Component::Image>("box", "image")->z(), 500);
             EXPECT_EQ(c.get<Component::Position>("box", "position")->value(), Point(100, 200))
                 << "the animation system moves it, not the step";
         }},
        {"move60fps reads whole pixels",
         [](Content& c) { add_box(c); },
         "move60fps",
         {"box", "300.7", "-20", "0", "0.5"},
         1.0,
         {{1.5, "Dummy:event", "Signal"}, {1.5, "box:move60fps", "Tuple<...>"}},
         [](Content& c) {
             EXPECT_EQ(c.get<Move60fps>("box", "move60fps")->value(),
                       std::make_tuple(Point(100, 200), Point(300, -20), 1.0, 1.5));
         }},
        {"rescale60fps rescales from the image's scale",
         [](Content& c) { add_box(c); },
         "rescale60fps",
         {"box", "0.5", "3"},
         2.0,
         {{5.0, "Dummy:event", "Signal"}, {5.0, "box:rescale60fps", "Tuple<...>"}},
         [](Content& c) {
             EXPECT_EQ(c.get<Rescale60fps>("box", "rescale60fps")->value(),
                       std::make_tuple(0.8, 0.5, 2.0, 5.0));
             EXPECT_DOUBLE_EQ(c.get<Component::Image>("box", "image")->scale(), 0.8);
         }},
        {"rescale60fps does not round its duration to animation frames",
         [](Content& c) { add_box(c); },
         "rescale60fps",
         {"box", "2", "0.02"},
         10.03,
         {{10.03 + 0.02, "Dummy:event", "Signal"},
          {10.03 + 0.02, "box:rescale60fps", "Tuple<...>"}},
         [](Content& c) {
             EXPECT_EQ(c.get<Rescale60fps>("box", "rescale60fps")->value(),
                       std::make_tuple(0.8, 2.0, 10.03, 10.03 + 0.02));
         }},
    };
    return cases;
}

TEST_F(Logic_steps_test, CameraFadeMoveAndRescaleSteps) {
    run_step_cases(fade_step_cases(), [](Content& store) {
        store.set_fac<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION,
                                                    "Camera", "position", Point(960, 0), false);
        store.set_fac<Component::Simple<Input_mode>>(Fast_access_component::INTERFACE_INPUT_MODE,
                                                     "Interface", "input_mode", Input_mode::MOUSE);
    });
}

TEST_F(Logic_steps_test, ScheduledRequestsAreTheStoredOnes) {
    // The step engine ends a request by removing the scheduled component: it must be the one
    // in the store.
    add_box(content);
    apply("move60fps", {"box", "1", "2", "0", "1"}, 0);
    apply("rescale60fps", {"box", "2", "1"}, 0);
    apply("shake", {"5", "1"}, 0);
    for (const auto& [time, c] : action->scheduled()) {
        if (c->entity() == "Dummy")
            continue;
        SCOPED_TRACE(c->id().str());
        EXPECT_EQ(content.request<Component::Base>(c->entity(), c->component()), c);
    }
}

TEST_F(Logic_steps_test, ShakeWithoutAStepKeepsItsEndOnTheLogicAction) {
    // The frame shakes the camera on a test request before any step has run.
    logic.now = 2;
    logic.current_action = nullptr;
    EXPECT_TRUE(logic.function_shake({"10", "0.5"}));
    const auto logic_action = content.get<Component::Action>("Logic", "action");
    EXPECT_EQ(schedule_of(*logic_action),
              (std::vector<Scheduled_item>{{2.5, "Camera:shake", "Array<double,4>"}}));
}

TEST_F(Logic_steps_test, AnEarlierShakesEndLeavesTheNewerShake) {
    EXPECT_TRUE(apply("shake", {"10", "1"}, 2));
    EXPECT_TRUE(apply("shake", {"5", "4"}, 2.5));
    const auto newer = content.get<Shake>("Camera", "shake");
    logic.now = 3.5; // the first shake's end is due
    logic.update_scheduled(action, false);
    EXPECT_EQ(content.request<Shake>("Camera", "shake"), newer);
    logic.now = 7;
    logic.update_scheduled(action, false);
    EXPECT_FALSE(content.request<Shake>("Camera", "shake"));
}

TEST_F(Logic_steps_test, SubfunctionFadeIsTheScreenFadeOfBothSteps) {
    logic.now = 4;
    logic.current_action = action;
    EXPECT_TRUE(logic.subfunction_fade(false, 0.25));
    EXPECT_EQ(content.get<Fade>("Camera", "fade")->value(), std::make_tuple(4.0, 4.25, false));
    EXPECT_EQ(schedule_of(*action), (std::vector<Scheduled_item>{{4.25, "Fade:dummy", "Base"}}));
}

struct Fatal_case {
    std::string keyword;
    System::Logic::Arguments args;
    std::string message;
};

// Wrong argument counts of the presentation steps, and the components they must find.
TEST(Logic_stepsDeathTest, WrongCountsAndMissingComponentsStopWithTheirMessages) {
    const std::vector<Fatal_case> cases = {
        {"fadein", {}, "function_fadein takes 1 or 3 arguments"},
        {"fadein", {"quay_music", "bench"}, "function_fadein takes 1 or 3 arguments"},
        {"fadein", {"a", "b", "1", "2"}, "function_fadein takes 1 or 3 arguments"},
        {"fadeout", {}, "function_fadeout takes 1 or 3 arguments"},
        {"fadeout", {"quay_music", "bench"}, "function_fadeout takes 1 or 3 arguments"},
        {"fadeout", {"a", "b", "1", "2"}, "function_fadeout takes 1 or 3 arguments"},
        {"move60fps", {"box", "1", "2", "3"}, "function_move60fps takes 5 arguments"},
        {"move60fps", {"box", "1", "2", "3", "4", "5"}, "function_move60fps takes 5 arguments"},
        {"rescale60fps", {"box", "1"}, "function_rescale60fps takes 3 arguments"},
        {"rescale60fps", {"box", "1", "2", "3"}, "function_rescale60fps takes 3 arguments"},
        {"shake", {"10"}, "function_shake takes 2 arguments"},
        {"shake", {"10", "1", "2"}, "function_shake takes 2 arguments"},
        {"pause", {}, "function_pause takes 1 argument"},
        {"pause", {"waves", "waves"}, "function_pause takes 1 argument"},
        {"play", {}, "function_play takes 1, 2 or 3 arguments"},
        {"play", {"mara", "wave", "1", "2"}, "function_play takes 1, 2 or 3 arguments"},
        {"set12fps", {"door"}, "function_set12fps takes 2 arguments"},
        {"set12fps", {"door", "open", "closed"}, "function_set12fps takes 2 arguments"},
        {"show", {}, "function_show takes 1 argument"},
        {"show", {"title", "title"}, "function_show takes 1 argument"},
        {"fadein", {"nothing", "bench", "1"}, "Cannot find nothing:music"},
        {"fadeout", {"nothing", "bench", "1"}, "Cannot find nothing:music"},
        {"move60fps", {"ghost", "1", "2", "3", "4"}, "Cannot find ghost:position"},
        {"rescale60fps", {"ghost", "1", "2"}, "Cannot find ghost:image"},
        {"show", {"ghost"}, "Cannot find ghost:image"},
        {"play", {"ghost"}, "Cannot find ghost:image"},
        {"play", {"wave", "2"}, "Cannot find Player:name"},
    };
    Content content;
    Test_logic logic(content);
    auto action = content.set<Component::Action>("crate_use", "action");
    for (const Fatal_case& c : cases) {
        SCOPED_TRACE(c.keyword + " with " + std::to_string(c.args.size()) + " arguments");
        EXPECT_EXIT(logic.apply(c.keyword, c.args, 1.0, action), ::testing::ExitedWithCode(1),
                    ": " + c.message + "( \\(script crate_use:action\\))?\n");
    }
}

} // namespace
} // namespace Orvane::Test
