// Importing meshes: the formats the tests can write, round trips through the exports,
// the capacity refusal, and every kind of bad file leaving the model as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <charconv>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "mesh_files.h"
#include "mesh_readers.h"
#include "model/triangle_search.h"
#include "model_fixtures.h"
#include "test_files.h"

namespace {

using mesh_files::Face;
using mesh_files::Point;
using Segment = std::pair<Point, Point>;  // the smaller end first

Segment Between(Point a, Point b) { return a < b ? Segment{a, b} : Segment{b, a}; }

Point At(const CPolydromDoc& doc, int v) { return {doc.m_x[v], doc.m_y[v], doc.m_z[v]}; }

// The part of the model from vertex `first` on, by position.
struct Part {
    std::vector<Point> vertices;
    std::set<Segment> edges;
};

Part PartFrom(const CPolydromDoc& doc, int first)
{
    Part part;
    for (int v = first; v < doc.GetVertexCount(); ++v) part.vertices.push_back(At(doc, v));
    for (int j = 0; j < doc.GetEdgeCount(); ++j)
        if (doc.m_edgeFrom[j] >= first)
            part.edges.insert(Between(At(doc, doc.m_edgeFrom[j]), At(doc, doc.m_edgeTo[j])));
    return part;
}

// A model to import into: one selected vertex and a selected box, which the import deselects.
std::unique_ptr<CPolydromDoc> ModelToImportInto()
{
    auto doc = NewDoc();
    doc->OnShapeBox({});
    Vertex(*doc, 7, 7, 7, 1);
    doc->CommitStep("Setup");
    return doc;
}

// --- Every format the tests write ------------------------------------------------------

const std::vector<Point> kCube = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                  {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
const std::vector<Face> kCubeQuads = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                      {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
const std::vector<Point> kTetra = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
const std::vector<Face> kTetraFaces = {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}};

std::vector<std::array<Point, 3>> Triangles(const std::vector<Point>& points, const std::vector<Face>& faces)
{
    std::vector<std::array<Point, 3>> triangles;
    for (const Face& f : faces) triangles.push_back({points[f[0]], points[f[1]], points[f[2]]});
    return triangles;
}

// Every side of every face, by position.
std::set<Segment> Sides(const std::vector<Point>& points, const std::vector<Face>& faces)
{
    std::set<Segment> sides;
    for (const Face& f : faces)
        for (std::size_t k = 0; k < f.size(); ++k) sides.insert(Between(points[f[k]], points[f[(k + 1) % f.size()]]));
    return sides;
}

struct FormatCase {
    const char* file;
    std::string bytes;
    std::vector<Point> vertices;  // expected, in any order
    std::set<Segment> sides;      // edges that must be there
    std::size_t edges;            // all of them: the sides and the diagonals that split polygons
};

std::vector<FormatCase> FormatCases()
{
    const std::vector<Point> pentagon = {{0, 0, 0}, {2, 0, 0}, {3, 2, 0}, {1, 3, 0}, {-1, 2, 0}};
    const std::vector<Point> line = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {5, 5, 5}};
    return {
        // Quads over shared corners, with texture and normal references in the faces.
        {"cube.obj",
         "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\nvt 0 0\nvn 0 0 1\n"
         "f 1/1/1 4/1/1 3/1/1 2/1/1\nf 5//1 6//1 7//1 8//1\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n",
         kCube, Sides(kCube, kCubeQuads), 18},
        // Each facet repeats its corners with its own normal; they still become one vertex each.
        {"tetra-ascii.stl", mesh_files::AsciiStl(Triangles(kTetra, kTetraFaces)), kTetra, Sides(kTetra, kTetraFaces),
         6},
        {"tetra-binary.stl", mesh_files::BinaryStl(Triangles(kTetra, kTetraFaces)), kTetra,
         Sides(kTetra, kTetraFaces), 6},
        {"cube-ascii.ply", mesh_files::AsciiPly(kCube, kCubeQuads), kCube, Sides(kCube, kCubeQuads), 18},
        {"tetra-binary.ply", mesh_files::BinaryPly(kTetra, kTetraFaces), kTetra, Sides(kTetra, kTetraFaces), 6},
        // A pentagon: its rim and the two diagonals that split it.
        {"pentagon.off", mesh_files::Off(pentagon, {{0, 1, 2, 3, 4}}), pentagon, Sides(pentagon, {{0, 1, 2, 3, 4}}),
         7},
        // A polyline and a lone point: no faces, still vertices and edges.
        {"polyline.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 5 5 5\nl 1 2 3\np 4\n", line,
         {Between(line[0], line[1]), Between(line[1], line[2])}, 2},
        {"cloud.ply",
         "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
         "end_header\n0 0 0\n1 0 0\n0 1 0\n",
         {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {}, 0},
        // Node transforms applied: the root moves both instances up 10, the second is also
        // doubled and moved 100 along X.
        {"instances.gltf", mesh_files::InstancedGltf(2, 1),
         {{0, 0, 10}, {1, 0, 10}, {0, 1, 10}, {100, 0, 10}, {102, 0, 10}, {100, 2, 10}},
         {Between({0, 0, 10}, {1, 0, 10}), Between({1, 0, 10}, {0, 1, 10}), Between({0, 1, 10}, {0, 0, 10}),
          Between({100, 0, 10}, {102, 0, 10}), Between({102, 0, 10}, {100, 2, 10}),
          Between({100, 2, 10}, {100, 0, 10})},
         6},
    };
}

class ImportFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ImportFormats, AppendsTheMeshAsTheNewSelection)
{
    const FormatCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder / c.file;
    WriteBytes(path, c.bytes);
    auto doc = ModelToImportInto();
    const int vertices = doc->GetVertexCount(), edges = doc->GetEdgeCount();
    const std::string before = ModelText(*doc);

