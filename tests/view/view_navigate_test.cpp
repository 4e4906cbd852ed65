// Zoom and its clamps, the pan step per axis, the axis commands, and their copies.
#include <gtest/gtest.h>

#include "scene.h"

namespace {

TEST(ViewZoom, DoublesUpTo100AndHalvesDownTo0001)
{
    Scene scene;
    std::vector<float> in;
    for (int k = 0; k < 8; ++k) {
        scene.view.OnViewZoomIn();
        in.push_back(scene.view.m_zoom);
    }
    EXPECT_EQ(in, (std::vector<float>{2, 4, 8, 16, 32, 64, 100, 100}));
    EXPECT_EQ(scene.host.repaints, 8);
    EXPECT_EQ(scene.doc->m_zoom, 100.0f);
    scene.view.OnViewZoomOut();
    EXPECT_EQ(scene.view.m_zoom, 50.0f);

    scene.view.m_zoom = 0.001953125f;
    scene.view.OnViewZoomOut();
    EXPECT_EQ(scene.view.m_zoom, 0.001f);
    EXPECT_EQ(double(scene.view.m_zoom), 0.0010000000474974513);
    scene.view.OnViewZoomOut();
    EXPECT_EQ(scene.view.m_zoom, 0.001f);
    for (int k = 0; k < 16; ++k) scene.view.OnViewZoomIn();
    EXPECT_EQ(double(scene.view.m_zoom), 65.53600311279297);
    scene.view.OnViewZoomIn();
    EXPECT_EQ(scene.view.m_zoom, 100.0f);
}

TEST(ViewPan, StepIs30PixelsAtTheCurrentZoom)
{
    Scene scene;
    scene.view.OnViewPanLeft();
    EXPECT_EQ(scene.view.m_panX, 30.0f);
    scene.view.m_zoom = 100;
    scene.view.m_panX = 0;
    scene.view.OnViewPanRight();
    EXPECT_EQ(scene.view.m_panX, -0.3f);
    scene.view.m_zoom = 0.001f;
    scene.view.m_panX = 0;
    scene.view.OnViewPanLeft();
    EXPECT_EQ(double(scene.view.m_panX), 29999.998046875);
    EXPECT_EQ(scene.doc->m_panX, scene.view.m_panX);
    EXPECT_EQ(scene.doc->m_zoom, 0.001f);
}

TEST(ViewPan, EachAxisMovesItsOwnScreenCoordinates)
{
    Scene scene;
    scene.view.OnViewPanLeft();
    scene.view.OnViewPanLeft();
    scene.view.OnViewPanUp();
    EXPECT_EQ(scene.view.m_panX, 60.0f);
    EXPECT_EQ(scene.view.m_panY, 30.0f);
    scene.view.OnViewAxisY();
    scene.view.OnViewPanUp();  // Z is vertical along Y
    scene.view.OnViewPanRight();  // X is horizontal along Y
    EXPECT_EQ(scene.view.m_panX, 30.0f);
    EXPECT_EQ(scene.view.m_panZ, 30.0f);
    scene.view.OnViewAxisX();
    scene.view.OnViewPanUp();  // Y vertical
    scene.view.OnViewPanDown();
    scene.view.OnViewPanDown();
    scene.view.OnViewPanLeft();  // Z horizontal
    EXPECT_EQ(scene.view.m_panY, 0.0f);
    EXPECT_EQ(scene.view.m_panZ, 60.0f);
    EXPECT_EQ(scene.view.m_panX, 30.0f);  // kept while X is the depth
    EXPECT_EQ(scene.doc->m_panZ, 60.0f);
}

TEST(ViewPan, OneRepaintPerAxisFlagThatIsSetAndAlwaysACopy)
{
    Scene scene;
    scene.view.m_axisZ = 0;
    scene.view.m_panX = 3;
    scene.view.OnViewPanLeft();
    EXPECT_EQ(scene.host.repaints, 0);
    EXPECT_EQ(scene.doc->m_panX, 3.0f);
    scene.view.m_axisY = scene.view.m_axisZ = 1;
    scene.view.OnViewPanLeft();
    EXPECT_EQ(scene.host.repaints, 2);
    EXPECT_EQ(scene.view.m_panX, 63.0f);
}

TEST(ViewAxis, AxisCommandsCopyCursorAndFlagsAndNothingElse)
{
    Scene scene;
    scene.view.m_cursorX = 1;
    scene.view.m_cursorY = 2;
    scene.view.m_cursorZ = 3;
    scene.view.m_zoom = 4;
    scene.view.OnViewAxisZ();  // already active: still repaints and copies
    EXPECT_EQ(scene.host.repaints, 1);
    EXPECT_EQ(scene.doc->m_cursorZ, 3.0f);
    EXPECT_EQ(scene.doc->m_zoom, 1.0f);
    scene.view.OnViewAxisX();
    EXPECT_EQ(scene.doc->m_axisX, 1);
    EXPECT_EQ(scene.doc->m_axisZ, 0);
    scene.view.OnViewAxisY();
    EXPECT_EQ(scene.view.m_axisX + scene.view.m_axisY * 2 + scene.view.m_axisZ * 4, 2);
    EXPECT_EQ(scene.view.m_zoom, 4.0f);
    EXPECT_EQ(scene.view.m_cursorX, 1.0f);
    // Zoom and pan leave the document's cursor and axis copies alone.
    scene.doc->m_cursorX = 9;
    scene.view.OnViewZoomIn();
    scene.view.OnViewPanUp();
    EXPECT_EQ(scene.doc->m_cursorX, 9.0f);
    EXPECT_EQ(scene.doc->m_axisY, 1);
}

}  // namespace
