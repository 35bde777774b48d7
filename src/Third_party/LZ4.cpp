#include <climits>
#include <string>

#include <lz4.h>

#include <Orvane/Third_party/LZ4.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Third_party {

int lz4_decompress_buffer(const char* source, std::size_t source_size, char* destination,
                          std::size_t expected_size, std::string_view what) {
    int result = -1;
    // LZ4 counts in int: larger blocks cannot be ours.
    if (source_size <= INT_MAX && expected_size <= INT_MAX)
        result = LZ4_decompress_safe(source, destination, static_cast<int>(source_size),
                                     static_cast<int>(expected_size));
    ORVANE_CHECK(result >= 0 && static_cast<std::size_t>(result) == expected_size,
          "LZ4 decompressed size differs from expected (" + std::to_string(result) +
              " != " + std::to_string(expected_size) + ")" +
              (what.empty() ? std::string() : " in " + std::string(what)));
    return result;
}

} // namespace Orvane::Third_party
