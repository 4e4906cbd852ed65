// The document itself: construction, File > New, the click limit, moving.
#include <gtest/gtest.h>

#include "model/model_fixtures.h"

namespace {

TEST(Document, ConstructionGivesANewModelsSettings)
{
    // A model opened from the command line never passes through File > New.
    auto doc = std::make_unique<CPolydromDoc>();
    EXPECT_EQ(ModelText(*doc), ";");
    EXPECT_EQ(doc->m_nResolution, 5);
    EXPECT_EQ(doc->m_step, 0.01f);
}

TEST(Document, NewDocumentResetsModelAndStepButNotResolution)
{
    auto doc = NewDoc();
    doc->OnResMedium();
    for (int i = 0; i < 3; ++i) doc->AddVertex(1.0f, 2.0f, 3.0f);
    doc->m_edgeFrom[1] = doc->m_edgeTo[1] = doc->m_edgeUsed[1] = 7;
    doc->m_dup[0] = 4;
    doc->m_step = 0.5f;

    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ModelText(*doc), ";");
    EXPECT_EQ(doc->m_step, 0.01f);
    EXPECT_EQ(doc->m_nResolution, 20);
    // Element 0 of every array is cleared; the rest keeps what it held.
    EXPECT_EQ(Bits(doc->m_x[0]) | Bits(doc->m_y[0]) | Bits(doc->m_z[0]), 0u);
    EXPECT_EQ(doc->m_sel[0] | doc->m_dup[0], 0);
    EXPECT_EQ(doc->m_edgeFrom[0] | doc->m_edgeTo[0] | doc->m_edgeUsed[0], 0);
    EXPECT_EQ(doc->m_x[1], 1.0f);
    EXPECT_EQ(doc->m_sel[2], 1);
    EXPECT_EQ(doc->m_edgeUsed[1], 7);
}

TEST(Document, ClicksAddSelectedVerticesWhileTheModelHoldsFewerThanOneThousand)
{
    auto doc = NewDoc();
    CountingView view;
    doc->AddView(&view);
    doc->AddVertex(1.5f, -2.0f, 0.0f);
    EXPECT_EQ(ModelText(*doc), "1.5 -2 0 1;");
    EXPECT_EQ(doc->m_dup[0], -1);
    EXPECT_EQ(view.updates, 0) << "the view repaints itself after a click";
    for (int i = 1; i < 1000; ++i) doc->AddVertex(float(i), 0.0f, 0.0f);
    ASSERT_EQ(doc->GetVertexCount(), 1000);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);

    auto before = Snapshot(*doc);
    doc->AddVertex(-5.0f, -5.0f, -5.0f);
    EXPECT_TRUE(Snapshot(*doc) == before) << "a refused click writes nothing, not even beyond the count";
    EXPECT_EQ(doc->TakeReport().text,
              "No vertex added: clicks add vertices only while the model holds fewer than 1000.");

    // Shapes may take the model past the limit; a click must then neither add nor lower
    // the count to 1000, which would cut off vertices that edges refer to.
    doc = NewDoc();
    doc->OnResVeryHigh();
    for (int k = 0; k < 7; ++k) doc->OnShapeCylinder({});  // 1120 vertices
    before = Snapshot(*doc);
    doc->AddVertex(0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(Snapshot(*doc) == before);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::Refusal);
    doc->RemoveView(&view);
}

TEST(Document, MoveSelectedSubtractsTheOffsetFromStateOneOnly)
{
    auto doc = ModelFrom("5 5 5 1|5 5 5 0|5 5 5 2|0.1 -0 1e+30 1;");
    CountingView view;
    doc->AddView(&view);
    doc->MoveSelected(1.0f, 2.0f, 3.0f);
    // Each result is rounded to float once: 0.1f - 1 in double, then to float.
    EXPECT_EQ(ModelText(*doc), "4 3 2 1|5 5 5 0|5 5 5 2|-0.9 -2 1e+30 1;");
    EXPECT_EQ(doc->m_x[3], static_cast<float>(double(0.1f) - 1.0));
    EXPECT_EQ(view.updates, 0) << "the view repaints itself";
    doc->RemoveView(&view);
}

}  // namespace
