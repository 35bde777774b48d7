#include <algorithm>
#include <cmath>
#include <optional>

#include <Orvane/Utils/Speech_layout.h>

namespace Orvane::Speech {

namespace {

/// The cut for the ideal byte `ideal` (below text.size()): the space there, or the nearest
/// space on either side (the earlier on a tie), or else the start of the UTF-8 character that
/// holds the ideal byte.
Cut nearest_cut(const std::string& text, std::size_t ideal) {
    if (text[ideal] == ' ')
        return {ideal, true};
    std::optional<std::size_t> before;
    for (std::size_t i = ideal; i-- > 0;)
        if (text[i] == ' ') {
            before = i;
            break;
        }
    std::optional<std::size_t> after;
    for (std::size_t i = ideal + 1; i < text.size(); ++i)
        if (text[i] == ' ') {
            after = i;
            break;
        }
    if (before && after)
        return {*after - ideal < ideal - *before ? *after : *before, true};
    if (before || after)
        return {before ? *before : *after, true};
    // no space at all: never inside a character, a French line must not break in "é"
    std::size_t at = ideal;
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return {at, false};
}

} // namespace

int max_line_width(int scale_setting) {
    switch (scale_setting) {
    case 4:
        return 633;
    case 6:
        return 960;
    case 9:
        return 1440;
    default:
        return 1632;
    }
}

std::vector<Cut> line_cuts(const std::string& text, double s, int max_width) {
    const std::size_t bytes = text.size();
    const double estimate = std::trunc(static_cast<double>(bytes) * 25 * s);
    if (max_width <= 0 || estimate < max_width)
        return {};
    const auto count = static_cast<std::size_t>(estimate) / static_cast<std::size_t>(max_width);
    const double share = static_cast<double>(bytes) / static_cast<double>(count + 1);
    std::vector<Cut> cuts;
    std::size_t start = 0; // first byte of the line that the next cut ends
    for (std::size_t j = 1; j <= count; ++j) {
        const auto ideal = static_cast<std::size_t>(std::trunc(static_cast<double>(j) * share));
        const Cut cut = nearest_cut(text, std::min(ideal, bytes - 1));
        const std::size_t next = cut.at + (cut.space ? 1 : 0);
        // dropped when it would leave this line or the last one empty
        if (cut.at <= start || next >= bytes)
            continue;
        cuts.push_back(cut);
        start = next;
    }
    return cuts;
}

std::vector<std::string> split_lines(const std::string& text, const std::vector<Cut>& cuts) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (const Cut& cut : cuts) {
        lines.push_back(text.substr(start, cut.at - start));
        start = cut.at + (cut.space ? 1 : 0);
    }
    lines.push_back(text.substr(std::min(start, text.size())));
    return lines;
}

Placement place_lines(const Point& anchor, const std::vector<int>& widths, double s) {
    Placement placement;
    double x = std::trunc(anchor.x());
    for (const int width : widths) {
        const double scaled = width * s;
        const double h = scaled * 0.5;
        const double right = x + h;
        if (right > band_right)
            x = std::trunc(band_right - h);
        if (x - h < band_left) {
            x = std::trunc(h + band_left);
            // wider than the band, whichever edge it met: shrunk and centred
            if (right > band_right || x + h > band_right) {
                placement.shrink = std::min(placement.shrink, band_right / scaled);
                x = 960;
            }
        }
    }
    placement.x = static_cast<int>(x);

    const auto lines = static_cast<double>(widths.size());
    double top = std::trunc(anchor.y()) - std::trunc(lines * 80 * s);
    if (top <= 100)
        top = 100;
    const double spacing = s * 70 * placement.shrink;
    double y = top;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        placement.y.push_back(static_cast<int>(y));
        y = std::trunc(y + spacing);
    }
    return placement;
}

double reading_time(std::size_t bytes, int speed) {
    // a double division: 18 (slow) must last longer than 12 (medium)
    return (0.05 * static_cast<double>(bytes) + 1.5) * (speed / 12.0);
}

double line_lifetime(double seconds) { return std::max(seconds, 1.0); }

double talking_time(std::size_t bytes) { return 0.05 * static_cast<double>(bytes); }

} // namespace Orvane::Speech
