// Consistent winding for the exported triangles: neighbours cross their shared side in
// opposite directions, and closed surfaces face outwards.
#pragma once

#include <span>
#include <vector>

#include "model/triangle_search.h"

struct MeshPoint {
    float x, y, z;
};

// Pieces are the sets of triangles joined through shared sides. A piece is closed when
// every side of it belongs to exactly two of its triangles and they can all be wound to
// cross each side in opposite directions; otherwise it is open or non-manifold (a hole,
// a Moebius strip, a side shared by three or more triangles).
struct MeshPieces {
    int closed = 0;
    int open = 0;
};

// Rewinds the faces (corners are point numbers) piece by piece, walking from each
// piece's first face across shared sides - sides of exactly two faces first - so that
// each face crosses the side it was reached by opposite to the face it came from; a
// face keeps its first corner. A closed part is then turned, if need be, so that its
// signed volume is positive: normals by the right-hand rule point outwards. An open
// piece keeps the winding of its first face. Faces keep their order.
// pieceOf, when given, gets each face's piece (0, 1, ... in the order of their first faces).
MeshPieces OrientFaces(std::span<const MeshPoint> points, std::span<TriangleCorners> faces,
                       std::vector<int>* pieceOf = nullptr);

// The pieces alone, for a format that keeps the search's winding.
MeshPieces CountPieces(std::span<const MeshPoint> points, std::span<const TriangleCorners> faces);
