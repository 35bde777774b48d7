// The character sheets: idle, head, mouth and walk sheets of Mara, Pip and Ferran, on the grids
// their character files give. Idle, head and mouth sheets have row 0 facing right and row 1
// facing left; walk sheets have the rows down, right, left and up. Bodies are drawn without a
// head: the head sheet is placed on the body at the gap the character file gives.
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

const std::string folder = "images/characters/";

constexpr Colour skin{236, 190, 150, 255};
constexpr Colour dark_cloth{48, 52, 70, 255};
constexpr Colour boots{60, 40, 34, 255};
constexpr Colour hair{92, 56, 36, 255};
constexpr Colour mara_coat{255, 210, 63, 255}; // FFD23F, her speech colour
constexpr Colour pip_fur{224, 176, 128, 255};  // E0B080
constexpr Colour pip_dark{140, 96, 60, 255};
constexpr Colour ferran_sweater{158, 201, 255, 255}; // 9EC9FF
constexpr Colour beard{214, 214, 220, 255};
constexpr Colour cap{40, 50, 90, 255};
constexpr Colour lips{150, 50, 50, 255};

enum class View { front, right, left, back };

/// Which way a sheet row faces: idle, head and mouth rows, then walk rows.
View idle_row(int row) { return row == 0 ? View::right : View::left; }
View walk_row(int row) {
    constexpr View rows[] = {View::front, View::right, View::left, View::back};
    return rows[row];
}

/// Draws in one cell in the cell's own coordinates, written for a figure facing right; a cell
/// facing left is drawn mirrored.
class Cell {
  public:
    Cell(Canvas& canvas, double x, double y, double width, bool mirrored)
        : m_c(canvas), m_x(x), m_y(y), m_w(width), m_mirrored(mirrored) {}

    Dot at(double x, double y) const { return {m_x + (m_mirrored ? m_w - x : x), m_y + y}; }
    std::vector<Dot> at(const std::vector<Dot>& points) const {
        std::vector<Dot> out;
        for (const Dot& p : points)
            out.push_back(at(p.x, p.y));
        return out;
    }
    void polygon(const std::vector<Dot>& points, Colour colour) const {
        m_c.outlined_polygon(at(points), colour);
    }
    void disc(double x, double y, double radius, Colour colour) const {
        m_c.outlined_disc(at(x, y), radius, colour);
    }
    void flat_disc(double x, double y, double radius, Colour colour) const {
        m_c.disc(at(x, y), radius, colour);
    }
    /// A limb: a segment with the house outline.
    void limb(double x0, double y0, double x1, double y1, double width, Colour colour) const {
        m_c.line(at(x0, y0), at(x1, y1), width + 6, outline);
        m_c.line(at(x0, y0), at(x1, y1), width, colour);
    }
    void box(double x, double y, double w, double h, Colour colour) const {
        const Dot a = at(x, y), b = at(x + w, y);
        m_c.outlined_rect(std::min(a.x, b.x), a.y, w, h, colour);
    }

  private:
    Canvas& m_c;
    double m_x, m_y, m_w;
    bool m_mirrored;
};

/// Eleven mouth shapes per row, from closed to wide open and rounded: the phonemes the talking
/// animation picks from.
void draw_mouths(const Output& out, const std::string& name, int cell_w, int cell_h) {
    Canvas c(unsigned(cell_w * 11), unsigned(cell_h * 2));
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < 11; ++k) {
            const double open = (cell_h - 6) * (k % 4 + (k >= 8 ? 1 : 0)) / 4.0;
            const double width = cell_w * (k >= 8 ? 0.5 : k % 2 == 0 ? 0.85 : 0.7);
            const double x = k * cell_w + (cell_w - width) / 2;
            const double h = std::max(6.0, open);
            const double y = row * cell_h + cell_h - h - 1;
            c.outlined_rounded_rect(x, y, width, h, h / 2, k == 0 ? lips : Colour{90, 20, 30, 255});
        }
    out.picture(folder + name + ".png", c);
}

// ---- Mara: cells of 200 x 560, feet at (100, 532), shoulders at y = 150 ----

