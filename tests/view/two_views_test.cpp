// Two views on one model, each with its own axis, zoom, pan and cursor: each draws what
// it looks at, and a command given in one places or picks by that view alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "scene.h"

namespace {

bool Drew(const CRecordingDC& dc, const std::string& line)
{
    return std::find(dc.Lines().begin(), dc.Lines().end(), line) != dc.Lines().end();
}

TEST(TwoViews, EachDrawsAndCommandsByItsOwnState)
{
    Scene scene;  // the first view, 800 x 600
    TestHost otherHost;
    otherHost.client = CRect{0, 0, 400, 300};
    CPolydromView other;
    other.SetHost(&otherHost);
    scene.doc->AddView(&other);

    scene.view.m_state.axis = ViewAxis::X;
    scene.view.m_state.zoom = 2;
    other.m_state.axis = ViewAxis::Y;
    other.m_state.zoom = 0.5f;
    other.m_state.pan[0] = -10;
    scene.Vertex(10, 20, 30, 1);

    // Along X at zoom 2 the vertex shows at (z, y) * 2 from the centre (400, 300); along Y
    // at zoom 0.5 at (x + pan, z) / 2 from the centre (200, 150). Each mark is a 5-pixel cross.
    EXPECT_TRUE(Drew(scene.Paint(), "(458,338)-(463,343) red"));
    CRecordingDC otherDc;
    other.OnDraw(&otherDc);
    EXPECT_TRUE(Drew(otherDc, "(198,163)-(203,168) red")) << otherDc.Lines().size();

    // Painting one view the same way alone gives the same picture: nothing is shared.
    Scene alone(400, 300);
    alone.view.m_state = other.m_state;
    alone.Vertex(10, 20, 30, 1);
    EXPECT_EQ(alone.Paint().Lines(), otherDc.Lines());

    // A click in the first view moves its cursor only, and picks at its own zoom.
    scene.view.OnLButtonDown(0, CPoint{460, 340});
    EXPECT_EQ(scene.view.m_state.cursor[2], 30.0f);
    EXPECT_EQ(scene.view.m_state.cursor[1], 20.0f);
    EXPECT_EQ(other.m_state.cursor[2], 0.0f);
    EXPECT_EQ(scene.doc->m_sel[0], 0) << "the click picked the vertex under it";

    // A box given in the second view is centred where that view looks, 100 of its pixels in radius.
    scene.doc->OnShapeBox(other.m_state);
    EXPECT_EQ(scene.doc->m_x[1], 10.0f);
    EXPECT_EQ(scene.doc->m_y[1], 200.0f);
    EXPECT_EQ(scene.doc->m_z[1], -200.0f);
    scene.doc->RemoveView(&other);
}

}  // namespace
