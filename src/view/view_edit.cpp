// Mouse editing: a left click sets the cursor and adds, picks or moves; the move tool;
// the vertices inside a dragged box; the cursor put at a typed point.
#include <algorithm>
#include <vector>

#include "model/polydrom_doc.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

void CPolydromView::OnLButtonDown(unsigned flags, CPoint point)
{
    const CRect client = GetClientRect();
    const double cx = client.right * 0.5, cy = client.bottom * 0.5;
    m_addVertex = static_cast<int>(flags & MK_RBUTTON);

    // The pixel's offset from the centre, in model units; the coordinate along the
    // viewing axis keeps its earlier value.
    const double dx = point.x - cx, dy = point.y - cy;
    const Axes axes = MainAxes();
    float* const cursor = m_state.cursor;
    cursor[axes.h] = RoundToFloat(dx / m_state.zoom - m_state.pan[axes.h]);
    cursor[axes.v] = RoundToFloat(dy / m_state.zoom - m_state.pan[axes.v]);

    CPolydromDoc* doc = GetDocument();
    if (doc) {
        // At the click limit the document refuses and says so; the shell shows it.
        if (m_addVertex != 0) doc->AddVertex(cursor[0], cursor[1], cursor[2]);
        if (m_movePresses == 0 && m_addVertex == 0) doc->ToggleSelectionNear(m_state);
    }
    if (m_moveAnchored == 1 && m_movePresses == 1) {
        // The document subtracts the offset, so the selection follows the pointer.
        const float offsetX = m_anchorX - cursor[0];
        const float offsetY = m_anchorY - cursor[1];
        const float offsetZ = m_anchorZ - cursor[2];
        if (doc) doc->MoveSelected(offsetX, offsetY, offsetZ);
        m_anchorX = cursor[0];
        m_anchorY = cursor[1];
        m_anchorZ = cursor[2];
    }
    CView::OnUpdate(nullptr, 0, nullptr);
}

void CPolydromView::OnDoMove()
{
    // Two states between presses: off (0, 0) and on with the anchor captured (1, 1).
    m_movePresses = m_movePresses + 1;
    if (m_movePresses == 2) {
        m_moveAnchored = 0;
        m_movePresses = 0;
    }
    if (m_movePresses == 1 && m_moveAnchored == 0) {
        m_anchorX = m_state.cursor[0];
        m_anchorY = m_state.cursor[1];
        m_anchorZ = m_state.cursor[2];
        m_moveAnchored = 1;
    }
    CView::OnUpdate(nullptr, 0, nullptr);
}

std::vector<bool> CPolydromView::VerticesInBox(CPoint a, CPoint b) const
{
    const CPolydromDoc* doc = GetDocument();
    if (!doc) return {};
    const CRect client = GetClientRect();
    const float hw = static_cast<float>(client.right * 0.5);
    const float hh = static_cast<float>(client.bottom * 0.5);
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    const Axes axes = MainAxes();
    std::vector<bool> inside(static_cast<std::size_t>(doc->GetVertexCount()));
    for (int i = 0; i < doc->GetVertexCount(); ++i) {
        // The pixel at the centre of the vertex's mark, as the paint computes it.
        double s[3];
        Scale(doc->GetVertexX(i), doc->GetVertexY(i), doc->GetVertexZ(i), s);
        const int x = TruncPixel(s[axes.h] + hw), y = TruncPixel(s[axes.v] + hh);
        inside[i] = left <= x && x <= right && top <= y && y <= bottom;
    }
    return inside;
}

void CPolydromView::SetCursor(float x, float y, float z)
{
    m_state.cursor[0] = x;
    m_state.cursor[1] = y;
    m_state.cursor[2] = z;
    CView::OnUpdate(nullptr, 0, nullptr);
}
