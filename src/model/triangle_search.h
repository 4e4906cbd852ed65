// The triangles hidden in a wireframe: every three edges that close one, found the
// way the exporters have always listed them, but without trying every edge triple.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Vertex indices of one triangle, in the order its corners are written.
struct TriangleCorners {
    std::int32_t first, second, third;
    friend bool operator==(const TriangleCorners&, const TriangleCorners&) = default;
};

// Lists the triangles exactly as a walk over every ordered edge triple (i, n, a)
// would: i outermost, a innermost; a triple of three different edges is skipped when
// all three are marked already; otherwise each of eight tests that holds (edge n
// meets edge i at one end, edge a joins the two other ends, in any of the stored
// directions) yields a triangle - the end of i that n does not touch, the shared
// end, the other end of n - and marks the three edges. Duplicate edges and
// self-loops take part like any other edge.
//
// `used` (one mark per edge, the size of `from` and `to`) is cleared first and holds
// the final marks afterwards. The work grows with the edges that share endpoints,
// not with the cube of the edge count.
std::vector<TriangleCorners> FindTriangles(std::span<const std::int32_t> from, std::span<const std::int32_t> to,
                                           std::span<std::int32_t> used);
