// The pictures of the rooms' items: objects and their inventory pictures, the purse's mask, the
// animations, the scenery, the windows and the code lock's pictures. The French variants of the
// pictures with words come beside them.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "Families.h"

namespace Sample {

namespace {

using namespace Palette;

constexpr Colour wood{150, 110, 70, 255};
constexpr Colour dark_wood{110, 80, 50, 255};
constexpr Colour rope_colour{214, 180, 120, 255};
constexpr Colour iron{96, 100, 110, 255};
constexpr Colour brass{212, 170, 60, 255};
constexpr Colour paper{240, 232, 210, 255};
constexpr Colour water{74, 98, 116, 255};

/// An elliptic ring of rope: a closed chain of short strokes.
void ring(Canvas& c, Dot centre, double rx, double ry, double width, Colour colour) {
    std::vector<Dot> points;
    for (int k = 0; k <= 36; ++k) {
        const double angle = k * std::numbers::pi / 18;
        points.push_back({centre.x + rx * std::cos(angle), centre.y + ry * std::sin(angle)});
    }
    for (std::size_t k = 0; k + 1 < points.size(); ++k)
        c.line(points[k], points[k + 1], width + 6, outline);
    for (std::size_t k = 0; k + 1 < points.size(); ++k)
        c.line(points[k], points[k + 1], width, colour);
}

std::vector<Dot> star(Dot centre, double outer, double inner) {
    std::vector<Dot> points;
    for (int k = 0; k < 10; ++k) {
        const double angle = -std::numbers::pi / 2 + k * std::numbers::pi / 5;
        const double r = k % 2 == 0 ? outer : inner;
        points.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)});
    }
    return points;
}

/// One of the lock's four shapes, centred on `centre` within a square of side `size`.
void shape(Canvas& c, const std::string& name, Dot centre, double size, Colour colour) {
    const double r = size / 2;
    if (name == "circle")
        c.outlined_disc(centre, r, colour);
    else if (name == "square")
        c.outlined_rect(centre.x - r * 0.85, centre.y - r * 0.85, r * 1.7, r * 1.7, colour);
    else if (name == "triangle")
        c.outlined_polygon({{centre.x, centre.y - r},
                            {centre.x + r, centre.y + r * 0.8},
                            {centre.x - r, centre.y + r * 0.8}},
                           colour);
    else
        c.outlined_polygon(star(centre, r, r * 0.42), colour);
}

const char* const shapes[] = {"circle", "square", "triangle", "star"};

void crate_picture(Canvas& c, double x, double y, bool open) {
    if (open) // the lid leans back behind the box
        c.outlined_polygon({{x, y + 6}, {x + 190, y + 6}, {x + 210, y - 40}, {x + 20, y - 40}},
                           dark_wood);
    c.outlined_rect(x, y, 190, 120, wood);
    for (int k = 1; k < 3; ++k)
        c.rect(x + 3, y + k * 40, 184, 3, outline);
    c.line({x + 10, y + 10}, {x + 180, y + 110}, 5, dark_wood);
    c.text("GP", {x + 95, y + 60}, 4, cream, true); // the lighthouse's mark
    if (open)
        c.outlined_rect(x + 8, y, 174, 26, night); // the empty inside
}

