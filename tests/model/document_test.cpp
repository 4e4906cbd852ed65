// The document itself: construction, File > New, the click limit, moving, accessors.
#include <gtest/gtest.h>

#include <cmath>

#include "model/model_fixtures.h"

namespace {

TEST(Document, ConstructionGivesANewModelsSettings)
{
    auto doc = std::make_unique<CPolydromDoc>();
    EXPECT_EQ(doc->GetVertexCount(), 0);
    EXPECT_EQ(doc->GetEdgeCount(), 0);
    EXPECT_EQ(doc->m_nResolution, 5);
    // A model opened from the command line never passes through File > New.
    EXPECT_EQ(doc->m_zoom, 1.0f);
    EXPECT_EQ(doc->m_step, 0.01f);
    EXPECT_EQ(doc->m_axisZ, 1);
}

TEST(Document, NewDocumentResetsModelAndViewCopiesButNotResolution)
{
    auto doc = NewDoc();
    doc->OnResMedium();
    for (int i = 0; i < 3; ++i) doc->AddVertex(1.0f, 2.0f, 3.0f);
    doc->m_edgeFrom[1] = doc->m_edgeTo[1] = doc->m_edgeUsed[1] = 7;
    doc->m_dup[0] = 4;
    doc->SetZoomAndPan(3.0f, 1.0f, 2.0f, 3.0f);
    doc->SetCursorAndAxis(4.0f, 5.0f, 6.0f, 1, 0, 0);
    doc->m_step = 0.5f;

    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(doc->GetVertexCount(), 0);
    EXPECT_EQ(doc->GetEdgeCount(), 0);
    EXPECT_EQ(doc->m_zoom, 1.0f);
    EXPECT_EQ(Bits(doc->m_panX) | Bits(doc->m_panY) | Bits(doc->m_panZ), 0u) << "pan is +0";
    EXPECT_EQ(Bits(doc->m_cursorX) | Bits(doc->m_cursorY) | Bits(doc->m_cursorZ), 0u) << "cursor is +0";
    EXPECT_EQ(doc->m_axisX, 0);
    EXPECT_EQ(doc->m_axisY, 0);
    EXPECT_EQ(doc->m_axisZ, 1);
    EXPECT_EQ(doc->m_step, 0.01f);
    EXPECT_EQ(doc->m_nResolution, 20);
    // Element 0 of every array is cleared; the rest keeps what it held.
    EXPECT_EQ(Bits(doc->m_x[0]) | Bits(doc->m_y[0]) | Bits(doc->m_z[0]), 0u);
    EXPECT_EQ(doc->m_sel[0], 0);
    EXPECT_EQ(doc->m_dup[0], 0);
    EXPECT_EQ(doc->m_edgeFrom[0] | doc->m_edgeTo[0] | doc->m_edgeUsed[0], 0);
    EXPECT_EQ(doc->m_x[1], 1.0f);
    EXPECT_EQ(doc->m_sel[2], 1);
    EXPECT_EQ(doc->m_edgeUsed[1], 7);
}

TEST(Document, AddVertexAppendsASelectedVertexWithoutRedrawing)
{
    auto doc = NewDoc();
    CountingView view;
    doc->AddView(&view);
    doc->AddVertex(1.5f, -2.0f, 0.0f);
    ASSERT_EQ(doc->GetVertexCount(), 1);
    EXPECT_EQ(doc->GetVertexX(0), 1.5f);
    EXPECT_EQ(doc->GetVertexY(0), -2.0f);
    EXPECT_EQ(doc->GetVertexZ(0), 0.0f);
    EXPECT_EQ(doc->GetVertexSel(0), 1);
    EXPECT_EQ(doc->m_dup[0], -1);
    EXPECT_EQ(view.updates, 0);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);
    doc->RemoveView(&view);
}

TEST(Document, ClicksAddVerticesUpToOneThousand)
{
    auto doc = NewDoc();
    for (int i = 0; i < 999; ++i) doc->AddVertex(float(i), 0.0f, 0.0f);
    doc->AddVertex(999.0f, 0.0f, 0.0f);
    ASSERT_EQ(doc->GetVertexCount(), 1000);
    EXPECT_EQ(doc->GetVertexX(999), 999.0f);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);

    const auto before = Snapshot(*doc);
    doc->AddVertex(-5.0f, -5.0f, -5.0f);
    EXPECT_EQ(doc->GetVertexCount(), 1000);
    EXPECT_EQ(doc->GetVertexX(999), 999.0f) << "the last vertex is not overwritten";
    EXPECT_TRUE(Snapshot(*doc) == before) << "a refused click writes nothing, not even beyond the count";
    const CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
    EXPECT_NE(report.text.find("1000"), std::string::npos) << report.text;
}

