// Big allocations ask for large pages. Each first touch of a memory page costs a fault,
// and on a virtual machine a fault costs more than filling the page: the 64 MB of a
// million-vertex model span 16,000 small pages against 32 large ones, and the whole-model
// commands and exports, which build arrays of that size, spent half their time in faults.
// The system backs memory with large pages only where asked (madvise), so the program's
// operator new asks for every block of two large pages or more. Linked into the program,
// the benchmarks and the app tests, not into builds with sanitizers, which bring their own.
//
// Freed big blocks are kept for the next big request rather than given back at once. A
// virtual machine that reports free memory to its host (free page reporting, common in
// the cloud) hands every large page given back to the host, and the next first touch of
// one waits for the host: 256 MB take 0.4 s fresh against 15 ms reused. A kept block's
// pages are marked free lazily (MADV_FREE): the system takes them back only when memory
// runs short, and until then the next command that grows an array of the model finds them
// ready.
#include "app/large_pages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;
constexpr std::size_t kLargeBlock = 2 * kLargePage;
// What is kept: a few blocks, and no more bytes than an eighth of the machine's memory.
constexpr int kKeptBlocks = 32;

struct Kept {
    void* block;
    std::size_t size;  // whole large pages
};

std::mutex g_lock;
Kept g_kept[kKeptBlocks];
int g_keptCount = 0;
std::size_t g_keptBytes = 0;

std::size_t KeptLimit()
{
    static const std::size_t limit = [] {
        const long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGESIZE);
        return pages > 0 && pageSize > 0 ? std::size_t(pages) * std::size_t(pageSize) / 8 : std::size_t(0);
    }();
    return limit;
}

std::size_t Rounded(std::size_t size)
{
    return (size + kLargePage - 1) & ~(kLargePage - 1);
}

// The smallest kept block that holds `size` without wasting more than it holds, or null.
void* TakeKept(std::size_t size)
{
    const std::lock_guard<std::mutex> hold(g_lock);
    int best = -1;
    for (int k = 0; k < g_keptCount; ++k)
        if (g_kept[k].size >= size && g_kept[k].size <= 2 * size && (best < 0 || g_kept[k].size < g_kept[best].size))
            best = k;
    if (best < 0) return nullptr;
    void* block = g_kept[best].block;
    g_keptBytes -= g_kept[best].size;
    g_kept[best] = g_kept[--g_keptCount];
    return block;
}

void* Allocate(std::size_t size)
{
    if (size < kLargeBlock) return std::malloc(size == 0 ? 1 : size);
    // Whole large pages from a large-page boundary, so that every page may be one.
    const std::size_t rounded = Rounded(size);
    if (void* kept = TakeKept(rounded)) return kept;
    void* p = std::aligned_alloc(kLargePage, rounded);
    if (p != nullptr) ::madvise(p, rounded, MADV_HUGEPAGE);  // a hint: without it, small pages
    return p;
}

// A big block goes to the kept ones, the oldest kept making room; anything else to free().
void Release(void* p) noexcept
{
    if (p == nullptr) return;
    const auto address = reinterpret_cast<std::uintptr_t>(p);
    // Only the big blocks start on a large page with that much room behind them.
    const std::size_t usable = address % kLargePage == 0 ? ::malloc_usable_size(p) : 0;
    if (usable < kLargeBlock || KeptLimit() == 0) {
        std::free(p);
        return;
    }
    const std::size_t size = usable & ~(kLargePage - 1);
    if (size > KeptLimit()) {
        std::free(p);
        return;
    }
    ::madvise(p, size, MADV_FREE);
    void* evicted[kKeptBlocks];
    int evictedCount = 0;
    {
        const std::lock_guard<std::mutex> hold(g_lock);
        while (g_keptCount > 0 && (g_keptCount == kKeptBlocks || g_keptBytes + size > KeptLimit())) {
            evicted[evictedCount++] = g_kept[0].block;
            g_keptBytes -= g_kept[0].size;
            std::copy(g_kept + 1, g_kept + g_keptCount, g_kept);
            --g_keptCount;
        }
        g_kept[g_keptCount++] = {p, size};
        g_keptBytes += size;
    }
    for (int k = 0; k < evictedCount; ++k) std::free(evicted[k]);
}

}  // namespace

void ReleaseKeptMemory()
{
    void* all[kKeptBlocks];
    int count = 0;
    {
        const std::lock_guard<std::mutex> hold(g_lock);
        for (int k = 0; k < g_keptCount; ++k) all[count++] = g_kept[k].block;
        g_keptCount = 0;
        g_keptBytes = 0;
    }
    for (int k = 0; k < count; ++k) std::free(all[k]);
}

std::size_t KeptMemoryBytes()
{
    const std::lock_guard<std::mutex> hold(g_lock);
    return g_keptBytes;
}

void* operator new(std::size_t size)
{
    for (;;) {
        if (void* p = Allocate(size)) return p;
        // As the standard operator new: what is kept goes back first, then the handler
        // may free memory, else it is bad_alloc.
        if (KeptMemoryBytes() > 0) {
            ReleaseKeptMemory();
            continue;
        }
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

void* operator new[](std::size_t size)
{
    return ::operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return ::operator new(size, std::nothrow);
}

void operator delete(void* p) noexcept
{
    Release(p);
}
void operator delete[](void* p) noexcept
{
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    Release(p);
}
