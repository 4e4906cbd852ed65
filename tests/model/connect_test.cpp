// Connect and Un-connect: edge order and direction, full arrays, packing and renumbering.
#include <gtest/gtest.h>

#include "model/model_fixtures.h"

namespace {

using EdgeVector = std::vector<std::pair<int, int>>;

std::unique_ptr<CPolydromDoc> Points(int n)
{
    auto doc = NewDoc();
    for (int i = 0; i < n; ++i) Vertex(*doc, float(i), float(10 * i), float(-i));
    return doc;
}

TEST(Connect, TwoSelectedJoinFromTheHigherIndex)
{
    auto doc = Points(10);
    Select(*doc, {3, 7});
    doc->m_edgeUsed[0] = 1;  // a stale mark in the slot the edge goes to
    doc->OnDoConnect();
    EXPECT_EQ(EdgeList(*doc), (EdgeVector{{7, 3}}));
    EXPECT_EQ(doc->m_edgeUsed[0], 0);
}

TEST(Connect, ThreeSelectedMakeATriangleInOrder)
{
    auto doc = Points(10);
    Select(*doc, {2, 5, 9});
    CountingView view;
    doc->AddView(&view);
    doc->OnDoConnect();
    EXPECT_EQ(EdgeList(*doc), (EdgeVector{{9, 5}, {5, 2}, {2, 9}}));
    for (int j = 0; j < 3; ++j) EXPECT_EQ(doc->m_edgeUsed[j], 0);
    EXPECT_EQ(view.updates, 1);
    // The selection stays, so connecting again doubles the edges.
    doc->OnDoConnect();
    EXPECT_EQ(EdgeList(*doc), (EdgeVector{{9, 5}, {5, 2}, {2, 9}, {9, 5}, {5, 2}, {2, 9}}));
    doc->RemoveView(&view);
}

TEST(Connect, OtherCountsAddNothingButStillRedraw)
{
    for (auto selected : {std::vector<int>{}, {4}, {0, 1, 2, 3}}) {
        auto doc = Points(6);
        for (int v : selected) doc->m_sel[v] = 1;
        doc->m_sel[5] = 2;  // a duplication mark is not a selection
        CountingView view;
        doc->AddView(&view);
        doc->OnDoConnect();
        EXPECT_EQ(doc->GetEdgeCount(), 0) << selected.size();
        EXPECT_EQ(view.updates, 1);
        EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);
        doc->RemoveView(&view);
    }
}

TEST(Connect, FullEdgeArraysAreRefusedWhole)
{
    auto doc = Points(10);
    for (int j = 0; j < MODEL_CAPACITY - 2; ++j) Edges(*doc, {{0, 1}});
    Select(*doc, {2, 5, 9});
    const auto before = Snapshot(*doc);
    CountingView view;
    doc->AddView(&view);
    doc->OnDoConnect();
    EXPECT_TRUE(Snapshot(*doc) == before) << "no part of the triangle is added";
    const CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
    EXPECT_NE(report.text.find("Connect"), std::string::npos) << report.text;
    EXPECT_EQ(view.updates, 1);

    doc->m_sel[9] = 0;  // one edge still fits
    doc->OnDoConnect();
    EXPECT_EQ(doc->GetEdgeCount(), MODEL_CAPACITY - 1);
    EXPECT_EQ(doc->GetEdgeFrom(MODEL_CAPACITY - 2), 5);
    doc->OnDoConnect();
    EXPECT_EQ(doc->GetEdgeCount(), MODEL_CAPACITY);
    doc->TakeReport();
    doc->OnDoConnect();
    EXPECT_EQ(doc->GetEdgeCount(), MODEL_CAPACITY);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::Refusal);
    doc->RemoveView(&view);
}

TEST(Unconnect, SquareWithOneCornerSelected)
{
    auto doc = Points(4);
    Edges(*doc, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
    Select(*doc, {1});
    doc->OnDoUnconnect();
    ASSERT_EQ(doc->GetVertexCount(), 3);
    EXPECT_EQ(EdgeList(*doc), (EdgeVector{{1, 2}, {2, 0}}));
    const float xs[] = {0.0f, 2.0f, 3.0f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(doc->GetVertexX(i), xs[i]);
        EXPECT_EQ(doc->GetVertexY(i), 10 * xs[i]);
        EXPECT_EQ(doc->GetVertexZ(i), -xs[i]);
        EXPECT_EQ(doc->GetVertexSel(i), 0);
    }
}

TEST(Unconnect, NothingSelectedOnlyClearsTheMarks)
{
    auto doc = Points(4);
    Edges(*doc, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
    doc->m_edgeUsed[1] = doc->m_edgeUsed[3] = 1;  // left by an export
    const auto bytes = SavedBytes(*doc);
    CountingView view;
    doc->AddView(&view);
    doc->OnDoUnconnect();
    EXPECT_EQ(SavedBytes(*doc), bytes);
    for (int j = 0; j < 4; ++j) EXPECT_EQ(doc->m_edgeUsed[j], 0) << j;
    EXPECT_EQ(view.updates, 1);
    doc->RemoveView(&view);
}

TEST(Unconnect, ExportMarksDoNotRemoveEdges)
{
    auto doc = Points(5);
    Edges(*doc, {{4, 3}, {0, 1}, {1, 2}, {2, 2}, {3, 0}, {0, 1}});
    for (int j = 0; j < 6; ++j) doc->m_edgeUsed[j] = 1;
    Select(*doc, {2});
    doc->m_dup[3] = 99;
    doc->OnDoUnconnect();
    // Vertices 0, 1, 3, 4 become 0, 1, 2, 3; the self-loop goes with its vertex.
    EXPECT_EQ(EdgeList(*doc), (EdgeVector{{3, 2}, {0, 1}, {2, 0}, {0, 1}}));
    for (int j = 0; j < 4; ++j) EXPECT_EQ(doc->m_edgeUsed[j], 0) << j;
    EXPECT_EQ(doc->m_dup[3], 99) << "duplicate links stay where they were";
}

TEST(Unconnect, EverythingSelectedEmptiesTheModel)
{
    auto doc = NewDoc();
    doc->OnShapeCylinder();
    doc->OnShapeCone();
    doc->OnDoUnconnect();
    EXPECT_EQ(doc->GetVertexCount(), 0);
    EXPECT_EQ(doc->GetEdgeCount(), 0);
    EXPECT_EQ(SavedBytes(*doc), std::vector<unsigned char>(8, 0));
}

TEST(Unconnect, KeepsTheOtherShapesIntact)
{
    // Delete the first of two shapes: the second comes back renumbered from 0.
    auto expected = NewDoc();
    expected->OnShapePyramid();
    expected->OnDoDeselectAll();
    auto doc = NewDoc();
    doc->OnShapeCircle();
    doc->OnShapePyramid();
    for (int i = 5; i < 10; ++i) doc->m_sel[i] = 0;
    doc->OnDoUnconnect();
    EXPECT_EQ(SavedBytes(*doc), SavedBytes(*expected));
}

}  // namespace
