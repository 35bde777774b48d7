#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace Orvane::Third_party {

/// A source of decoded audio already in the device's format: interleaved signed 16-bit samples
/// at the device's rate and channel count. A music stream pulls from it as it plays.
class Music_decoder {
  public:
    virtual ~Music_decoder() = default;

    /// Writes up to `frames` frames into `out` (room for `frames` times the device's channel
    /// count samples) and returns how many were written; 0 means the end of the data.
    virtual std::size_t read(std::int16_t* out, std::size_t frames) = 0;

    /// Moves to `seconds` from the start of the data; false when it cannot go there (the
    /// position is then the start).
    virtual bool seek(double seconds) = 0;
};

/// One music stream of the mixer: a decoder with its playing state, volume, fade envelope and
/// position. Several streams play at once; each is mixed with its own gain.
///
/// Not thread-safe by itself: while the mixer is installed on the audio device, every call
/// happens under `Music_mixer::lock()` (the wrapper's operations take it).
class Music_stream {
  public:
    /// The full-scale volume, as the audio library counts it.
    static constexpr int max_volume = 128;

    /// A halted stream over `decoder`, at full volume; `rate` is the device's frames per second.
    Music_stream(std::unique_ptr<Music_decoder> decoder, int rate);
    ~Music_stream();
    Music_stream(const Music_stream&) = delete;
    Music_stream& operator=(const Music_stream&) = delete;

    /// Streams alive in the process, for the long-run checks.
    static std::size_t live() { return m_live; }

    /// Starts from the beginning at once, without a fade. `loop` makes it start again from the
    /// beginning whenever the data ends, forever.
    void play(bool loop);
    /// Starts at `position` seconds with a linear fade from silence to its volume over
    /// `milliseconds`; 0 or less starts at full level at once. A stream that was playing starts
    /// over from the new position.
    void fade_in(bool loop, int milliseconds, double position);
    /// Fades linearly from its current level to silence over `milliseconds` of played audio,
    /// then halts keeping its position; 0 or less halts at once. Does nothing to a halted stream.
    void fade_out(int milliseconds);
    /// Stops playing; the position stays where it was.
    void halt();
    /// Holds a playing stream where it is: it is not mixed and does not advance.
    void pause();
    /// Lets a paused stream go on; no effect on a stream that is not paused or is halted.
    void resume();
    /// Sets the volume, clamped to 0..`max_volume`.
    void set_volume(int volume);

    int volume() const { return m_volume; }
    /// True from a start until a halt (also while paused).
    bool playing() const { return m_playing; }
    bool paused() const { return m_paused; }
    /// Seconds from the start of the data to the next frame to be played.
    double position() const;

    /// Adds the next `frames` frames of this stream, scaled by its volume and fade, into
    /// `accumulator` (interleaved, `channels` samples per frame, at most `chunk_samples`
    /// samples). Advances the position, the fade and the loop. A halted or paused stream adds
    /// nothing.
    void mix_into(std::int32_t* accumulator, std::size_t frames, int channels);

    /// The largest number of samples that `mix_into` handles in one call.
    static constexpr std::size_t chunk_samples = 4096;

  private:
    enum class Fade { NONE, IN, OUT };

    void start(bool loop, double position);

    std::unique_ptr<Music_decoder> m_decoder;
    int m_rate;
    int m_volume = max_volume;
    bool m_playing = false;
    bool m_paused = false;
    bool m_loop = false;
    Fade m_fade = Fade::NONE;
    std::int64_t m_fade_length = 0; // frames
    std::int64_t m_fade_done = 0;   // frames
    float m_fade_from = 1.0f;       // envelope level where a fade-out began
    std::int64_t m_position = 0;    // frames from the start of the data

    static std::atomic<std::size_t> m_live;
};

/// Mixes every playing stream of `streams` (null entries are skipped) into `buffer`, which holds
/// `frames` frames of `channels` interleaved signed 16-bit samples: the streams are added to what
/// the buffer already holds and the sum is clipped to the 16-bit range. Touches nothing but the
/// streams and the buffer, and allocates nothing.
void mix_music(std::span<Music_stream* const> streams, std::int16_t* buffer, std::size_t frames,
               int channels);

/// The engine's music layer on the audio device: the mixing hook of the audio library runs
/// `mix_music` over every attached stream. Static state, alive for the whole run; the mutex
/// guards the attached streams and their state between the audio thread and the main thread.
class Music_mixer {
  public:
    /// Installs the hook on the open audio device, whose rate and channel count are given.
    static void install(int rate, int channels);
    /// Removes the hook; attached streams stay attached and silent.
    static void uninstall();

    /// Lets `stream` be mixed (it plays once started); the caller keeps ownership.
    static void attach(Music_stream* stream);
    /// Stops mixing `stream`; after this the audio thread no longer touches it.
    static void detach(Music_stream* stream);

    /// The lock to hold while calling a stream's operations.
    static std::unique_lock<std::mutex> lock();

    /// The device's frames per second and channel count (44100 and 2 before `install`).
    static int rate() { return m_rate; }
    static int channels() { return m_channels; }

  private:
    static void hook(void* data, std::uint8_t* stream, int length);

    static std::mutex m_mutex;
    static std::vector<Music_stream*> m_streams;
    static int m_rate;
    static int m_channels;
};

} // namespace Orvane::Third_party
