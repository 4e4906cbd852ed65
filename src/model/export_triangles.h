// The triangles every consumer of the model's surface shares: the exports, the render
// preview and the shaded 3-D view all take them from here, so they never disagree.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/formats/mesh_writer.h"

class CPolydromDoc;

// What the triangles are found among: the vertices, edges and faces, borrowed from a
// model or from a copy of one (a worker thread works on a copy while the model goes on
// changing).
struct TriangleSource {
    std::span<const float> x, y, z;
    std::span<const std::int32_t> from, to;
    std::span<const std::int32_t> faces;  // three corners each
};
TriangleSource TriangleSourceOf(const CPolydromDoc& doc);

// A copy of the model's vertices, selection, edges and faces, taken on the window's
// thread in one pass, so that a big model's triangles can be found on another thread
// while the model goes on changing (the 3-D view and the render preview do).
struct ModelCopy {
    std::vector<float> x, y, z;
    std::vector<std::int32_t> selected, from, to, faces;
};
ModelCopy CopyModel(const CPolydromDoc& doc);
TriangleSource TriangleSourceOf(const ModelCopy& copy);

// How the faces are wound: as the search lists them (the POV-Ray union, whose corner
// order has always been the search's), or per piece with closed pieces facing outwards
// (the mesh2, OBJ and STL files, and the shaded view, which shows that winding); a piece
// made only of the model's faces, wound consistently, keeps their winding instead (an
// imported mesh goes out as it came in, even a closed one wound inwards).
enum class TriangleWinding { AsFound, Outwards };

struct ExportTriangles {
    IndexedMesh mesh;                      // the export's points and faces
    std::vector<std::int32_t> vertexOf;    // the model vertex of each point
    MeshPieces pieces;
};

// Finds, indexes and winds the triangles: every three vertices joined pairwise by edges,
// except three whose sides are all sides of faces while they are no face themselves (the
// equator of a bipyramid, the apex and the diagonal of a pyramid's closed base). A model
// without faces gives exactly the search's triangles. `used`, when given (one mark per edge), gets
// the marks the search leaves. Fails with the reason IndexTriangles gives.
bool FindExportTriangles(const TriangleSource& source, TriangleWinding winding, ExportTriangles* out,
                         std::string* reason, std::span<std::int32_t> used = {});
