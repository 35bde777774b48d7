#pragma once

#include <Orvane/Component/Status.h>
#include <Orvane/Config.h>
#include <Orvane/System/Base.h>

namespace Orvane::System {

/// The control system: runs the handler of the current status and input mode, which turns
/// pointing, clicking, touching and controller buttons into the player's choices.
class Control : public Base {
  public:
    /// Creates no component.
    explicit Control(Content& content);

    /// Remembers the current input mode and status.
    void init() override;
    void run() override;

  private:
    Input_mode m_input_mode = MOUSE;
    Orvane::Status m_status = Orvane::Status::IDLE;
};

} // namespace Orvane::System
