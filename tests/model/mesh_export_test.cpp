// The exports in every format: exact bytes of small models, the union's triangles in
// every format, the format a path names, the menu command's report, and refusals that
// keep the old file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/mesh_export.h"
#include "model/triangle_search.h"
#include "mesh_readers.h"
#include "model_fixtures.h"
#include "test_files.h"

namespace {

using Corner = MeshCorner;
using Triangle = MeshTriangle;

// The file's bytes after a successful export.
std::string Exported(CPolydromDoc& doc, MeshFormat format, const TempFolder& folder)
{
    const std::string path = folder / ("model" + std::string(MeshFormatInfoOf(format).extension));
    const MeshExportResult result = doc.ExportMesh(path, format);
    EXPECT_TRUE(result.ok) << result.error;
    return ReadText(path);
}

// The triangles the union export writes, as coordinates.
std::vector<Triangle> SearchedTriangles(const CPolydromDoc& doc)
{
    const auto edges = static_cast<std::size_t>(doc.GetEdgeCount());
    std::vector<std::int32_t> marks(edges);
    std::vector<Triangle> triangles;
    auto corner = [&](int v) { return Corner{doc.m_x[v], doc.m_y[v], doc.m_z[v]}; };
    for (const TriangleCorners& t :
         FindTriangles(std::span(doc.m_edgeFrom), std::span(doc.m_edgeTo), marks))
        triangles.push_back({corner(t.first), corner(t.second), corner(t.third)});
    return triangles;
}

// --- Expected bytes ----------------------------------------------------------------

std::string Floats(std::initializer_list<float> values)
{
    std::string out;
    for (float v : values)
        for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(std::bit_cast<std::uint32_t>(v) >> shift & 0xFF);
    return out;
}

std::string StlHeader(std::uint32_t facets)
{
    std::string header = "Binary STL written by Polydrom";
    header.resize(80, '\0');
    return header + std::string{char(facets), char(facets >> 8), char(facets >> 16), char(facets >> 24)};
}

std::string Record(const std::string& a, const std::string& b, const std::string& c)
{
    return " triangle{  <" + a + ">  <" + b + ">  <" + c + ">  pigment {Red}} \r";
}

// Corners (0, 0, 0), (10, 0, 0), (0, 10, 0) joined as Connect would: one triangle.
const char kTriangle[] = "0 0 0 0|10 0 0 0|0 10 0 0;0-1 1-2 2-0";
// The square with a diagonal, its corners stored out of order beside a vertex that no
// triangle uses: points are numbered as the triangles first use them.
const char kSquare[] = "0 1 0 0|0.1 0 0 0|5 5 5 0|1 1 -2.5e-07 0|-0 0 0 0;4-1 1-3 3-0 0-4 4-3";
const char kNoTriangles[] = "0 0 0 0|1 0 0 0|1 1 0 0|0 1 0 0;0-1 1-2 2-3 3-0";

TEST(MeshExport, ExactBytes)
{
    using F = MeshFormat;
    const struct {
        const char* model;
        MeshFormat format;
        std::string bytes;
    } cases[] = {
        {kTriangle, F::PovUnion, "union{ \r" + Record("0.0,0.0,0.0", "10.,0.0,0.0", "0.0,10.,0.0") + "} \r"},
        {kTriangle, F::PovMesh2,
         "// Polydrom mesh: 3 vertices, 1 triangle\n#declare Polydrom_Object = mesh2 {\n"
         "  vertex_vectors {\n    3,\n    <0,0,0>,\n    <10,0,0>,\n    <0,10,0>\n  }\n"
         "  face_indices {\n    1,\n    <0,1,2>\n  }\n  pigment {Red}\n}\n"},
        {kTriangle, F::Obj, "# Polydrom mesh: 3 vertices, 1 triangle\nv 0 0 0\nv 10 0 0\nv 0 10 0\nf 1 2 3\n"},
        {kTriangle, F::Stl, StlHeader(1) + Floats({0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 10, 0}) + std::string(2, '\0')},
        {kSquare, F::PovMesh2,
         "// Polydrom mesh: 4 vertices, 2 triangles\n#declare Polydrom_Object = mesh2 {\n"
         "  vertex_vectors {\n    4,\n    <-0,0,0>,\n    <0.1,0,0>,\n    <1,1,-2.5e-07>,\n    <0,1,0>\n  }\n"
         "  face_indices {\n    2,\n    <0,1,2>,\n    <2,3,0>\n  }\n  pigment {Red}\n}\n"},
        {kSquare, F::Obj,
         "# Polydrom mesh: 4 vertices, 2 triangles\nv -0 0 0\nv 0.1 0 0\nv 1 1 -2.5e-07\nv 0 1 0\nf 1 2 3\nf 3 4 1\n"},
        // Without triangles: the eleven-byte union, an OBJ comment, an STL header.
        {";", F::PovUnion, "union{ \r} \r"},
        {kNoTriangles, F::PovUnion, "union{ \r} \r"},
        {kNoTriangles, F::Obj, "# Polydrom mesh: 0 vertices, 0 triangles\n"},
        {kNoTriangles, F::Stl, StlHeader(0)},
        // The union writes the search's corner order and the five-digit number text; the
        // tetrahedron's face 1-2-3 comes last, where the walk first meets it.
        {"0 0 0 0|1 2 -1 0|2 4 -2 0|3 6 -3 0;0-1 0-2 0-3 1-2 2-3 3-1", F::PovUnion,
         "union{ \r" + Record("1.,2.,-1.", "0.0,0.0,0.0", "2.,4.,-2.") + Record("1.,2.,-1.", "0.0,0.0,0.0", "3.,6.,-3.") +
             Record("2.,4.,-2.", "0.0,0.0,0.0", "3.,6.,-3.") + Record("1.,2.,-1.", "2.,4.,-2.", "3.,6.,-3.") + "} \r"},
        {"-0 0.5 12.3125 0|123456 -3 0.05 0|0.33333334 100 12345 0;0-1 1-2 2-0", F::PovUnion,
         "union{ \r" + Record("0.0,0.5,12.313", "1.2346e+005,-3.,5.e-002", "0.33333,100.,12345") + "} \r"},
        // A face without area has a zero normal.
        {"0 0 0 0|1 1 1 0|2 2 2 0;0-1 1-2 2-0", F::Stl,
         StlHeader(1) + Floats({0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2}) + std::string(2, '\0')},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        auto doc = ModelFrom(c.model);
        const auto model = SavedBytes(*doc);
        EXPECT_EQ(Exported(*doc, c.format, folder), c.bytes) << c.model << " as " << MeshFormatInfoOf(c.format).name;
        EXPECT_EQ(SavedBytes(*doc), model) << "the export changed the model";
    }
    EXPECT_EQ(Record("0.0,0.0,0.0", "10.,0.0,0.0", "0.0,10.,0.0").size(), 73u);
}

TEST(MeshExport, StlNormalsAreUnitAndFollowTheCornerOrder)
{
    TempFolder folder;
    const std::vector<StlFacet> facets = ReadStl(Exported(*ModelFrom(kSquare), MeshFormat::Stl, folder));
    ASSERT_EQ(facets.size(), 2u);
    EXPECT_EQ(facets[1].corners, (Triangle{{{1, 1, -2.5e-7f}, {0, 1, 0}, {-0.0f, 0, 0}}}));
    // Both faces turn the same way, towards +Z.
    for (const StlFacet& f : facets) {
        EXPECT_GT(f.normal[2], 0.99f);
        EXPECT_NEAR(std::hypot(f.normal[0], f.normal[1], f.normal[2]), 1.0, 1e-6);
    }
    // A slanted face, then the same face written as 0, 2, 1 by other edge directions: the normal flips.
    const float h = static_cast<float>(1 / std::sqrt(2.0));
    EXPECT_EQ(ReadStl(Exported(*ModelFrom("0 0 0 0|1 0 0 0|0 1 1 0;0-1 1-2 2-0"), MeshFormat::Stl, folder)).at(0).normal,
              (Corner{0, -h, h}));
    EXPECT_EQ(ReadStl(Exported(*ModelFrom("0 0 0 0|1 0 0 0|0 1 1 0;0-2 2-1 1-0"), MeshFormat::Stl, folder)).at(0).normal,
              (Corner{0, h, -h}));
}

// Models full of shared, repeated, self-looping and degenerate edges, over coordinates
// that need every kind of float text.
std::unique_ptr<CPolydromDoc> RandomModel(std::mt19937& rng)
{
    static const float kValues[] = {0.0f, -0.0f, 1.0f, -2.5f, 0.1f, 1.0f / 3, 1e-30f, 3e38f, -1.5e-7f,
                                    123456.78f, FLT_MIN, FLT_TRUE_MIN, 16777217.0f, -99999.7f};
    auto doc = NewDoc();
    const int vertices = 3 + static_cast<int>(rng() % 8);
    auto value = [&] { return kValues[rng() % std::size(kValues)]; };
    for (int v = 0; v < vertices; ++v) Vertex(*doc, value(), value(), value());
    const int edges = static_cast<int>(rng() % 30);
    for (int e = 0; e < edges; ++e)
        Edges(*doc, {{static_cast<int>(rng() % static_cast<unsigned>(vertices)),
                      static_cast<int>(rng() % static_cast<unsigned>(vertices))}});
    return doc;
}

// The same faces in the same order, each with the same corners but perhaps the other winding.
std::vector<Triangle> CornerSets(std::vector<Triangle> triangles)
{
    for (Triangle& t : triangles) std::sort(t.begin(), t.end());
    return triangles;
}

TEST(MeshExport, EveryFormatHoldsTheUnionsTrianglesInItsOrder)
{
    std::vector<std::unique_ptr<CPolydromDoc>> models;
    models.push_back(NewDoc());
    models.back()->OnShapeCylinder({});
    models.push_back(NewDoc());
    models.back()->OnResVeryHigh();
    models.back()->OnShapePyramid({});
    std::mt19937 rng(4711);
    for (int k = 0; k < 60; ++k) models.push_back(RandomModel(rng));

    TempFolder folder;
    for (std::size_t m = 0; m < models.size(); ++m) {
        CPolydromDoc& doc = *models[m];
        const std::vector<Triangle> expected = SearchedTriangles(doc);
        const MeshExportResult pov = doc.ExportMesh(folder / "m.pov", MeshFormat::PovUnion);
        ASSERT_TRUE(pov.ok) << pov.error;
        EXPECT_EQ(pov.triangles, static_cast<int>(expected.size()));
        // The mesh formats may wind a face the other way, never change or move it.
        const std::vector<Triangle> corners = CornerSets(expected);
        if (!expected.empty()) {
            EXPECT_EQ(CornerSets(ReadMesh2(Exported(doc, MeshFormat::PovMesh2, folder))), corners) << "model " << m;
        }
        EXPECT_EQ(CornerSets(ReadObj(Exported(doc, MeshFormat::Obj, folder))), corners) << "model " << m;
        std::vector<Triangle> stl;
        for (const StlFacet& f : ReadStl(Exported(doc, MeshFormat::Stl, folder))) stl.push_back(f.corners);
        EXPECT_EQ(CornerSets(stl), corners) << "model " << m;
        if (HasFailure()) return;
    }
}

TEST(MeshExport, RefusalsNameTheFileAndTheReasonAndKeepTheOldFile)
{
    TempFolder folder;
    // POV-Ray rejects an empty mesh2, so no file is written.
    auto empty = ModelFrom(kNoTriangles);
    WriteBytes(folder / "old.inc", std::string("old"));
    EXPECT_EQ(empty->ExportMesh(folder / "old.inc", MeshFormat::PovMesh2).error,
              "Cannot export " + folder / "old.inc" + ": no triangles to export (a POV-Ray mesh2 needs at least one)");
    EXPECT_EQ(ReadText(folder / "old.inc"), "old");

    // A vertex that no triangle uses may be anything; a corner must be finite.
    auto doc = ModelFrom(kSquare);
    doc->m_z[2] = INFINITY;
    EXPECT_TRUE(doc->ExportMesh(folder / "a.obj", MeshFormat::Obj).ok);
    doc->m_y[3] = NAN;
    for (const MeshFormatInfo& info : MeshFormats()) {
        const std::string path = folder / ("b" + std::string(info.extension));
        WriteBytes(path, std::string("old"));
        const MeshExportResult result = doc->ExportMesh(path, info.format);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "Cannot export " + path + ": vertex 3 has a coordinate that is not a finite number");
        EXPECT_EQ(ReadText(path), "old");
    }

