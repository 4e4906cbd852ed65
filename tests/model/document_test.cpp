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
    doc->m_dup[0] = 4;
    doc->m_step = 0.5f;

    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ModelText(*doc), ";");
    EXPECT_EQ(doc->m_step, 0.01f);
    EXPECT_EQ(doc->m_nResolution, 20);
    // Every array is empty, and gives its memory back.
    EXPECT_EQ(doc->m_x.capacity() + doc->m_sel.capacity() + doc->m_dup.capacity() + doc->m_edgeUsed.capacity(), 0u);
}

TEST(Document, ClicksAddSelectedVerticesUpToTheModelLimit)
{
    auto doc = NewDoc();
    CountingView view;
    doc->AddView(&view);
    doc->AddVertex(1.5f, -2.0f, 0.0f);
    EXPECT_EQ(ModelText(*doc), "1.5 -2 0 1;");
    EXPECT_EQ(doc->m_dup[0], -1);
    EXPECT_EQ(view.updates, 0) << "the view repaints itself after a click";
    // Clicks once stopped at 1000 vertices, silently doing nothing on an imported mesh.
    for (int i = 1; i < 1200; ++i) doc->AddVertex(float(i), 0.0f, 0.0f);
    ASSERT_EQ(doc->GetVertexCount(), 1200);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);

    doc->m_limits.vertices = 1200;
    const auto before = Snapshot(*doc);
    doc->AddVertex(-5.0f, -5.0f, -5.0f);
    EXPECT_TRUE(Snapshot(*doc) == before) << "a refused click writes nothing";
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
