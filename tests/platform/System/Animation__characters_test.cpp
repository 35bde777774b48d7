#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Path.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/Animation.h>

#include "support/Character_fixture.h"

namespace Orvane::System {
namespace {

using Frame = Component::Animation::Frame;

/// The animation system with the end of an animation frame that the handlers rely on: the
/// consumed commands removed, the started set emptied.
class Probe : public Animation {
  public:
    using Animation::Animation;
    using Animation::m_started;
    using Animation::m_to_remove;

    void end_frame() {
        for (const auto& c : m_to_remove)
            m_content.remove(c);
        m_to_remove.clear();
        m_started.clear();
    }
    /// The walking part of an animation frame.
    bool walk_frame() {
        const bool moved = handle_moves();
        end_frame();
        return moved;
    }
};

class Animation_characters : public Orvane::Test::Character_test {
  protected:
    void SetUp() override {
        Character_test::SetUp();
        hero = make_character("hero", Point(100, 100));
    }

    std::shared_ptr<Component::Animation> body() {
        return content.get<Component::Animation>("hero_body", "image");
    }
    bool faces_right() { return hero.head->frames().front().y == 0; }
    std::shared_ptr<Component::Path> walk_to(const std::vector<Point>& points) {
        std::vector<Point> copy = points;
        return content.set<Component::Path>("hero", "path", copy);
    }

