// The exported surfaces read back from every format: each triangle of the edges exactly
// once, and in the mesh formats a consistent winding with closed pieces facing outwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "mesh_readers.h"
#include "model/mesh_export.h"
#include "model/mesh_orientation.h"
#include "model_fixtures.h"
#include "solid_models.h"
#include "test_files.h"

namespace {

using Face = std::array<int, 3>;  // vertex numbers, in the written corner order
using Side = std::pair<int, int>;

Face Sorted(Face f)
{
    std::sort(f.begin(), f.end());
    return f;
}

// Every set of three different vertices joined pairwise by edges, by trying them all.
std::set<Face> AllTriangles(const CPolydromDoc& doc)
{
    std::set<Side> joined;
    for (int j = 0; j < doc.GetEdgeCount(); ++j)
        joined.insert(std::minmax(doc.m_edgeFrom[j], doc.m_edgeTo[j]));
    std::set<Face> result;
    for (int a = 0; a < doc.GetVertexCount(); ++a)
        for (int b = a + 1; b < doc.GetVertexCount(); ++b)
            for (int c = b + 1; c < doc.GetVertexCount(); ++c)
                if (joined.count({a, b}) && joined.count({b, c}) && joined.count({a, c})) result.insert({a, b, c});
    return result;
}

// The file's faces as vertex numbers: each corner is the vertex nearest to it, which
// must be close, since the union's five digits round the coordinates.
std::vector<Face> FacesOf(const CPolydromDoc& doc, const std::vector<MeshTriangle>& triangles)
{
    std::vector<Face> faces;
    for (const MeshTriangle& t : triangles) {
        Face f{};
        for (std::size_t k = 0; k < 3; ++k) {
            double best = INFINITY;
            for (int v = 0; v < doc.GetVertexCount(); ++v) {
                const double d = std::hypot(t[k][0] - doc.m_x[v], t[k][1] - doc.m_y[v], t[k][2] - doc.m_z[v]);
                if (d < best) {
                    best = d;
                    f[k] = v;
                }
            }
            EXPECT_LT(best, 1e-2) << "a corner at no vertex";
        }
        faces.push_back(f);
    }
    return faces;
}

struct Exported {
    MeshExportResult result;
    std::vector<Face> faces;
    std::vector<StlFacet> facets;  // STL only
};

Exported Export(CPolydromDoc& doc, MeshFormat format, const TempFolder& folder)
{
    const std::string path = folder / ("m" + std::string(MeshFormatInfoOf(format).extension));
    Exported e;
    e.result = doc.ExportMesh(path, format);
    EXPECT_TRUE(e.result.ok) << e.result.error;
    const std::string bytes = ReadText(path);
    std::vector<MeshTriangle> triangles;
    switch (format) {
    case MeshFormat::PovUnion: triangles = ReadUnion(bytes); break;
    case MeshFormat::PovMesh2: triangles = ReadMesh2(bytes); break;
    case MeshFormat::Obj: triangles = ReadObj(bytes); break;
    case MeshFormat::Stl:
        e.facets = ReadStl(bytes);
        for (const StlFacet& f : e.facets) triangles.push_back(f.corners);
        break;
    }
    e.faces = FacesOf(doc, triangles);
    return e;
}

double SixVolume(const CPolydromDoc& doc, const std::vector<Face>& faces)
{
    double v = 0;
    for (const Face& f : faces) {
        const double ax = doc.m_x[f[0]], ay = doc.m_y[f[0]], az = doc.m_z[f[0]];
        const double bx = doc.m_x[f[1]], by = doc.m_y[f[1]], bz = doc.m_z[f[1]];
        const double cx = doc.m_x[f[2]], cy = doc.m_y[f[2]], cz = doc.m_z[f[2]];
        v += ax * (by * cz - bz * cy) - ay * (bx * cz - bz * cx) + az * (bx * cy - by * cx);
    }
    return v;
}

// The pieces of the faces (joined through shared sides), found by merging, with whether
// each is closed: every side of it belongs to exactly two of its faces.
struct Piece {
    std::vector<Face> faces;
    bool closed = true;
};

std::vector<Piece> Pieces(const std::vector<Face>& faces)
{
    std::vector<std::size_t> root(faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) root[f] = f;
    auto find = [&](std::size_t f) {
        while (root[f] != f) f = root[f] = root[root[f]];
        return f;
    };
    std::map<Side, std::vector<std::size_t>> facesOn;
    for (std::size_t f = 0; f < faces.size(); ++f)
        for (int k = 0; k < 3; ++k) facesOn[std::minmax(faces[f][k], faces[f][(k + 1) % 3])].push_back(f);
    for (const auto& [side, on] : facesOn)
        for (std::size_t f : on) root[find(f)] = find(on.front());
    std::map<std::size_t, Piece> pieces;
    for (std::size_t f = 0; f < faces.size(); ++f) pieces[find(f)].faces.push_back(faces[f]);
    for (const auto& [side, on] : facesOn)
        if (on.size() != 2) pieces[find(on.front())].closed = false;
    std::vector<Piece> result;
    for (auto& [r, piece] : pieces) result.push_back(std::move(piece));
    return result;
}

// What every export of the model must show: every triangle exactly once; in the mesh
// formats, each closed piece crossing each side once in each direction, with a
// positive volume (at least zero when `flatAllowed`), and the report's piece counts.
void ExpectSoundExports(CPolydromDoc& doc, const std::string& name, bool flatAllowed = false)
{
    TempFolder folder;
    const std::set<Face> expected = AllTriangles(doc);
    for (const MeshFormatInfo& info : MeshFormats()) {
        if (info.format == MeshFormat::PovMesh2 && expected.empty()) continue;  // refused, tested elsewhere
        const std::string where = name + " as " + std::string(info.name);
        const Exported e = Export(doc, info.format, folder);
        std::set<Face> distinct;
        for (const Face& f : e.faces) EXPECT_TRUE(distinct.insert(Sorted(f)).second) << where << ": a triangle twice";
        EXPECT_EQ(distinct, expected) << where;
        EXPECT_EQ(e.result.triangles, static_cast<int>(expected.size())) << where;

        int closed = 0;
        for (const Piece& piece : Pieces(e.faces)) {
            if (!piece.closed) continue;
            ++closed;
            if (info.format == MeshFormat::PovUnion) continue;
            std::set<Side> directed;
            for (const Face& f : piece.faces)
                for (int k = 0; k < 3; ++k)
                    EXPECT_TRUE(directed.insert({f[k], f[(k + 1) % 3]}).second)
                        << where << ": side " << f[k] << "-" << f[(k + 1) % 3] << " crossed twice the same way";
            const double volume = SixVolume(doc, piece.faces);
            if (flatAllowed)
                EXPECT_GE(volume, 0.0) << where;
            else
                EXPECT_GT(volume, 0.0) << where;
        }
        EXPECT_EQ(e.result.closedPieces, closed) << where;
        EXPECT_EQ(e.result.closedPieces + e.result.openPieces, static_cast<int>(Pieces(e.faces).size())) << where;

        // STL normals are the unit normals of the written winding.
        for (std::size_t f = 0; f < e.facets.size(); ++f) {
            const MeshTriangle& t = e.facets[f].corners;
            const double ux = t[1][0] - t[0][0], uy = t[1][1] - t[0][1], uz = t[1][2] - t[0][2];
            const double vx = t[2][0] - t[0][0], vy = t[2][1] - t[0][1], vz = t[2][2] - t[0][2];
            const double n[3] = {uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
            const double length = std::hypot(n[0], n[1], n[2]);
            if (length == 0) continue;
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(e.facets[f].normal[k], n[k] / length, 1e-6) << where;
        }
    }
}

// A strip of 2n triangles around a ring, its ends joined with a half twist.
std::unique_ptr<CPolydromDoc> MoebiusStrip(int n)
{
    auto doc = NewDoc();
    for (int k = 0; k < n; ++k) {
        const double angle = 3.14159265358979 * k / n;  // half a turn: the twist closes it
        Vertex(*doc, std::round(100 * std::cos(angle)), std::round(100 * std::sin(angle)), 20);
        Vertex(*doc, std::round(100 * std::cos(angle)), std::round(100 * std::sin(angle)), -20);
    }
    auto a = [&](int k) { return k < n ? 2 * k : 1; };      // past the end the sides swap
    auto b = [&](int k) { return k < n ? 2 * k + 1 : 0; };
    for (int k = 0; k < n; ++k) Edges(*doc, {{a(k), b(k)}, {a(k), a(k + 1)}, {b(k), b(k + 1)}, {b(k), a(k + 1)}});
    return doc;
}

// Triangles on one side 0-1, one to each of `count` apexes around it.
std::unique_ptr<CPolydromDoc> Fan(int count)
{
    auto doc = NewDoc();
    Vertex(*doc, 0, 0, -50);
    Vertex(*doc, 0, 0, 50);
    for (int k = 0; k < count; ++k) {
        const double angle = 6.28318530717959 * k / count;
        const int apex = Vertex(*doc, std::round(100 * std::cos(angle)), std::round(100 * std::sin(angle)), 0);
        Edges(*doc, {{0, apex}, {apex, 1}});
    }
    Edges(*doc, {{1, 0}});
    return doc;
}

TEST(MeshWinding, WorkedModelsInEveryFormat)
{
    const struct {
        const char* name;
        std::unique_ptr<CPolydromDoc> doc;
        int triangles, closed, open;
    } cases[] = {
        {"tetrahedron", ModelFrom(kTetrahedron), 4, 1, 0},
        {"tetrahedron with every edge again, reversed",
         ModelFrom(std::string(kTetrahedron) + " 1-0 2-0 3-0 2-1 3-2 1-3"), 4, 1, 0},
        {"tetrahedron mirrored in X",
         ModelFrom("0 0 0 0|-10 0 0 0|0 10 0 0|0 0 10 0;0-1 0-2 0-3 1-2 2-3 3-1"), 4, 1, 0},
        {"an edge stored twice", ModelFrom("0 0 0 0|10 0 0 0|0 10 0 0;0-1 1-2 2-0 0-1"), 1, 0, 1},
        {"two Connects sharing side 2-6",
         ModelFrom("0 0 9 0|1 0 9 0|0 0 0 0|1 1 9 0|2 2 9 0|10 0 0 0|0 10 0 0|10 10 0 0;6-5 5-2 2-6 7-6 6-2 2-7"), 2,
         0, 1},
        {"box closed with Connects", ConnectedBox(true), 12, 1, 0},
        {"box closed at the bottom only", ConnectedBox(false), 10, 0, 1},
        {"octahedron",
         ModelFrom("10 0 0 0|-10 0 0 0|0 10 0 0|0 -10 0 0|0 0 10 0|0 0 -10 0;"
                   "0-2 2-1 1-3 3-0 4-0 4-1 4-2 4-3 5-0 5-1 5-2 5-3"),
         8, 1, 0},
        {"two tetrahedra apart",
         ModelFrom("0 0 0 0|10 0 0 0|0 10 0 0|0 0 10 0|50 0 0 0|40 0 0 0|50 10 0 0|50 0 10 0;"
                   "0-1 0-2 0-3 1-2 2-3 3-1 4-5 4-6 4-7 5-6 6-7 7-5"),
         8, 2, 0},
        // A fin on one side of the tetrahedron: that side has three faces.
        {"tetrahedron with a fin",
         ModelFrom("0 0 0 0|10 0 0 0|0 10 0 0|0 0 10 0|-10 -10 0 0;0-1 0-2 0-3 1-2 2-3 3-1 4-0 4-1"), 5, 0, 1},
        {"Moebius strip", MoebiusStrip(9), 18, 0, 1},
        {"a fan of 40 triangles on side 0-1", Fan(40), 40, 0, 1},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        EXPECT_EQ(AllTriangles(*c.doc).size(), static_cast<std::size_t>(c.triangles)) << c.name;
        const MeshExportResult r = c.doc->ExportMesh(folder / "x.obj", MeshFormat::Obj);
        EXPECT_EQ(r.closedPieces, c.closed) << c.name;
        EXPECT_EQ(r.openPieces, c.open) << c.name;
        ExpectSoundExports(*c.doc, c.name);
    }
}

TEST(MeshWinding, RandomEdgeSetsInEveryFormat)
{
    // Few vertices at different integer points, edges repeated, reversed and looping.
    std::mt19937 rng(8128);
    for (int round = 0; round < 80 && !testing::Test::HasFailure(); ++round) {
        auto doc = NewDoc();
        const int vertices = 4 + static_cast<int>(rng() % 5);
        std::set<MeshCorner> used;
        while (doc->GetVertexCount() < vertices) {
            const MeshCorner p{static_cast<float>(static_cast<int>(rng() % 21) - 10),
                               static_cast<float>(static_cast<int>(rng() % 21) - 10),
                               static_cast<float>(static_cast<int>(rng() % 21) - 10)};
            if (used.insert(p).second) Vertex(*doc, p[0], p[1], p[2]);
        }
        const int edges = static_cast<int>(rng() % 32);
        for (int e = 0; e < edges; ++e) {
            const int from = static_cast<int>(rng() % static_cast<unsigned>(vertices));
            const int to = rng() % 6 == 0 ? from : static_cast<int>(rng() % static_cast<unsigned>(vertices));
            Edges(*doc, {{from, to}});
            if (rng() % 4 == 0) Edges(*doc, {{to, from}});
        }
        // Random points may make a closed surface without volume.
        ExpectSoundExports(*doc, "random model " + std::to_string(round), true);
    }
}

// Each closed part of a non-manifold piece still faces outwards: two tetrahedra sharing
// their side 0-1, one of them mirrored, however the walk first reaches them.
TEST(MeshWinding, ClosedPartsOfANonManifoldPieceFaceOutwards)
{
    const std::vector<MeshPoint> points = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 10}, {0, -10, 0}, {0, 0, -10}};
    const std::vector<TriangleCorners> first = {{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}},
                                       second = {{0, 1, 4}, {0, 1, 5}, {0, 4, 5}, {1, 4, 5}};
    for (bool secondFirst : {false, true}) {
        std::vector<TriangleCorners> faces = secondFirst ? second : first;
        const auto& other = secondFirst ? first : second;
        faces.insert(faces.end(), other.begin(), other.end());
        const MeshPieces pieces = OrientFaces(points, faces);
        EXPECT_EQ(pieces.closed, 0);
        EXPECT_EQ(pieces.open, 1);
        for (std::size_t part = 0; part < 2; ++part) {
            double volume = 0;
            for (std::size_t f = 4 * part; f < 4 * part + 4; ++f) {
                const MeshPoint &a = points[faces[f].first], &b = points[faces[f].second], &c = points[faces[f].third];
                volume += double(a.x) * (double(b.y) * c.z - double(b.z) * c.y) -
                          double(a.y) * (double(b.x) * c.z - double(b.z) * c.x) +
                          double(a.z) * (double(b.x) * c.y - double(b.y) * c.x);
            }
            EXPECT_GT(volume, 0) << "part " << part << (secondFirst ? ", second tetrahedron first" : "");
        }
    }
}

}  // namespace
