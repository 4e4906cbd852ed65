// Turning, panning, zooming and projecting for the shaded 3-D view.
#include "view/orbit_camera.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The vertical field of view in perspective; orthographic shows the same height at the target.
constexpr double kHalfFov = 15.0 * kPi / 180.0;
// Degrees of turn per pixel dragged.
constexpr double kDegreesPerPixel = 0.4;

Vec3 Add(const Vec3& a, const Vec3& b, double s = 1) { return {a[0] + s * b[0], a[1] + s * b[1], a[2] + s * b[2]}; }
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 Normalized(const Vec3& a)
{
    const double length = std::sqrt(Dot(a, a));
    return length > 0 ? Vec3{a[0] / length, a[1] / length, a[2] / length} : a;
}
// v turned by the angle about the unit axis (right-hand rule).
Vec3 Rotated(const Vec3& v, const Vec3& axis, double radians)
{
    const double c = std::cos(radians), s = std::sin(radians);
    return Add(Add(Vec3{v[0] * c, v[1] * c, v[2] * c}, Cross(axis, v), s), axis, Dot(axis, v) * (1 - c));
}

}  // namespace

ModelBounds BoundsOf(std::span<const float> values, int stride)
{
    ModelBounds bounds;
    if (stride < 3 || values.size() < 3) return bounds;
    Vec3 low{HUGE_VAL, HUGE_VAL, HUGE_VAL}, high{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    const auto step = static_cast<std::size_t>(stride);
    for (std::size_t k = 0; k + 2 < values.size(); k += step)
        for (std::size_t c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], double(values[k + c]));
            high[c] = std::max(high[c], double(values[k + c]));
        }
    bounds.centre = {(low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2};
    const Vec3 half = Add(high, bounds.centre, -1);
    bounds.radius = std::sqrt(Dot(half, half));
    bounds.empty = false;
    return bounds;
}

void OrbitCamera::SnapToAxis(int axis, bool opposite)
{
    // The wireframe's screen axes for each viewing axis: (horizontal, vertical).
    static constexpr int kAxes[3][2] = {{2, 1}, {0, 2}, {0, 1}};
    const int a = std::clamp(axis, 0, 2);
    m_right = {};
    m_up = {};
    m_right[static_cast<std::size_t>(kAxes[a][0])] = opposite ? -1 : 1;
    m_up[static_cast<std::size_t>(kAxes[a][1])] = -1;
    m_back = Cross(m_right, m_up);
}

void OrbitCamera::Turn(double azimuthDegrees, double elevationDegrees)
{
    const double azimuth = azimuthDegrees * kPi / 180, elevation = elevationDegrees * kPi / 180;
    // About the up axis, the eye moving to its right; then about the right axis, rising.
    m_right = Rotated(m_right, m_up, azimuth);
    m_back = Rotated(m_back, m_up, azimuth);
    m_up = Rotated(m_up, m_right, -elevation);
    m_back = Rotated(m_back, m_right, -elevation);
    // Keep the frame orthonormal however many small turns add up.
    m_back = Normalized(m_back);
    m_right = Normalized(Cross(m_up, m_back));
    m_up = Cross(m_back, m_right);
}

void OrbitCamera::Orbit(double dx, double dy) { Turn(-dx * kDegreesPerPixel, dy * kDegreesPerPixel); }

void OrbitCamera::Pan(double dx, double dy, int height)
{
    const double unit = 2 * m_halfHeight / std::max(height, 1);
    m_target = Add(m_target, m_right, -dx * unit);
    m_target = Add(m_target, m_up, dy * unit);
}

