#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include <Orvane/Assets/Packaged_asset.h>

struct Mix_Chunk;

namespace Orvane::Third_party {

class Music_stream;

/// The engine's whole use of the audio library: opens the audio device, loads music streams and
/// sound effects from package entries, plays several music streams at once (each with its own
/// volume, fades, pause and position, mixed by the engine's own `Music_mixer`), and plays each
/// sound effect on a free channel of its own with its own volume and stereo panning.
///
/// Exactly one object exists, owned by the sound system: it opens the device on construction and
/// closes it on destruction. Everything else is static so that components can load and free
/// their music and sounds without a reference to it. Volumes are 0..1; panning 0 (right only) to
/// 1 (left only); durations and positions in seconds. Music calls take a channel number that
/// they ignore (the stream itself is addressed).
class SDL_mixer_ext {
  public:
    /// A music stream and the package entry it keeps reading while it plays; the entry stays
    /// open until `delete_music`. Copies share the stream: once any copy is deleted the stream
    /// is no longer mixed and its entry is closed, and what is left of it is freed with the last
    /// copy, so a copy kept after `delete_music` stays safe to use (it plays nothing). Dropping
    /// every copy without `delete_music` takes the stream off the mixer and closes the entry.
    using Music_handle = std::pair<std::shared_ptr<Music_stream>, Packaged_asset>;
    /// A sound effect decoded whole into memory.
    using Sound_handle = Mix_Chunk*;

    /// Number of sound-effect channels.
    static constexpr int channel_count = 16;

    /// Opens the device at 44100 Hz, 16-bit samples in the machine's byte order, stereo, with
    /// 2048-frame chunks, allocates the 16 channels, frees every channel flag and installs the
    /// music mixer. When no device opens, the warning "Cannot initialized SDL Mixer (<SDL
    /// error>); the game runs without sound" is given and SDL's dummy driver is opened instead:
    /// everything plays as usual and nothing is heard (fatal only when that fails too).
    SDL_mixer_ext();
    /// Removes the music mixer and closes the device. Music and sounds may still be deleted
    /// afterwards.
    ~SDL_mixer_ext();
    /// Whether the open device is the dummy driver that stands in for a missing one.
    static bool silent();
    SDL_mixer_ext(const SDL_mixer_ext&) = delete;
    SDL_mixer_ext& operator=(const SDL_mixer_ext&) = delete;

    /// Opens the OGG Vorbis music of package entry `file` as a halted stream; fatal
    /// "Cannot load music <file>" when the entry is missing or not Vorbis data.
    static Music_handle load_music(const std::string& file);
    /// Stops the stream and takes it off the mixer, then closes its entry; the handle is left
    /// empty. Other copies of the handle keep a silent stream that plays nothing.
    static void delete_music(Music_handle& handle);

    /// Decodes the sound effect of package entry `file` (WAV or OGG) and closes the entry; fatal
    /// "Cannot load sound <file>".
    static Sound_handle load_sound(const std::string& file);
    /// Frees the sound (stopping it where it plays) and sets the pointer to null.
    static void delete_sound(Mix_Chunk*& sound);

    /// Accepts the number of music tracks; streams need no channels, so nothing changes.
    static void set_music_channels(std::size_t count);

    /// Sets the stream's volume to int(volume x 64) and starts it from the beginning, looping
    /// forever.
    static void start_music(const Music_handle& handle, int channel, double volume);
    /// Halts the stream, keeping its position.
    static void stop_music(const Music_handle& handle, int channel);
    /// Fades over int(duration x 1000) ms: out, or in (starting the stream, looping forever) from
    /// `position` seconds. A duration of 0 or less takes effect at once.
    static void fade(const Music_handle& handle, int channel, double duration, bool fade_in,
                     double position);
    /// Sets the stream's volume to int(volume x 64).
    static void set_volume(const Music_handle& handle, int channel, double volume);
    static void pause_music(const Music_handle& handle, int channel);
    static void resume_music(const Music_handle& handle, int channel);
    /// The stream's playing position in seconds.
    static double position(const Music_handle& handle);

    /// Plays the sound once on the lowest free channel at int(volume x 128), with the left side
    /// at panning and the right at 1 - panning (panning clamped to 0..1). When all 16 channels
    /// are busy nothing happens; when the library cannot start it, the channel is freed again.
    static void play_sound(Mix_Chunk* const& sound, double volume, double panning);
    /// Marks the lowest free channel busy and returns it, or -1 when all are busy.
    static int reserve_channel();

    /// One flag per channel, true when free: the main thread only takes a free one, the audio
    /// thread only frees one when its sound ends.
    static std::array<std::atomic<bool>, channel_count> m_available_channels;

  private:
    static std::atomic<bool> m_silent;
};

} // namespace Orvane::Third_party
