// The size read-out, the cursor mark and the two inset panels along the other axes.
#include <charconv>

#include "framework/dc.h"
#include "model/polydrom_doc.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

namespace {

const COLORREF kPanelColor = RGB(220, 220, 255);
const COLORREF kFrameShadow = RGB(80, 80, 80);

// The decimal text of an unsigned value, written into the view's read-out buffer.
std::string_view Decimal(unsigned value, char (&buffer)[20])
{
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    *result.ptr = '\0';
    return std::string_view(buffer, result.ptr);
}

}  // namespace

void CPolydromView::DrawCursor(float x, float y, float z, CDC* pDC)
{
    const CRect client = GetClientRect();
    // Fixed device coordinates: seen only in a client area wider than 990 pixels.
    pDC->TextOut(990, 600, Decimal(static_cast<unsigned>(client.bottom), m_sizeText));
    pDC->TextOut(990, 620, Decimal(static_cast<unsigned>(client.right), m_sizeText));

    const float hw = static_cast<float>(client.right * 0.5);
    const float hh = static_cast<float>(client.bottom * 0.5);
    double a = 0, q = 0;
    if (m_axisX == 1) {
        a = StoredFloat(double(z) * m_zoom);
        q = StoredFloat(double(y) * m_zoom);
    } else if (m_axisY == 1) {
        a = StoredFloat(double(x) * m_zoom);
        q = StoredFloat(double(z) * m_zoom);
    } else {
        a = StoredFloat(double(x) * m_zoom);
        q = StoredFloat(double(y) * m_zoom);
    }
    const double sx = StoredFloat(hw + a), sy = StoredFloat(hh + q);

    const CPen pen{RGB(0, 0, 0), 1};
    const CPen* previous = pDC->SelectObject(&pen);
    auto line = [&](double x0, double y0, double x1, double y1) {
        pDC->MoveTo(TruncPixel(x0), TruncPixel(y0));
        pDC->LineTo(TruncPixel(x1), TruncPixel(y1));
    };
    if (m_movePresses == 0) {
        // A crosshair whose arms stop 3 pixels short of the cursor's pixel.
        line(sx - 3, sy, sx - 10, sy);
        line(sx + 3, sy, sx + 10, sy);
        line(sx, sy - 3, sx, sy - 10);
        line(sx, sy + 3, sx, sy + 10);
    }
    if (m_movePresses == 1) {
        // The move tool's glyph: a stem up to the cursor opening into a cup.
        line(sx, sy + 7, sx, sy);
        line(sx, sy, sx - 3, sy - 3);
        line(sx, sy, sx + 3, sy - 3);
        line(sx - 3, sy - 3, sx - 1, sy - 6);
        line(sx + 3, sy - 3, sx + 1, sy - 6);
    }
    pDC->SelectObject(previous);
}

void CPolydromView::DrawPanels(CDC* pDC, const CPen& black, float hw, float hh)
{
    const double W = 2.0 * hw, H = 2.0 * hh;
    const CRect upper{TruncPixel(0.7 * W), TruncPixel(0.02 * H), TruncPixel(0.98 * W), TruncPixel(0.32 * H)};
    const CRect lower{TruncPixel(0.7 * W), TruncPixel(0.33 * H), TruncPixel(0.98 * W), TruncPixel(0.63 * H)};

    const CBrush brush{kPanelColor};
    const CBrush* previous = pDC->SelectObject(&brush);
    pDC->FillRect(upper, &brush);
    pDC->FillRect(lower, &brush);
    // The frames' left and top sides lie one pixel outside the filled rectangles.
    const int frameWidth = TruncPixel(0.28 * W) + 2, frameHeight = TruncPixel(0.3 * H) + 2;
    pDC->Draw3dRect(upper.left - 1, upper.top - 1, frameWidth, frameHeight, RGB(0, 0, 0), kFrameShadow);
    pDC->Draw3dRect(lower.left - 1, lower.top - 1, frameWidth, frameHeight, RGB(0, 0, 0), kFrameShadow);
    pDC->SelectObject(previous);

    // Upper panel: along X it shows (X, Y), along Y (Y, Z), along Z (X, Z); the lower
    // one (Z, X), (X, Y) and (Z, Y). The last clip stays in force for the rest of the paint.
    const bool alongX = m_axisX == 1, alongY = !alongX && m_axisY == 1;
    pDC->SelectClipRect(&upper);
    if (alongX) DrawPanelEdges(pDC, black, hw, hh, 0, 1, 0.04);
    else if (alongY) DrawPanelEdges(pDC, black, hw, hh, 1, 2, 0.04);
    else DrawPanelEdges(pDC, black, hw, hh, 0, 2, 0.04);
    pDC->SelectClipRect(&lower);
    if (alongX) DrawPanelEdges(pDC, black, hw, hh, 2, 0, 0.66);
    else if (alongY) DrawPanelEdges(pDC, black, hw, hh, 0, 1, 0.66);
    else DrawPanelEdges(pDC, black, hw, hh, 2, 1, 0.66);
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
