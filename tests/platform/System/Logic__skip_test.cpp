#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/Keys.h>
#include <Orvane/Utils/Clock.h>

#include "support/Logic_world_fixture.h"

namespace Orvane::Test {
namespace {

using Slot = Fast_access_component;
using Action_step = Component::Action::Step;
using Move = Component::Tuple<Point, Point, int, int, double, double>;
using Move60fps = Component::Tuple<Point, Point, double, double>;
using Rescale = Component::Tuple<double, double, double, double>;

/// A store with a player (mara, at (0, 0)), a character bob (at (50, 60), facing left), an item
/// box (at (10, 20), depth 30, scale 1) and a door whose view is (700, 650).
struct Skip_world : Logic_world {
    Skip_world() {
        character("mara", 0, 0);
        character("bob", 50, 60, false);
        item("box", 10, 20, 30);
        content.set<Component::Absolute_position>("door", "view", Point(700, 650), false);
    }
    std::shared_ptr<Component::Image> image(const std::string& id) const {
        return content.get<Component::Image>(id, "image");
    }
    Point lookat(const std::string& id) const {
        return content.get<Component::Position>(id, "lookat")->value();
    }
};

class Logic_skip : public Sdl_test {};

/// One skipped step: what the store holds afterwards. Timed steps end where the step's target
/// is, at once, and hold nothing.
struct Skip_case {
    const char* name;
    std::function<void(Skip_world&)> before;
    Action_step step;
    std::function<void(Skip_world&)> after;
};

TEST_F(Logic_skip, EachStepEndsAtItsTarget) {
    const std::vector<Skip_case> cases = {
        {"timed move of an item: placed and at its depth", nullptr,
         Action_step("move", {"box", "100", "200", "40", "2"}),
         [](Skip_world& w) {
             EXPECT_EQ(w.position("box"), Point(100, 200));
             EXPECT_EQ(w.image("box")->z(), 40);
             EXPECT_FALSE(w.content.request<Component::Base>("box", "move"));
         }},
        {"instant move of an item", nullptr, Action_step("move", {"box", "100", "200", "40"}),
         [](Skip_world& w) {
             EXPECT_EQ(w.position("box"), Point(100, 200));
             EXPECT_EQ(w.image("box")->z(), 40);
         }},
        {"a character's move keeps its depth and its facing", nullptr,
         Action_step("move", {"bob", "100", "200", "1500", "false"}),
         [](Skip_world& w) {
             EXPECT_EQ(w.position("bob"), Point(100, 200));
             EXPECT_EQ(w.content.get<Component::Simple<int>>("bob", "z")->value(), 1500);
             EXPECT_EQ(w.lookat("bob"), Point::left());
         }},
        {"move60fps: the position only, as played", nullptr,
         Action_step("move60fps", {"box", "100", "200", "99", "3"}),
         [](Skip_world& w) {
             EXPECT_EQ(w.position("box"), Point(100, 200));
             EXPECT_EQ(w.image("box")->z(), 30) << "the depth stays";
             EXPECT_FALSE(w.content.request<Component::Base>("box", "move60fps"));
         }},
        {"timed rescale", nullptr, Action_step("rescale", {"box", "2", "1"}),
         [](Skip_world& w) {
             EXPECT_DOUBLE_EQ(w.image("box")->scale(), 2.0);
             EXPECT_FALSE(w.content.request<Component::Base>("box", "rescale"));
         }},
        {"rescale60fps of 0.5 over 3 seconds: 0.5 at once", nullptr,
         Action_step("rescale60fps", {"box", "0.5", "3"}),
         [](Skip_world& w) {
             EXPECT_DOUBLE_EQ(w.image("box")->scale(), 0.5);
             EXPECT_FALSE(w.content.request<Component::Base>("box", "rescale60fps"));
         }},
        {"camera glide: placed at once", nullptr, Action_step("camera", {"500"}),
         [](Skip_world& w) {
             EXPECT_EQ(w.position("Camera"), Point(500, 0));
             EXPECT_FALSE(w.content.request<Component::Base>("Camera", "animation"));
         }},
        {"camera move with a duration: placed at once", nullptr,
         Action_step("camera", {"500", "200", "2"}),
         [](Skip_world& w) {
             EXPECT_EQ(w.position("Camera"), Point(500, 200));
             EXPECT_FALSE(w.content.request<Component::Base>("Camera", "move60fps"));
         }},
        {"zoom with a duration: at once", nullptr, Action_step("zoom", {"2", "3"}),
         [](Skip_world& w) {
             EXPECT_DOUBLE_EQ(w.zoom->value(), 2.0);
             EXPECT_FALSE(w.content.request<Component::Base>("Camera", "change_zoom"));
         }},
        {"hide of an image", nullptr, Action_step("hide", {"box"}),
         [](Skip_world& w) { EXPECT_FALSE(w.image("box")->on()); }},
        {"hide of the player: its image selects nothing, its group hides it", nullptr,
         Action_step("hide", {"mara"}),
         [](Skip_world& w) { EXPECT_TRUE(w.content.signal("mara", "set_hidden")); }},
        {"hide of what is not there: nothing", nullptr, Action_step("hide", {"ghost"}),
         [](Skip_world& w) { EXPECT_FALSE(w.content.signal("ghost", "set_hidden")); }},
        {"stop", nullptr, Action_step("stop", {"Player"}),
         [](Skip_world& w) { EXPECT_TRUE(w.content.signal("mara", "stop_animation")); }},
        {"any other step is dropped", nullptr, Action_step("emit", {"bell"}),
         [](Skip_world& w) { EXPECT_FALSE(w.content.signal("bell", "signal")); }},
    };
    for (const Skip_case& c : cases) {
        SCOPED_TRACE(c.name);
        Skip_world world;
        if (c.before)
            c.before(world);
        world.at(5.0);
        world.logic->skip_step(c.step);
        c.after(world);
        EXPECT_TRUE(world.script->scheduled().empty()) << "a skipped step holds nothing";
    }
}

TEST_F(Logic_skip, AGotoPlacesTheWalkerWhereItWouldHaveWalked) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string walker;
        Point at;
    };
    const Case cases[] = {
        {"two numbers: the player", {"100", "200"}, "mara", Point(100, 200)},
        {"a negative coordinate", {"-40", "200"}, "mara", Point(-40, 200)},
        {"a character and two numbers", {"bob", "100", "200"}, "bob", Point(100, 200)},
        {"an item: the player to its view", {"door"}, "mara", Point(700, 650)},
        {"a character to an item", {"bob", "door"}, "bob", Point(700, 650)},
        {"no argument: the target of the player's action", {}, "mara", Point(700, 650)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Skip_world w;
        w.content.set<Component::Variable>("Character", "action",
                                           w.content.set<Component::Action>("door_look", "action"));
        w.logic->skip_step(Action_step("goto", c.args));
        EXPECT_EQ(w.position(c.walker), c.at);
        EXPECT_EQ(w.lookat(c.walker), Point::right());
        EXPECT_TRUE(w.script->scheduled().empty());
    }
}

TEST_F(Logic_skip, AGotoWithoutAViewIsDropped) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"nowhere"}, std::vector<std::string>{}}) {
        SCOPED_TRACE(args.empty() ? "no action" : "an item without a view");
        Skip_world w;
        w.logic->skip_step(Action_step("goto", args));
        EXPECT_EQ(w.position("mara"), Point(0, 0));
        EXPECT_FALSE(w.content.signal("mara", "needs_rescale"));
    }
}

