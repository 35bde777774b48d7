#pragma once

// The inventory bar's steady work done by hand on plain arrays: the baseline that the
// interface benchmarks set their frames against.

#include <cstddef>
#include <vector>

namespace Orvane::Bench {

/// One slot of the bar as plain values.
struct Bare_item {
    double x = 0;
    double y = 0;
    double scale = 0;
    unsigned char alpha = 0;
    bool on = false;
};

/// The slots placed and dressed as the bar places its items, the first one current, the bar's
/// top at `origin_y`.
inline void lay_out_bar(std::vector<Bare_item>& bar, double origin_y) {
    for (std::size_t i = 0; i < bar.size(); ++i) {
        Bare_item& item = bar[i];
        item.on = true;
        item.scale = i == 0 ? 0.9 : 0.7;
        item.alpha = 255;
        item.x = int(double(i + 1) / 10 * 1720) + 100;
        item.y = origin_y + 75;
    }
}

/// How many of the banners are up.
inline std::size_t banners_up(const std::vector<bool>& shown) {
    std::size_t up = 0;
    for (bool b : shown)
        up += b ? 1 : 0;
    return up;
}

} // namespace Orvane::Bench
