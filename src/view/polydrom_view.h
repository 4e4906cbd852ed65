// The orthographic wireframe view of the model: drawing, inset panels, cursor mark,
// mouse editing and navigation. Hosted by a window (or headless) through CViewHost.
#pragma once

#include <memory>
#include <vector>

#include "framework/geometry.h"
#include "framework/raster_dc.h"
#include "framework/view.h"
#include "model/view_state.h"

class CDC;
struct CPen;
struct PixelAxis;
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

    // View > Zoom to Fit: the whole model centred, along the current axis, clear of the panels.
    void OnViewFit();
    // The wheel: zooms in (notches > 0) or out as the zoom commands do, once per notch,
    // keeping the model point under the pointer where it is.
    void ZoomAbout(CPoint pointer, int notches);
    // The model coordinates a pixel shows, horizontal and vertical (as a click there would
    // set the cursor), and which model axes (0 X, 1 Y, 2 Z) those are.
    void ModelPointAt(CPoint pixel, double* horizontal, double* vertical) const;
    void ShownAxes(int* horizontal, int* vertical) const;
    // Whether the pixel lies on one of the two inset panels, and if so which model axes it
    // shows across and down there.
    bool PanelAt(CPoint pixel, int* horizontal, int* vertical) const;
    // Whether each vertex's pixel lies in the box with corners a and b (inclusive, any order).
    std::vector<bool> VerticesInBox(CPoint a, CPoint b) const;
    // Puts the cursor at a model point without picking anything, as --cursor and Set Cursor do.
    void SetCursor(float x, float y, float z);

    // The move tool: m_movePresses is 1 while it is on (each Move press toggles it between 0
    // and 1); m_moveAnchored is 1 while m_anchorX/Y/Z hold the model point the next click
    // moves the selection from. Pressing Move anchors at the cursor; each move re-anchors.
    float m_anchorX, m_anchorY, m_anchorZ;
    int m_movePresses;
    int m_moveAnchored;
    // The axis, zoom, pan and cursor: this view's own, handed to the commands given in it.
    ViewState m_state;
    int m_addVertex;
    char m_sizeText[20];
    bool m_modelOnly = false;

    // Which scaled coordinate (0 X, 1 Y, 2 Z) is shown horizontally and vertically, and
    // which is the depth; the render preview's camera follows the same choice.
    using Axes = ScreenAxes;
    Axes MainAxes() const { return m_state.Shown(); }

private:
    void LookAlong(ViewAxis axis);
    // The zoom after one zoom-in or zoom-out step, with their limits.
    static float ZoomedIn(float zoom);
    static float ZoomedOut(float zoom);
    // The scaled coordinates (model + pan) x zoom of a model point, each stored as a float.
    void Scale(float x, float y, float z, double out[3]) const;

    void DrawCursor(float x, float y, float z, CDC* pDC);
    void DrawEdges(CDC* pDC, const CPen& black, float hw, float hh);
    void DrawVertices(CDC* pDC, const CPen& black, const CPen& red, float hw, float hh);
    void DrawPanels(CDC* pDC, const CPen& black, float hw, float hh);
    // The two panels' filled rectangles (upper, lower) for a client of half size hw x hh,
    // and the axes each shows across and down.
    static void PanelRects(float hw, float hh, CRect* upper, CRect* lower);
    void PanelAxes(int panel, int* horizontal, int* vertical) const;
    // One panel's edges, shrunk into the panel whose top lies panelTop x hh down.
    void DrawPanelEdges(CDC* pDC, const CPen& black, float hw, float hh, int hAxis, int vAxis, double panelTop);
    // How model axis `axis` becomes a pixel coordinate in the raster paint's bulk passes.
    PixelAxis RasterAxis(int axis, double offset, double scale, double shift) const;
    // The same passes on a raster canvas, pixel for pixel: every vertex projected once
    // instead of once per edge end, and the lines drawn straight into the pixels. The
    // panels' edges are drawn in one pass for both, which ends as the plain paint does,
    // in the lower panel's clip.
    void DrawEdgesRaster(CRasterDC& dc, float hw, float hh);
    void DrawVerticesRaster(CRasterDC& dc, float hw, float hh);
    void DrawPanelsEdgesRaster(CRasterDC& dc, float hw, float hh);
    // The panels' filled rectangles and frames, before their edges.
    void DrawPanelFrames(CDC* pDC, float hw, float hh);
    // A big model's paint on a raster canvas, on two threads: the main area on this one,
    // the panels on a canvas of their own, whose filled rectangles then replace the
    // main area's pixels there. False (nothing drawn) where the plain paint is as quick or
    // the canvas is already clipped.
    bool DrawRasterInTwo(CRasterDC& dc, const CPen& black, const CPen& red, float hw, float hh);

    // Each vertex's pixel in the main area, from the edge pass of a raster paint for its
    // vertex marks (kept between paints to spare the allocation).
    std::vector<CPoint> m_pixelOf;
    // The panels' canvas in DrawRasterInTwo and their vertex pixels, kept between paints.
    std::unique_ptr<CRasterDC> m_panelCanvas;
    std::vector<CPoint> m_panelPixelOf[2];
};
