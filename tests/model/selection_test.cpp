// Select all, deselect all, select connected, and the pick window of a click.
#include <gtest/gtest.h>

#include <limits>

#include "model/model_fixtures.h"
#include "model/reference_passes.h"

namespace {

TEST(SelectAll, SelectsAndDeselectsEveryVertexAndRedraws)
{
    auto doc = NewDoc();
    CountingView view;
    doc->AddView(&view);
    doc->OnDoSelectAll();  // empty model: nothing to do but redraw
    EXPECT_EQ(view.updates, 1);
    for (int i = 0; i < 4; ++i) Vertex(*doc, 0.0f, 0.0f, 0.0f, i % 3);
    doc->OnDoSelectAll();
    EXPECT_EQ(Selection(*doc), (std::vector<int>{1, 1, 1, 1}));
    doc->OnDoDeselectAll();
    EXPECT_EQ(Selection(*doc), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(view.updates, 3);
    doc->RemoveView(&view);
}

TEST(SelectConnected, Examples)
{
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        // Only the touched piece grows; a loose selected vertex keeps its state and spreads nowhere.
        {"0 0 0 0|1 0 0 1|2 0 0 0|3 0 0 0|4 0 0 0|5 0 0 0|6 0 0 1;0-1 1-2 2-0 3-4 4-5 5-3",
         "0 0 0 1|1 0 0 1|2 0 0 1|3 0 0 0|4 0 0 0|5 0 0 0|6 0 0 1;0-1 1-2 2-0 3-4 4-5 5-3"},
        // A chain stored from its far end is selected whole, however many passes that would take.
        {"0 0 0 1|1 0 0 0|2 0 0 0|3 0 0 0|4 0 0 0;3-4 2-3 1-2 0-1",
         "0 0 0 1|1 0 0 1|2 0 0 1|3 0 0 1|4 0 0 1;3-4 2-3 1-2 0-1"},
        // A marked vertex (2) does not spread, but is selected when reached and then spreads.
        {"0 0 0 0|1 0 0 2|2 0 0 0;0-1 1-2", "0 0 0 0|1 0 0 2|2 0 0 0;0-1 1-2"},
        {"0 0 0 1|1 0 0 2|2 0 0 0|3 0 0 0;2-3 0-1 1-2", "0 0 0 1|1 0 0 1|2 0 0 1|3 0 0 1;2-3 0-1 1-2"},
    };
    for (const auto& c : cases) {
        auto doc = ModelFrom(c.before);
        CountingView view;
        doc->AddView(&view);
        doc->OnDoSelectConnected();
        EXPECT_EQ(ModelText(*doc), c.after);
        EXPECT_EQ(view.updates, 1);
        doc->RemoveView(&view);
        // The plain pass-by-pass rendition agrees; this guards the reference itself
        // against being "optimised" into a single pass.
        auto reference = ModelFrom(c.before);
        ReferenceSelectConnected(*reference);
        EXPECT_EQ(ModelText(*reference), c.after);
    }
}

// A one-vertex model, a click, and whether the vertex flipped.
bool Flips(float zoom, float clickX, float clickY, float vx, float vy)
{
    auto doc = NewDoc();
    Vertex(*doc, vx, vy, 123.0f);
    doc->ToggleSelectionNear(Looking(2, clickX, clickY, 0.0f, zoom));
    return doc->m_sel[0] == 1;
}

TEST(ToggleSelectionNear, WindowAtZoomOne)
{
    EXPECT_TRUE(Flips(1.0f, 10, 10, 13.9f, 6.2f));  // -3.9 and 3.8 truncate to 3
    EXPECT_FALSE(Flips(1.0f, 10, 10, 14.0f, 10.0f));
    EXPECT_FALSE(Flips(1.0f, 10, 10, 10.0f, 6.0f));
    EXPECT_TRUE(Flips(1.0f, 10, 10, 6.01f, 13.99f));
    EXPECT_FALSE(Flips(1.0f, 10, 10, 13.9f, 14.0f)) << "both coordinates must be near";
}

TEST(ToggleSelectionNear, WindowFollowsTheZoom)
{
    EXPECT_TRUE(Flips(2.0f, 10, 10, 11.9f, 10.0f));
    EXPECT_FALSE(Flips(2.0f, 10, 10, 12.0f, 10.0f));
    // t = 2.666...: the truncated difference 2 is below it, 3 is not.
    EXPECT_TRUE(Flips(1.5f, 10, 10, 12.99f, 7.01f));
    EXPECT_FALSE(Flips(1.5f, 10, 10, 13.0f, 10.0f));
    // At zoom 4 only differences truncating to 0 are near.
    EXPECT_TRUE(Flips(4.0f, 10, 10, 10.99f, 9.01f));
    EXPECT_FALSE(Flips(4.0f, 10, 10, 11.0f, 10.0f));
    // 4 / 0.16f is 25.0000006 in double but exactly 25 once rounded to float, so a
    // difference truncated to 25 is not near.
    EXPECT_TRUE(Flips(0.16f, 0, 0, 24.99f, 0.0f));
    EXPECT_FALSE(Flips(0.16f, 0, 0, 25.5f, 0.0f));
    // Zoomed far out the window is wide.
    EXPECT_TRUE(Flips(0.01f, 0, 0, 399.0f, -399.0f));
    EXPECT_FALSE(Flips(0.01f, 0, 0, 400.5f, 0.0f));
}

// A row of vertices 0.05 to 1.5 units from the click, along each shown coordinate. Above
// zoom 4 exactly those within 4 pixels flip; at zoom 4 and below the truncated difference
// must be below 4 / zoom, so whole units count.
TEST(ToggleSelectionNear, RowsAtEveryZoom)
{
    const float offsets[] = {0.05f, 0.1f, 0.2f, 0.25f, 0.3f, 0.5f, 0.75f, 1.0f, 1.5f};
    const struct {
        float zoom;
        float nearUpTo;  // the largest offset that flips
    } rows[] = {{1, 1.5f}, {2, 1.5f}, {4, 0.75f}, {8, 0.3f}, {16, 0.2f}, {32, 0.1f}, {64, 0.05f}};
    for (const auto& row : rows) {
        for (float d : offsets) {
            const bool expected = d <= row.nearUpTo;
            EXPECT_EQ(Flips(row.zoom, 3, -2, 3 + d, -2), expected) << "zoom " << row.zoom << ", across " << d;
            EXPECT_EQ(Flips(row.zoom, 3, -2, 3, -2 - d), expected) << "zoom " << row.zoom << ", down " << d;
            if (row.zoom > 4) {
                EXPECT_EQ(expected, d * row.zoom < 4) << "within 4 pixels: zoom " << row.zoom << ", " << d;
            }
        }
    }
    // Exactly 4 pixels away is outside; the tolerance is 4 / zoom rounded to float.
    EXPECT_FALSE(Flips(8, 0, 0, 0.5f, 0));
    EXPECT_TRUE(Flips(8, 0, 0, 0.49999997f, 0));
    EXPECT_FALSE(Flips(100, 0, 0, 0.04f, 0)) << "0.04f is 4 / 100 rounded to float: on the edge, outside";
    EXPECT_TRUE(Flips(100, 0, 0, 0.039f, 0.039f));
}

TEST(ToggleSelectionNear, DifferencesBeyondThirtyTwoBitsAreFar)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(Flips(1.0f, 0, 0, 1e30f, 0.0f));
    EXPECT_FALSE(Flips(1.0f, 0, 0, -1e30f, 0.0f));
    EXPECT_FALSE(Flips(1.0f, 1e30f, 0, -1e30f, 0.0f));
    EXPECT_FALSE(Flips(1.0f, 0, 0, 2147483648.0f, 0.0f)) << "-2^31 fits in 32 bits, but its size does not";
    EXPECT_FALSE(Flips(1.0f, 2147483648.0f, 0, 0.0f, 0.0f));
    EXPECT_FALSE(Flips(1.0f, 0, 0, 4294967296.0f, 0.0f)) << "would wrap to 0 if cut to 32 bits";
    EXPECT_FALSE(Flips(1.0f, inf, 0, 0.0f, 0.0f));
    EXPECT_FALSE(Flips(1.0f, nan, 0, 0.0f, 0.0f));
    // Huge but equal coordinates differ by nothing.
    EXPECT_TRUE(Flips(1.0f, 1e30f, -1e30f, 1e30f, -1e30f));
    // Zoom so small that the window itself is wider than 32 bits.
    EXPECT_TRUE(Flips(1e-12f, 0, 0, 2e9f, -2e9f));
    EXPECT_FALSE(Flips(1e-12f, 0, 0, 3e9f, 0.0f));
}

