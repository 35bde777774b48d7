#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include <Orvane/Component/GUI_animation.h>
#include <Orvane/Component/Position.h>

namespace Orvane::Component {
namespace {

std::shared_ptr<Absolute_position> at(double x, double y) {
    return std::make_shared<Absolute_position>("Label", "position", Point(x, y));
}

TEST(GUI_position_animation_test, EasesTowardsTheTarget) {
    struct Case {
        double t;
        double x;
    };
    // fraction of the way: sqrt(sin(pi/2 * progress))
    for (Case c : {Case{0, 0}, Case{0.25, 61.86}, Case{0.5, 84.09}, Case{0.75, 96.12}}) {
        SCOPED_TRACE(c.t);
        auto position = at(0, 0);
        GUI_position_animation animation("Label", "animation", 0, 1, position, Point(100, 0));
        EXPECT_TRUE(animation.update(c.t));
        EXPECT_NEAR(position->value().x(), c.x, 0.005);
        EXPECT_EQ(position->value().y(), 0);
    }
}

TEST(GUI_position_animation_test, EndsExactlyOnTheTarget) {
    for (double t : {1.0, 1.7}) {
        SCOPED_TRACE(t);
        auto position = at(10, 20);
        GUI_position_animation animation("Label", "animation", 0, 1, position, Point(100, -50));
        EXPECT_TRUE(animation.update(0.3));
        EXPECT_FALSE(animation.update(t));
        EXPECT_EQ(position->value(), Point(100, -50));
    }
}

TEST(GUI_position_animation_test, ProgressIsClampedBeforeTheStart) {
    auto position = at(10, 20);
    GUI_position_animation animation("Label", "animation", 5, 6, position, Point(100, 0));
    EXPECT_TRUE(animation.update(4));
    EXPECT_EQ(position->value(), Point(10, 20));
    EXPECT_EQ(animation.smooth_function(0, 10, 4), 0);
    EXPECT_EQ(animation.smooth_function(0, 10, 9), 10);
    EXPECT_EQ(animation.smooth_function(0, 10, 5.5), 10 * std::sqrt(std::sin(M_PI / 4)));
}

TEST(GUI_position_animation_test, EmptyIntervalNeverGivesNaN) {
    auto position = at(10, 20);
    GUI_position_animation animation("Label", "animation", 3, 3, position, Point(100, 0));
    EXPECT_TRUE(animation.update(2));
    EXPECT_FALSE(std::isnan(position->value().x()));
    EXPECT_FALSE(animation.update(3));
    EXPECT_EQ(position->value(), Point(100, 0));
}

TEST(GUI_position_animation_test, RetargetingKeepsStartAndInterval) {
    auto position = at(0, 0);
    GUI_position_animation animation("Label", "animation", 0, 1, position, Point(100, 0));
    animation.update(0.5);
    animation.update(Point(100, 0));
    animation.update(0.5);
    EXPECT_NEAR(position->value().x(), 84.09, 0.005);
    animation.update(Point(200, 100));
    animation.update(0.5);
    EXPECT_NEAR(position->value().x(), 168.18, 0.01);
    EXPECT_NEAR(position->value().y(), 84.09, 0.005);
    animation.cancel();
    EXPECT_EQ(position->value(), Point(0, 0));
}

TEST(GUI_position_animation_test, FunctionalPositionFollowsItsFunctionAfterTheEnd) {
    auto position = std::make_shared<Functional_position>(
        "Label", "position", [](const std::string&) { return Point(7, 8); }, "Label", true);
    GUI_position_animation animation("Label", "animation", 0, 1, position, Point(100, 0));
    animation.update(0.5);
    EXPECT_NE(position->value(), Point(7, 8));
    EXPECT_FALSE(animation.update(2));
    EXPECT_EQ(position->value(), Point(7, 8));
}

TEST(GUI_position_animation_test, NamesAndPrintsTheAnimatedPosition) {
    auto position = at(1.5, 2);
    GUI_position_animation animation("Inventory", "animation", 0, 1, position, Point(0, 0), true);
    EXPECT_TRUE(animation.remove_after());
    EXPECT_EQ(animation.object_id(), Id("Label", "position"));
    EXPECT_EQ(animation.str(), "GUI_position_animation(Inventory:animation)\n"
                               "--Animated = Absolute_position(Label:position) = "
                               "Point(1.500000;2.000000)\n");
}

} // namespace
} // namespace Orvane::Component
