#pragma once

// Counts the heap allocations of a benchmark program. Include it in exactly one source file of
// the program: it defines the program's own operator new and delete.

#include <cstddef>
#include <cstdlib>
#include <new>

namespace Orvane::Bench {

/// Heap allocations made by this program so far.
inline std::size_t allocations = 0;

} // namespace Orvane::Bench

// GCC takes the free() of memory that this operator new got from malloc() for a mismatch once
// both are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++Orvane::Bench::allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
