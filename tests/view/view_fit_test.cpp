// Fitting the model for a thumbnail: whole, centred, along the axis of its largest face.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "framework/raster_dc.h"
#include "model/polydrom_doc.h"
#include "scene.h"

namespace {

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

// The bounding box of everything that is not the white background.
InkBox Ink(Scene& scene)
{
    const CRect client = scene.host.client;
    CRasterDC dc(client.right, client.bottom);
    scene.view.OnDraw(&dc);
    InkBox box;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            if ((dc.Pixel(x, y) & 0xffffff) != 0xffffff) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

TEST(FitModel, FarAwayFlatModelIsShownWholeAndCentred)
{
    Scene scene(256, 256);
    // A flat plate in the plane y = 5000, far off the origin: best seen along Y.
    const int a = scene.Vertex(1000, 5000, -300), b = scene.Vertex(1400, 5000, -300);
    const int c = scene.Vertex(1400, 5000, 500), d = scene.Vertex(1000, 5001, 500);
    scene.Edge(a, b);
    scene.Edge(b, c);
    scene.Edge(c, d);
    scene.Edge(d, a);
    scene.view.FitModel();
    EXPECT_EQ(scene.view.m_state.axis, ViewAxis::Y);
    const InkBox ink = Ink(scene);
    ASSERT_GE(ink.right, 0) << "something is drawn";
    EXPECT_GE(ink.left, 5);
    EXPECT_LE(ink.right, 250);
    EXPECT_NEAR(ink.left, 255 - ink.right, 2) << "centred across";
    EXPECT_NEAR(ink.top, 255 - ink.bottom, 2) << "centred down";
    EXPECT_GT(ink.bottom - ink.top, 200) << "the long side fills most of the window";
}

TEST(FitModel, ThumbnailHasNoReadOutCursorOrPanels)
{
    Scene scene(1200, 800);
    scene.Vertex(0, 0, 0);
    scene.view.FitModel();
    const InkBox ink = Ink(scene);
    // One vertex: only its 5 x 5 cross, in the middle; no panels, no read-out at (990, 600).
    EXPECT_EQ(ink.right - ink.left, 4);
    EXPECT_EQ(ink.bottom - ink.top, 4);
    EXPECT_EQ(ink.left, 598);
}

TEST(FitModel, EmptyModelKeepsTheViewAndDrawsNothing)
{
    Scene scene(100, 100);
    scene.view.FitModel();
    EXPECT_EQ(scene.view.m_state.zoom, 1.0f);
    EXPECT_EQ(Ink(scene).right, -1);
}

TEST(FitModel, ModelsAtTheEdgesOfTheRangeGiveFinitePans)
{
    // Vertices at both ends of the float range, and (though no command makes one, the
    // fit must not turn it into a NaN pan) an infinity beside finite values.
    const struct {
        float x0, x1;
        float expectedPanX;
    } cases[] = {
        {-FLT_MAX, FLT_MAX, 0},
        {FLT_MAX, FLT_MAX, -FLT_MAX},
        {INFINITY, 10, -10},
        {-INFINITY, NAN, 0},
    };
    for (const auto& c : cases) {
        Scene scene(256, 256);
        scene.Vertex(c.x0, 1, 2);
        scene.Vertex(c.x1, 3, 2);
        scene.view.FitModel();
        const float values[] = {scene.view.m_state.zoom, scene.view.m_state.pan[0], scene.view.m_state.pan[1], scene.view.m_state.pan[2]};
        for (float v : values) EXPECT_TRUE(std::isfinite(v)) << c.x0 << " " << c.x1;
        EXPECT_EQ(scene.view.m_state.pan[0], c.expectedPanX) << c.x0 << " " << c.x1;
        EXPECT_EQ(scene.view.m_state.pan[1], -2.0f);
    }
}

}  // namespace
