// Connect and Un-connect: edge order and direction, full arrays, packing and renumbering.
#include <gtest/gtest.h>

#include "model/model_fixtures.h"

namespace {

// Runs a command that always repaints once on a model given as text; it reports nothing
// but the word it says when it did nothing (report empty: not a word).
std::unique_ptr<CPolydromDoc> After(const std::string& before, void (CPolydromDoc::*command)(), int times = 1,
                                    const std::string& report = {})
{
    auto doc = ModelFrom(before);
    for (auto& used : doc->m_edgeUsed) used = 1;  // marks an export left
    CountingView view;
    doc->AddView(&view);
    for (int k = 0; k < times; ++k) (doc.get()->*command)();
    doc->RemoveView(&view);
    EXPECT_EQ(view.updates, times) << before;
    const CommandReport said = doc->TakeReport();
    EXPECT_EQ(said.kind, report.empty() ? CommandReport::Kind::None : CommandReport::Kind::Info) << before;
    EXPECT_EQ(said.text, report) << before;
    for (int j = 0; j < doc->GetEdgeCount(); ++j) EXPECT_EQ(doc->m_edgeUsed[j], 0) << "edge " << j << " of " << before;
    return doc;
}

TEST(Connect, Examples)
{
    const struct {
        const char* before;
        int times;
        const char* after;
        const char* report = "";
    } cases[] = {
        // Two selected join from the higher index; three make a triangle from the highest down.
        {"0 0 0 0|1 0 0 1|2 0 0 0|3 0 0 1;", 1, "0 0 0 0|1 0 0 1|2 0 0 0|3 0 0 1;3-1"},
        {"0 0 0 1|1 0 0 0|2 0 0 1|3 0 0 0|4 0 0 1;", 1, "0 0 0 1|1 0 0 0|2 0 0 1|3 0 0 0|4 0 0 1;4-2 2-0 0-4"},
        // The selection stays, but connecting again stores no edge twice (in either direction).
        {"0 0 0 1|1 0 0 1|2 0 0 1;", 2, "0 0 0 1|1 0 0 1|2 0 0 1;2-1 1-0 0-2"},
        // Other counts add nothing, and say why; a duplication mark (2) is not a selection.
        {"0 0 0 0|1 0 0 2;", 1, "0 0 0 0|1 0 0 2;", "Connect joins 2 or 3 selected vertices; none are selected"},
        {"0 0 0 1|1 0 0 2;", 1, "0 0 0 1|1 0 0 2;", "Connect joins 2 or 3 selected vertices; 1 is selected"},
        {"0 0 0 1|1 0 0 1|2 0 0 1|3 0 0 1|4 0 0 2;", 1, "0 0 0 1|1 0 0 1|2 0 0 1|3 0 0 1|4 0 0 2;",
         "Connect joins 2 or 3 selected vertices; 4 are selected"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModelText(*After(c.before, &CPolydromDoc::OnDoConnect, c.times, c.report)), c.after);
}

TEST(Connect, FullEdgeArraysAreRefusedWhole)
{
    auto doc = ModelFrom("0 0 0 0|1 0 0 0|2 0 0 1|3 0 0 1|4 0 0 1;");
    for (int j = 0; j < kTestCapacity - 2; ++j) Edges(*doc, {{0, 1}});
    const auto before = Snapshot(*doc);
    CountingView view;
    doc->AddView(&view);
    doc->OnDoConnect();
    EXPECT_TRUE(Snapshot(*doc) == before) << "no part of the triangle is added";
    const CommandReport report = doc->TakeReport();
    EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
    EXPECT_TRUE(report.text.starts_with("Connect refused: ")) << report.text;
    EXPECT_EQ(view.updates, 1);

    doc->m_sel[4] = 0;  // one edge still fits
    doc->OnDoConnect();
    EXPECT_EQ(doc->GetEdgeCount(), kTestCapacity - 1);
    EXPECT_EQ(doc->GetEdgeFrom(kTestCapacity - 2), 3);
    doc->m_sel[3] = 0;
    doc->m_sel[4] = 1;
    doc->OnDoConnect();
    EXPECT_EQ(doc->GetEdgeCount(), kTestCapacity);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);
    doc->m_sel[2] = 0;
    doc->m_sel[3] = 1;
    doc->OnDoConnect();
    EXPECT_EQ(doc->GetEdgeCount(), kTestCapacity);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::Refusal);
    doc->RemoveView(&view);
}

TEST(Unconnect, Examples)
{
    const struct {
        const char* before;
        const char* after;
        const char* report = "";
    } cases[] = {
        // A square with one corner selected: the corner and its two edges go, the rest moves down.
        {"0 0 0 0|1 10 -1 1|2 20 -2 0|3 30 -3 0;0-1 1-2 2-3 3-0", "0 0 0 0|2 20 -2 0|3 30 -3 0;1-2 2-0"},
        // Nothing selected: nothing goes (only the export marks are cleared).
        {"0 0 0 0|1 0 0 0|2 0 0 0;0-1 1-2 2-0", "0 0 0 0|1 0 0 0|2 0 0 0;0-1 1-2 2-0"},
        // Marked edges stay; vertices 0, 1, 3, 4 become 0 to 3; a self-loop goes with its vertex.
        {"0 0 0 0|1 0 0 0|2 0 0 1|3 0 0 0|4 0 0 0;4-3 0-1 1-2 2-2 3-0 0-1", "0 0 0 0|1 0 0 0|3 0 0 0|4 0 0 0;3-2 0-1 2-0 0-1"},
        {"0 0 0 1|1 0 0 1;0-1 1-0", ";"},
    };
    for (const auto& c : cases) EXPECT_EQ(ModelText(*After(c.before, &CPolydromDoc::OnDoUnconnect)), c.after);
}

TEST(Unconnect, KeepsTheOtherShapesIntact)
{
    // Delete all of two shapes, or only the first: the second comes back renumbered from 0.
    auto doc = NewDoc();
    doc->OnShapeCylinder({});
    doc->OnShapeCone({});
    doc->OnDoUnconnect();
    EXPECT_EQ(SavedBytes(*doc), std::vector<unsigned char>(8, 0));

    auto expected = NewDoc();
    expected->OnShapePyramid({});
    expected->OnDoDeselectAll();
    doc->OnShapeCircle({});
    doc->OnShapePyramid({});
    for (int i = 5; i < 10; ++i) doc->m_sel[i] = 0;
    doc->OnDoUnconnect();
    EXPECT_EQ(SavedBytes(*doc), SavedBytes(*expected));
}

}  // namespace