    const ImportResult result = doc->ImportMesh(path);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.vertices, int(c.vertices.size()));
    EXPECT_EQ(result.edges, int(c.edges));
    const CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Info);
    EXPECT_NE(report.text.find(c.file), std::string::npos) << report.text;

    // The old model keeps its place, its coordinates and its edges; only its selection goes.
    auto expected = ModelFrom(before);
    for (int v = 0; v < vertices; ++v) expected->m_sel[v] = 0;
    auto old = NewDoc();
    for (int v = 0; v < vertices; ++v) Vertex(*old, doc->m_x[v], doc->m_y[v], doc->m_z[v], doc->m_sel[v]);
    for (int j = 0; j < edges; ++j) Edges(*old, {{doc->m_edgeFrom[j], doc->m_edgeTo[j]}});
    EXPECT_EQ(ModelText(*old), ModelText(*expected));
    for (int v = vertices; v < doc->GetVertexCount(); ++v) EXPECT_EQ(doc->m_sel[v], 1) << v;

    const Part part = PartFrom(*doc, vertices);
    EXPECT_EQ(std::set<Point>(part.vertices.begin(), part.vertices.end()),
              std::set<Point>(c.vertices.begin(), c.vertices.end()));
    EXPECT_EQ(part.vertices.size(), c.vertices.size()) << "a position came twice";
    EXPECT_EQ(doc->GetEdgeCount() - edges, int(c.edges));
    EXPECT_EQ(part.edges.size(), c.edges) << "an edge came twice";
    for (const Segment& side : c.sides) EXPECT_TRUE(part.edges.count(side)) << "a side is missing";
    for (int j = edges; j < doc->GetEdgeCount(); ++j) {
        EXPECT_GE(doc->m_edgeFrom[j], vertices);
        EXPECT_GE(doc->m_edgeTo[j], vertices);
        EXPECT_NE(doc->m_edgeFrom[j], doc->m_edgeTo[j]);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ImportFormats, ::testing::ValuesIn(FormatCases()),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

// --- Round trips through the exports -------------------------------------------------

using Triangle = std::array<Point, 3>;

// Every triangle the export would write, corners sorted: the same set means the same faces.
std::multiset<Triangle> TrianglesOf(CPolydromDoc& doc)
{
    const auto n = static_cast<std::size_t>(doc.GetEdgeCount());
    std::vector<std::int32_t> used(n);
    std::multiset<Triangle> triangles;
    for (const TriangleCorners& t : FindTriangles(std::span(doc.m_edgeFrom), std::span(doc.m_edgeTo), used)) {
        Triangle corners{At(doc, t.first), At(doc, t.second), At(doc, t.third)};
        std::sort(corners.begin(), corners.end());
        triangles.insert(corners);
    }
    return triangles;
}

// A coordinate's bits, so that -0 and 0 differ.
using PointBits = std::array<std::uint32_t, 3>;
PointBits BitsOf(Point p) { return {Bits(p[0]), Bits(p[1]), Bits(p[2])}; }

// The OBJ file's points, in its order.
std::vector<PointBits> ObjPoints(const std::string& text)
{
    std::vector<PointBits> points;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("v ")) continue;
        std::istringstream words(line.substr(2));
        PointBits p{};
        for (std::uint32_t& c : p) {
            std::string word;
            words >> word;
            float f = 0;
            std::from_chars(word.data(), word.data() + word.size(), f);
            c = Bits(f);
        }
        points.push_back(p);
    }
    return points;
}

