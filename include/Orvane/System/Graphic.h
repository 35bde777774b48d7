#pragma once

#include <Orvane/System/Base.h>
#include <Orvane/Third_party/SDL.h>
#include <Orvane/Utils/Clock.h>

namespace Orvane::System {

/// The graphic system: owns the window and renderer and draws every frame.
class Graphic : public Base {
  public:
    /// Creates its window-and-renderer wrapper (no window yet) and a frame clock, and stores
    /// CPU:usage = 0.
    explicit Graphic(Content& content);

    /// Opens the window from Window:width, Window:height and Window:fullscreen (each must
    /// exist) and writes the resulting size back, marked as altered.
    void init() override;
    /// Draws and presents one frame.
    void run() override;
    /// Draws one loading-screen frame.
    void run_loading();

  private:
    Third_party::SDL m_sdl;
    Clock m_clock;
};

} // namespace Orvane::System
