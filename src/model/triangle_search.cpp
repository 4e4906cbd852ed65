// Triangle search over the sides of the wireframe instead of over edge triples.
//
// A test of the walk names three different vertices only when its edges i, n and a lie
// on the three different sides of that triangle, and then exactly one test holds. So a
// triangle is first met at the lowest edge lying on any of its sides (as i) and the
// lowest edge on the two other sides (as n); that pair of edges is its place in the
// list, and no two triangles share it. Its corners follow from which sides i and n lie
// on, whatever their stored directions. The search therefore only needs the sides
// (unordered vertex pairs, each with the lowest edge stored on it) and their
// triangles, which it finds by the usual count-ordered walk: each side points from its
// end with fewer sides to the other, and a triangle is seen once, from its lowest end.
#include "model/triangle_search.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace {

struct Side {
    int low, high;  // dense vertex numbers, low < high
    int firstEdge;  // the lowest edge index stored on this pair
};

struct Found {
    std::uint64_t place;  // first edge of the lowest side, then of the second: the walk's order
    TriangleCorners corners;
};

std::uint64_t PairKey(std::int32_t a, std::int32_t b)
{
    const auto lo = static_cast<std::uint32_t>(std::min(a, b) ^ INT32_MIN);
    const auto hi = static_cast<std::uint32_t>(std::max(a, b) ^ INT32_MIN);
    return std::uint64_t{lo} << 32 | hi;
}

class Search {
public:
    Search(std::span<const std::int32_t> from, std::span<const std::int32_t> to) : m_from(from), m_to(to) {}

    std::vector<TriangleCorners> Run(std::span<std::int32_t> used)
    {
        std::fill(used.begin(), used.end(), 0);
        CollectSides();
        if (m_sides.size() < 3) return {};
        OrderSides();
        FindAll();
        std::sort(m_found.begin(), m_found.end(), [](const Found& a, const Found& b) { return a.place < b.place; });

        for (std::size_t j = 0; j < m_sideOf.size(); ++j)
            if (m_sideOf[j] >= 0 && m_onTriangle[static_cast<std::size_t>(m_sideOf[j])]) used[j] = 1;
        std::vector<TriangleCorners> triangles;
        triangles.reserve(m_found.size());
        for (const Found& f : m_found) triangles.push_back(f.corners);
        return triangles;
    }

private:
    // The sides, from the edges that join two different vertices; vertices are renumbered
    // densely so that nothing depends on the range of their numbers.
    void CollectSides()
    {
        // A model's indices (0 up to its vertex count) are ranked through a table, and the
        // stored edges put in order by a counting sort on their lower end; other numbers
        // (the tests' random ones) take the general way. Both give the same order.
        std::int32_t lowest = INT32_MAX, highest = INT32_MIN;
        for (std::size_t j = 0; j < m_from.size(); ++j) {
            lowest = std::min({lowest, m_from[j], m_to[j]});
            highest = std::max({highest, m_from[j], m_to[j]});
        }
        if (!m_from.empty() && lowest >= 0 && highest < kMaxTable)
            StoreByTable(static_cast<std::size_t>(highest) + 1);
        else
            StoreBySort();
        auto dense = [&](std::int32_t v) { return Dense(v); };

        m_sideOf.assign(m_from.size(), -1);
        for (std::size_t j = 0; j < m_stored.size(); ++j) {
            const auto edge = static_cast<std::size_t>(m_stored[j].second);
            if (j == 0 || m_stored[j].first != m_stored[j - 1].first) {
                const int a = dense(m_from[edge]), b = dense(m_to[edge]);
                m_sides.push_back({std::min(a, b), std::max(a, b), static_cast<int>(edge)});
            }
            m_sideOf[edge] = static_cast<int>(m_sides.size()) - 1;
        }
        m_onTriangle.assign(m_sides.size(), 0);
    }

    static constexpr std::int32_t kMaxTable = std::int32_t(1) << 26;

    void StoreBySort()
    {
        for (std::size_t j = 0; j < m_from.size(); ++j)
            if (m_from[j] != m_to[j]) m_stored.emplace_back(PairKey(m_from[j], m_to[j]), static_cast<int>(j));
        std::sort(m_stored.begin(), m_stored.end());
        for (std::size_t j = 0; j < m_stored.size(); ++j) {
            const int edge = m_stored[j].second;
            m_vertices.push_back(m_from[static_cast<std::size_t>(edge)]);
            m_vertices.push_back(m_to[static_cast<std::size_t>(edge)]);
        }
        std::sort(m_vertices.begin(), m_vertices.end());
        m_vertices.erase(std::unique(m_vertices.begin(), m_vertices.end()), m_vertices.end());
    }

    void StoreByTable(std::size_t size)
    {
        // rank[v]: v's place among the vertices that end an edge to another vertex.
        m_rank.assign(size, -1);
        std::vector<std::size_t> start(size + 1, 0);
        for (std::size_t j = 0; j < m_from.size(); ++j) {
            if (m_from[j] == m_to[j]) continue;
            m_rank[static_cast<std::size_t>(m_from[j])] = 0;
            m_rank[static_cast<std::size_t>(m_to[j])] = 0;
            ++start[static_cast<std::size_t>(std::min(m_from[j], m_to[j])) + 1];
        }
        for (std::size_t v = 0; v < size; ++v) {
            if (m_rank[v] == 0) {
                m_rank[v] = static_cast<int>(m_vertices.size());
                m_vertices.push_back(static_cast<std::int32_t>(v));
            }
            start[v + 1] += start[v];
        }
        m_stored.resize(start[size]);
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        for (std::size_t j = 0; j < m_from.size(); ++j)
            if (m_from[j] != m_to[j])
                m_stored[next[static_cast<std::size_t>(std::min(m_from[j], m_to[j]))]++] = {
                    PairKey(m_from[j], m_to[j]), static_cast<int>(j)};
        // Each lower end's few edges arrived in edge order; by key they are in the sort's order.
        for (std::size_t v = 0; v < size; ++v) {
            const auto first = m_stored.begin() + static_cast<std::ptrdiff_t>(start[v]);
            const auto last = m_stored.begin() + static_cast<std::ptrdiff_t>(start[v + 1]);
            if (last - first > 16) {
                std::sort(first, last);
                continue;
            }
            for (auto it = first; it != last; ++it)
                for (auto at = it; at != first && *at < *(at - 1); --at) std::iter_swap(at, at - 1);
        }
    }

