// Splitter::split_image (Assets/Splitter.h) lives here: only Third_party/ may include SDL headers.
#include <SDL.h>

#include <Orvane/Assets/Splitter.h>
#include <Orvane/Utils/error.h>

namespace Orvane {

std::vector<SDL_Surface*> Splitter::split_image(SDL_Surface* surface) {
    // copy colour and alpha as they are, without blending onto the new surfaces
    SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
    const auto width = static_cast<unsigned int>(surface->w);
    const auto height = static_cast<unsigned int>(surface->h);
    std::vector<SDL_Surface*> tiles;
    for (unsigned int x = 0; x < nb_sub(width); ++x)
        for (unsigned int y = 0; y < nb_sub(height); ++y) {
            const Rect tile = rect(width, height, x, y);
            SDL_Surface* part = SDL_CreateRGBSurfaceWithFormat(
                0, static_cast<int>(tile.w), static_cast<int>(tile.h), 32, surface->format->format);
            ORVANE_CHECK(part != nullptr,
                  std::string("Cannot create tile surface (") + SDL_GetError() + ")");
            SDL_Rect source{static_cast<int>(tile.x), static_cast<int>(tile.y),
                            static_cast<int>(tile.w), static_cast<int>(tile.h)};
            SDL_Rect target{0, 0, source.w, source.h};
            SDL_UpperBlit(surface, &source, part, &target);
            tiles.push_back(part);
        }
    return tiles;
}

} // namespace Orvane
