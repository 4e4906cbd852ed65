// Big test meshes for the benchmarks: a torus grid whose every vertex has three edges
// and two triangles, as a closed scanned or subdivided surface has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BigMesh {
    std::vector<float> x, y, z;
    std::vector<std::int32_t> sel;
    std::vector<std::int32_t> from, to;
    // Three corners per triangle, wound outwards.
    std::vector<std::int32_t> corners;

    std::size_t Vertices() const { return x.size(); }
    std::size_t Edges() const { return from.size(); }
    std::size_t Faces() const { return corners.size() / 3; }
};

// A torus of rings x segments vertices (each at least 3) centred on the origin, its
// outer diameter about `across` model units, lying in the view's X-Y plane with depth
// in Z. Every vertex starts one edge around the ring, one along the tube and one across
// the grid's diagonal, and two triangles: 3 edges and 2 faces per vertex.
// Every selectEvery-th vertex is selected (0: none).
BigMesh TorusGrid(int rings, int segments, float across = 900.0f, int selectEvery = 0);

// The bytes of the model file holding the mesh: the counts, the vertex and edge arrays,
// and the face block when withFaces is set and the mesh has faces.
std::string ModelFileBytes(const BigMesh& mesh, bool withFaces = true);

// Writes the bytes to a file in the system's temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);