void draw_objects(const Output& out) {
    const std::string folder = "images/objects/";

    Canvas rope(120, 110); // coils over the bollard's head, hanging down its front
    for (int k = 0; k < 3; ++k)
        ring(rope, {60, 40.0 + k * 14}, 44, 16, 8, rope_colour);
    rope.line({100, 60}, {92, 104}, 8 + 6, outline);
    rope.line({100, 60}, {92, 104}, 8, rope_colour);
    out.picture(folder + "rope.png", rope);

    Canvas purse(80, 60);
    purse.outlined_rounded_rect(6, 16, 68, 42, 16, {120, 60, 50, 255});
    purse.outlined_polygon({{20, 18}, {60, 18}, {52, 4}, {28, 4}}, {140, 74, 60, 255});
    purse.outlined_disc({40, 30}, 6, brass);
    out.picture(folder + "purse.png", purse);

    Canvas crate(190, 140);
    crate_picture(crate, 0, 20, false);
    out.picture(folder + "crate.png", crate);
    Canvas crate_open(220, 170);
    crate_picture(crate_open, 0, 50, true);
    out.picture(folder + "crate_open.png", crate_open);

    Canvas door_closed(120, 230);
    door_closed.outlined_rounded_rect(0, 0, 120, 230, 28, wood);
    for (int k = 1; k < 4; ++k)
        door_closed.rect(k * 30, 10, 3, 218, dark_wood);
    door_closed.outlined_rect(10, 60, 100, 14, iron);
    door_closed.outlined_rect(10, 160, 100, 14, iron);
    door_closed.outlined_disc({96, 120}, 9, brass);
    out.picture(folder + "door_closed.png", door_closed);
    Canvas door_open(120, 230); // swung inwards: only its edge shows at the hinge side
    door_open.outlined_polygon({{0, 6}, {26, 24}, {26, 216}, {0, 230}}, dark_wood);
    out.picture(folder + "door_open.png", door_open);

    Canvas note(120, 160);
    note.outlined_polygon({{6, 10}, {114, 4}, {110, 156}, {10, 150}}, paper);
    for (int k = 0; k < 4; ++k)
        shape(note, shapes[k], {34.0 + (k % 2) * 52, 50.0 + (k / 2) * 60}, 30,
              k % 2 == 0 ? red : slate);
    note.outlined_disc({60, 12}, 6, red); // the pin
    out.picture(folder + "note.png", note);

    for (const bool open : {false, true}) {
        Canvas box(140, 180);
        box.outlined_rect(0, 0, 140, 180, iron);
        if (open) {
            box.outlined_rect(12, 12, 116, 156, night);
            box.outlined_rect(40, 70, 60, 16, brass); // the drawn bolt
        } else {
            for (int k = 0; k < 4; ++k)
                shape(box, shapes[k], {40.0 + (k % 2) * 60, 56.0 + (k / 2) * 64}, 36, cream);
        }
        out.picture(folder + (open ? "code_box_open.png" : "code_box.png"), box);
    }

    for (const bool open : {false, true}) {
        Canvas hatch(240, 60);
        if (open) {
            hatch.outlined_rect(0, 10, 240, 50, night);
            hatch.outlined_polygon({{0, 10}, {240, 10}, {220, 0}, {20, 0}}, dark_wood);
        } else {
            hatch.outlined_rect(0, 10, 240, 50, wood);
            for (int k = 1; k < 6; ++k)
                hatch.rect(k * 40, 13, 3, 44, dark_wood);
            hatch.outlined_rect(100, 26, 40, 16, iron);
        }
        out.picture(folder + (open ? "hatch_open.png" : "hatch_closed.png"), hatch);
    }

    // The lamp, dark; lit, a strip of four cells in which the glow breathes.
    const auto lamp_body = [](Canvas& c, double x, Colour glass, double glow) {
        if (glow > 0)
            c.disc({x + 80, 80}, glow, {255, 230, 140, 150});
        c.outlined_rect(x + 40, 150, 80, 30, iron);
        c.outlined_rounded_rect(x + 36, 40, 88, 112, 30, glass);
        c.outlined_polygon({{x + 30, 44}, {x + 130, 44}, {x + 80, 6}}, iron);
    };
    Canvas lamp_off(160, 180);
    lamp_body(lamp_off, 0, {70, 80, 96, 255}, 0);
    out.picture(folder + "lamp_off.png", lamp_off);
    Canvas lamp_on(640, 180);
    for (int k = 0; k < 4; ++k)
        lamp_body(lamp_on, k * 160, k % 2 == 0 ? lamp : Colour{255, 236, 150, 255},
                  70 + 8 * std::sin(k * std::numbers::pi / 2));
    out.picture(folder + "lamp_on.png", lamp_on);

    // The purse's hit area under the bench: only its shape counts.
    Canvas area(120, 50);
    area.rounded_rect(0, 0, 120, 50, 20, outline);
    out.picture("images/masks/purse_area.png", area);
}

