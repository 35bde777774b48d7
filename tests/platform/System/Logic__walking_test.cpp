#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Action.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Logic.h>

#include "support/Character_fixture.h"

namespace Orvane::System {
namespace {

/// The logic system with the members the walking code uses reachable from the tests.
class Walker_logic : public Logic {
  public:
    using Logic::current_action;
    using Logic::Logic;
    using Logic::now;
};

const std::vector<std::string> open_room(30, std::string(60, 'a'));
const std::vector<std::string> islands(30, std::string(30, 'a') + "##" + std::string(28, 'a'));

// A 1200 x 600 room (20 pixels a cell) with the player hero and the follower pip. The graph of
// a walkable rectangle links its opposite corners, and a point within 5 pixels of a link is
// snapped onto it: the points of the tests keep away from the diagonals.
class Logic_walking : public Orvane::Test::Character_test {
  protected:
    void SetUp() override {
        Character_test::SetUp();
        hero = make_character("hero", Point(700, 320));
        pip = make_character("pip", Point(500, 300));
        content.set<Component::Simple<std::string>>("Follower", "name", "pip");
        cursor = content.set_fac<Component::Absolute_position>(
            Fast_access_component::CURSOR_POSITION, "Cursor", "position", Point(0, 0), true);
        action = content.set<Component::Action>("door_look", "action");
        logic.current_action = action;
    }

    std::shared_ptr<Component::Ground_map> room(const std::vector<std::string>& mask = open_room) {
        return ground_map(mask, 20, 3240, 0, {{'a', 0}});
    }
    std::shared_ptr<Component::Path> path_of(const std::string& id) {
        return content.request<Component::Path>(id, "path");
    }
    static Point last(const Component::Path& path) { return path[path.size() - 1]; }
    void click(const Point& screen) {
        cursor->set(screen);
        content.emit(Key::cursor_clicked);
        logic.update_character_path();
    }
    /// The components scheduled on the current action at time 0.
    std::vector<std::shared_ptr<Component::Base>> waiting_on() const {
        std::vector<std::shared_ptr<Component::Base>> out;
        for (const auto& [t, c] : action->scheduled())
            if (t == 0)
                out.push_back(c);
        return out;
    }

