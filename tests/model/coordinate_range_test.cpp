// Commands whose results would leave the range of float coordinates are refused whole,
// so that no model ever holds an infinity and every saved model opens again.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <random>
#include <string>

#include "model/model_fixtures.h"

namespace {

using Action = std::function<void(CPolydromDoc&, const ViewState&)>;
using D = CPolydromDoc;

bool AllFinite(const CPolydromDoc& doc)
{
    for (int i = 0; i < doc.GetVertexCount(); ++i)
        if (!std::isfinite(doc.m_x[i]) || !std::isfinite(doc.m_y[i]) || !std::isfinite(doc.m_z[i])) return false;
    return true;
}

Action Cmd(DocCommand command)
{
    return [command](CPolydromDoc& doc, const ViewState& view) { command.Run(doc, view); };
}

Action Move(float dx, float dy, float dz)
{
    return [=](CPolydromDoc& doc, const ViewState&) { doc.MoveSelected(dx, dy, dz); };
}

TEST(CoordinateRange, ResultsBeyondTheLargestFloatAreRefusedWhole)
{
    // The far vertex comes last, so a command that stopped half way would already have
    // moved the first one. Step 0.5; the axis is the one the view looks along.
    const struct {
        const char* model;
        float cx, cy, cz;
        int axis;  // 0 X, 1 Y, 2 Z
        Action action;
        const char* name;
    } cases[] = {
        {"1 2 3 1|-3e38 0 0 1", 3e38f, 0, 0, 2, Cmd(&D::OnDoGrow), "Grow"},
        // The depth is scaled too, about the cursor's depth.
        {"1 2 3 1|0 0 -3e38 1", 0, 0, 3e38f, 2, Cmd(&D::OnDoGrow), "Grow"},
        {"1 2 3 1|3e38 3e38 0 1", 0, 0, 0, 2, Cmd(&D::OnDoRotateCcw), "Rotate Counter-clockwise"},
        {"1 2 3 1|3e38 3e38 0 1", 0, 0, 0, 2, Cmd(&D::OnDoRotateCw), "Rotate Clockwise"},
        {"1 2 3 1|0 3e38 3e38 1", 0, 0, 0, 0, Cmd(&D::OnDoRotateCw), "Rotate Clockwise"},
        {"1 2 3 1|3e38 0 3e38 1", 0, 0, 0, 1, Cmd(&D::OnDoRotateCcw), "Rotate Counter-clockwise"},
        // The difference from the cursor is rounded to float before the turn: already too far.
        {"1 2 3 1|-3e38 0 0 1", 3e38f, 0, 0, 2, Cmd(&D::OnDoRotateCcw), "Rotate Counter-clockwise"},
        {"1 2 3 1|-3e38 0 0 1", 3e38f, 0, 0, 2, Cmd(&D::OnDoMirror), "Mirror"},
        {"1 2 3 1|3e38 0 0 1", 0, 0, 0, 2, Move(-3e38f, 0, 0), "Move"},
        {"1 2 3 1|0 0 -3e38 1", 0, 0, 0, 2, Move(0, 0, 3e38f), "Move"},
        // Two far-apart clicks make the view's float offset itself infinite.
        {"1 2 3 0|0 0 0 1", 0, 0, 0, 2, Move(-INFINITY, 0, 0), "Move"},
    };
    for (const auto& c : cases) {
        auto doc = ModelFrom(c.model);
        doc->OnStepCoarsest();
        const ViewState view = Looking(c.axis, c.cx, c.cy, c.cz);
        const auto before = Snapshot(*doc);
        c.action(*doc, view);
        const CommandReport report = doc->TakeReport();
        EXPECT_EQ(report.kind, CommandReport::Kind::Refusal) << c.model << " " << c.name;
        EXPECT_EQ(report.text, std::string(c.name) + " refused: the result would leave the range of coordinates.");
        EXPECT_TRUE(Snapshot(*doc) == before) << c.model << " " << c.name << ": refused whole";

        // Only selected vertices count: with the far one deselected the command runs.
        doc->m_sel[1] = 0;
        c.action(*doc, view);
        EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None) << c.model << " " << c.name;
        EXPECT_TRUE(AllFinite(*doc)) << c.model << " " << c.name;
    }
}