    auto triangle = ModelFrom(kTriangle);
    EXPECT_EQ(triangle->ExportMesh("/nonexistent-folder/x.stl", MeshFormat::Stl).error,
              "Cannot export /nonexistent-folder/x.stl: No such file or directory");
    std::filesystem::create_directory(folder / "taken.pov");
    EXPECT_EQ(triangle->ExportMesh(folder / "taken.pov", MeshFormat::PovUnion).error,
              "Cannot export " + folder / "taken.pov" + ": it is a folder");
}

TEST(MeshExport, ExportAsLeavesTheReportTheStatusBarShows)
{
    TempFolder folder;
    auto doc = ModelFrom(kSquare);
    doc->ExportMeshAs(folder / "square.stl", MeshFormat::Stl);
    CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Info);
    EXPECT_EQ(report.text, "Exported 2 triangles to square.stl (1 open or non-manifold piece)");

    doc->ExportMeshAs("/nonexistent-folder/square.inc", MeshFormat::PovMesh2);
    report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Failure);
    EXPECT_EQ(report.text, "Cannot export /nonexistent-folder/square.inc: No such file or directory");
}

TEST(MeshExport, MenuCommandWritesObjectPovInTheCurrentFolderAndMarksItsEdges)
{
    TempFolder folder;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    auto doc = NewDoc();
    doc->OnShapeCylinder({});
    doc->OnFileExportPov();
    std::filesystem::current_path(old);
    const CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Info);
    // The whole path, since the window does not show which folder is current.
    EXPECT_EQ(report.text, "Exported 10 triangles to " + (std::filesystem::canonical(folder.Path()) / "object.pov").string() +
                               " (1 open or non-manifold piece)");
    EXPECT_EQ(ReadText(folder / "object.pov").substr(0, 8), "union{ \r");
    // Every edge of the cylinder belongs to a written side triangle.
    for (int j = 0; j < doc->GetEdgeCount(); ++j) EXPECT_EQ(doc->m_edgeUsed[j], 1) << "edge " << j;

    // The marks are cleared before each search, so a second export finds the same.
    doc->OnShapeBox({});
    for (int j = 0; j < doc->GetEdgeCount(); ++j) doc->m_edgeUsed[j] = 1;
    EXPECT_EQ(doc->ExportPov(folder / "box.pov").triangles, 10 + 8);
}

TEST(MeshFormatForPath, ChoosesByTheFileNamesExtensionInAnyCase)
{
    EXPECT_EQ(MeshFormatForPath("object.pov"), MeshFormat::PovUnion);
    EXPECT_EQ(MeshFormatForPath("/tmp/scene/Model.INC"), MeshFormat::PovMesh2);
    EXPECT_EQ(MeshFormatForPath("a.b.Obj"), MeshFormat::Obj);
    EXPECT_EQ(MeshFormatForPath("../print.sTl"), MeshFormat::Stl);
    for (const char* other : {"model", "model.pdm", "model.obj.bak", "model.objx", "/tmp/x.stl/model", ".obj",
                              "/tmp/.stl", "", "stl"})
        EXPECT_EQ(MeshFormatForPath(other), std::nullopt) << other;
    // Every listed format is found again by its own extension.
    for (const MeshFormatInfo& info : MeshFormats())
        EXPECT_EQ(MeshFormatForPath("x" + std::string(info.extension)), info.format) << info.name;
}

}  // namespace
