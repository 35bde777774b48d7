#pragma once

#include <Orvane/System/Base.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>

namespace Orvane::System {

/// The sound system: the music mix and the requested sounds.
class Sound : public Base {
  public:
    /// Opens the audio device; failure is fatal.
    explicit Sound(Content& content);

    void run() override;

  private:
    Third_party::SDL_mixer_ext m_mixer;
};

} // namespace Orvane::System