void draw_inventory_items(const Output& out) {
    const std::string folder = "images/inventory/";
    Canvas rope(140, 140);
    for (int k = 0; k < 4; ++k)
        ring(rope, {70, 56.0 + k * 10}, 50, 26, 9, rope_colour);
    out.picture(folder + "rope.png", rope);

    const auto hook_shape = [](Canvas& c, Dot top) {
        c.line(top, {top.x, top.y + 60}, 10 + 6, outline);
        c.line(top, {top.x, top.y + 60}, 10, iron);
        std::vector<std::pair<Dot, Dot>> curve;
        for (int k = 0; k < 8; ++k) {
            const auto at = [&](int i) {
                const double angle = std::numbers::pi * i / 8;
                return Dot{top.x - 22 + 22 * std::cos(angle), top.y + 60 + 22 * std::sin(angle)};
            };
            curve.push_back({at(k), at(k + 1)});
        }
        for (const auto& [a, b] : curve)
            c.line(a, b, 16, outline);
        for (const auto& [a, b] : curve)
            c.line(a, b, 10, iron);
        c.outlined_disc(top, 10, iron);
    };
    Canvas hook(140, 140);
    hook_shape(hook, {84, 24});
    out.picture(folder + "hook.png", hook);
    Canvas grapnel(140, 140);
    ring(grapnel, {40, 40}, 26, 18, 8, rope_colour);
    grapnel.line({62, 40}, {90, 34}, 14, outline);
    grapnel.line({62, 40}, {90, 34}, 8, rope_colour);
    hook_shape(grapnel, {96, 34});
    out.picture(folder + "grapnel.png", grapnel);

    Canvas key(140, 140);
    key.outlined_disc({40, 70}, 26, brass);
    key.disc({40, 70}, 10, clear);
    key.outlined_rect(60, 62, 70, 16, brass);
    key.outlined_rect(104, 76, 12, 22, brass);
    key.outlined_rect(120, 76, 10, 16, brass);
    out.picture(folder + "key.png", key);
}

void draw_animations(const Output& out) {
    const std::string folder = "images/animations/";
    // Gulls: six cells of 300 x 150 in a row, three birds beating their wings.
    Canvas gulls(1800, 150);
    const Dot birds[] = {{80, 60}, {170, 100}, {240, 40}};
    for (int cell = 0; cell < 6; ++cell)
        for (int b = 0; b < 3; ++b) {
            const double beat = std::sin(2 * std::numbers::pi * (cell / 6.0 + b / 3.0));
            const Dot body{cell * 300 + birds[b].x + 3 * cell, birds[b].y};
            const Dot left{body.x - 30, body.y - 16 * beat}, right{body.x + 30, body.y - 16 * beat};
            for (const double width : {9.0, 4.0})
                for (const Dot wing : {left, right})
                    gulls.line(body, wing, width, width > 5 ? outline : white);
        }
    out.picture(folder + "gulls.png", gulls);

    // Waves: four cells of 640 x 160 on a 2 x 2 grid, the crests rising then falling.
    Canvas waves(1280, 320);
    for (int cell = 0; cell < 4; ++cell) {
        const double x0 = (cell % 2) * 640, y0 = (cell / 2) * 160;
        const double height = 20 + 14 * cell;
        for (int k = 0; k < 5; ++k) {
            const double cx = x0 + 64 + k * 120 + cell * 6;
            waves.polygon({{cx - 60, y0 + 160}, {cx, y0 + 160 - height}, {cx + 60, y0 + 160}},
                          {150, 180, 200, 200});
            waves.line({cx - 20, y0 + 166 - height}, {cx + 8, y0 + 162 - height}, 4, white);
        }
    }
    out.picture(folder + "waves.png", waves);

    // The lamp's beam: eight cells of 800 x 240 on a 4 x 2 grid, the beam turning from the lamp
    // at the bottom centre of the cell.
    Canvas beam(3200, 480);
    for (int cell = 0; cell < 8; ++cell) {
        const double x0 = (cell % 4) * 800, y0 = (cell / 4) * 240;
        const double angle = std::numbers::pi * (1.05 + 0.9 * cell / 7.0);
        const Dot origin{x0 + 400, y0 + 230};
        const double spread = 0.12, length = 380; // within its own cell
        beam.polygon({origin,
                      {origin.x + length * std::cos(angle - spread),
                       origin.y + length * std::sin(angle - spread) * 0.5},
                      {origin.x + length * std::cos(angle + spread),
                       origin.y + length * std::sin(angle + spread) * 0.5}},
                     {255, 236, 150, 140});
        beam.disc(origin, 10, {255, 250, 220, 230});
    }
    out.picture(folder + "lamp_beam.png", beam);
}