TEST_F(Logic_skip, APlacedWalkerKeepsItsFixedDepth) {
    Skip_world w;
    w.content.set<Component::Simple<int>>("bob", "z", 1200);
    w.content.set<Component::Base>("bob", "z_rescaled");
    w.logic->skip_step(Action_step("goto", {"bob", "100", "200"}));
    EXPECT_EQ(w.position("bob"), Point(100, 200));
    EXPECT_EQ(w.content.get<Component::Simple<int>>("bob", "z")->value(), 1200);
    EXPECT_TRUE(w.content.request<Component::Base>("bob", "z_rescaled"));
}

TEST_F(Logic_skip, OutsideACutsceneNothingHappensAndTheRequestStays) {
    Skip_world w;
    w.walk("bob", {Point(50, 60), Point(300, 400)});
    w.content.emit(Key::game_skip_cutscene);
    EXPECT_FALSE(w.logic->skip_cutscene());
    EXPECT_TRUE(w.content.signal(Key::game_skip_cutscene)) << "not consumed";
    EXPECT_TRUE(w.content.request<Component::Path>("bob", "path"));

    w.status->push(Status::CUTSCENE);
    w.content.receive(Key::game_skip_cutscene);
    EXPECT_FALSE(w.logic->skip_cutscene()) << "a cutscene without a request";
    EXPECT_TRUE(w.status->is(Status::CUTSCENE));
}

