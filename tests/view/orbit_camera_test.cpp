// The 3-D view's camera: snapped to an axis it shows the model the way the wireframe
// does, turning and zooming keep what they promise, and fitting frames the model.
#include <gtest/gtest.h>

#include "view/orbit_camera.h"

namespace {

const ModelBounds kUnit{{0, 0, 0}, 1.0, false};

// The wireframe's screen axes for each viewing axis: horizontal to the right, vertical down.
struct Along {
    int axis, across, down;
};
constexpr Along kAlong[] = {{0, 2, 1}, {1, 0, 2}, {2, 0, 1}};

Vec3 Unit(int axis, double length = 1)
{
    Vec3 v{};
    v[static_cast<std::size_t>(axis)] = length;
    return v;
}

}  // namespace

TEST(OrbitCamera, SnappedToAnAxisItKeepsTheWireframesRightAndDown)
{
    for (const bool perspective : {true, false})
        for (const Along& a : kAlong) {
            OrbitCamera camera;
            camera.SetPerspective(perspective);
            camera.SnapToAxis(a.axis, false);
            camera.Fit(kUnit, 400, 300);
            const auto centre = camera.ToPixel({0, 0, 0}, 400, 300, kUnit);
            const auto right = camera.ToPixel(Unit(a.across, 0.5), 400, 300, kUnit);
            const auto down = camera.ToPixel(Unit(a.down, 0.5), 400, 300, kUnit);
            EXPECT_NEAR(centre[0], 200, 1e-6);
            EXPECT_NEAR(centre[1], 150, 1e-6);
            EXPECT_GT(right[0], centre[0] + 10) << "axis " << a.axis;
            EXPECT_NEAR(right[1], centre[1], 1e-6) << "axis " << a.axis;
            EXPECT_GT(down[1], centre[1] + 10) << "axis " << a.axis;
            EXPECT_NEAR(down[0], centre[0], 1e-6) << "axis " << a.axis;
            // From the other side the vertical stays, the horizontal turns round.
            camera.SnapToAxis(a.axis, true);
            EXPECT_LT(camera.ToPixel(Unit(a.across, 0.5), 400, 300, kUnit)[0], centre[0] - 10);
            EXPECT_GT(camera.ToPixel(Unit(a.down, 0.5), 400, 300, kUnit)[1], centre[1] + 10);
        }
}

TEST(OrbitCamera, TurningMovesTheEyeRightAndUp)
{
    OrbitCamera camera;
    camera.SnapToAxis(2, false);  // right +X, up -Y, the eye on the -Z side
    camera.Turn(90, 0);
    // A quarter turn to the right: the eye now stands on the +X side, looking back along -X.
    EXPECT_NEAR(camera.Back()[0], 1, 1e-12);
    camera.Turn(0, 90);
    // Then up: the eye is over the model, on the -Y side the screen calls up.
    EXPECT_NEAR(camera.Back()[1], -1, 1e-12);
    // The frame stays a rotation however many small drags add up.
    for (int k = 0; k < 1000; ++k) camera.Orbit(3, -2);
    const Vec3 &r = camera.Right(), &u = camera.Up(), &b = camera.Back();
    EXPECT_NEAR(r[0] * u[0] + r[1] * u[1] + r[2] * u[2], 0, 1e-9);
    EXPECT_NEAR(r[1] * u[2] - r[2] * u[1], b[0], 1e-9);
}

TEST(OrbitCamera, WheelZoomKeepsThePointUnderThePointer)
{
    for (const bool perspective : {true, false}) {
        OrbitCamera camera;
        camera.SetPerspective(perspective);
        camera.SnapToAxis(2, false);
        camera.Fit(kUnit, 800, 600);
        const Vec3 point{0.4, -0.3, 0};  // on the target's plane
        const auto before = camera.ToPixel(point, 800, 600, kUnit);
        camera.ZoomAbout(before[0], before[1], 800, 600, 3);
        const auto after = camera.ToPixel(point, 800, 600, kUnit);
        EXPECT_NEAR(after[0], before[0], 1e-3);  // the matrix is in floats, as the card takes it
        EXPECT_NEAR(after[1], before[1], 1e-3);
        // Zooming in spreads the model out.
        const auto corner = camera.ToPixel({1, 1, 0}, 800, 600, kUnit);
        EXPECT_GT(corner[0] - after[0], 0.6 * 600 / 2);
    }
}

TEST(OrbitCamera, FitShowsTheWholeSphereInANarrowOrWideView)
{
    const ModelBounds bounds{{10, -5, 3}, 4.0, false};
    for (const auto& [w, h] : {std::pair{800, 600}, std::pair{200, 700}})
        for (const bool perspective : {true, false}) {
            OrbitCamera camera;
            camera.SetPerspective(perspective);
            camera.SnapToAxis(1, false);
            camera.Turn(30, 20);
            camera.Fit(bounds, w, h);
            for (int axis = 0; axis < 3; ++axis)
                for (const double sign : {-1.0, 1.0}) {
                    Vec3 p = bounds.centre;
                    p[static_cast<std::size_t>(axis)] += sign * bounds.radius;
                    const auto pixel = camera.ToPixel(p, w, h, bounds);
                    EXPECT_GT(pixel[0], 0);
                    EXPECT_LT(pixel[0], w);
                    EXPECT_GT(pixel[1], 0);
                    EXPECT_LT(pixel[1], h);
                }
        }
}
