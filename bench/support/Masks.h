#pragma once

// Ground-map masks shared by the path-finding and graph-builder benchmarks.

#include <random>
#include <vector>

#include <Orvane/Component/Ground_map.h>

namespace Orvane::Bench {

/// A 1920 x 1080 floor with a depth gradient and `count` red rectangles and discs (fixed seed).
inline Component::Ground_map::Mask obstacle_mask(int count) {
    struct Obstacle {
        bool disc;
        double x, y, a, b; // rectangle: corner and size; disc: centre and radius
    };
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> x(0, 1920), y(0, 1080), size(20, 90);
    std::vector<Obstacle> obstacles;
    for (int i = 0; i < count; ++i)
        obstacles.push_back({i % 2 == 0, x(random), y(random), size(random), size(random)});
    using Color = Component::Ground_map::Mask::Color;
    return Component::Ground_map::Mask(1920, 1080, [&](int px, int py) -> Color {
        for (const Obstacle& o : obstacles) {
            bool inside = o.disc ? (px - o.x) * (px - o.x) + (py - o.y) * (py - o.y) < o.a * o.a / 4
                                 : px >= o.x && px < o.x + o.a && py >= o.y && py < o.y + o.b;
            if (inside)
                return {200, 30, 30};
        }
        auto gray = static_cast<unsigned char>(py * 255 / 1080);
        return {gray, gray, gray};
    });
}

} // namespace Orvane::Bench
