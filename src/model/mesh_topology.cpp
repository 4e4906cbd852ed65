// Counting sort by the lower end, then each short list sorted: linear in the pairs for
// meshes, and a binary search keeps a fan's hub (one vertex on a million edges) cheap.
#include "model/mesh_topology.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

void CountedStarts(std::vector<std::int32_t>& start, std::size_t vertexCount)
{
    // start[v + 1] holds the count of vertex v; make it the first entry of v + 1.
    for (std::size_t v = 0; v < vertexCount; ++v) start[v + 1] += start[v];
}

}  // namespace

void SideSet::Build(std::size_t vertexCount, std::size_t pairs, auto&& pairAt)
{
    m_start.assign(vertexCount + 1, 0);
    for (std::size_t j = 0; j < pairs; ++j) {
        const auto [a, b] = pairAt(j);
        if (a != b) ++m_start[static_cast<std::size_t>(std::min(a, b)) + 1];
    }
    CountedStarts(m_start, vertexCount);
    m_other.resize(static_cast<std::size_t>(m_start[vertexCount]));
    std::vector<std::int32_t> next(m_start.begin(), m_start.end() - 1);
    for (std::size_t j = 0; j < pairs; ++j) {
        const auto [a, b] = pairAt(j);
        if (a != b) m_other[static_cast<std::size_t>(next[static_cast<std::size_t>(std::min(a, b))]++)] = std::max(a, b);
    }
    for (std::size_t v = 0; v < vertexCount; ++v)
        std::sort(m_other.begin() + m_start[v], m_other.begin() + m_start[v + 1]);
}

SideSet::SideSet(std::size_t vertexCount, std::span<const std::int32_t> a, std::span<const std::int32_t> b)
{
    Build(vertexCount, std::min(a.size(), b.size()), [&](std::size_t j) { return std::pair(a[j], b[j]); });
}

SideSet SideSet::OfFaces(std::size_t vertexCount, std::span<const std::int32_t> corners)
{
    SideSet sides;
    sides.Build(vertexCount, corners.size() / 3 * 3, [&](std::size_t j) {
        const std::size_t face = j / 3, k = j % 3;
        return std::pair(corners[3 * face + k], corners[3 * face + (k + 1) % 3]);
    });
    return sides;
}

bool SideSet::Contains(std::int32_t a, std::int32_t b) const
{
    if (a == b) return false;
    const auto low = static_cast<std::size_t>(std::min(a, b));
    return std::binary_search(m_other.begin() + m_start[low], m_other.begin() + m_start[low + 1], std::max(a, b));
}

bool SideSet::HasRepeats() const
{
    for (std::size_t v = 0; v + 1 < m_start.size(); ++v)
        if (std::adjacent_find(m_other.begin() + m_start[v], m_other.begin() + m_start[v + 1]) !=
            m_other.begin() + m_start[v + 1])
            return true;
    return false;
}

FaceSet::FaceSet(std::size_t vertexCount, std::span<const std::int32_t> corners)
{
    const std::size_t faces = corners.size() / 3;
    auto sorted = [&](std::size_t f) {
        std::int32_t c[3] = {corners[3 * f], corners[3 * f + 1], corners[3 * f + 2]};
        std::sort(c, c + 3);
        return std::array{c[0], c[1], c[2]};
    };
    m_start.assign(vertexCount + 1, 0);
    for (std::size_t f = 0; f < faces; ++f) ++m_start[static_cast<std::size_t>(sorted(f)[0]) + 1];
    CountedStarts(m_start, vertexCount);
    m_entries.resize(faces);
    std::vector<std::int32_t> next(m_start.begin(), m_start.end() - 1);
    for (std::size_t f = 0; f < faces; ++f) {
        const auto c = sorted(f);
        m_entries[static_cast<std::size_t>(next[static_cast<std::size_t>(c[0])]++)] = {c[1], c[2],
                                                                                      static_cast<std::int32_t>(f)};
    }
    for (std::size_t v = 0; v < vertexCount; ++v)
        std::sort(m_entries.begin() + m_start[v], m_entries.begin() + m_start[v + 1]);
}