    Orvane::Test::Character hero, pip;
    std::shared_ptr<Component::Absolute_position> cursor;
    std::shared_ptr<Component::Action> action;
    Walker_logic logic{content};
};

// ---- clicks and the stick ----

TEST_F(Logic_walking, ClickGoesFromScreenToScene) {
    room();
    auto zoom = content.set_fac<Component::Simple<double>>(Fast_access_component::CAMERA_ZOOM,
                                                           "Camera", "zoom", 1.0);
    struct Case {
        Point camera;
        double zoom;
        Point screen;
        Point scene;
    };
    for (const Case& c : {Case{{0, 0}, 1, {600, 100}, {600, 100}},
                          Case{{100, 0}, 1, {600, 100}, {700, 100}},
                          Case{{100, 20}, 2, {600, 100}, {400, 70}}}) {
        SCOPED_TRACE(to_string(c.scene));
        content.remove("hero", "path", true);
        camera->set(c.camera);
        zoom->set(c.zoom);
        click(c.screen);
        EXPECT_FALSE(content.signal(Key::cursor_clicked)) << "consumed";
        auto path = path_of("hero");
        ASSERT_TRUE(path);
        EXPECT_EQ(last(*path), c.scene);
        EXPECT_EQ(path->current(), 0U) << "the first point is not the start point";
    }
}

TEST_F(Logic_walking, ClickNearTheRunningGoalKeepsTheWalk) {
    room();
    struct Case {
        Point second;
        bool kept;
    };
    for (const Case& c : {Case{{800, 260}, true}, Case{{804.9, 260}, true},
                          Case{{805, 260}, false}, Case{{800, 255}, false}}) {
        SCOPED_TRACE(to_string(c.second));
        content.remove("hero", "path", true);
        click({800, 260});
        auto first = path_of("hero");
        ASSERT_TRUE(first);
        first->current() = 1; // as if the walk were under way
        click(c.second);
        auto now = path_of("hero");
        EXPECT_EQ(now == first, c.kept);
        EXPECT_EQ(now->current(), c.kept ? 1U : 0U);
        EXPECT_EQ(last(*now), c.kept ? Point(800, 260) : c.second);
    }
}

TEST_F(Logic_walking, ClickOnTheStartPointOrInAnotherIslandStoresNothing) {
    room(islands);
    hero.position->set(Point(100, 150));
    for (const Point& p : {Point(100, 150), Point(1000, 150)}) {
        SCOPED_TRACE(to_string(p));
        click(p);
        EXPECT_FALSE(path_of("hero"));
    }
}

TEST_F(Logic_walking, StickWalksAlongItsScaledDirectionAndStopsOnRelease) {
    auto map = room();
    auto stick = content.set_fac<Component::Simple<Vector>>(
        Fast_access_component::STICK_DIRECTION, "Stick", "direction", Vector(0.5, 0.5));
    content.emit(Key::stick_moved);
    logic.update_character_path();
    std::vector<Point> expected;
    map->find_path(Point(700, 320), Vector(0.5 * 1.22, 0.5 / 1.41), expected);
    auto path = path_of("hero");
    ASSERT_TRUE(path);
    ASSERT_EQ(path->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ((*path)[i], expected[i]) << i;
    EXPECT_FALSE(content.signal(Key::stick_moved));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "walking" : "no path left");
        stick->set(Vector(0, 0));
        content.emit(Key::stick_moved);
        logic.update_character_path();
        EXPECT_FALSE(path_of("hero"));
        EXPECT_TRUE(content.receive("hero", "stop_walking"));
    }
}

TEST_F(Logic_walking, NoGroundMapNoPath) {
    click({800, 200});
    EXPECT_FALSE(path_of("hero"));
    content.set_fac<Component::Simple<Vector>>(Fast_access_component::STICK_DIRECTION, "Stick",
                                               "direction", Vector(1, 0));
    content.emit(Key::stick_moved);
    logic.update_character_path();
    EXPECT_FALSE(path_of("hero"));
    EXPECT_TRUE(logic.function_goto({"100", "200"}));
    EXPECT_TRUE(action->scheduled().empty()) << "the action goes on at once";
}

TEST_F(Logic_walking, SecondGroundMapForItsWalkers) {
    room();
    ground_map(islands, 20, 3240, 0, {{'a', 0}}, "2nd_ground_map");
    hero.position->set(Point(300, 200));
    content.set<Component::Boolean>("hero", "uses_2nd_map", true);
    click({1000, 300}); // across the wall of the second map
    EXPECT_FALSE(path_of("hero"));
    content.set<Component::Boolean>("hero", "uses_2nd_map", false);
    click({1000, 300});
    EXPECT_TRUE(path_of("hero"));
}

// ---- the follower ----

TEST_F(Logic_walking, FollowerThresholds) {
    room();
    struct Case {
        int depth;
        bool walking;
        double dx, dy;
        bool sets_off;
    };
    const Case cases[] = {
        {1500, false, 270, 0, false}, {1500, false, 271, 0, true},  {1500, false, 0, 120, false},
        {1500, false, 0, 121, true},  {1500, false, -271, 0, true}, {1500, true, 250, 100, false},
        {1500, true, 251, 0, true},   {1500, true, 0, 101, true},   {750, false, 135, 60, false},
        {750, false, 136, 0, true},   {750, false, 0, 61, true},    {750, true, 125, 50, false},
        {750, true, 126, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.depth) + (c.walking ? " walking " : " standing ") +
                     std::to_string(c.dx) + " " + std::to_string(c.dy));
        content.remove("pip", "path", true);
        content.remove("pip", "stop_walking", true);
        content.get<Component::Image>("hero_body", "image")->z() = c.depth;
        pip.walking->set(c.walking);
        pip.position->set(Point(700 - c.dx, 320 - c.dy));
        logic.follow("pip");
        EXPECT_EQ(bool(path_of("pip")), c.sets_off);
        EXPECT_EQ(content.signal("pip", "stop_walking"), !c.sets_off);
        if (c.sets_off) {
            EXPECT_EQ(last(*path_of("pip")), Point(700, 320)) << "the player's feet, a scene point";
        }
    }
}

