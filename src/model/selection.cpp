// Selecting all, none, whole connected pieces, and the vertices near a click.
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/polydrom_doc.h"

void CPolydromDoc::OnDoSelectAll()
{
    for (int i = 0; i < GetVertexCount(); ++i) m_sel[i] = 1;
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoDeselectAll()
{
    for (int i = 0; i < GetVertexCount(); ++i) m_sel[i] = 0;
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoSelectConnected()
{
    // Every vertex joined by a chain of edges to a selected one becomes selected.
    // A breadth-first walk over an adjacency list built once per command.
    const int n = GetVertexCount(), e = GetEdgeCount();
    if (e == 0) {
        UpdateAllViews(nullptr);
        return;
    }
    std::vector<int> start(static_cast<std::size_t>(n) + 1, 0);
    for (int j = 0; j < e; ++j) {
        ++start[m_edgeFrom[j] + 1];
        ++start[m_edgeTo[j] + 1];
    }
    for (int i = 0; i < n; ++i) start[i + 1] += start[i];
    std::vector<int> neighbour(static_cast<std::size_t>(2) * e);
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (int j = 0; j < e; ++j) {
        neighbour[fill[m_edgeFrom[j]]++] = m_edgeTo[j];
        neighbour[fill[m_edgeTo[j]]++] = m_edgeFrom[j];
    }

    std::vector<int> queue;
    queue.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        if (m_sel[i] == 1) queue.push_back(i);
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int v = queue[head];
        for (int k = start[v]; k < start[v + 1]; ++k) {
            const int w = neighbour[k];
            if (m_sel[w] == 1) continue;
            m_sel[w] = 1;
            queue.push_back(w);
        }
    }
    UpdateAllViews(nullptr);
}

namespace {

// The click and the vertex are near along one coordinate when their difference is
// below the tolerance t, 4 pixels in model units. Where t is a whole unit or more
// (zoom 4 and below) the difference is first truncated to a whole number, as picking
// has always done, so the window is |d| < ceil(t) and every model picks as it did.
// Where t is below one unit the truncation would widen the window to a whole unit,
// many pixels at a high zoom, so the difference is compared as it is. A difference
// too large for 32 bits is simply far.
bool Near(float clicked, float vertex, float tolerance)
{
    const double d = double(clicked) - double(vertex);
    if (!(d > -2147483648.0 && d < 2147483648.0)) return false;
    if (tolerance < 1.0f) return std::fabs(d) < tolerance;
    const std::int32_t whole = static_cast<std::int32_t>(d);
    return double(whole < 0 ? -whole : whole) < tolerance;
}

}  // namespace

void CPolydromDoc::ToggleSelectionNear(const ViewState& view)
{
    const float x = view.cursor[0], y = view.cursor[1], z = view.cursor[2];
    // 4 pixels at the view's zoom, rounded to float.
    const float t = static_cast<float>(4.0 / view.zoom);
    auto pass = [&](float clickedH, float clickedV, const float* h, const float* v) {
        for (int i = 0; i < GetVertexCount(); ++i)
            if (Near(clickedH, h[i], t) && Near(clickedV, v[i], t)) m_sel[i] = m_sel[i] == 0 ? 1 : 0;
    };
    switch (view.axis) {
    case ViewAxis::X: pass(z, y, m_z.data(), m_y.data()); break;
    case ViewAxis::Y: pass(x, z, m_x.data(), m_z.data()); break;
    case ViewAxis::Z: pass(x, y, m_x.data(), m_y.data()); break;
    }
}