/// Mara's body without a head. `phase` runs over one walk cycle; `hips` puts her hands on her
/// hips.
void mara_body(Canvas& canvas, double x, double y, View view, double phase, bool hips) {
    const bool side = view == View::right || view == View::left;
    const Cell cell(canvas, x, y, 200, view == View::left);
    const double swing = std::sin(2 * std::numbers::pi * phase);
    if (side) {
        cell.limb(100, 420, 100 - 34 * swing, 515, 22, dark_cloth);
        cell.limb(100, 420, 100 + 34 * swing, 515, 22, dark_cloth);
        cell.box(100 - 34 * swing - 14, 510, 40, 22, boots);
        cell.box(100 + 34 * swing - 14, 510, 40, 22, boots);
        cell.polygon({{70, 150}, {130, 150}, {150, 440}, {56, 440}}, mara_coat);
        cell.polygon({{62, 138}, {92, 138}, {82, 200}, {56, 190}}, mara_coat); // the hood
        cell.limb(104, 170, 104 + 40 * swing, 370, 20, mara_coat);
        cell.flat_disc(104 + 40 * swing, 382, 12, skin);
    } else {
        const double lift = 10 * swing;
        cell.limb(78, 420, 78, 515 - std::max(0.0, lift), 22, dark_cloth);
        cell.limb(122, 420, 122, 515 - std::max(0.0, -lift), 22, dark_cloth);
        cell.box(60, 508 - std::max(0.0, lift), 36, 24, boots);
        cell.box(104, 508 - std::max(0.0, -lift), 36, 24, boots);
        cell.polygon({{55, 150}, {145, 150}, {172, 440}, {28, 440}}, mara_coat);
        if (view == View::front)
            for (int k = 0; k < 4; ++k)
                cell.flat_disc(100, 200 + k * 60, 6, outline);
        else
            cell.polygon({{62, 134}, {138, 134}, {128, 210}, {72, 210}}, mara_coat);
        if (hips) {
            cell.limb(56, 170, 20, 270, 20, mara_coat);
            cell.limb(20, 270, 52, 330, 20, mara_coat);
            cell.limb(144, 170, 180, 270, 20, mara_coat);
            cell.limb(180, 270, 148, 330, 20, mara_coat);
        } else {
            cell.limb(56, 170, 40, 370 + 12 * swing, 20, mara_coat);
            cell.limb(144, 170, 160, 370 - 12 * swing, 20, mara_coat);
            cell.flat_disc(40, 382 + 12 * swing, 12, skin);
            cell.flat_disc(160, 382 - 12 * swing, 12, skin);
        }
    }
}

void draw_mara(const Output& out) {
    // 4 poses x 2 rows: transition (facing the viewer, shown between two poses), default,
    // idle (the weight shifted) and hands_on_hips
    Canvas idle(800, 1120);
    for (int row = 0; row < 2; ++row) {
        mara_body(idle, 0, row * 560, View::front, 0, false);
        mara_body(idle, 200, row * 560, idle_row(row), 0, false);
        mara_body(idle, 400, row * 560, idle_row(row), 0.04, false);
        mara_body(idle, 600, row * 560, View::front, 0, true);
    }
    out.picture(folder + "mara_idle.png", idle);

    Canvas walk(1600, 2240); // 8 steps x 4 rows (down, right, left, up)
    for (int row = 0; row < 4; ++row)
        for (int step = 0; step < 8; ++step)
            mara_body(walk, step * 200, row * 560, walk_row(row), step / 8.0, false);
    out.picture(folder + "mara_walk.png", walk);

    Canvas head(240, 300); // 2 positions (default, up) x 2 rows; the neck at the bottom centre
    for (int row = 0; row < 2; ++row)
        for (int position = 0; position < 2; ++position) {
            const Cell cell(head, position * 120, row * 150, 120, row == 1);
            cell.limb(60, 120, 60, 136, 26, skin); // the neck, kept inside its cell
            cell.disc(60, 82, 46, skin);
            cell.polygon({{14, 78}, {24, 40}, {60, 30}, {100, 42}, {104, 64}, {60, 52}, {34, 96}},
                         hair);
            const double eye_y = position == 1 ? 66 : 78;
            cell.flat_disc(84, eye_y, 6, outline);
            cell.flat_disc(86, eye_y - (position == 1 ? 3 : 0), 2, white);
        }
    out.picture(folder + "mara_head.png", head);
    draw_mouths(out, "mara_mouth", 40, 28);
}

// ---- Pip: cells of 180 x 130, feet at (90, 123) ----

