// Big allocations ask for large pages. Each first touch of a memory page costs a fault,
// and on a virtual machine a fault costs more than filling the page: the 64 MB of a
// million-vertex model span 16,000 small pages against 32 large ones, and the whole-model
// commands and exports, which build arrays of that size, spent half their time in faults.
// The system backs memory with large pages only where asked (madvise), so the program's
// operator new maps every block of a large page or more itself and asks for them.
// Linked into the program, the benchmarks and the app tests, not into builds with
// sanitizers, which bring their own.
//
// Freed big blocks keep their pages for the next big request rather than give them back
// at once. A virtual machine that reports free memory to its host (free page reporting,
// common in the cloud) hands every large page given back to the host, and the next first
// touch of one waits for the host: 256 MB take 0.4 s fresh against 15 ms reused. A kept
// block's pages are marked free lazily (MADV_FREE): the system takes them back only when
// memory runs short. A request takes the smallest kept block that holds it (the rest
// stays kept); when none does, the kept pages are moved (mremap: page tables, not bytes)
// into the new block, so a model whose arrays grow reuses the pages of its old arrays.
#include "app/large_pages.h"

#include <malloc.h>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#include "app/block_sizes.h"

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;
// From one large page on: a block of 4 MB less a few bytes (a click's undo window of the
// selection of a million vertices) took 11 ms in a thousand small pages, 0.5 ms in two large.
constexpr std::size_t kLargeBlock = kLargePage;

// Smaller blocks come from the C library's heap, which keeps freed memory for the next
// ones: left to itself it would map each block of more than 128 kB anew, in small pages.
const bool g_heapTuned = [] {
    ::mallopt(M_MMAP_THRESHOLD, int(kLargeBlock));
    ::mallopt(M_TRIM_THRESHOLD, int(8 * kLargeBlock));
    return true;
}();

std::mutex g_lock;
// A child forked while another thread holds the lock (the import runs in one) would wait
// on it for ever: the fork waits for the lock instead, and both sides let it go.
const bool g_forkSafe = [] {
    ::pthread_atfork([] { g_lock.lock(); }, [] { g_lock.unlock(); }, [] { g_lock.unlock(); });
    return true;
}();

// The live big blocks and their sizes. When the room is full (tens of thousands of blocks
// of 2 MB), further blocks come from the C library instead.
BlockSizes<std::size_t(1) << 15> g_live;

// The kept blocks, oldest first; at most an eighth of the machine's memory.
constexpr int kKeptBlocks = 64;
struct Kept {
    std::uintptr_t block;
    std::size_t size;
};
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

void DropKept(int k)
{
    g_keptBytes -= g_kept[k].size;
    std::copy(g_kept + k + 1, g_kept + g_keptCount, g_kept + k);
    --g_keptCount;
}

// `size` bytes from the front of kept block k, the rest kept.
std::uintptr_t TakeFront(int k, std::size_t size)
{
    const std::uintptr_t block = g_kept[k].block;
    if (g_kept[k].size == size) {
        DropKept(k);
    } else {
        g_kept[k].block += size;
        g_kept[k].size -= size;
        g_keptBytes -= size;
    }
    return block;
}

// Fresh address space of whole large pages from a large-page boundary, or 0.
std::uintptr_t MapFresh(std::size_t size)
{
    void* p = ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return 0;
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t block = (start + kLargePage - 1) & ~(kLargePage - 1);
    if (block > start) ::munmap(p, block - start);
    if (const std::uintptr_t end = start + size + kLargePage; end > block + size)
        ::munmap(reinterpret_cast<void*>(block + size), end - block - size);
    ::madvise(reinterpret_cast<void*>(block), size, MADV_HUGEPAGE);  // a hint: without it, small pages
    return block;
}

void* AllocateLarge(std::size_t size)
{
    if (size > std::size_t(1) << 62) return nullptr;  // more than any machine maps, and no rounding overflows
    const std::size_t rounded = (size + kLargePage - 1) & ~(kLargePage - 1);
    {
        const std::lock_guard<std::mutex> hold(g_lock);
        int best = -1;
        for (int k = 0; k < g_keptCount; ++k)
            if (g_kept[k].size >= rounded && (best < 0 || g_kept[k].size < g_kept[best].size)) best = k;
        if (best >= 0) {
            const std::uintptr_t block = g_kept[best].block;
            if (g_live.Remember(block, rounded)) return reinterpret_cast<void*>(TakeFront(best, rounded));
        }
    }
    const std::uintptr_t block = MapFresh(rounded);
    if (block == 0) return nullptr;
    const std::lock_guard<std::mutex> hold(g_lock);
    if (!g_live.Remember(block, rounded)) {
        ::munmap(reinterpret_cast<void*>(block), rounded);
        void* p = std::aligned_alloc(kLargePage, rounded);
        return p;
    }
    // No kept block holds it: the kept pages move in, the newest first, over its start.
    std::size_t filled = 0;
    while (g_keptCount > 0 && filled < rounded) {
        const int k = g_keptCount - 1;
        const std::size_t part = std::min(g_kept[k].size, rounded - filled);
        const std::uintptr_t from = g_kept[k].block;
        if (::mremap(reinterpret_cast<void*>(from), part, part, MREMAP_MAYMOVE | MREMAP_FIXED,
                     reinterpret_cast<void*>(block + filled)) == MAP_FAILED)
            break;  // the block keeps its fresh pages there
        TakeFront(k, part);
        filled += part;
    }
    return reinterpret_cast<void*>(block);
}

void* Allocate(std::size_t size)
{
    return size < kLargeBlock ? std::malloc(size == 0 ? 1 : size) : AllocateLarge(size);
}

// A big block of ours goes to the kept ones, the oldest kept making room; anything else to free().
void Release(void* p) noexcept
{
    const auto block = reinterpret_cast<std::uintptr_t>(p);
    std::size_t size = 0;
    if (block != 0 && block % kLargePage == 0) {
        const std::lock_guard<std::mutex> hold(g_lock);
        size = g_live.Forget(block);
    }
    if (size == 0) {
        std::free(p);
        return;
    }
    if (size > KeptLimit()) {
        ::munmap(p, size);
        return;
    }
    ::madvise(p, size, MADV_FREE);
    Kept evicted[kKeptBlocks];
    int evictedCount = 0;
    {
        const std::lock_guard<std::mutex> hold(g_lock);
        while (g_keptCount > 0 && (g_keptCount == kKeptBlocks || g_keptBytes + size > KeptLimit())) {
            evicted[evictedCount++] = g_kept[0];
            DropKept(0);
        }
        g_kept[g_keptCount++] = {block, size};
        g_keptBytes += size;
    }
    for (int k = 0; k < evictedCount; ++k) ::munmap(reinterpret_cast<void*>(evicted[k].block), evicted[k].size);
}

}  // namespace

void ReleaseKeptMemory()
{
    Kept all[kKeptBlocks];
    int count = 0;
    {
        const std::lock_guard<std::mutex> hold(g_lock);
        std::copy(g_kept, g_kept + g_keptCount, all);
        count = g_keptCount;
        g_keptCount = 0;
        g_keptBytes = 0;
    }
    for (int k = 0; k < count; ++k) ::munmap(reinterpret_cast<void*>(all[k].block), all[k].size);
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
