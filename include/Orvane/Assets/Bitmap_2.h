#pragma once

#include <cstddef>
#include <vector>

namespace Orvane {

/// A hit mask of one bit per pixel, set where the pixel counts as solid. Bit y * width + x holds
/// pixel (x, y), least significant bit first in each byte. Its bytes are the stored form of a
/// package's ".mask" entry. Coordinates are not checked: callers stay inside the image.
class Bitmap_2 {
  public:
    /// An empty mask: no bytes, width 0.
    Bitmap_2() = default;

    /// A mask of (width * height) / 8 + 1 bytes, every bit set to `value`.
    Bitmap_2(const std::size_t& width, const std::size_t& height, const bool& value);

    bool empty() const { return m_bits.empty(); }
    std::size_t width() const { return m_width; }

    /// bytes * 8 / width: the height given at construction when the width is more than 8, and
    /// possibly more otherwise; 0 when the width is 0.
    std::size_t height() const;

    std::size_t size() const { return m_bits.size(); }
    unsigned char* data() { return m_bits.data(); }
    const unsigned char* data() const { return m_bits.data(); }

    bool operator()(const std::size_t& x, const std::size_t& y) const {
        const std::size_t bit = y * m_width + x;
        return (m_bits[bit / 8] >> (bit % 8)) & 1U;
    }

    void set(const std::size_t& x, const std::size_t& y, bool value) {
        const std::size_t bit = y * m_width + x;
        const auto flag = static_cast<unsigned char>(1U << (bit % 8));
        if (value)
            m_bits[bit / 8] |= flag;
        else
            m_bits[bit / 8] &= static_cast<unsigned char>(~flag);
    }

  private:
    std::vector<unsigned char> m_bits;
    std::size_t m_width = 0;
};

} // namespace Orvane
