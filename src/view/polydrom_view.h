// The orthographic wireframe view of the model: drawing, inset panels, cursor mark,
// mouse editing and navigation. Hosted by a window (or headless) through CViewHost.
#pragma once

#include "framework/view.h"

class CDC;
struct CPen;
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

    // Thumbnails: look along the axis that shows the model's largest face, with the zoom
    // and pan that fit the whole model centred in the client area, and from then on
    // paint the model alone (no size read-out, cursor mark or panels).
    void FitModel();

    // The move tool: m_movePresses is 1 while it is on (each Move press toggles it between 0
    // and 1); m_moveAnchored is 1 while m_anchorX/Y/Z hold the model point the next click
    // moves the selection from. Pressing Move anchors at the cursor; each move re-anchors.
    float m_anchorX, m_anchorY, m_anchorZ;
    int m_movePresses;
    int m_moveAnchored;
    float m_zoom;
    float m_panX, m_panY, m_panZ;
    int m_axisX, m_axisY, m_axisZ;
    float m_cursorX, m_cursorY, m_cursorZ;
    int m_addVertex;
    char m_sizeText[20];
    bool m_modelOnly = false;

private:
    // Which scaled coordinate (0 X, 1 Y, 2 Z) is shown horizontally and vertically, and
    // which is the depth.
    struct Axes {
        int h, v, d;
    };
    Axes MainAxes() const;
    void LookAlong(int axisX, int axisY, int axisZ);
    // The scaled coordinates (model + pan) x zoom of a model point, each stored as a float.
    void Scale(float x, float y, float z, double out[3]) const;

    void DrawCursor(float x, float y, float z, CDC* pDC);
    void DrawEdges(CDC* pDC, const CPen& black, float hw, float hh);
    void DrawVertices(CDC* pDC, const CPen& black, const CPen& red, float hw, float hh);
    void DrawPanels(CDC* pDC, const CPen& black, float hw, float hh);
    // One panel's edges, shrunk into the panel whose top lies panelTop x hh down.
    void DrawPanelEdges(CDC* pDC, const CPen& black, float hw, float hh, int hAxis, int vAxis, double panelTop);
};
