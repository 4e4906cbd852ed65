// The size read-out, the cursor mark and the two inset panels.
#include <gtest/gtest.h>

#include "scene.h"

namespace {

using Lines = std::vector<std::string>;

Lines Clipped(const CRecordingDC& dc)
{
    Lines clipped;
    for (const std::string& line : dc.Lines())
        if (line.find("clip=") != std::string::npos) clipped.push_back(line);
    return clipped;
}

TEST(ViewPanels, FillsFramesAndClipsAt800x600)
{
    Scene scene;
    const CRecordingDC dc = scene.Paint();
    const auto& calls = dc.Calls();
    Lines panel;
    for (auto it = calls.begin(); it != calls.end(); ++it)
        if (it->starts_with("SelectObject(brush")) panel.push_back(*it);
        else if (!panel.empty()) panel.push_back(*it);
    EXPECT_EQ(panel, (Lines{
                         "SelectObject(brush rgb(220,220,255))",
                         "FillRect(560,12,784,192) brush=rgb(220,220,255)",
                         "FillRect(560,198,784,378) brush=rgb(220,220,255)",
                         "Draw3dRect(559,11,226,182,black,rgb(80,80,80))",
                         "Draw3dRect(559,197,226,182,black,rgb(80,80,80))",
                         "SelectObject(brush none)",
                         "SelectClipRect(560,12,784,192)",
                         "SelectClipRect(560,198,784,378)",
                     }));
}

TEST(ViewPanels, PanelsShowTheOtherTwoAxesShrunk)
{
    Scene scene;
    scene.Edge(scene.Vertex(0, 0, 0), scene.Vertex(100, 0, 100));
    EXPECT_EQ(Clipped(scene.Paint()), (Lines{
                                          "(672,102)-(700,132) black clip=(560,12,784,192)",
                                          "(672,288)-(700,288) black clip=(560,198,784,378)",
                                      }));
}

TEST(ViewPanels, EachViewingAxisPicksItsPanelPlanes)
{
    // Edges 100 long along X, Y and Z from the origin: in a panel each shows 28 pixels
    // across (h), 30 down (v) or as a point (.), upper panel first.
    const char* expected[] = {"hv.v.h", ".hvhv.", "h.v.vh"};  // looking along X, Y, Z
    for (int axis = 0; axis < 3; ++axis) {
        Scene scene;
        scene.view.m_state.axis = ViewAxis(axis);
        const int o = scene.Vertex(0, 0, 0);
        for (int k = 0; k < 3; ++k) scene.Edge(o, scene.Vertex(k == 0 ? 100 : 0, k == 1 ? 100 : 0, k == 2 ? 100 : 0));
        std::string shapes;
        for (const std::string& line : Clipped(scene.Paint()))
            shapes += line.starts_with("(672,102)-(700,102)") || line.starts_with("(672,288)-(700,288)")   ? 'h'
                      : line.starts_with("(672,102)-(672,132)") || line.starts_with("(672,288)-(672,318)") ? 'v'
                                                                                                          : '.';
        EXPECT_EQ(shapes, expected[axis]) << "axis " << axis;
    }
}

TEST(ViewPanels, SizeReadOutAtFixedPlaces)
{
    Scene scene(1024, 768);
    const CRecordingDC dc = scene.Paint();
    EXPECT_EQ(dc.Calls()[0], "TextOut(990,600,\"768\")");
    EXPECT_EQ(dc.Calls()[1], "TextOut(990,620,\"1024\")");
    EXPECT_STREQ(scene.view.m_sizeText, "1024");
}

TEST(ViewPanels, CursorCrosshairAndMoveGlyph)
{
    Scene scene;
    const CRecordingDC off = scene.Paint();
    EXPECT_EQ(off.Lines(), (Lines{"(397,300)-(390,300) black", "(403,300)-(410,300) black",
                                  "(400,297)-(400,290) black", "(400,303)-(400,310) black"}));
    scene.view.m_movePresses = 1;
    const CRecordingDC on = scene.Paint();
    EXPECT_EQ(on.Lines(), (Lines{"(400,307)-(400,300) black", "(400,300)-(397,297) black",
                                 "(400,300)-(403,297) black", "(397,297)-(399,294) black",
                                 "(403,297)-(401,294) black"}));
}

TEST(ViewPanels, CursorFollowsPanZoomAndAxis)
{
    // Cursor (10, 20, 30) with pan (1, 2, 3) at zoom 2 looking along X: it shows
    // (Z, Y) = ((30 + 3) x 2, (20 + 2) x 2) from the centre.
    Scene scene;
    scene.view.m_state.cursor[0] = 10;
    scene.view.m_state.cursor[1] = 20;
    scene.view.m_state.cursor[2] = 30;
    scene.view.m_state.pan[0] = 1;
    scene.view.m_state.pan[1] = 2;
    scene.view.m_state.pan[2] = 3;
    scene.view.m_state.zoom = 2;
    scene.view.m_state.axis = ViewAxis::X;
    EXPECT_EQ(scene.Paint().Lines()[0], "(463,344)-(456,344) black");
}

}  // namespace
