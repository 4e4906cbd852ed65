// Primitive shapes: positions to the last bit, edge order, capacity refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "golden.h"
#include "model/model_fixtures.h"

namespace {

// Every shape at resolution 80, plus the four-point shapes and a five-point circle, once
// unpanned at zoom 1 and once panned at zoom 0.7, appended one after another, as raw
// float bits. The expected file was computed apart from this code, straight from the
// shape rules: a wrong choice of which sine or cosine is rounded to float first, of the
// angle arithmetic, of a zero's sign (z is -panZ) or of an edge's direction or order
// changes some of these lines.
TEST(Primitives, EveryCoordinateAndEdgeToTheBit)
{
    auto doc = NewDoc();
    for (int pass = 0; pass < 2; ++pass) {
        ViewState view;
        if (pass == 1) view = ViewState{ViewAxis::Z, 0.7f, {12.5f, 3.1f, -4.2f}};
        doc->OnResVeryHigh();
        doc->OnShapeCircle(view);
        doc->OnShapeCylinder(view);
        doc->OnShapeCone(view);
        doc->OnShapeSquare(view);
        doc->OnShapeBox(view);
        doc->OnShapePyramid(view);
        doc->OnResVeryLow();
        doc->OnShapeCircle(view);
    }
    std::string text = "vertices " + std::to_string(doc->GetVertexCount()) + "\n";
    char line[64];
    for (int i = 0; i < doc->GetVertexCount(); ++i) {
        std::snprintf(line, sizeof line, "v %d %08x %08x %08x\n", i, unsigned(Bits(doc->m_x[i])),
                      unsigned(Bits(doc->m_y[i])), unsigned(Bits(doc->m_z[i])));
        text += line;
        EXPECT_EQ(doc->m_sel[i], 1) << "a new shape is selected";
    }
    text += "edges " + std::to_string(doc->GetEdgeCount()) + "\n";
    for (int j = 0; j < doc->GetEdgeCount(); ++j)
        text += "e " + std::to_string(j) + " " + std::to_string(doc->m_edgeFrom[j]) + " " +
                std::to_string(doc->m_edgeTo[j]) + "\n";
    ExpectGolden("golden/model/primitives.txt", text);
}

TEST(Primitives, ResolutionSetsTheRingSize)
{
    const std::pair<void (CPolydromDoc::*)(), int> settings[] = {
        {&CPolydromDoc::OnResVeryLow, 5}, {&CPolydromDoc::OnResLow, 10}, {&CPolydromDoc::OnResMedium, 20},
        {&CPolydromDoc::OnResHigh, 40},   {&CPolydromDoc::OnResVeryHigh, 80}};
    for (auto [command, points] : settings) {
        auto doc = NewDoc();
        (doc.get()->*command)();
        doc->OnShapeCylinder({});
        EXPECT_EQ(doc->GetVertexCount(), 2 * points);
        EXPECT_EQ(doc->GetEdgeCount(), 4 * points);
    }
}

TEST(Primitives, ShapeThatDoesNotFitIsRefusedWhole)
{
    auto doc = NewDoc();
    doc->OnResVeryHigh();
    for (int k = 0; k < 31; ++k) doc->OnShapeCylinder({});  // 31 * 320 = 9920 edges
    ASSERT_EQ(doc->GetEdgeCount(), 9920);
    doc->TakeReport();
    const auto before = Snapshot(*doc);
    doc->OnShapeCylinder({});
    EXPECT_TRUE(Snapshot(*doc) == before);
    const CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
    EXPECT_TRUE(report.text.starts_with("Cylinder refused: ")) << report.text;
    doc->OnShapeBox({});  // 80 edges are still free, and a box needs 16
    EXPECT_EQ(doc->GetEdgeCount(), 9936);
}

}  // namespace
