// Circle, cylinder, box, square, cone and pyramid, dropped at the view's centre
// with a radius of 100 pixels; and the resolution of the round ones.
#include <cmath>

#include "model/polydrom_doc.h"

namespace {

// The full turn and the quarter turn, as the single-precision constants the shapes
// have always been built with. They fall a little short of 2*pi and pi/2, so points
// that "should" lie on an axis are a hair off it, and saved models depend on that.
constexpr double kTurn = double(6.28318f);
constexpr double kQuarter = double(1.570795f);

double Rounded(double v) { return double(float(v)); }

// Ring angles: round shapes divide the turn first, four-point shapes multiply the quarter.
double Angle(int n, int i, bool fourPoint) { return fourPoint ? i * kQuarter : (kTurn / n) * i; }

}  // namespace

// A flat ring in the plane z = -panZ. The circle rounds its cosine to float before
// scaling; the square rounds neither.
void CPolydromDoc::AppendFlatRing(const ViewState& view, const char* name, int n, bool fourPoint)
{
    const float panX = view.pan[0], panY = view.pan[1], panZ = view.pan[2];
    if (!Fits(name, n, n)) return;
    const double r = 100.0 / view.zoom;
    const int v0 = GetVertexCount();
    for (int i = 0; i < n; ++i) {
        const double theta = Angle(n, i, fourPoint);
        const double s = std::sin(theta);
        const double c = fourPoint ? std::cos(theta) : Rounded(std::cos(theta));
        AppendVertex(r * s - panX, r * c - panY, -panZ);
        AppendEdge(v0 + i, i + 1 < n ? v0 + i + 1 : v0);
    }
    UpdateAllViews(nullptr);
}

// Cylinder and box: a bottom and a top ring along Z, each side face split by a
// diagonal into two triangles, which are the faces, wound outwards (normals by the
// right-hand rule point away from the axis). Both sine and cosine are rounded to float first.
void CPolydromDoc::AppendPrism(const ViewState& view, const char* name, int n, bool fourPoint)
{
    const float panX = view.pan[0], panY = view.pan[1], panZ = view.pan[2];
    if (!Fits(name, 2 * n, 4 * n, 2 * n)) return;
    const double r = 100.0 / view.zoom;
    const int v0 = GetVertexCount();
    for (int i = 0; i < n; ++i) {
        const double theta = Angle(n, i, fourPoint);
        const double s = Rounded(std::sin(theta));
        const double c = Rounded(std::cos(theta));
        AppendVertex(r * s - panX, r * c - panY, -panZ - r);
        AppendVertex(r * s - panX, r * c - panY, r - panZ);
        const int bottom = v0 + 2 * i, top = bottom + 1;
        const bool last = i + 1 == n;
        const int nextBottom = last ? v0 : bottom + 2;
        const int nextTop = last ? v0 + 1 : top + 2;
        AppendEdge(top, bottom);
        AppendEdge(bottom, nextBottom);
        AppendEdge(top, nextTop);
        AppendEdge(top, nextBottom);
        AppendFace(bottom, top, nextBottom);
        AppendFace(top, nextTop, nextBottom);
    }
    UpdateAllViews(nullptr);
}

// Cone and pyramid: an apex on the -Y side of a ring in the plane y = -panY, each side
// triangle a face wound outwards. The cone rounds its cosine to float first; the
// pyramid rounds neither.
void CPolydromDoc::AppendSpire(const ViewState& view, const char* name, int n, bool fourPoint)
{
    const float panX = view.pan[0], panY = view.pan[1], panZ = view.pan[2];
    if (!Fits(name, n + 1, 2 * n, n)) return;
    const double r = 100.0 / view.zoom;
    const int apex = GetVertexCount();
    AppendVertex(-panX, -panY - r, -panZ);
    for (int i = 0; i < n; ++i) {
        const double theta = Angle(n, i, fourPoint);
        const double s = std::sin(theta);
        const double c = fourPoint ? std::cos(theta) : Rounded(std::cos(theta));
        AppendVertex(r * s - panX, -panY, r * c - panZ);
        const int ring = apex + 1 + i;
        AppendEdge(apex, ring);
        const int next = i + 1 < n ? ring + 1 : apex + 1;
        AppendEdge(ring, next);
        AppendFace(apex, next, ring);
    }
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnShapeCircle(const ViewState& view) { AppendFlatRing(view, "Circle", m_nResolution, false); }
void CPolydromDoc::OnShapeSquare(const ViewState& view) { AppendFlatRing(view, "Square", 4, true); }
void CPolydromDoc::OnShapeCylinder(const ViewState& view) { AppendPrism(view, "Cylinder", m_nResolution, false); }
void CPolydromDoc::OnShapeBox(const ViewState& view) { AppendPrism(view, "Box", 4, true); }
void CPolydromDoc::OnShapeCone(const ViewState& view) { AppendSpire(view, "Cone", m_nResolution, false); }
void CPolydromDoc::OnShapePyramid(const ViewState& view) { AppendSpire(view, "Pyramid", 4, true); }

void CPolydromDoc::OnResVeryLow() { m_nResolution = 5; }
void CPolydromDoc::OnResLow() { m_nResolution = 10; }
void CPolydromDoc::OnResMedium() { m_nResolution = 20; }
void CPolydromDoc::OnResHigh() { m_nResolution = 40; }
void CPolydromDoc::OnResVeryHigh() { m_nResolution = 80; }
