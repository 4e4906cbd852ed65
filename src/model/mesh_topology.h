// Which vertex pairs are joined and which triples are faces, as lookups in compressed
// adjacency lists built in linear time: the face rules are checked over millions of edges
// (opening, importing, exporting, merging), where a hash set per query would dominate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Unordered vertex pairs, each listed at its lower end.
class SideSet {
public:
    // The pairs a[j]-b[j]; every index is below vertexCount.
    SideSet(std::size_t vertexCount, std::span<const std::int32_t> a, std::span<const std::int32_t> b);
    // The sides of faces (three corners each).
    static SideSet OfFaces(std::size_t vertexCount, std::span<const std::int32_t> corners);
    bool Contains(std::int32_t a, std::int32_t b) const;
    // Whether a pair comes twice (in either order); pairs of a vertex with itself are not kept.
    bool HasRepeats() const;

private:
    SideSet() = default;
    void Build(std::size_t vertexCount, std::size_t pairs, auto&& pairAt);
    std::vector<std::int32_t> m_start;  // vertex -> its first entry, plus the end
    std::vector<std::int32_t> m_other;  // the higher ends, sorted per vertex
};

// Faces by their set of corners, whatever their corner order.
class FaceSet {
public:
    FaceSet(std::size_t vertexCount, std::span<const std::int32_t> corners);
    // The first face on the three vertices, or -1.
    std::int32_t Find(std::int32_t a, std::int32_t b, std::int32_t c) const;
    // Every face after the first on the same set of vertices (its first face's index), in face order.
    std::vector<std::pair<std::int32_t, std::int32_t>> Repeats() const;

private:
    struct Entry {
        std::int32_t mid, high, face;
        auto operator<=>(const Entry&) const = default;
    };
    std::vector<std::int32_t> m_start;  // lowest corner -> its first entry, plus the end
    std::vector<Entry> m_entries;       // sorted per lowest corner
};

// Marks the faces a command must drop: two equal corners, or the same vertices as an
// earlier face. Faces before `from` are taken as they are (they obey the rules already).
std::vector<char> RedundantFaces(std::size_t vertexCount, std::span<const std::int32_t> corners,
                                 std::size_t from = 0);

// Marks the pairs a[j]-b[j] (in that order) that join a vertex to itself or repeat an
// earlier pair in the same order.
std::vector<char> RepeatedPairs(std::size_t vertexCount, std::span<const std::int32_t> a,
                                std::span<const std::int32_t> b);
