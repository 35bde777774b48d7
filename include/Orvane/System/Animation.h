#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <Orvane/System/Base.h>

namespace Orvane::System {

/// The animation system: GUI animations every frame, game animations at 12 frames per second.
class Animation : public Base {
  public:
    /// Starts at frame number 0 with nothing to remove and no started animation; creates no
    /// component.
    explicit Animation(Content& content);

    void run() override;
    /// One step of the loading screen; true when the spinner moved to a new frame and the
    /// screen should be drawn again.
    bool run_loading();

  private:
    std::uint64_t m_frame_id = 0;
    std::vector<std::string> m_to_remove;
    std::set<std::string> m_started;
};

} // namespace Orvane::System
