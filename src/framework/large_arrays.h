// Arrays of a big model: millions of entries, filled once as a file is read or the
// history takes its copy.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Room for n entries, in memory the system may back with large pages: each first touch of
// a page costs a fault, and a model of a million vertices spans some 40,000 small pages
// against 80 large ones. A hint only; any array works without it.
template <typename T>
void ReserveLarge(std::vector<T>& array, std::size_t n)
{
    array.reserve(n);
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = std::uintptr_t(2) << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(array.data());
    const std::uintptr_t end = begin + n * sizeof(T);
    const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1), last = end & ~(kLargePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}