TEST_F(Logic_walking, FollowerRecomputesAtMostOnceASecond) {
    room();
    content.get<Component::Image>("hero_body", "image")->z() = 1500;
    pip.position->set(Point(100, 300));
    struct Step {
        double now;
        bool follows;
    };
    // the first frame with a follower only starts the count
    for (const Step& s : {Step{10, false}, Step{10.5, false}, Step{11, false}, Step{11.01, true},
                          Step{11.5, false}, Step{12.02, true}}) {
        SCOPED_TRACE(s.now);
        content.remove("pip", "path", true);
        logic.now = s.now;
        logic.update_follower();
        EXPECT_EQ(bool(path_of("pip")), s.follows);
    }
    auto latest = content.get<Component::Simple<double>>("Following", "latest_recompuation");
    EXPECT_EQ(latest->value(), 12.02);
    EXPECT_TRUE(latest->was_altered()) << "saved with the game";

    content.remove("pip", "path");
    content.set<Component::Base>("pip", "nofollow");
    logic.now = 20;
    logic.update_follower();
    EXPECT_FALSE(path_of("pip"));
    EXPECT_EQ(latest->value(), 12.02);

    content.remove("pip", "nofollow");
    content.remove("Follower", "name");
    logic.update_follower();
    EXPECT_FALSE(path_of("pip"));
}

TEST_F(Logic_walking, FollowerThatCannotReachThePlayer) {
    room(islands);
    hero.position->set(Point(1000, 300));
    pip.position->set(Point(100, 300));
    content.get<Component::Image>("hero_body", "image")->z() = 1500;
    logic.follow("pip");
    EXPECT_FALSE(path_of("pip"));
    std::vector<Point> partial = {{200, 300}};
    content.set<Component::Path>("pip", "path", partial);
    logic.follow("pip");
    ASSERT_TRUE(path_of("pip"));
    EXPECT_EQ(last(*path_of("pip")), Point(200, 300)) << "the walk it had stays";
}

// ---- goto ----

TEST_F(Logic_walking, GotoTargets) {
    room();
    camera->set(Point(300, 40)); // a scene point never takes the camera offset
    content.set<Component::Absolute_position>("door", "view", Point(320, 120), false);
    content.set<Component::Absolute_position>("shelf", "position", Point(900, 500), false);
    content.set<Component::Variable>("shelf", "view",
                                     content.get<Component::Base>("shelf", "position"));
    content.set<Component::Variable>("Character", "action", action);
    struct Case {
        std::vector<std::string> args;
        std::string walker;
        Point goal;
    };
    const Case cases[] = {
        {{"100", "200"}, "hero", {100, 200}},
        {{"pip", "100", "200"}, "pip", {100, 200}},
        {{"door"}, "hero", {320, 120}},
        {{"door", "x", "y"}, "hero", {320, 120}},
        {{"pip", "door"}, "pip", {320, 120}},
        {{"shelf"}, "hero", {900, 500}},
        {{}, "hero", {320, 120}}, // the target of the player's action, door_look
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("no argument") : c.args[0]);
        for (const char* id : {"hero", "pip"}) {
            content.remove(id, "path", true);
            content.remove(id, "nofollow", true);
        }
        action->reset_scheduled();
        content.set<Component::Absolute_position>(c.walker, "lookat", Point(0, 0), false);
        EXPECT_TRUE(logic.function_goto(c.args));
        auto path = path_of(c.walker);
        ASSERT_TRUE(path);
        EXPECT_EQ(last(*path), c.goal);
        EXPECT_EQ(waiting_on(), std::vector<std::shared_ptr<Component::Base>>{path});
        EXPECT_FALSE(content.request<Component::Base>(c.walker, "lookat"));
        EXPECT_EQ(bool(content.request<Component::Base>(c.walker, "nofollow")),
                  c.walker == "pip")
            << "the follower leaves following until the walk ends";
    }
}

