#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Engine.h>
#include <Orvane/System/Animation.h>

#include "support/Sdl_fixture.h"

namespace Orvane::System {
namespace {

// A store with Clock:time in its slot, as the time system leaves it.
std::shared_ptr<Component::Simple<double>> add_clock(Content& content) {
    return content.set_fac<Component::Simple<double>>(Fast_access_component::CLOCK_TIME, "Clock",
                                                      "time", 0.0);
}

class Animation_system_test : public Test::Sdl_test {
  protected:
    Content content;
};

TEST_F(Animation_system_test, LoadingSpinnerAdvancesOncePerNewFrameNumber) {
    auto clock = add_clock(content);
    // images/animations/sheet.png cut into four cells, one tick each
    auto spinner = content.set<Component::Animation>(
        "Loading_spin", "image", "images/animations/sheet.png", 1000011, 4, 1, true);
    Animation system(content);
    struct Step {
        double time;
        bool redraw;
        std::size_t frame;
    };
    const Step steps[] = {
        {0.0, false, 0},  // the system starts at frame number 0
        {0.05, false, 0}, // 0.6 ticks: still number 0
        {0.09, true, 1},  // number 1
        {0.1, false, 1},
        {1.0, true, 2}, // a jump over several numbers moves the spinner one frame only
        {1.0, false, 2},
        {0.5, true, 3}, // any other number counts as new
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.time);
        clock->set(step.time);
        EXPECT_EQ(system.run_loading(), step.redraw);
        EXPECT_EQ(spinner->current(), step.frame);
    }
}

TEST(Animation_systemDeathTest, MissingSpinnerIsFatalOnANewFrameNumber) {
    Content content;
    auto clock = add_clock(content);
    Animation system(content);
    EXPECT_FALSE(system.run_loading()) << "same number: nothing is looked up";
    clock->set(1.0);
    EXPECT_EXIT(system.run_loading(), ::testing::ExitedWithCode(1),
                "Cannot find Loading_spin:image");
}

// -----------------------------------------------------------------------------------------

// The system with its lists reachable.
class Open_animation : public Animation {
  public:
    using Animation::Animation;
    using Animation::m_started;
    using Animation::m_to_remove;
};

using Timed_camera = Component::Array<double, 4>;
using Timed_move = Component::Tuple<Point, Point, double, double>;
using Timed_rescale = Component::Tuple<double, double, double, double>;
using Fade = Component::Tuple<double, double, bool>;

// The components the engine and the interface create: clock, status, camera, black layer.
class Animation_frame_test : public Test::Sdl_test {
  protected:
    void SetUp() override {
        Orvane::Test::Sdl_test::SetUp();
        clock = add_clock(content);
        Engine::create_fixed_components(content);
        status = content.request<Component::Status>(Fast_access_component::GAME_STATUS);
        camera =
            content.request<Component::Absolute_position>(Fast_access_component::CAMERA_POSITION);
        zoom = content.request<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM);
        black = content.set<Component::Image>("Blackscreen", "image", 1920, 1080, 0, 0, 0, 255);
        black->on() = false;
        content.set<Component::Absolute_position>("Blackscreen", "position", Point(0, 0));
    }

    // A looping sprite of `frames` one-tick frames: its frame index counts the animation
    // frames run.
    std::shared_ptr<Component::Animation> sprite(const std::string& entity, std::size_t frames,
                                                 bool loop = true) {
        auto animation = content.set<Component::Animation>(
            entity, "image", "images/animations/sheet.png", 10, 4, 1, loop);
        animation->frames().assign(frames, Component::Animation::Frame{0, 0, 1, 0});
        return animation;
    }

    // An item with a position and an image, as the room readers leave it.
    std::shared_ptr<Component::Image> item(const std::string& entity, const Point& at) {
        content.set<Component::Absolute_position>(entity, "position", at, false);
        return content.set<Component::Image>(entity, "image", 40, 30, 200, 0, 0, 255);
    }

    Point position(const std::string& entity) const {
        return content.get<Component::Position>(entity, "position")->value();
    }

    Content content;
    std::shared_ptr<Component::Simple<double>> clock;
    std::shared_ptr<Component::Status> status;
    std::shared_ptr<Component::Absolute_position> camera;
    std::shared_ptr<Component::Simple<double>> zoom;
    std::shared_ptr<Component::Image> black;
};

