// Mouse editing: the cursor from a click, the four outcomes, and the move tool.
#include <gtest/gtest.h>

#include "scene.h"

namespace {

void LookAlong(CPolydromView& view, int axis)
{
    view.m_axisX = axis == 0;
    view.m_axisY = axis == 1;
    view.m_axisZ = axis == 2;
}

TEST(ViewClick, CursorFromTheOffsetToTheCentre)
{
    Scene scene(400, 300);
    scene.view.m_cursorZ = 7;
    scene.view.m_zoom = 2;
    scene.view.m_panX = 10;
    scene.view.OnLButtonDown(MK_LBUTTON, CPoint{300, 50});
    EXPECT_EQ(scene.view.m_cursorX, 40.0f);
    EXPECT_EQ(scene.view.m_cursorY, -50.0f);
    EXPECT_EQ(scene.view.m_cursorZ, 7.0f);
    // The document's copies follow, with the axis flags.
    EXPECT_EQ(scene.doc->m_cursorX, 40.0f);
    EXPECT_EQ(scene.doc->m_cursorY, -50.0f);
    EXPECT_EQ(scene.doc->m_cursorZ, 7.0f);
    EXPECT_EQ(scene.doc->m_axisZ, 1);

    // The centre maps to minus the pan; an odd width puts the centre on a half pixel.
    scene.view.OnLButtonDown(0, CPoint{200, 150});
    EXPECT_EQ(scene.view.m_cursorX, -10.0f);
    EXPECT_EQ(scene.view.m_cursorY, 0.0f);
    Scene odd(401, 300);
    odd.view.OnLButtonDown(0, CPoint{200, 150});
    EXPECT_EQ(odd.view.m_cursorX, -0.5f);
}

TEST(ViewClick, TheDepthCoordinateKeepsItsValueAcrossAxes)
{
    Scene scene;
    scene.view.OnLButtonDown(0, CPoint{450, 320});  // along Z: X = 50, Y = 20
    LookAlong(scene.view, 0);
    scene.view.OnLButtonDown(MK_RBUTTON, CPoint{410, 250});  // along X: Z = 10, Y = -50
    EXPECT_EQ(scene.doc->m_nVertices, 1);
    EXPECT_EQ(scene.doc->m_x[0], 50.0f);
    EXPECT_EQ(scene.doc->m_y[0], -50.0f);
    EXPECT_EQ(scene.doc->m_z[0], 10.0f);
    LookAlong(scene.view, 1);
    scene.view.OnLButtonDown(0, CPoint{390, 330});  // along Y: X = -10, Z = 30
    EXPECT_EQ(scene.view.m_cursorX, -10.0f);
    EXPECT_EQ(scene.view.m_cursorY, -50.0f);
    EXPECT_EQ(scene.view.m_cursorZ, 30.0f);
}

TEST(ViewClick, RightButtonAddsAPlainClickToggles)
{
    Scene scene;
    scene.view.OnLButtonDown(MK_LBUTTON | MK_RBUTTON, CPoint{410, 320});
    EXPECT_EQ(scene.view.m_addVertex, 2);
    ASSERT_EQ(scene.doc->m_nVertices, 1);
    EXPECT_EQ(scene.doc->m_sel[0], 1);  // added selected, not toggled off
    scene.view.OnLButtonDown(MK_LBUTTON, CPoint{411, 321});
    EXPECT_EQ(scene.view.m_addVertex, 0);
    EXPECT_EQ(scene.doc->m_nVertices, 1);
    EXPECT_EQ(scene.doc->m_sel[0], 0);
    EXPECT_EQ(scene.host.repaints, 2);
}

TEST(ViewClick, AtTheClickLimitNothingIsAddedButTheClickStillCounts)
{
    Scene scene;
    for (int i = 0; i < MAX_CLICK_VERTICES; ++i) scene.Vertex(0, 0, 0, 0);
    scene.doc->TakeReport();
    scene.view.OnLButtonDown(MK_RBUTTON, CPoint{400, 300});
    EXPECT_EQ(scene.doc->m_nVertices, MAX_CLICK_VERTICES);
    EXPECT_EQ(scene.doc->m_sel[0], 0);  // not toggled, though the click is on it
    EXPECT_EQ(scene.host.repaints, 1);
    EXPECT_EQ(scene.doc->m_cursorX, 0.0f);
    EXPECT_EQ(scene.doc->TakeReport().kind, CommandReport::Kind::Refusal);
}

TEST(ViewMove, ClicksMoveTheSelectionFromTheAnchor)
{
    Scene scene;
    const int picked = scene.Vertex(5, 5, 5, 1);
    const int other = scene.Vertex(0, 0, 0, 0);
    scene.view.OnLButtonDown(0, CPoint{300, 300});  // cursor (-100, 0): toggles nothing here
    scene.view.OnDoMove();
    EXPECT_EQ(scene.view.m_movePresses, 1);
    EXPECT_EQ(scene.view.m_moveAnchored, 1);
    EXPECT_EQ(scene.view.m_anchorX, -100.0f);
    // Move mode: a plain click on a vertex moves, never toggles.
    scene.view.OnLButtonDown(0, CPoint{400, 300});  // cursor (0, 0): by (100, 0)
    EXPECT_EQ(scene.doc->m_x[picked], 105.0f);
    EXPECT_EQ(scene.doc->m_sel[other], 0);
    scene.view.OnLButtonDown(0, CPoint{400, 310});  // by (0, 10) from the previous click
    EXPECT_EQ(scene.doc->m_x[picked], 105.0f);
    EXPECT_EQ(scene.doc->m_y[picked], 15.0f);
    EXPECT_EQ(scene.doc->m_z[picked], 5.0f);
    EXPECT_EQ(scene.doc->m_x[other], 0.0f);
}

TEST(ViewMove, RightClickInMoveModeAddsAndMovesTheNewVertexToo)
{
    Scene scene;
    scene.view.OnDoMove();  // anchor at the constructor's origin
    scene.view.OnLButtonDown(MK_RBUTTON, CPoint{430, 340});  // cursor (30, 40)
    ASSERT_EQ(scene.doc->m_nVertices, 1);
    EXPECT_EQ(scene.doc->m_x[0], 60.0f);
    EXPECT_EQ(scene.doc->m_y[0], 80.0f);
    EXPECT_EQ(scene.view.m_anchorX, 30.0f);
}

TEST(ViewMove, TwoPressesReturnToOffAndAThirdTakesAFreshAnchor)
{
    Scene scene;
    scene.view.OnDoMove();
    scene.view.OnDoMove();
    EXPECT_EQ(scene.view.m_movePresses, 0);
    EXPECT_EQ(scene.view.m_moveAnchored, 0);
    scene.view.OnLButtonDown(0, CPoint{420, 290});  // cursor (20, -10), no vertex near
    scene.view.OnDoMove();
    EXPECT_EQ(scene.view.m_anchorX, 20.0f);
    EXPECT_EQ(scene.view.m_anchorY, -10.0f);
    // With nothing selected a click still advances the anchor.
    scene.view.OnLButtonDown(0, CPoint{400, 300});
    EXPECT_EQ(scene.view.m_anchorX, 0.0f);
    EXPECT_EQ(scene.host.repaints, 5);
    // The move tool copies nothing into the document.
    EXPECT_EQ(scene.doc->m_cursorX, 0.0f);
}

}  // namespace
