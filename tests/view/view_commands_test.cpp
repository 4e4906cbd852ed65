// Repaint requests of the view's commands and clicks (their effects are checked
// through batch mode): one per change.
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
    scene.view.m_state.axis = ViewAxis::Y;
    scene.view.m_state.pan[0] = 3;
    scene.view.OnViewPanLeft();
    EXPECT_EQ(scene.host.repaints, 1);
    EXPECT_EQ(scene.view.m_state.pan[0], 33.0f);
}

}  // namespace