void pip_body(Canvas& canvas, double x, double y, View view, double phase) {
    const Cell cell(canvas, x, y, 180, view == View::left);
    const double swing = std::sin(2 * std::numbers::pi * phase);
    if (view == View::right || view == View::left) {
        cell.limb(52, 86, 52 - 14 * swing, 120, 12, pip_dark);
        cell.limb(128, 86, 128 + 14 * swing, 120, 12, pip_dark);
        cell.limb(40, 70, 14, 40 + 6 * swing, 10, pip_fur); // the tail
        cell.polygon({{36, 58}, {140, 52}, {150, 92}, {40, 96}}, pip_fur);
        cell.limb(66, 86, 66 + 14 * swing, 120, 12, pip_fur);
        cell.limb(140, 86, 140 - 14 * swing, 120, 12, pip_fur);
    } else {
        const double lift = 6 * swing;
        cell.limb(72, 80, 72, 120 - std::max(0.0, lift), 12, pip_fur);
        cell.limb(108, 80, 108, 120 - std::max(0.0, -lift), 12, pip_fur);
        if (view == View::back)
            cell.limb(90, 62, 90 + 10 * swing, 24, 10, pip_fur);
        cell.polygon({{62, 50}, {118, 50}, {124, 92}, {56, 92}}, pip_fur);
    }
}

void draw_pip(const Output& out) {
    Canvas idle(180, 260);
    for (int row = 0; row < 2; ++row)
        pip_body(idle, 0, row * 130, idle_row(row), 0);
    out.picture(folder + "pip_idle.png", idle);

    Canvas walk(1440, 520);
    for (int row = 0; row < 4; ++row)
        for (int step = 0; step < 8; ++step)
            pip_body(walk, step * 180, row * 130, walk_row(row), step / 8.0);
    out.picture(folder + "pip_walk.png", walk);

    Canvas head(90, 160); // the neck at the bottom centre, the snout to the right
    for (int row = 0; row < 2; ++row) {
        const Cell cell(head, 0, row * 80, 90, row == 1);
        cell.disc(40, 44, 26, pip_fur);
        cell.polygon({{52, 34}, {86, 40}, {86, 60}, {50, 62}}, pip_fur);
        cell.polygon({{20, 24}, {34, 18}, {30, 58}, {14, 52}}, pip_dark); // the ear
        cell.flat_disc(84, 42, 5, outline);
        cell.flat_disc(52, 36, 4, outline);
    }
    out.picture(folder + "pip_head.png", head);
    draw_mouths(out, "pip_mouth", 30, 20);
}

// ---- Ferran: cells of 240 x 520, feet at (120, 494), shoulders at y = 140; he sits ----

void draw_ferran(const Output& out) {
    Canvas idle(240, 1040); // 1 pose (sitting) x 2 rows
    for (int row = 0; row < 2; ++row) {
        const Cell cell(idle, 0, row * 520, 240, row == 1);
        cell.limb(110, 410, 190, 414, 30, dark_cloth); // thigh, forward over the seat
        cell.limb(190, 414, 176, 486, 28, dark_cloth);
        cell.box(160, 476, 56, 20, boots);
        cell.polygon({{74, 140}, {150, 140}, {160, 420}, {64, 420}}, ferran_sweater);
        // the net on his lap, and his arms mending it
        std::vector<std::pair<Dot, Dot>> net;
        for (int k = 0; k < 5; ++k) {
            net.push_back({{130 + k * 16.0, 340}, {150 + k * 16.0, 404}});
            net.push_back({{130, 340 + k * 16.0}, {214, 340 + k * 16.0}});
        }
        for (const auto& [a, b] : net)
            idle.line(cell.at(a.x, a.y), cell.at(b.x, b.y), 3, cream);
        cell.limb(140, 168, 176, 300, 22, ferran_sweater);
        cell.limb(176, 300, 200, 352, 22, ferran_sweater);
        cell.flat_disc(202, 360, 12, skin);
    }
    out.picture(folder + "ferran_idle.png", idle);

    Canvas head(260, 320); // 2 positions (default, down) x 2 rows
    for (int row = 0; row < 2; ++row)
        for (int position = 0; position < 2; ++position) {
            const Cell cell(head, position * 130, row * 160, 130, row == 1);
            const double tilt = position == 1 ? 8 : 0;
            cell.limb(65, 130, 65, 144, 30, skin); // the neck, kept inside its cell
            cell.disc(65, 96 + tilt, 50, skin);
            cell.polygon({{18, 100 + tilt}, {112, 100 + tilt}, {104, 150}, {65, 158}, {26, 150}},
                         beard);
            cell.polygon({{14, 70 + tilt},
                          {26, 38 + tilt},
                          {70, 30 + tilt},
                          {120, 52 + tilt},
                          {124, 72 + tilt}},
                         cap);
            const double eye_y = position == 1 ? 94 : 86;
            cell.flat_disc(92, eye_y, 6, outline);
        }
    out.picture(folder + "ferran_head.png", head);
    draw_mouths(out, "ferran_mouth", 44, 30);
}

} // namespace

void draw_characters(const Output& out) {
    draw_mara(out);
    draw_pip(out);
    draw_ferran(out);
}

} // namespace Sample
