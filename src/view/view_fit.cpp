// Fitting the whole model into the window: for thumbnails, and View > Zoom to Fit.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "model/polydrom_doc.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

namespace {

// The box around the model's vertices, in model units.
void ModelBounds(const CPolydromDoc& doc, double lo[3], double hi[3])
{
    for (int k = 0; k < 3; ++k) lo[k] = HUGE_VAL, hi[k] = -HUGE_VAL;
    for (int i = 0; i < doc.GetVertexCount(); ++i) {
        const double p[3] = {doc.GetVertexX(i), doc.GetVertexY(i), doc.GetVertexZ(i)};
        for (int k = 0; k < 3; ++k) {
            // A non-finite coordinate (no command makes one) would turn the pan into NaN.
            if (!std::isfinite(p[k])) continue;
            lo[k] = std::min(lo[k], p[k]);
            hi[k] = std::max(hi[k], p[k]);
        }
    }
    for (int k = 0; k < 3; ++k)
        if (lo[k] > hi[k]) lo[k] = hi[k] = 0;
}

}  // namespace

void CPolydromView::FitModel()
{
    m_modelOnly = true;
    const CPolydromDoc* doc = GetDocument();
    const CRect client = GetClientRect();
    const int n = doc ? doc->GetVertexCount() : 0;
    if (n == 0 || client.right <= 0 || client.bottom <= 0) return;

    double lo[3], hi[3];
    ModelBounds(*doc, lo, hi);
    const double extent[3] = {hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]};

    // Look along the thinnest direction: the other two span the largest face.
    const int along = extent[0] < extent[1] ? (extent[0] < extent[2] ? 0 : 2) : (extent[1] < extent[2] ? 1 : 2);
    m_state.axis = along == 0 ? ViewAxis::X : along == 1 ? ViewAxis::Y : ViewAxis::Z;
    // Looking along X the window shows (Z, Y), along Y (X, Z), along Z (X, Y).
    static constexpr int kShown[3][2] = {{2, 1}, {0, 2}, {0, 1}};
    const int h = kShown[along][0], v = kShown[along][1];

    // A tenth of the window stays free around the model; the depth must fit the
    // slab the edges are drawn within, which is as deep as the window is tall.
    const double room[3][2] = {{extent[h], 0.9 * client.right}, {extent[v], 0.9 * client.bottom},
                               {extent[along], 0.9 * client.bottom}};
    double zoom = 100.0;
    for (const auto& [size, pixels] : room)
        if (size > 0) zoom = std::min(zoom, pixels / size);
    m_state.zoom = RoundToFloat(std::max(zoom, 0.001));
    for (int k = 0; k < 3; ++k) m_state.pan[k] = RoundToFloat(-(lo[k] + hi[k]) / 2);
    CView::OnUpdate(nullptr, 0, nullptr);
}

void CPolydromView::OnViewFit()
{
    CPolydromDoc* doc = GetDocument();
    const CRect client = GetClientRect();
    if (!doc || client.right <= 0 || client.bottom <= 0) return;
    const int n = doc->GetVertexCount();
    if (n == 0) {
        // Nothing to show: back to where a new view starts.
        m_state.zoom = 1.0f;
        for (float& pan : m_state.pan) pan = 0.0f;
        CView::OnUpdate(nullptr, 0, nullptr);
        doc->ReportInfo("Zoom to Fit: the model is empty; back to zoom 1 without pan");
        return;
    }
    double lo[3], hi[3];
    ModelBounds(*doc, lo, hi);
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
    if (zoom != HUGE_VAL) m_state.zoom = static_cast<float>(std::clamp(zoom, 0.001, 100.0));
    // 0.0 - ... so that a model centred on 0 gets the pan 0, not -0.
    for (int k = 0; k < 3; ++k) m_state.pan[k] = RoundToFloat(0.0 - (lo[k] + hi[k]) / 2);
    CView::OnUpdate(nullptr, 0, nullptr);
    char zoomText[32];
    std::snprintf(zoomText, sizeof zoomText, "%g", double(m_state.zoom));
    doc->ReportInfo(std::string("Zoomed to fit the whole model: zoom ") + zoomText);
}
