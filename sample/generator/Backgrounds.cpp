// The room backgrounds and their ground maps. A ground map is painted opaque: gray pixels are
// walkable, their level giving the depth (255 at the back edge, 0 at the front), and pure red
// marks what is not.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Families.h"

namespace Sample {

namespace {

using namespace Palette;

const std::string folder = "images/backgrounds/";
constexpr Colour blocked{255, 0, 0};
constexpr Colour dusk_sea_light{88, 112, 130};

Colour gray(double level) {
    const auto v = std::uint8_t(std::clamp(std::lround(level), 0L, 255L));
    return {v, v, v};
}

/// Gray rows y0 to y1 - 1 between x0 and x1, from level `back` on the first row to `front` on
/// the last.
void gray_floor(Canvas& map, int x0, int x1, int y0, int y1, double back, double front) {
    for (int y = y0; y < y1; ++y) {
        const double t = y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0.0;
        map.rect(x0, y, x1 - x0, 1, gray(back + (front - back) * t));
    }
}

// ---- Quay ----

// The quay's layout, shared by the picture and its ground map.
constexpr int quay_edge_x = 960; // the sea lies left of it
constexpr int quay_back_y = 620; // the walkable quay starts here
constexpr int horizon_y = 520;
struct Box {
    double x, y, w, h;
};
constexpr Box bollards[] = {{1125, 620, 50, 70}, {1675, 600, 50, 70}};
constexpr Box crate_stack{2240, 560, 190, 150};
constexpr Box bench{1850, 700, 320, 90};
constexpr double lighthouse_left = 2540;

void draw_lighthouse(Canvas& c) {
    // the tower narrows upwards; red bands; the dark lamp room at the top
    const double base = 650, top = 110;
    const auto x_at = [&](double y, bool left) {
        const double t = (base - y) / (base - top);
        return left ? 2560 + 60 * t : 2860 - 60 * t;
    };
    c.outlined_polygon({{x_at(base, true), base},
                        {x_at(top, true), top},
                        {x_at(top, false), top},
                        {x_at(base, false), base}},
                       cream);
    for (double y : {520.0, 330.0}) {
        const double y2 = y - 60;
        c.polygon({{x_at(y, true) + 2, y},
                   {x_at(y2, true) + 2, y2},
                   {x_at(y2, false) - 2, y2},
                   {x_at(y, false) - 2, y}},
                  red);
    }
    c.outlined_rect(2600, 40, 200, 74, deep_slate); // the lamp room, dark for three nights
    for (int k = 0; k < 4; ++k)
        c.rect(2612 + k * 48, 50, 36, 54, night);
    c.outlined_polygon({{2580, 44}, {2820, 44}, {2700, 0}}, red);
    c.outlined_rect(2560, 630, 300, 24, stone);                // the base
    c.outlined_rounded_rect(2655, 410, 130, 240, 30, outline); // the doorway behind the door
    c.rect(2666, 422, 108, 230, night);
}

void draw_quay(const Output& out) {
    Canvas c(2880, 1080);
    c.vertical_gradient(0, horizon_y, indigo, orange);
    c.vertical_gradient(horizon_y, 1080, dusk_sea_light, deep_slate);
    // a far headland and its hills on the horizon
    c.polygon({{0, horizon_y}, {0, 470}, {180, 440}, {420, 470}, {700, 455}, {900, horizon_y}},
              {60, 52, 84, 255});
    // glints on the sea
    Random random(0x5EA);
    for (int k = 0; k < 90; ++k) {
        const double x = random.uniform() * quay_edge_x, y = 540 + random.uniform() * 520;
        c.rect(x, y, 20 + 40 * random.uniform(), 3, {150, 170, 190, 255});
    }
    // the quay: its top, then its front wall down into the water at the edge
    c.rect(quay_edge_x, 600, 2880 - quay_edge_x, 480, light_stone);
    c.rect(quay_edge_x, 596, 2880 - quay_edge_x, 4, outline);
    c.rect(quay_edge_x - 3, 596, 6, 484, outline);
    for (int row = 0; row < 8; ++row) {
        const double y = 640 + row * 60;
        c.rect(quay_edge_x, y, 2880 - quay_edge_x, 2, stone);
        const double shift = row % 2 == 0 ? 0 : 90;
        for (double x = quay_edge_x + shift; x < 2880; x += 180)
            c.rect(x, y - 58, 2, 58, stone);
    }
    draw_lighthouse(c);
    for (const Box& b : bollards) {
        c.outlined_rounded_rect(b.x, b.y, b.w, b.h, 10, deep_slate);
        c.outlined_rect(b.x - 8, b.y - 6, b.w + 16, 18, deep_slate);
    }
    for (int k = 0; k < 3; ++k) {
        const double x = crate_stack.x + (k == 2 ? 45 : k * 95), y = k == 2 ? 560 : 635;
        c.outlined_rect(x, y, 95, 75, {150, 110, 70, 255});
        c.line({x + 8, y + 8}, {x + 87, y + 67}, 4, {110, 80, 50, 255});
    }
    // Ferran's bench: the seat and its legs
    c.outlined_rect(bench.x, bench.y, bench.w, 26, {140, 100, 64, 255});
    c.outlined_rect(bench.x + 20, bench.y + 24, 18, bench.h - 24, {110, 80, 50, 255});
    c.outlined_rect(bench.x + bench.w - 38, bench.y + 24, 18, bench.h - 24, {110, 80, 50, 255});
    c.outlined_rect(bench.x + 8, bench.y - 80, bench.w - 16, 20, {140, 100, 64, 255});
    out.picture(folder + "quay.png", c);

    Canvas map(2880, 1080);
    map.fill(blocked);
    gray_floor(map, quay_edge_x + 4, 2880, quay_back_y, 1080, 255, 0);
    for (const Box& b : bollards)
        map.rect(b.x - 10, quay_back_y, b.w + 20, b.y + b.h + 10 - quay_back_y, blocked);
    map.rect(crate_stack.x - 10, quay_back_y, crate_stack.w + 20, 100, blocked);
    map.rect(bench.x - 10, bench.y - 10, bench.w + 20, bench.h + 15, blocked);
    map.rect(1260, quay_back_y, 60, 32, blocked); // the sign's post
    map.rect(lighthouse_left, quay_back_y, 2880 - lighthouse_left, 32, blocked);
    map.rect(2655, quay_back_y, 130, 32, gray(240)); // the doorway
    out.picture(folder + "quay_map.png", map);
}

// ---- Tower ----

constexpr int floor_y = 700;
constexpr int steps = 10;
constexpr double step_height = 44, step_shift = 35, step_width = 200;
constexpr double first_step_x = 1280;

Box step_box(int k) {
    return {first_step_x + step_shift * k, floor_y - step_height * (k + 1), step_width,
            step_height};
}

void draw_tower(const Output& out) {
    Canvas c(1920, 1080);
    c.vertical_gradient(0, floor_y, {96, 96, 104, 255}, stone);
    for (int row = 0; row * 50 < floor_y; ++row) {
        const double y = row * 50;
        c.rect(0, y, 1920, 3, {80, 80, 88, 255});
        for (double x = row % 2 == 0 ? 0 : 60; x < 1920; x += 120)
            c.rect(x, y, 3, 50, {80, 80, 88, 255});
    }
    c.vertical_gradient(floor_y, 1080, {92, 86, 80, 255}, {58, 54, 50, 255});
    c.rect(0, floor_y - 3, 1920, 6, outline);
    // the doorway out to the quay, with the dusk outside
    c.outlined_rounded_rect(60, 440, 180, 360, 80, outline);
    c.rect(72, 452, 156, 340, orange);
    c.rect(72, 452, 156, 160, {160, 96, 90, 255});
    c.rect(72, 690, 156, 102, slate);
    // a window slit
    c.outlined_rounded_rect(700, 180, 60, 180, 28, indigo);
    // the stair, bottom step first, winding up along the right wall
    c.outlined_rect(1820, 250, 60, floor_y - 250, {100, 100, 108, 255}); // the newel
    for (int k = 0; k < steps; ++k) {
        const Box b = step_box(k);
        c.outlined_rect(b.x, b.y, b.w, b.h + 12, light_stone);
        c.rect(b.x + 3, b.y + b.h - 2, b.w - 6, 14, stone);
    }
    // the lamp room above the hatch: glass panes on the dusk, its floor at y = 250
    c.outlined_rect(1380, 0, 540, 256, deep_slate);
    for (int k = 0; k < 4; ++k) {
        c.rect(1400 + k * 130, 14, 110, 150, indigo);
        c.rect(1400 + k * 130, 120, 110, 44, orange);
    }
    c.rect(1380, 236, 540, 20, outline);
    out.picture(folder + "tower.png", c);

    // The floor's gray goes from 150 at its back edge to 0 at the front; each step of the stair
    // is one level, rising by 10 with every step.
    Canvas floor_map(1920, 1080);
    floor_map.fill(blocked);
    gray_floor(floor_map, 0, 1920, floor_y, 1080, 150, 0);
    floor_map.rect(0, floor_y, 40, 1080 - floor_y, blocked); // the left wall
    out.picture(folder + "tower_floor_map.png", floor_map);

    Canvas map = floor_map;
    for (int k = 0; k < steps; ++k) {
        const Box b = step_box(k);
        map.rect(b.x, b.y, b.w, b.h, gray(160 + 10 * k));
    }
    out.picture(folder + "tower_map.png", map);
}

} // namespace

void draw_backgrounds(const Output& out) {
    draw_quay(out);
    draw_tower(out);
}

} // namespace Sample