// How many animation frames one display frame runs, and where it leaves the frame number.
TEST_F(Animation_frame_test, DisplayFrameRunsTheAnimationFramesItOwes) {
    struct Case {
        const char* what;
        std::uint64_t last_id;
        double time;
        std::optional<Orvane::Status> pushed;
        bool in_new_room;
        std::size_t frames_run;
        std::uint64_t last_id_after;
    };
    const Case cases[] = {
        {"same frame number (1.04 s is number 12)", 12, 1.04, {}, false, 0, 12},
        {"next frame number (1.09 s is number 13)", 12, 1.09, {}, false, 1, 13},
        {"a slow display frame is made up", 13, 1.42, {}, false, 4, 17},
        {"the clock went back", 17, 1.0, {}, false, 0, 12},
        {"in pause", 12, 1.5, Orvane::Status::PAUSE, false, 0, 18},
        {"in a menu", 12, 1.5, Orvane::Status::IN_MENU, false, 0, 18},
        {"a new room with an unchanged number", 12, 1.04, {}, true, 1, 12},
        {"a new room with new numbers", 12, 1.09, {}, true, 1, 13},
        {"a new room in pause waits", 12, 1.04, Orvane::Status::PAUSE, true, 0, 12},
        {"a new room under a menu waits", 12, 1.04, Orvane::Status::IN_MENU, true, 0, 12},
        {"a cutscene runs like any other status", 12, 1.09, Orvane::Status::CUTSCENE, false, 1, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open_animation system(content);
        // a display frame in pause brings the frame number up to the clock's
        status->reset();
        status->push(Orvane::Status::PAUSE);
        clock->set((static_cast<double>(c.last_id) + 0.5) / 12);
        system.run();
        status->pop();

        if (c.pushed)
            status->push(*c.pushed);
        if (c.in_new_room)
            content.emit("Game", "in_new_room");
        auto ticker = sprite("ticker", 100);
        clock->set(c.time);
        system.run();
        EXPECT_EQ(ticker->current(), c.frames_run);
        // the first animation frame consumes the signal; one that ran none leaves it
        EXPECT_EQ(content.signal("Game", "in_new_room"), c.in_new_room && c.frames_run == 0);
        content.remove("Game", "in_new_room", true);

        // where the frame number was left: the number after it runs exactly one frame
        status->reset();
        const std::size_t before = ticker->current();
        clock->set((static_cast<double>(c.last_id_after) + 1.5) / 12);
        system.run();
        EXPECT_EQ(ticker->current() - before, 1U)
            << "the frame number should have been left at " << c.last_id_after;
    }
}

TEST_F(Animation_frame_test, LeavingAPauseOrAMenuRunsNoCatchUp) {
    for (Orvane::Status paused : {Orvane::Status::PAUSE, Orvane::Status::IN_MENU}) {
        SCOPED_TRACE(static_cast<int>(paused));
        status->reset();
        auto ticker = sprite("ticker", 100);
        Open_animation system(content);
        clock->set(1.0);
        system.run(); // 12 numbers made up from 0
        ASSERT_EQ(ticker->current(), 12U);
        status->push(paused);
        for (double t : {2.0, 3.0, 4.0}) {
            clock->set(t);
            system.run();
        }
        EXPECT_EQ(ticker->current(), 12U) << "sprites stand still";
        status->pop();
        system.run();
        EXPECT_EQ(ticker->current(), 12U) << "no burst when the game goes on";
        clock->set(4.09);
        system.run();
        EXPECT_EQ(ticker->current(), 13U);
    }
}

TEST_F(Animation_frame_test, MenuKeepsTheDisplayFrameAndPauseStopsIt) {
    for (Orvane::Status paused : {Orvane::Status::IN_MENU, Orvane::Status::PAUSE}) {
        SCOPED_TRACE(static_cast<int>(paused));
        status->reset();
        status->push(paused);
        content.set<Fade>("Camera", "fade", 10.0, 11.0, true);
        Open_animation system(content);
        clock->set(10.5);
        system.run();
        const bool gui_frame = paused == Orvane::Status::IN_MENU;
        EXPECT_EQ(black->on(), gui_frame);
        if (gui_frame) {
            EXPECT_EQ(black->alpha(), 127);
        }
        content.remove("Camera", "fade");
        black->on() = false;
    }
}

TEST_F(Animation_frame_test, FadeRunsTheBlackLayerBetweenOpaqueAndClear) {
    struct Step {
        double time;
        int alpha;
        bool on;
        bool running;
    };
    struct Case {
        bool fade_in;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {true, {{10.0, 255, true, true}, {10.5, 127, true, true}, {11.0, 0, false, false}}},
        {false, {{10.0, 0, true, true}, {10.5, 127, true, true}, {11.0, 255, true, false}}},
    };
    Open_animation system(content);
    for (const Case& c : cases) {
        content.set<Fade>("Camera", "fade", 10.0, 11.0, c.fade_in);
        for (const Step& step : c.steps) {
            SCOPED_TRACE(std::string(c.fade_in ? "fade-in at " : "fade-out at ") +
                         std::to_string(step.time));
            clock->set(step.time);
            system.run_gui_frame();
            EXPECT_EQ(black->alpha(), step.alpha);
            EXPECT_EQ(black->on(), step.on);
            EXPECT_EQ(content.request<Fade>("Camera", "fade") != nullptr, step.running);
        }
    }
}

TEST_F(Animation_frame_test, ZoomChangeFollowsTheSquaredProgress) {
    auto change = content.set<Timed_camera>("Camera", "change_zoom", 1.0, 2.0, 10.0, 11.0);
    Open_animation system(content);
    clock->set(10.5);
    system.run_gui_frame();
    EXPECT_DOUBLE_EQ(zoom->value(), 1.25);
    EXPECT_TRUE(zoom->was_altered());
    EXPECT_TRUE(content.request<Timed_camera>("Camera", "change_zoom"));
    clock->set(11.2);
    system.run_gui_frame();
    EXPECT_DOUBLE_EQ(zoom->value(), 2.0);
    EXPECT_FALSE(content.request<Timed_camera>("Camera", "change_zoom")) << "removed at its end";
}

TEST_F(Animation_frame_test, ShakeSwingsTheCameraOnTheLevelWithAFallingAmplitude) {
    camera->set(Point(300, 80));
    content.set<Timed_camera>("Camera", "shake", 10.0, 11.0, 40.0, 300.0);
    Open_animation system(content);
    struct Step {
        double time;
        double x;
    };
    const Step steps[] = {
        {10.0, 300},                               // sin 0
        {10.25, 300 + 40 * 0.75 * std::sin(12.5)}, // three quarters of the amplitude left
        {10.5, 300 + 40 * 0.5 * std::sin(25.0)},
        {11.0, 300}, // nothing left at the end time
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.time);
        clock->set(step.time);
        system.run_gui_frame();
        EXPECT_NEAR(camera->value().x(), step.x, 1e-9);
        EXPECT_EQ(camera->value().y(), 0);
    }
    EXPECT_TRUE(content.request<Timed_camera>("Camera", "shake")) << "its step removes it";
}

