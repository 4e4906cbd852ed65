// Zoom to Fit, the wheel's zoom about the pointer, and where a pixel lies in the model.
#include <algorithm>
#include <cmath>

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

void CPolydromView::OnViewFit()
{
    const CPolydromDoc* doc = GetDocument();
    const CRect client = GetClientRect();
    if (!doc || client.right <= 0 || client.bottom <= 0) return;
    const int n = doc->GetVertexCount();
    if (n == 0) {
        // Nothing to show: back to where a new view starts.
        m_zoom = 1.0f;
        m_panX = m_panY = m_panZ = 0.0f;
        ZoomAndPanChanged();
        return;
    }
    double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (int i = 0; i < n; ++i) {
        const double p[3] = {doc->GetVertexX(i), doc->GetVertexY(i), doc->GetVertexZ(i)};
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], p[k]);
            hi[k] = std::max(hi[k], p[k]);
        }
    }
    const Axes axes = MainAxes();
    // The inset panels begin at 0.7 of the width, so a model centred in the window keeps
    // clear of them within 0.4 of the width; the depth must fit the slab the edges are
    // drawn within, as deep as the window is tall. A tenth of each stays free.
    const double room[3][2] = {{hi[axes.h] - lo[axes.h], 0.9 * 0.4 * client.right},
                               {hi[axes.v] - lo[axes.v], 0.9 * client.bottom},
                               {hi[axes.d] - lo[axes.d], 0.9 * client.bottom}};
    double zoom = HUGE_VAL;
    for (const auto& [size, pixels] : room)
        if (size > 0) zoom = std::min(zoom, pixels / size);
    // A single point keeps the zoom it has; otherwise the zoom commands' limits hold.
    if (zoom != HUGE_VAL) m_zoom = static_cast<float>(std::clamp(zoom, 0.001, 100.0));
    // 0.0 - ... so that a model centred on 0 gets the pan 0, not -0.
    m_panX = RoundToFloat(0.0 - (lo[0] + hi[0]) / 2);
    m_panY = RoundToFloat(0.0 - (lo[1] + hi[1]) / 2);
    m_panZ = RoundToFloat(0.0 - (lo[2] + hi[2]) / 2);
    ZoomAndPanChanged();
}
