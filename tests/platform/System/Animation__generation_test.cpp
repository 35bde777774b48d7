#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Base.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/Animation.h>
#include <Orvane/Utils/error.h>

#include "support/Sdl_fixture.h"

namespace Orvane::System {
namespace {

using Sheet = Component::Animation;
using Frame = Component::Animation::Frame;

// A character "hero" with a skin: body (idle sheet), head and mouth cut from one test sheet.
class Animation_generation : public Test::Sdl_test {
  protected:
    Content content;
    System::Animation animation{content};

    std::shared_ptr<Sheet> sheet(const std::string& entity, int columns) {
        auto a = std::make_shared<Sheet>(entity, "image", "images/animations/sheet.png", 0, columns,
                                         2, true);
        content.set(a);
        return a;
    }

    void make_hero(const std::vector<std::string>& idle, int head_columns, int mouth_columns) {
        content.set<Component::Base>("hero", "group");
        content.set<Component::Boolean>("hero", "walking", true);
        content.set<Component::Vector<std::string>>("hero_idle", "values", idle);
        body = sheet("hero_body", int(idle.size()));
        head = sheet("hero_head", head_columns);
        if (mouth_columns > 0)
            mouth = sheet("hero_mouth", mouth_columns);
    }

    std::shared_ptr<Sheet> body, head, mouth;
};

std::vector<int> columns_of(const Sheet& a) {
    std::vector<int> out;
    for (const Frame& f : a.frames())
        out.push_back(f.x);
    return out;
}

TEST_F(Animation_generation, NothingWithoutASkin) {
    make_hero({"transition", "default", "idle"}, 4, 11);
    content.remove("hero", "group");
    const auto before = columns_of(*body);
    animation.generate_random_idle_animation("hero", true);
    EXPECT_EQ(columns_of(*body), before);
    EXPECT_TRUE(content.get<Component::Boolean>("hero", "walking")->value());
}

TEST_F(Animation_generation, IdleBodyPoses) {
    struct Case {
        std::vector<std::string> idle;
        int first;
        std::set<int> poses; // every column shown, transition column 0 aside
    };
    const Case cases[] = {
        {{"transition", "default", "idle", "idle"}, 1, {1, 2, 3}},
        {{"transition", "default", "wave", "default"}, 3, {1, 3}},
        {{"transition", "idle", "wave"}, 1, {1}},
        // one candidate: the pose is held instead of drawing forever
        {{"transition", "default", "wave"}, 1, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.idle.size());
        std::srand(7);
        make_hero(c.idle, 4, 11);
        animation.generate_random_idle_body_animation("hero", false);
        EXPECT_FALSE(content.get<Component::Boolean>("hero", "walking")->value());
        const auto& frames = body->frames();
        ASSERT_EQ(frames.size(), 20U);
        EXPECT_EQ(frames[0].x, c.first);
        std::set<int> poses;
        for (std::size_t i = 0; i < frames.size(); i += 2) {
            EXPECT_EQ(frames[i + 1].x, 0);
            EXPECT_EQ(frames[i + 1].duration, 2);
            EXPECT_GE(frames[i].duration, 50);
            EXPECT_LE(frames[i].duration, 499);
            EXPECT_EQ(frames[i].y, 1);
            EXPECT_EQ(frames[i].ticks, 0);
            if (i > 0 && c.poses.size() > 1) {
                EXPECT_NE(frames[i].x, frames[i - 2].x) << "the same pose twice in a row";
            }
            poses.insert(frames[i].x);
        }
        EXPECT_EQ(poses, c.poses);
        EXPECT_EQ(body->current(), 0U);
    }
}

TEST_F(Animation_generation, IdleBodyOfAPlainSheetHoldsItsFirstColumn) {
    make_hero({"stand", "default"}, 4, 11);
    content.emit("hero", "is_hidden");
    animation.generate_random_idle_body_animation("hero", true);
    ASSERT_EQ(body->frames().size(), 1U);
    EXPECT_EQ(body->frames()[0].x, 0);
    EXPECT_EQ(body->frames()[0].y, 0);
    EXPECT_EQ(body->frames()[0].duration, 1000);
    EXPECT_FALSE(body->on());
}

TEST_F(Animation_generation, IdleHeadFlashesColumnZeroBetweenStretches) {
    for (int columns : {1, 2, 5}) {
        SCOPED_TRACE(columns);
        std::srand(3);
        make_hero({"stand"}, columns, 11);
        body->on() = false;
        animation.generate_random_idle_head_animation("hero", true);
        ASSERT_EQ(mouth->frames().size(), 1U);
        EXPECT_EQ(mouth->frames()[0].x, 0);
        EXPECT_EQ(mouth->frames()[0].y, 0);
        EXPECT_FALSE(head->on());
        EXPECT_FALSE(mouth->on());
        if (columns == 1) {
            // no column 1 to show: its only column, stretches and flashes alike
            ASSERT_FALSE(head->frames().empty());
            for (const Frame& f : head->frames())
                EXPECT_EQ(f.x, 0);
            continue;
        }
        int total = 0;
        std::set<int> shown;
        const auto& frames = head->frames();
        for (std::size_t i = 0; i < frames.size(); ++i) {
            total += frames[i].duration;
            if (frames[i].x == 0) {
                EXPECT_EQ(frames[i].duration, 1);
                ASSERT_GT(i, 0U);
                EXPECT_NE(frames[i - 1].x, 0) << "a flash follows a stretch";
            } else {
                EXPECT_LE(frames[i].duration, 49);
                shown.insert(frames[i].x);
            }
        }
        // ten periods of 30 to 299 ticks, plus the flashes
        EXPECT_GE(total, 300);
        if (columns == 2) {
            EXPECT_EQ(shown, std::set<int>{1});
        }
        EXPECT_FALSE(shown.count(0));
    }
}

TEST_F(Animation_generation, TalkingMouthNeverRestsNorRepeats) {
    struct Case {
        int columns;
        std::set<int> shapes;
    };
    // a 2-column mouth talks on column 1; a 1-column mouth keeps its resting column
    for (const Case& c : {Case{11, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, Case{2, {1}}, Case{1, {0}}}) {
        SCOPED_TRACE(c.columns);
        std::srand(11);
        make_hero({"stand"}, 4, c.columns);
        head->frames() = {{2, 1, 5, 0}};
        animation.generate_random_mouth_animation("hero");
        const auto& frames = mouth->frames();
        ASSERT_EQ(frames.size(), 50U);
        std::set<int> shapes;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].y, 1) << "the side the head faces";
            EXPECT_EQ(frames[i].duration, 1);
            if (i > 0 && c.shapes.size() > 1) {
                EXPECT_NE(frames[i].x, frames[i - 1].x);
            }
            shapes.insert(frames[i].x);
        }
        EXPECT_EQ(shapes, c.shapes);
    }
}

