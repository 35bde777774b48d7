#pragma once

#include <cstddef>
#include <string_view>

namespace Orvane::Third_party {

/// Decompresses one raw LZ4 block of `source_size` bytes into `destination`, which holds
/// `expected_size` bytes. Returns `expected_size`; any other outcome (a corrupt block, a block
/// of another size, sizes beyond what LZ4 accepts) is fatal: "LZ4 decompressed size differs from
/// expected (<result> != <expected_size>)", the result being negative for a corrupt block,
/// followed by " in <what>" when `what` (the block's entry and package) is given.
int lz4_decompress_buffer(const char* source, std::size_t source_size, char* destination,
                          std::size_t expected_size, std::string_view what = {});

} // namespace Orvane::Third_party
