// The main area: projection, the edge pass cut to the visible box, the vertex marks.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "framework/raster_dc.h"
#include "scene.h"
#include "view/edge_clip.h"

namespace {

using Lines = std::vector<std::string>;

Lines EdgeOf(float ax, float ay, float az, float bx, float by, float bz, Scene&& scene = Scene())
{
    const int a = scene.Vertex(ax, ay, az);
    scene.Edge(a, scene.Vertex(bx, by, bz));
    return scene.EdgeLines();
}

TEST(ViewDraw, VertexMarksAreDiagonalCrossesRedWhenSelected)
{
    Scene scene;
    scene.Vertex(10, 20, 0, 0);
    const CRecordingDC black = scene.Paint();
    const Lines blackLines(black.Lines().begin() + 4, black.Lines().end());
    EXPECT_EQ(blackLines, (Lines{"(408,318)-(413,323) black", "(412,318)-(407,323) black"}));

    scene.doc->m_sel[0] = 1;
    const CRecordingDC red = scene.Paint();
    const Lines redLines(red.Lines().begin() + 4, red.Lines().end());
    EXPECT_EQ(redLines, (Lines{"(408,318)-(413,323) red", "(412,318)-(407,323) red"}));
}

TEST(ViewDraw, OtherSelectionStatesKeepThePreviousVertexPen)
{
    Scene scene;
    const int states[] = {2, 1, 2, 0, 7};
    for (int k = 0; k < 5; ++k) scene.Vertex(float(10 * k), 0, 0, states[k]);
    const CRecordingDC dc = scene.Paint();
    Lines pens;
    for (std::size_t k = 4; k < dc.Lines().size(); k += 2) pens.push_back(dc.Lines()[k].substr(dc.Lines()[k].rfind(' ') + 1));
    EXPECT_EQ(pens, (Lines{"black", "red", "red", "black", "black"}));
}

TEST(ViewDraw, ProjectionUsesZoomAndPan)
{
    Scene scene;
    scene.view.m_zoom = 2;
    scene.view.m_panX = 5;
    EXPECT_EQ(EdgeOf(10, 20, 0, 30, 40, 0, std::move(scene)), (Lines{"(430,340)-(470,380) black"}));
}

TEST(ViewDraw, EdgesWithOneEndOutsideAreCutAtTheBoundary)
{
    EXPECT_EQ(EdgeOf(-1000, 0, 0, 0, 0, 0), (Lines{"(0,300)-(400,300) black"}));
    EXPECT_EQ(EdgeOf(-500, 100, 0, 0, -100, 0), (Lines{"(0,360)-(400,200) black"}));
    EXPECT_EQ(EdgeOf(-1000.5f, 0, 0, 0, 0, 0), (Lines{"(0,300)-(400,300) black"}));
    // Cut along the depth: the slab is as deep as the window is tall.
    EXPECT_EQ(EdgeOf(0, 0, 0, 0, 100, 400), (Lines{"(400,300)-(400,375) black"}));
    // Looking along X, Z is horizontal with the half width as its half extent.
    Scene alongX;
    alongX.view.m_axisX = 1;
    alongX.view.m_axisZ = 0;
    EXPECT_EQ(EdgeOf(0, 0, -1000, 0, 0, 0, std::move(alongX)), (Lines{"(0,300)-(400,300) black"}));
}

TEST(ViewDraw, EdgesCrossingTheWindowShowTheirVisiblePart)
{
    // Both ends beyond opposite sides: the edge crosses the window and is drawn.
    EXPECT_EQ(EdgeOf(-500, 0, 0, 500, 0, 0), (Lines{"(0,300)-(800,300) black"}));
    // Leaving across two boundaries: the part inside starts where X reaches -400.
    EXPECT_EQ(EdgeOf(-1000, 500, 0, 0, 0, 0), (Lines{"(0,500)-(400,300) black"}));
    // Wholly beyond one side, or beyond the depth slab: nothing, but both ends marked.
    EXPECT_EQ(EdgeOf(-900, 0, 0, -401, 50, 0), Lines{});
    Scene deep;
    deep.Edge(deep.Vertex(0, 0, 350), deep.Vertex(10, 0, 350));
    EXPECT_EQ(deep.EdgeLines(), Lines{});
    EXPECT_EQ(deep.Paint().Lines().size(), 4u + 4u + 2u);  // crosshair, crosses, one line per panel
}

// The cut as first worked out, one boundary at a time with the overshoot of the
// truncated coordinate; still exact for an edge with one end strictly inside that
// leaves across one boundary, and the box cut must land on the same pixels there.
BoxPoint StepCut(BoxPoint p, const BoxPoint& q, int k, double half)
{
    const double o = std::fabs(std::trunc(p.c[k])) - half;
    const double d = p.c[k] - q.c[k], m = std::fabs(std::trunc(p.c[k])), s = p.c[k] / m;
    for (int j = 0; j < 3; ++j)
        if (j != k) p.c[j] = float(p.c[j] - ((p.c[j] - q.c[j]) * o / d) * s);
    p.c[k] = float(p.c[k] - o * s);
    return p;
}

TEST(ViewDraw, BoxCutKeepsThePixelsOfSingleBoundaryCuts)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> inside(-399, 399), far(-3000, 3000);
    const double half[3] = {400, 300, 300};
    int checked = 0;
    while (checked < 2000) {
        BoxPoint a{{double(inside(random)), double(inside(random) * 3 / 4), double(inside(random) * 3 / 4)}};
        BoxPoint b{{double(far(random)), double(far(random)), double(far(random))}};
        int outside = 0, axis = -1;
        for (int k = 0; k < 3; ++k)
            if (std::fabs(b.c[k]) > half[k]) ++outside, axis = k;
        if (outside != 1) continue;
        ++checked;
        const BoxPoint expected = StepCut(b, a, axis, half[axis]);
        BoxPoint ca = a, cb = b;
        ASSERT_TRUE(ClipEdgeToBox(ca, cb, half));
        EXPECT_EQ(ca.c[0], a.c[0]);
        EXPECT_EQ(ca.c[1], a.c[1]);
        EXPECT_EQ(std::trunc(float(cb.c[0]) + 400.0), std::trunc(expected.c[0] + 400.0));
        EXPECT_EQ(std::trunc(float(cb.c[1]) + 300.0), std::trunc(expected.c[1] + 300.0));
    }
}