TEST_F(Logic_skip, ASkipCompletesWalksMovesRescalesAndTheZoom) {
    Skip_world w;
    w.status->push(Status::CUTSCENE);
    const std::size_t depth = w.status->size();
    w.content.emit(Key::game_skip_cutscene);
    w.walk("mara", {Point(0, 0), Point(120.4, 80.6), Point(300.5, 400.2)});
    w.walk("bob", {Point(50, 60), Point(10, 70)});
    w.item("crate", 0, 0, 5);
    w.item("gull", 0, 0, 5);
    w.content.set<Move>("box", "move", Point(10, 20), Point(400, 500), 30, 60, 1.0, 3.0);
    w.content.set<Move60fps>("gull", "move60fps", Point(0, 0), Point(900, 100), 1.0, 3.0);
    w.content.set<Move60fps>("Camera", "move60fps", Point(0, 0), Point(250, 30), 1.0, 3.0);
    w.content.set<Rescale>("box", "rescale", 1.0, 1.5, 1.0, 3.0);
    w.content.set<Rescale>("crate", "rescale60fps", 1.0, 0.25, 1.0, 3.0);
    w.content.set<Component::Array<double, 4>>("Camera", "change_zoom", 1.0, 2.0, 1.0, 3.0);
    w.logic->push_notification("Skip with Escape", 5.0);

    EXPECT_TRUE(w.logic->skip_cutscene());

    EXPECT_EQ(w.status->size(), depth - 1) << "CUTSCENE is popped";
    EXPECT_FALSE(w.content.signal(Key::game_skip_cutscene));
    EXPECT_TRUE(w.content.signal("Notification_0", "end_notification"))
        << "every notification fades out, even a fresh one";
    // both walkers at the last point of their walks, facing as their heads do
    EXPECT_EQ(w.position("mara"), Point(301, 400));
    EXPECT_EQ(w.lookat("mara"), Point::right());
    EXPECT_EQ(w.position("bob"), Point(10, 70));
    EXPECT_EQ(w.lookat("bob"), Point::left());
    for (const char* id : {"mara", "bob"}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(w.content.signal(id, "stop_walking"));
        EXPECT_TRUE(w.content.signal(id, "needs_rescale"));
    }
    EXPECT_TRUE(w.content.components("path").empty());
    EXPECT_EQ(w.position("box"), Point(400, 500));
    EXPECT_EQ(w.image("box")->z(), 60);
    EXPECT_EQ(w.position("gull"), Point(900, 100));
    EXPECT_EQ(w.image("gull")->z(), 5);
    EXPECT_EQ(w.position("Camera"), Point(250, 30));
    EXPECT_DOUBLE_EQ(w.image("box")->scale(), 1.5);
    EXPECT_DOUBLE_EQ(w.image("crate")->scale(), 0.25);
    EXPECT_DOUBLE_EQ(w.zoom->value(), 2.0);
    EXPECT_TRUE(w.zoom->was_altered());
    for (const char* name : {"move", "move60fps", "rescale", "rescale60fps"})
        EXPECT_TRUE(w.content.components(name).empty()) << name;
    EXPECT_FALSE(w.content.request<Component::Base>("Camera", "change_zoom"));
}

TEST_F(Logic_skip, AnActionIsSkippedUpToItsUnlock) {
    Skip_world w;
    auto intro = w.content.set<Component::Action>("Intro", "action");
    for (const Action_step& s :
         {Action_step("move", {"box", "100", "200", "40", "2"}), Action_step("wait", {}),
          Action_step("unlock", {}), Action_step("hide", {"box"})})
        intro->add(s.function(), s.args());
    intro->launch();
    EXPECT_TRUE(w.logic->skip_to_unlock(intro));
    EXPECT_EQ(w.position("box"), Point(100, 200));
    EXPECT_TRUE(intro->on()) << "the steps after the unlock run normally";
    EXPECT_TRUE(w.image("box")->on());
    EXPECT_EQ(intro->next_step().function(), "hide");
}

TEST_F(Logic_skip, TheLastStepOfAnActionWithoutUnlockIsSkippedToo) {
    Skip_world w;
    auto intro = w.content.set<Component::Action>("Intro", "action");
    intro->add("move", {"box", "100", "200", "40", "2"});
    intro->add("hide", {"box"});
    intro->launch();
    EXPECT_FALSE(w.logic->skip_to_unlock(intro));
    EXPECT_FALSE(intro->on());
    EXPECT_EQ(w.position("box"), Point(100, 200));
    EXPECT_FALSE(w.image("box")->on()) << "the last step has its end state too";
}

