// Extrude, Copy, Mirror, the steps, Grow, Shrink and the rotations on the document:
// edge order, float bits, refusals at the capacity, and the repaint requests.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/model_fixtures.h"

namespace {

using Command = DocCommand;
using D = CPolydromDoc;

TEST(Duplicate, Examples)
{
    const struct {
        const char* before;
        Command command;
        const char* after;
        float cursorX = 0;
    } cases[] = {
        // Per selected edge the diagonal and the duplicate, then the pillars in vertex order.
        {"0 0 0 1|1 0 0 1;0-1", &D::OnDoExtrude, "0 0 0 0|1 0 0 0|0 0 0 1|1 0 0 1;0-1 0-3 2-3 0-2 1-3"},
        {"2 3 4 1;", &D::OnDoExtrude, "2 3 4 0|2 3 4 1;0-1"},
        // An edge with one selected end is not duplicated; Extrude still gives the pillar.
        {"0 0 0 1|1 0 0 0;0-1", &D::OnDoExtrude, "0 0 0 0|1 0 0 0|0 0 0 1;0-1 0-2"},
        {"0 0 0 1|1 0 0 0;0-1", &D::OnDoCopy, "0 0 0 0|1 0 0 0|0 0 0 1;0-1"},
        {"0 0 0 1|1 0 0 1;0-1", &D::OnDoCopy, "0 0 0 0|1 0 0 0|0 0 0 1|1 0 0 1;0-1 2-3"},
        // Copies keep every bit, -0, subnormals and the largest float included.
        {"-0 1e-45 3.4028235e+38 1|1 2 3 0|0.1 0.2 0.3 1;0-2 1-2", &D::OnDoExtrude,
         "-0 1e-45 3.4028235e+38 0|1 2 3 0|0.1 0.2 0.3 0|-0 1e-45 3.4028235e+38 1|0.1 0.2 0.3 1;0-2 1-2 0-4 3-4 0-3 2-4"},
        // Mirror reflects in X about half the cursor's X, whatever axis the view looks along.
        {"3 5 7 1|12 0 0 1;1-0", &D::OnDoMirror, "3 5 7 0|12 0 0 0|-3 5 7 1|-12 0 0 1;1-0 3-2"},
        {"3 5 7 1|12 0 0 1|1 1 1 0;", &D::OnDoMirror, "3 5 7 0|12 0 0 0|1 1 1 0|7 5 7 1|-2 0 0 1;", 10},
    };
    for (const auto& c : cases) {
        auto doc = ModelFrom(c.before);
        c.command.Run(*doc, Looking(0, c.cursorX, 99, 99));
        EXPECT_EQ(ModelText(*doc), c.after) << c.before;
        for (int i = 0; i < doc->GetVertexCount(); ++i) EXPECT_EQ(doc->m_dup[i], -1) << "no marks remain";
    }
}

TEST(Duplicate, NothingSelectedChangesNothing)
{
    for (Command command : std::initializer_list<Command>{&D::OnDoExtrude, &D::OnDoCopy, &D::OnDoMirror, &D::OnDoGrow, &D::OnDoShrink,
                            &D::OnDoRotateCcw, &D::OnDoRotateCw}) {
        auto doc = ModelFrom("1 2 3 0|4 5 6 0;0-1");
        doc->OnStepCoarsest();
        const auto before = Snapshot(*doc);
        command.Run(*doc);
        EXPECT_TRUE(Snapshot(*doc) == before);
    }
}

std::unique_ptr<CPolydromDoc> SelectedChain(int vertices)
{
    auto doc = NewDoc();
    for (int i = 0; i < vertices; ++i) Vertex(*doc, 1, 2, 3, 1);
    for (int i = 0; i + 1 < vertices; ++i) Edges(*doc, {{i, i + 1}});
    return doc;
}

TEST(Duplicate, RefusedWholeWhenTheDuplicatesWouldNotFit)
{
    // 6000 selected vertices in a chain: a copy needs 6000 more vertices than fit.
    for (Command command : std::initializer_list<Command>{&D::OnDoCopy, &D::OnDoMirror, &D::OnDoExtrude}) {
        auto doc = SelectedChain(6000);
        const auto before = Snapshot(*doc);
        command.Run(*doc);
        EXPECT_TRUE(Snapshot(*doc) == before);
        const CommandReport report = doc->TakeReport();
        EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
        EXPECT_NE(report.text.find(" refused: it needs 6000 vertices and "), std::string::npos) << report.text;
    }
    auto doc = SelectedChain(6000);
    doc->OnDoCopy();
    EXPECT_EQ(doc->TakeReport().text,
              "Copy refused: it needs 6000 vertices and 5999 edges, but the model has room for only 4000 more "
              "vertices and 4001 more edges.");

    // 3000 vertices fit twice over, but 2 * 2999 + 3000 new edges do not.
    doc = SelectedChain(3000);
    doc->OnDoExtrude();
    EXPECT_EQ(doc->GetVertexCount(), 3000);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::Refusal);
    doc->OnDoCopy();  // 3000 vertices and 2999 edges: room for that
    EXPECT_EQ(doc->GetVertexCount(), 6000);
    EXPECT_EQ(doc->GetEdgeCount(), 5998);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);

    // 5000 vertices and 5000 pillars fill both arrays exactly, which is allowed.
    doc = SelectedChain(5000);
    doc->ResizeModel(doc->GetVertexCount(), 0, 0);
    doc->OnDoExtrude();
    EXPECT_EQ(doc->GetVertexCount(), kTestCapacity);
    EXPECT_EQ(doc->GetEdgeCount(), 5000);
    EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None);
}

