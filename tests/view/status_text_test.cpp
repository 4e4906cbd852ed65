// The status bar's texts: the viewing axis, the pointer in model units, the selection's size.
#include <gtest/gtest.h>

#include <string>

#include "view/scene.h"
#include "view/status_text.h"

namespace {

TEST(StatusText, AxisAndPointer)
{
    const struct {
        int axis;  // 0 X, 1 Y, 2 Z
        float zoom, panX, panY, panZ;
        CPoint pixel;
        const char* axisText;
        const char* pointer;
    } cases[] = {
        {2, 1, 0, 0, 0, {410, 280}, "View along Z", "X 10, Y -20"},
        // One decimal from zoom 2, where a pixel is half a unit; the pan is subtracted.
        {2, 2, 15, 0, 0, {450, 340}, "View along Z", "X 10.0, Y 20.0"},
        {0, 1, 7, 0, 5, {410, 280}, "View along X", "Z 5, Y -20"},
        {1, 100, 0, 0, 0, {401, 299}, "View along Y", "X 0.01, Z -0.01"},
        // Rounded to nothing, the value has no sign.
        {2, 2, 0.01f, 0, 0, {400, 300}, "View along Z", "X 0.0, Y 0.0"},
        {2, 0.001f, 0, 0, 0, {500, 300}, "View along Z", "X 100000, Y 0"},
        {2, 1, -3e13f, 0, 0, {400, 300}, "View along Z", "X 3e+13, Y 0"},
    };
    for (const auto& c : cases) {
        Scene scene;
        CPolydromView& view = scene.view;
        view.m_state.axis = ViewAxis(c.axis);
        view.m_state.zoom = c.zoom;
        view.m_state.pan[0] = c.panX;
        view.m_state.pan[1] = c.panY;
        view.m_state.pan[2] = c.panZ;
        EXPECT_EQ(ViewAxisText(view), c.axisText);
        EXPECT_EQ(PointerText(view, c.pixel), c.pointer) << c.axisText;
    }
}

TEST(StatusText, Selection)
{
    Scene scene;
    EXPECT_EQ(SelectionText(*scene.doc), "Selected 0 of 0 vertices, 0 edges");
    scene.Vertex(0, 0, 0, 1);
    EXPECT_EQ(SelectionText(*scene.doc), "Selected 1 of 1 vertex, 0 edges");
    scene.Vertex(1, 0, 0, 0);
    scene.Edge(0, 1);
    EXPECT_EQ(SelectionText(*scene.doc), "Selected 1 of 2 vertices, 1 edge");
}

}  // namespace
