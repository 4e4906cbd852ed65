// Repaint requests of the view's commands and clicks (their effects are checked
// through batch mode): one per change, and one per axis flag that is 1 when panning.
#include <gtest/gtest.h>

#include "scene.h"

namespace {

TEST(ViewCommands, EachCommandAsksForItsRepaints)
{
    Scene scene;
    scene.view.OnViewZoomIn();
    scene.view.OnViewZoomOut();
    scene.view.OnViewAxisZ();  // already active: still repaints
    scene.view.OnDoMove();
    scene.view.OnLButtonDown(0, CPoint{10, 10});
    EXPECT_EQ(scene.host.repaints, 5);

    scene.host.repaints = 0;
    scene.view.m_axisZ = 0;
    scene.view.OnViewPanLeft();
    EXPECT_EQ(scene.host.repaints, 0);
    EXPECT_EQ(scene.doc->m_panX, 0.0f);  // copied all the same
    scene.view.m_axisY = scene.view.m_axisZ = 1;
    scene.view.m_panX = 3;
    scene.view.OnViewPanLeft();
    EXPECT_EQ(scene.host.repaints, 2);
    EXPECT_EQ(scene.view.m_panX, 63.0f);
    EXPECT_EQ(scene.doc->m_panX, 63.0f);
}

}  // namespace
