// The triangles hidden in a wireframe: every three different vertices joined pairwise by
// edges, each listed once, in the order and corner order the exports have always used.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Vertex indices of one triangle, in the order its corners are written.
struct TriangleCorners {
    std::int32_t first, second, third;
    friend bool operator==(const TriangleCorners&, const TriangleCorners&) = default;
};

// Lists the triangles as a walk over every ordered edge triple (i, n, a) meets them, i
// outermost and a innermost: for each triple of three different edges, each of eight
// tests that holds (edge n meets edge i at one end, edge a joins the two other ends, in
// any of the stored directions) names a triangle - the end of i that n does not touch,
// the shared end, the other end of n - which is written unless its corners are not
// three different vertices or a triangle on the same three vertices came earlier.
// Duplicate edges and self-loops take part like any other edge, and change nothing.
//
// `used` (one mark per edge, the size of `from` and `to`) is cleared first; afterwards an
// edge is marked when it is a side of a listed triangle. The work grows with the number
// of edges to the power 1.5 and with the triangles, not with the cube of the edges.
std::vector<TriangleCorners> FindTriangles(std::span<const std::int32_t> from, std::span<const std::int32_t> to,
                                           std::span<std::int32_t> used);
