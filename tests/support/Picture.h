#pragma once

#include <string>

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

} // namespace Orvane::Test