TEST_F(Animation_frame_test, MovesAtSixtyFramesPerSecond) {
    item("boat", Point(0, 0));
    content.set<Timed_move>("Camera", "move60fps", Point(0, 0), Point(1000, 200), 10.0, 12.0);
    content.set<Timed_move>("boat", "move60fps", Point(100, 100), Point(300, 500), 10.0, 12.0);
    Open_animation system(content);

    clock->set(11.0);
    system.run_gui_frame();
    EXPECT_EQ(camera->value(), Point(500, 100));
    EXPECT_EQ(position("boat"), Point(200, 300));

    clock->set(12.5);
    system.run_gui_frame();
    EXPECT_EQ(camera->value(), Point(1000, 200)) << "on the end point, not beyond";
    EXPECT_EQ(position("boat"), Point(300, 500));
    EXPECT_FALSE(content.request<Timed_move>("Camera", "move60fps"))
        << "the camera's move ends in the same display frame";
    EXPECT_TRUE(content.request<Timed_move>("boat", "move60fps")) << "its step removes it";
}

TEST_F(Animation_frame_test, RescalesAtSixtyFramesPerSecond) {
    auto boat = item("boat", Point(0, 0));
    content.set<Timed_rescale>("boat", "rescale60fps", 1.0, 0.5, 10.0, 12.0);
    Open_animation system(content);
    clock->set(11.5);
    system.run_gui_frame();
    EXPECT_DOUBLE_EQ(boat->scale(), 0.625);
    clock->set(13.0);
    system.run_gui_frame();
    EXPECT_DOUBLE_EQ(boat->scale(), 0.5);
    EXPECT_TRUE(content.request<Timed_rescale>("boat", "rescale60fps"));
}