    int Dense(std::int32_t v) const
    {
        if (!m_rank.empty()) return m_rank[static_cast<std::size_t>(v)];
        return static_cast<int>(std::lower_bound(m_vertices.begin(), m_vertices.end(), v) - m_vertices.begin());
    }

    // Each side from its end with fewer sides (ties: the lower number) to the other,
    // kept per vertex in compressed rows.
    void OrderSides()
    {
        const std::size_t count = m_vertices.size();
        std::vector<int> degree(count, 0);
        for (const Side& s : m_sides) {
            ++degree[static_cast<std::size_t>(s.low)];
            ++degree[static_cast<std::size_t>(s.high)];
        }
        auto before = [&](int a, int b) {
            const int da = degree[static_cast<std::size_t>(a)], db = degree[static_cast<std::size_t>(b)];
            return da != db ? da < db : a < b;
        };
        m_outStart.assign(count + 1, 0);
        for (const Side& s : m_sides)
            ++m_outStart[static_cast<std::size_t>(before(s.low, s.high) ? s.low : s.high) + 1];
        for (std::size_t v = 0; v < count; ++v) m_outStart[v + 1] += m_outStart[v];
        m_out.resize(m_sides.size());
        std::vector<int> fill(m_outStart.begin(), m_outStart.end() - 1);
        for (std::size_t k = 0; k < m_sides.size(); ++k) {
            const Side& s = m_sides[k];
            const bool lowFirst = before(s.low, s.high);
            const int tail = lowFirst ? s.low : s.high, head = lowFirst ? s.high : s.low;
            m_out[static_cast<std::size_t>(fill[static_cast<std::size_t>(tail)]++)] = {head, static_cast<int>(k)};
        }
    }

    void FindAll()
    {
        const std::size_t count = m_vertices.size();
        std::vector<int> stamp(count, -1), sideTo(count, -1);
        for (std::size_t u = 0; u < count; ++u) {
            const int begin = m_outStart[u], end = m_outStart[u + 1];
            for (int k = begin; k < end; ++k) {
                const auto w = static_cast<std::size_t>(m_out[static_cast<std::size_t>(k)].first);
                stamp[w] = static_cast<int>(u);
                sideTo[w] = m_out[static_cast<std::size_t>(k)].second;
            }
            for (int k = begin; k < end; ++k) {
                const auto [v, uv] = m_out[static_cast<std::size_t>(k)];
                const auto vIndex = static_cast<std::size_t>(v);
                for (int m = m_outStart[vIndex]; m < m_outStart[vIndex + 1]; ++m) {
                    const auto [w, vw] = m_out[static_cast<std::size_t>(m)];
                    if (stamp[static_cast<std::size_t>(w)] == static_cast<int>(u))
                        Add(uv, vw, sideTo[static_cast<std::size_t>(w)]);
                }
            }
        }
    }

    // One triangle from its three sides: placed and cornered by the two sides holding the
    // lowest edges, as the walk first meets it.
    void Add(int a, int b, int c)
    {
        int s[3] = {a, b, c};
        std::sort(s, s + 3, [&](int x, int y) { return Of(x).firstEdge < Of(y).firstEdge; });
        const Side& i = Of(s[0]);
        const Side& n = Of(s[1]);
        const int shared = i.low == n.low || i.low == n.high ? i.low : i.high;
        const int first = i.low == shared ? i.high : i.low;
        const int third = n.low == shared ? n.high : n.low;
        m_found.push_back({static_cast<std::uint64_t>(i.firstEdge) << 32 | static_cast<std::uint32_t>(n.firstEdge),
                           {Vertex(first), Vertex(shared), Vertex(third)}});
        for (int side : s) m_onTriangle[static_cast<std::size_t>(side)] = 1;
    }

    const Side& Of(int side) const { return m_sides[static_cast<std::size_t>(side)]; }
    std::int32_t Vertex(int dense) const { return m_vertices[static_cast<std::size_t>(dense)]; }

    std::span<const std::int32_t> m_from, m_to;
    std::vector<std::pair<std::uint64_t, int>> m_stored;  // (vertex pair, edge) of every edge that is a side
    std::vector<std::int32_t> m_vertices;                  // dense number -> vertex index
    std::vector<int> m_rank;                               // vertex index -> dense number, for a model's indices
    std::vector<Side> m_sides;
    std::vector<int> m_sideOf;                  // edge -> its side, -1 for a self-loop
    std::vector<char> m_onTriangle;             // side -> whether a triangle has it
    std::vector<int> m_outStart;                // dense vertex -> first entry in m_out, plus the end
    std::vector<std::pair<int, int>> m_out;     // (head, side) of the sides leaving each vertex
    std::vector<Found> m_found;
};

}  // namespace

std::vector<TriangleCorners> FindTriangles(std::span<const std::int32_t> from, std::span<const std::int32_t> to,
                                           std::span<std::int32_t> used)
{
    return Search(from, to).Run(used);
}