TEST_F(Animation_generation, TalkingWithoutAMouthDoesNothing) {
    make_hero({"stand"}, 4, 0);
    animation.generate_random_mouth_animation("hero");
    EXPECT_FALSE(content.request<Sheet>("hero_mouth", "image"));
}

TEST_F(Animation_generation, PoseKeepsTheRowAndTakesTheFirstColumnOfItsName) {
    make_hero({"stand", "point", "sit", "point"}, 4, 11);
    body->frames() = {{0, 1, 3, 0}};
    animation.generate_animation("hero", "point");
    EXPECT_FALSE(content.get<Component::Boolean>("hero", "walking")->value());
    ASSERT_EQ(body->frames().size(), 1U);
    EXPECT_EQ(body->frames()[0].x, 1);
    EXPECT_EQ(body->frames()[0].y, 1);
    EXPECT_EQ(body->frames()[0].duration, 1);
}

using Animation_generationDeathTest = Animation_generation;

TEST_F(Animation_generationDeathTest, UnknownPoseIsFatal) {
    make_hero({"stand", "point"}, 4, 11);
    EXPECT_EXIT(animation.generate_animation("hero", "dance"), testing::ExitedWithCode(1),
                "No dance skin found for hero");
}

} // namespace
} // namespace Orvane::System
