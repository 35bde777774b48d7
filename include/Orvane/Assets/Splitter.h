#pragma once

#include <vector>

struct SDL_Surface;

namespace Orvane {

/// The one rule that cuts an image into tiles of about 512 x 512 pixels at most. Packages store
/// tiles by it, the image loader rebuilds textures by it, and images made at run time are cut by
/// it. Tiles are always listed column outer, row inner: tile (x, y) is number x * ny + y.
class Splitter {
  public:
    /// A tile's origin and size, in pixels of the whole image.
    struct Rect {
        unsigned int x = 0;
        unsigned int y = 0;
        unsigned int w = 0;
        unsigned int h = 0;

        bool operator==(const Rect&) const = default;
    };

    /// Number of tiles along an axis of `size` pixels: size / 512 + 1.
    static unsigned int nb_sub(const unsigned int& size);

    /// Tile (x, y) of a `width` x `height` image. Every tile but the last of its row or column
    /// is width / nb_sub(width) + 1 pixels wide (the same for heights); the last one takes the
    /// remainder.
    static Rect rect(const unsigned int& width, const unsigned int& height, const unsigned int& x,
                     const unsigned int& y);

    /// Cuts a surface into new 32-bit surfaces of its pixel format, in tile order, copying colour
    /// and alpha unchanged (the source's blend mode is set to none and stays so). The caller owns
    /// the new surfaces and keeps the source.
    static std::vector<SDL_Surface*> split_image(SDL_Surface* surface);
};

} // namespace Orvane
