// The program's operator new, which the app tests are linked with as the program is (not
// in builds with sanitizers, whose own allocator stands in).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>

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

}  // namespace
