// The one source of the model's triangles: the search's triangles in its order, mapped
// back to model vertices, wound outwards when asked, and the marks the export keeps.
#include <gtest/gtest.h>

#include "model/export_triangles.h"
#include "model/triangle_search.h"
#include "solid_models.h"

namespace {

double SignedVolume(const IndexedMesh& mesh)
{
    double volume = 0;
    for (const TriangleCorners& f : mesh.faces) {
        const MeshPoint &a = mesh.points[static_cast<std::size_t>(f.first)],
                        &b = mesh.points[static_cast<std::size_t>(f.second)],
                        &c = mesh.points[static_cast<std::size_t>(f.third)];
        volume += a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x);
    }
    return volume / 6;
}

}  // namespace

TEST(ExportTriangles, AsFoundTheyAreTheSearchsTrianglesOnTheModelsVertices)
{
    auto doc = ModelFrom(kTetrahedron);
    ExportTriangles found;
    std::string reason;
    ASSERT_TRUE(FindExportTriangles(TriangleSourceOf(*doc), TriangleWinding::AsFound, &found, &reason)) << reason;
    std::vector<std::int32_t> marks(static_cast<std::size_t>(doc->GetEdgeCount()));
    const auto searched = FindTriangles(std::span(doc->m_edgeFrom), std::span(doc->m_edgeTo), marks);
    ASSERT_EQ(found.mesh.faces.size(), searched.size());
    for (std::size_t k = 0; k < searched.size(); ++k) {
        const TriangleCorners& f = found.mesh.faces[k];
        const TriangleCorners back{found.vertexOf[static_cast<std::size_t>(f.first)],
                                   found.vertexOf[static_cast<std::size_t>(f.second)],
                                   found.vertexOf[static_cast<std::size_t>(f.third)]};
        EXPECT_EQ(back, searched[k]) << "face " << k;
    }
    for (std::size_t p = 0; p < found.mesh.points.size(); ++p)
        EXPECT_EQ(found.mesh.points[p].x, doc->m_x[found.vertexOf[p]]);
    EXPECT_EQ(found.pieces.closed, 1);
}

TEST(ExportTriangles, OutwardsAClosedPieceHasAPositiveVolumeAndTheMarksAreKept)
{
    auto doc = ConnectedBox();
    ExportTriangles found;
    std::string reason;
    std::vector<std::int32_t> marks(static_cast<std::size_t>(doc->GetEdgeCount()), 7);
    ASSERT_TRUE(FindExportTriangles(TriangleSourceOf(*doc), TriangleWinding::Outwards, &found, &reason, marks));
    EXPECT_EQ(found.mesh.faces.size(), 12u);
    EXPECT_GT(SignedVolume(found.mesh), 0);
    for (const std::int32_t mark : marks) EXPECT_TRUE(mark == 0 || mark == 1);
}

TEST(ExportTriangles, APointThatIsNotANumberIsReported)
{
    auto doc = ModelFrom("0 0 0 0|inf 0 0 0|0 10 0 0;0-1 1-2 2-0");
    ExportTriangles found;
    std::string reason;
    EXPECT_FALSE(FindExportTriangles(TriangleSourceOf(*doc), TriangleWinding::Outwards, &found, &reason));
    EXPECT_EQ(reason, "vertex 1 has a coordinate that is not a finite number");
}
