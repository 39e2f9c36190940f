#pragma once

// Included by one source file of a benchmark program: replaces the global allocation functions
// with ones that count, so that a benchmark can show that what it measures allocates nothing.

// The counting operator new below pairs malloc with free; GCC cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <atomic>
#include <cstdlib>
#include <new>

// Allocations made so far by the program.
inline std::atomic<long> g_allocations{0};

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
