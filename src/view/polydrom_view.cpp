// The view's construction, its document, its main axes and the scaling of a model point.
#include "view/polydrom_view.h"

#include "model/polydrom_doc.h"
#include "view/pixel_math.h"

// The move anchor starts at the origin, though the move tool sets it before any use,
// and the key state and read-out buffer are cleared, so no member holds garbage.
CPolydromView::CPolydromView()
    : m_anchorX(0), m_anchorY(0), m_anchorZ(0), m_movePresses(0), m_moveAnchored(0), m_zoom(1.0f),
      m_panX(0), m_panY(0), m_panZ(0), m_axisX(0), m_axisY(0), m_axisZ(1), m_cursorX(0), m_cursorY(0),
      m_cursorZ(0), m_addVertex(0), m_sizeText{}
{
}

CPolydromDoc* CPolydromView::GetDocument() const { return static_cast<CPolydromDoc*>(CView::GetDocument()); }

CPolydromView::Axes CPolydromView::MainAxes() const
{
    // Exactly one flag is 1; should none be, the view looks along Z as it does at first.
    if (m_axisX == 1) return {2, 1, 0};
    if (m_axisY == 1) return {0, 2, 1};
    return {0, 1, 2};
}

void CPolydromView::Scale(float x, float y, float z, double out[3]) const
{
    out[0] = StoredFloat((double(x) + m_panX) * m_zoom);
    out[1] = StoredFloat((double(y) + m_panY) * m_zoom);
    out[2] = StoredFloat((double(z) + m_panZ) * m_zoom);
}
