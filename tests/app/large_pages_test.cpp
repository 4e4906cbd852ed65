// The program's operator new, which the app tests are linked with as the program is (not
// in builds with sanitizers, whose own allocator stands in).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>

#include "app/large_pages.h"

namespace {

#ifdef POLYDROM_LARGE_PAGES_LINKED
constexpr bool kLinked = true;
#else
constexpr bool kLinked = false;
#endif

bool g_handlerCalled = false;

TEST(LargePages, BigBlocksStartOnALargePageAndFailAsTheStandardSays)
{
    if (!kLinked) GTEST_SKIP() << "this build uses its sanitizers' allocator";
    constexpr std::size_t kBig = std::size_t(64) << 20;
    char* big = new char[kBig];
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(big) % (std::size_t(2) << 20), 0u);
    std::memset(big, 1, kBig);
    EXPECT_EQ(big[kBig - 1], 1);
    delete[] big;
    char* small = new char[100];
    std::memset(small, 2, 100);
    delete[] small;

    // More than any machine holds: an exception, or null from the nothrow form, never a
    // pointer; the new handler is asked first, and may give up by removing itself.
    const std::size_t absurd = std::size_t(1) << 62;
    EXPECT_THROW((void)::operator new(absurd), std::bad_alloc);
    EXPECT_EQ(::operator new(absurd, std::nothrow), nullptr);
    std::set_new_handler([] {
        g_handlerCalled = true;
        std::set_new_handler(nullptr);
    });
    EXPECT_THROW((void)::operator new(absurd), std::bad_alloc);
    EXPECT_TRUE(g_handlerCalled);
}

// A freed big block serves the next big request it holds without wasting half of itself,
// whole; what is kept goes back to the system when asked.
TEST(LargePages, FreedBigBlocksAreKeptForTheNextBigRequest)
{
    if (!kLinked) GTEST_SKIP() << "this build uses its sanitizers' allocator";
    ReleaseKeptMemory();
    constexpr std::size_t kMb = std::size_t(1) << 20;
    char* first = new char[64 * kMb];
    std::memset(first, 1, 64 * kMb);
    delete[] first;
    EXPECT_GE(KeptMemoryBytes(), 64 * kMb);
    char* tooSmallForIt = new char[20 * kMb];  // would waste more than it holds
    EXPECT_NE(tooSmallForIt, first);
    char* again = new char[40 * kMb + 1];
    EXPECT_EQ(again, first);
    EXPECT_EQ(KeptMemoryBytes(), 0u);
    std::memset(again, 2, 40 * kMb + 1);
    delete[] again;
    delete[] tooSmallForIt;
    EXPECT_GE(KeptMemoryBytes(), 84 * kMb);
    ReleaseKeptMemory();
    EXPECT_EQ(KeptMemoryBytes(), 0u);
}

}  // namespace
