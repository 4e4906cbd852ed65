// The typed edits on the document: exact results on every axis, the sense of rotation,
// refusals that leave every byte as it was, and the region selection's three modes.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>

#include "model/model_fixtures.h"

namespace {

using Edit = std::function<bool(CPolydromDoc&)>;

// Axis flags: along X, along Y, along Z.
constexpr int kAlong[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

TEST(TypedEdits, ExactResults)
{
    const struct {
        const char* what;
        const char* before;
        int axis;
        float cursor[3];
        Edit edit;
        const char* after;
    } cases[] = {
        {"a quarter turn along Z takes (100, 0, 0) to (0, -100, 0) exactly", "100 0 0 1|100 0 0 0;", 2, {0, 0, 0},
         [](auto& d) { return d.RotateSelectionBy(90); }, "0 -100 0 1|100 0 0 0;"},
        {"along X the view shows Z across and Y down", "7 0 100 1;", 0, {0, 0, 0},
         [](auto& d) { return d.RotateSelectionBy(90); }, "7 -100 0 1;"},
        {"along Y it shows X across and Z down", "100 7 0 1;", 1, {0, 0, 0},
         [](auto& d) { return d.RotateSelectionBy(90); }, "0 7 -100 1;"},
        {"about the cursor, the depth untouched", "20 10 5 1;", 2, {10, 10, 3},
         [](auto& d) { return d.RotateSelectionBy(-90); }, "10 20 5 1;"},
        {"half and whole turns are exact, however many", "3 4 0 1;", 2, {0, 0, 0},
         [](auto& d) { return d.RotateSelectionBy(-540); }, "-3 -4 0 1;"},
        {"450 degrees is a quarter turn", "100 0 0 1;", 2, {0, 0, 0}, [](auto& d) { return d.RotateSelectionBy(450); },
         "0 -100 0 1;"},
        {"a move adds in double and rounds once", "0.1 1 -1 1|5 5 5 0;", 2, {0, 0, 0},
         [](auto& d) { return d.MoveSelectionBy(0.2, -1, 1e-30); }, "0.3 0 -1 1|5 5 5 0;"},
        {"scale about the whole cursor point, depth included", "2 3 4 1;", 2, {1, 1, 1},
         [](auto& d) { return d.ScaleSelectionBy(2); }, "3 5 7 1;"},
        {"a tenth of 100 is 10, not a float off", "100 -100 0 1;", 2, {0, 0, 0},
         [](auto& d) { return d.ScaleSelectionBy(0.1); }, "10 -10 0 1;"},
        {"a factor of 0 gathers the selection at the cursor", "2 3 4 1|9 9 9 1;", 0, {1, 2, 3},
         [](auto& d) { return d.ScaleSelectionBy(0); }, "1 2 3 1|1 2 3 1;"},
        {"a vertex goes at the typed point, selected, past the click limit", "1 1 1 0;", 2, {0, 0, 0},
         [](auto& d) { return d.AddVertexAt(0.1, -2.5, 3e4); }, "1 1 1 0|0.1 -2.5 30000 1;"},
    };
    for (const auto& c : cases) {
        auto doc = ModelFrom(c.before);
        doc->SetCursorAndAxis(c.cursor[0], c.cursor[1], c.cursor[2], kAlong[c.axis][0], kAlong[c.axis][1],
                              kAlong[c.axis][2]);
        EXPECT_TRUE(c.edit(*doc)) << c.what;
        EXPECT_EQ(ModelText(*doc), c.after) << c.what;
        EXPECT_EQ(doc->TakeReport().kind, CommandReport::Kind::None) << c.what;
    }
}

TEST(TypedEdits, FourQuarterTurnsReturnEveryBit)
{
    auto doc = ModelFrom("0.1 -7.3 2 1|1e-45 3.4028235e+38 -0 1;");
    const auto before = ModelText(*doc);
    for (int k = 0; k < 4; ++k) doc->RotateSelectionBy(90);
    EXPECT_EQ(ModelText(*doc), before);
}

// Rotate By and Rotate Counter-clockwise turn the same way in every view: half a radian
// each, they agree to within the older command's slightly short quarter turn.
TEST(TypedEdits, PositiveAnglesTurnAsRotateCounterClockwise)
{
    for (const auto& along : kAlong) {
        auto typed = ModelFrom("30 -40 50 1;");
        auto stepped = ModelFrom("30 -40 50 1;");
        for (auto* doc : {typed.get(), stepped.get()}) doc->SetCursorAndAxis(1, 2, 3, along[0], along[1], along[2]);
        typed->RotateSelectionBy(0.5 * 180 / std::numbers::pi);
        stepped->OnStepCoarsest();
        stepped->OnDoRotateCcw();
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
        {"3e38 0 0 1;", [](auto& d) { return d.ScaleSelectionBy(2); },
         "Scale By refused: the result would leave the range of coordinates."},
        {"3e38 3e38 0 1;", [](auto& d) { return d.RotateSelectionBy(45); },
         "Rotate By refused: the result would leave the range of coordinates."},
        {"1 2 3 1;", [](auto& d) { return d.RotateSelectionBy(NAN); },
         "Rotate By refused: the angle is not a finite number."},
        {"1 2 3 1;", [](auto& d) { return d.ScaleSelectionBy(INFINITY); },
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

TEST(TypedEdits, AddVertexAtStopsAtTheCapacityNotAtTheClickLimit)
{
    auto doc = NewDoc();
    for (int i = 0; i < MAX_CLICK_VERTICES; ++i) Vertex(*doc, float(i));
    EXPECT_TRUE(doc->AddVertexAt(1, 2, 3));
    while (doc->m_nVertices < MODEL_CAPACITY) Vertex(*doc, 0);
    const auto before = Snapshot(*doc);
    EXPECT_FALSE(doc->AddVertexAt(1, 2, 3));
    EXPECT_TRUE(Snapshot(*doc) == before);
    EXPECT_EQ(doc->TakeReport().text, "Add Vertex At refused: the model already holds 10000 vertices, as many as it can.");
}

TEST(TypedEdits, SelectionChanges)
{
    const struct {
        const char* what;
        std::function<void(CPolydromDoc&)> change;
        std::vector<int> after;
    } cases[] = {
        {"invert", [](auto& d) { d.OnDoSelectInvert(); }, {0, 1, 0, 1}},
        {"the region becomes the selection",
         [](auto& d) { d.ChangeSelection({true, true, false, false}, SelectionChange::Replace); }, {1, 1, 0, 0}},
        {"the region joins it", [](auto& d) { d.ChangeSelection({false, true, false, true}, SelectionChange::Add); },
         {1, 1, 1, 1}},
        {"the region leaves it", [](auto& d) { d.ChangeSelection({true, true, false, true}, SelectionChange::Remove); },
         {0, 0, 1, 0}},
    };
    for (const auto& c : cases) {
        auto doc = ModelFrom("0 0 0 1|1 0 0 0|2 0 0 1|3 0 0 0;");
        c.change(*doc);
        EXPECT_EQ(Selection(*doc), c.after) << c.what;
    }
}

}  // namespace