TEST_F(Logic_skip, ConsoleLines) {
    struct Case {
        const char* line;
        std::vector<Action_step> steps; // of Console:action; none: no action made
    };
    const Case cases[] = {
        {"goto 100 200", {Action_step("goto", {"100", "200"})}},
        {"  zoom   2 ", {Action_step("zoom", {"2"})}},
        {"cutscene", {Action_step("cutscene", {})}},
        {"info x", {}},
        {"", {}},
        {"   ", {}},
        {"dance 1 2", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.line + "\"");
        Skip_world w;
        auto line = w.content.set<Component::Simple<std::string>>(Key::test_console_action, c.line);
        w.logic->console_action(line);
        EXPECT_FALSE(w.content.request<Component::Base>(Key::test_console_action))
            << "the line is consumed in every case";
        auto action = w.content.request<Component::Action>("Console", "action");
        ASSERT_EQ(action != nullptr, !c.steps.empty());
        if (!action)
            continue;
        EXPECT_TRUE(action->on());
        ASSERT_EQ(action->size(), c.steps.size());
        EXPECT_EQ(action->begin()->to_string(), c.steps.front().to_string());
    }
}

TEST_F(Logic_skip, TheOverlayFollowsTheDebugSwitch) {
    Skip_world w;
    Clock clock([] { return std::int64_t(0); }, [](std::int64_t) {});
    auto debug =
        w.content.set_fac<Component::Debug>(Slot::GAME_DEBUG, "Game", "debug", w.content, clock);
    w.content.set<Component::Font>("Debug", "font", "fonts/DejaVuSans.ttf", 16);

    w.logic->update_debug_info(debug);
    EXPECT_FALSE(w.content.request<Component::Base>("Debug", "image")) << "off: nothing made";

    debug->set(true);
    w.logic->update_debug_info(debug);
    auto first = w.content.get<Component::Image>("Debug", "image");
    EXPECT_TRUE(first->on());
    EXPECT_EQ(first->z(), Config::Depth::TOPMOST);
    auto place = w.content.get<Component::Absolute_position>("Debug", "position");
    EXPECT_EQ(place->value(), Point(0, 0));
    EXPECT_TRUE(place->is_interface());
    w.logic->update_debug_info(debug);
    auto second = w.content.get<Component::Image>("Debug", "image");
    EXPECT_NE(first, second) << "the text is made again every frame";

    debug->set(false);
    w.logic->update_debug_info(debug);
    EXPECT_FALSE(w.content.get<Component::Image>("Debug", "image")->on());
    w.logic->update_debug_info(nullptr); // a store without the switch: nothing to do
}

TEST_F(Logic_skip, SkippingMidWayEndsAsRunningToTheEnd) {
    auto script = [](Skip_world& w) {
        w.content.set<Component::Simple<std::string>>("box", "state", "closed");
        auto intro = w.content.set<Component::Action>("Intro", "action");
        const std::vector<Action_step> steps = {
            Action_step("cutscene", {}),
            Action_step("move", {"box", "100", "200", "40", "2"}),
            Action_step("camera", {"300", "0", "1"}),
            Action_step("wait", {}),
            Action_step("set", {"box", "open"}),
            Action_step("move", {"bob", "400", "500", "true"}),
            Action_step("zoom", {"2", "1"}),
            Action_step("rescale", {"box", "2", "1"}),
            Action_step("wait", {"1"}),
            Action_step("hide", {"box"}),
            Action_step("unlock", {}),
        };
        for (const Action_step& s : steps)
            intro->add(s.function(), s.args());
        w.status->push(Status::IDLE);
        intro->launch();
        return intro;
    };
    auto frames = [](Skip_world& w, int from, int to) {
        for (int frame = from; frame < to; ++frame) {
            w.clock->set(frame / 60.0);
            w.logic->run();
        }
    };

    Skip_world played;
    auto played_intro = script(played);
    frames(played, 0, 600);
    ASSERT_FALSE(played_intro->on());

    Skip_world skipped;
    auto skipped_intro = script(skipped);
    frames(skipped, 0, 10);
    ASSERT_TRUE(skipped.status->is(Status::CUTSCENE));
    skipped.content.emit(Key::game_skip_cutscene);
    frames(skipped, 10, 11);
    EXPECT_FALSE(skipped_intro->on());

    // instant steps: as played
    EXPECT_EQ(skipped.status->str_value(), played.status->str_value());
    EXPECT_EQ(skipped.content.value<Component::Simple<std::string>>("box", "state", ""),
              played.content.value<Component::Simple<std::string>>("box", "state", ""));
    EXPECT_EQ(skipped.position("bob"), played.position("bob"));
    EXPECT_EQ(skipped.image("box")->on(), played.image("box")->on());
    // timed steps, which the animation system plays: at their targets
    EXPECT_EQ(skipped.position("box"), Point(100, 200));
    EXPECT_EQ(skipped.image("box")->z(), 40);
    EXPECT_DOUBLE_EQ(skipped.image("box")->scale(), 2.0);
    EXPECT_EQ(skipped.position("Camera"), Point(300, 0));
    EXPECT_DOUBLE_EQ(skipped.zoom->value(), 2.0);
}

