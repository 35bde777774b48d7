#include <Orvane/Assets/Bitmap_2.h>

namespace Orvane {

Bitmap_2::Bitmap_2(const std::size_t& width, const std::size_t& height, const bool& value)
    : m_bits((width * height) / 8 + 1, value ? 0xFF : 0x00), m_width(width) {}

std::size_t Bitmap_2::height() const { return m_width == 0 ? 0 : m_bits.size() * 8 / m_width; }

} // namespace Orvane