    Orvane::Test::Character hero;
    Probe system{content};
};

// ---- walking ----

struct Walk_row {
    Point body;
    int row; // walk sheet row, -1 when the walk is over
    int depth;
    double scale;
};

struct Walk_case {
    const char* name;
    std::vector<std::string> mask; // empty: no ground map
    int back_z;
    Point start;
    std::vector<Point> path;
    std::vector<Walk_row> frames;
    bool ends_facing_right;
};

const std::vector<std::string> flat = {"aaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaa"};
const std::vector<std::string> gradient = {"aaaaaaaaaabbbbbbbbbb", "aaaaaaaaaabbbbbbbbbb"};
const std::vector<std::string> deep = {"bbbbbbbbbbbbbbbbbbbb", "bbbbbbbbbbbbbbbbbbbb"};

class Walking : public Animation_characters, public ::testing::WithParamInterface<Walk_case> {};

TEST_P(Walking, FrameByFrame) {
    const Walk_case& c = GetParam();
    // 'a' lies at the front (3240), 'b' at the back depth of the case; masks are 40 px a cell
    if (!c.mask.empty())
        ground_map(c.mask, 40, 3240, c.back_z, {{'a', 0}, {'b', 255}});
    hero.position->set(c.start);
    walk_to(c.path);
    for (std::size_t i = 0; i < c.frames.size(); ++i) {
        const Walk_row& expected = c.frames[i];
        SCOPED_TRACE("animation frame " + std::to_string(i + 1));
        const bool last = i + 1 == c.frames.size();
        EXPECT_EQ(system.walk_frame(), !last) << "the player walked";
        const Point at = hero.position->value();
        EXPECT_NEAR(at.x(), expected.body.x(), 1e-9);
        EXPECT_NEAR(at.y(), expected.body.y(), 1e-9);
        EXPECT_EQ(hero.walking->value(), !last);
        EXPECT_EQ(bool(content.request<Component::Path>("hero", "path")), !last);
        EXPECT_EQ(body()->z(), expected.depth);
        EXPECT_NEAR(body()->scale(), expected.scale, 1e-9);
        EXPECT_EQ(hero.head->z(), expected.depth);
        if (expected.row >= 0) {
            ASSERT_EQ(hero.walk->frames().size(), 8U);
            for (int j = 0; j < 8; ++j) {
                EXPECT_EQ(hero.walk->frames()[std::size_t(j)].x, j);
                EXPECT_EQ(hero.walk->frames()[std::size_t(j)].y, expected.row);
                EXPECT_EQ(hero.walk->frames()[std::size_t(j)].duration, 1);
            }
            EXPECT_FALSE(hero.head->on()) << "the walk sheet carries the whole character";
            EXPECT_FALSE(hero.mouth->on());
        }
    }
    EXPECT_EQ(faces_right(), c.ends_facing_right);
    EXPECT_TRUE(hero.head->on());
}

INSTANTIATE_TEST_SUITE_P(
    Animation, Walking,
    ::testing::Values(
        // 10 px to the corner, the other 24 of the step spent on the next segment
        Walk_case{"CornerCarriesTheRest",
                  flat,
                  0,
                  {100, 100},
                  {{110, 100}, {110, 200}},
                  {{{110, 124}, 0, 3240, 1.0},
                   {{110, 158}, 0, 3240, 1.0},
                   {{110, 192}, 0, 3240, 1.0},
                   {{110, 200}, -1, 3240, 1.0}},
                  false},
        Walk_case{"ArrivesFacingLeftAfterWalkingLeft",
                  flat,
                  0,
                  {300, 40},
                  {{250, 40}},
                  {{{266, 40}, 2, 3240, 1.0}, {{250, 40}, -1, 3240, 1.0}},
                  false},
        Walk_case{"ArrivesFacingRightAfterWalkingRight",
                  flat,
                  0,
                  {100, 40},
                  {{160, 40}},
                  {{{134, 40}, 1, 3240, 1.0}, {{160, 40}, -1, 3240, 1.0}},
                  true},
        Walk_case{"WalksUpTheScreen",
                  flat,
                  0,
                  {100, 70},
                  {{100, 0}},
                  {{{100, 36}, 3, 3240, 1.0}, {{100, 2}, 3, 3240, 1.0}, {{100, 0}, -1, 3240, 1.0}},
                  false},
        // half the depth, half the step
        Walk_case{"HalfDepthHalfStep",
                  gradient,
                  1620,
                  {500, 40},
                  {{560, 40}},
                  {{{517, 40}, 1, 1620, 0.5},
                   {{534, 40}, 1, 1620, 0.5},
                   {{551, 40}, 1, 1620, 0.5},
                   {{560, 40}, -1, 1620, 0.5}},
                  true},
        // from the front into the back half: the step follows the depth where the body stands
        Walk_case{"StepFollowsTheDepthUnderTheBody",
                  gradient,
                  1620,
                  {360, 40},
                  {{460, 40}},
                  {{{394, 40}, 1, 3240, 1.0},
                   {{428, 40}, 1, 1620, 0.5},
                   {{445, 40}, 1, 1620, 0.5},
                   {{460, 40}, -1, 1620, 0.5}},
                  true},
        // depth 0: a step of at least one pixel, so that the walk arrives
        Walk_case{"DepthZeroStillArrives",
                  deep,
                  0,
                  {100, 40},
                  {{103, 40}},
                  {{{101, 40}, 1, 0, 0.0},
                   {{102, 40}, 1, 0, 0.0},
                   {{103, 40}, -1, 0, 0.0}},
                  true},
        Walk_case{"NoGroundMapFullStepAndScale",
                  {},
                  0,
                  {100, 40},
                  {{100, 100}},
                  {{{100, 74}, 0, 3240, 1.0}, {{100, 100}, -1, 3240, 1.0}},
                  false},
        // a path on the start point: over at once, facing as the head faced
        Walk_case{"PathOnTheStartPoint",
                  flat,
                  0,
                  {100, 40},
                  {{100, 40}},
                  {{{100, 40}, -1, 3240, 1.0}},
                  true}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(Animation_characters, WalkOnTheSecondGroundMap) {
    ground_map(flat, 40, 3240, 0, {{'a', 0}});
    ground_map(deep, 40, 3240, 1620, {{'b', 255}}, "2nd_ground_map");
    content.set<Component::Boolean>("hero", "uses_2nd_map", true);
    walk_to({{200, 100}});
    system.walk_frame();
    EXPECT_NEAR(hero.position->value().x(), 117, 1e-9);
    EXPECT_EQ(body()->z(), 1620);
}

TEST_F(Animation_characters, PathIndexAtOrPastItsEndEndsTheWalk) {
    for (std::size_t points : {0U, 1U, 2U}) {
        SCOPED_TRACE(points);
        std::vector<Point> list;
        for (std::size_t i = 0; i < points; ++i)
            list.push_back(Point(300 + double(i), 300));
        auto path = walk_to(list);
        path->current() = points + (points == 2 ? 3 : 0);
        hero.walking->set(true);
        EXPECT_FALSE(system.walk_frame());
        EXPECT_FALSE(content.request<Component::Path>("hero", "path"));
        EXPECT_FALSE(hero.walking->value());
        EXPECT_EQ(hero.position->value(), Point(100, 100)) << "no point was read";
    }
}

TEST_F(Animation_characters, PathRemovedMidWalkStopsTheBody) {
    walk_to({{400, 100}});
    system.walk_frame();
    EXPECT_EQ(hero.position->value(), Point(134, 100));
    content.remove("hero", "path");
    EXPECT_FALSE(system.walk_frame());
    EXPECT_EQ(hero.position->value(), Point(134, 100));
}

TEST_F(Animation_characters, LookatEndsAWalkWhereTheBodyIs) {
    walk_to({{400, 100}});
    system.walk_frame();
    content.set<Component::Absolute_position>("hero", "lookat", Point(0, 100), false);
    system.handle_character_lookat(false);
    EXPECT_FALSE(system.walk_frame());
    EXPECT_EQ(hero.position->value(), Point(134, 100));
    EXPECT_FALSE(hero.walking->value());
    EXPECT_FALSE(faces_right());
    EXPECT_FALSE(content.request<Component::Base>("hero", "lookat")) << "consumed";
}

TEST_F(Animation_characters, OnlyThePlayersWalkMovesTheCameraAndTheMusic) {
    make_character("pip", Point(0, 0));
    std::vector<Point> far = {{400, 0}};
    content.set<Component::Path>("pip", "path", far);
    EXPECT_FALSE(system.walk_frame());
    EXPECT_FALSE(content.signal("Music", "adjust_mix"));
    walk_to({{400, 100}});
    EXPECT_TRUE(system.walk_frame());
    EXPECT_TRUE(content.signal("Music", "adjust_mix"));
}

TEST_F(Animation_characters, DebugPathIsNeverWalked) {
    std::vector<Point> points = {{400, 100}};
    content.set<Component::Path>("Debug", "path", points);
    EXPECT_FALSE(system.walk_frame());
    EXPECT_TRUE(content.request<Component::Path>("Debug", "path"));
}

TEST_F(Animation_characters, HiddenCharacterWalksWithItsBodyOff) {
    content.emit("hero", "is_hidden");
    walk_to({{400, 100}});
    system.walk_frame();
    EXPECT_FALSE(hero.walk->on());
}

// ---- walk rows ----

TEST(Animation_walk_row, AngleToRow) {
    struct Case {
        double degrees;
        int row;
    };
    // the angle is truncated toward zero before it is taken into 0..359: 32.5 counts as 32,
    // 212.5 (-147.5) as -147, that is 213
    const Case cases[] = {{0, 1},     {32.5, 1},   {33.5, 0},   {90, 0},    {146.5, 0},
                          {147.5, 2}, {180, 2},    {211.5, 2},  {212.5, 3}, {-90, 3},
                          {325.5, 3}, {326.5, 1},  {-33.5, 1},  {-34.5, 3}, {-179.5, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.degrees);
        const double r = c.degrees * std::numbers::pi / 180;
        EXPECT_EQ(Animation::walk_row(Vector(std::cos(r), std::sin(r))), c.row);
    }
}

TEST_F(Animation_characters, MoveAnimationKeepsTheFrameIndexAndTicks) {
    hero.walking->set(true);
    hero.head->on() = false;
    hero.mouth->on() = false;
    hero.walk->reset(true, 1);
    hero.walk->next_frame();
    hero.walk->next_frame();
    system.set_move_animation("hero", Vector(-1, 0));
    EXPECT_EQ(hero.walk->current(), 2U);
    EXPECT_EQ(hero.walk->frames().size(), 8U);
    EXPECT_EQ(hero.walk->current_frame().y, 2);
    // a list left longer than the walk cycle: back to its first frame rather than past the end
    hero.walk->frames().assign(20, Frame{0, 0, 1, 0});
    for (int i = 0; i < 12; ++i)
        hero.walk->next_frame();
    ASSERT_EQ(hero.walk->current(), 14U);
    system.set_move_animation("hero", Vector(1, 0));
    EXPECT_EQ(hero.walk->current(), 0U);
    EXPECT_EQ(hero.walk->current_frame().y, 1);
}

// ---- timed moves and rescales ----

TEST_F(Animation_characters, TimedMoveAndRescale) {
    auto box = content.set<Component::Image>("box", "image", 10, 10);
    auto at = content.set<Component::Absolute_position>("box", "position", Point(0, 0), false);
    struct Case {
        double begin, end, t;
        Point point;
        int z;
        double scale;
    };
    const Case cases[] = {
        {1, 2, 1.5, {60, 30}, 150, 1.5},
        {1, 2, 1.25, {30, 15}, 125, 1.25},
        {1, 2, 3, {120, 60}, 200, 2},
        {2, 2, 0, {120, 60}, 200, 2}, // no duration: at the end at once
        {2, 1, 0, {120, 60}, 200, 2}, // end before begin: at the end at once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.begin) + " " + std::to_string(c.end) + " " +
                     std::to_string(c.t));
        clock->set(c.t);
        content.set<Component::Tuple<Point, Point, int, int, double, double>>(
            "box", "move", Point(0, 0), Point(120, 60), 100, 200, c.begin, c.end);
        content.set<Component::Tuple<double, double, double, double>>("box", "rescale", 1.0, 2.0,
                                                                     c.begin, c.end);
        system.walk_frame();
        EXPECT_NEAR(at->value().x(), c.point.x(), 1e-9);
        EXPECT_NEAR(at->value().y(), c.point.y(), 1e-9);
        EXPECT_EQ(box->z(), c.z);
        EXPECT_NEAR(box->scale(), c.scale, 1e-9);
        EXPECT_TRUE(content.request<Component::Base>("box", "move")) << "its step removes it";
    }
}

// ---- placement ----

TEST_F(Animation_characters, Placement) {
    auto extra = content.set<Component::Image>("hero", "image", 10, 10);
    struct Case {
        bool map;
        std::optional<int> z;
        bool z_rescaled;
        int depth;
        double scale;
        int extra_depth;
    };
    const Case cases[] = {
        {true, {}, false, 2000, 2000.0 / 3240, 2001},
        {false, {}, false, 3240, 1.0, 3241},
        {true, 2000, false, 2000, 1.0, 2001},
        {true, 2000, true, 2000, 2000.0 / 3240, 2001},
        {false, 2000, true, 2000, 2000.0 / 3240, 2001},
        {false, {}, true, 3240, 1.0, 3241}, // the marker counts only with a fixed depth
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.map) + " " + std::to_string(c.z.value_or(-1)) + " " +
                     std::to_string(c.z_rescaled));
        content.remove("background", "ground_map", true);
        content.remove("hero", "z", true);
        content.remove("hero", "z_rescaled", true);
        if (c.map)
            ground_map(flat, 40, 2000, 0, {{'a', 0}});
        if (c.z)
            content.set<Component::Simple<int>>("hero", "z", *c.z);
        if (c.z_rescaled)
            content.set<Component::Base>("hero", "z_rescaled");
        system.place_and_scale_character("hero");
        for (const auto& part : {body(), hero.head, hero.mouth}) {
            EXPECT_EQ(part->z(), c.depth) << part->entity();
            EXPECT_NEAR(part->scale(), c.scale, 1e-9) << part->entity();
        }
        EXPECT_EQ(extra->z(), c.extra_depth);
    }
}

TEST_F(Animation_characters, PlacementLeavesOtherItemsAlone) {
    content.remove("hero", "group");
    hero.head->z() = 7;
    system.place_and_scale_character("hero");
    EXPECT_EQ(hero.head->z(), 7);
}

// ---- step sounds ----

TEST_F(Animation_characters, StepSoundsOnColumnsZeroAndFourPannedByScreenX) {
    struct Case {
        double camera_x, hero_x;
        int column;
        bool sound;
        double panning;
    };
    const Case cases[] = {
        {0, 0, 0, true, 1.0},       {0, 960, 4, true, 0.5},    {500, 500, 0, true, 1.0},
        {500, 1460, 4, true, 0.5},  {0, 1920, 0, true, 0.0},   {0, 960, 1, false, 0},
        {0, 960, 3, false, 0},
    };
    hero.walking->set(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.camera_x) + " " + std::to_string(c.hero_x) + " " +
                     std::to_string(c.column));
        content.remove("Step", "play_sound", true);
        content.remove("Step", "panning", true);
        camera->set(Point(c.camera_x, 0));
        hero.position->set(Point(c.hero_x, 500));
        hero.walk->frames() = {{c.column, 1, 1, 0}};
        system.handle_characters_headmove(hero.walk);
        EXPECT_EQ(content.signal("Step", "play_sound"), c.sound);
        if (c.sound) {
            EXPECT_NEAR(content.get<Component::Simple<double>>("Step", "panning")->value(),
                        c.panning, 1e-9);
        }
    }
    hero.walking->set(false);
    hero.idle->frames() = {{0, 0, 1, 0}};
    system.handle_characters_headmove(hero.idle);
    EXPECT_FALSE(content.signal("Step", "play_sound")) << "only while walking";
}

