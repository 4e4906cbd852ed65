// The triangle search against the plain triple walk: worked examples and many random
// edge sets full of shared, repeated and self-looping edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/triangle_search.h"
#include "reference_triangle_walk.h"

namespace {

using Edges = std::vector<std::pair<int, int>>;
using Corners = std::vector<TriangleCorners>;

std::string Describe(const Edges& edges)
{
    std::ostringstream s;
    for (auto [f, t] : edges) s << '(' << f << ',' << t << ')';
    return s.str();
}

// Every set of three different vertices joined pairwise, found by trying them all.
std::set<std::array<int, 3>> AllTriangles(const Edges& edges)
{
    std::set<std::pair<int, int>> joined;
    std::set<int> vertices;
    for (auto [f, t] : edges) {
        joined.insert({std::min(f, t), std::max(f, t)});
        vertices.insert({f, t});
    }
    const std::vector<int> v(vertices.begin(), vertices.end());
    std::set<std::array<int, 3>> result;
    for (std::size_t a = 0; a < v.size(); ++a)
        for (std::size_t b = a + 1; b < v.size(); ++b)
            for (std::size_t c = b + 1; c < v.size(); ++c)
                if (joined.count({v[a], v[b]}) && joined.count({v[b], v[c]}) && joined.count({v[a], v[c]}))
                    result.insert({v[a], v[b], v[c]});
    return result;
}

// The search must list the same triangles in the same order and leave the same marks
// as the plain walk, starting from stale marks that must not carry over; and the
// triangles must be every triangle of the edges, once each.
void ExpectSameAsWalk(const Edges& edges)
{
    std::vector<std::int32_t> from, to;
    for (auto [f, t] : edges) {
        from.push_back(f);
        to.push_back(t);
    }
    const WalkResult expected = ReferenceTriangleWalk(from, to);
    std::vector<std::int32_t> marks(edges.size(), 1);
    const Corners found = FindTriangles(from, to, marks);
    ASSERT_TRUE(found == expected.triangles) << Describe(edges);
    ASSERT_EQ(marks, expected.marks) << Describe(edges);

    std::set<std::array<int, 3>> distinct;
    for (const TriangleCorners& t : found) {
        std::array<int, 3> v{t.first, t.second, t.third};
        std::sort(v.begin(), v.end());
        distinct.insert(v);
    }
    ASSERT_EQ(distinct.size(), found.size()) << "a triangle listed twice: " << Describe(edges);
    ASSERT_EQ(distinct, AllTriangles(edges)) << Describe(edges);
}

void ExpectTriangles(const Edges& edges, const Corners& expected)
{
    std::vector<std::int32_t> from, to;
    for (auto [f, t] : edges) {
        from.push_back(f);
        to.push_back(t);
    }
    EXPECT_EQ(ReferenceTriangleWalk(from, to).triangles, expected) << "the walk disagrees: " << Describe(edges);
    ExpectSameAsWalk(edges);
}

TEST(TriangleSearch, WorkedExamples)
{
    const struct {
        Edges edges;
        Corners triangles;
    } cases[] = {
        {{}, {}},
        {{{0, 1}, {1, 2}, {2, 3}, {3, 0}}, {}},                   // a quadrilateral without diagonal
        {{{9, 5}, {5, 2}, {2, 9}}, {{9, 5, 2}}},                  // as Connect makes it
        {{{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}}, {{0, 1, 2}, {2, 3, 0}}},  // square with diagonal
        // The closed tetrahedron: face 1-2-3 comes last, where the walk first meets it.
        {{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}, {3, 1}}, {{1, 0, 2}, {1, 0, 3}, {2, 0, 3}, {1, 2, 3}}},
        {{{0, 1}, {1, 2}, {2, 0}, {0, 1}}, {{0, 1, 2}}},  // an edge stored twice: the triangle once
        // Connect on 2, 5, 6 and then on 2, 6, 7 stores their shared side twice, as (2,6) and (6,2).
        {{{6, 5}, {5, 2}, {2, 6}, {7, 6}, {6, 2}, {2, 7}}, {{6, 5, 2}, {2, 6, 7}}},
        // The same triangle connected three times, and once more against the stored directions.
        {{{2, 1}, {1, 0}, {0, 2}, {2, 1}, {1, 0}, {0, 2}, {1, 2}, {0, 1}, {2, 0}}, {{2, 1, 0}}},
        {{{1000000, 7}, {7, 123456789}, {123456789, 1000000}}, {{1000000, 7, 123456789}}},
        // Self-loops name no triangle, alone or beside a doubled edge.
        {{{4, 4}, {4, 4}, {4, 4}}, {}},
        {{{0, 0}, {0, 1}, {1, 0}}, {}},
        {{{0, 0}, {0, 1}, {1, 2}, {2, 2}, {2, 0}, {1, 1}}, {{0, 1, 2}}},
        // Two triangles sharing side 0-1, the second closed by edges stored after a repeat of it.
        {{{0, 1}, {1, 2}, {2, 0}, {0, 3}, {3, 1}, {1, 0}, {2, 0}, {2, 1}}, {{0, 1, 2}, {1, 0, 3}}},
        // Negative vertex numbers order like any others.
        {{{-5, 3}, {3, -7}, {-7, -5}}, {{-5, 3, -7}}},
    };
    for (const auto& c : cases) ExpectTriangles(c.edges, c.triangles);
}

