// The indexed triangle search against the plain triple walk: worked examples and
// many random edge sets full of shared, repeated and self-looping edges.
#include <gtest/gtest.h>

#include <random>
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

// The search must list the same triangles in the same order and leave the same marks
// as the plain walk, starting from stale marks that must not carry over.
void ExpectSameAsWalk(const Edges& edges)
{
    std::vector<std::int32_t> from, to;
    for (auto [f, t] : edges) {
        from.push_back(f);
        to.push_back(t);
    }
    const WalkResult expected = ReferenceTriangleWalk(from, to);
    std::vector<std::int32_t> marks(edges.size(), 1);
    ASSERT_TRUE(FindTriangles(from, to, marks) == expected.triangles) << Describe(edges);
    ASSERT_EQ(marks, expected.marks) << Describe(edges);
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
        // The closed tetrahedron: face 1-2-3 is met only when its edges are all marked.
        {{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}, {3, 1}}, {{1, 0, 2}, {1, 0, 3}, {2, 0, 3}}},
        {{{0, 1}, {1, 2}, {2, 0}, {0, 1}}, {{0, 1, 2}, {1, 2, 0}}},  // an edge stored twice
        {{{1000000, 7}, {7, 123456789}, {123456789, 1000000}}, {{1000000, 7, 123456789}}},
    };
    for (const auto& c : cases) ExpectTriangles(c.edges, c.triangles);
    // Three self-loops on one vertex: the first triple satisfies all eight tests.
    ExpectTriangles({{4, 4}, {4, 4}, {4, 4}}, Corners(8, {4, 4, 4}));
    // A self-loop and a doubled edge: degenerate, but written as the walk writes it.
    ExpectSameAsWalk({{0, 0}, {0, 1}, {1, 0}});
    // Edge 5 closes a triangle with two edges already marked by an earlier one.
    ExpectSameAsWalk({{0, 1}, {1, 2}, {2, 0}, {0, 3}, {3, 1}, {1, 0}, {2, 0}, {2, 1}});
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
