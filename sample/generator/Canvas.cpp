#include "Canvas.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstddef>

namespace Sample {

namespace {

constexpr double outline_width = 3;

/// The 5 x 7 dot font: seven rows of five columns per glyph, '#' for a dot.
struct Glyph {
    char c;
    std::array<const char*, 7> rows;
};

constexpr Glyph glyphs[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'?', {" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "}},
    {'!', {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "}},
    {'-', {"     ", "     ", "     ", " ### ", "     ", "     ", "     "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", "     ", "  #  "}},
    {':', {"     ", "  #  ", "     ", "     ", "     ", "  #  ", "     "}},
    {'\'', {"  #  ", "  #  ", "     ", "     ", "     ", "     ", "     "}},
};

const Glyph* find_glyph(char c) {
    const char upper = char(std::toupper(static_cast<unsigned char>(c)));
    for (const Glyph& glyph : glyphs)
        if (glyph.c == upper)
            return &glyph;
    return nullptr;
}

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(c);
    }
    return lines;
}

} // namespace

Canvas::Canvas(unsigned int width, unsigned int height) {
    m_image.width = width;
    m_image.height = height;
    m_image.pixels.assign(std::size_t(width) * height * 4, 0);
}

Colour Canvas::at(unsigned int x, unsigned int y) const {
    const std::size_t i = (std::size_t(y) * m_image.width + x) * 4;
    return {m_image.pixels[i], m_image.pixels[i + 1], m_image.pixels[i + 2], m_image.pixels[i + 3]};
}

void Canvas::set(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= int(m_image.width) || y >= int(m_image.height))
        return;
    const std::size_t i = (std::size_t(y) * m_image.width + std::size_t(x)) * 4;
    m_image.pixels[i] = colour.r;
    m_image.pixels[i + 1] = colour.g;
    m_image.pixels[i + 2] = colour.b;
    m_image.pixels[i + 3] = colour.a;
}

void Canvas::fill(Colour colour) { rect(0, 0, width(), height(), colour); }

void Canvas::vertical_gradient(int y0, int y1, Colour top, Colour bottom) {
    const auto mix = [](std::uint8_t a, std::uint8_t b, double t) {
        return std::uint8_t(std::lround(a + (b - a) * t));
    };
    for (int y = y0; y < y1; ++y) {
        const double t = y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0.0;
        const Colour c{mix(top.r, bottom.r, t), mix(top.g, bottom.g, t), mix(top.b, bottom.b, t),
                       mix(top.a, bottom.a, t)};
        for (int x = 0; x < int(width()); ++x)
            set(x, y, c);
    }
}

void Canvas::rect(double x, double y, double w, double h, Colour colour) {
    const int x0 = std::max(0, int(std::ceil(x - 0.5)));
    const int x1 = std::min(int(width()), int(std::ceil(x + w - 0.5)));
    const int y0 = std::max(0, int(std::ceil(y - 0.5)));
    const int y1 = std::min(int(height()), int(std::ceil(y + h - 0.5)));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i)
            set(i, j, colour);
}

void Canvas::rounded_rect(double x, double y, double w, double h, double radius, Colour colour) {
    radius = std::min({radius, w / 2, h / 2});
    rect(x + radius, y, w - 2 * radius, h, colour);
    rect(x, y + radius, w, h - 2 * radius, colour);
    disc({x + radius, y + radius}, radius, colour);
    disc({x + w - radius, y + radius}, radius, colour);
    disc({x + radius, y + h - radius}, radius, colour);
    disc({x + w - radius, y + h - radius}, radius, colour);
}

void Canvas::disc(Dot centre, double radius, Colour colour) {
    if (radius <= 0)
        return;
    const int y0 = std::max(0, int(std::floor(centre.y - radius)));
    const int y1 = std::min(int(height()) - 1, int(std::ceil(centre.y + radius)));
    const int x0 = std::max(0, int(std::floor(centre.x - radius)));
    const int x1 = std::min(int(width()) - 1, int(std::ceil(centre.x + radius)));
    for (int j = y0; j <= y1; ++j)
        for (int i = x0; i <= x1; ++i) {
            const double dx = i + 0.5 - centre.x, dy = j + 0.5 - centre.y;
            if (dx * dx + dy * dy <= radius * radius)
                set(i, j, colour);
        }
}

