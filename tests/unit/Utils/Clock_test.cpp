#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Utils/Clock.h>

namespace {

/// A clock over a fake time source: tests move `now` by hand, and sleeping advances it.
struct Fake_time {
    std::int64_t now = 5000;
    std::vector<std::int64_t> slept;
    Orvane::Clock clock{[this] { return now; },
                        [this](std::int64_t ms) {
                            slept.push_back(ms);
                            now += ms;
                        }};
};

TEST(Clock, StartsAtZero) {
    Fake_time t;
    EXPECT_EQ(t.clock.time(), 0);
    EXPECT_EQ(t.clock.fps(), 0);
    EXPECT_EQ(t.clock.get(), 5000);
    t.now += 250;
    t.clock.update(true);
    EXPECT_DOUBLE_EQ(t.clock.time(), 0.25);
}

TEST(Clock, FrameRateIsTheAverageOfSixtyCountedFrames) {
    struct Case {
        std::int64_t frame_ms;
        double fps;
    };
    for (const Case& c : {Case{20, 50}, Case{16, 62.5}, Case{40, 25}}) {
        SCOPED_TRACE(c.frame_ms);
        Fake_time t;
        for (int i = 0; i < 59; ++i) {
            t.now += c.frame_ms;
            t.clock.update(true);
        }
        EXPECT_EQ(t.clock.fps(), 0) << "no measurement before the 60th frame";
        t.now += c.frame_ms;
        t.clock.update(true);
        EXPECT_DOUBLE_EQ(t.clock.fps(), c.fps);
        // The value holds until the next block of 60 is complete.
        for (int i = 0; i < 59; ++i) {
            t.now += 1;
            t.clock.update(true);
        }
        EXPECT_DOUBLE_EQ(t.clock.fps(), c.fps);
    }
}

TEST(Clock, UncountedTicksLeaveTheFrameRateAlone) {
    Fake_time t;
    for (int i = 0; i < 59; ++i) {
        t.now += 20;
        t.clock.update(true);
    }
    t.now += 1000;
    t.clock.update(false); // the long pause is not counted
    t.now += 20;
    t.clock.update(true);
    EXPECT_DOUBLE_EQ(t.clock.fps(), 50);
}

TEST(Clock, SetMovesTheOriginByWholeMilliseconds) {
    Fake_time t;
    t.now += 100;
    t.clock.update(true);
    t.clock.set(12.3456);
    EXPECT_DOUBLE_EQ(t.clock.time(), 0.1) << "time changes only at the next tick";
    t.clock.update(false);
    EXPECT_DOUBLE_EQ(t.clock.time(), 12.346);
    t.now += 4;
    t.clock.update(false);
    EXPECT_DOUBLE_EQ(t.clock.time(), 12.350);
}

TEST(Clock, SleepTruncatesToWholeMilliseconds) {
    Fake_time t;
    t.clock.sleep(0.0169);
    ASSERT_EQ(t.slept.size(), 1u);
    EXPECT_EQ(t.slept[0], 16);
    EXPECT_DOUBLE_EQ(t.clock.time(), 0.016);
}

TEST(Clock, FrameNumbers) {
    struct Case {
        double t;
        std::uint64_t id;
    };
    for (const Case& c :
         {Case{0, 0}, Case{1, 12}, Case{0.999, 11}, Case{1.0833, 12}, Case{1.1, 13}}) {
        SCOPED_TRACE(c.t);
        EXPECT_EQ(Orvane::frame_id(c.t), c.id);
    }
    EXPECT_DOUBLE_EQ(Orvane::frame_time(1.1), 13.0 / 12);
}

TEST(Clock, RealClockRunsForwards) {
    Orvane::Clock clock;
    double before = clock.get();
    clock.sleep(0.002);
    EXPECT_GE(clock.get(), before + 2);
    EXPECT_GE(clock.time(), 0.002);
}

} // namespace
