#include <algorithm>
#include <cmath>
#include <memory>

#include <SDL.h>
#include <SDL_mixer.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Third_party/Music_mixer.h>
#include <Orvane/Third_party/SDL_mixer_ext.h>
#include <Orvane/Third_party/Vorbis_decoder.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Third_party {

namespace {

/// The decoder's view of a package entry.
class Asset_bytes final : public Byte_stream {
  public:
    explicit Asset_bytes(Packaged_asset asset) : m_asset(asset) {}
    std::size_t read(void* data, std::size_t size) override { return m_asset.read(data, size); }
    bool seek(std::size_t position) override { return m_asset.seek(position) >= 0; }
    std::size_t tell() override { return std::size_t(std::max<std::int64_t>(0, m_asset.tell())); }
    std::size_t size() override { return m_asset.size(); }

  private:
    Packaged_asset m_asset;
};

/// A 0..1 level on the library's integer scale; out-of-range and NaN levels are clamped.
int scaled(double level, int full) {
    if (!(level > 0))
        return 0;
    return int(std::min(level, 1.0) * full);
}

void channel_finished(int channel) {
    if (channel >= 0 && channel < SDL_mixer_ext::channel_count)
        SDL_mixer_ext::m_available_channels[std::size_t(channel)].store(true);
}

} // namespace

std::array<std::atomic<bool>, SDL_mixer_ext::channel_count> SDL_mixer_ext::m_available_channels;

std::atomic<bool> SDL_mixer_ext::m_silent{false};

SDL_mixer_ext::SDL_mixer_ext() {
    m_silent.store(false);
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) == -1) {
        // Remote desktops, virtual machines and headless machines have no sound device, and
        // nothing of a game needs one: it runs silent on SDL's dummy driver, which takes the
        // samples at the device's pace, so music positions, fades and sound ends go on as
        // with a device.
        const std::string reason = SDL_GetError();
        warning("Cannot initialized SDL Mixer (" + reason + "); the game runs without sound");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        const bool opened = Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != -1;
        const std::string dummy_reason = opened ? std::string() : SDL_GetError();
        // the player's choice of driver applies again to the next device opened
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        ORVANE_CHECK(opened, "Cannot initialized SDL Mixer (" + reason + "; dummy driver: " +
                                 dummy_reason + ")");
        m_silent.store(true);
    }
    Mix_AllocateChannels(channel_count);
    for (auto& available : m_available_channels)
        available.store(true);
    Mix_ChannelFinished(&channel_finished);

    int rate = 0;
    int channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    ORVANE_CHECK(format == AUDIO_S16SYS && rate > 0 && channels > 0,
                 "Cannot initialized SDL Mixer (unexpected device format)");
    Music_mixer::install(rate, channels);
}

