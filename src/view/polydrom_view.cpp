#include "view/polydrom_view.h"

#include "model/polydrom_doc.h"

CPolydromView::CPolydromView()
    : m_anchorX(0), m_anchorY(0), m_anchorZ(0), m_movePresses(0), m_moveAnchored(0), m_zoom(1.0f),
      m_panX(0), m_panY(0), m_panZ(0), m_axisX(0), m_axisY(0), m_axisZ(1), m_cursorX(0), m_cursorY(0),
      m_cursorZ(0), m_addVertex(0), m_sizeText{}
{
}

CPolydromDoc* CPolydromView::GetDocument() const { return static_cast<CPolydromDoc*>(CView::GetDocument()); }

// Drawing, mouse editing and navigation are still to come.
void CPolydromView::OnDraw(CDC*) {}
