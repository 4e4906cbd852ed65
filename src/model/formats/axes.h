// Between the model's axes and those of the files other programs exchange.
//
// The views draw larger Y lower on the screen (along Z: X across, Y down; along Y: X
// across, Z down), while OBJ, glTF, PLY and most modellers take Y as up and STL and CAD
// programs Z. A half turn about X, (x, y, z) -> (x, -y, -z), at the import and export
// boundary shows a Y-up mesh upright in the view along Z and a Z-up one upright in the
// view along Y, and the exports upright in those programs. It is a rotation, not a
// mirror, so windings and outward normals survive, and it is its own inverse: import
// followed by export gives the file's coordinates back bit for bit.
#pragma once

#include <string>

struct ImportedMesh;

enum class AxisConversion {
    AsStored,   // the file's coordinates are the model's
    Converted,  // the half turn about X between them
};

// One coordinate turned: exact for every value, and a zero comes out as +0, so that
// "0" in a file stays "0" (not "-0") both ways.
inline float HalfTurned(float value) { return 0.0f - value; }

// The import's placement of a mesh read from a file: its coordinates multiplied by
// scale (the file's units to the model's), then turned when axes says so. Fails with
// the reason, leaving the mesh as it was, when scale is not a positive finite number or
// would take a coordinate beyond what a vertex holds (too large, or a non-zero one
// shrunk below the smallest normal float).
bool PlaceImportedMesh(ImportedMesh& mesh, double scale, AxisConversion axes, std::string* reason);

// The extent of the mesh along X, Y and Z (zero for an empty mesh).
struct MeshSize {
    double x = 0, y = 0, z = 0;
};
MeshSize SizeOf(const ImportedMesh& mesh);

// "0.2 x 0.1 x 0.05": a size as the import dialog shows it.
std::string DescribeSize(const MeshSize& size);
// The import dialog's hint: "The mesh is 0.2 x 0.1 x 0.05 units: scale 100 makes it
// 20 x 10 x 5.", or what is wrong with the scale.
std::string ScaleHint(const MeshSize& size, double scale);
