// Grow, Shrink and the two rotations of the selection about the cursor point, and
// the four step settings that size them.
#include <cmath>

#include "model/coordinate_range.h"
#include "model/polydrom_doc.h"

namespace {

// A little short of pi/2; the rotations have always used it, and rotated models depend on it.
constexpr double kQuarterTurn = 1.570795;

// Scales every selected vertex about the cursor by f, rounded to float once; the
// difference from the cursor stays in double. Nothing moves unless every new
// coordinate can be stored, so a refused Grow leaves the model as it was.
bool ScaleSelected(CPolydromDoc& doc, const ViewState& view, double factor)
{
    const double f = static_cast<float>(factor);
    const double cursor[3] = {view.cursor[0], view.cursor[1], view.cursor[2]};
    float* const coordinates[3] = {doc.m_x.data(), doc.m_y.data(), doc.m_z.data()};
    auto scaled = [&](int axis, int i) { return cursor[axis] - (cursor[axis] - coordinates[axis][i]) * f; };
    for (int i = 0; i < doc.GetVertexCount(); ++i)
        for (int axis = 0; axis < 3 && doc.m_sel[i] == 1; ++axis)
            if (!IsStorableCoordinate(scaled(axis, i))) return false;
    for (int i = 0; i < doc.GetVertexCount(); ++i)
        for (int axis = 0; axis < 3 && doc.m_sel[i] == 1; ++axis)
            coordinates[axis][i] = static_cast<float>(scaled(axis, i));
    return true;
}

// The angles and the centre of one rotation command.
struct Turn {
    double sinA, cosA, sinB, cosB;
    double cx, cy, cz;
};

// Rounds to float as storing does; false when no finite float holds the value.
bool Rounded(double value, double* rounded)
{
    if (!IsStorableCoordinate(value)) return false;
    *rounded = static_cast<float>(value);
    return true;
}

// Turns one vertex's coordinates in place, in the plane the view looks at. The two
// differences from the cursor are rounded to float before they are turned. False, with
// the coordinates half turned, when a value would leave the float range.
bool TurnVertex(ViewAxis axis, const Turn& t, float& x, float& y, float& z)
{
    double d1, d2, first, second;
    if (axis == ViewAxis::X) {
        if (!Rounded(t.cz - z, &d1) || !Rounded(t.cy - y, &d2) ||
            !Rounded((t.cy - t.cosA * d1) + t.cosB * d2, &first) ||
            !Rounded((t.cz - t.sinA * d1) + t.sinB * d2, &second))
            return false;
        y = static_cast<float>(first);
        z = static_cast<float>(second);
    }
    if (axis == ViewAxis::Y) {
        if (!Rounded(t.cx - x, &d1) || !Rounded(t.cz - z, &d2) ||
            !Rounded((t.cx - t.sinA * d1) + t.sinB * d2, &first) ||
            !Rounded((t.cz - t.cosA * d1) + t.cosB * d2, &second))
            return false;
        x = static_cast<float>(first);
        z = static_cast<float>(second);
    }
    if (axis == ViewAxis::Z) {
        if (!Rounded(t.cx - x, &d1) || !Rounded(t.cy - y, &d2) ||
            !Rounded((t.cx - t.sinA * d1) + t.sinB * d2, &first) ||
            !Rounded((t.cy - t.cosA * d1) + t.cosB * d2, &second))
            return false;
        x = static_cast<float>(first);
        y = static_cast<float>(second);
    }
    return true;
}

// Rotates every selected vertex by the step about the cursor, in the plane the view
// shows. A = step + h (or h - step) is rounded to float, B = A + h is not. Every vertex
// is turned on copies first, so that a refused rotation changes nothing.
bool RotateSelected(CPolydromDoc& doc, const ViewState& view, bool counterClockwise)
{
    const double a = static_cast<float>(counterClockwise ? double(doc.m_step) + kQuarterTurn
                                                         : kQuarterTurn - double(doc.m_step));
    const double b = a + kQuarterTurn;
    const Turn turn{std::sin(a), std::cos(a), std::sin(b), std::cos(b), view.cursor[0], view.cursor[1], view.cursor[2]};
    for (int i = 0; i < doc.GetVertexCount(); ++i) {
        float x = doc.m_x[i], y = doc.m_y[i], z = doc.m_z[i];
        if (doc.m_sel[i] == 1 && !TurnVertex(view.axis, turn, x, y, z)) return false;
    }
    for (int i = 0; i < doc.GetVertexCount(); ++i)
        if (doc.m_sel[i] == 1 && !TurnVertex(view.axis, turn, doc.m_x[i], doc.m_y[i], doc.m_z[i])) return false;
    return true;
}

}  // namespace

void CPolydromDoc::OnDoGrow(const ViewState& view)
{
    if (!ScaleSelected(*this, view, 1.0 + double(m_step))) RefuseOutOfRange("Grow");
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoShrink(const ViewState& view)
{
    if (!ScaleSelected(*this, view, 1.0 - double(m_step))) RefuseOutOfRange("Shrink");
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoRotateCcw(const ViewState& view)
{
    if (!RotateSelected(*this, view, true)) RefuseOutOfRange("Rotate Counter-clockwise");
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoRotateCw(const ViewState& view)
{
    if (!RotateSelected(*this, view, false)) RefuseOutOfRange("Rotate Clockwise");
    UpdateAllViews(nullptr);
}

// The steps only store their value; the next Grow, Shrink or rotation uses it.
void CPolydromDoc::OnStepFinest() { m_step = 0.01f; }
void CPolydromDoc::OnStepFine() { m_step = 0.05f; }
// The menu item has long read ".25" but set 0.1; the value stays, the label reads ".1".
void CPolydromDoc::OnStepCoarse() { m_step = 0.1f; }
void CPolydromDoc::OnStepCoarsest() { m_step = 0.5f; }
