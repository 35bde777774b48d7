#pragma once

#include <memory>

#include <Orvane/Component/Simple.h>
#include <Orvane/System/Base.h>
#include <Orvane/Utils/Clock.h>

namespace Orvane::System {

/// The time system: advances the frame clock, paces the frames and keeps the Clock:*
/// components. Runs last in every frame. Its clock is the engine's one clock: the debug
/// overlay reads it too, and everything else reads the time it writes into Clock:time.
///
/// Clock:time stands still during a pause, runs at twice the rate while Time:speedup is
/// signalled (never in a cutscene), and keeps running in menus and while a room loads; the
/// extra time of a fast-forward and the time spent in menus and loads go into
/// Clock:discounted_time, so that play time (Clock:saved_time + Clock:time -
/// Clock:discounted_time) counts neither.
class Time : public Base {
  public:
    /// Creates Game:debug, then Clock:time, Clock:latest_active, Clock:discounted_time and
    /// Clock:saved_time (0), each in its fast-access slot. The clock reads `now` (monotonic
    /// milliseconds) and sleeps through `sleeper`: the steady clock and a real sleep unless a
    /// test gives its own, so that it sets the time of every frame and never waits.
    explicit Time(Content& content, Clock::Source now = steady_milliseconds,
                  Clock::Sleeper sleeper = sleep_milliseconds);

    /// One frame: ticks the clock (one counted frame), paces the frame unless the limiter is
    /// skipped, then accounts fast-forward, pause, restart, menus and loading, and writes the
    /// clock's time into Clock:time.
    void run() override;

    /// Skips the frame-rate limiter in the next run() only (frames drawn while loading).
    void skip_limiter() { m_skip_limiter = true; }

    /// The frame clock, for readers of its statistics.
    const Clock& clock() const { return m_clock; }

  private:
    /// Paces the frames: measures the display's rate over the first five seconds after the
    /// first room has loaded and, when it is above 70 Hz, makes every later frame last at
    /// least 1/60 s by sleeping.
    void limit_fps();

    /// The Simple<double> held in a Clock:* fast-access slot (fatal when the slot is empty).
    std::shared_ptr<Component::Simple<double>> clock_slot(Fast_access_component slot) const;
    /// Adds dt seconds to Clock:discounted_time.
    void discount(double dt);

    Clock m_clock;
    bool m_skip_limiter = false;

    // The limiter's state. It belongs to this object so that two engines in one process
    // measure apart; nothing resets it while the object lives, so a restart of the game does
    // not measure again. Its times are the time source's own milliseconds, which pauses and
    // fast-forwards never move, so that a moved clock cannot fake a long frame.
    bool m_game_started = false;        ///< the measurement has begun
    bool m_needs_update = false;        ///< the measurement is over
    bool m_needs_limits = false;        ///< the 60 Hz cap is on
    double m_latest_refresh = 0;        ///< source time (s) at the previous frame's end
    double m_refresh_time = 0;          ///< sum of measured frame intervals (s), then their mean
    int m_nb_refresh = 0;               ///< number of measured frames
};

} // namespace Orvane::System
