// Zoom, pan and the viewing axis: each command changes this view's state and asks for a
// repaint; the commands given in the view read the state from it.
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

namespace {

// The model distance a 30-pixel offset represents at the zoom.
double PanStep(float zoom) { return 30.0 / zoom; }

// Moves the pan of the coordinate shown across (across) or down (!across) by one step.
void Pan(CPolydromView& view, bool across, double sign)
{
    ViewState& state = view.m_state;
    const int k = across ? state.Shown().h : state.Shown().v;
    state.pan[k] = RoundToFloat(state.pan[k] + sign * PanStep(state.zoom));
    view.CView::OnUpdate(nullptr, 0, nullptr);
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
    m_state.zoom = ZoomedIn(m_state.zoom);
    CView::OnUpdate(nullptr, 0, nullptr);
}

void CPolydromView::OnViewZoomOut()
{
    m_state.zoom = ZoomedOut(m_state.zoom);
    CView::OnUpdate(nullptr, 0, nullptr);
}

void CPolydromView::OnViewPanUp() { Pan(*this, false, +1); }
void CPolydromView::OnViewPanDown() { Pan(*this, false, -1); }
void CPolydromView::OnViewPanLeft() { Pan(*this, true, +1); }
void CPolydromView::OnViewPanRight() { Pan(*this, true, -1); }

void CPolydromView::OnViewAxisX() { LookAlong(ViewAxis::X); }
void CPolydromView::OnViewAxisY() { LookAlong(ViewAxis::Y); }
void CPolydromView::OnViewAxisZ() { LookAlong(ViewAxis::Z); }

// An axis command repaints even when the axis stays the same.
void CPolydromView::LookAlong(ViewAxis axis)
{
    m_state.axis = axis;
    CView::OnUpdate(nullptr, 0, nullptr);
}
