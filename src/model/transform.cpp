// Grow, Shrink and the two rotations of the selection about the cursor point, and
// the four step settings that size them.
#include <cmath>

#include "model/polydrom_doc.h"

namespace {

// A little short of pi/2; the rotations have always used it, and rotated models depend on it.
constexpr double kQuarterTurn = 1.570795;

// Scales every selected vertex about the cursor by f, rounded to float once; the
// difference from the cursor stays in double.
void ScaleSelected(CPolydromDoc& doc, double factor)
{
    const double f = static_cast<float>(factor);
    const double cx = doc.m_cursorX, cy = doc.m_cursorY, cz = doc.m_cursorZ;
    for (int i = 0; i < doc.m_nVertices; ++i) {
        if (doc.m_sel[i] != 1) continue;
        doc.m_x[i] = static_cast<float>(cx - (cx - doc.m_x[i]) * f);
        doc.m_y[i] = static_cast<float>(cy - (cy - doc.m_y[i]) * f);
        doc.m_z[i] = static_cast<float>(cz - (cz - doc.m_z[i]) * f);
    }
}

// Rotates every selected vertex by the step about the cursor, in the plane the view
// shows. A = step + h (or h - step) is rounded to float, B = A + h is not; the two
// differences from the cursor are rounded to float before they are turned.
void RotateSelected(CPolydromDoc& doc, bool counterClockwise)
{
    const double a = static_cast<float>(counterClockwise ? double(doc.m_step) + kQuarterTurn
                                                         : kQuarterTurn - double(doc.m_step));
    const double b = a + kQuarterTurn;
    const double sinA = std::sin(a), cosA = std::cos(a), sinB = std::sin(b), cosB = std::cos(b);
    const double cx = doc.m_cursorX, cy = doc.m_cursorY, cz = doc.m_cursorZ;
    for (int i = 0; i < doc.m_nVertices; ++i) {
        if (doc.m_sel[i] != 1) continue;
        // Every axis flag that is set turns the vertex in its plane, X first; the view
        // sets exactly one. Each turn reads the coordinates the previous one stored.
        if (doc.m_axisX == 1) {
            const double d1 = static_cast<float>(cz - doc.m_z[i]);
            const double d2 = static_cast<float>(cy - doc.m_y[i]);
            doc.m_y[i] = static_cast<float>((cy - cosA * d1) + cosB * d2);
            doc.m_z[i] = static_cast<float>((cz - sinA * d1) + sinB * d2);
        }
        if (doc.m_axisY == 1) {
            const double d1 = static_cast<float>(cx - doc.m_x[i]);
            const double d2 = static_cast<float>(cz - doc.m_z[i]);
            doc.m_x[i] = static_cast<float>((cx - sinA * d1) + sinB * d2);
            doc.m_z[i] = static_cast<float>((cz - cosA * d1) + cosB * d2);
        }
        if (doc.m_axisZ == 1) {
            const double d1 = static_cast<float>(cx - doc.m_x[i]);
            const double d2 = static_cast<float>(cy - doc.m_y[i]);
            doc.m_x[i] = static_cast<float>((cx - sinA * d1) + sinB * d2);
            doc.m_y[i] = static_cast<float>((cy - cosA * d1) + cosB * d2);
        }
    }
}

}  // namespace

void CPolydromDoc::OnDoGrow()
{
    ScaleSelected(*this, 1.0 + double(m_step));
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoShrink()
{
    ScaleSelected(*this, 1.0 - double(m_step));
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoRotateCcw()
{
    RotateSelected(*this, true);
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoRotateCw()
{
    RotateSelected(*this, false);
    UpdateAllViews(nullptr);
}

// The steps only store their value; the next Grow, Shrink or rotation uses it.
void CPolydromDoc::OnStepFinest() { m_step = 0.01f; }
void CPolydromDoc::OnStepFine() { m_step = 0.05f; }
// The menu item has long read ".25" but set 0.1; the value stays, the label reads ".1".
void CPolydromDoc::OnStepCoarse() { m_step = 0.1f; }
void CPolydromDoc::OnStepCoarsest() { m_step = 0.5f; }
