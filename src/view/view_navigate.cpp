// Zoom, pan and the viewing axis: each command changes the view, asks for a repaint,
// then copies the changed state into the document, whose commands read the copies.
#include "model/polydrom_doc.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

namespace {

// The model distance a 30-pixel offset represents at the zoom.
double PanStep(float zoom) { return 30.0 / zoom; }

// Up and down move the pan of the vertical screen coordinate, left and right the
// horizontal one: alongX, alongY and alongZ are the members moved when the view looks
// along X, Y and Z. Each flag is tested on its own, with a repaint for each that is 1;
// the copy into the document follows whether or not any flag was 1.
void Pan(CPolydromView& view, float& alongX, float& alongY, float& alongZ, double sign)
{
    float* const members[3] = {&alongX, &alongY, &alongZ};
    const int* const flags[3] = {&view.m_axisX, &view.m_axisY, &view.m_axisZ};
    for (int k = 0; k < 3; ++k) {
        if (*flags[k] != 1) continue;
        *members[k] = RoundToFloat(*members[k] + sign * PanStep(view.m_zoom));
        view.CView::OnUpdate(nullptr, 0, nullptr);
    }
    if (CPolydromDoc* doc = view.GetDocument()) doc->SetZoomAndPan(view.m_zoom, view.m_panX, view.m_panY, view.m_panZ);
}

}  // namespace

float CPolydromView::ZoomedIn(float zoom)
{
    const float doubled = 2 * zoom;
    return doubled > 100.0f ? 100.0f : doubled;
}

float CPolydromView::ZoomedOut(float zoom)
{
    // Halved in double and compared with the double 0.001; the clamp is the float nearest it.
    const double halved = 0.5 * zoom;
    return halved < 0.001 ? 0.001f : static_cast<float>(halved);
}

void CPolydromView::OnViewZoomIn()
{
    m_zoom = ZoomedIn(m_zoom);
    CView::OnUpdate(nullptr, 0, nullptr);
    if (CPolydromDoc* doc = GetDocument()) doc->SetZoomAndPan(m_zoom, m_panX, m_panY, m_panZ);
}

void CPolydromView::OnViewZoomOut()
{
    m_zoom = ZoomedOut(m_zoom);
    CView::OnUpdate(nullptr, 0, nullptr);
    if (CPolydromDoc* doc = GetDocument()) doc->SetZoomAndPan(m_zoom, m_panX, m_panY, m_panZ);
}

void CPolydromView::OnViewPanUp() { Pan(*this, m_panY, m_panZ, m_panY, +1); }
void CPolydromView::OnViewPanDown() { Pan(*this, m_panY, m_panZ, m_panY, -1); }
void CPolydromView::OnViewPanLeft() { Pan(*this, m_panZ, m_panX, m_panX, +1); }
void CPolydromView::OnViewPanRight() { Pan(*this, m_panZ, m_panX, m_panX, -1); }

void CPolydromView::OnViewAxisX() { LookAlong(1, 0, 0); }
void CPolydromView::OnViewAxisY() { LookAlong(0, 1, 0); }
void CPolydromView::OnViewAxisZ() { LookAlong(0, 0, 1); }

// An axis command repaints and copies cursor and flags even when the axis stays the same.
void CPolydromView::LookAlong(int axisX, int axisY, int axisZ)
{
    m_axisX = axisX;
    m_axisY = axisY;
    m_axisZ = axisZ;
    CView::OnUpdate(nullptr, 0, nullptr);
    if (CPolydromDoc* doc = GetDocument())
        doc->SetCursorAndAxis(m_cursorX, m_cursorY, m_cursorZ, m_axisX, m_axisY, m_axisZ);
}
