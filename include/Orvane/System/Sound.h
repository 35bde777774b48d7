#pragma once

#include <Orvane/System/Base.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>

namespace Orvane::Component {
class Music;
}

namespace Orvane::System {

/// The sound system: the music mix and the requested sounds. It only reacts to the store: the
/// music that `Game:music` points at is started, stopped, faded, remixed for the player's
/// position and paused with the game as the `Music:*` signals and `Music:fade` ask; code-lock
/// sounds (one per frame) and every "play_sound" request are played once. The music's playing
/// position is kept in `<music entity>:resume_at` (seconds) at every stop, fade-out and save.
class Sound : public Base {
  public:
    /// Opens the audio device; without one the game runs silent, after a warning.
    explicit Sound(Content& content);

    /// One frame. Reads `Music:volume` every frame (fatal when absent) and `Sounds:volume` when
    /// a sound plays; both are settings 0..10 taken as tenths.
    void run() override;

  private:
    /// `resume_at` of the music := the playing position of its first track, in seconds; a
    /// music without tracks has no position, and its `resume_at` stays as it was.
    void keep_position(const Component::Music& music);
    /// Plays the `sound` component of `entity` once at the sounds volume.
    void play_effect(const std::string& entity, double panning);

    Third_party::SDL_mixer_ext m_mixer;
};

} // namespace Orvane::System
