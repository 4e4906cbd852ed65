// The shaded 3-D view's camera: where it looks from, how it turns, pans and zooms, and
// the matrix that puts the model on the screen. Plain numbers, no Qt and no OpenGL, so
// the batch picture, the panel and the tests frame the model alike.
#pragma once

#include <array>
#include <span>

using Vec3 = std::array<double, 3>;
using Mat4 = std::array<float, 16>;  // column-major, as OpenGL reads a uniform

// A sphere around what is drawn: fitting frames it, and the depth range encloses it.
struct ModelBounds {
    Vec3 centre{};
    double radius = 0;
    bool empty = true;
};
// The bounds of points given as x, y, z, x, y, z ... (stride floats apart).
ModelBounds BoundsOf(std::span<const float> values, int stride);

class OrbitCamera {
public:
    // Looks along axis 0 (X), 1 (Y) or 2 (Z) as the wireframe does: its horizontal axis
    // to the right, its vertical axis down the screen. `opposite` looks from the other
    // side, still with the vertical axis down, so the picture turns about the vertical.
    void SnapToAxis(int axis, bool opposite);
    // Moves round the target: azimuth to the camera's right, elevation up, in degrees.
    void Turn(double azimuthDegrees, double elevationDegrees);
    // A drag of the left button by this many pixels: the model follows the pointer.
    void Orbit(double dx, double dy);
    // A drag of the middle button: the model moves with the pointer.
    void Pan(double dx, double dy, int height);
    // Zooms in (positive notches) or out about the model point under the pointer.
    void ZoomAbout(double px, double py, int width, int height, double notches);
    // The whole of the bounds in a width x height view, the orientation kept.
    void Fit(const ModelBounds& bounds, int width, int height);

    void SetPerspective(bool perspective) { m_perspective = perspective; }
    bool Perspective() const { return m_perspective; }

    // Model to clip space, for a view of that size, the depth range enclosing the bounds.
    Mat4 ViewProjection(int width, int height, const ModelBounds& bounds) const;
    // The pixel (x right, y down, pixel centres at .5) a model point lands on.
    std::array<double, 2> ToPixel(const Vec3& point, int width, int height, const ModelBounds& bounds) const;

    const Vec3& Right() const { return m_right; }
    const Vec3& Up() const { return m_up; }
    const Vec3& Back() const { return m_back; }  // from the target towards the eye
    const Vec3& Target() const { return m_target; }
    double HalfHeight() const { return m_halfHeight; }

    // Where the eye is (in orthographic, on the target's plane: only its direction counts).
    Vec3 Eye() const;

private:
    double Distance() const;

    Vec3 m_right{1, 0, 0}, m_up{0, -1, 0}, m_back{0, 0, -1};
    Vec3 m_target{};
    double m_halfHeight = 10;  // half the view's height, in model units, at the target's depth
    bool m_perspective = true;
};