TEST_F(Animation_frame_test, EndedGuiAnimationsGoWithWhatTheyRemoveAfter) {
    auto label = item("label", Point(10, 10));
    auto box = item("box", Point(0, 0));
    auto sign = item("sign", Point(0, 0));
    content.set<Component::GUI_image_animation>("label_fade", "animation", 10.0, 11.0, label, 1.0,
                                                1.0, 255, 0, true);
    content.set<Component::GUI_position_animation>(
        "box_slide", "animation", 10.0, 11.0, content.get<Component::Position>("box", "position"),
        Point(50, 0), true);
    content.set<Component::GUI_image_animation>("sign_fade", "animation", 10.0, 11.0, sign, 1.0,
                                                2.0, 255, 255, false);
    Open_animation system(content);

    clock->set(10.5);
    system.run_gui_frame();
    EXPECT_EQ(content.components("animation").size(), 3U) << "all three still running";

    clock->set(11.0);
    system.run_gui_frame();
    EXPECT_TRUE(content.components("animation").empty());
    EXPECT_FALSE(content.request<Component::Image>("label", "image"));
    EXPECT_FALSE(content.request<Component::Position>("label", "position"))
        << "an image goes with its position";
    EXPECT_FALSE(content.request<Component::Position>("box", "position"));
    EXPECT_TRUE(content.request<Component::Image>("box", "image")) << "a moved position goes alone";
    EXPECT_TRUE(content.request<Component::Image>("sign", "image"));
    EXPECT_DOUBLE_EQ(sign->scale(), 2.0) << "finalised on its end values";
}

TEST_F(Animation_frame_test, AnimationFrameAdvancesPlayingSpritesButNotThoseJustStarted) {
    auto fresh = sprite("fresh", 5);
    auto running = sprite("running", 5);
    auto hidden = sprite("hidden", 5);
    hidden->on() = false;
    auto paused = sprite("paused", 5);
    paused->playing() = false;
    Open_animation system(content);
    system.m_started.insert("fresh");

    system.run_animation_frame();
    EXPECT_EQ(fresh->current(), 0U) << "its first frame shows for its whole duration";
    EXPECT_EQ(running->current(), 1U);
    EXPECT_EQ(hidden->current(), 0U);
    EXPECT_EQ(paused->current(), 0U);
    EXPECT_TRUE(system.m_started.empty());

    system.run_animation_frame();
    EXPECT_EQ(fresh->current(), 1U);
    EXPECT_EQ(running->current(), 2U);
}

TEST_F(Animation_frame_test, SpriteThatRunsOutIsSwitchedOffOnItsFirstFrame) {
    auto once = sprite("once", 2, false);
    Open_animation system(content);
    system.run_animation_frame();
    EXPECT_TRUE(once->on()) << "the last frame shows for its duration";
    EXPECT_EQ(once->current(), 1U);
    system.run_animation_frame();
    EXPECT_FALSE(once->on());
    EXPECT_EQ(once->current(), 0U);
}

TEST_F(Animation_frame_test, ConsumedCommandsAreRemovedOnce) {
    // a command that no handler of this frame takes, so that only the list removes it
    auto command = content.set<Component::Signal>("boat", "consumed");
    Open_animation system(content);
    system.m_to_remove.push_back(command);
    system.run_animation_frame();
    EXPECT_FALSE(content.signal("boat", "consumed"));
    EXPECT_TRUE(system.m_to_remove.empty());
    system.run_animation_frame(); // nothing left to remove twice
}

TEST_F(Animation_frame_test, NewRoomShowsTheAnimationsOfItemsWithAState) {
    auto with_state = sprite("lamp", 3);
    with_state->on() = false;
    content.set<Component::Simple<std::string>>("lamp", "state", std::string("lit"));
    auto without = sprite("wave", 3);
    without->on() = false;
    content.emit("Game", "in_new_room");
    Open_animation system(content);
    system.run_animation_frame();
    EXPECT_TRUE(with_state->on());
    EXPECT_EQ(with_state->current(), 1U) << "shown and advanced in the same frame";
    EXPECT_FALSE(without->on());
    EXPECT_TRUE(content.signal("Music", "adjust_mix"));
    EXPECT_FALSE(content.signal("Game", "in_new_room"));
}