TEST(ToggleSelectionNear, EachViewingAxisComparesItsOwnPair)
{
    auto doc = NewDoc();
    Vertex(*doc, 0.0f, 0.0f, 0.0f);     // 0
    Vertex(*doc, 500.0f, 0.0f, 0.0f);   // 1: differs from 0 in x only
    Vertex(*doc, 0.0f, 500.0f, 0.0f);   // 2: in y only
    Vertex(*doc, 0.0f, 0.0f, 500.0f);   // 3: in z only
    Vertex(*doc, 0.0f, 2.0f, 0.0f, 2);  // 4: a marked vertex flips to 0
    doc->ToggleSelectionNear(Looking(0));  // along X: (z, y)
    EXPECT_EQ(Selection(*doc), (std::vector<int>{1, 1, 0, 0, 0}));
    doc->ToggleSelectionNear(Looking(1));  // along Y: (x, z)
    EXPECT_EQ(Selection(*doc), (std::vector<int>{0, 1, 1, 0, 1}));
    doc->ToggleSelectionNear(Looking(2));  // along Z: (x, y)
    EXPECT_EQ(Selection(*doc), (std::vector<int>{1, 1, 1, 1, 0}));
    doc->ToggleSelectionNear(Looking(2));  // the same click again flips back
    EXPECT_EQ(Selection(*doc), (std::vector<int>{0, 1, 1, 0, 1}));
}

TEST(ToggleSelectionNear, LeavesTheRepaintToTheView)
{
    auto doc = NewDoc();
    Vertex(*doc, 0.0f, 0.0f, 0.0f);
    CountingView view;
    doc->AddView(&view);
    doc->ToggleSelectionNear(Looking(2));
    EXPECT_EQ(Selection(*doc), (std::vector<int>{1}));
    EXPECT_EQ(view.updates, 0) << "the view repaints itself after a click";
    doc->RemoveView(&view);
}

}  // namespace
