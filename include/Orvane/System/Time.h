#pragma once

#include <Orvane/System/Base.h>
#include <Orvane/Utils/Clock.h>

namespace Orvane::System {

/// The time system: advances the frame clock, paces the frames and keeps the Clock:*
/// components. Runs last in every frame. Its clock is the engine's one clock: the debug
/// overlay reads it too, and everything else reads the time it writes into Clock:time.
class Time : public Base {
  public:
    /// Creates Game:debug, then Clock:time, Clock:latest_active, Clock:discounted_time and
    /// Clock:saved_time (0), each in its fast-access slot. The clock reads `now` (monotonic
    /// milliseconds) and sleeps through `sleeper`: the steady clock and a real sleep unless a
    /// test gives its own, so that it sets the time of every frame and never waits.
    explicit Time(Content& content, Clock::Source now = steady_milliseconds,
                  Clock::Sleeper sleeper = sleep_milliseconds);

    /// Ticks the clock (one counted frame) and writes its time into Clock:time.
    void run() override;

    /// Skips the frame-rate limiter in the next run() only (frames drawn while loading).
    void skip_limiter() { m_skip_limiter = true; }

    /// The frame clock, for readers of its statistics.
    const Clock& clock() const { return m_clock; }

  private:
    Clock m_clock;
    bool m_skip_limiter = false;
};

} // namespace Orvane::System
