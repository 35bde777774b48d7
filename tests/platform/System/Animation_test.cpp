#include <cstddef>
#include <memory>

#include <gtest/gtest.h>

#include <Orvane/Component/Animation.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Content.h>
#include <Orvane/System/Animation.h>

#include "../Third_party/Sdl_fixture.h"

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

} // namespace
} // namespace Orvane::System