TEST(TriangleSearch, EachOfTheEightTestsGivesItsCornerOrder)
{
    // The first triple that holds is edges (0, 1, 2) as (i, n, a); in each case only
    // the named test holds, and the corners come out as 0, 1, 2.
    const Edges cases[8] = {
        {{0, 1}, {1, 2}, {0, 2}},  // 1: Fn=Ti, a from Fi to Tn
        {{0, 1}, {1, 2}, {2, 0}},  // 2: Fn=Ti, a from Tn to Fi
        {{0, 1}, {2, 1}, {0, 2}},  // 3: Tn=Ti, a from Fi to Fn
        {{0, 1}, {2, 1}, {2, 0}},  // 4: Tn=Ti, a from Fn to Fi
        {{1, 0}, {1, 2}, {0, 2}},  // 5: Fn=Fi, a from Ti to Tn
        {{1, 0}, {1, 2}, {2, 0}},  // 6: Fn=Fi, a from Tn to Ti
        {{1, 0}, {2, 1}, {0, 2}},  // 7: Tn=Fi, a from Ti to Fn
        {{1, 0}, {2, 1}, {2, 0}},  // 8: Tn=Fi, a from Fn to Ti
    };
    for (const Edges& edges : cases) ExpectTriangles(edges, {{0, 1, 2}});
}

Edges RandomEdges(std::mt19937& rng, int vertices, int edges)
{
    std::uniform_int_distribution<int> vertex(0, vertices - 1);
    Edges result;
    for (int k = 0; k < edges; ++k) result.emplace_back(vertex(rng), vertex(rng));
    return result;
}

TEST(TriangleSearch, MatchesTheWalkOnRandomEdgeSets)
{
    // Few vertices make repeated edges, self-loops, shared edges and closed solids common.
    std::mt19937 rng(20240611);
    for (int round = 0; round < 4000 && !HasFatalFailure(); ++round)
        ExpectSameAsWalk(RandomEdges(rng, 1 + round % 7, static_cast<int>(rng() % 24)));
    for (int round = 0; round < 150 && !HasFatalFailure(); ++round)
        ExpectSameAsWalk(RandomEdges(rng, 4 + static_cast<int>(rng() % 12), 20 + static_cast<int>(rng() % 60)));

    // Triangles of a small grid, every edge stored once to three times in either
    // direction, shuffled: many triangles share edges that are already marked.
    for (int round = 0; round < 200 && !HasFatalFailure(); ++round) {
        Edges edges;
        const int side = 2 + round % 3;
        for (int r = 0; r < side; ++r)
            for (int c = 0; c < side; ++c) {
                const int v = r * (side + 1) + c;
                for (auto [f, t] : Edges{{v, v + 1}, {v, v + side + 1}, {v + 1, v + side + 1}}) {
                    const int copies = 1 + static_cast<int>(rng() % 3);
                    for (int k = 0; k < copies; ++k) edges.emplace_back(rng() % 2 ? std::pair(f, t) : std::pair(t, f));
                }
            }
        std::shuffle(edges.begin(), edges.end(), rng);
        ExpectSameAsWalk(edges);
    }
}

}  // namespace
