// The model's rules, checked in a few passes over its arrays: a million-vertex model is
// checked on every open and every save, so each rule is first tested for the whole model
// without a branch per entry, and only a model that breaks one is walked entry by entry
// to name the first entry at fault.
#include "model/model_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/archive.h"
#include "framework/side_by_side.h"
#include "framework/wide_vectors.h"

namespace {

// Whether any value is infinite or not a number: all exponent bits set. Their sum with the
// exponent's lowest bit carries into the sign bit only then; the loops below accumulate such
// bits and maxima rather than branch, so that the compiler can take many entries a step.
WIDE_VECTORS bool AnyNotFinite(const float* values, std::size_t count)
{
    std::uint32_t carry = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, values + i, sizeof bits);
        carry |= (bits & 0x7f800000u) + 0x00800000u;
    }
    return (carry & 0x80000000u) != 0;
}

// Whether any vertex has a coordinate that is no finite number or a selection other than 0 or 1.
WIDE_VECTORS bool AnyVertexBroken(const ModelArrays& m)
{
    const auto n = std::size_t(m.vertices);
    std::uint32_t otherBits = 0;
    for (std::size_t i = 0; i < n; ++i) otherBits |= std::uint32_t(m.sel[i]) & ~1u;
    return otherBits != 0 || AnyNotFinite(m.x, n) || AnyNotFinite(m.y, n) || AnyNotFinite(m.z, n);
}

void NameBrokenVertex(const ModelArrays& m)
{
    for (int i = 0; i < m.vertices; ++i) {
        for (const auto& [axis, value] : {std::pair{"X", m.x[i]}, std::pair{"Y", m.y[i]}, std::pair{"Z", m.z[i]}})
            if (!std::isfinite(value))
                throw CArchiveException(std::string(axis) + " of vertex " + std::to_string(i) +
                                        " is not a finite number");
        if (m.sel[i] != 0 && m.sel[i] != 1)
            throw CArchiveException("vertex " + std::to_string(i) + " has selection state " + std::to_string(m.sel[i]) +
                                    " (only 0 and 1 are valid)");
    }
}

// Whether an entry of the array is no vertex; a negative one is a large unsigned value.
WIDE_VECTORS bool AnyBeyond(const std::int32_t* ends, std::size_t count, std::int32_t vertices)
{
    std::uint32_t highest = 0;
    for (std::size_t k = 0; k < count; ++k) highest = std::max(highest, std::uint32_t(ends[k]));
    return count > 0 && highest >= std::uint32_t(vertices);
}

void NameEdgeBeyond(const ModelArrays& m)
{
    for (int j = 0; j < m.edges; ++j)
        for (std::int32_t end : {m.from[j], m.to[j]})
            if (end < 0 || end >= m.vertices)
                throw CArchiveException("edge " + std::to_string(j) + " refers to vertex " + std::to_string(end) +
                                        " of " + std::to_string(m.vertices));
}

// Whether any face has a corner that is no vertex, or two equal corners.
WIDE_VECTORS bool AnyCornerBroken(const std::int32_t* face, std::size_t faces, std::int32_t vertices)
{
    std::uint32_t highest = 0, equal = 0;
    for (std::size_t k = 0; k < faces; ++k) {
        const std::int32_t* c = face + 3 * k;
        highest = std::max(highest, std::max(std::uint32_t(c[0]), std::max(std::uint32_t(c[1]), std::uint32_t(c[2]))));
        equal |= std::uint32_t(c[0] == c[1]) | std::uint32_t(c[1] == c[2]) | std::uint32_t(c[2] == c[0]);
    }
    return faces > 0 && (highest >= std::uint32_t(vertices) || equal != 0);
}

void NameBrokenFace(std::int32_t n, std::int32_t f, const std::int32_t* face)
{
    for (int k = 0; k < f; ++k) {
        const std::int32_t* c = face + 3 * std::size_t(k);
        for (int m = 0; m < 3; ++m)
            if (c[m] < 0 || c[m] >= n)
                throw CArchiveException("face " + std::to_string(k) + " refers to vertex " + std::to_string(c[m]) +
                                        " of " + std::to_string(n));
        if (c[0] == c[1] || c[1] == c[2] || c[2] == c[0])
            throw CArchiveException("face " + std::to_string(k) + " has the same vertex at two corners");
    }
}

// Calls each(k) for every k below count, taking four far apart parts in turns: a mesh's
// next entries mostly share a vertex, and a count kept for a vertex would otherwise wait
// for the one before it.
template <typename Each>
void InTurns(std::size_t count, const Each& each)
{
    const std::size_t part = count / 4;
    for (std::size_t k = 0; k < part; ++k) {
        each(k);
        each(k + part);
        each(k + 2 * part);
        each(k + 3 * part);
    }
    for (std::size_t k = 4 * part; k < count; ++k) each(k);
}

