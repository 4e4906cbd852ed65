// Edits with typed values: a vertex at a point, the selection moved, rotated or scaled by
// an exact amount, and the selection inverted or set from a region.
#include <cmath>
#include <numbers>
#include <string>

#include "model/coordinate_range.h"
#include "model/polydrom_doc.h"

namespace {

// sin and cos of an angle in degrees. Whole quarter turns are exact, so a quarter turn
// takes (100, 0) to exactly (0, -100) and four of them return every vertex to its place.
void SinCosDegrees(double degrees, double* s, double* c)
{
    // The remainder is exact and lies in [-180, 180].
    const double r = std::remainder(degrees, 360.0);
    if (r == 0) {
        *s = 0, *c = 1;
    } else if (r == 90) {
        *s = 1, *c = 0;
    } else if (r == -90) {
        *s = -1, *c = 0;
    } else if (r == 180 || r == -180) {
        *s = 0, *c = -1;
    } else {
        const double radians = r * (std::numbers::pi / 180);
        *s = std::sin(radians);
        *c = std::cos(radians);
    }
}

}  // namespace

bool CPolydromDoc::AddVertexAt(double x, double y, double z)
{
    if (GetVertexCount() >= m_limits.vertices) {
        ReportRefusal("Add Vertex At refused: the model already holds " + std::to_string(m_limits.vertices) +
                      " vertices, as many as it can.");
        return false;
    }
    if (!IsStorableCoordinate(x) || !IsStorableCoordinate(y) || !IsStorableCoordinate(z)) {
        RefuseOutOfRange("Add Vertex At");
        return false;
    }
    if (!Fits("Add Vertex At", 1, 0)) return false;
    AppendVertex(x, y, z);
    UpdateAllViews(nullptr);
    return true;
}

bool CPolydromDoc::TransformSelection(const char* command, const PointMap& map)
{
    // Every result is checked before the first is stored, so a refusal leaves the model as it was.
    double p[3];
    for (int i = 0; i < GetVertexCount(); ++i) {
        if (m_sel[i] != 1) continue;
        map(m_x[i], m_y[i], m_z[i], p);
        if (!IsStorableCoordinate(p[0]) || !IsStorableCoordinate(p[1]) || !IsStorableCoordinate(p[2])) {
            RefuseOutOfRange(command);
            return false;
        }
    }
    for (int i = 0; i < GetVertexCount(); ++i) {
        if (m_sel[i] != 1) continue;
        map(m_x[i], m_y[i], m_z[i], p);
        m_x[i] = static_cast<float>(p[0]);
        m_y[i] = static_cast<float>(p[1]);
        m_z[i] = static_cast<float>(p[2]);
    }
    UpdateAllViews(nullptr);
    return true;
}

bool CPolydromDoc::MoveSelectionBy(double dx, double dy, double dz)
{
    return TransformSelection("Move By", [&](double x, double y, double z, double* out) {
        out[0] = x + dx;
        out[1] = y + dy;
        out[2] = z + dz;
    });
}

bool CPolydromDoc::RotateSelectionBy(double degrees, const ViewState& view)
{
    if (!std::isfinite(degrees)) {
        ReportRefusal("Rotate By refused: the angle is not a finite number.");
        return false;
    }
    double s, c;
    SinCosDegrees(degrees, &s, &c);
    // The plane the view shows, as (horizontal, vertical) indices of x, y, z: along X it
    // shows (z, y), along Y (x, z), along Z (x, y). With the vertical coordinate drawn
    // downwards, h' = h cos + v sin, v' = -h sin + v cos turns counter-clockwise on the
    // screen, the sense of Rotate Counter-clockwise, in every view.
    const int h = view.Shown().h;
    const int v = view.Shown().v;
    const double centre[3] = {view.cursor[0], view.cursor[1], view.cursor[2]};
    return TransformSelection("Rotate By", [&](double x, double y, double z, double* out) {
        out[0] = x, out[1] = y, out[2] = z;
        const double dh = out[h] - centre[h], dv = out[v] - centre[v];
        out[h] = centre[h] + (dh * c + dv * s);
        out[v] = centre[v] + (dv * c - dh * s);
    });
}

bool CPolydromDoc::ScaleSelectionBy(double factor, const ViewState& view)
{
    if (!std::isfinite(factor)) {
        ReportRefusal("Scale By refused: the factor is not a finite number.");
        return false;
    }
    // About the whole cursor point, depth included, as Grow and Shrink scale.
    const double cx = view.cursor[0], cy = view.cursor[1], cz = view.cursor[2];
    return TransformSelection("Scale By", [&](double x, double y, double z, double* out) {
        out[0] = cx + (x - cx) * factor;
        out[1] = cy + (y - cy) * factor;
        out[2] = cz + (z - cz) * factor;
    });
}

void CPolydromDoc::OnDoSelectInvert()
{
    for (int i = 0; i < GetVertexCount(); ++i) m_sel[i] = m_sel[i] == 1 ? 0 : 1;
    UpdateAllViews(nullptr);
}

void CPolydromDoc::ChangeSelection(const std::vector<bool>& marked, SelectionChange change)
{
    for (int i = 0; i < GetVertexCount() && i < static_cast<int>(marked.size()); ++i) {
        if (change == SelectionChange::Replace) m_sel[i] = marked[i] ? 1 : 0;
        if (change == SelectionChange::Add && marked[i]) m_sel[i] = 1;
        if (change == SelectionChange::Remove && marked[i]) m_sel[i] = 0;
    }
    UpdateAllViews(nullptr);
}