void OrbitCamera::ZoomAbout(double px, double py, int width, int height, double notches)
{
    const double w = std::max(width, 1), h = std::max(height, 1);
    const double halfWidth = m_halfHeight * w / h;
    // The point under the pointer at the target's depth stays where it is.
    const double nx = 2 * px / w - 1, ny = 1 - 2 * py / h;
    const Vec3 pointed = Add(Add(m_target, m_right, nx * halfWidth), m_up, ny * m_halfHeight);
    const double factor = std::pow(1.25, -notches);
    const double next = std::clamp(m_halfHeight * factor, 1e-6, 1e12);
    const double applied = next / m_halfHeight;
    m_target = Add(pointed, Add(m_target, pointed, -1), applied);
    m_halfHeight = next;
}

void OrbitCamera::Fit(const ModelBounds& bounds, int width, int height)
{
    if (bounds.empty) return;
    m_target = bounds.centre;
    const double radius = std::max(bounds.radius, 1e-3);
    // The sphere fits the narrower side, with a margin of a tenth.
    const double tall = width > 0 && height > width ? double(height) / width : 1.0;
    m_halfHeight = 1.1 * radius * tall / std::cos(kHalfFov);
}

double OrbitCamera::Distance() const { return m_halfHeight / std::tan(kHalfFov); }

Vec3 OrbitCamera::Eye() const { return Add(m_target, m_back, m_perspective ? Distance() : 0.0); }

Mat4 OrbitCamera::ViewProjection(int width, int height, const ModelBounds& bounds) const
{
    const double aspect = double(std::max(width, 1)) / std::max(height, 1);
    const Vec3 eye = Eye();
    // Depths (along the view) that enclose the drawn sphere, with a margin.
    const double radius = bounds.empty ? 1.0 : bounds.radius * 1.02 + 1e-3;
    const double centreDepth = bounds.empty ? Distance() : -Dot(Add(bounds.centre, eye, -1), m_back);
    double nearDepth = centreDepth - radius, farDepth = centreDepth + radius;
    double p[16] = {};
    if (m_perspective) {
        farDepth = std::max(farDepth, 1e-3);
        nearDepth = std::max(nearDepth, farDepth * 1e-4);
        const double f = 1 / std::tan(kHalfFov);
        p[0] = f / aspect;
        p[5] = f;
        p[10] = (farDepth + nearDepth) / (nearDepth - farDepth);
        p[11] = -1;
        p[14] = 2 * farDepth * nearDepth / (nearDepth - farDepth);
    } else {
        p[0] = 1 / (m_halfHeight * aspect);
        p[5] = 1 / m_halfHeight;
        p[10] = -2 / (farDepth - nearDepth);
        p[14] = -(farDepth + nearDepth) / (farDepth - nearDepth);
        p[15] = 1;
    }
    // The view: rows right, up, back, the eye at the origin.
    double v[16] = {};
    for (int c = 0; c < 3; ++c) {
        const auto k = static_cast<std::size_t>(c);
        v[c * 4 + 0] = m_right[k];
        v[c * 4 + 1] = m_up[k];
        v[c * 4 + 2] = m_back[k];
    }
    v[12] = -Dot(m_right, eye);
    v[13] = -Dot(m_up, eye);
    v[14] = -Dot(m_back, eye);
    v[15] = 1;
    Mat4 out{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += p[k * 4 + row] * v[col * 4 + k];
            out[static_cast<std::size_t>(col * 4 + row)] = static_cast<float>(sum);
        }
    return out;
}

std::array<double, 2> OrbitCamera::ToPixel(const Vec3& point, int width, int height, const ModelBounds& bounds) const
{
    const Mat4 m = ViewProjection(width, height, bounds);
    double clip[4];
    for (int row = 0; row < 4; ++row)
        clip[row] = m[static_cast<std::size_t>(row)] * point[0] + m[static_cast<std::size_t>(4 + row)] * point[1] +
                    m[static_cast<std::size_t>(8 + row)] * point[2] + m[static_cast<std::size_t>(12 + row)];
    const double x = clip[0] / clip[3], y = clip[1] / clip[3];
    return {(x + 1) / 2 * width, (1 - y) / 2 * height};
}
