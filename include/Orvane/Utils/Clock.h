#pragma once

#include <cstdint>
#include <functional>

namespace Orvane {

/// Milliseconds of the operating system's steady clock (nanoseconds / 1000000, truncated).
std::int64_t steady_milliseconds();
/// Blocks the calling thread for the given number of milliseconds.
void sleep_milliseconds(std::int64_t ms);

/// The frame clock: play time in seconds from a movable origin, and the frame rate averaged
/// over blocks of 60 counted frames. The time source and the sleep are injectable so that
/// tests set time instead of sleeping. Never copied: each owner builds its own.
class Clock {
  public:
    using Source = std::function<std::int64_t()>;
    using Sleeper = std::function<void(std::int64_t)>;

    Clock() : Clock(steady_milliseconds, sleep_milliseconds) {}
    /// A clock over `now` (monotonic milliseconds) that sleeps through `sleeper`.
    Clock(Source now, Sleeper sleeper);
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    /// Current milliseconds of the time source, without touching the clock.
    double get() const;
    /// One tick: with `count`, the frame is counted towards the frame rate; the play time
    /// follows the time source either way.
    void update(bool count);
    /// Moves the origin so that the play time at the latest tick reads t seconds (rounded to
    /// whole milliseconds); time() changes at the next update() or sleep().
    void set(double t);
    /// Sleeps s seconds (whole milliseconds, truncated), then reads the play time afresh.
    void sleep(double s);

    /// Last measured frame rate, refreshed every 60 counted frames.
    double fps() const { return m_fps; }
    /// Play time in seconds.
    double time() const { return m_time; }

  private:
    Source m_now;
    Sleeper m_sleeper;
    std::int64_t m_latest = 0;
    double m_accumulated = 0;
    std::int64_t m_frames = 0;
    double m_fps = 0;
    std::int64_t m_origin = 0;
    double m_time = 0;
};

/// Animation frame number of play time t: animations advance at 12 frames per second.
inline std::uint64_t frame_id(const double& t) { return static_cast<std::uint64_t>(t * 12); }
/// Play time at which t's animation frame began.
inline double frame_time(const double& t) { return static_cast<double>(frame_id(t)) / 12; }

} // namespace Orvane