std::int32_t FaceSet::Find(std::int32_t a, std::int32_t b, std::int32_t c) const
{
    std::int32_t s[3] = {a, b, c};
    std::sort(s, s + 3);
    const auto first = m_entries.begin() + m_start[static_cast<std::size_t>(s[0])];
    const auto last = m_entries.begin() + m_start[static_cast<std::size_t>(s[0]) + 1];
    const auto it = std::lower_bound(first, last, Entry{s[1], s[2], INT32_MIN});
    return it != last && it->mid == s[1] && it->high == s[2] ? it->face : -1;
}

std::vector<std::pair<std::int32_t, std::int32_t>> FaceSet::Repeats() const
{
    std::vector<std::pair<std::int32_t, std::int32_t>> repeats;
    for (std::size_t v = 0; v + 1 < m_start.size(); ++v) {
        // Within a run of one set the entries are in face order: its first is the lowest face.
        auto runStart = m_start[v];
        for (auto j = m_start[v] + 1; j < m_start[v + 1]; ++j) {
            const Entry& e = m_entries[static_cast<std::size_t>(j)];
            const Entry& before = m_entries[static_cast<std::size_t>(j - 1)];
            if (e.mid != before.mid || e.high != before.high)
                runStart = j;
            else
                repeats.emplace_back(e.face, m_entries[static_cast<std::size_t>(runStart)].face);
        }
    }
    std::sort(repeats.begin(), repeats.end());
    return repeats;
}

std::vector<char> RedundantFaces(std::size_t vertexCount, std::span<const std::int32_t> corners, std::size_t from)
{
    const std::size_t faces = corners.size() / 3;
    std::vector<char> drop(faces, 0);
    for (std::size_t f = from; f < faces; ++f) {
        const std::int32_t a = corners[3 * f], b = corners[3 * f + 1], c = corners[3 * f + 2];
        drop[f] = a == b || b == c || c == a;
    }
    // Degenerate faces take no part in the sets: FaceSet sorts their corners like any other.
    const FaceSet set(vertexCount, corners);
    for (const auto& [face, first] : set.Repeats())
        if (static_cast<std::size_t>(face) >= from && !drop[static_cast<std::size_t>(first)]) drop[face] = 1;
    return drop;
}

std::vector<char> RepeatedPairs(std::size_t vertexCount, std::span<const std::int32_t> a,
                                std::span<const std::int32_t> b)
{
    const std::size_t pairs = std::min(a.size(), b.size());
    std::vector<char> repeated(pairs, 0);
    std::vector<std::int32_t> start(vertexCount + 1, 0);
    for (std::size_t j = 0; j < pairs; ++j) ++start[static_cast<std::size_t>(a[j]) + 1];
    CountedStarts(start, vertexCount);
    // Per first vertex, (second vertex, pair) in pair order: a run's first entry is its earliest pair.
    std::vector<std::pair<std::int32_t, std::int32_t>> entries(pairs);
    std::vector<std::int32_t> next(start.begin(), start.end() - 1);
    for (std::size_t j = 0; j < pairs; ++j)
        entries[static_cast<std::size_t>(next[static_cast<std::size_t>(a[j])]++)] = {b[j], static_cast<std::int32_t>(j)};
    for (std::size_t v = 0; v < vertexCount; ++v) {
        const auto first = entries.begin() + start[v], last = entries.begin() + start[v + 1];
        std::sort(first, last);
        for (auto it = first; it != last; ++it)
            if (it->first == static_cast<std::int32_t>(v) || (it != first && (it - 1)->first == it->first))
                repeated[static_cast<std::size_t>(it->second)] = 1;
    }
    return repeated;
}