void Canvas::polygon(const std::vector<Dot>& points, Colour colour) {
    if (points.size() < 3)
        return;
    double top = points[0].y, bottom = points[0].y;
    for (const Dot& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const int y0 = std::max(0, int(std::floor(top)));
    const int y1 = std::min(int(height()) - 1, int(std::ceil(bottom)));
    std::vector<double> crossings;
    for (int j = y0; j <= y1; ++j) {
        const double y = j + 0.5;
        crossings.clear();
        for (std::size_t k = 0; k < points.size(); ++k) {
            const Dot& a = points[k];
            const Dot& b = points[(k + 1) % points.size()];
            // half-open in y, so a vertex shared by two edges counts once
            if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y))
                crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const int x0 = std::max(0, int(std::ceil(crossings[k] - 0.5)));
            const int x1 = std::min(int(width()), int(std::ceil(crossings[k + 1] - 0.5)));
            for (int i = x0; i < x1; ++i)
                set(i, j, colour);
        }
    }
}

void Canvas::line(Dot a, Dot b, double w, Colour colour) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length > 0) {
        const double nx = -dy / length * w / 2, ny = dx / length * w / 2;
        polygon({{a.x + nx, a.y + ny},
                 {b.x + nx, b.y + ny},
                 {b.x - nx, b.y - ny},
                 {a.x - nx, a.y - ny}},
                colour);
    }
    disc(a, w / 2, colour);
    disc(b, w / 2, colour);
}

void Canvas::outlined_rect(double x, double y, double w, double h, Colour colour) {
    rect(x, y, w, h, Palette::outline);
    rect(x + outline_width, y + outline_width, w - 2 * outline_width, h - 2 * outline_width,
         colour);
}

void Canvas::outlined_rounded_rect(double x, double y, double w, double h, double radius,
                                   Colour colour) {
    rounded_rect(x, y, w, h, radius, Palette::outline);
    rounded_rect(x + outline_width, y + outline_width, w - 2 * outline_width, h - 2 * outline_width,
                 radius - outline_width, colour);
}

void Canvas::outlined_disc(Dot centre, double radius, Colour colour) {
    disc(centre, radius, Palette::outline);
    disc(centre, radius - outline_width, colour);
}

void Canvas::outlined_polygon(const std::vector<Dot>& points, Colour colour) {
    polygon(points, colour);
    for (std::size_t k = 0; k < points.size(); ++k)
        line(points[k], points[(k + 1) % points.size()], outline_width, Palette::outline);
}

void Canvas::text(const std::string& text, Dot centre, double pitch, Colour colour, bool outlined) {
    const std::vector<std::string> lines = split_lines(text);
    const double line_height = 9 * pitch;
    const double block_height = double(lines.size()) * line_height - 2 * pitch;
    const double radius = pitch * 0.42;
    for (int pass = outlined ? 0 : 1; pass < 2; ++pass) {
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const double line_width = double(lines[l].size()) * 6 * pitch - pitch;
            const double left = centre.x - line_width / 2;
            const double top = centre.y - block_height / 2 + double(l) * line_height;
            for (std::size_t k = 0; k < lines[l].size(); ++k) {
                const Glyph* glyph = find_glyph(lines[l][k]);
                if (glyph == nullptr)
                    continue;
                for (int row = 0; row < 7; ++row)
                    for (int column = 0; column < 5; ++column) {
                        if (glyph->rows[std::size_t(row)][column] != '#')
                            continue;
                        const Dot dot{left + (double(k) * 6 + column + 0.5) * pitch,
                                      top + (row + 0.5) * pitch};
                        if (pass == 0)
                            disc(dot, radius + 2, Palette::outline);
                        else
                            disc(dot, radius, colour);
                    }
            }
        }
    }
}

double Random::uniform() {
    m_state ^= m_state >> 12;
    m_state ^= m_state << 25;
    m_state ^= m_state >> 27;
    const std::uint64_t x = m_state * 0x2545F4914F6CDD1DULL;
    return double(x >> 11) * (1.0 / 9007199254740992.0);
}

} // namespace Sample
