// Big allocations ask for large pages. Each first touch of a memory page costs a fault,
// and on a virtual machine a fault costs more than filling the page: the 64 MB of a
// million-vertex model span 16,000 small pages against 32 large ones, and the whole-model
// commands and exports, which build arrays of that size, spent half their time in faults.
// The system backs memory with large pages only where asked (madvise), so the program's
// operator new asks for every block of two large pages or more. Linked into the program,
// the benchmarks and the app tests, not into builds with sanitizers, which bring their own.
#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;
constexpr std::size_t kLargeBlock = 2 * kLargePage;

void* Allocate(std::size_t size)
{
    void* p = nullptr;
    if (size >= kLargeBlock) {
        // Whole large pages from a large-page boundary, so that every page may be one.
        const std::size_t rounded = (size + kLargePage - 1) & ~(kLargePage - 1);
        p = std::aligned_alloc(kLargePage, rounded);
        if (p != nullptr) ::madvise(p, rounded, MADV_HUGEPAGE);  // a hint: without it, small pages
    } else {
        p = std::malloc(size == 0 ? 1 : size);
    }
    return p;
}

}  // namespace

void* operator new(std::size_t size)
{
    for (;;) {
        if (void* p = Allocate(size)) return p;
        // As the standard operator new: the handler may free memory, else it is bad_alloc.
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

// Both kinds of block go back through free().
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