TEST(Document, ClickAboveOneThousandDropsNothing)
{
    // Shapes may take the model past the click limit; a click must then neither add
    // nor lower the count to 1000, which would cut off vertices that edges refer to.
    auto doc = NewDoc();
    doc->OnResVeryHigh();
    for (int k = 0; k < 7; ++k) doc->OnShapeCylinder();  // 1120 vertices
    ASSERT_EQ(doc->GetVertexCount(), 1120);
    const auto before = Snapshot(*doc);
    doc->AddVertex(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(doc->GetVertexCount(), 1120);
    EXPECT_TRUE(Snapshot(*doc) == before);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::Refusal);
}

TEST(Document, MoveSelectedSubtractsTheOffsetFromStateOneOnly)
{
    auto doc = NewDoc();
    CountingView view;
    doc->AddView(&view);
    Vertex(*doc, 5.0f, 5.0f, 5.0f, 1);
    Vertex(*doc, 5.0f, 5.0f, 5.0f, 0);
    Vertex(*doc, 5.0f, 5.0f, 5.0f, 2);
    Vertex(*doc, 0.1f, -0.0f, 1e30f, 1);
    doc->MoveSelected(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(doc->GetVertexX(0), 4.0f);
    EXPECT_EQ(doc->GetVertexY(0), 3.0f);
    EXPECT_EQ(doc->GetVertexZ(0), 2.0f);
    for (int i : {1, 2}) {
        EXPECT_EQ(doc->GetVertexX(i), 5.0f) << i;
        EXPECT_EQ(doc->GetVertexY(i), 5.0f) << i;
        EXPECT_EQ(doc->GetVertexZ(i), 5.0f) << i;
    }
    // Each result is rounded to float once.
    EXPECT_EQ(doc->GetVertexX(3), static_cast<float>(double(0.1f) - 1.0));
    EXPECT_EQ(doc->GetVertexZ(3), 1e30f);
    EXPECT_EQ(view.updates, 0) << "the view repaints itself";
    doc->RemoveView(&view);
}

TEST(Document, MoveSelectedOnAnEmptyModelDoesNothing)
{
    auto doc = NewDoc();
    const auto before = Snapshot(*doc);
    doc->MoveSelected(1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Snapshot(*doc) == before);
}

TEST(Document, EdgeAccessorsReadTheirEndpoints)
{
    auto doc = NewDoc();
    doc->OnShapeBox();
    for (int j = 0; j < doc->GetEdgeCount(); ++j) {
        const int from = doc->GetEdgeFrom(j), to = doc->GetEdgeTo(j);
        EXPECT_EQ(doc->GetEdgeFromX(j), doc->GetVertexX(from)) << j;
        EXPECT_EQ(doc->GetEdgeFromY(j), doc->GetVertexY(from)) << j;
        EXPECT_EQ(doc->GetEdgeFromZ(j), doc->GetVertexZ(from)) << j;
        EXPECT_EQ(doc->GetEdgeToX(j), doc->GetVertexX(to)) << j;
        EXPECT_EQ(doc->GetEdgeToY(j), doc->GetVertexY(to)) << j;
        EXPECT_EQ(doc->GetEdgeToZ(j), doc->GetVertexZ(to)) << j;
    }
}

TEST(Document, ViewStateCopiesChangeOnlyThemselves)
{
    auto doc = NewDoc();
    CountingView view;
    doc->AddView(&view);
    doc->OnShapePyramid();
    view.updates = 0;
    const auto model = SavedBytes(*doc);
    doc->SetZoomAndPan(2.5f, -1.0f, 2.0f, -3.0f);
    doc->SetCursorAndAxis(7.0f, 8.0f, 9.0f, 0, 1, 0);
    EXPECT_EQ(doc->m_zoom, 2.5f);
    EXPECT_EQ(doc->m_panX, -1.0f);
    EXPECT_EQ(doc->m_panZ, -3.0f);
    EXPECT_EQ(doc->m_cursorY, 8.0f);
    EXPECT_EQ(doc->m_axisY, 1);
    EXPECT_EQ(doc->m_axisZ, 0);
    EXPECT_EQ(doc->m_step, 0.01f);
    EXPECT_EQ(SavedBytes(*doc), model);
    EXPECT_EQ(view.updates, 0);
    doc->RemoveView(&view);
}

}  // namespace
