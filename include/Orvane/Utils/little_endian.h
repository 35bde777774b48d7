#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Orvane {

/// The unsigned number held in the `bytes` bytes at `data`, least significant byte first
/// (`bytes` at most 8). The caller has checked that the bytes are there.
std::uint64_t read_little_endian(const unsigned char* data, std::size_t bytes);

/// Appends the `bytes` least significant bytes of `value` to `out`, least significant first
/// (`bytes` at most 8); higher bytes of `value` are dropped.
void append_little_endian(std::vector<char>& out, std::uint64_t value, std::size_t bytes);

} // namespace Orvane
