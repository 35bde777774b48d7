#include <Orvane/Assets/Packaged_asset.h>
#include <Orvane/Third_party/SDL_file.h>

namespace Orvane {

using Third_party::SDL_file;

// Shared by every copy, so that closing one copy closes the stream for all of them.
struct Packaged_asset::State {
    SDL_file::Asset asset;
    std::unique_ptr<std::vector<char>> owned;
    std::unique_ptr<char[]> owned_bytes;
};

Packaged_asset::Packaged_asset(const std::string& path, bool write)
    : m_state(std::make_shared<State>()) {
    m_state->asset = SDL_file::open(path, write);
}

Packaged_asset::Packaged_asset(std::vector<char>* buffer) : m_state(std::make_shared<State>()) {
    m_state->owned.reset(buffer);
    if (buffer != nullptr)
        m_state->asset = SDL_file::open(buffer->data(), buffer->size());
}

Packaged_asset::Packaged_asset(std::unique_ptr<char[]> bytes, std::size_t size)
    : m_state(std::make_shared<State>()) {
    m_state->owned_bytes = std::move(bytes);
    if (m_state->owned_bytes != nullptr)
        m_state->asset = SDL_file::open(m_state->owned_bytes.get(), size);
}

Packaged_asset::Packaged_asset(const void* data, std::size_t size)
    : m_state(std::make_shared<State>()) {
    m_state->asset = SDL_file::open(data, size);
}

Packaged_asset::operator bool() const { return m_state && m_state->asset; }

void Packaged_asset::close() {
    if (!m_state)
        return;
    const SDL_file::Asset asset = m_state->asset;
    const std::unique_ptr<std::vector<char>> owned = std::move(m_state->owned);
    const std::unique_ptr<char[]> owned_bytes = std::move(m_state->owned_bytes);
    m_state->asset = {};
    SDL_file::close(asset);
}

SDL_RWops* Packaged_asset::base() const { return m_state ? m_state->asset.handle : nullptr; }

const char* Packaged_asset::buffer() const {
    if (!m_state)
        return nullptr;
    if (m_state->owned_bytes)
        return m_state->owned_bytes.get();
    return m_state->owned ? m_state->owned->data() : nullptr;
}

std::size_t Packaged_asset::size() const { return m_state ? m_state->asset.size : 0; }

std::size_t Packaged_asset::read(void* data, std::size_t size) {
    return m_state ? SDL_file::read(m_state->asset, data, size) : 0;
}

std::size_t Packaged_asset::write(const std::string& text) {
    return m_state ? SDL_file::write(m_state->asset, text.c_str()) : 0;
}

std::int64_t Packaged_asset::tell() { return m_state ? SDL_file::tell(m_state->asset) : -1; }

std::int64_t Packaged_asset::seek(std::size_t position) {
    return m_state ? SDL_file::seek(m_state->asset, position) : -1;
}

std::size_t Packaged_asset::read_whole(void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const std::size_t got = read(bytes + done, size - done);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

std::size_t Packaged_asset::binary_read(std::vector<char>& data) {
    return read_whole(data.data(), data.size());
}

} // namespace Orvane
