#pragma once

// A sound effect decoded whole with plain libvorbisfile: the bare work behind loading it.

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include <vorbis/vorbisfile.h>

namespace Orvane::Bench {

/// Decodes the OGG Vorbis file of `size` bytes at `data` to 16-bit samples in `pcm` (grown as
/// needed, kept between calls); returns the bytes decoded, 0 when the file cannot be opened.
inline std::size_t decode_ogg(const char* data, std::size_t size, std::vector<char>& pcm) {
    struct Bytes {
        const char* data;
        std::size_t size;
        std::size_t at = 0;
    } bytes{data, size};
    const ov_callbacks callbacks{
        [](void* out, std::size_t item, std::size_t count, void* source) -> std::size_t {
            auto* b = static_cast<Bytes*>(source);
            const std::size_t n = item == 0 ? 0 : std::min(count, (b->size - b->at) / item);
            std::memcpy(out, b->data + b->at, n * item);
            b->at += n * item;
            return n;
        },
        [](void* source, ogg_int64_t offset, int whence) -> int {
            auto* b = static_cast<Bytes*>(source);
            const ogg_int64_t base = whence == SEEK_CUR   ? ogg_int64_t(b->at)
                                     : whence == SEEK_END ? ogg_int64_t(b->size)
                                                          : 0;
            if (base + offset < 0 || base + offset > ogg_int64_t(b->size))
                return -1;
            b->at = std::size_t(base + offset);
            return 0;
        },
        nullptr, [](void* source) -> long { return long(static_cast<Bytes*>(source)->at); }};
    OggVorbis_File file{};
    if (ov_open_callbacks(&bytes, &file, nullptr, 0, callbacks) != 0)
        return 0;
    std::size_t done = 0;
    for (;;) {
        if (pcm.size() < done + 4096)
            pcm.resize(std::max(pcm.size() * 2, done + 4096));
        int link = 0;
        const long got = ov_read(&file, pcm.data() + done, int(pcm.size() - done), 0, 2, 1, &link);
        if (got <= 0)
            break;
        done += std::size_t(got);
    }
    ov_clear(&file);
    return done;
}

} // namespace Orvane::Bench
