// The raster canvas's own paint against the paint through the context's calls, on the
// same models: every pixel must agree.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "framework/digit_font.h"
#include "framework/raster_dc.h"
#include "scene.h"

namespace {

// Not a raster canvas to the view, so it paints through MoveTo and LineTo; every call
// lands on the canvas behind it.
class ForwardingDC : public CDC {
public:
    explicit ForwardingDC(CRasterDC& target) : m_target(target) {}
    const CPen* SelectObject(const CPen* pen) override
    {
        m_target.SelectObject(pen);
        return CDC::SelectObject(pen);
    }
    void MoveTo(int x, int y) override
    {
        m_target.MoveTo(x, y);
        CDC::MoveTo(x, y);
    }
    void LineTo(int x, int y) override
    {
        m_target.LineTo(x, y);
        CDC::MoveTo(x, y);
    }
    void TextOut(int x, int y, std::string_view text) override { m_target.TextOut(x, y, text); }
    void FillRect(const CRect& rect, const CBrush* brush) override { m_target.FillRect(rect, brush); }
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) override
    {
        m_target.Draw3dRect(x, y, cx, cy, topLeft, bottomRight);
    }
    void SelectClipRect(const CRect* rect) override
    {
        m_target.SelectClipRect(rect);
        CDC::SelectClipRect(rect);
    }

private:
    CRasterDC& m_target;
};

// Both paints of the scene; the number of pixels where they differ.
int DifferingPixels(Scene& scene, int width, int height)
{
    CRasterDC fast(width, height), slow(width, height);
    fast.SetTextRenderer(DrawDigitText);
    slow.SetTextRenderer(DrawDigitText);
    scene.view.OnDraw(&fast);
    ForwardingDC forwarding(slow);
    scene.view.OnDraw(&forwarding);
    EXPECT_EQ(fast.CurrentPosition().x, slow.CurrentPosition().x);
    EXPECT_EQ(fast.CurrentPosition().y, slow.CurrentPosition().y);
    int differing = 0;
    for (int i = 0; i < width * height; ++i) {
        if (fast.Pixels()[i] != slow.Pixels()[i] && differing < 3)
            ADD_FAILURE() << "pixel " << i % width << "," << i / width << " fast " << std::hex << fast.Pixels()[i]
                          << " slow " << slow.Pixels()[i] << std::dec;
        differing += fast.Pixels()[i] != slow.Pixels()[i];
    }
    return differing;
}

TEST(ViewDrawRaster, SamePixelsAsThePaintThroughTheContext)
{
    std::mt19937 random(7);
    // Vertices near the window (sub-pixel edges, edges of a few pixels and long ones),
    // beyond it (cut edges), far off (saturating pixels), at the window's very edges, and
    // in every selection state.
    std::uniform_real_distribution<float> near(-600, 600), tiny(-0.8f, 0.8f), few(-6, 6), far(-3e7f, 3e7f);
    std::uniform_int_distribution<int> pick(0, 9), state(0, 9);
    for (int round = 0; round < 24; ++round) {
        const int width = round % 3 == 0 ? 801 : 640, height = round % 4 == 0 ? 479 : 480;
        Scene scene(width, height);
        scene.view.m_state.zoom = round % 5 == 0 ? 0.25f : round % 5 == 1 ? 3.0f : 1.0f;
        scene.view.m_state.pan[0] = float(round % 3) * 37.5f;
        scene.view.m_state.axis = round % 3 == 1 ? ViewAxis::X : round % 3 == 2 ? ViewAxis::Y : ViewAxis::Z;
        scene.view.m_movePresses = round % 2;
        scene.view.m_modelOnly = round % 7 == 3;
        float lastX = 0, lastY = 0, lastZ = 0;
        std::vector<int> close;  // vertices within a pixel or so of the one before
        for (int i = 0; i < 300; ++i) {
            const int kind = pick(random);
            if (kind < 4 && i > 0) close.push_back(i);
            float x = near(random), y = near(random), z = near(random);
            if (kind < 4) {
                x = lastX + tiny(random);
                y = lastY + tiny(random);
                z = lastZ + tiny(random);
            } else if (kind == 4) {
                x = far(random);
            } else if (kind == 5) {
                x = float(width) / 2;
                y = -float(height) / 2;
            } else if (kind == 6) {
                x = lastX + few(random);
                y = lastY + few(random);
            }
            const int s = state(random);
            scene.Vertex(x, y, z, s < 4 ? 0 : s < 8 ? 1 : 2);
            lastX = x;
            lastY = y;
            lastZ = z;
        }
        // Pairs of vertices some ten pixels apart in every view, for lines longer than a
        // pixel that cover little of the window.
        std::uniform_real_distribution<float> apart(20, 40);
        for (int j = 0; j < 300; ++j) {
            const float x = near(random), y = near(random), z = near(random);
            scene.Vertex(x, y, z);
            scene.Vertex(x + apart(random), y - apart(random), z + apart(random));
        }
        // The lines are drawn a thousand at a time, each lot in the way the one before
        // suggests: lines within a pixel or two (and of no length, at pixels no other line
        // starts from) in two passes, then longer ones, then the tiny ones again in one
        // pass, then a few of any kind.
        std::uniform_int_distribution<int> vertex(0, 299), pair(150, 449);
        for (int e = 0; e < 3500; ++e) {
            if (e < 1100 || (e >= 2300 && e < 3300)) {
                const int i = close[std::size_t(e) % close.size()];
                scene.Edge(e % 3 == 0 ? i : i - 1, i);
            } else if (e < 2300) {
                const int j = pair(random);
                scene.Edge(2 * j, 2 * j + 1);
            } else {
                scene.Edge(vertex(random), vertex(random));
            }
        }
        EXPECT_EQ(DifferingPixels(scene, width, height), 0) << "round " << round;
    }
}

TEST(ViewDrawRaster, EmptyModelAndPaintsAfterAClip)
{
    Scene scene(300, 200);
    EXPECT_EQ(DifferingPixels(scene, 300, 200), 0);
    // A canvas painted twice without being cleared keeps the panel's clip in force.
    scene.Edge(scene.Vertex(-140, -90, 0), scene.Vertex(140, 90, 0, 1));
    CRasterDC fast(300, 200), slow(300, 200);
    ForwardingDC forwarding(slow);
    for (int paint = 0; paint < 2; ++paint) {
        scene.view.OnDraw(&fast);
        scene.view.OnDraw(&forwarding);
    }
    EXPECT_TRUE(std::equal(fast.Pixels(), fast.Pixels() + 300 * 200, slow.Pixels()));
}

// A model big enough that the panels are painted on a thread of their own, into a
// canvas of their own: the pixels and the context's final state are still the plain paint's.
TEST(ViewDrawRaster, BigModelPaintedOnTwoThreads)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> near(-500, 500), far(-3e4f, 3e4f);
    for (const ViewAxis axis : {ViewAxis::Z, ViewAxis::X}) {
        Scene scene(900, 640);
        scene.view.m_state.axis = axis;
        for (int i = 0; i < 3000; ++i)
            scene.Vertex(near(random), near(random), i % 50 == 0 ? far(random) : near(random), i % 7 == 0);
        std::uniform_int_distribution<int> vertex(0, 2999), step(1, 3);
        for (int e = 0; e < 60000; ++e) {
            const int a = vertex(random), b = e % 4 == 0 ? vertex(random) : std::min(a + step(random), 2999);
            scene.Edge(a, b);
        }
        EXPECT_EQ(DifferingPixels(scene, 900, 640), 0);
    }
}

}  // namespace
