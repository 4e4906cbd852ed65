// The two inset panels along the other axes.
#include "framework/dc.h"
#include "framework/raster_dc.h"
#include "model/polydrom_doc.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

namespace {

const COLORREF kPanelColor = RGB(220, 220, 255);
const COLORREF kFrameShadow = RGB(80, 80, 80);

}  // namespace

void CPolydromView::PanelRects(float hw, float hh, CRect* upper, CRect* lower)
{
    const double W = 2.0 * hw, H = 2.0 * hh;
    *upper = CRect{TruncPixel(0.7 * W), TruncPixel(0.02 * H), TruncPixel(0.98 * W), TruncPixel(0.32 * H)};
    *lower = CRect{TruncPixel(0.7 * W), TruncPixel(0.33 * H), TruncPixel(0.98 * W), TruncPixel(0.63 * H)};
}

void CPolydromView::PanelAxes(int panel, int* horizontal, int* vertical) const
{
    // Upper panel: along X it shows (X, Y), along Y (Y, Z), along Z (X, Z); the lower
    // one (Z, X), (X, Y) and (Z, Y).
    static const int kAxes[2][3][2] = {{{0, 1}, {1, 2}, {0, 2}}, {{2, 0}, {0, 1}, {2, 1}}};
    const int along = static_cast<int>(m_state.axis);
    *horizontal = kAxes[panel][along][0];
    *vertical = kAxes[panel][along][1];
}

bool CPolydromView::PanelAt(CPoint pixel, int* horizontal, int* vertical) const
{
    const CRect client = GetClientRect();
    if (m_modelOnly || client.right <= 0 || client.bottom <= 0) return false;
    CRect rects[2];
    // As the paint computes the half sizes.
    PanelRects(static_cast<float>(client.right * 0.5), static_cast<float>(client.bottom * 0.5), &rects[0], &rects[1]);
    for (int panel = 0; panel < 2; ++panel) {
        // The frame drawn one pixel outside the filled rectangle belongs to the panel.
        const CRect& r = rects[panel];
        if (pixel.x >= r.left - 1 && pixel.x <= r.right && pixel.y >= r.top - 1 && pixel.y <= r.bottom) {
            PanelAxes(panel, horizontal, vertical);
            return true;
        }
    }
    return false;
}

void CPolydromView::DrawPanels(CDC* pDC, const CPen& black, float hw, float hh)
{
    DrawPanelFrames(pDC, hw, hh);
    if (auto* raster = dynamic_cast<CRasterDC*>(pDC)) return DrawPanelsEdgesRaster(*raster, hw, hh);
    CRect upper, lower;
    PanelRects(hw, hh, &upper, &lower);
    // The last clip stays in force for the rest of the paint.
    int h, v;
    pDC->SelectClipRect(&upper);
    PanelAxes(0, &h, &v);
    DrawPanelEdges(pDC, black, hw, hh, h, v, 0.04);
    pDC->SelectClipRect(&lower);
    PanelAxes(1, &h, &v);
    DrawPanelEdges(pDC, black, hw, hh, h, v, 0.66);
}

void CPolydromView::DrawPanelFrames(CDC* pDC, float hw, float hh)
{
    CRect upper, lower;
    PanelRects(hw, hh, &upper, &lower);
    const double W = 2.0 * hw, H = 2.0 * hh;

    const CBrush brush{kPanelColor};
    const CBrush* previous = pDC->SelectObject(&brush);
    pDC->FillRect(upper, &brush);
    pDC->FillRect(lower, &brush);
    // The frames' left and top sides lie one pixel outside the filled rectangles.
    const int frameWidth = TruncPixel(0.28 * W) + 2, frameHeight = TruncPixel(0.3 * H) + 2;
    pDC->Draw3dRect(upper.left - 1, upper.top - 1, frameWidth, frameHeight, RGB(0, 0, 0), kFrameShadow);
    pDC->Draw3dRect(lower.left - 1, lower.top - 1, frameWidth, frameHeight, RGB(0, 0, 0), kFrameShadow);
    pDC->SelectObject(previous);
}

void CPolydromView::DrawPanelEdges(CDC* pDC, const CPen& black, float hw, float hh, int hAxis, int vAxis,
                                   double panelTop)
{
    // The window-sized part of the plane the main area would show, shrunk by 0.28 across
    // and 0.3 down into the panel; the clip cuts off the rest, so no box test here.
    const CPolydromDoc* doc = GetDocument();
    auto px = [&](const double* s) { return TruncPixel((s[hAxis] + hw) * 0.28 + hw * 1.4); };
    auto py = [&](const double* s) { return TruncPixel((s[vAxis] + hh) * 0.3 + hh * panelTop); };
    for (int e = 0; e < doc->GetEdgeCount(); ++e) {
        const CPen* previous = pDC->SelectObject(&black);
        double a[3], b[3];
        Scale(doc->GetEdgeFromX(e), doc->GetEdgeFromY(e), doc->GetEdgeFromZ(e), a);
        Scale(doc->GetEdgeToX(e), doc->GetEdgeToY(e), doc->GetEdgeToZ(e), b);
        pDC->MoveTo(px(a), py(a));
        pDC->LineTo(px(b), py(b));
        pDC->SelectObject(previous);
    }
}