/// A call that must stop the program, and the message it must stop with. The counts are
/// checked before anything is looked up, so the store needs no pictures.
struct Fatal_case {
    const char* message;
    std::function<void(Logic_world&)> call;
};

TEST(Logic_skipDeathTest, ArgumentCountsAreCheckedOnEveryCallTheSkipsIncluded) {
    using Args = std::vector<std::string>;
    auto handler = [](const char* keyword, Args args) {
        return [keyword, args](Logic_world& w) { w.logic->step_handlers.at(keyword)(args); };
    };
    auto skipped = [](const char* keyword, Args args) {
        return [keyword, args](Logic_world& w) { w.logic->skip_step(Action_step(keyword, args)); };
    };
    const Args one = {"a"};
    const Args two = {"a", "1"};
    const Args three = {"a", "1", "2"};
    const Args four = {"a", "1", "2", "3"};
    const Args six = {"a", "1", "2", "3", "4", "5"};
    const std::vector<Fatal_case> cases = {
        {"function_camera takes 1, 2 or 3 arguments", handler("camera", {})},
        {"function_camera takes 1, 2 or 3 arguments", handler("camera", four)},
        {"function_camera takes 1, 2 or 3 arguments", skipped("camera", four)},
        {"function_zoom takes 1 or 2 argument\\(s\\)", handler("zoom", {})},
        {"function_zoom takes 1 or 2 argument\\(s\\)", handler("zoom", three)},
        {"function_zoom takes 1 or 2 argument\\(s\\)", skipped("zoom", three)},
        {"function_move takes 4 or 5 arguments", handler("move", three)},
        {"function_move takes 4 or 5 arguments", handler("move", six)},
        {"function_move takes 4 or 5 arguments", skipped("move", three)},
        {"function_move takes 4 or 5 arguments", skipped("move", six)},
        {"function_rescale takes 2 or 3 arguments", handler("rescale", one)},
        {"function_rescale takes 2 or 3 arguments", handler("rescale", four)},
        {"function_rescale takes 2 or 3 arguments", skipped("rescale", four)},
        {"function_hide takes 1 argument", handler("hide", {})},
        {"function_hide takes 1 argument", handler("hide", two)},
        {"function_hide takes 1 argument", skipped("hide", two)},
        {"function_stop takes 1 argument", handler("stop", {})},
        {"function_stop takes 1 argument", handler("stop", two)},
        {"function_stop takes 1 argument", skipped("stop", two)},
        {"function_notify takes 1 or 2 arguments", handler("notify", {})},
        {"function_notify takes 1 or 2 arguments", handler("notify", three)},
        {"function_move60fps takes 5 arguments", skipped("move60fps", four)},
        {"function_move60fps takes 5 arguments", skipped("move60fps", six)},
        {"function_rescale60fps takes 3 arguments", skipped("rescale60fps", two)},
        {"function_rescale60fps takes 3 arguments", skipped("rescale60fps", four)},
        {"function_set12fps takes 2 arguments", skipped("set12fps", one)},
        {"function_set12fps takes 2 arguments", skipped("set12fps", three)},
        {"function_goto takes at most 3 arguments", skipped("goto", four)},
        {"Cannot find bob_head:image",
         [](Logic_world& w) {
             // a walker without a head cannot tell which way it faces
             w.content.set<Component::Simple<std::string>>("bob", "color", "FF8000");
             w.content.set<Component::Absolute_position>("bob", "position", Point(0, 0), false);
             w.walk("bob", {Point(1, 2)});
             w.status->push(Status::CUTSCENE);
             w.content.emit(Key::game_skip_cutscene);
             w.logic->skip_cutscene();
         }},
    };
    for (const Fatal_case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EXIT(
            {
                Logic_world w;
                c.call(w);
            },
            ::testing::ExitedWithCode(1), c.message);
    }
}

} // namespace
} // namespace Orvane::Test
