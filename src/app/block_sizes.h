// The sizes of the live big blocks the program's operator new mapped, for the deletes that
// are not told the size. Open addressing over fixed room, since it is used inside operator
// new itself: it may allocate nothing. Not thread-safe; the caller holds a lock.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

template <std::size_t Slots>
class BlockSizes {
    static_assert((Slots & (Slots - 1)) == 0, "a power of two");

public:
    // Remembers a block (never 0) not remembered yet; false when half the room is taken,
    // where probing would grow long.
    bool Remember(std::uintptr_t block, std::size_t size)
    {
        if (m_count >= Slots / 2) return false;
        std::size_t k = Home(block);
        while (m_slots[k].block != 0) k = Next(k);
        m_slots[k] = {block, size};
        ++m_count;
        return true;
    }

    // The block's size, forgotten; 0 when it is not remembered.
    std::size_t Forget(std::uintptr_t block)
    {
        std::size_t k = Home(block);
        while (m_slots[k].block != block) {
            if (m_slots[k].block == 0) return 0;
            k = Next(k);
        }
        const std::size_t size = m_slots[k].size;
        // Backward-shift deletion: a later entry of the run moves into the hole unless its
        // home lies after the hole (up to where it sits), so every entry stays reachable.
        for (std::size_t next = Next(k); m_slots[next].block != 0; next = Next(next)) {
            const std::size_t home = Home(m_slots[next].block);
            const bool staysPut = k <= next ? (k < home && home <= next) : (k < home || home <= next);
            if (staysPut) continue;
            m_slots[k] = m_slots[next];
            k = next;
        }
        m_slots[k] = {};
        --m_count;
        return size;
    }

    std::size_t Count() const { return m_count; }

private:
    struct Slot {
        std::uintptr_t block = 0;
        std::size_t size = 0;
    };
    // Blocks start on large pages (2 MB): their page number, spread by Fibonacci hashing.
    static std::size_t Home(std::uintptr_t block)
    {
        return std::size_t((std::uint64_t(block) >> 21) * 0x9E3779B97F4A7C15ull >> (64 - std::countr_zero(Slots)));
    }
    static std::size_t Next(std::size_t k) { return (k + 1) & (Slots - 1); }

    Slot m_slots[Slots];
    std::size_t m_count = 0;
};