// Entries grouped by a vertex, counted out and placed in one pass each: the entries of
// vertex v are at [begin[v], begin[v + 1]), in no set order. `key(k)` is entry k's vertex,
// `place(k, at)` puts entry k at its place.
template <typename Key, typename Place>
std::vector<std::int32_t> GroupByVertex(std::int32_t n, std::size_t count, const Key& key, const Place& place)
{
    // Counted two places on, summed, then each placement moves its vertex's start one on:
    // afterwards begin[v] is where vertex v's entries start.
    std::vector<std::int32_t> begin(std::size_t(n) + 2, 0);
    InTurns(count, [&](std::size_t k) { ++begin[std::size_t(key(k)) + 2]; });
    for (std::size_t v = 2; v < begin.size(); ++v) begin[v] += begin[v - 1];
    InTurns(count, [&](std::size_t k) { place(k, begin[std::size_t(key(k)) + 1]++); });
    begin.pop_back();
    return begin;
}

// A vertex is the lowest corner of a few faces, which are compared pairwise; groups longer
// than this are sorted instead.
constexpr std::int32_t kScan = 8;

// The edges by their lower end: the higher ends of each vertex's first kSlots edges in
// slots of its own, at a place found without a lookup; those of a vertex with more are
// kept, with their lower ends, in order and searched. A vertex of a closed triangle mesh
// has six neighbours on average: three of them higher when the numbers run along the
// surface, and any number up to all six when they are shuffled.
class EdgesByLowerEnd {
public:
    static constexpr std::uint32_t kSlots = 6;

    EdgesByLowerEnd(std::int32_t n, std::size_t e, const std::int32_t* from, const std::int32_t* to)
        : m_slots(new std::int32_t[std::size_t(n) * kSlots]), m_count(std::size_t(n), 0)
    {
        InTurns(e, [&](std::size_t j) {
            const std::int32_t lo = std::min(from[j], to[j]), hi = std::max(from[j], to[j]);
            if (std::uint32_t(lo) >= std::uint32_t(n) || std::uint32_t(hi) >= std::uint32_t(n)) {
                m_beyond = true;  // an end that is no vertex (a negative one is a large unsigned value)
                return;
            }
            const std::uint32_t taken = m_count[std::size_t(lo)]++;
            if (taken < kSlots)
                m_slots[std::size_t(lo) * kSlots + taken] = hi;
            else
                m_more.push_back(Pair(lo, hi));
        });
        std::sort(m_more.begin(), m_more.end());
    }

    // An edge had an end that is no vertex; it was left out.
    bool Beyond() const { return m_beyond; }

    bool Joined(std::int32_t a, std::int32_t b) const
    {
        const auto lo = std::size_t(std::min(a, b));
        const std::int32_t hi = std::max(a, b);
        const std::uint32_t count = m_count[lo];
        const std::int32_t* slot = m_slots.get() + lo * kSlots;
        for (std::uint32_t i = 0; i < std::min(count, kSlots); ++i)
            if (slot[i] == hi) return true;
        return count > kSlots && std::binary_search(m_more.begin(), m_more.end(), Pair(std::int32_t(lo), hi));
    }

private:
    static std::uint64_t Pair(std::int32_t lo, std::int32_t hi)
    {
        return std::uint64_t(std::uint32_t(lo)) << 32 | std::uint32_t(hi);
    }

    std::unique_ptr<std::int32_t[]> m_slots;
    std::vector<std::uint32_t> m_count;  // the vertex's edges, in its slots and beyond
    std::vector<std::uint64_t> m_more;   // lower end and higher end
    bool m_beyond = false;
};

// A face's corners in order; they differ, which the check of corners made sure of.
std::array<std::int32_t, 3> Ordered(const std::int32_t* c)
{
    const std::int32_t lo = std::min(c[0], std::min(c[1], c[2]));
    const std::int32_t hi = std::max(c[0], std::max(c[1], c[2]));
    return {lo, c[0] ^ c[1] ^ c[2] ^ lo ^ hi, hi};
}

// The faces by their lowest corner: the two higher corners of each as one number, the
// middle one in its high half, so that equal faces have equal numbers.
class FacesByLowestCorner {
public:
    FacesByLowestCorner(std::int32_t n, std::size_t f, const std::int32_t* face) : m_rest(new std::uint64_t[f])
    {
        m_begin = GroupByVertex(
            n, f, [&](std::size_t k) { return Ordered(face + 3 * k)[0]; },
            [&](std::size_t k, std::int32_t at) {
                const auto corners = Ordered(face + 3 * k);
                m_rest[std::size_t(at)] = std::uint64_t(std::uint32_t(corners[1])) << 32 | std::uint32_t(corners[2]);
            });
    }

    std::uint64_t* First(std::size_t v) { return m_rest.get() + m_begin[v]; }
    std::uint64_t* Last(std::size_t v) { return m_rest.get() + m_begin[v + 1]; }

private:
    std::unique_ptr<std::uint64_t[]> m_rest;
    std::vector<std::int32_t> m_begin;
};

// What the pass over a range of vertices found.
struct FaceFindings {
    bool sideMissing = false, repeated = false;
};

