#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include <Orvane/Component/Base.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>
#include <Orvane/Utils/geometry.h>

namespace Orvane::Component {

/// A room's music: several tracks that play together, in sync, each at its own gain, and the
/// music sources that decide those gains. A positional source sounds within a circle around a
/// point, louder towards its centre; a general source sounds everywhere. `adjust_mix` turns the
/// listener's position and the play time into one gain per track; the sound system applies them.
/// The tracks' streams stay open until the music is destroyed.
class Music : public Base {
  public:
    using Music_handle = Third_party::SDL_mixer_ext::Music_handle;

    enum class Source_state : int { FADING_IN = 0, ON = 1, FADING_OUT = 2, OFF = 3 };

    /// One music source: a gain per track, where it sounds and its fade.
    struct Source {
        Point position = Point::invalid(); ///< scene pixels; invalid for a general source
        double small_radius = 0;           ///< full gain within it
        double big_radius = 0;             ///< silent from it on; 0 makes the source general
        std::vector<double> mix;           ///< gain per track
        double fade_start = 0;             ///< play time (seconds) when the fade began
        double fade_duration = 0;          ///< seconds
        double level = 0;                  ///< last gain while ON: the ceiling of its fades
        Source_state state = Source_state::ON;
    };

    /// No tracks, no sources, not on.
    Music(const std::string& entity, const std::string& component);
    /// Closes every track's stream.
    ~Music() override;
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    std::string str_name() const override { return "Music"; }

    /// Opens the music of package entry `file` as one more track, at gain 0.
    void add_track(const std::string& file);
    /// Adds the source `id` (ON, level 0, general) unless it exists; then, when `big_radius` is
    /// not 0, places it at (x, y) with the two radii; finally its gains become `mix`. An existing
    /// source keeps its state, level and fade.
    void add_source(const std::string& id, const std::vector<double>& mix, double x, double y,
                    double small_radius, double big_radius);
    /// The starting mix: only the general sources sound.
    void init();
    /// Recomputes the gain of every track for a listener at `listener` (scene pixels) at play
    /// time `time` (seconds); true while some source fade is still running.
    bool adjust_mix(const Point& listener, const double& time);
    /// Fades the source in from `start` over `duration` seconds when the duration is not 0, the
    /// music is on and the source is OFF; otherwise turns it ON at once. An unknown id does
    /// nothing.
    void enable_source(const std::string& id, double start, double duration);
    /// Fades the source out from `start` over `duration` seconds when the duration is not 0, the
    /// music is on and the source is ON; otherwise turns it OFF at once. An unknown id does
    /// nothing.
    void disable_source(const std::string& id, double start, double duration);

    std::size_t tracks() const { return m_tracks.size(); }
    const Music_handle& core(std::size_t i) const { return m_tracks[i]; }
    double mix(std::size_t i) const { return m_mix[i]; }
    /// Whether the sound system has the tracks playing.
    bool on() const { return m_on; }
    bool& on() { return m_on; }
    const std::unordered_map<std::string, Source>& sources() const { return m_sources; }

  private:
    /// Adds gain x factor for each track, within the source's own list of gains.
    void add_gains(const Source& source, double factor);

    std::vector<Music_handle> m_tracks;
    std::vector<double> m_mix;
    std::unordered_map<std::string, Source> m_sources;
    bool m_on = false;
    std::vector<Source*> m_general; // emptied, not freed, by every adjust_mix
};

/// One sound effect, decoded whole into memory, for the sound system to play.
class Sound : public Base {
  public:
    using Sound_handle = Third_party::SDL_mixer_ext::Sound_handle;

    /// Loads the effect of package entry `file`.
    Sound(const std::string& entity, const std::string& component, const std::string& file);
    /// Frees the effect.
    ~Sound() override;
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    std::string str_name() const override { return "Sound"; }

    const Sound_handle& core() const { return m_core; }

  private:
    Sound_handle m_core;
};

} // namespace Orvane::Component