// An effect whose end is not after its begin is over at once, on its end values, instead of
// dividing by a zero or negative length.
TEST_F(Animation_frame_test, EffectsOfNoOrNegativeDurationEndAtOnce) {
    for (double length : {0.0, -1.0}) {
        const double begin = 10;
        const double end = begin + length;
        for (double t : {10.0, 10.5}) {
            SCOPED_TRACE("duration " + std::to_string(length) + " at " + std::to_string(t));
            clock->set(t);
            camera->set(Point(70, 40));
            zoom->set(1.0);
            black->on() = true;
            black->set_alpha(128);
            auto boat = item("boat", Point(0, 0));
            content.set<Fade>("Camera", "fade", begin, end, true);
            content.set<Timed_camera>("Camera", "change_zoom", 1.0, 2.0, begin, end);
            content.set<Timed_move>("boat", "move60fps", Point(100, 100), Point(300, 500), begin,
                                    end);
            content.set<Timed_rescale>("boat", "rescale60fps", 1.0, 0.5, begin, end);
            Open_animation system(content);
            system.run_gui_frame();
            EXPECT_EQ(black->alpha(), 0);
            EXPECT_FALSE(black->on());
            EXPECT_FALSE(content.request<Fade>("Camera", "fade"));
            EXPECT_EQ(zoom->value(), 2.0);
            EXPECT_FALSE(content.request<Timed_camera>("Camera", "change_zoom"));
            EXPECT_EQ(position("boat"), Point(300, 500));
            EXPECT_EQ(boat->scale(), 0.5);

            content.set<Fade>("Camera", "fade", begin, end, false);
            content.set<Timed_camera>("Camera", "shake", begin, end, 40.0, 300.0);
            content.set<Timed_move>("Camera", "move60fps", Point(0, 0), Point(800, 100), begin,
                                    end);
            system.run_gui_frame();
            EXPECT_EQ(black->alpha(), 255);
            EXPECT_TRUE(black->on());
            EXPECT_FALSE(content.request<Fade>("Camera", "fade"));
            // the move is played after the shake: it wins, and ends
            EXPECT_EQ(camera->value(), Point(800, 100));
            EXPECT_FALSE(content.request<Timed_move>("Camera", "move60fps"));

            content.remove("Camera", "move60fps", true);
            system.run_gui_frame();
            EXPECT_EQ(camera->value(), Point(300, 0)) << "no shake: the start x, on the level";
            content.remove("Camera", "shake");
        }
    }
}

TEST_F(Animation_frame_test, FadeWithNoOrNegativeDurationReturnsOver) {
    Open_animation system(content);
    clock->set(10.0);
    for (bool fade_in : {true, false})
        for (double end : {10.0, 9.0, 12.0}) {
            SCOPED_TRACE(std::to_string(fade_in) + " ending at " + std::to_string(end));
            EXPECT_EQ(system.fade(10.0, end, fade_in), end > 10.0);
        }
}

TEST(Animation_frameDeathTest, MissingTargetsStopWithTheirNames) {
    struct Case {
        const char* what;
        std::function<void(Content&, Open_animation&)> run;
        const char* message;
    };
    const Case cases[] = {
        {"a fade without its black layer",
         [](Content& content, Open_animation& system) {
             content.set<Fade>("Camera", "fade", 0.0, 1.0, true);
             system.run_gui_frame();
         },
         "Cannot find Blackscreen:image"},
        {"a move of an item without a position",
         [](Content& content, Open_animation& system) {
             content.set<Timed_move>("boat", "move60fps", Point(0, 0), Point(1, 1), 0.0, 1.0);
             system.run_gui_frame();
         },
         "Cannot find boat:position"},
        {"a rescale of an item without an image",
         [](Content& content, Open_animation& system) {
             content.set<Timed_rescale>("boat", "rescale60fps", 1.0, 2.0, 0.0, 1.0);
             system.run_gui_frame();
         },
         "Cannot find boat:image"},
        {"a consumed command no longer in the store",
         [](Content& content, Open_animation& system) {
             system.m_to_remove.push_back(content.set<Component::Signal>("boat", "set_visible"));
             content.remove("boat", "set_visible");
             system.run_animation_frame();
         },
         "Id boat:set_visible doesn't exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Content content;
        add_clock(content)->set(0.5);
        Open_animation system(content);
        EXPECT_EXIT(c.run(content, system), ::testing::ExitedWithCode(1), c.message);
    }
}

} // namespace
} // namespace Orvane::System