// The faces whose lowest corner is in [first, last): two of a face's sides start at that
// corner, whose edges are at hand; the third is looked up elsewhere. Faces on the same
// corners have the same lowest corner, so a repeat is within one group.
FaceFindings CheckGroups(const EdgesByLowerEnd& edges, FacesByLowestCorner& faces, std::size_t first, std::size_t last)
{
    FaceFindings found;
    for (std::size_t v = first; v < last; ++v) {
        std::uint64_t *rest = faces.First(v), *restEnd = faces.Last(v);
        for (const std::uint64_t* r = rest; r != restEnd; ++r) {
            const auto b = std::int32_t(*r >> 32), c = std::int32_t(*r & 0xffffffffu);
            found.sideMissing |=
                !edges.Joined(std::int32_t(v), b) || !edges.Joined(std::int32_t(v), c) || !edges.Joined(b, c);
        }
        if (restEnd - rest > kScan) {
            std::sort(rest, restEnd);
            found.repeated |= std::adjacent_find(rest, restEnd) != restEnd;
            continue;
        }
        for (const std::uint64_t* r = rest + 1; r < restEnd; ++r)
            for (const std::uint64_t* s = rest; s < r; ++s) found.repeated |= *r == *s;
    }
    return found;
}

// Names the first side of the first face, in their order, that is no edge.
void NameMissingSide(const EdgesByLowerEnd& edges, std::int32_t f, const std::int32_t* face)
{
    for (int k = 0; k < f; ++k) {
        const std::int32_t* c = face + 3 * std::size_t(k);
        for (int m = 0; m < 3; ++m) {
            const std::int32_t a = c[m], b = c[m == 2 ? 0 : m + 1];
            if (!edges.Joined(a, b))
                throw CArchiveException("side " + std::to_string(a) + "-" + std::to_string(b) + " of face " +
                                        std::to_string(k) + " is not an edge");
        }
    }
}

// Names the faces a repeat was found among: the pair an ordering of every face by its
// corners, then by number, puts side by side first.
void NameRepeatedFace(std::int32_t n, std::int32_t f, const std::int32_t* face)
{
    struct Rest {
        std::int32_t b, c, k;
        bool operator<(const Rest& o) const { return b != o.b ? b < o.b : c != o.c ? c < o.c : k < o.k; }
    };
    std::vector<Rest> rest(std::size_t(f), Rest{});
    const std::vector<std::int32_t> begin = GroupByVertex(
        n, std::size_t(f), [&](std::size_t k) { return Ordered(face + 3 * k)[0]; },
        [&](std::size_t k, std::int32_t at) {
            const auto corners = Ordered(face + 3 * k);
            rest[std::size_t(at)] = {corners[1], corners[2], std::int32_t(k)};
        });
    for (std::size_t v = 0; v + 1 < begin.size(); ++v) {
        const auto first = rest.begin() + begin[v], last = rest.begin() + begin[v + 1];
        std::sort(first, last);
        for (auto r = first; r != last && r + 1 != last; ++r)
            if (r->b == (r + 1)->b && r->c == (r + 1)->c)
                throw CArchiveException("face " + std::to_string((r + 1)->k) + " has the same vertices as face " +
                                        std::to_string(r->k));
    }
}

// The rules of a model with faces, named in this order: edge ends and face corners that
// are vertices, three different corners, every side of every face an edge, and no two
// faces on the same three vertices. The edges are grouped by their lower end (which finds
// ends that are no vertices on the way) and the faces by their lowest corner, so that one
// pass over the vertices checks the last two rules, with a lookup elsewhere for one side
// in three. On a big model the two groupings, and then the two halves of the pass, run
// side by side.
void CheckEdgesAndFaces(const ModelArrays& m)
{
    const std::int32_t n = m.vertices, f = m.faces;
    const bool cornersBroken = AnyCornerBroken(m.face, std::size_t(f), n);
    const bool big = std::size_t(m.edges) + 3 * std::size_t(f) >= kWorkAside;
    std::unique_ptr<EdgesByLowerEnd> edges;
    std::unique_ptr<FacesByLowestCorner> faces;
    SideBySide(
        big, [&] { edges = std::make_unique<EdgesByLowerEnd>(n, std::size_t(m.edges), m.from, m.to); },
        [&] {
            if (!cornersBroken) faces = std::make_unique<FacesByLowestCorner>(n, std::size_t(f), m.face);
        });
    if (edges->Beyond()) NameEdgeBeyond(m);
    if (cornersBroken) NameBrokenFace(n, f, m.face);
    const std::size_t half = std::size_t(n) / 2;
    FaceFindings low, high;
    SideBySide(
        big, [&] { low = CheckGroups(*edges, *faces, 0, half); },
        [&] { high = CheckGroups(*edges, *faces, half, std::size_t(n)); });
    if (low.sideMissing || high.sideMissing) NameMissingSide(*edges, f, m.face);
    if (low.repeated || high.repeated) NameRepeatedFace(n, f, m.face);
}

}  // namespace

void CheckModel(const ModelArrays& m)
{
    if (AnyVertexBroken(m)) NameBrokenVertex(m);
    if (m.faces > 0) {
        CheckEdgesAndFaces(m);
        return;
    }
    if (AnyBeyond(m.from, std::size_t(m.edges), m.vertices) || AnyBeyond(m.to, std::size_t(m.edges), m.vertices))
        NameEdgeBeyond(m);
}