TEST(ViewDraw, VerticesWithoutEdgesAreMarkedAndThePanelsStayEmpty)
{
    Scene scene;
    scene.Vertex(0, 0, 0);
    scene.Vertex(-1000, 5000, 0);
    const CRecordingDC dc = scene.Paint();
    EXPECT_EQ(dc.Lines().size(), 4u + 4u);  // crosshair and two crosses, nothing clipped
    EXPECT_EQ(dc.Lines()[6], "(-602,5298)-(-597,5303) black");
    int fills = 0, frames = 0;
    for (const std::string& call : dc.Calls()) fills += call.starts_with("FillRect"), frames += call.starts_with("Draw3dRect");
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(frames, 2);
}

TEST(ViewDraw, EmptyClientAreaDrawsNothing)
{
    for (const CRect client : {CRect{0, 0, 0, 600}, CRect{0, 0, 800, 0}}) {
        Scene scene;
        scene.host.client = client;
        scene.Edge(scene.Vertex(-10, 0, 0), scene.Vertex(10, 0, 0));
        EXPECT_TRUE(scene.Paint().Calls().empty());
    }
}

TEST(ViewDraw, PaintOrderAndEveryPenAndBrushRestored)
{
    Scene scene;
    const int selected = scene.Vertex(0, 0, 0, 1);
    scene.Edge(selected, scene.Vertex(50, 0, 0));
    const CRecordingDC dc = scene.Paint();
    const auto& calls = dc.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_TRUE(calls[0].starts_with("TextOut(990,600,"));
    EXPECT_TRUE(calls[1].starts_with("TextOut(990,620,"));
    EXPECT_EQ(calls[2], "SelectObject(pen black)");
    // Read-out and cursor, edge pass, vertex pass, panels: in that order.
    std::string kinds;
    for (const std::string& line : dc.Lines())
        kinds += line.find("clip=") != std::string::npos ? 'p' : line.ends_with("red") ? 'v' : '-';
    EXPECT_EQ(kinds, "----" "-" "vv" "--" "pp");
    EXPECT_EQ(dc.CurrentPen(), nullptr);
    EXPECT_EQ(dc.CurrentBrush(), nullptr);
}

TEST(ViewDraw, HugeCoordinatesDrawWithoutOverflow)
{
    Scene scene;
    scene.view.m_zoom = 100;
    const int o = scene.Vertex(0, 0, 0);
    const int far[] = {scene.Vertex(-1e30f, 0, 0), scene.Vertex(1e30f, 0, 0), scene.Vertex(1e30f, 1e30f, 0),
                       scene.Vertex(3e38f, -3e38f, 3e38f), scene.Vertex(-3.4e38f, 3.4e38f, 0)};
    scene.Edge(far[0], far[1]);
    scene.Edge(o, far[2]);
    scene.Edge(far[3], far[4]);
    scene.Edge(o, far[3]);
    const Lines lines = scene.EdgeLines();
    EXPECT_EQ(lines, (Lines{"(0,300)-(800,300) black", "(400,300)-(700,600) black", "(400,300)-(700,0) black"}));

    // A diagonal through the origin from 1e32 away on both sides stays the diagonal.
    Scene diagonal;
    diagonal.view.m_zoom = 100;
    const int from = diagonal.Vertex(-1e30f, -1e30f, 0);
    diagonal.Edge(from, diagonal.Vertex(1e30f, 1e30f, 0));
    EXPECT_EQ(diagonal.EdgeLines(), (Lines{"(100,0)-(700,600) black"}));

    // The same scene on pixels, axis by axis, with the cursor and the pan far out too.
    scene.view.m_cursorX = 3e38f;
    scene.view.m_panY = -3e38f;
    // The same scene on pixels, axis by axis.
    for (int axis = 0; axis < 3; ++axis) {
        scene.view.m_axisX = axis == 0;
        scene.view.m_axisY = axis == 1;
        scene.view.m_axisZ = axis == 2;
        CRasterDC dc(800, 600);
        scene.view.OnDraw(&dc);
    }
}

}  // namespace