TEST(CoordinateRange, ResultsUpToTheLargestFloatAreKept)
{
    const struct {
        const char* before;
        float cx;
        Action action;
        const char* after;
    } cases[] = {
        {"3.4028235e+38 0 0 1;", 3.4028235e38f, Cmd(&D::OnDoGrow), "3.4028235e+38 0 0 1;"},
        {"-3.4028235e+38 0 0 1;", 3.4028235e38f, Cmd(&D::OnDoShrink), "0 0 0 1;"},
        {"-3.4028235e+38 0 0 1;", 0, Cmd(&D::OnDoMirror), "-3.4028235e+38 0 0 0|3.4028235e+38 0 0 1;"},
        {"1.7014117e+38 0 0 1;", 0, Move(-1.7014117e38f, 0, 0), "3.4028235e+38 0 0 1;"},
    };
    for (const auto& c : cases) {
        auto doc = ModelFrom(c.before);
        doc->OnStepCoarsest();
        c.action(*doc, Looking(2, c.cx));
        EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None) << c.before;
        EXPECT_EQ(ModelText(*doc), c.after) << c.before;
    }
}

TEST(CoordinateRange, GrowPressedAgainAndAgainStopsAtTheEdgeAndTheModelStillSaves)
{
    auto doc = NewDoc();
    doc->OnShapeBox({});
    doc->OnStepCoarsest();
    int presses = 0;
    for (; presses < 400; ++presses) {
        const auto before = Snapshot(*doc);
        doc->OnDoGrow({});
        if (doc->TakeReport().kind == CommandReport::Kind::Refusal) {
            EXPECT_TRUE(Snapshot(*doc) == before);
            break;
        }
        ASSERT_TRUE(AllFinite(*doc)) << "after press " << presses + 1;
    }
    EXPECT_GT(presses, 150);
    EXPECT_LT(presses, 400) << "the growth is refused at the edge of the range";
    // What the refused model holds is a valid file.
    const std::vector<unsigned char> bytes = SavedBytes(*doc);
    auto reopened = NewDoc();
    CArchive ar(bytes);
    reopened->Serialize(ar);
    EXPECT_EQ(ModelText(*reopened), ModelText(*doc));
}

TEST(CoordinateRange, NoSequenceOfCommandsLeavesANonFiniteCoordinate)
{
    // Random commands on a model that starts near the edges, with the cursor often there too.
    const Action actions[] = {
        Cmd(&D::OnShapeBox),     Cmd(&D::OnShapeCircle),       Cmd(&D::OnShapePyramid), Cmd(&D::OnDoConnect),
        Cmd(&D::OnDoExtrude),    Cmd(&D::OnDoCopy),            Cmd(&D::OnDoMirror),     Cmd(&D::OnDoGrow),
        Cmd(&D::OnDoShrink),     Cmd(&D::OnDoRotateCcw),       Cmd(&D::OnDoRotateCw),   Cmd(&D::OnDoSelectAll),
        Cmd(&D::OnDoDeselectAll), Cmd(&D::OnDoSelectConnected), Cmd(&D::OnStepCoarsest), Cmd(&D::OnStepFinest),
        Cmd(&D::OnEditUndo),     Cmd(&D::OnEditRedo),
    };
    const float far[] = {0, 1, -1e30f, 3e38f, -3e38f, FLT_MAX, -FLT_MAX, INFINITY};
    std::mt19937 rng(17);
    auto doc = ModelFrom("3e38 -3e38 1 1|-3.4028235e+38 3.4028235e+38 -3e38 1|0 0 0 1;0-1 1-2 2-0");
    for (int k = 0; k < 3000; ++k) {
        const int axis = int(rng() % 3);
        auto pick = [&] { return far[rng() % std::size(far)]; };
        const float cx = pick(), cy = pick(), cz = pick();
        // The cursor of a click or --cursor is always finite; the move offset need not be.
        const ViewState view =
            Looking(axis, std::isfinite(cx) ? cx : 0, std::isfinite(cy) ? cy : 0, std::isfinite(cz) ? cz : 0);
        if (rng() % 5 == 0)
            doc->MoveSelected(pick(), pick(), pick());
        else
            actions[rng() % std::size(actions)](*doc, view);
        doc->CommitStep("Step");
        doc->TakeReport();
        ASSERT_TRUE(AllFinite(*doc)) << "after step " << k;
        if (doc->GetVertexCount() > kTestCapacity / 2) doc->OnNewDocument();
    }
}

}  // namespace
