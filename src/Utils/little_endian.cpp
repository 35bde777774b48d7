#include <Orvane/Utils/little_endian.h>

namespace Orvane {

std::uint64_t read_little_endian(const unsigned char* data, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        value |= std::uint64_t{data[i]} << (8 * i);
    return value;
}

void append_little_endian(std::vector<char>& out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace Orvane
