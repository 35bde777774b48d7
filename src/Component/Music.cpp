#include <algorithm>
#include <limits>
#include <string>
#include <unordered_map>

#include <Orvane/Component/Music.h>

namespace Orvane::Component {

Music::Music(const std::string& entity, const std::string& component) : Base(entity, component) {}

Music::~Music() {
    for (Music_handle& track : m_tracks)
        Third_party::SDL_mixer_ext::delete_music(track);
}

void Music::add_track(const std::string& file) {
    m_tracks.push_back(Third_party::SDL_mixer_ext::load_music(file));
    m_mix.push_back(0);
}

void Music::add_source(const std::string& id, const std::vector<double>& mix, double x, double y,
                       double small_radius, double big_radius) {
    Source& source = m_sources.try_emplace(id).first->second;
    if (big_radius != 0) {
        source.position = Point(x, y);
        source.small_radius = small_radius;
        source.big_radius = big_radius;
    }
    source.mix = mix;
}

void Music::init() {
    const double far = std::numeric_limits<double>::infinity();
    adjust_mix(Point(far, far), 0);
}

void Music::add_gains(const Source& source, double factor) {
    // The data give one gain per track; a shorter list leaves the other tracks alone.
    const std::size_t n = std::min(source.mix.size(), m_mix.size());
    for (std::size_t i = 0; i < n; ++i)
        m_mix[i] += source.mix[i] * factor;
}

bool Music::adjust_mix(const Point& listener, const double& time) {
    std::fill(m_mix.begin(), m_mix.end(), 0.0);
    bool fading = false;
    m_general.clear();

    auto distance_to = [&listener](const Source& s) {
        return distance(s.position.x(), s.position.y(), listener.x(), listener.y());
    };

    Source* candidate = nullptr;
    for (auto& [id, source] : m_sources) {
        if (source.state == Source_state::OFF)
            continue;
        if (source.big_radius != 0) {
            if (source.state == Source_state::FADING_OUT || distance_to(source) < source.big_radius)
                candidate = &source;
        } else if (source.state == Source_state::FADING_OUT &&
                   time - source.fade_start > source.fade_duration) {
            source.state = Source_state::OFF;
        } else {
            m_general.push_back(&source);
        }
    }

    double c = 0;
    if (candidate != nullptr) {
        Source& p = *candidate;
        if (p.state == Source_state::FADING_IN) {
            const double elapsed = time - p.fade_start;
            if (elapsed > p.fade_duration) {
                p.state = Source_state::ON;
            } else {
                c = elapsed / p.fade_duration * p.level;
                fading = true;
            }
        }
        if (p.state == Source_state::ON) {
            const double d = distance_to(p);
            c = d <= p.small_radius ? 1.0 : (d - p.big_radius) / (p.small_radius - p.big_radius);
            p.level = c;
        } else if (p.state == Source_state::FADING_OUT) {
            const double elapsed = time - p.fade_start;
            if (elapsed > p.fade_duration) {
                p.state = Source_state::OFF;
                c = 0;
            } else {
                c = (1 - elapsed / p.fade_duration) * p.level;
            }
            fading = true;
        }
        add_gains(p, c);
        if (c == 1) {
            m_general.clear();
            return fading;
        }
    }

    for (Source* g : m_general) {
        double h = 1;
        if (g->state == Source_state::FADING_IN) {
            const double elapsed = time - g->fade_start;
            if (elapsed > g->fade_duration) {
                g->state = Source_state::ON;
            } else {
                h = elapsed / g->fade_duration;
                fading = true;
            }
        } else if (g->state == Source_state::FADING_OUT) {
            h = 1 - (time - g->fade_start) / g->fade_duration;
            fading = true;
        }
        add_gains(*g, h * (1 - c));
    }
    m_general.clear();
    return fading;
}

namespace {

/// Turns the source `id` of `sources` towards `to`: through `fading`, from `start` over
/// `duration` seconds, when the duration is not 0, the music is on and the source stands at
/// `from`; otherwise at once. An unknown id does nothing.
void switch_source(std::unordered_map<std::string, Music::Source>& sources, const std::string& id,
                   bool music_on, double start, double duration, Music::Source_state from,
                   Music::Source_state fading, Music::Source_state to) {
    auto found = sources.find(id);
    if (found == sources.end())
        return;
    Music::Source& source = found->second;
    if (duration != 0 && music_on && source.state == from) {
        source.state = fading;
        source.fade_start = start;
        source.fade_duration = duration;
    } else {
        source.state = to;
    }
}

} // namespace

void Music::enable_source(const std::string& id, double start, double duration) {
    switch_source(m_sources, id, m_on, start, duration, Source_state::OFF, Source_state::FADING_IN,
                  Source_state::ON);
}

void Music::disable_source(const std::string& id, double start, double duration) {
    switch_source(m_sources, id, m_on, start, duration, Source_state::ON, Source_state::FADING_OUT,
                  Source_state::OFF);
}

Sound::Sound(const std::string& entity, const std::string& component, const std::string& file)
    : Base(entity, component), m_core(Third_party::SDL_mixer_ext::load_sound(file)) {}

Sound::~Sound() { Third_party::SDL_mixer_ext::delete_sound(m_core); }

} // namespace Orvane::Component
