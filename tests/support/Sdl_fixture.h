#pragma once

#include <array>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Third_party/SDL.h>

#include "Packages.h"

namespace Orvane::Test {

/// An opaque colour read back from the window.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

/// The colour that pixel (x, y) of Test::test_image shows over black.
inline Rgb test_image_pixel(unsigned int x, unsigned int y) {
    if ((x + y) % 7 == 0)
        return {0, 0, 0};
    return {int(x % 256), int(y % 256), int((x ^ y) % 256)};
}

/// A `width` x `height` image of one colour.
inline Packer::Image plain_image(unsigned int width, unsigned int height, unsigned char r,
                                 unsigned char g, unsigned char b, unsigned char a = 255) {
    Packer::Image image{width, height, {}};
    for (unsigned int i = 0; i < width * height; ++i)
        image.pixels.insert(image.pixels.end(), {r, g, b, a});
    return image;
}

inline const std::string font_path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

inline std::string file_bytes(const std::string& path) {
    std::string bytes;
    if (SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb")) {
        bytes.resize(std::size_t(SDL_RWsize(rw)));
        SDL_RWread(rw, bytes.data(), 1, bytes.size());
        SDL_RWclose(rw);
    }
    return bytes;
}

/// The packages shared by the window tests: pictures of every storage kind and a font.
inline const Packer::Package_set& window_packages() {
    static const Packer::Package_set packages = [] {
        std::string font = file_bytes(font_path);
        return Packer::build({
            image_entry("images/rooms/wide.png", test_image(1000, 600)),
            image_entry("images/objects/box.png", test_image(40, 30)),
            image_entry("images/objects/solid.png", plain_image(20, 10, 100, 50, 0)),
            image_entry("images/rooms/hall_map.png", test_image(600, 300)),
            image_entry("images/interface/icon.png", test_image(32, 32)),
            image_entry("images/animations/sheet.png", test_image(1000, 500)),
            image_entry("images/objects/large.png", test_image(700, 600)),
            compressed_entry("fonts/DejaVuSans.ttf", font),
            raw_entry("fonts/raw.ttf", font),
            raw_entry("data/gamecontrollerdb.txt",
                      "03000000de2800000112000000000000,Orvane Test Pad,a:b0,b:b1,"
                      "platform:Linux,\n"),
        });
    }();
    return packages;
}

/// A 1920 x 1080 dummy window whose logical view maps one to one onto its pixels, with the
/// window packages loaded.
class Sdl_test : public ::testing::Test {
  protected:
    void SetUp() override {
        load_packages(window_packages());
        int width = 1920;
        int height = 1080;
        sdl.init(width, height, false);
        sdl.update_view();
    }

    /// The pixels of a rectangle of the window, row by row.
    static std::vector<Rgb> read(int x, int y, int w, int h) {
        std::vector<Uint32> raw(std::size_t(w) * std::size_t(h));
        SDL_Rect rect{x, y, w, h};
        SDL_RenderReadPixels(Third_party::SDL::m_renderer, &rect, SDL_PIXELFORMAT_ARGB8888,
                             raw.data(), w * 4);
        std::vector<Rgb> out;
        for (Uint32 p : raw)
            out.push_back({int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)});
        return out;
    }

    static Rgb pixel(int x, int y) { return read(x, y, 1, 1)[0]; }

    Third_party::SDL sdl;
};

} // namespace Orvane::Test
