#pragma once

// The view as the engine drew it, read back from the renderer, against the pictures the
// sample's generator made: screen points where an entry of the render list shows a flat part
// of its picture, and the colours expected there.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <Packer/Package_writer.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <Orvane/Component/Image.h>
#include <Orvane/System/Graphic.h>
#include <Orvane/Third_party/SDL.h>

#include "Sample_data.h"
#include "Sdl_fixture.h"

namespace Orvane::Test {

/// A pixel of a picture: its colour and its opacity.
struct Rgba {
    Rgb colour;
    int a = 255;
    bool operator==(const Rgba&) const = default;
};

/// The whole view as drawn, row by row.
struct Screen {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(1920 * 1080);
    Screen() {
        SDL_RenderReadPixels(Third_party::SDL::m_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                             pixels.data(), 1920 * 4);
    }
    Rgb at(int x, int y) const {
        const std::uint32_t p = pixels[std::size_t(y) * 1920 + std::size_t(x)];
        return {int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
    }
};

/// A picture the sample's generator wrote, read from its staging folder.
struct Picture {
    Packer::Image image;
    explicit Picture(const std::string& file)
        : image(Packer::read_png(sample_stage() + "/" + file)) {}
    Rgba at(int x, int y) const {
        const unsigned char* p = &image.pixels[(std::size_t(y) * image.width + std::size_t(x)) * 4];
        return {{p[0], p[1], p[2]}, p[3]};
    }
    /// Opaque and of one colour over the 3 x 3 pixels around (x, y): the sampling of a scaled
    /// copy cannot change it.
    bool flat(int x, int y) const {
        if (x < 1 || y < 1 || x + 1 >= int(image.width) || y + 1 >= int(image.height))
            return false;
        const Rgba c = at(x, y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const Rgba o = at(x + dx, y + dy);
                if (o != c || o.a != 255)
                    return false;
            }
        return true;
    }
};

/// A screen point and the colour expected there.
struct Probe {
    int x;
    int y;
    Rgb expected;
};

inline const System::Graphic::Entry* find_entry(const System::Graphic::Render_list& list,
                                   const std::string& entity) {
    for (const auto& e : list)
        if (e.image->entity() == entity)
            return &e;
    return nullptr;
}

/// Up to `count` screen points where the entry of `entity` shows a flat, opaque part of its
/// picture and no later entry of the list covers it, spread over the entry's visible part.
inline std::vector<Probe> probes(const System::Graphic::Render_list& list, const std::string& entity,
                          const Picture& picture, std::size_t count) {
    std::vector<Probe> out;
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const auto& e) { return e.image->entity() == entity; });
    if (it == list.end())
        return out;
    const auto& e = *it;
    const auto& image = *e.image;
    const int left = std::max(0, int(e.x0) + 2);
    const int top = std::max(0, int(e.y0) + 2);
    const int right = std::min(1919, int(e.x1) - 2);
    const int bottom = std::min(1079, int(e.y1) - 2);
    const int step = std::max(7, std::min(right - left, bottom - top) / 9);
    for (int y = top; y <= bottom && out.size() < count; y += step) {
        for (int x = left; x <= right && out.size() < count; x += step) {
            // a later entry drawn there covers it, unless it is fully transparent
            const bool covered = std::any_of(it + 1, list.end(), [&](const auto& o) {
                return o.image->alpha() != 0 && x >= o.x0 - 2 && x <= o.x1 + 2 &&
                       y >= o.y0 - 2 && y <= o.y1 + 2;
            });
            if (covered)
                continue;
            // the picture pixel under the centre of screen pixel (x, y)
            const int u = image.xmin() + int((x + 0.5 - e.x0) / (e.x1 - e.x0) * image.width());
            const int v = image.ymin() + int((y + 0.5 - e.y0) / (e.y1 - e.y0) * image.height());
            if (!picture.flat(u, v))
                continue;
            out.push_back({x, y, picture.at(u, v).colour});
        }
    }
    return out;
}

/// The colour at each probe is the expected one, darkened by a black layer of opacity `black`.
inline void expect_probes(const Screen& screen, const std::vector<Probe>& points, int black = 0) {
    for (const Probe& p : points) {
        const Rgb got = screen.at(p.x, p.y);
        const auto dim = [&](int c) { return c * (255 - black) / 255; };
        SCOPED_TRACE("at (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")");
        EXPECT_NEAR(got.r, dim(p.expected.r), 2);
        EXPECT_NEAR(got.g, dim(p.expected.g), 2);
        EXPECT_NEAR(got.b, dim(p.expected.b), 2);
    }
}

} // namespace Orvane::Test
