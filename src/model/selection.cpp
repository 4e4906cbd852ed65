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

// The click and the vertex are near along one coordinate when their difference,
// truncated to a whole number, is below the tolerance. A difference too large for
// 32 bits is simply far.
bool Near(float clicked, float vertex, float tolerance)
{
    const double d = double(clicked) - double(vertex);
    if (!(d > -2147483648.0 && d < 2147483648.0)) return false;
    const std::int32_t whole = static_cast<std::int32_t>(d);
    return double(whole < 0 ? -whole : whole) < tolerance;
}

}  // namespace

void CPolydromDoc::ToggleSelectionNear(float x, float y, float z, int axisX, int axisY, int axisZ)
{
    // 4 pixels at the current zoom; the truncation above makes the window |d| < ceil(t).
    const float t = static_cast<float>(4.0 / m_zoom);
    auto pass = [&](float clickedH, float clickedV, const float* h, const float* v) {
        for (int i = 0; i < GetVertexCount(); ++i)
            if (Near(clickedH, h[i], t) && Near(clickedV, v[i], t)) m_sel[i] = m_sel[i] == 0 ? 1 : 0;
    };
    if (axisX == 1) pass(z, y, m_z.data(), m_y.data());
    if (axisY == 1) pass(x, z, m_x.data(), m_z.data());
    if (axisZ == 1) pass(x, y, m_x.data(), m_y.data());
}
