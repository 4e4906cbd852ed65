// The mesh writers' common ground: the indexed mesh they read and their interface.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/float_text.h"
#include "model/mesh_export.h"
#include "model/mesh_orientation.h"
#include "model/triangle_search.h"

// The export's triangles over the vertices they use. Points are numbered in the order
// the triangles first use them; faces keep the search's order, and its corner order
// until they are wound (OrientFaces).
struct IndexedMesh {
    std::vector<MeshPoint> points;
    std::vector<TriangleCorners> faces;  // corners are point numbers
};

// Builds the indexed mesh of the triangles over the vertex arrays (one entry per
// model vertex). Fails with a reason when a corner names no vertex or has a
// coordinate that is not a finite number: no reader takes "inf" or "nan", and the
// reason names the first such vertex the triangles meet.
bool IndexTriangles(std::span<const float> x, std::span<const float> y, std::span<const float> z,
                    std::span<const TriangleCorners> triangles, IndexedMesh* mesh, std::string* reason);

class MeshWriter {
public:
    virtual ~MeshWriter() = default;
    // The whole file's bytes. A format that cannot hold this mesh returns false and
    // says why ("no triangles to export ...").
    virtual bool Write(const IndexedMesh& mesh, std::string* bytes, std::string* reason) const = 0;
};

// The writers the table of formats (mesh_formats.cpp) names, one per file.
std::unique_ptr<MeshWriter> MakePovUnionWriter();
std::unique_ptr<MeshWriter> MakePovMesh2Writer();
std::unique_ptr<MeshWriter> MakeObjWriter();
std::unique_ptr<MeshWriter> MakeStlWriter();

// "1 triangle", "2 triangles": the count heading the text formats.
std::string Counted(std::size_t count, const char* one, const char* many);

// The OBJ coordinate text: the shortest text when a fast reader (one that reads the
// integer and fraction digits apart, as the Open Asset Import Library does) takes it
// back exactly, otherwise a slightly longer text that it does ("15.64355946").
void AppendObjFloat(std::string& out, float value);
