#include <cstring>

#include <SDL.h>

#include <Orvane/Third_party/SDL_pixel_format.h>

namespace Orvane::Third_party {

std::uint32_t pixel_format_rgba32() { return SDL_PIXELFORMAT_RGBA32; }

unsigned int pixel_format_bytes(std::uint32_t format) {
    if (format == SDL_PIXELFORMAT_UNKNOWN || SDL_ISPIXELFORMAT_FOURCC(format))
        return 0;
    if (std::strcmp(SDL_GetPixelFormatName(format), "SDL_PIXELFORMAT_UNKNOWN") == 0)
        return 0;
    return SDL_BYTESPERPIXEL(format);
}

} // namespace Orvane::Third_party
