// Triangle search over an index of the edges by endpoint pair and by vertex.
//
// Everything a walk over all ordered edge triples (i, n, a) would write comes from
// the triples in which one of its eight tests holds: edge n shares an end S with
// edge i, and edge a joins the other end O of i to the far end W of n. For one edge
// i and one choice of S these triples are exactly the pairs (n, a) with n between S
// and W and a between O and W, for each vertex W next to both S and O (S and O
// themselves included when self-loops make them so). Each such pair satisfies at
// least one test, and the walk skips it only when its three edges are all marked.
// Marks are only ever added, so whatever is "all marked" now stays so: the search
// visits the groups' edges in the walk's order and jumps over runs of marked edges.
// Every triple it visits writes a triangle and marks at least one new edge, so the
// visits number at most the edges; the rest of the work is finding the groups.
#include "model/triangle_search.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <numeric>
#include <utility>

namespace {

struct Neighbor {
    int vertex;  // dense vertex number
    int pair;    // the endpoint pair joining the two
};

// For one edge i: the edges n between S and one W, and the edges a between O and
// that W. Only i's own endpoint pair is reached from both ends of i (as W = O from
// S and as W = S from O), so only that group carries a second list of edges a.
struct Group {
    int nPair;
    int aPairs[2];
    int cursor;  // position in m_byPair of the next edge n to consider
};

class Search {
public:
    Search(std::span<const std::int32_t> from, std::span<const std::int32_t> to, std::span<std::int32_t> used)
        : m_from(from), m_to(to), m_used(used), m_edges(static_cast<int>(from.size()))
    {
    }

    std::vector<TriangleCorners> Run()
    {
        std::fill(m_used.begin(), m_used.end(), 0);
        if (m_edges < 3) return {};
        BuildIndex();
        for (int i = 0; i < m_edges; ++i) SearchFrom(i);
        return std::move(m_triangles);
    }

private:
    void BuildIndex()
    {
        const auto count = static_cast<std::size_t>(m_edges);
        // Vertex numbers are renumbered densely so the index does not depend on their range.
        std::vector<std::int32_t> vertices(m_from.begin(), m_from.end());
        vertices.insert(vertices.end(), m_to.begin(), m_to.end());
        std::sort(vertices.begin(), vertices.end());
        vertices.erase(std::unique(vertices.begin(), vertices.end()), vertices.end());
        auto dense = [&](std::int32_t v) {
            return static_cast<int>(std::lower_bound(vertices.begin(), vertices.end(), v) - vertices.begin());
        };
        m_denseFrom.resize(count);
        m_denseTo.resize(count);
        std::vector<std::uint64_t> key(count);
        for (std::size_t j = 0; j < count; ++j) {
            m_denseFrom[j] = dense(m_from[j]);
            m_denseTo[j] = dense(m_to[j]);
            const auto lo = static_cast<std::uint64_t>(std::min(m_denseFrom[j], m_denseTo[j]));
            const auto hi = static_cast<std::uint64_t>(std::max(m_denseFrom[j], m_denseTo[j]));
            key[j] = lo << 32 | hi;
        }

        // Edges grouped by their unordered endpoint pair, each group in index order.
        m_byPair.resize(count);
        std::iota(m_byPair.begin(), m_byPair.end(), 0);
        std::stable_sort(m_byPair.begin(), m_byPair.end(), [&](int a, int b) { return key[a] < key[b]; });
        m_pairOf.resize(count);
        m_position.resize(count);
        m_pairStart.clear();
        for (int p = 0; p < m_edges; ++p) {
            const int j = m_byPair[p];
            if (p == 0 || key[j] != key[m_byPair[p - 1]]) m_pairStart.push_back(p);
            m_pairOf[j] = static_cast<int>(m_pairStart.size()) - 1;
            m_position[j] = p;
        }
        const int pairs = static_cast<int>(m_pairStart.size());
        m_pairStart.push_back(m_edges);
        m_skip.resize(count + 1);
        std::iota(m_skip.begin(), m_skip.end(), 0);

        // Per vertex, its distinct neighbours (itself for a self-loop), ordered by number.
        m_neighborStart.assign(vertices.size() + 1, 0);
        auto ends = [&](int pair) {
            const int j = m_byPair[m_pairStart[pair]];
            return std::pair(m_denseFrom[j], m_denseTo[j]);
        };
        for (int p = 0; p < pairs; ++p) {
            auto [u, w] = ends(p);
            ++m_neighborStart[u + 1];
            if (u != w) ++m_neighborStart[w + 1];
        }
        std::partial_sum(m_neighborStart.begin(), m_neighborStart.end(), m_neighborStart.begin());
        m_neighbors.resize(static_cast<std::size_t>(m_neighborStart.back()));
        std::vector<int> fill(m_neighborStart.begin(), m_neighborStart.end() - 1);
        for (int p = 0; p < pairs; ++p) {
            auto [u, w] = ends(p);
            m_neighbors[fill[u]++] = {w, p};
            if (u != w) m_neighbors[fill[w]++] = {u, p};
        }
        for (std::size_t v = 0; v < vertices.size(); ++v)
            std::sort(m_neighbors.begin() + m_neighborStart[v], m_neighbors.begin() + m_neighborStart[v + 1],
                      [](const Neighbor& a, const Neighbor& b) { return a.vertex < b.vertex; });
    }

