// The orthographic wireframe view of the model: drawing, inset panels, cursor mark,
// mouse editing and navigation. Hosted by a window (or headless) through CViewHost.
#pragma once

#include "framework/view.h"

class CDC;
class CPolydromDoc;

class CPolydromView : public CView {
public:
    CPolydromView();
    CPolydromDoc* GetDocument() const;

    // Paints the whole view: size read-out and cursor mark, edges, vertex marks, panels.
    void OnDraw(CDC* pDC) override;

    // A left press at a client pixel; flags carry MK_RBUTTON when the right button is held.
    void OnLButtonDown(unsigned flags, CPoint point);

    // The move tool and the nine navigation commands.
    void OnDoMove();
    void OnViewZoomIn();
    void OnViewZoomOut();
    void OnViewPanUp();
    void OnViewPanDown();
    void OnViewPanLeft();
    void OnViewPanRight();
    void OnViewAxisX();
    void OnViewAxisY();
    void OnViewAxisZ();

    float m_anchorX, m_anchorY, m_anchorZ;
    int m_movePresses;
    int m_moveAnchored;
    float m_zoom;
    float m_panX, m_panY, m_panZ;
    int m_axisX, m_axisY, m_axisZ;
    float m_cursorX, m_cursorY, m_cursorZ;
    int m_addVertex;
    char m_sizeText[20];

private:
    void DrawCursor(float x, float y, float z, CDC* pDC);
};
