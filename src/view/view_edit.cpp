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
    if (m_axisX == 1) {
        m_cursorZ = RoundToFloat(dx / m_zoom - m_panZ);
        m_cursorY = RoundToFloat(dy / m_zoom - m_panY);
    }
    if (m_axisY == 1) {
        m_cursorX = RoundToFloat(dx / m_zoom - m_panX);
        m_cursorZ = RoundToFloat(dy / m_zoom - m_panZ);
    }
    if (m_axisZ == 1) {
        m_cursorX = RoundToFloat(dx / m_zoom - m_panX);
        m_cursorY = RoundToFloat(dy / m_zoom - m_panY);
    }

    CPolydromDoc* doc = GetDocument();
    if (doc) {
        doc->SetCursorAndAxis(m_cursorX, m_cursorY, m_cursorZ, m_axisX, m_axisY, m_axisZ);
        // At the click limit the document refuses and says so; the shell shows it.
        if (m_addVertex != 0) doc->AddVertex(m_cursorX, m_cursorY, m_cursorZ);
        if (m_movePresses == 0 && m_addVertex == 0)
            doc->ToggleSelectionNear(m_cursorX, m_cursorY, m_cursorZ, m_axisX, m_axisY, m_axisZ);
    }
    if (m_moveAnchored == 1 && m_movePresses == 1) {
        // The document subtracts the offset, so the selection follows the pointer.
        const float offsetX = m_anchorX - m_cursorX;
        const float offsetY = m_anchorY - m_cursorY;
        const float offsetZ = m_anchorZ - m_cursorZ;
        if (doc) doc->MoveSelected(offsetX, offsetY, offsetZ);
        m_anchorX = m_cursorX;
        m_anchorY = m_cursorY;
        m_anchorZ = m_cursorZ;
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
        m_anchorX = m_cursorX;
        m_anchorY = m_cursorY;
        m_anchorZ = m_cursorZ;
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
    m_cursorX = x;
    m_cursorY = y;
    m_cursorZ = z;
    if (CPolydromDoc* doc = GetDocument())
        doc->SetCursorAndAxis(m_cursorX, m_cursorY, m_cursorZ, m_axisX, m_axisY, m_axisZ);
    CView::OnUpdate(nullptr, 0, nullptr);
}
