// The interface pictures: icon, loading spinner, code-lock results, cursors, inventory arrows,
// achievement and action-selector circles, controller glyphs, fast-forward marks, menu art and
// the icons of the fixed texts.
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "Families.h"

namespace Sample {

namespace {

using namespace Palette;

const std::string folder = "images/interface/";

/// A set of strokes with the house outline: every outline first, so that strokes which meet
/// join without a dark seam.
void strokes(Canvas& c, const std::vector<std::pair<Dot, Dot>>& segments, double width,
             Colour colour) {
    for (const auto& [a, b] : segments)
        c.line(a, b, width + 6, outline);
    for (const auto& [a, b] : segments)
        c.line(a, b, width, colour);
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

/// A check mark filling a square of side `size` at (x, y).
void check(Canvas& c, double x, double y, double size, Colour colour) {
    strokes(c,
            {{{x + 0.2 * size, y + 0.55 * size}, {x + 0.42 * size, y + 0.75 * size}},
             {{x + 0.42 * size, y + 0.75 * size}, {x + 0.8 * size, y + 0.28 * size}}},
            size * 0.12, colour);
}

void cross(Canvas& c, double x, double y, double size, Colour colour) {
    strokes(c,
            {{{x + 0.25 * size, y + 0.25 * size}, {x + 0.75 * size, y + 0.75 * size}},
             {{x + 0.75 * size, y + 0.25 * size}, {x + 0.25 * size, y + 0.75 * size}}},
            size * 0.12, colour);
}

/// A triangle pointing left or right, inside the box (x, y, w, h).
std::vector<Dot> pointer(double x, double y, double w, double h, bool right) {
    if (right)
        return {{x, y}, {x + w, y + h / 2}, {x, y + h}};
    return {{x + w, y}, {x, y + h / 2}, {x + w, y + h}};
}

void draw_icon(const Output& out) {
    Canvas c(256, 256);
    c.vertical_gradient(0, 190, indigo, orange);
    c.vertical_gradient(190, 256, slate, deep_slate);
    c.polygon({{128, 66}, {0, 30}, {0, 100}}, {255, 230, 140, 120}); // the beam
    c.outlined_polygon({{100, 222}, {156, 222}, {146, 84}, {110, 84}}, cream);
    c.rect(105, 120, 47, 16, red);
    c.rect(102, 170, 52, 16, red);
    c.outlined_rect(104, 52, 48, 34, lamp);
    c.outlined_polygon({{96, 54}, {160, 54}, {128, 22}}, red);
    c.outlined_rect(90, 218, 76, 16, stone);
    out.picture(folder + "icon.png", c);
}

/// Eight cells of 100 x 100: a ring of eight lamps with one lit, going round clockwise from the
/// top, the two before it fading.
void draw_spinner(const Output& out) {
    Canvas c(800, 100);
    for (int cell = 0; cell < 8; ++cell) {
        for (int k = 0; k < 8; ++k) {
            const double angle = -std::numbers::pi / 2 + k * std::numbers::pi / 4;
            const Dot dot{50 + 100 * cell + 32 * std::cos(angle), 50 + 32 * std::sin(angle)};
            const int behind = (cell - k + 8) % 8;
            const Colour colour = behind == 0   ? lamp
                                  : behind == 1 ? orange
                                  : behind == 2 ? red
                                                : stone;
            c.outlined_disc(dot, 11, colour);
        }
    }
    out.picture(folder + "spinner.png", c);
}

void draw_code_results(const Output& out) {
    Canvas ok(400, 400);
    ok.outlined_disc({200, 200}, 190, green);
    check(ok, 50, 50, 300, white);
    out.picture(folder + "code_ok.png", ok);
    Canvas ko(400, 400);
    ko.outlined_disc({200, 200}, 190, red);
    cross(ko, 50, 50, 300, white);
    out.picture(folder + "code_ko.png", ko);
}

void draw_cursors(const Output& out) {
    Canvas arrow(64, 64); // tip at (6, 6), the "default" origin (0.1, 0.1)
    arrow.outlined_polygon({{6, 6}, {6, 50}, {17, 40}, {26, 58}, {35, 54}, {26, 36}, {41, 36}},
                           cream);
    out.picture(folder + "cursor_default.png", arrow);

    Canvas ring(64, 64); // centred: the "object" origin (0.5, 0.5)
    ring.disc({32, 32}, 28, outline);
    ring.disc({32, 32}, 25, lamp);
    ring.disc({32, 32}, 18, outline);
    ring.disc({32, 32}, 15, clear);
    ring.outlined_disc({32, 32}, 6, lamp);
    out.picture(folder + "cursor_object.png", ring);

    for (const bool right : {false, true}) {
        Canvas c(64, 64);
        std::vector<Dot> shape = {{4, 32},  {30, 8},  {30, 22}, {60, 22},
                                  {60, 42}, {30, 42}, {30, 56}};
        if (right)
            for (Dot& p : shape)
                p.x = 64 - p.x;
        c.outlined_polygon(shape, cream);
        out.picture(folder + (right ? "cursor_right.png" : "cursor_left.png"), c);
    }

    Canvas hand(64, 64); // fingertip near (18, 8), the "fake_touchscreen" origin (0.28, 0.12)
    hand.outlined_rounded_rect(10, 28, 46, 32, 10, cream);
    hand.outlined_rounded_rect(11, 4, 15, 38, 7, cream);
    hand.rect(14, 30, 9, 8, cream);
    out.picture(folder + "hand.png", hand);
}

void draw_inventory(const Output& out) {
    for (const bool right : {false, true}) {
        Canvas c(60, 150);
        c.outlined_rounded_rect(0, 0, 60, 150, 12, {46, 62, 78, 210});
        c.outlined_polygon(pointer(14, 45, 32, 60, right), cream);
        out.picture(folder + (right ? "inv_right.png" : "inv_left.png"), c);
    }
    Canvas chamfer(200, 150);
    chamfer.polygon({{0, 150}, {60, 0}, {200, 0}, {200, 150}}, {46, 62, 78, 210});
    chamfer.line({0, 150}, {60, 0}, 3, outline);
    chamfer.line({60, 1.5}, {200, 1.5}, 3, outline);
    chamfer.line({64, 6}, {200, 6}, 2, orange);
    out.picture(folder + "chamfer.png", chamfer);
}

/// Halves of a disc of 80 x 80 for the left and right pieces of a round selector.
void draw_halves(const Output& out, const std::string& left, const std::string& right,
                 Colour colour) {
    Canvas l(80, 80);
    l.outlined_disc({80, 40}, 38, colour);
    out.picture(folder + left, l);
    Canvas r(80, 80);
    r.outlined_disc({0, 40}, 38, colour);
    out.picture(folder + right, r);
}

void draw_circles(const Output& out) {
    draw_halves(out, "ach_left.png", "ach_right.png", lamp);
    Canvas star_picture(80, 80);
    star_picture.outlined_polygon(star({40, 42}, 36, 15), lamp);
    out.picture(folder + "ach_star.png", star_picture);

    draw_halves(out, "circle_left.png", "circle_right.png", slate);
    draw_halves(out, "circle_white_left.png", "circle_white_right.png", white);
    Canvas selected(80, 80);
    selected.disc({40, 40}, 38, outline);
    selected.disc({40, 40}, 35, lamp);
    selected.disc({40, 40}, 27, outline);
    selected.disc({40, 40}, 24, clear);
    out.picture(folder + "circle_selected.png", selected);
}

void draw_controller_glyphs(const Output& out) {
    const auto base = [] {
        Canvas c(48, 48);
        c.outlined_disc({24, 24}, 23, night);
        return c;
    };
    Canvas triangle = base();
    triangle.polygon({{24, 11}, {37, 33}, {11, 33}}, green);
    triangle.polygon({{24, 17}, {32, 30}, {16, 30}}, night);
    out.picture(folder + "ps_triangle.png", triangle);
    Canvas square = base();
    square.rect(13, 13, 22, 22, pink);
    square.rect(17, 17, 14, 14, night);
    out.picture(folder + "ps_square.png", square);
    Canvas x = base();
    x.line({15, 15}, {33, 33}, 5, sky_blue);
    x.line({33, 15}, {15, 33}, 5, sky_blue);
    out.picture(folder + "ps_cross.png", x);
    Canvas circle = base();
    circle.disc({24, 24}, 12, red);
    circle.disc({24, 24}, 8, night);
    out.picture(folder + "ps_circle.png", circle);
}

void draw_fast_forward(const Output& out) {
    for (int k = 0; k < 2; ++k) {
        Canvas c(120, 80);
        const Colour colour = k == 0 ? cream : lamp;
        c.outlined_polygon(pointer(16, 14, 44, 52, true), colour);
        c.outlined_polygon(pointer(60, 14, 44, 52, true), colour);
        out.picture(folder + "ff_" + std::to_string(k) + ".png", c);
    }
}

void draw_menus(const Output& out) {
    Canvas background(1200, 900);
    background.vertical_gradient(0, 900, {43, 45, 92, 240}, {22, 22, 54, 240});
    background.rect(0, 0, 1200, 6, outline);
    background.rect(0, 894, 1200, 6, outline);
    background.rect(0, 0, 6, 900, outline);
    background.rect(1194, 0, 6, 900, outline);
    background.rect(12, 12, 1176, 2, orange);
    background.rect(12, 886, 1176, 2, orange);
    out.picture(folder + "menu_bg.png", background);

    Canvas logo(600, 160);
    logo.text("The Lamp at\nGull Point", {300, 80}, 7, lamp, true);
    out.picture(folder + "logo.png", logo);

    for (const bool right : {false, true}) {
        Canvas c(60, 60);
        c.outlined_polygon(pointer(10, 6, 40, 48, right), cream);
        out.picture(folder + (right ? "menu_right.png" : "menu_left.png"), c);
    }

    Canvas ok(100, 100);
    ok.outlined_disc({50, 50}, 46, green);
    check(ok, 14, 14, 72, white);
    out.picture(folder + "menu_ok.png", ok);
    Canvas cancel(100, 100);
    cancel.outlined_disc({50, 50}, 46, red);
    cross(cancel, 14, 14, 72, white);
    out.picture(folder + "menu_cancel.png", cancel);

    Canvas button(500, 90);
    button.outlined_rounded_rect(0, 0, 500, 90, 24, slate);
    button.rect(24, 8, 452, 3, {120, 146, 164, 255});
    out.picture(folder + "menu_button.png", button);
    Canvas settings(500, 90);
    settings.outlined_rounded_rect(0, 0, 500, 90, 24, deep_slate);
    settings.rect(24, 8, 452, 3, orange);
    out.picture(folder + "menu_settings_button.png", settings);
}

/// The support pictures carry words, so each has a French variant beside it.
void draw_support(const Output& out) {
    const struct {
        std::string suffix, text, button;
    } languages[] = {{"", "Liked the game?\nSupport us!", "Support"},
                     {".fr_FR", "Vous aimez le jeu ?\nSoutenez-nous !", "Soutenir"}};
    for (const auto& language : languages) {
        Canvas text(500, 120);
        text.text(language.text, {250, 60}, 4, cream, true);
        out.picture(folder + "support_text" + language.suffix + ".png", text);
        Canvas button(200, 80);
        button.outlined_rounded_rect(0, 0, 200, 80, 20, orange);
        button.text(language.button, {100, 40}, 3.5, outline);
        out.picture(folder + "support_button" + language.suffix + ".png", button);
    }
}

void draw_text_icons(const Output& out) {
    Canvas phone(64, 64); // a handset: a grip arching over the ear and mouth pieces
    std::vector<std::pair<Dot, Dot>> grip;
    for (int k = 0; k < 8; ++k) {
        const auto at = [](int i) {
            const double angle = std::numbers::pi * (1.1 + 0.8 * i / 8);
            return Dot{32 + 21 * std::cos(angle), 42 + 21 * std::sin(angle)};
        };
        grip.push_back({at(k), at(k + 1)});
    }
    strokes(phone, grip, 8, cream);
    phone.outlined_rounded_rect(2, 34, 20, 16, 6, cream);
    phone.outlined_rounded_rect(42, 34, 20, 16, 6, cream);
    out.picture(folder + "phone.png", phone);

    Canvas gear(64, 64);
    std::vector<std::pair<Dot, Dot>> teeth;
    for (int k = 0; k < 8; ++k) {
        const double angle = k * std::numbers::pi / 4;
        teeth.push_back({{32, 32}, {32 + 24 * std::cos(angle), 32 + 24 * std::sin(angle)}});
    }
    strokes(gear, teeth, 9, stone);
    gear.outlined_disc({32, 32}, 20, stone);
    gear.outlined_disc({32, 32}, 10, clear);
    out.picture(folder + "settings.png", gear);

    Canvas pad(64, 64);
    pad.outlined_rounded_rect(4, 16, 56, 34, 15, stone);
    pad.rect(12, 30, 14, 5, outline);
    pad.rect(17, 25, 5, 15, outline);
    pad.outlined_disc({42, 28}, 5, red);
    pad.outlined_disc({50, 37}, 5, green);
    out.picture(folder + "controls.png", pad);

    Canvas new_game(64, 64);
    new_game.outlined_polygon(star({32, 34}, 29, 12), lamp);
    out.picture(folder + "new_game.png", new_game);

    Canvas load(64, 64);
    load.outlined_rounded_rect(4, 10, 26, 14, 4, orange);
    load.outlined_rect(4, 16, 56, 40, orange);
    strokes(load, {{{32, 48}, {32, 26}}, {{32, 26}, {23, 35}}, {{32, 26}, {41, 35}}}, 4, cream);
    out.picture(folder + "load.png", load);

    Canvas save(64, 64);
    save.outlined_rect(6, 6, 52, 52, sky_blue);
    save.outlined_rect(16, 6, 30, 18, stone);
    save.outlined_rect(14, 34, 36, 24, cream);
    out.picture(folder + "save.png", save);

    Canvas quit(64, 64);
    quit.outlined_rect(14, 4, 36, 58, stone);
    quit.outlined_rect(20, 10, 24, 52, deep_slate);
    quit.outlined_disc({39, 36}, 4, lamp);
    out.picture(folder + "quit.png", quit);

    Canvas ok(64, 64);
    check(ok, 0, 0, 64, green);
    out.picture(folder + "ok.png", ok);
    Canvas cancel(64, 64);
    cross(cancel, 0, 0, 64, red);
    out.picture(folder + "cancel.png", cancel);
}

} // namespace

void draw_interface(const Output& out) {
    draw_icon(out);
    draw_spinner(out);
    draw_code_results(out);
    draw_cursors(out);
    draw_inventory(out);
    draw_circles(out);
    draw_controller_glyphs(out);
    draw_fast_forward(out);
    draw_menus(out);
    draw_support(out);
    draw_text_icons(out);
}

} // namespace Sample