// ---- commands ----

TEST_F(Animation_characters, Lookat) {
    struct Case {
        const char* name;
        bool walking;
        bool facing_right;
        double target_x;
        bool in_new_room;
        bool turns;
        bool ends_right;
    };
    const Case cases[] = {
        {"same side", false, true, 300, false, false, true},
        {"other side", false, true, 0, false, true, false},
        {"other side, facing left", false, false, 300, false, true, true},
        {"dx 0 counts as left", false, true, 100, false, true, false},
        {"dx 0 already left", false, false, 100, false, false, false},
        {"while walking", true, true, 300, false, true, true},
        {"after a room load", false, true, 300, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hero.position->set(Point(100, 100));
        hero.walking->set(c.walking);
        hero.head->frames() = {{1, c.facing_right ? 0 : 1, 50, 0}};
        walk_to({{400, 100}});
        content.set<Component::Absolute_position>("hero", "lookat", Point(c.target_x, 50), false);
        body()->z() = 5;
        system.handle_character_lookat(c.in_new_room);
        ASSERT_EQ(system.m_to_remove.size(), 1U);
        EXPECT_EQ(system.m_to_remove[0]->component(), "lookat");
        system.end_frame();
        EXPECT_EQ(faces_right(), c.ends_right);
        EXPECT_EQ(hero.head->frames().size() > 1, c.turns) << "a new idle head";
        EXPECT_EQ(bool(content.request<Component::Path>("hero", "path")), !c.turns);
        EXPECT_EQ(body()->z() == 3240, c.turns || c.in_new_room) << "placed again";
        if (c.turns) {
            EXPECT_FALSE(hero.walking->value());
        }
    }
}

TEST_F(Animation_characters, NeedsRescalePlacesBeforeLooking) {
    content.emit("hero", "needs_rescale");
    content.set<Component::Absolute_position>("hero", "lookat", Point(300, 50), false);
    hero.head->z() = 5;
    system.handle_character_lookat(false);
    EXPECT_EQ(hero.head->z(), 3240);
    EXPECT_FALSE(content.signal("hero", "needs_rescale"));
}

TEST_F(Animation_characters, StopWalkingFacesTheWayTheWalkWent) {
    struct Case {
        bool walking;
        int row;
        bool turns;
        bool ends_right;
    };
    for (const Case& c : {Case{true, 2, true, false}, Case{true, 1, true, true},
                          Case{true, 0, true, true}, Case{true, 3, true, true},
                          Case{false, 2, false, true}}) {
        SCOPED_TRACE(std::to_string(c.walking) + " " + std::to_string(c.row));
        hero.walking->set(c.walking);
        hero.head->frames() = {{1, 0, 50, 0}};
        hero.walk->frames() = {{0, c.row, 1, 0}};
        content.emit("hero", "stop_walking");
        system.handle_animation_stops();
        system.end_frame();
        EXPECT_FALSE(content.signal("hero", "stop_walking"));
        EXPECT_FALSE(hero.walking->value());
        EXPECT_EQ(hero.head->frames().size() > 1, c.turns);
        EXPECT_EQ(faces_right(), c.ends_right);
    }
}

TEST_F(Animation_characters, StopTalkingRestsTheHead) {
    auto offset = content.get<Component::Position>("hero_head_move", "position");
    offset->set(Point(3, 1));
    hero.head->frames() = {{2, 1, 5, 0}};
    content.emit("hero", "stop_talking");
    system.handle_animation_stops();
    EXPECT_EQ(offset->value(), Point(0, 0));
    EXPECT_GT(hero.head->frames().size(), 1U);
    EXPECT_FALSE(faces_right()) << "keeps the side it faced";
    EXPECT_EQ(hero.mouth->frames().size(), 1U);
}

TEST_F(Animation_characters, StopAnimationOnACharacterAndOnAPlainAnimation) {
    hero.head->frames() = {{2, 1, 5, 0}};
    hero.idle->frames() = {{0, 0, 1, 0}};
    content.set<Component::Simple<std::string>>("hero", "animation", "wave");
    content.emit("hero", "stop_animation");
    auto lamp_image = sheet("lamp", 4, 1);
    content.set(lamp_image);
    content.set<Component::Simple<std::string>>("lamp", "state", "lit");
    content.emit("lamp", "stop_animation");
    system.handle_animation_stops();
    system.end_frame();
    EXPECT_FALSE(content.request<Component::Base>("hero", "animation"));
    ASSERT_EQ(hero.idle->frames().size(), 1U);
    EXPECT_EQ(hero.idle->frames()[0].y, 1) << "the body faces as the head";
    EXPECT_FALSE(lamp_image->on());
    EXPECT_FALSE(content.request<Component::Base>("lamp", "state"));
    EXPECT_FALSE(content.signal("lamp", "stop_animation"));
}

TEST_F(Animation_characters, StartTalkingAndStartAnimation) {
    auto lamp = sheet("lamp", 4, 1);
    content.set(lamp);
    lamp->on() = false;
    lamp->playing() = false;
    content.emit("lamp", "start_animation");
    content.emit("hero", "start_talking");
    system.handle_animation_starts();
    EXPECT_TRUE(lamp->on());
    EXPECT_TRUE(lamp->playing());
    EXPECT_TRUE(system.m_started.count("lamp"));
    EXPECT_EQ(hero.mouth->frames().size(), 50U);
    system.end_frame();

    content.set<Component::Simple<std::string>>("hero", "start_animation", "stand");
    hero.idle->frames() = {{0, 1, 9, 0}};
    system.handle_animation_starts();
    system.end_frame();
    EXPECT_EQ(content.get<Component::Simple<std::string>>("hero", "animation")->value(), "stand");
    ASSERT_EQ(hero.idle->frames().size(), 1U);
    EXPECT_EQ(hero.idle->frames()[0].duration, 1);
    EXPECT_FALSE(content.request<Component::Base>("hero", "start_animation"));
}

TEST_F(Animation_characters, PauseAndSetState) {
    auto lamp = sheet("lamp", 4, 1);
    content.set(lamp);
    auto state = content.set<Component::Simple<std::string>>("lamp", "state", "off");
    content.emit("lamp", "pause");
    content.set<Component::Simple<std::string>>("lamp", "set_state", "lit");
    system.handle_state_changes();
    system.end_frame();
    EXPECT_FALSE(lamp->playing());
    EXPECT_TRUE(lamp->on());
    EXPECT_EQ(state->value(), "lit");
    EXPECT_TRUE(state->was_altered()) << "saves record it";
    EXPECT_FALSE(content.request<Component::Base>("lamp", "set_state"));
}

TEST_F(Animation_characters, HideAndShowAGroup) {
    struct Case {
        bool hide, show;
        bool visible;
    };
    for (const Case& c : {Case{true, false, false}, Case{true, true, true},
                          Case{false, true, true}}) {
        SCOPED_TRACE(std::to_string(c.hide) + std::to_string(c.show));
        if (c.hide)
            content.emit("hero", "set_hidden");
        if (c.show)
            content.emit("hero", "set_visible");
        system.handle_state_changes();
        system.end_frame();
        for (const auto& image : {hero.idle, hero.head, hero.mouth})
            EXPECT_EQ(image->on(), c.visible) << image->entity();
        EXPECT_EQ(content.signal("hero", "is_hidden"), !c.visible);
        EXPECT_FALSE(content.signal("hero", "set_hidden"));
        EXPECT_FALSE(content.signal("hero", "set_visible"));
    }
}

TEST_F(Animation_characters, TalkingHeadMovesAboutOneFrameInThreeWithinItsRadius) {
    content.set<Component::Simple<int>>("hero", "head_move_radius", 6);
    auto offset = content.get<Component::Position>("hero_head_move", "position");
    std::srand(5);
    int moves = 0;
    Point last = offset->value();
    const int frames = 3000;
    for (int i = 0; i < frames; ++i) {
        system.handle_characters_headmove(hero.mouth);
        const Point now = offset->value();
        if (now == last)
            continue;
        ++moves;
        last = now;
        const double r = std::hypot(now.x(), now.y());
        EXPECT_GE(r, 3 - 1e-9);
        EXPECT_LE(r, 6 + 1e-9);
    }
    EXPECT_GT(moves, 850);
    EXPECT_LT(moves, 1150);

    content.remove("hero", "head_move_radius");
    for (int i = 0; i < 300; ++i) {
        offset->set(Point(0, 0));
        system.handle_characters_headmove(hero.mouth);
        const Point now = offset->value();
        const double r = std::hypot(now.x(), now.y());
        EXPECT_LE(r, 4 + 1e-9) << "default radius 4";
    }
}

// ---- camera target ----

TEST_F(Animation_characters, CameraTarget) {
    struct Case {
        const char* name;
        const char* background; // null: no background
        double camera_x;
        double player_x;
        bool running_glide;
        std::optional<int> target;
    };
    const Case cases[] = {
        {"middle part", "w3840", 0, 1440, false, {}},
        {"right quarter", "w3840", 0, 1441, false, 961},
        {"right quarter, room edge", "w1920", 0, 1441, false, {}},
        {"back to the left edge", "w3840", 960, 1430, false, 0},
        {"left quarter, far right", "w3840", 2000, 2400, false, 960},
        {"left edge already", "w3840", 0, 100, false, {}},
        {"room narrower than the view", "w1600", 100, 1600, false, 0},
        {"room narrower, camera at 0", "w1600", 0, 1600, false, {}},
        {"running glide not retargeted", "w3840", 0, 1441, true, {}},
        {"no background", nullptr, 0, 1441, false, {}},
    };
    clock->set(5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        content.remove("background", "image", true);
        content.remove("Camera", "animation", true);
        if (c.background)
            content.set<Component::Image>("background", "image",
                                          std::string("images/backgrounds/") + c.background +
                                              ".png");
        camera->set(Point(c.camera_x, 7));
        hero.position->set(Point(c.player_x, 500));
        std::shared_ptr<Component::GUI_animation> running;
        if (c.running_glide)
            running = content.set<Component::GUI_position_animation>(
                "Camera", "animation", 4.5, 5.5, camera, Point(300, 7), false);
        system.update_camera_target();
        auto glide = content.request<Component::GUI_animation>("Camera", "animation");
        if (c.running_glide) {
            EXPECT_EQ(glide, running);
            continue;
        }
        ASSERT_EQ(bool(glide), c.target.has_value());
        if (!glide)
            continue;
        EXPECT_EQ(glide->start(), 5);
        EXPECT_EQ(glide->end(), 6);
        EXPECT_FALSE(glide->remove_after());
        EXPECT_EQ(glide->object_id().str(), "Camera:position");
        glide->update(6);
        EXPECT_EQ(camera->value(), Point(*c.target, 7));
    }
}

} // namespace
} // namespace Orvane::System