TEST(Duplicate, EveryEditingCommandAsksTheViewsToRepaintButNotTheSteps)
{
    auto doc = ModelFrom("1 2 3 1;");
    CountingView view;
    doc->AddView(&view);
    for (Command command : std::initializer_list<Command>{&D::OnDoExtrude, &D::OnDoCopy, &D::OnDoMirror, &D::OnDoGrow, &D::OnDoShrink,
                            &D::OnDoRotateCcw, &D::OnDoRotateCw}) {
        const int before = view.updates;
        command.Run(*doc);
        EXPECT_EQ(view.updates, before + 1);
    }
    const int before = view.updates;
    for (Command step : {&D::OnStepFinest, &D::OnStepFine, &D::OnStepCoarse, &D::OnStepCoarsest}) step.Run(*doc);
    EXPECT_EQ(view.updates, before);
    doc->RemoveView(&view);
}

TEST(Transform, StepsSetTheirValues)
{
    const std::pair<Command, float> steps[] = {
        {&D::OnStepFinest, 0.01f}, {&D::OnStepFine, 0.05f}, {&D::OnStepCoarse, 0.1f}, {&D::OnStepCoarsest, 0.5f}};
    auto doc = NewDoc();
    for (auto [command, step] : steps) {
        doc->m_step = 7;
        command.Run(*doc);
        EXPECT_EQ(doc->m_step, step);
    }
}

