#pragma once

#include <string>

#include <Orvane/Component/Condition.h>

namespace Orvane {
class Clock;
class Content;
} // namespace Orvane

namespace Orvane::Component {

/// The developer overlay's switch (its Boolean value, off at first) and the source of its text.
/// It also measures the share of each frame that the engine spends working: the graphics
/// system calls `end_loop` just before presenting a frame and `start_loop` just after, and the
/// share is taken over blocks of 60 frames. Holds references to the store and to the time
/// system's clock, which must outlive it.
class Debug : public Boolean {
  public:
    Debug(const std::string& entity, const std::string& component, Content& content, Clock& clock);

    std::string str_name() const override { return "Debug"; }

    /// Marks the start of a frame's work.
    void start_loop();
    /// Adds the work since `start_loop`; every 60 frames, the CPU share becomes the mean work per
    /// frame over the mean frame period the clock measured, at most 1. A frame ended before any
    /// `start_loop` (the engine's first) has no measured start and is not counted.
    void end_loop();
    /// The overlay text: clock values, play time, frame rate, CPU share, status, the number of
    /// components and, when there is a player character with a body image, its place and scale.
    std::string debug_str() const;
    /// The play time of the current game as "HH:MM:SS" (at least two digits each).
    std::string in_game_time() const;

  private:
    Content& m_content;
    Clock& m_clock;
    double m_work_start = 0;  // clock milliseconds
    double m_accumulated = 0; // milliseconds of work in the current block
    int m_frames = 0;         // frames in the current block, 0..59
    double m_cpu = 0;         // share of the last complete block, 0..1
    bool m_started = false;   // a start_loop has marked the beginning of a frame's work
};

} // namespace Orvane::Component
