#pragma once

#include <Orvane/System/Base.h>
#include <Orvane/Utils/Clock.h>

namespace Orvane::System {

/// The time system: advances the frame clock, paces the frames and keeps the Clock:*
/// components. Runs last in every frame.
class Time : public Base {
  public:
    /// Creates Game:debug, then Clock:time, Clock:latest_active, Clock:discounted_time and
    /// Clock:saved_time (0), each in its fast-access slot.
    explicit Time(Content& content);

    void run() override;

    /// Skips the frame-rate limiter in the next run() only (frames drawn while loading).
    void skip_limiter() { m_skip_limiter = true; }

  private:
    Clock m_clock;
    bool m_skip_limiter = false;
};

} // namespace Orvane::System