    int PairBetween(int u, int w) const
    {
        auto first = m_neighbors.begin() + m_neighborStart[u], last = m_neighbors.begin() + m_neighborStart[u + 1];
        auto it = std::lower_bound(first, last, w, [](const Neighbor& n, int v) { return n.vertex < v; });
        return it != last && it->vertex == w ? it->pair : -1;
    }

    int PairSize(int pair) const { return m_pairStart[pair + 1] - m_pairStart[pair]; }

    void SearchFrom(int i)
    {
        CollectGroups(i);
        // The groups' edges n, merged in index order. A group's key is a lower bound
        // of its next edge n (marks only ever rule edges out), so a popped key is
        // checked again and pushed back when it has moved on.
        m_heap.clear();
        auto push = [&](int n, int g) {
            m_heap.emplace_back(n, g);
            std::push_heap(m_heap.begin(), m_heap.end(), std::greater<>());
        };
        for (int g = 0; g < static_cast<int>(m_groups.size()); ++g)
            if (int n = NextN(m_groups[g], i); n >= 0) push(n, g);
        while (!m_heap.empty()) {
            std::pop_heap(m_heap.begin(), m_heap.end(), std::greater<>());
            const auto [key, g] = m_heap.back();
            m_heap.pop_back();
            Group& group = m_groups[g];
            const int n = NextN(group, i);
            if (n < 0) continue;
            if (n != key) {
                push(n, g);
                continue;
            }
            WalkA(group, i, n);
            ++group.cursor;
            if (int next = NextN(group, i); next >= 0) push(next, g);
        }
    }

    void CollectGroups(int i)
    {
        m_groups.clear();
        m_ownPairGroup = -1;
        const int f = m_denseFrom[i], t = m_denseTo[i];
        CollectSide(i, t, f);
        if (f != t) CollectSide(i, f, t);
    }

    // Groups for edges n that meet edge i at s; o is i's other end. The common
    // neighbours of s and o are found from the side with fewer of them.
    void CollectSide(int i, int s, int o)
    {
        const int sCount = m_neighborStart[s + 1] - m_neighborStart[s];
        const int oCount = m_neighborStart[o + 1] - m_neighborStart[o];
        if (sCount <= oCount) {
            for (int k = m_neighborStart[s]; k < m_neighborStart[s + 1]; ++k)
                if (int aPair = PairBetween(o, m_neighbors[k].vertex); aPair >= 0)
                    AddGroup(i, m_neighbors[k].pair, aPair);
        } else {
            for (int k = m_neighborStart[o]; k < m_neighborStart[o + 1]; ++k)
                if (int nPair = PairBetween(s, m_neighbors[k].vertex); nPair >= 0)
                    AddGroup(i, nPair, m_neighbors[k].pair);
        }
    }

    void AddGroup(int i, int nPair, int aPair)
    {
        // Edge a must differ from i and from n: a list with nothing else closes nothing.
        int others = PairSize(aPair) - (aPair == m_pairOf[i] ? 1 : 0) - (aPair == nPair ? 1 : 0);
        if (others < 1) return;
        if (nPair == m_pairOf[i] && m_ownPairGroup >= 0) {
            m_groups[m_ownPairGroup].aPairs[1] = aPair;
            return;
        }
        if (nPair == m_pairOf[i]) m_ownPairGroup = static_cast<int>(m_groups.size());
        m_groups.push_back({nPair, {aPair, -1}, m_pairStart[nPair]});
    }

    // The next edge n of the group whose triples the walk would not skip: any edge
    // while i is unmarked or some edge a is unmarked, otherwise only unmarked ones.
    int NextN(Group& g, int i)
    {
        const int end = m_pairStart[g.nPair + 1];
        const bool any = !m_used[i] || HasUnmarked(g.aPairs[0]) || (g.aPairs[1] >= 0 && HasUnmarked(g.aPairs[1]));
        int p = g.cursor;
        for (;;) {
            if (!any) p = FirstUnmarkedFrom(p);
            if (p >= end) {
                g.cursor = end;
                return -1;
            }
            if (m_byPair[p] != i) break;
            ++p;
        }
        g.cursor = p;
        return m_byPair[p];
    }