SDL_mixer_ext::~SDL_mixer_ext() {
    Music_mixer::uninstall();
    Mix_CloseAudio();
    // the dummy driver stays with this device: the next one tries the configured driver again
    if (m_silent.exchange(false))
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SDL_mixer_ext::silent() { return m_silent.load(); }

SDL_mixer_ext::Music_handle SDL_mixer_ext::load_music(const std::string& file) {
    Packaged_asset asset = Packaged_asset_manager::open(file, false);
    ORVANE_CHECK(asset, "Cannot load music " + file);
    auto decoder = Vorbis_decoder::open(std::make_unique<Asset_bytes>(asset), Music_mixer::rate(),
                                        Music_mixer::channels());
    ORVANE_CHECK(decoder != nullptr, "Cannot load music " + file);
    // Whoever drops the last copy, the mixer stops reading the stream before it is freed, and
    // the entry is closed (delete_music has closed it already, unless no copy was deleted).
    std::shared_ptr<Music_stream> stream(new Music_stream(std::move(decoder), Music_mixer::rate()),
                                         [asset](Music_stream* freed) mutable {
                                             Music_mixer::detach(freed);
                                             delete freed;
                                             asset.close();
                                         });
    Music_mixer::attach(stream.get());
    return {std::move(stream), asset};
}

void SDL_mixer_ext::delete_music(Music_handle& handle) {
    if (handle.first != nullptr) {
        // Once detached the audio thread no longer reads the stream nor its entry; a copy of
        // the handle may still hold the stream, halted, over the closed entry.
        Music_mixer::detach(handle.first.get());
        {
            auto lock = Music_mixer::lock();
            handle.first->halt();
        }
        handle.first.reset();
    }
    handle.second.close();
}

SDL_mixer_ext::Sound_handle SDL_mixer_ext::load_sound(const std::string& file) {
    Packaged_asset asset = Packaged_asset_manager::open(file, false);
    Mix_Chunk* chunk = asset ? Mix_LoadWAV_RW(asset.base(), 0) : nullptr;
    asset.close();
    ORVANE_CHECK(chunk != nullptr, "Cannot load sound " + file);
    return chunk;
}

void SDL_mixer_ext::delete_sound(Mix_Chunk*& sound) {
    if (sound != nullptr)
        Mix_FreeChunk(sound);
    sound = nullptr;
}

void SDL_mixer_ext::set_music_channels(std::size_t) {}

void SDL_mixer_ext::start_music(const Music_handle& handle, int, double volume) {
    if (handle.first == nullptr)
        return;
    auto lock = Music_mixer::lock();
    handle.first->set_volume(scaled(volume, 64));
    handle.first->play(true);
}

void SDL_mixer_ext::stop_music(const Music_handle& handle, int) {
    if (handle.first == nullptr)
        return;
    auto lock = Music_mixer::lock();
    handle.first->halt();
}

void SDL_mixer_ext::fade(const Music_handle& handle, int, double duration, bool fade_in,
                         double position) {
    if (handle.first == nullptr)
        return;
    const int ms = duration > 0 ? int(std::min(duration, 86400.0) * 1000) : 0;
    auto lock = Music_mixer::lock();
    if (fade_in)
        handle.first->fade_in(true, ms, position);
    else
        handle.first->fade_out(ms);
}

void SDL_mixer_ext::set_volume(const Music_handle& handle, int, double volume) {
    if (handle.first == nullptr)
        return;
    auto lock = Music_mixer::lock();
    handle.first->set_volume(scaled(volume, 64));
}

void SDL_mixer_ext::pause_music(const Music_handle& handle, int) {
    if (handle.first == nullptr)
        return;
    auto lock = Music_mixer::lock();
    handle.first->pause();
}

void SDL_mixer_ext::resume_music(const Music_handle& handle, int) {
    if (handle.first == nullptr)
        return;
    auto lock = Music_mixer::lock();
    handle.first->resume();
}

double SDL_mixer_ext::position(const Music_handle& handle) {
    if (handle.first == nullptr)
        return 0;
    auto lock = Music_mixer::lock();
    return handle.first->position();
}

int SDL_mixer_ext::reserve_channel() {
    for (int channel = 0; channel < channel_count; ++channel) {
        bool available = true;
        if (m_available_channels[std::size_t(channel)].compare_exchange_strong(available, false))
            return channel;
    }
    return -1;
}

void SDL_mixer_ext::play_sound(Mix_Chunk* const& sound, double volume, double panning) {
    const int channel = reserve_channel();
    if (channel < 0)
        return;
    Mix_Volume(channel, scaled(volume, MIX_MAX_VOLUME));
    // Off-screen sources give panning outside 0..1: clamped, never wrapped around as a byte.
    const double left = std::isnan(panning) ? 0.5 : std::clamp(panning, 0.0, 1.0);
    Mix_SetPanning(channel, Uint8(left * 255), Uint8((1 - left) * 255));
    // A sound that does not start would otherwise keep its channel busy for ever.
    if (Mix_PlayChannelTimed(channel, sound, 0, -1) == -1)
        m_available_channels[std::size_t(channel)].store(true);
}

} // namespace Orvane::Third_party
