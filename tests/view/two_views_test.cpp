// Two views on one model, each with its own axis, zoom, pan and cursor: each draws what a
// view alone with its state draws, a change to one leaves the other's picture as it was,
// and a command given in one places or picks by that view alone.
#include <gtest/gtest.h>

#include "framework/digit_font.h"
#include "framework/raster_dc.h"
#include "scene.h"

namespace {

// A box with a selected corner and a loose vertex: edges, both marks and the size read-out.
void BuildModel(CPolydromDoc& doc)
{
    for (int i = 0; i < 8; ++i) Vertex(doc, i & 1 ? 40.0f : -30.0f, i & 2 ? 25.0f : -15.0f, i & 4 ? 60.0f : -5.0f);
    Edges(doc, {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7}, {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}});
    doc.m_sel[3] = 1;
    Vertex(doc, 10, 20, 30, 1);
}

// Everything a view paints: every call to a recording context, and the pixels of a raster one.
struct Picture {
    std::vector<std::string> calls;
    std::vector<std::uint32_t> pixels;
    bool operator==(const Picture&) const = default;
};

Picture Paint(CPolydromView& view)
{
    CRecordingDC recording;
    view.OnDraw(&recording);
    const CRect client = view.GetClientRect();
    CRasterDC raster(client.right, client.bottom);
    raster.SetTextRenderer(DrawDigitText);
    view.OnDraw(&raster);
    const std::uint32_t* pixels = raster.Pixels();
    return {recording.Calls(), {pixels, pixels + std::size_t(client.right) * std::size_t(client.bottom)}};
}

// What a view alone on the same model, with the same client size and state, paints.
Picture PaintAlone(const CPolydromView& like)
{
    const CRect client = like.GetClientRect();
    Scene alone(client.right, client.bottom);
    BuildModel(*alone.doc);
    alone.view.m_state = like.m_state;
    return Paint(alone.view);
}

TEST(TwoViews, EachDrawsByItsOwnStateAndCommandsByTheViewTheyAreGivenIn)
{
    Scene scene;  // the first view, 800 x 600
    TestHost otherHost;
    otherHost.client = CRect{0, 0, 400, 300};
    CPolydromView other;
    other.SetHost(&otherHost);
    scene.doc->AddView(&other);
    BuildModel(*scene.doc);

    scene.view.m_state.axis = ViewAxis::X;
    scene.view.m_state.zoom = 2;
    other.m_state.axis = ViewAxis::Y;
    other.m_state.zoom = 0.5f;
    other.m_state.pan[0] = -10;

    const Picture first = Paint(scene.view), second = Paint(other);
    EXPECT_TRUE(first == PaintAlone(scene.view));
    EXPECT_TRUE(second == PaintAlone(other));
    EXPECT_FALSE(first == second);
    // Along X at zoom 2 the loose vertex shows at (z, y) * 2 from the centre (400, 300); along
    // Y at zoom 0.5 at (x + pan, z) / 2 from the centre (200, 150). Each mark is a 5-pixel cross.
    CRecordingDC dc;
    scene.view.OnDraw(&dc);
    EXPECT_NE(std::find(dc.Lines().begin(), dc.Lines().end(), "(458,338)-(463,343) red"), dc.Lines().end());
    dc.Reset();
    other.OnDraw(&dc);
    EXPECT_NE(std::find(dc.Lines().begin(), dc.Lines().end(), "(198,163)-(203,168) red"), dc.Lines().end());

    // Turning, zooming and panning the first view redraws it as a lone view with its new state
    // would, and leaves the second view's picture exactly as it was.
    scene.view.OnViewAxisZ();
    scene.view.OnViewZoomIn();
    scene.view.OnViewPanLeft();
    EXPECT_EQ(other.m_state.axis, ViewAxis::Y);
    EXPECT_TRUE(Paint(other) == second);
    EXPECT_TRUE(Paint(scene.view) == PaintAlone(scene.view));
    // And the other way about.
    other.OnViewAxisX();
    other.OnViewZoomOut();
    EXPECT_TRUE(Paint(other) == PaintAlone(other));
    EXPECT_TRUE(Paint(scene.view) == PaintAlone(scene.view));

    // A click in the first view moves its cursor only, and picks at its own zoom: along Z at
    // zoom 4, panned 30 pixels, the loose vertex (10, 20) shows at (400 + 4 * 10 + 30, 300 + 4 * 20).
    scene.view.OnLButtonDown(0, CPoint{470, 380});
    EXPECT_EQ(scene.view.m_state.cursor[0], 10.0f);
    EXPECT_EQ(scene.view.m_state.cursor[1], 20.0f);
    EXPECT_EQ(other.m_state.cursor[0], 0.0f);
    EXPECT_EQ(scene.doc->m_sel[8], 0) << "the click picked the vertex under it";

    // A box given in the second view is centred where that view looks (the model point
    // -pan), 100 of its pixels in radius: 400 units at its zoom of 0.25 now.
    const int added = scene.doc->GetVertexCount();
    scene.doc->OnShapeBox(other.m_state);
    EXPECT_EQ(scene.doc->m_x[added], 10.0f);
    EXPECT_EQ(scene.doc->m_y[added], 400.0f);
    EXPECT_EQ(scene.doc->m_z[added], -400.0f);
    scene.doc->RemoveView(&other);
}

}  // namespace