    // Visits the triples (i, n, a) in the order of a. Once i and n are both marked,
    // only an unmarked a keeps a triple from being skipped.
    void WalkA(const Group& g, int i, int n)
    {
        int after = -1;
        for (;;) {
            const bool unmarkedOnly = m_used[i] && m_used[n];
            int a = NextA(g.aPairs[0], after, unmarkedOnly, i, n);
            if (g.aPairs[1] >= 0) {
                const int b = NextA(g.aPairs[1], after, unmarkedOnly, i, n);
                if (b >= 0 && (a < 0 || b < a)) a = b;
            }
            if (a < 0) return;
            Visit(i, n, a);
            after = a;
        }
    }

    int NextA(int pair, int after, bool unmarkedOnly, int i, int n)
    {
        const int begin = m_pairStart[pair], end = m_pairStart[pair + 1];
        int p = static_cast<int>(std::upper_bound(m_byPair.begin() + begin, m_byPair.begin() + end, after) -
                                 m_byPair.begin());
        for (;;) {
            if (unmarkedOnly) p = FirstUnmarkedFrom(p);
            if (p >= end) return -1;
            const int a = m_byPair[p];
            if (a != i && a != n) return a;
            ++p;
        }
    }

    // One triple, exactly as the walk treats it: each of the eight tests on its own.
    void Visit(int i, int n, int a)
    {
        if (m_used[i] && m_used[n] && m_used[a]) return;
        const std::int32_t fi = m_from[i], ti = m_to[i], fn = m_from[n], tn = m_to[n], fa = m_from[a], ta = m_to[a];
        if (fi == fa && tn == ta && ti == fn) Emit(fi, ti, tn, i, n, a);
        if (fi == ta && tn == fa && ti == fn) Emit(fi, ti, tn, i, n, a);
        if (ti == tn && fn == ta && fi == fa) Emit(fi, ti, fn, i, n, a);
        if (fn == fa && ti == tn && fi == ta) Emit(fi, ti, fn, i, n, a);
        if (ti == fa && fi == fn && tn == ta) Emit(ti, fi, tn, i, n, a);
        if (ti == ta && fi == fn && tn == fa) Emit(ti, fi, tn, i, n, a);
        if (fi == tn && ti == fa && fn == ta) Emit(ti, fi, fn, i, n, a);
        if (fi == tn && ti == ta && fn == fa) Emit(ti, fi, fn, i, n, a);
    }

    void Emit(std::int32_t first, std::int32_t second, std::int32_t third, int i, int n, int a)
    {
        m_triangles.push_back({first, second, third});
        Mark(i);
        Mark(n);
        Mark(a);
    }

    void Mark(int e)
    {
        if (m_used[e]) return;
        m_used[e] = 1;
        m_skip[m_position[e]] = m_position[e] + 1;
    }

    // The first position at or after p whose edge is unmarked (m_edges when none).
    int FirstUnmarkedFrom(int p)
    {
        while (m_skip[p] != p) {
            m_skip[p] = m_skip[m_skip[p]];
            p = m_skip[p];
        }
        return p;
    }

    bool HasUnmarked(int pair) { return FirstUnmarkedFrom(m_pairStart[pair]) < m_pairStart[pair + 1]; }

    std::span<const std::int32_t> m_from, m_to;
    std::span<std::int32_t> m_used;
    int m_edges;
    std::vector<int> m_denseFrom, m_denseTo;
    std::vector<int> m_pairOf;         // edge -> its endpoint pair
    std::vector<int> m_pairStart;      // pair -> first position in m_byPair, plus the end
    std::vector<int> m_byPair;         // edges ordered by endpoint pair, then by index
    std::vector<int> m_position;       // edge -> its position in m_byPair
    std::vector<int> m_skip;           // union-find: position -> an unmarked position at or after it
    std::vector<int> m_neighborStart;  // dense vertex -> first entry in m_neighbors, plus the end
    std::vector<Neighbor> m_neighbors;
    std::vector<Group> m_groups;
    int m_ownPairGroup = -1;
    std::vector<std::pair<int, int>> m_heap;  // (next edge n, group)
    std::vector<TriangleCorners> m_triangles;
};

}  // namespace

std::vector<TriangleCorners> FindTriangles(std::span<const std::int32_t> from, std::span<const std::int32_t> to,
                                           std::span<std::int32_t> used)
{
    return Search(from, to, used).Run();
}
