#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Orvane/Component/Debug.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Content.h>
#include <Orvane/Keys.h>
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

// A time system over a hand-set clock, with the status stack that the engine creates.
class Time_fixture {
  public:
    Time_fixture() {
        m_status = content.set_fac<Component::Status>(Fast_access_component::GAME_STATUS, "Game",
                                                      "status");
        time = std::make_unique<System::Time>(content, clock.source(), clock.sleeper());
    }
    ~Time_fixture() {
        content.clear(); // Game:debug refers to the time system's clock
    }
    Time_fixture(const Time_fixture&) = delete;
    Time_fixture& operator=(const Time_fixture&) = delete;

    double clock_time() const { return slot(content, Fast_access_component::CLOCK_TIME); }
    double discounted() const {
        return slot(content, Fast_access_component::CLOCK_DISCOUNTED_TIME);
    }
    double saved() const { return slot(content, Fast_access_component::CLOCK_SAVED_TIME); }
    double play_time() const { return saved() + clock_time() - discounted(); }

    /// Applies the changes named in `changes` (words separated by blanks), as the other
    /// systems would during a frame:
    ///   +speedup / -speedup       fast-forward wanted or no longer wanted
    ///   +new_room / -new_room     a room change pending, then done
    ///   +reset / -reset, +save / -save, +loaded / -loaded  the signals Game:reset, Game:save,
    ///                             Game:new_room_loaded
    ///   pause, menu, cutscene     pushes that status; pop pops the top one
    ///   load                      the frame is run by the loading callback (limiter skipped)
    ///   saved=S                   a save game was read with S seconds of play time
    /// then runs the time system.
    void frame(const std::string& changes) {
        std::istringstream words(changes);
        std::string w;
        while (words >> w) {
            if (w == "+speedup")
                content.emit(Key::time_speedup);
            else if (w == "-speedup")
                content.receive(Key::time_speedup);
            else if (w == "+new_room")
                content.set<Component::Simple<std::string>>("Game", "new_room", "quay");
            else if (w == "-new_room")
                content.remove("Game", "new_room");
            else if (w[0] == '+' || w[0] == '-') {
                const std::string name = w.substr(1) == "loaded" ? "new_room_loaded" : w.substr(1);
                if (w[0] == '+')
                    content.emit("Game", name);
                else
                    content.receive("Game", name);
            } else if (w == "pause")
                m_status->push(Status::PAUSE);
            else if (w == "menu")
                m_status->push(Status::IN_MENU);
            else if (w == "cutscene")
                m_status->push(Status::CUTSCENE);
            else if (w == "pop")
                m_status->pop();
            else if (w == "load")
                time->skip_limiter();
            else if (w.rfind("saved=", 0) == 0)
                content.get<Component::Simple<double>>("Clock", "saved_time")
                    ->set(std::stod(w.substr(6)));
            else
                ADD_FAILURE() << "unknown change " << w;
        }
        time->run();
    }

    Orvane::Test::Manual_clock clock;
    Content content;
    std::unique_ptr<System::Time> time;

  private:
    std::shared_ptr<Component::Status> m_status;
};

// One frame: the time source reads `ms`, the changes are made, the time system runs; then
// Clock:time, Clock:discounted_time and the play time are as given (seconds).
struct Frame {
    std::int64_t ms;
    const char* changes;
    double time;
    double discounted;
    double play;
};

