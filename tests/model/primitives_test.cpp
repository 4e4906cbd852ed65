// Primitive shapes: positions to the last bit, edge order, capacity refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/golden.h"
#include "model/polydrom_doc.h"

namespace {

std::unique_ptr<CPolydromDoc> NewDoc()
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    return doc;
}

void ExpectEdges(const CPolydromDoc& doc, std::initializer_list<std::pair<int, int>> edges, int first = 0)
{
    int j = first;
    for (auto [from, to] : edges) {
        EXPECT_EQ(doc.m_edgeFrom[j], from) << "edge " << j;
        EXPECT_EQ(doc.m_edgeTo[j], to) << "edge " << j;
        EXPECT_EQ(doc.m_edgeUsed[j], 0) << "edge " << j;
        ++j;
    }
}

TEST(Primitives, CircleAtResolutionFive)
{
    auto doc = NewDoc();
    doc->OnShapeCircle();
    ASSERT_EQ(doc->m_nVertices, 5);
    ASSERT_EQ(doc->m_nEdges, 5);
    EXPECT_EQ(doc->m_x[0], 0.0f);
    EXPECT_EQ(doc->m_y[0], 100.0f);
    EXPECT_TRUE(std::signbit(doc->m_z[0])) << "z is -panZ, a negative zero";
    EXPECT_NEAR(doc->m_x[1], 95.1056f, 1e-4);
    EXPECT_NEAR(doc->m_y[1], 30.9018f, 1e-4);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(doc->m_sel[i], 1);
    ExpectEdges(*doc, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}});
}

TEST(Primitives, BoxIsOffAxisByTheShortQuarterTurn)
{
    auto doc = NewDoc();
    doc->OnShapeBox();
    ASSERT_EQ(doc->m_nVertices, 8);
    ASSERT_EQ(doc->m_nEdges, 16);
    EXPECT_EQ(doc->m_x[0], 0.0f);
    EXPECT_EQ(doc->m_y[0], 100.0f);
    EXPECT_EQ(doc->m_z[0], -100.0f);
    EXPECT_EQ(doc->m_x[2], 100.0f);
    EXPECT_NEAR(doc->m_y[2], 0.000126759f, 1e-9);
    EXPECT_EQ(doc->m_z[2], -100.0f);
    EXPECT_NEAR(doc->m_x[4], 0.000253518f, 1e-9);
    EXPECT_EQ(doc->m_y[4], -100.0f);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(doc->m_z[i], i % 2 ? 100.0f : -100.0f);
    ExpectEdges(*doc, {{1, 0}, {0, 2}, {1, 3}, {1, 2}});
    ExpectEdges(*doc, {{7, 6}, {6, 0}, {7, 1}, {7, 0}}, 12);
}

TEST(Primitives, PyramidEdgesAndApex)
{
    auto doc = NewDoc();
    doc->OnShapePyramid();
    ASSERT_EQ(doc->m_nVertices, 5);
    ASSERT_EQ(doc->m_nEdges, 8);
    EXPECT_EQ(doc->m_x[0], 0.0f);
    EXPECT_EQ(doc->m_y[0], -100.0f);
    ExpectEdges(*doc, {{0, 1}, {1, 2}, {0, 2}, {2, 3}, {0, 3}, {3, 4}, {0, 4}, {4, 1}});
}

TEST(Primitives, ZoomAndPanPlaceAndSizeTheShape)
{
    auto doc = NewDoc();
    doc->SetZoomAndPan(2.0f, 10.0f, -20.0f, 5.0f);
    doc->OnShapeSquare();
    EXPECT_EQ(doc->m_x[0], -10.0f);
    EXPECT_EQ(doc->m_y[0], 70.0f);  // r = 50 above the centre y = 20
    EXPECT_EQ(doc->m_z[0], -5.0f);
    doc->OnShapeCone();
    EXPECT_EQ(doc->m_nVertices, 4 + 6);
    EXPECT_EQ(doc->m_y[4], 20.0f - 50.0f) << "apex on the -Y side";
}

TEST(Primitives, SecondShapeAppendsAndResolutionAppliesToRoundShapesOnly)
{
    auto doc = NewDoc();
    doc->OnShapeCircle();
    doc->OnResHigh();
    doc->OnShapeCylinder();
    EXPECT_EQ(doc->m_nVertices, 5 + 80);
    EXPECT_EQ(doc->m_nEdges, 5 + 160);
    EXPECT_EQ(doc->m_edgeFrom[5], 6) << "cylinder's first edge is (T0, B0) after the circle";
    EXPECT_EQ(doc->m_edgeTo[5], 5);
    doc->OnShapeBox();
    EXPECT_EQ(doc->m_nVertices, 85 + 8);
    doc->OnNewDocument();
    EXPECT_EQ(doc->m_nResolution, 40) << "resolution survives File > New";
}

TEST(Primitives, ShapeThatDoesNotFitIsRefusedWhole)
{
    auto doc = NewDoc();
    doc->OnResVeryHigh();
    for (int k = 0; k < 31; ++k) doc->OnShapeCylinder();  // 31 * 320 = 9920 edges
    ASSERT_EQ(doc->m_nEdges, 9920);
    doc->TakeReport();
    doc->OnShapeCylinder();
    EXPECT_EQ(doc->m_nEdges, 9920);
    EXPECT_EQ(doc->m_nVertices, 31 * 160);
    CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
    EXPECT_NE(report.text.find("Cylinder"), std::string::npos);
    doc->OnShapeBox();  // 80 edges are still free, and a box needs 16
    EXPECT_EQ(doc->m_nEdges, 9936);
}

// Every shape at resolution 80, plus the four-point shapes and a five-point circle, once
// unpanned at zoom 1 and once panned at zoom 0.7, as raw float bits. The expected file was
// computed apart from this code, straight from the shape rules: a wrong choice of which
// sine or cosine is rounded to float first, of the angle arithmetic, or of a zero's sign
// changes some of these bits.
TEST(Primitives, EveryCoordinateToTheBit)
{
    auto doc = NewDoc();
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) doc->SetZoomAndPan(0.7f, 12.5f, 3.1f, -4.2f);
        doc->OnResVeryHigh();
        doc->OnShapeCircle();
        doc->OnShapeCylinder();
        doc->OnShapeCone();
        doc->OnShapeSquare();
        doc->OnShapeBox();
        doc->OnShapePyramid();
        doc->OnResVeryLow();
        doc->OnShapeCircle();
    }
    auto bits = [](float f) {
        std::uint32_t u;
        std::memcpy(&u, &f, sizeof u);
        return u;
    };
    std::string text = "vertices " + std::to_string(doc->m_nVertices) + "\n";
    char line[64];
    for (int i = 0; i < doc->m_nVertices; ++i) {
        std::snprintf(line, sizeof line, "v %d %08x %08x %08x\n", i, unsigned(bits(doc->m_x[i])),
                      unsigned(bits(doc->m_y[i])), unsigned(bits(doc->m_z[i])));
        text += line;
    }
    text += "edges " + std::to_string(doc->m_nEdges) + "\n";
    for (int j = 0; j < doc->m_nEdges; ++j)
        text += "e " + std::to_string(j) + " " + std::to_string(doc->m_edgeFrom[j]) + " " +
                std::to_string(doc->m_edgeTo[j]) + "\n";
    ExpectGolden("golden/model/primitives.txt", text);
}

}  // namespace