// The triangles an OBJ or STL file holds, each turned to start at its smallest corner:
// the same set means the same faces with the same winding.
std::multiset<Triangle> WrittenTriangles(const std::string& path, MeshFormat format)
{
    std::vector<Triangle> triangles;
    if (format == MeshFormat::Obj) {
        triangles = mesh_readers::ReadObj(ReadText(path));
    } else {
        for (const mesh_readers::StlFacet& facet : mesh_readers::ReadStl(ReadText(path)))
            triangles.push_back(facet.corners);
    }
    std::multiset<Triangle> turned;
    for (Triangle t : triangles) {
        std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
        turned.insert(t);
    }
    return turned;
}

// The same triangles with their corners sorted: which way round each one runs left out.
std::multiset<Triangle> Unwound(const std::multiset<Triangle>& triangles)
{
    std::multiset<Triangle> sorted;
    for (Triangle t : triangles) {
        std::sort(t.begin(), t.end());
        sorted.insert(t);
    }
    return sorted;
}

class ImportRoundTrip : public ::testing::TestWithParam<MeshFormat> {};

TEST_P(ImportRoundTrip, ExportedTrianglesComeBackWithTheSameCoordinates)
{
    // A cylinder extruded and moved, turned, grown, and a cone: many faces, triangles that
    // share edges with several others, coordinates without a short decimal form.
    auto doc = NewDoc();
    doc->OnResMedium();
    doc->OnShapeCylinder({});
    doc->OnDoExtrude();
    doc->MoveSelected(0.37f, -11.5f, 3.25f);
    doc->OnStepFine();
    doc->OnDoRotateCcw({});
    doc->OnDoSelectAll();
    doc->OnDoGrow({});
    doc->OnShapeCone({});
    doc->MoveSelected(-3.3f, 1.7f, 0.1f);
    const std::multiset<Triangle> exported = TrianglesOf(*doc);
    ASSERT_GT(exported.size(), 200u);

    TempFolder folder;
    const std::string path = folder / ("model" + std::string(MeshFormatInfoOf(GetParam()).extension));
    ASSERT_TRUE(doc->ExportMesh(path, GetParam()).ok);
    auto imported = NewDoc();
    const ImportResult result = imported->ImportMesh(path);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(TrianglesOf(*imported), exported);
    // Exported again, the file holds the same triangles. (How an open or non-manifold piece
    // is wound depends on the order of its edges, which no mesh file keeps; closed pieces,
    // wound outwards, are checked below.)
    const std::string again = folder / ("again" + std::string(MeshFormatInfoOf(GetParam()).extension));
    ASSERT_TRUE(imported->ExportMesh(again, GetParam()).ok);
    EXPECT_EQ(Unwound(WrittenTriangles(again, GetParam())), Unwound(WrittenTriangles(path, GetParam())));

    // The vertices are exactly the corners the export wrote: no more, none moved by a bit.
    std::set<PointBits> corners, vertices;
    for (const Triangle& t : exported)
        for (const Point& p : t) corners.insert(BitsOf(p));
    for (int v = 0; v < imported->GetVertexCount(); ++v) vertices.insert(BitsOf(At(*imported, v)));
    EXPECT_EQ(vertices, corners);
    EXPECT_EQ(std::size_t(imported->GetVertexCount()), corners.size());
    if (GetParam() == MeshFormat::Obj) {
        // And in the file's order.
        std::vector<PointBits> order;
        for (int v = 0; v < imported->GetVertexCount(); ++v) order.push_back(BitsOf(At(*imported, v)));
        EXPECT_EQ(order, ObjPoints(ReadText(path)));
    }
}

