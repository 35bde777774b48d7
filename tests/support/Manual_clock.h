#pragma once

#include <cstdint>
#include <vector>

#include <Orvane/Utils/Clock.h>

namespace Orvane::Test {

/// Time that a test sets by hand, as the time source and sleeper of a Clock (the time system's,
/// through Engine::set_clock or System::Time's constructor). Sleeping never waits: it moves the
/// time on by the milliseconds asked and notes them. Must outlive the clocks that read it.
struct Manual_clock {
    std::int64_t now = 0;            ///< milliseconds the source gives
    std::vector<std::int64_t> slept; ///< every sleep asked for, in milliseconds

    Clock::Source source() {
        return [this] { return now; };
    }
    Clock::Sleeper sleeper() {
        return [this](std::int64_t ms) {
            slept.push_back(ms);
            now += ms;
        };
    }

    /// The millisecond at which frame n of a 60 Hz display begins, counted from `start`: n / 60
    /// seconds, rounded to the nearest millisecond (the clock's resolution).
    static std::int64_t frame_ms(int n, std::int64_t start = 0) {
        return start + (std::int64_t{n} * 1000 + 30) / 60;
    }
    /// Sets the time to frame_ms(n, start).
    void at_frame(int n, std::int64_t start = 0) { now = frame_ms(n, start); }
};

} // namespace Orvane::Test
