#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/System/Time.h>

#include "support/Manual_clock.h"

namespace {

using namespace Orvane;

double slot(const Content& content, Fast_access_component which) {
    return content.value<Component::Simple<double>>(which);
}

TEST(TimeTest, FramesHappenWhenTheGivenClockSays) {
    Orvane::Test::Manual_clock clock;
    clock.now = 123456; // the source's zero is not the clock's
    Content content;
    content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game", "status");
    {
        System::Time time(content, clock.source(), clock.sleeper());
        EXPECT_EQ(slot(content, Fast_access_component::CLOCK_TIME), 0.0);
        for (int n = 1; n <= 90; ++n) {
            SCOPED_TRACE(n);
            clock.at_frame(n, 123456);
            if (n % 7 == 0)
                time.skip_limiter(); // a frame drawn while loading keeps the same time
            time.run();
            EXPECT_EQ(slot(content, Fast_access_component::CLOCK_TIME),
                      double(Orvane::Test::Manual_clock::frame_ms(n)) / 1000);
            EXPECT_EQ(time.clock().time(), slot(content, Fast_access_component::CLOCK_TIME));
        }
        EXPECT_DOUBLE_EQ(time.clock().fps(), 60.0) << "60 frames over one second";
        // The overlay reads the same clock: 1.5 s of play time so far.
        auto debug = content.get<Component::Debug>("Game", "debug");
        EXPECT_EQ(debug->in_game_time(), "00:00:01");
        clock.now += 600000;
        time.run();
        EXPECT_EQ(debug->in_game_time(), "00:10:01");
        EXPECT_TRUE(clock.slept.empty());
        content.clear(); // Game:debug refers to the time system's clock
    }
}

} // namespace
