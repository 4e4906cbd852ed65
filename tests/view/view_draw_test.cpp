// The main area: projection, the edge pass cut to the visible box, the vertex marks.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "framework/raster_dc.h"
#include "scene.h"
#include "view/edge_clip.h"

namespace {

using Lines = std::vector<std::string>;

TEST(ViewDraw, EdgeExamples)
{
    struct Case {
        float a[3], b[3];
        Lines expected;
        float zoom = 1, panX = 0;
        bool alongX = false;
    };
    const Case cases[] = {
        {{10, 20, 0}, {30, 40, 0}, {"(430,340)-(470,380) black"}, 2, 5},
        // One end beyond a side or the depth slab: cut at the boundary.
        {{-1000, 0, 0}, {0, 0, 0}, {"(0,300)-(400,300) black"}},
        {{-500, 100, 0}, {0, -100, 0}, {"(0,360)-(400,200) black"}},
        {{-1000.5f, 0, 0}, {0, 0, 0}, {"(0,300)-(400,300) black"}},
        {{0, 0, 0}, {0, 100, 400}, {"(400,300)-(400,375) black"}},
        {{0, 0, -1000}, {0, 0, 0}, {"(0,300)-(400,300) black"}, 1, 0, true},
        // Crossing the window with both ends outside, or leaving across two boundaries:
        // the part inside is drawn.
        {{-500, 0, 0}, {500, 0, 0}, {"(0,300)-(800,300) black"}},
        {{-1000, 500, 0}, {0, 0, 0}, {"(0,500)-(400,300) black"}},
        // Wholly beyond one side or the depth slab: nothing.
        {{-900, 0, 0}, {-401, 50, 0}, {}},
        {{0, 0, 350}, {10, 0, 350}, {}},
    };
    for (const Case& c : cases) {
        Scene scene;
        scene.view.m_state.zoom = c.zoom;
        scene.view.m_state.pan[0] = c.panX;
        scene.view.m_state.axis = c.alongX ? ViewAxis::X : ViewAxis::Z;
        const int a = scene.Vertex(c.a[0], c.a[1], c.a[2]);
        scene.Edge(a, scene.Vertex(c.b[0], c.b[1], c.b[2]));
        EXPECT_EQ(scene.EdgeLines(), c.expected) << c.a[0] << "," << c.a[1] << "," << c.a[2];
        EXPECT_EQ(scene.Paint().Lines().size() - c.expected.size(), 4u + 4u + 2u);  // every vertex marked
    }
}

// The cut as first worked out, one boundary at a time with the overshoot of the
// truncated coordinate. It is exact for an edge with one end strictly inside that leaves
// across one boundary, and the box cut must land on the same pixels there.
BoxPoint StepCut(BoxPoint p, const BoxPoint& q, int k, double half)
{
    const double o = std::fabs(std::trunc(p.c[k])) - half;
    const double d = p.c[k] - q.c[k], s = p.c[k] / std::fabs(std::trunc(p.c[k]));
    for (int j = 0; j < 3; ++j)
        if (j != k) p.c[j] = float(p.c[j] - ((p.c[j] - q.c[j]) * o / d) * s);
    p.c[k] = float(p.c[k] - o * s);
    return p;
}

TEST(ViewDraw, BoxCutKeepsThePixelsOfSingleBoundaryCuts)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> inside(-299, 299), far(-3000, 3000);
    const double half[3] = {400, 300, 300};
    for (int checked = 0; checked < 2000;) {
        BoxPoint a{{double(inside(random)), double(inside(random)), double(inside(random))}};
        BoxPoint b{{double(far(random)), double(far(random)), double(far(random))}};
        int outside = 0, axis = -1;
        for (int k = 0; k < 3; ++k)
            if (std::fabs(b.c[k]) > half[k]) ++outside, axis = k;
        if (outside != 1) continue;
        ++checked;
        const BoxPoint expected = StepCut(b, a, axis, half[axis]);
        BoxPoint ca = a, cb = b;
        ASSERT_TRUE(ClipEdgeToBox(ca, cb, half));
        EXPECT_TRUE(ca.c[0] == a.c[0] && ca.c[1] == a.c[1]);
        EXPECT_EQ(std::trunc(float(cb.c[0]) + 400.0), std::trunc(expected.c[0] + 400.0));
        EXPECT_EQ(std::trunc(float(cb.c[1]) + 300.0), std::trunc(expected.c[1] + 300.0));
    }
}

TEST(ViewDraw, VertexMarksAndTheirPens)
{
    Scene scene;
    const int states[] = {2, 0, 1, 2, 7, 0};  // other states keep the pen before them
    for (int k = 0; k < 6; ++k) scene.Vertex(10, 20, 0, states[k]);
    const Lines lines = scene.Paint().Lines();
    EXPECT_EQ(lines[4], "(408,318)-(413,323) black");
    EXPECT_EQ(lines[5], "(412,318)-(407,323) black");
    Lines pens;
    for (std::size_t k = 4; k < lines.size(); k += 2) pens.push_back(lines[k].substr(lines[k].rfind(' ') + 1));
    EXPECT_EQ(pens, (Lines{"black", "black", "red", "red", "red", "black"}));
}

TEST(ViewDraw, PaintOrderRestoresEveryPenAndBrushAndAnEmptyAreaDrawsNothing)
{
    Scene scene;
    const int selected = scene.Vertex(0, 0, 0, 1);
    scene.Edge(selected, scene.Vertex(50, 0, 0));
    const CRecordingDC dc = scene.Paint();
    EXPECT_TRUE(dc.Calls()[0].starts_with("TextOut(990,600,"));
    std::string kinds;  // read-out and crosshair, edge, marks, panels
    for (const std::string& line : dc.Lines())
        kinds += line.find("clip=") != std::string::npos ? 'p' : line.ends_with("red") ? 'v' : '-';
    EXPECT_EQ(kinds, "-----vv--pp");
    EXPECT_EQ(dc.CurrentPen(), nullptr);
    EXPECT_EQ(dc.CurrentBrush(), nullptr);

    scene.host.client = CRect{0, 0, 800, 0};
    EXPECT_TRUE(scene.Paint().Calls().empty());
}

TEST(ViewDraw, HugeCoordinatesDrawWithoutOverflow)
{
    Scene scene;
    scene.view.m_state.zoom = 100;
    const int o = scene.Vertex(0, 0, 0);
    const int far[] = {scene.Vertex(-1e30f, 0, 0), scene.Vertex(1e30f, 0, 0), scene.Vertex(1e30f, 1e30f, 0),
                       scene.Vertex(3e38f, -3e38f, 3e38f), scene.Vertex(-3.4e38f, 3.4e38f, 0),
                       scene.Vertex(-1e30f, -1e30f, 0)};
    scene.Edge(far[0], far[1]);
    scene.Edge(o, far[2]);
    scene.Edge(far[3], far[4]);
    scene.Edge(o, far[3]);
    scene.Edge(far[5], far[2]);  // a diagonal through the origin from 1e32 away on both sides
    EXPECT_EQ(scene.EdgeLines(), (Lines{"(0,300)-(800,300) black", "(400,300)-(700,600) black",
                                        "(400,300)-(700,0) black", "(100,0)-(700,600) black"}));

    // On pixels too, along every axis, with the cursor and the pan far out.
    scene.view.m_state.cursor[0] = 3e38f;
    scene.view.m_state.pan[1] = -3e38f;
    for (int axis = 0; axis < 3; ++axis) {
        scene.view.m_state.axis = ViewAxis(axis);
        CRasterDC dc(800, 600);
        scene.view.OnDraw(&dc);
    }
}

}  // namespace
