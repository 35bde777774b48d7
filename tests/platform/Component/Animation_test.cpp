#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Animation.h>

#include "support/Sdl_fixture.h"

namespace Orvane::Component {
namespace {

using Animation_test = Test::Sdl_test;

// images/animations/sheet.png is 1000 x 500
std::shared_ptr<Animation> sheet(int columns, int rows, bool loop) {
    return std::make_shared<Animation>("hero_body", "image", "images/animations/sheet.png", 7,
                                       columns, rows, loop);
}

TEST_F(Animation_test, NewAnimationPlaysEveryCellOnce) {
    auto animation = sheet(4, 2, false);
    EXPECT_EQ(animation->z(), 7);
    EXPECT_EQ(animation->collision(), Collision_type::BOX);
    EXPECT_TRUE(animation->playing());
    EXPECT_EQ(animation->frames().size(), 8U);
    EXPECT_TRUE(animation->animated());
    EXPECT_EQ(animation->str(),
              "Animation(hero_body:image) = ON, z=7, scale=1.000000, alpha=255, highlight=0");
}

TEST_F(Animation_test, ResetListsCellsRowsOuter) {
    auto animation = sheet(4, 2, false);
    animation->reset(true, 3);
    std::vector<std::pair<int, int>> cells;
    for (const auto& frame : animation->frames()) {
        cells.emplace_back(frame.x, frame.y);
        EXPECT_EQ(frame.duration, 3);
        EXPECT_EQ(frame.ticks, 0);
    }
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{
                         {0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}}));
    animation->reset(false, 5);
    ASSERT_EQ(animation->frames().size(), 1U);
    EXPECT_EQ(animation->frames()[0].duration, 5);
    EXPECT_FALSE(animation->animated());
}

TEST_F(Animation_test, CellBoundsFollowTheCurrentFrame) {
    auto animation = sheet(3, 2, true);
    animation->frames() = {{2, 1, 1, 0}};
    EXPECT_EQ(animation->xmin(), 666);
    EXPECT_EQ(animation->xmax(), 999);
    EXPECT_EQ(animation->ymin(), 250);
    EXPECT_EQ(animation->ymax(), 500);
    EXPECT_EQ(animation->width(), 333);
    EXPECT_EQ(animation->height(), 250);
    animation->set_relative_origin(0.5, 1.0);
    EXPECT_EQ(animation->origin(), Point(166.5, 250));
}

TEST_F(Animation_test, StepsThroughTheFrames) {
    struct Case {
        bool loop;
        std::vector<bool> results;
        std::vector<std::size_t> currents;
    };
    for (const Case& c : {Case{false, {true, false, true}, {1, 0, 1}},
                          Case{true, {true, true, true, true}, {1, 0, 1, 0}}}) {
        SCOPED_TRACE(c.loop);
        auto animation = sheet(2, 1, c.loop);
        for (std::size_t i = 0; i < c.results.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(animation->next_frame(), c.results[i]);
            EXPECT_EQ(animation->current(), c.currents[i]);
        }
    }
}

TEST_F(Animation_test, LastFrameIsItsLastTick) {
    auto animation = sheet(2, 1, false);
    animation->reset(true, 2);
    std::vector<bool> last;
    for (int tick = 0; tick < 4; ++tick) {
        last.push_back(animation->is_last_frame());
        animation->next_frame();
    }
    EXPECT_EQ(last, (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(animation->current(), 0U);
    EXPECT_EQ(animation->frames()[1].ticks, 0);
}

TEST_F(Animation_test, FrameOfNoDurationIsNeverLeft) {
    auto animation = sheet(2, 1, true);
    animation->reset(true, 0);
    for (int tick = 0; tick < 5; ++tick)
        EXPECT_TRUE(animation->next_frame());
    EXPECT_EQ(animation->current(), 0U);
    EXPECT_EQ(animation->current_frame().ticks, 5);
}

using Animation_DeathTest = Animation_test;

TEST_F(Animation_DeathTest, SheetWithoutCellsIsFatal) {
    for (auto [columns, rows] : {std::pair{0, 2}, std::pair{3, 0}}) {
        SCOPED_TRACE(std::to_string(columns) + " x " + std::to_string(rows));
        EXPECT_EXIT(sheet(columns, rows, true), ::testing::ExitedWithCode(1),
                    "Animation images/animations/sheet.png needs at least one column and one "
                    "row");
    }
}

TEST_F(Animation_DeathTest, EmptyFrameListIsFatal) {
    auto animation = sheet(2, 1, true);
    animation->frames().clear();
    EXPECT_EXIT(animation->next_frame(), ::testing::ExitedWithCode(1),
                "Animation hero_body:image has no frame 0");
    EXPECT_EXIT(animation->xmin(), ::testing::ExitedWithCode(1), "has no frame 0");
}

} // namespace
} // namespace Orvane::Component