struct Scenario {
    const char* name;
    std::vector<Frame> frames;
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

class TimeAccountTest : public testing::TestWithParam<Scenario> {};

TEST_P(TimeAccountTest, ClockDiscountAndPlayTimeFollowTheFrames) {
    Time_fixture f;
    for (const Frame& frame : GetParam().frames) {
        SCOPED_TRACE(testing::Message() << "at " << frame.ms << " ms, " << frame.changes);
        f.clock.now = frame.ms;
        f.frame(frame.changes);
        EXPECT_NEAR(f.clock_time(), frame.time, 1e-9);
        EXPECT_NEAR(f.discounted(), frame.discounted, 1e-9);
        EXPECT_NEAR(f.play_time(), frame.play, 1e-9);
    }
    EXPECT_TRUE(f.clock.slept.empty()) << "the limiter never started";
}

const Scenario scenarios[] = {
    {"FastForwardDoublesTheClockNotPlayTime",
     {{1000, "", 1, 0, 1},
      {2000, "+speedup", 2, 0, 2},
      {7000, "", 12, 0, 12},
      {12000, "-speedup", 22, 10, 12}, // 10 s held: clock +20 s, play time +10 s
      {13000, "", 23, 10, 13}}},
    {"PauseResumesToTheMillisecond",
     {{1000, "", 1, 0, 1},
      {1234, "pause", 1, 0, 1}, // Clock:time keeps its last value
      {16000, "", 1, 0, 1},
      {31234, "", 1, 0, 1},
      {31500, "pop", 1.234, 0, 1.234},
      {31517, "", 1.251, 0, 1.251}}},
    {"MenuTimeIsDiscounted",
     {{1000, "", 1, 0, 1},
      {2000, "menu", 2, 0, 2},
      {32000, "", 32, 0, 32}, // counted only when the menu closes
      {62000, "pop", 62, 60, 2},
      {63000, "", 63, 60, 3}}},
    {"RoomLoadIsDiscounted",
     {{1000, "", 1, 0, 1},
      {5000, "+new_room", 5, 0, 5},
      {5100, "load", 5.1, 0, 5.1},
      {5200, "load", 5.2, 0, 5.2},
      {8000, "-new_room", 8, 3, 5},
      {9000, "", 9, 3, 6}}},
    {"NoFastForwardInACutscene",
     {{1000, "cutscene", 1, 0, 1},
      {2000, "+speedup", 2, 0, 2}, // removed at once
      {3000, "", 3, 0, 3},
      {4000, "pop", 4, 0, 4},
      {5000, "", 5, 0, 5}}},
    {"ACutsceneEndsARunningFastForward",
     {{1000, "+speedup", 1, 0, 1},
      {3000, "", 5, 0, 5},
      {4000, "cutscene", 7, 3, 4},
      {5000, "", 8, 3, 5}}},
    {"RestartSetsPlayTimeToZero",
     {{1000, "saved=100", 1, 0, 101},
      {2000, "+reset", 2, 2, 0},
      {3000, "-reset", 3, 2, 1}}},
    {"RestartFromAnOpenMenuLeavesPlayTimeAtZero",
     {{1000, "", 1, 0, 1},
      {2000, "menu", 2, 0, 2},
      {10000, "+reset", 10, 10, 0},
      {11000, "-reset", 11, 10, 1},
      {15000, "pop", 15, 15, 0}, // only the menu's time after the restart is discounted
      {16000, "", 16, 15, 1}}},
    {"SaveClosesTheMenuPeriodAndTheNextFrameOpensAnother",
     {{1000, "", 1, 0, 1},
      {2000, "menu", 2, 0, 2},
      {5000, "+save", 5, 3, 2}, // the save sees the exact play time
      {5016, "-save", 5.016, 3, 2.016},
      {9000, "pop", 9, 6.984, 2.016}}},
    {"FastForwardEndedByARoomLoadIsDiscountedOnce",
     {{1000, "+speedup", 1, 0, 1},
      {3000, "+new_room", 5, 0, 5},
      {3100, "-speedup load", 5.2, 2.1, 3.1},
      {3200, "load", 5.3, 2.1, 3.2},
      {4000, "-new_room", 6.1, 3.1, 3},
      {5000, "", 7.1, 3.1, 4}}},
    {"FastForwardReleasedInAMenuIsDiscountedOnce",
     {{1000, "+speedup", 1, 0, 1},
      {2000, "menu", 3, 0, 3},
      {4000, "-speedup", 7, 3, 4},
      {6000, "pop", 9, 7, 2},
      {7000, "", 10, 7, 3}}},
    {"FastForwardReleasedInAPauseEndsWhereThePauseBegan",
     {{1000, "+speedup", 1, 0, 1},
      {2000, "", 3, 0, 3},
      {3000, "pause", 3, 0, 3},
      {10000, "-speedup", 3, 0, 3},
      {40000, "pop", 5, 2, 3},
      {41000, "", 6, 2, 4}}},
    {"FastForwardBegunInAPauseStartsWhenThePauseEnds",
     {{1000, "", 1, 0, 1},
      {2000, "pause", 1, 0, 1},
      {5000, "+speedup", 1, 0, 1},
      {30000, "pop", 2, 0, 2},
      {31000, "", 4, 0, 4},
      {32000, "-speedup", 6, 2, 4}}},
    {"FastForwardGoesOnAcrossAPause",
     {{1000, "+speedup", 1, 0, 1},
      {2000, "", 3, 0, 3},
      {2500, "pause", 3, 0, 3},
      {20000, "pop", 4, 0, 4}, // no step back to the real clock's time
      {21000, "", 6, 0, 6},
      {22000, "-speedup", 8, 3.5, 4.5}}},
};

INSTANTIATE_TEST_SUITE_P(Frames, TimeAccountTest, testing::ValuesIn(scenarios),
                         [](const testing::TestParamInfo<Scenario>& param) {
                             return std::string(param.param.name);
                         });

TEST(TimeTest, CutsceneRemovesTheFastForwardRequest) {
    Time_fixture f;
    f.clock.now = 1000;
    f.frame("cutscene +speedup");
    EXPECT_FALSE(f.content.signal(Key::time_speedup));
    EXPECT_FALSE(f.content.request<Component::Simple<double>>("Time", "begin_speedup"));
}

// --- The frame limiter ------------------------------------------------------------------

// Runs frames `interval` ms apart (cycling through the intervals) for `seconds` of the time
// source, without counting the limiter's sleeps. Returns the index reached in the cycle.
std::size_t run_display(Time_fixture& f, const std::vector<std::int64_t>& intervals,
                        std::int64_t ms, std::size_t k = 0) {
    for (std::int64_t elapsed = 0; elapsed < ms; ++k) {
        const std::int64_t iv = intervals[k % intervals.size()];
        f.clock.now += iv;
        elapsed += iv;
        f.frame("");
    }
    return k;
}

// Starts the limiter's measurement: the frame in which the first room has been entered.
void first_room(Time_fixture& f) {
    f.clock.now += 10;
    f.frame("+loaded");
    f.content.receive("Game", "new_room_loaded");
}

struct Display {
    const char* name;
    std::vector<std::int64_t> intervals; // ms between frames, cycled
    std::vector<std::int64_t> sleeps;    // ms slept after each interval once capped; empty: never
};

void PrintTo(const Display& d, std::ostream* os) { *os << d.name; }

class TimeLimiterTest : public testing::TestWithParam<Display> {};

TEST_P(TimeLimiterTest, MeasuresFiveSecondsThenCapsAbove70Hz) {
    const Display& display = GetParam();
    Time_fixture f;
    f.clock.now = 1000;
    first_room(f);
    std::int64_t elapsed = 0;
    std::size_t k = 0;
    // Measuring: no sleep until more than five seconds have been measured.
    for (; elapsed <= 5000; ++k) {
        SCOPED_TRACE(elapsed);
        ASSERT_TRUE(f.clock.slept.empty());
        const std::int64_t iv = display.intervals[k % display.intervals.size()];
        f.clock.now += iv;
        elapsed += iv;
        f.frame("");
    }
    // The frame that ends the measurement has just been measured: it sleeps a whole 1/60 s.
    if (display.sleeps.empty())
        EXPECT_TRUE(f.clock.slept.empty());
    else
        EXPECT_EQ(f.clock.slept, std::vector<std::int64_t>{16});
    // Capped: each frame lasts at least 1/60 s, in whole milliseconds.
    for (int n = 0; n < 20; ++n, ++k) {
        SCOPED_TRACE(n);
        f.clock.slept.clear();
        const std::size_t i = k % display.intervals.size();
        f.clock.now += display.intervals[i];
        f.frame("");
        if (display.sleeps.empty())
            EXPECT_TRUE(f.clock.slept.empty());
        else
            EXPECT_EQ(f.clock.slept, std::vector<std::int64_t>{display.sleeps[i]});
    }
}

INSTANTIATE_TEST_SUITE_P(Displays, TimeLimiterTest,
                         testing::Values(Display{"Hz144", {7, 7, 7, 6}, {9, 9, 9, 10}},
                                         Display{"Hz71", {14}, {2}},
                                         Display{"Hz66", {15}, {}},
                                         Display{"Hz60", {16, 17}, {}}),
                         [](const testing::TestParamInfo<Display>& param) {
                             return std::string(param.param.name);
                         });

TEST(TimeTest, LimiterWaitsForTheFirstRoom) {
    Time_fixture f;
    f.clock.now = 1000;
    run_display(f, {7}, 10000);
    EXPECT_TRUE(f.clock.slept.empty()) << "nothing measured before a room was entered";
    first_room(f);
    run_display(f, {7}, 4990);
    EXPECT_TRUE(f.clock.slept.empty());
    run_display(f, {7}, 70);
    EXPECT_FALSE(f.clock.slept.empty()) << "measured from the first room on";
}

TEST(TimeTest, LimiterDoesNotMeasureFramesAtClockZero) {
    Time_fixture f; // the clock's origin is the source's 0
    first_room(f);
    f.clock.now = 0;
    for (int n = 0; n < 3000; ++n)
        f.frame("");
    // 300-odd frames at 60 Hz: were the 3000 frames above counted, the mean frame would last
    // under 2 ms and the display would pass for one above 70 Hz.
    run_display(f, {16, 17}, 6000);
    EXPECT_TRUE(f.clock.slept.empty());
}

TEST(TimeTest, LoadingFramesSkipTheLimiter) {
    Time_fixture f;
    first_room(f);
    run_display(f, {7}, 5100);
    ASSERT_FALSE(f.clock.slept.empty());
    f.clock.slept.clear();
    for (int n = 0; n < 3; ++n) {
        f.clock.now += 7;
        f.frame("load");
    }
    EXPECT_TRUE(f.clock.slept.empty());
    // 28 ms since the last paced frame: no sleep; then the usual one.
    f.clock.now += 7;
    f.frame("");
    EXPECT_TRUE(f.clock.slept.empty());
    f.clock.now += 7;
    f.frame("");
    EXPECT_EQ(f.clock.slept, std::vector<std::int64_t>{9});
}

TEST(TimeTest, TwoTimeSystemsMeasureApart) {
    struct Order {
        std::vector<std::int64_t> first, second;
        bool first_capped, second_capped;
    };
    for (const Order& order : {Order{{7}, {16, 17}, true, false}, Order{{16, 17}, {7}, false, true}}) {
        SCOPED_TRACE(order.first_capped ? "fast display first" : "slow display first");
        Time_fixture a;
        first_room(a);
        run_display(a, order.first, 6000);
        EXPECT_EQ(!a.clock.slept.empty(), order.first_capped);
        // A second engine in the same process measures its own display.
        Time_fixture b;
        first_room(b);
        run_display(b, order.second, 6000);
        EXPECT_EQ(!b.clock.slept.empty(), order.second_capped);
    }
}

TEST(TimeTest, LimiterIgnoresTheClockMovedByPauseAndFastForward) {
    Time_fixture f;
    first_room(f);
    std::size_t k = run_display(f, {7}, 5100);
    ASSERT_FALSE(f.clock.slept.empty());
    // A 30 s pause moves the clock back when it ends; a fast-forward moves it on.
    for (const char* change : {"pause", "pop", "+speedup", "-speedup"}) {
        SCOPED_TRACE(change);
        f.clock.now += 7;
        f.frame(change);
        k = run_display(f, {7}, 30000, k);
        f.clock.slept.clear();
        f.clock.now += 7;
        f.frame("");
        EXPECT_EQ(f.clock.slept, std::vector<std::int64_t>{9});
    }
}

} // namespace
