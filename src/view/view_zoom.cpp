// The wheel's zoom about the pointer, and where a pixel lies in the model.
#include <algorithm>

#include "model/polydrom_doc.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

void CPolydromView::ShownAxes(int* horizontal, int* vertical) const
{
    const Axes axes = MainAxes();
    *horizontal = axes.h;
    *vertical = axes.v;
}

void CPolydromView::ModelPointAt(CPoint pixel, double* horizontal, double* vertical) const
{
    // A click's mapping: the offset from the centre divided by the zoom, less the pan.
    const CRect client = GetClientRect();
    const float pan[3] = {m_panX, m_panY, m_panZ};
    const Axes axes = MainAxes();
    *horizontal = (pixel.x - client.right * 0.5) / m_zoom - pan[axes.h];
    *vertical = (pixel.y - client.bottom * 0.5) / m_zoom - pan[axes.v];
}

void CPolydromView::ZoomAndPanChanged()
{
    CView::OnUpdate(nullptr, 0, nullptr);
    if (CPolydromDoc* doc = GetDocument()) doc->SetZoomAndPan(m_zoom, m_panX, m_panY, m_panZ);
}

void CPolydromView::ZoomAbout(CPoint pointer, int notches)
{
    double h, v;
    ModelPointAt(pointer, &h, &v);
    const float before = m_zoom;
    // Past about twenty steps the zoom sits at a limit; more would only spin.
    for (int k = 0; k < std::min(notches, 64); ++k) m_zoom = ZoomedIn(m_zoom);
    for (int k = 0; k < std::min(-notches, 64); ++k) m_zoom = ZoomedOut(m_zoom);
    // At a limit the zoom stays and so does the pan, rather than drift by a rounding.
    if (m_zoom != before) {
        const CRect client = GetClientRect();
        float* const pan[3] = {&m_panX, &m_panY, &m_panZ};
        const Axes axes = MainAxes();
        *pan[axes.h] = RoundToFloat((pointer.x - client.right * 0.5) / m_zoom - h);
        *pan[axes.v] = RoundToFloat((pointer.y - client.bottom * 0.5) / m_zoom - v);
    }
    ZoomAndPanChanged();
}