TEST(ImportRoundTrip, ObjCoordinatesOfEveryMagnitudeComeBackBitForBit)
{
    // Disjoint triangles with pseudo-random corners from 1e-7 to 1e7 in size: the importer
    // must read every OBJ number back as the float it was written from. (Far smaller and
    // far larger numbers come back at most one unit in the last place off.)
    auto doc = NewDoc();
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed;
    };
    for (int t = 0; t < 1000; ++t) {
        const int first = doc->GetVertexCount();
        for (int k = 0; k < 3; ++k) {
            float c[3];
            for (float& f : c) {
                const double exponent = double(next() % 1400001) / 100000.0 - 7.0;
                f = static_cast<float>((next() % 2 ? -1.0 : 1.0) * std::pow(10.0, exponent));
            }
            Vertex(*doc, c[0], c[1], c[2]);
        }
        Edges(*doc, {{first, first + 1}, {first + 1, first + 2}, {first + 2, first}});
    }
    TempFolder folder;
    const std::string path = folder / "random.obj";
    ASSERT_TRUE(doc->ExportMesh(path, MeshFormat::Obj).ok);
    auto imported = NewDoc();
    const ImportResult result = imported->ImportMesh(path);
    ASSERT_TRUE(result.ok) << result.error;
    std::vector<PointBits> order;
    for (int v = 0; v < imported->GetVertexCount(); ++v) order.push_back(BitsOf(At(*imported, v)));
    const std::vector<PointBits> written = ObjPoints(ReadText(path));
    EXPECT_EQ(order, written);
    std::set<PointBits> original;
    for (int v = 0; v < doc->GetVertexCount(); ++v) original.insert(BitsOf(At(*doc, v)));
    EXPECT_EQ(std::set<PointBits>(written.begin(), written.end()), original) << "an exact reader disagrees";
}

TEST_P(ImportRoundTrip, ClosedMeshesComeBackWoundTheSameWay)
{
    // A closed cube and a closed tetrahedron apart from it, imported, exported, imported
    // and exported again: every face keeps its corners and its outward winding.
    TempFolder folder;
    std::vector<Point> points = kCube;
    std::vector<Face> faces = kCubeQuads;
    for (const Point& p : kTetra) points.push_back({p[0] + 5, p[1], p[2]});
    for (const Face& f : kTetraFaces) faces.push_back({f[0] + 8, f[1] + 8, f[2] + 8});
    const std::string source = folder / "solids.obj";
    WriteBytes(source, mesh_files::Obj(points, faces));
    const std::string extension(MeshFormatInfoOf(GetParam()).extension);
    std::string previous;
    for (const char* name : {"first", "second"}) {
        auto doc = NewDoc();
        const ImportResult result = doc->ImportMesh(previous.empty() ? source : previous);
        ASSERT_TRUE(result.ok) << result.error;
        const std::string path = folder / (name + extension);
        ASSERT_TRUE(doc->ExportMesh(path, GetParam()).ok);
        if (!previous.empty()) {
            EXPECT_EQ(WrittenTriangles(path, GetParam()), WrittenTriangles(previous, GetParam()));
        }
        previous = path;
    }
    EXPECT_EQ(WrittenTriangles(previous, GetParam()).size(), 12u + 4u);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImportRoundTrip, ::testing::Values(MeshFormat::Obj, MeshFormat::Stl),
                         [](const auto& info) { return info.param == MeshFormat::Obj ? "Obj" : "Stl"; });

}  // namespace
