#pragma once

#include <string>
#include <vector>

#include <Orvane/Assets/Bitmap_2.h>
#include <Orvane/Third_party/SDL.h>

namespace Orvane::Test {

/// The name of a texture-less picture of width x height in the image cache, so that Image's
/// file constructor finds it there without a renderer or a package.
inline std::string texture_less_picture(int width, int height) {
    const std::string name = "test/" + std::to_string(width) + "x" + std::to_string(height);
    Third_party::SDL::m_images.get(
        name, [&] { return Third_party::SDL::make_image(nullptr, nullptr, width, height); });
    return name;
}

/// The name of a texture-less picture with a hit mask drawn as text, one row a string: '#' is
/// a solid pixel, any other character a clear one. Same rows, same picture.
inline std::string masked_picture(const std::vector<std::string>& rows) {
    std::string name = "test/mask";
    for (const std::string& row : rows)
        name += "/" + row;
    Third_party::SDL::m_images.get(name, [&] {
        const int width = rows.empty() ? 0 : int(rows.front().size());
        const int height = int(rows.size());
        auto* picture = Third_party::SDL::make_image(nullptr, nullptr, width, height);
        picture->mask = Bitmap_2(std::size_t(width), std::size_t(height), false);
        for (std::size_t y = 0; y < rows.size(); ++y)
            for (std::size_t x = 0; x < rows[y].size(); ++x)
                picture->mask.set(x, y, rows[y][x] == '#');
        return picture;
    });
    return name;
}

} // namespace Orvane::Test