void draw_scenery(const Output& out) {
    const std::string folder = "images/scenery/";
    const struct { std::string suffix, word; } languages[] = {{"", "HARBOUR"}, {".fr_FR", "PORT"}};
    for (const auto& language : languages) {
        Canvas sign(260, 300);
        sign.outlined_rect(118, 100, 24, 200, dark_wood);
        sign.outlined_rounded_rect(0, 10, 260, 100, 12, {40, 70, 110, 255});
        sign.rect(10, 20, 240, 4, cream);
        sign.text(language.word, {130, 64}, 5, cream);
        out.picture(folder + "harbour_sign" + language.suffix + ".png", sign);
    }
    Canvas floating(220, 170); // the crate low in the water
    crate_picture(floating, 15, 30, false);
    floating.rect(0, 120, 220, 50, water);
    floating.line({0, 120}, {220, 120}, 4, {150, 180, 200, 255});
    out.picture(folder + "floating_crate.png", floating);
}

void draw_windows(const Output& out) {
    const std::string folder = "images/windows/";
    // The keeper's note: the answer of the lock, shapes in order with their names.
    const char* const order[] = {"triangle", "circle", "star", "square"};
    const struct {
        std::string suffix;
        const char* names[4];
    } languages[] = {{"", {"TRIANGLE", "CIRCLE", "STAR", "SQUARE"}},
                     {".fr_FR", {"TRIANGLE", "ROND", "ETOILE", "CARRE"}}};
    for (const auto& language : languages) {
        Canvas sheet(800, 600);
        sheet.outlined_polygon({{20, 30}, {780, 10}, {770, 590}, {30, 570}}, paper);
        for (int k = 0; k < 4; ++k) {
            const Dot centre{130.0 + k * 180, 240};
            shape(sheet, order[k], centre, 120, k % 2 == 0 ? red : slate);
            sheet.text(language.names[k], {centre.x, 380}, 3.2, outline);
            sheet.text(std::to_string(k + 1), {centre.x, 110}, 5, outline);
        }
        out.picture(folder + "note_sheet" + language.suffix + ".png", sheet);
    }

    // The lock: a panel, and on the keypad picture the four buttons where the code file puts
    // them (the code file's button rectangles are pixels of these 800 x 600 pictures).
    Canvas panel(800, 600);
    panel.outlined_rounded_rect(0, 0, 800, 600, 30, iron);
    panel.outlined_rounded_rect(20, 20, 760, 200, 20, night);
    for (int k = 0; k < 4; ++k)
        panel.outlined_disc({100.0 + k * 200, 120}, 26, deep_slate);
    out.picture(folder + "lock_window.png", panel);
    Canvas keys(800, 600);
    for (int k = 0; k < 4; ++k) {
        const double x = 30 + k * 200, y = 280;
        keys.outlined_rounded_rect(x, y, 160, 160, 24, stone);
        shape(keys, shapes[k], {x + 80, y + 80}, 90, k % 2 == 0 ? orange : sky_blue);
    }
    out.picture(folder + "lock_keys.png", keys);
}

} // namespace

void draw_items(const Output& out) {
    draw_objects(out);
    draw_inventory_items(out);
    draw_animations(out);
    draw_scenery(out);
    draw_windows(out);
}

} // namespace Sample
