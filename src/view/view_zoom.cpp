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
    const float* pan = m_state.pan;
    const Axes axes = MainAxes();
    *horizontal = (pixel.x - client.right * 0.5) / m_state.zoom - pan[axes.h];
    *vertical = (pixel.y - client.bottom * 0.5) / m_state.zoom - pan[axes.v];
}

void CPolydromView::ZoomAbout(CPoint pointer, int notches)
{
    double h, v;
    ModelPointAt(pointer, &h, &v);
    float& zoom = m_state.zoom;
    const float before = zoom;
    // Past about twenty steps the zoom sits at a limit; more would only spin.
    for (int k = 0; k < std::min(notches, 64); ++k) zoom = ZoomedIn(zoom);
    for (int k = 0; k < std::min(-notches, 64); ++k) zoom = ZoomedOut(zoom);
    // At a limit the zoom stays and so does the pan, rather than drift by a rounding.
    if (zoom != before) {
        const CRect client = GetClientRect();
        const Axes axes = MainAxes();
        m_state.pan[axes.h] = RoundToFloat((pointer.x - client.right * 0.5) / zoom - h);
        m_state.pan[axes.v] = RoundToFloat((pointer.y - client.bottom * 0.5) / zoom - v);
    }
    CView::OnUpdate(nullptr, 0, nullptr);
}