TEST_F(Logic_walking, GotoWithoutAPathSchedulesNothing) {
    room(islands);
    hero.position->set(Point(100, 300));
    pip.position->set(Point(140, 300));
    struct Case {
        std::vector<std::string> args;
        const char* walker;
    };
    for (const Case& c : {Case{{"100", "300"}, "hero"}, Case{{"1000", "300"}, "hero"},
                          Case{{"pip", "1000", "300"}, "pip"}, Case{{"pip", "140", "300"}, "pip"}}) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        EXPECT_TRUE(logic.function_goto(c.args));
        EXPECT_TRUE(action->scheduled().empty());
        EXPECT_FALSE(path_of(c.walker));
        // otherwise nothing would ever give the follower back to following
        EXPECT_FALSE(content.request<Component::Base>(c.walker, "nofollow"));
    }
}

// ---- look ----

TEST_F(Logic_walking, LookTargets) {
    camera->set(Point(300, 40));
    cursor->set(Point(10, 20));
    auto lamp = content.set<Component::Image>("lamp", "image", 10, 10);
    content.set<Component::Absolute_position>("lamp", "position", Point(700, 250), false);
    auto lamp_state = content.set<Component::Simple<std::string>>("lamp", "state", "lit");
    content.set<Component::Absolute_position>("door", "position", Point(50, 60), false);
    content.set<Component::Absolute_position>("bell", "position", Point(80, 90), false);

    struct Case {
        std::vector<std::string> args;
        std::string state;
        bool clicked;
        const char* looker;
        bool looks;
        Point at;
    };
    const Case cases[] = {
        {{"Default"}, "lit", false, "hero", false, {}},
        {{"lamp"}, "lit", false, "hero", true, {700, 250}},
        {{"pip", "lamp"}, "lit", false, "pip", true, {700, 250}},
        {{"lamp"}, "inventory", false, "hero", false, {}}, // carried
        {{"bell"}, "lit", true, "hero", true, {50, 60}},   // the clicked object's position
        {{"bell"}, "lit", false, "hero", true, {310, 60}}, // the click, in the scene
        {{}, "lit", false, "hero", true, {310, 60}},       // door_look: door has no image
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("no argument") : c.args.back());
        content.remove("hero", "lookat", true);
        content.remove("pip", "lookat", true);
        lamp_state->set(c.state);
        if (c.clicked)
            content.set<Component::Simple<std::string>>(Key::click_target, "door");
        EXPECT_TRUE(logic.function_look(c.args));
        auto lookat = content.request<Component::Position>(c.looker, "lookat");
        ASSERT_EQ(bool(lookat), c.looks);
        if (lookat) {
            EXPECT_EQ(lookat->value(), c.at);
        }
        EXPECT_FALSE(content.request<Component::Base>(Key::click_target));
    }
}

using Logic_walkingDeathTest = Logic_walking;

TEST_F(Logic_walkingDeathTest, ArgumentCountsAndMissingView) {
    room();
    EXPECT_EXIT(logic.function_goto({"a", "b", "c", "d"}), ::testing::ExitedWithCode(1),
                "function_goto takes at most 3 arguments");
    EXPECT_EXIT(logic.function_look({"a", "b", "c"}), ::testing::ExitedWithCode(1),
                "function_look takes at most 2 argument");
    EXPECT_EXIT(logic.function_goto({"door"}), ::testing::ExitedWithCode(1),
                "Cannot find door:view");
}

} // namespace
} // namespace Orvane::System
