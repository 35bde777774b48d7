#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <Packer/Package_writer.h>

namespace Sample {

/// A colour with straight (not premultiplied) alpha.
struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
};

/// The dusk palette every picture of the game draws from.
namespace Palette {
inline constexpr Colour outline{26, 24, 46};
inline constexpr Colour indigo{43, 45, 92};
inline constexpr Colour night{22, 22, 54};
inline constexpr Colour orange{242, 140, 56};
inline constexpr Colour slate{74, 98, 116};
inline constexpr Colour deep_slate{46, 62, 78};
inline constexpr Colour stone{138, 138, 138};
inline constexpr Colour light_stone{186, 184, 178};
inline constexpr Colour cream{244, 233, 205};
inline constexpr Colour lamp{255, 210, 63};
inline constexpr Colour red{200, 66, 58};
inline constexpr Colour green{93, 160, 93};
inline constexpr Colour sky_blue{120, 170, 220};
inline constexpr Colour pink{220, 120, 180};
inline constexpr Colour white{255, 255, 255};
inline constexpr Colour clear{0, 0, 0, 0};
} // namespace Palette

/// A point in picture pixels (x right, y down); pixel (i, j) has its centre at (i + 0.5, j + 0.5).
struct Dot {
    double x = 0;
    double y = 0;
};

/// An RGBA picture with the few flat-fill primitives the sample art is made of. Every shape
/// covers the pixels whose centres lie inside it and replaces them (no blending, no
/// anti-aliasing), so the same calls always give the same bytes.
class Canvas {
  public:
    /// A transparent picture of the given size.
    Canvas(unsigned int width, unsigned int height);

    unsigned int width() const { return m_image.width; }
    unsigned int height() const { return m_image.height; }
    const Orvane::Packer::Image& image() const { return m_image; }

    /// The colour of pixel (x, y); the pixel must lie inside the picture.
    Colour at(unsigned int x, unsigned int y) const;
    /// Sets one pixel; pixels outside the picture are ignored.
    void set(int x, int y, Colour colour);

    void fill(Colour colour);
    /// Rows y0 to y1 - 1 across the whole width, from `top` to `bottom`.
    void vertical_gradient(int y0, int y1, Colour top, Colour bottom);
    void rect(double x, double y, double w, double h, Colour colour);
    void rounded_rect(double x, double y, double w, double h, double radius, Colour colour);
    void disc(Dot centre, double radius, Colour colour);
    /// Even-odd fill of a closed polygon.
    void polygon(const std::vector<Dot>& points, Colour colour);
    /// A segment of the given width with round ends.
    void line(Dot a, Dot b, double width, Colour colour);

    // The same shapes with the house outline: 3 dark pixels around the fill.
    void outlined_rect(double x, double y, double w, double h, Colour colour);
    void outlined_rounded_rect(double x, double y, double w, double h, double radius,
                               Colour colour);
    void outlined_disc(Dot centre, double radius, Colour colour);
    void outlined_polygon(const std::vector<Dot>& points, Colour colour);

    /// Writes `text` in the built-in 5 x 7 dot font, centred on `centre`: each dot is a disc on
    /// a grid of `pitch` pixels, and a glyph advances 6 pitches. Lines are split at '\n'. Letters
    /// are drawn upper-case; a character the font lacks draws as a space. With `outlined`, every
    /// dot gets a dark ring first.
    void text(const std::string& text, Dot centre, double pitch, Colour colour,
              bool outlined = false);

  private:
    Orvane::Packer::Image m_image;
};

/// A small deterministic generator (xorshift64*), so that textures and noise come out the same
/// on every build.
class Random {
  public:
    explicit Random(std::uint64_t seed) : m_state(seed == 0 ? 1 : seed) {}
    /// A number in [0, 1).
    double uniform();
    /// A number in [-1, 1).
    double signed_uniform() { return 2 * uniform() - 1; }

  private:
    std::uint64_t m_state;
};

} // namespace Sample
