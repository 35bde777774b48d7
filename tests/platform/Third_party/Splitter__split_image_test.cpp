#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Assets/Splitter.h>

namespace {

using Orvane::Splitter;

TEST(Splitter, SplitImageCutsColumnOuterRowInnerAndKeepsAlpha) {
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormat(0, 600, 520, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(source, nullptr);
    auto* pixels = static_cast<Uint32*>(source->pixels);
    for (int y = 0; y < source->h; ++y)
        for (int x = 0; x < source->w; ++x)
            pixels[y * source->pitch / 4 + x] = static_cast<Uint32>(x << 16 | y) | 0x01000000;

    const std::vector<SDL_Surface*> tiles = Splitter::split_image(source);
    ASSERT_EQ(tiles.size(), 4u);
    SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
    SDL_GetSurfaceBlendMode(source, &mode);
    EXPECT_EQ(mode, SDL_BLENDMODE_NONE) << "the source keeps the copying mode";
    for (unsigned int x = 0; x < 2; ++x)
        for (unsigned int y = 0; y < 2; ++y) {
            SCOPED_TRACE("tile " + std::to_string(x) + "x" + std::to_string(y));
            SDL_Surface* tile = tiles[x * 2 + y];
            const Splitter::Rect rect = Splitter::rect(600, 520, x, y);
            ASSERT_EQ(tile->w, static_cast<int>(rect.w));
            ASSERT_EQ(tile->h, static_cast<int>(rect.h));
            EXPECT_EQ(tile->format->format, source->format->format);
            const auto* tile_pixels = static_cast<const Uint32*>(tile->pixels);
            for (int ty : {0, tile->h - 1})
                for (int tx : {0, tile->w - 1})
                    EXPECT_EQ(tile_pixels[ty * tile->pitch / 4 + tx],
                              pixels[(rect.y + ty) * source->pitch / 4 + rect.x + tx]);
        }
    for (SDL_Surface* tile : tiles)
        SDL_FreeSurface(tile);
    SDL_FreeSurface(source);
}

} // namespace
