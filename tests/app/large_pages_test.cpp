// The program's operator new, which the app tests are linked with as the program is (not
// in builds with sanitizers, whose own allocator stands in).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <new>
#include <random>
#include <vector>

#include "app/block_sizes.h"
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
    EXPECT_EQ(::operator new(SIZE_MAX, std::nothrow), nullptr) << "rounded up, it must not wrap to nothing";
    EXPECT_EQ(::operator new(absurd, std::nothrow), nullptr);
    std::set_new_handler([] {
        g_handlerCalled = true;
        std::set_new_handler(nullptr);
    });
    EXPECT_THROW((void)::operator new(absurd), std::bad_alloc);
    EXPECT_TRUE(g_handlerCalled);
}

// Blocks of every size, freed in any order, sized or not: what a block holds survives
// until it is freed and no two live blocks share a byte, whether they came fresh, from
// the front of a kept one or were gathered from the pages of several.
TEST(LargePages, KeptPagesServeLaterBlocksWithoutSharingAByte)
{
    if (!kLinked) GTEST_SKIP() << "this build uses its sanitizers' allocator";
    ReleaseKeptMemory();
    constexpr std::size_t kMb = std::size_t(1) << 20;
    struct Live {
        unsigned char* p;
        std::size_t size;
        unsigned char mark;
    };
    auto fill = [](const Live& b) {
        for (std::size_t at = 0; at < b.size; at += 4096) b.p[at] = b.mark;
        b.p[b.size - 1] = b.mark;
    };
    auto intact = [](const Live& b) {
        for (std::size_t at = 0; at < b.size; at += 4096)
            if (b.p[at] != b.mark) return false;
        return b.p[b.size - 1] == b.mark;
    };
    std::mt19937 random(7);
    std::vector<Live> live;
    for (int step = 0; step < 400; ++step) {
        if (live.size() < 8 && random() % 3 != 0) {
            const std::size_t size = random() % 4 == 0 ? random() % (3 * kMb) + 1 : 4 * kMb + random() % (40 * kMb);
            Live b{static_cast<unsigned char*>(::operator new(size)), size, static_cast<unsigned char>(step)};
            for (const Live& other : live)
                ASSERT_TRUE(b.p + b.size <= other.p || other.p + other.size <= b.p) << "step " << step;
            fill(b);
            live.push_back(b);
        } else if (!live.empty()) {
            const std::size_t k = random() % live.size();
            ASSERT_TRUE(intact(live[k])) << "step " << step;
            if (step % 2 == 0)
                ::operator delete(live[k].p, live[k].size);
            else
                ::operator delete(live[k].p);
            live.erase(live.begin() + std::ptrdiff_t(k));
        }
        if (step % 97 == 0) ReleaseKeptMemory();
    }
    for (const Live& b : live) {
        EXPECT_TRUE(intact(b));
        ::operator delete(b.p);
    }

    // Thousands of live blocks of uneven sizes (address space only, never touched), freed
    // in a random order: each is still known as a big block of its size when it goes.
    std::vector<void*> many(2000);
    for (void*& p : many) p = ::operator new(2 * kMb + random() % (6 * kMb));
    std::shuffle(many.begin(), many.end(), random);
    for (void* p : many) ::operator delete(p);

    // Two freed blocks too small for a request each give their pages to it.
    ReleaseKeptMemory();
    void* a = ::operator new(10 * kMb);
    void* b = ::operator new(10 * kMb);
    ::operator delete(a);
    ::operator delete(b);
    EXPECT_EQ(KeptMemoryBytes(), 20 * kMb);
    auto* both = static_cast<char*>(::operator new(30 * kMb));
    EXPECT_EQ(KeptMemoryBytes(), 0u);
    std::memset(both, 3, 30 * kMb);
    EXPECT_EQ(both[30 * kMb - 1], 3);
    ::operator delete(both);
    ReleaseKeptMemory();
    EXPECT_EQ(KeptMemoryBytes(), 0u);
}

// The table of live blocks against a map, crowded into little room so that runs of
// neighbours form and every deletion moves some of them.
TEST(LargePages, TheTableOfLiveBlocksAgreesWithAMap)
{
    BlockSizes<64> table;
    std::map<std::uintptr_t, std::size_t> reference;
    std::mt19937 random(11);
    for (int step = 0; step < 20000; ++step) {
        const std::uintptr_t block = (std::uintptr_t(random() % 200) + 1) << 21;
        if (random() % 2 == 0) {
            if (reference.contains(block)) continue;
            const std::size_t size = random() % 1000 + 1;
            const bool room = reference.size() < 32;
            ASSERT_EQ(table.Remember(block, size), room) << "step " << step;
            if (room) reference[block] = size;
        } else {
            const auto found = reference.find(block);
            ASSERT_EQ(table.Forget(block), found == reference.end() ? 0 : found->second) << "step " << step;
            if (found != reference.end()) reference.erase(found);
        }
        ASSERT_EQ(table.Count(), reference.size());
    }
}

}  // namespace
