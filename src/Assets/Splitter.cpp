#include <Orvane/Assets/Splitter.h>

namespace Orvane {

unsigned int Splitter::nb_sub(const unsigned int& size) { return (size >> 9) + 1; }

Splitter::Rect Splitter::rect(const unsigned int& width, const unsigned int& height,
                              const unsigned int& x, const unsigned int& y) {
    const unsigned int tile_width = width / nb_sub(width) + 1;
    const unsigned int tile_height = height / nb_sub(height) + 1;
    Rect result{x * tile_width, y * tile_height, tile_width, tile_height};
    // the last column and row take the remainder
    if (x == width / 512)
        result.w = width - x * tile_width;
    if (y == height / 512)
        result.h = height - y * tile_height;
    return result;
}

} // namespace Orvane
