#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include <Orvane/Component/Code.h>
#include <Orvane/Component/Music.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Component/Status.h>
#include <Orvane/Keys.h>
#include <Orvane/System/Sound.h>

namespace Orvane::System {

namespace {

using Mixer = Third_party::SDL_mixer_ext;

/// A setting of the 0..10 scale as a level 0..1. Divided as floating point: an integer
/// division would mute every setting below 10.
double tenths(int setting) { return setting / 10.0; }

/// Every mixer call for a track passes the track's index as its channel.
int channel(std::size_t track) { return int(track); }

} // namespace

Sound::Sound(Content& content) : Base(content) {}

void Sound::keep_position(const Component::Music& music) {
    if (music.tracks() == 0)
        return;
    m_content.get_or_set<Component::Simple<double>>(music.entity(), "resume_at")
        ->set(Mixer::position(music.core(0)));
}

void Sound::play_effect(const std::string& entity, double panning) {
    const auto sound = m_content.get<Component::Sound>(entity, "sound");
    const double volume = tenths(value<Component::Simple<int>>(Key::sounds_volume));
    Mixer::play_sound(sound->core(), volume, panning);
}

void Sound::run() {
    const auto music = m_content.request<Component::Music>(Key::game_music);
    const auto game_status = status();
    const bool in_cutscene = game_status && game_status->is(Orvane::Status::CUTSCENE);
    const bool in_pause = game_status && game_status->is(Orvane::Status::PAUSE);

    // Outside cutscenes the music plays at three quarters of the setting.
    double volume = tenths(value<Component::Simple<int>>(Key::music_volume));
    if (!in_cutscene)
        volume *= 0.75;

    const double now =
        m_content.value<Component::Simple<double>>(Fast_access_component::CLOCK_TIME);

    // Without a music, its requests wait in the store until one is played.
    bool remixed = false;
    if (music) {
        if (receive(Key::music_adjust_mix)) {
            remixed = true;
            const std::string player = value<Component::Simple<std::string>>(Key::player_name);
            const Point listener =
                m_content.get<Component::Position>(Key::body(player), "position")->value();
            // A running source fade is recomputed every frame until it ends.
            if (music->adjust_mix(listener, now))
                emit(Key::music_adjust_mix);
        }
        if (receive(Key::music_stop)) {
            keep_position(*music);
            for (std::size_t i = 0; i < music->tracks(); ++i)
                Mixer::fade(music->core(i), channel(i), 0.2, false, 0);
            music->on() = false;
        }
        // Only tested: the data system consumes it when it writes the save with this position.
        if (signal(Key::game_save))
            keep_position(*music);
        if (receive(Key::music_start)) {
            Mixer::set_music_channels(music->tracks());
            for (std::size_t i = 0; i < music->tracks(); ++i)
                Mixer::start_music(music->core(i), channel(i), music->mix(i) * volume);
            music->on() = true;
        }
    }

    if (const auto fade =
            m_content.request<Component::Tuple<double, double, bool>>(Key::music_fade)) {
        ORVANE_CHECK(music, "No music to fade");
        // Only the end counts: the duration runs from now.
        const double end = std::get<1>(fade->value());
        const bool fade_in = std::get<2>(fade->value());
        double from = 0;
        if (fade_in)
            from = m_content.value<Component::Simple<double>>(music->entity(), "resume_at", 0.0);
        else
            keep_position(*music);
        Mixer::set_music_channels(music->tracks());
        for (std::size_t i = 0; i < music->tracks(); ++i) {
            Mixer::set_volume(music->core(i), channel(i), music->mix(i) * volume);
            Mixer::fade(music->core(i), channel(i), end - now, fade_in, from);
        }
        music->on() = true;
        remove(Key::music_fade);
    }

    // Applies a new setting or a recomputed mix.
    const bool volume_changed = receive(Key::music_volume_changed);
    if (music && (volume_changed || remixed))
        for (std::size_t i = 0; i < music->tracks(); ++i)
            Mixer::set_volume(music->core(i), channel(i), music->mix(i) * volume);

    if (music) {
        if (in_pause && music->on()) {
            for (std::size_t i = 0; i < music->tracks(); ++i)
                Mixer::pause_music(music->core(i), channel(i));
            music->on() = false;
        } else if (!in_pause && !music->on()) {
            for (std::size_t i = 0; i < music->tracks(); ++i)
                Mixer::resume_music(music->core(i), channel(i));
            music->on() = true;
        }
    }

    // At most one code-lock sound per frame: the others wait for the next frames.
    const char* code_sound = nullptr;
    if (receive(Key::code_play_failure))
        code_sound = "_failure";
    else if (receive(Key::code_play_success))
        code_sound = "_success";
    else if (receive(Key::code_play_click))
        code_sound = "_button";
    if (code_sound != nullptr)
        play_effect(m_content.get<Component::Code>(Key::game_code)->entity() + code_sound, 0.5);

    // The panning components stay: their writers overwrite them with the next request.
    std::vector<Content::Component_ptr> played;
    m_content.walk("play_sound", [&](const Content::Component_ptr& request) {
        const std::string& entity = request->entity();
        play_effect(entity, m_content.value<Component::Simple<double>>(entity, "panning", 0.5));
        played.push_back(request);
    });
    for (const auto& request : played)
        remove(request, true);
}

} // namespace Orvane::System
