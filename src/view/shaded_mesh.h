// What the shaded 3-D view draws, as flat arrays ready for the graphics card: every
// triangle the export writes, wound as the export winds it, one entry per corner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/export_triangles.h"
#include "view/orbit_camera.h"

class CPolydromDoc;

struct ShadedMesh {
    // Per corner: x, y, z and the tint (1 when all three corners of its triangle are
    // selected); three corners per triangle, in the export's winding.
    static constexpr int kCornerFloats = 4;
    std::vector<float> corners;
    // x, y, z of every selected vertex that is a corner of a triangle.
    std::vector<float> marks;
    ModelBounds bounds;  // of the triangles, for fitting and the depth range
    int triangles = 0;
    int closedPieces = 0, openPieces = 0;
    std::string note;  // why nothing is drawn: no triangles, or a point that is not a number
};

ShadedMesh BuildShadedMesh(const ModelCopy& source);
