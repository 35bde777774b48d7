#include <cmath>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Utils/Clock.h>

#include "support/Sdl_fixture.h"

namespace {

using namespace Orvane;
using Slot = Fast_access_component;

/// The store as the time system leaves it, over a clock whose milliseconds the test sets.
struct Debug_store {
    Debug_store() {
        debug =
            content.set_fac<Component::Debug>(Slot::GAME_DEBUG, "Game", "debug", content, clock);
        content.set_fac<Component::Simple<double>>(Slot::CLOCK_TIME, "Clock", "time", 0.0);
        content.set_fac<Component::Simple<double>>(Slot::CLOCK_DISCOUNTED_TIME, "Clock",
                                                   "discounted_time", 0.0);
        content.set_fac<Component::Simple<double>>(Slot::CLOCK_SAVED_TIME, "Clock", "saved_time",
                                                   0.0);
        content.set_fac<Component::Status>(Slot::GAME_STATUS, "Game", "status");
    }
    /// Ticks the clock 60 times over one second: a measured 60 frames per second.
    void measure_sixty_fps() {
        const std::int64_t start = now;
        for (int frame = 1; frame <= 60; ++frame) {
            now = start + std::llround(frame * 1000.0 / 60);
            clock.update(true);
        }
    }
    /// Frames that each take `work` milliseconds between start_loop and end_loop.
    void run_frames(int frames, std::int64_t work) {
        for (int i = 0; i < frames; ++i) {
            debug->start_loop();
            now += work;
            debug->end_loop();
        }
    }
    std::string line(int index) const {
        std::string text = debug->debug_str();
        std::size_t begin = 0;
        for (int i = 0; i < index; ++i)
            begin = text.find('\n', begin) + 1;
        return text.substr(begin, text.find('\n', begin) - begin);
    }

    std::int64_t now = 0;
    Clock clock{[this] { return now; }, [this](std::int64_t ms) { now += ms; }};
    Content content;
    std::shared_ptr<Component::Debug> debug;
};

TEST(Debug, StartsOffWithItsOwnName) {
    Debug_store store;
    EXPECT_FALSE(store.debug->value());
    EXPECT_EQ(store.debug->str_name(), "Debug");
}

TEST(Debug, CpuShareIsMeasuredOverBlocksOfSixtyFrames) {
    struct Case {
        int frames;
        std::int64_t work;
        std::string expected;
    };
    for (const Case& c : {Case{59, 8, "CPU = 0%"}, Case{60, 8, "CPU = 48%"},
                          Case{60, 20, "CPU = 100%"}, Case{119, 8, "CPU = 48%"}}) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames of " << c.work << " ms");
        Debug_store store;
        store.measure_sixty_fps();
        store.run_frames(c.frames, c.work);
        EXPECT_EQ(store.line(6), c.expected);
        EXPECT_EQ(store.line(5), "FPS = 60Hz");
    }
}

TEST(Debug, FrameEndedBeforeAnyStartIsNotCounted) {
    // The engine draws its first frame (end_loop) before the first start_loop, on a time
    // source that has been running for a day.
    Debug_store store;
    store.now = 86'400'000;
    store.measure_sixty_fps(); // absorbs the jump
    store.measure_sixty_fps();
    store.debug->end_loop();
    store.run_frames(59, 8);
    EXPECT_EQ(store.line(6), "CPU = 0%") << "59 measured frames: the block is not complete";
    store.run_frames(1, 8);
    EXPECT_EQ(store.line(6), "CPU = 48%");
}

TEST(Debug, InGameTimeCountsSavedAndClockTimeLessDiscountedTime) {
    struct Case {
        double saved, clock, discounted;
        std::string expected;
    };
    for (const Case& c : {Case{3600, 125.9, 0, "01:02:05"}, Case{36000, 0, 0, "10:00:00"},
                          Case{0, 70, 10, "00:01:00"}, Case{0, 0, 0, "00:00:00"}}) {
        SCOPED_TRACE(c.expected);
        Debug_store store;
        store.content.get<Component::Simple<double>>("Clock", "saved_time")->set(c.saved);
        store.content.get<Component::Simple<double>>("Clock", "discounted_time")->set(c.discounted);
        store.now = std::llround(c.clock * 1000);
        store.clock.update(false);
        EXPECT_EQ(store.debug->in_game_time(), c.expected);
    }
}

TEST(Debug, TextWithoutAPlayerEndsWithTheComponentCount) {
    Debug_store store;
    store.content.get<Component::Simple<double>>("Clock", "time")->set(12.5);
    store.content.get<Component::Simple<double>>("Clock", "saved_time")->set(3600);
    store.content.get<Component::Simple<double>>("Clock", "discounted_time")->set(1.25);
    store.now = 5000;
    store.clock.update(false);
    const auto status = store.content.get<Component::Status>("Game", "status");
    EXPECT_EQ(store.debug->debug_str(), "[Debug info]\n"
                                        "Clock time = 12.500000\n"
                                        "Saved time = 3600.000000\n"
                                        "Discounted time = 1.250000\n"
                                        "In game time = 01:00:03\n"
                                        "FPS = 0Hz\n"
                                        "CPU = 0%\n" +
                                            status->str() +
                                            "\n\n"
                                            "5 components in memory\n");
    store.content.set<Component::Simple<std::string>>("Player", "name", "hero");
    EXPECT_EQ(store.line(9), "6 components in memory") << "no body image: nothing more";
    EXPECT_EQ(store.debug->debug_str().find("Player"), std::string::npos);
}

using Debug_player = Test::Sdl_test;

TEST_F(Debug_player, TextShowsThePlayersPlaceDepthAndScale) {
    Debug_store store;
    store.content.set<Component::Simple<std::string>>("Player", "name", "hero");
    auto image = store.content.set<Component::Image>("hero_body", "image", 10, 10);
    image->rescale(1620);
    store.content.set<Component::Absolute_position>("hero_body", "position", Point(100.5, 200),
                                                    false);
    const std::string text = store.debug->debug_str();
    const std::string tail = "8 components in memory\n"
                             "Player position = [100.500000, 200.000000, 1620]\n"
                             "Player scale = 0.500000\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

} // namespace
