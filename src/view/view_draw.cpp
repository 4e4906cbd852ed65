// The paint: size read-out and cursor mark, the clipped edges, the vertex marks, the panels.
#include "framework/dc.h"
#include "model/polydrom_doc.h"
#include "view/edge_clip.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

void CPolydromView::OnDraw(CDC* pDC)
{
    CPolydromDoc* doc = GetDocument();
    const CRect client = GetClientRect();
    // An empty client area shows nothing, and its box would have no inside.
    if (!doc || client.right <= 0 || client.bottom <= 0) return;

    // Pens and brushes live for this paint only; every pass restores what it replaced.
    const CPen black{RGB(0, 0, 0), 1};
    const CPen red{RGB(255, 0, 0), 1};
    const float hw = static_cast<float>(client.right * 0.5);
    const float hh = static_cast<float>(client.bottom * 0.5);

    if (!m_modelOnly)
        DrawCursor(RoundToFloat(double(m_cursorX) + m_panX), RoundToFloat(double(m_cursorY) + m_panY),
                   RoundToFloat(double(m_cursorZ) + m_panZ), pDC);
    DrawEdges(pDC, black, hw, hh);
    DrawVertices(pDC, black, red, hw, hh);
    if (!m_modelOnly) DrawPanels(pDC, black, hw, hh);
}

void CPolydromView::DrawEdges(CDC* pDC, const CPen& black, float hw, float hh)
{
    const CPolydromDoc* doc = GetDocument();
    const Axes axes = MainAxes();
    // The box: the window's half width across, its half height down and in depth.
    const double half[3] = {hw, hh, hh};
    for (int e = 0; e < doc->GetEdgeCount(); ++e) {
        const CPen* previous = pDC->SelectObject(&black);
        double a[3], b[3];
        Scale(doc->GetEdgeFromX(e), doc->GetEdgeFromY(e), doc->GetEdgeFromZ(e), a);
        Scale(doc->GetEdgeToX(e), doc->GetEdgeToY(e), doc->GetEdgeToZ(e), b);
        BoxPoint pa{{a[axes.h], a[axes.v], a[axes.d]}};
        BoxPoint pb{{b[axes.h], b[axes.v], b[axes.d]}};
        if (ClipEdgeToBox(pa, pb, half)) {
            // A cut end is stored as a float, as the endpoint it replaces was.
            pDC->MoveTo(TruncPixel(StoredFloat(pa.c[0]) + hw), TruncPixel(StoredFloat(pa.c[1]) + hh));
            pDC->LineTo(TruncPixel(StoredFloat(pb.c[0]) + hw), TruncPixel(StoredFloat(pb.c[1]) + hh));
        }
        pDC->SelectObject(previous);
    }
}

void CPolydromView::DrawVertices(CDC* pDC, const CPen& black, const CPen& red, float hw, float hh)
{
    const CPolydromDoc* doc = GetDocument();
    const Axes axes = MainAxes();
    // A vertex in a state other than 0 or 1 keeps the pen of the vertex before it.
    const CPen* pen = &black;
    for (int i = 0; i < doc->GetVertexCount(); ++i) {
        const int sel = doc->GetVertexSel(i);
        if (sel == 0) pen = &black;
        if (sel == 1) pen = &red;
        const CPen* previous = pDC->SelectObject(pen);
        double s[3];
        Scale(doc->GetVertexX(i), doc->GetVertexY(i), doc->GetVertexZ(i), s);
        const double cx = s[axes.h] + hw, cy = s[axes.v] + hh;
        // A 5 x 5 diagonal cross centred on the vertex's pixel (end pixels are left out).
        pDC->MoveTo(TruncPixel(cx - 2), TruncPixel(cy - 2));
        pDC->LineTo(TruncPixel(cx + 3), TruncPixel(cy + 3));
        pDC->MoveTo(TruncPixel(cx + 2), TruncPixel(cy - 2));
        pDC->LineTo(TruncPixel(cx - 3), TruncPixel(cy + 3));
        pDC->SelectObject(previous);
    }
}
