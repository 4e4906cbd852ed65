// The view's construction, its document, its main axes and the scaling of a model point.
#include "view/polydrom_view.h"

#include "model/polydrom_doc.h"
#include "view/pixel_math.h"

// The move anchor starts at the origin, though the move tool sets it before any use,
// and the key state and read-out buffer are cleared, so no member holds garbage.
CPolydromView::CPolydromView()
    : m_anchorX(0), m_anchorY(0), m_anchorZ(0), m_movePresses(0), m_moveAnchored(0), m_addVertex(0),
      m_sizeText{}
{
}

CPolydromDoc* CPolydromView::GetDocument() const { return static_cast<CPolydromDoc*>(CView::GetDocument()); }

void CPolydromView::Scale(float x, float y, float z, double out[3]) const
{
    const float* pan = m_state.pan;
    out[0] = StoredFloat((double(x) + pan[0]) * m_state.zoom);
    out[1] = StoredFloat((double(y) + pan[1]) * m_state.zoom);
    out[2] = StoredFloat((double(z) + pan[2]) * m_state.zoom);
}
