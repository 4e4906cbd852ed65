// The typed edits on the document: quarter turns that lose no bit, the sense of rotation,
// and refusals that leave every byte as it was. Batch tests show the exact results.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "model/model_fixtures.h"

namespace {

using Edit = std::function<bool(CPolydromDoc&)>;


TEST(TypedEdits, FourQuarterTurnsReturnEveryBit)
{
    auto doc = ModelFrom("0.1 -7.3 2 1|1e-45 3.4028235e+38 -0 1;");
    const auto before = ModelText(*doc);
    for (int k = 0; k < 4; ++k) doc->RotateSelectionBy(90, {});
    EXPECT_EQ(ModelText(*doc), before);
}

// Rotate By and Rotate Counter-clockwise turn the same way in every view: half a radian
// each, they agree to within the older command's slightly short quarter turn.
TEST(TypedEdits, PositiveAnglesTurnAsRotateCounterClockwise)
{
    for (int axis = 0; axis < 3; ++axis) {
        auto typed = ModelFrom("30 -40 50 1;");
        auto stepped = ModelFrom("30 -40 50 1;");
        const ViewState view = Looking(axis, 1, 2, 3);
        typed->RotateSelectionBy(0.5 * 180 / std::numbers::pi, view);
        stepped->OnStepCoarsest();
        stepped->OnDoRotateCcw(view);
        EXPECT_NEAR(typed->m_x[0], stepped->m_x[0], 1e-3);
        EXPECT_NEAR(typed->m_y[0], stepped->m_y[0], 1e-3);
        EXPECT_NEAR(typed->m_z[0], stepped->m_z[0], 1e-3);
    }
}

TEST(TypedEdits, RefusedWholeWithTheModelUntouched)
{
    const struct {
        const char* before;
        Edit edit;
        const char* report;
    } cases[] = {
        // The first selected vertex could move; the second could not, so neither does.
        {"0 0 0 1|3e38 0 0 1|3e38 0 0 0;", [](auto& d) { return d.MoveSelectionBy(1e38, 0, 0); },
         "Move By refused: the result would leave the range of coordinates."},
        {"3e38 0 0 1;", [](auto& d) { return d.ScaleSelectionBy(2, {}); },
         "Scale By refused: the result would leave the range of coordinates."},
        {"3e38 3e38 0 1;", [](auto& d) { return d.RotateSelectionBy(45, {}); },
         "Rotate By refused: the result would leave the range of coordinates."},
        {"1 2 3 1;", [](auto& d) { return d.RotateSelectionBy(NAN, {}); },
         "Rotate By refused: the angle is not a finite number."},
        {"1 2 3 1;", [](auto& d) { return d.ScaleSelectionBy(INFINITY, {}); },
         "Scale By refused: the factor is not a finite number."},
        {"1 2 3 1;", [](auto& d) { return d.MoveSelectionBy(0, -INFINITY, 0); },
         "Move By refused: the result would leave the range of coordinates."},
        {"1 2 3 1;", [](auto& d) { return d.AddVertexAt(0, 1e39, 0); },
         "Add Vertex At refused: the result would leave the range of coordinates."},
        {"1 2 3 1;", [](auto& d) { return d.AddVertexAt(NAN, 0, 0); },
         "Add Vertex At refused: the result would leave the range of coordinates."},
    };
    for (const auto& c : cases) {
        auto doc = ModelFrom(c.before);
        CountingView view;
        doc->AddView(&view);
        const auto before = Snapshot(*doc);
        EXPECT_FALSE(c.edit(*doc)) << c.report;
        EXPECT_TRUE(Snapshot(*doc) == before) << c.report;
        const CommandReport report = doc->TakeReport();
        EXPECT_EQ(report.kind, CommandReport::Kind::Refusal);
        EXPECT_EQ(report.text, c.report);
        EXPECT_EQ(view.updates, 0) << c.report;
        doc->RemoveView(&view);
    }
}

TEST(TypedEdits, AddVertexAtStopsAtTheModelLimit)
{
    auto doc = NewDoc();
    EXPECT_TRUE(doc->AddVertexAt(1, 2, 3));
    while (doc->GetVertexCount() < kTestCapacity) Vertex(*doc, 0);
    const auto before = Snapshot(*doc);
    EXPECT_FALSE(doc->AddVertexAt(1, 2, 3));
    EXPECT_TRUE(Snapshot(*doc) == before);
    EXPECT_EQ(doc->TakeReport().text, "Add Vertex At refused: the model already holds 10000 vertices, as many as it can.");
}

}  // namespace