// The expected bits below were worked out apart from this code, with the same
// double-precision steps and float roundings written out by hand. Each case moves a
// selected vertex and must leave an unselected one at the same place where it is.
TEST(Transform, Examples)
{
    const struct {
        float start[3], cursor[3];
        int axis;  // 0, 1, 2: looking along X, Y, Z
        std::vector<Command> commands;
        float expected[3];
    } cases[] = {
        {{100, 0, 0}, {0, 0, 0}, 2, {&D::OnStepCoarse, &D::OnDoGrow}, {110, 0, 0}},
        {{100, 0, 0}, {0, 0, 0}, 2, {&D::OnStepCoarse, &D::OnDoShrink}, {90, 0, 0}},
        {{100, 0, 0}, {0, 0, 0}, 2, {&D::OnStepCoarsest, &D::OnDoGrow}, {150, 0, 0}},
        {{100, 0, 0}, {0, 0, 0}, 2, {&D::OnStepCoarsest, &D::OnDoShrink}, {50, 0, 0}},
        // Not inverses: 1.5 * 0.5.
        {{100, 0, 0}, {0, 0, 0}, 2, {&D::OnStepCoarsest, &D::OnDoGrow, &D::OnDoShrink}, {75, 0, 0}},
        // Scaling is about the cursor, its depth included.
        {{0, 0, 0}, {0, 0, 10}, 2, {&D::OnStepCoarsest, &D::OnDoShrink}, {0, 0, 5}},
        {{3.3f, -7.7f, 1e-3f}, {0.7f, 0.2f, -5.1f}, 2, {&D::OnStepFine, &D::OnDoGrow},
         {0x1.b70a3cp+1f, -0x1.030a3cp+3f, 0x1.0631e8p-2f}},
        {{3.3f, -7.7f, 1e-3f}, {0.7f, 0.2f, -5.1f}, 2, {&D::OnDoShrink},  // a new model's step, 0.01
         {0x1.a3126ep+1f, -0x1.e7be76p+2f, -0x1.99ae78p-5f}},
        // Half a radian about Z, in both directions.
        {{100, 0, 5}, {0, 0, 0}, 2, {&D::OnStepCoarsest, &D::OnDoRotateCcw}, {0x1.5f0884p+6f, -0x1.7f8a2p+5f, 5}},
        {{0, 100, 0}, {0, 0, 0}, 2, {&D::OnStepCoarsest, &D::OnDoRotateCcw}, {0x1.7f89e2p+5f, 0x1.5f0894p+6f, 0}},
        {{100, 0, 5}, {0, 0, 0}, 2, {&D::OnStepCoarsest, &D::OnDoRotateCw}, {0x1.5f0864p+6f, 0x1.7f8a94p+5f, 5}},
        // One way and back lands close to, not exactly on, the start.
        {{100, 0, 5}, {0, 0, 0}, 2, {&D::OnStepCoarsest, &D::OnDoRotateCcw, &D::OnDoRotateCw},
         {0x1.90000ep+6f, 0x1.28379ap-12f, 5}},
        // In the X and Y planes.
        {{3.25f, -7.5f, 2}, {1.5f, 2.5f, -4}, 0, {&D::OnDoRotateCcw}, {3.25f, -0x1.e3ceb6p+2f, 0x1.e6549p+0f}},
        {{3.25f, -7.5f, 2}, {1.5f, 2.5f, -4}, 1, {&D::OnStepFine, &D::OnDoRotateCw},
         {0x1.79558p+1f, -7.5f, 0x1.0a3c58p+1f}},
        // The cursor point itself stays put under every transform.
        {{4, 5, 6}, {4, 5, 6}, 1,
         {&D::OnStepCoarsest, &D::OnDoGrow, &D::OnDoShrink, &D::OnDoRotateCcw, &D::OnDoRotateCw},
         {4, 5, 6}},
    };
    for (const auto& c : cases) {
        auto doc = NewDoc();
        Vertex(*doc, c.start[0], c.start[1], c.start[2], 1);
        Vertex(*doc, c.start[0], c.start[1], c.start[2], 0);
        const ViewState view = Looking(c.axis, c.cursor[0], c.cursor[1], c.cursor[2]);
        for (Command command : c.commands) command.Run(*doc, view);
        const std::string where = ModelText(*doc);
        EXPECT_EQ(Bits(doc->m_x[0]), Bits(c.expected[0])) << where;
        EXPECT_EQ(Bits(doc->m_y[0]), Bits(c.expected[1])) << where;
        EXPECT_EQ(Bits(doc->m_z[0]), Bits(c.expected[2])) << where;
        EXPECT_TRUE(doc->m_x[1] == c.start[0] && doc->m_y[1] == c.start[1] && doc->m_z[1] == c.start[2]) << where;
    }
}

}  // namespace
