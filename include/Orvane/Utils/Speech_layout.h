#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <Orvane/Utils/geometry.h>

namespace Orvane::Speech {

/// The horizontal band, in view pixels, in which the lines of a speech bubble are kept.
inline constexpr double band_left = 50;
inline constexpr double band_right = 1870;

/// The widest bubble line, in view pixels, for the interface-size setting: 633 for 4, 960
/// for 6, 1440 for 9 and 1632 for any other value.
int max_line_width(int scale_setting);

/// One cut between two lines of a bubble: the byte where it falls, and whether that byte is a
/// space, dropped from both lines.
struct Cut {
    std::size_t at = 0;
    bool space = true;
    bool operator==(const Cut&) const = default;
};

/// Where `text` is cut into lines when shown at scale `s` with lines at most `max_width` view
/// pixels wide, estimating 25 picture pixels per byte: no cut when the estimate fits,
/// otherwise estimate / max_width cuts, each at the space nearest to its even share of the
/// bytes (a tie goes to the earlier space). With no space on either side, a cut falls at the
/// start of the UTF-8 character holding its ideal byte. A cut that would leave a line empty
/// (on or before the previous cut, or at the very end) is dropped, so cuts strictly increase.
std::vector<Cut> line_cuts(const std::string& text, double s, int max_width);

/// The lines of `text` between `cuts` (as line_cuts gives them), the cut spaces dropped.
std::vector<std::string> split_lines(const std::string& text, const std::vector<Cut>& cuts);

/// Where a bubble's lines go: one x for all of them (their centre), a shrink factor applied to
/// all of them on top of the speech scale, and the y of each line's centre, in view pixels.
struct Placement {
    int x = 0;
    double shrink = 1;
    std::vector<int> y;
};

/// Places lines whose pictures are `widths` pixels wide, shown at scale `s`, around `anchor`
/// (view pixels). Each line in turn pulls x left so that it ends by the band's right edge and
/// right so that it starts after the left edge; a line wider than the band, whichever edge it
/// meets, centres the bubble at x = 960 and shrinks every line by 1870 / its scaled width. The
/// block starts 80 * s pixels per line above the anchor, but not above y = 100, and lines
/// follow each other 70 * s * shrink pixels apart.
Placement place_lines(const Point& anchor, const std::vector<int>& widths, double s);

/// Seconds a line of `bytes` bytes is read at the speech-speed setting `speed` (18 slow, 12
/// medium, 9 fast): 0.05 s a byte plus 1.5 s, times speed / 12.
double reading_time(std::size_t bytes, int speed);

/// Seconds a bubble stays for a wanted duration: at least one second.
double line_lifetime(double seconds);

/// Seconds the speaker's mouth moves for a line of `bytes` bytes: 0.05 s a byte, whatever the
/// speech speed or the bubble's duration.
double talking_time(std::size_t bytes);

} // namespace Orvane::Speech
