// The paint: size read-out and cursor mark, the clipped edges, the vertex marks, the panels.
#include <charconv>
#include <string_view>

#include "framework/dc.h"
#include "framework/raster_dc.h"
#include "model/polydrom_doc.h"
#include "view/edge_clip.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

namespace {

// The decimal text of an unsigned value, written into the view's read-out buffer.
std::string_view Decimal(unsigned value, char (&buffer)[20])
{
    const auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    *result.ptr = '\0';
    return std::string_view(buffer, result.ptr);
}

}  // namespace

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

    if (auto* raster = dynamic_cast<CRasterDC*>(pDC); raster && DrawRasterInTwo(*raster, black, red, hw, hh)) return;
    if (!m_modelOnly)
        DrawCursor(RoundToFloat(double(m_state.cursor[0]) + m_state.pan[0]),
                   RoundToFloat(double(m_state.cursor[1]) + m_state.pan[1]),
                   RoundToFloat(double(m_state.cursor[2]) + m_state.pan[2]), pDC);
    DrawEdges(pDC, black, hw, hh);
    DrawVertices(pDC, black, red, hw, hh);
    if (!m_modelOnly) DrawPanels(pDC, black, hw, hh);
}

void CPolydromView::DrawCursor(float x, float y, float z, CDC* pDC)
{
    const CRect client = GetClientRect();
    // Fixed device coordinates: seen only in a client area wider than 990 pixels.
    pDC->TextOut(990, 600, Decimal(static_cast<unsigned>(client.bottom), m_sizeText));
    pDC->TextOut(990, 620, Decimal(static_cast<unsigned>(client.right), m_sizeText));

    const float hw = static_cast<float>(client.right * 0.5);
    const float hh = static_cast<float>(client.bottom * 0.5);
    const float p[3] = {x, y, z};
    const Axes axes = MainAxes();
    const double a = StoredFloat(double(p[axes.h]) * m_state.zoom);
    const double q = StoredFloat(double(p[axes.v]) * m_state.zoom);
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

void CPolydromView::DrawEdges(CDC* pDC, const CPen& black, float hw, float hh)
{
    if (auto* raster = dynamic_cast<CRasterDC*>(pDC)) return DrawEdgesRaster(*raster, hw, hh);
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
    if (auto* raster = dynamic_cast<CRasterDC*>(pDC)) return DrawVerticesRaster(*raster, hw, hh);
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
