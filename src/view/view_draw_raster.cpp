// The paint's edges, vertex marks and panel edges on a raster canvas. The pixels are
// exactly those of the passes through the context (view_draw.cpp, view_panels.cpp);
// what changes is the work per line: each vertex is scaled and truncated once (in bulk,
// bulk_pixels.cpp), not once for every edge it ends, lines go straight into the pixels,
// an edge inside one pixel costs a comparison and one of a few pixels a table's steps.
#include <algorithm>
#include <climits>

#include "framework/raster_dc.h"
#include "model/polydrom_doc.h"
#include "view/bulk_pixels.h"
#include "view/edge_clip.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

namespace {

const std::uint32_t kBlack = CRasterDC::ToArgb(RGB(0, 0, 0));
const std::uint32_t kRed = CRasterDC::ToArgb(RGB(255, 0, 0));

// A vertex outside the view's box or the clip: its edges are cut by the box first.
constexpr int kOutside = CRasterDC::kMarked;

// Scale of vertex i, inline, since these passes run it once per vertex: (v + pan) x zoom
// in double, each stored as a float.
struct Scaler {
    const CPolydromDoc* doc;
    double panX, panY, panZ, zoom;
    void operator()(int i, double s[3]) const
    {
        s[0] = StoredFloat((double(doc->GetVertexX(i)) + panX) * zoom);
        s[1] = StoredFloat((double(doc->GetVertexY(i)) + panY) * zoom);
        s[2] = StoredFloat((double(doc->GetVertexZ(i)) + panZ) * zoom);
    }
};

// The faces of the view's box a vertex lies beyond, in the order the cut takes them.
constexpr int kBeyondH = 0x3, kBeyondV = 0xc, kBeyondDepth = 0x30;

// Whether the cut of an edge to the view's box finds nothing, known from its ends alone:
// ClipEdgeToBox takes the box's slabs in turn (h, v, then depth) and gives up at the
// first whose one side lies behind both ends; but its later slabs see ends the earlier
// ones may have moved, so a shared side there counts only where neither end was moved.
bool CutFindsNothing(CPoint a, CPoint b) { return CRasterDC::BeyondOneSide(a, b, kBeyondH, kBeyondV, kBeyondDepth); }

}  // namespace

PixelAxis CPolydromView::RasterAxis(int axis, double offset, double scale, double shift) const
{
    return PixelAxis{GetDocument()->GetVertexCoords(axis), m_state.pan[axis], m_state.zoom, offset, scale, shift};
}

void CPolydromView::DrawEdgesRaster(CRasterDC& dc, float hw, float hh)
{
    const CPolydromDoc* doc = GetDocument();
    const Axes axes = MainAxes();
    const double half[3] = {hw, hh, hh};
    const int vertices = doc->GetVertexCount();
    m_pixelOf.resize(std::size_t(vertices));
    const CRect clip = dc.ClipRect();
    // A vertex inside the box is an edge end no cut moves: its pixel is the edge's. One
    // outside the clip as well is left to the edges' own cut, as one outside the box is.
    MainPixels(RasterAxis(axes.h, hw, 1, 0), RasterAxis(axes.v, hh, 1, 0), RasterAxis(axes.d, 0, 1, 0), half[0],
               half[1], half[2], clip, kOutside, std::size_t(vertices), m_pixelOf.data());

    const CPoint* pixel = m_pixelOf.data();
    // The edge arrays themselves, indexed directly: through int indices every line paid
    // for a conversion and a reload (7 % of the repaint at a million edges).
    const std::int32_t* const froms = doc->LiveArrays().from;
    const std::int32_t* const tos = doc->LiveArrays().to;
    auto from = [froms](std::size_t e) { return std::size_t(froms[e]); };
    auto to = [tos](std::size_t e) { return std::size_t(tos[e]); };
    // An edge with both ends beyond one face of the box is cut to nothing, in the order
    // the cut takes the slabs (CutFindsNothing): most of them, zoomed in, dropped in bulk.
    const CRasterDC::Beyond slabs{{kBeyondH, kBeyondV, kBeyondDepth}};
    dc.DrawShortLines(pixel, std::size_t(doc->GetEdgeCount()), froms, tos, kBlack, slabs, [&](std::size_t k) {
        const int e = int(k);
        CPoint a = pixel[from(k)], b = pixel[to(k)];
        if (a.x == kOutside || b.x == kOutside) {
            // Zoomed in, most edges lie beyond one face of the box: known without the cut.
            if (CutFindsNothing(a, b)) return;
            double sa[3], sb[3];
            Scale(doc->GetEdgeFromX(e), doc->GetEdgeFromY(e), doc->GetEdgeFromZ(e), sa);
            Scale(doc->GetEdgeToX(e), doc->GetEdgeToY(e), doc->GetEdgeToZ(e), sb);
            BoxPoint pa{{sa[axes.h], sa[axes.v], sa[axes.d]}};
            BoxPoint pb{{sb[axes.h], sb[axes.v], sb[axes.d]}};
            if (!ClipEdgeToBox(pa, pb, half)) return;
            a = {TruncPixel(StoredFloat(pa.c[0]) + hw), TruncPixel(StoredFloat(pa.c[1]) + hh)};
            b = {TruncPixel(StoredFloat(pb.c[0]) + hw), TruncPixel(StoredFloat(pb.c[1]) + hh)};
        }
        dc.DrawLine(a.x, a.y, b.x, b.y, kBlack, clip);
    });
    // The context ends where the last line drawn left it, as after LineTo.
    for (int e = doc->GetEdgeCount() - 1; e >= 0; --e) {
        const CPoint a = pixel[from(std::size_t(e))], b = pixel[to(std::size_t(e))];
        if (a.x != kOutside && b.x != kOutside) {
            dc.MoveTo(b.x, b.y);
            break;
        }
        if (CutFindsNothing(a, b)) continue;
        double sa[3], sb[3];
        Scale(doc->GetEdgeFromX(e), doc->GetEdgeFromY(e), doc->GetEdgeFromZ(e), sa);
        Scale(doc->GetEdgeToX(e), doc->GetEdgeToY(e), doc->GetEdgeToZ(e), sb);
        BoxPoint pa{{sa[axes.h], sa[axes.v], sa[axes.d]}};
        BoxPoint pb{{sb[axes.h], sb[axes.v], sb[axes.d]}};
        if (ClipEdgeToBox(pa, pb, half)) {
            dc.MoveTo(TruncPixel(StoredFloat(pb.c[0]) + hw), TruncPixel(StoredFloat(pb.c[1]) + hh));
            break;
        }
    }
}

void CPolydromView::DrawVerticesRaster(CRasterDC& dc, float hw, float hh)
{
    const CPolydromDoc* doc = GetDocument();
    const Scaler ScaleAll{doc, m_state.pan[0], m_state.pan[1], m_state.pan[2], m_state.zoom};
    const Axes axes = MainAxes();
    const CRect clip = dc.ClipRect();
    // A vertex in a state other than 0 or 1 keeps the colour of the vertex before it.
    std::uint32_t argb = kBlack;
    const int vertices = doc->GetVertexCount();
    int lastX = 0, lastY = 0;
    // The edge pass just left each vertex's pixel (cx, cy truncated) for a vertex inside
    // the box. From 3 pixels on, cx - 2, cx + 3 and the rest are exact in double, so
    // their truncations are the pixel's column plus the offset, and a mark that clears
    // the clip is its nine pixels.
    const bool known = m_pixelOf.size() == std::size_t(vertices);
    std::uint32_t* const pixels = dc.Pixels();
    const std::size_t width = std::size_t(dc.Width());
    // The columns and rows such a mark may have, as unsigned ranges: one comparison each,
    // which the marked pixels (x far below any column) fail as well.
    const unsigned left = unsigned(std::max(3, clip.left + 2)), top = unsigned(std::max(3, clip.top + 2));
    const unsigned columns = clip.right - 2 > int(left) ? unsigned(clip.right - 2) - left : 0;
    const unsigned rows = clip.bottom - 2 > int(top) ? unsigned(clip.bottom - 2) - top : 0;
    const std::int32_t* const selection = doc->LiveArrays().sel;
    for (int i = 0; i < vertices; ++i) {
        const int sel = selection[i];
        if (sel == 0) argb = kBlack;
        if (sel == 1) argb = kRed;
        if (known) {
            const CPoint p = m_pixelOf[std::size_t(i)];
            if ((unsigned(p.x) - left < columns) & (unsigned(p.y) - top < rows)) {
                std::uint32_t* const centre = pixels + std::size_t(p.y) * width + std::size_t(p.x);
                for (std::ptrdiff_t k = -2; k <= 2; ++k) {
                    centre[k * std::ptrdiff_t(width) + k] = argb;
                    centre[k * std::ptrdiff_t(width) - k] = argb;
                }
                lastX = p.x - 3;
                lastY = p.y + 3;
                continue;
            }
        }
        double s[3];
        ScaleAll(i, s);
        const double cx = s[axes.h] + hw, cy = s[axes.v] + hh;
        const int top = TruncPixel(cy - 2), bottom = TruncPixel(cy + 3);
        lastX = TruncPixel(cx - 3);
        lastY = bottom;
        // Both arms lie within columns cx - 3 to cx + 3 and rows top to bottom: a mark
        // wholly beyond the clip (most of them, zoomed in) draws nothing.
        const int right = TruncPixel(cx + 3);
        if (right < clip.left || lastX >= clip.right || bottom < clip.top || top >= clip.bottom) continue;
        dc.DrawLine(TruncPixel(cx - 2), top, right, bottom, argb, clip);
        dc.DrawLine(TruncPixel(cx + 2), top, lastX, lastY, argb, clip);
    }
    if (vertices > 0) dc.MoveTo(lastX, lastY);
}

void CPolydromView::DrawPanelsEdgesRaster(CRasterDC& dc, float hw, float hh)
{
    const CPolydromDoc* doc = GetDocument();
    const Scaler ScaleAll{doc, m_state.pan[0], m_state.pan[1], m_state.pan[2], m_state.zoom};
    const std::size_t vertices = std::size_t(doc->GetVertexCount());
    CRect rects[2];
    PanelRects(hw, hh, &rects[0], &rects[1]);
    const double tops[2] = {0.04, 0.66};
    int hAxis[2], vAxis[2];
    CRect clips[2];
    // Each panel's clip as the plain paint selects it; the lower one's stays in force.
    for (int p = 0; p < 2; ++p) {
        PanelAxes(p, &hAxis[p], &vAxis[p]);
        dc.SelectClipRect(&rects[p]);
        clips[p] = dc.ClipRect();
        m_panelPixelOf[p].resize(vertices);
        PanelPixels(RasterAxis(hAxis[p], hw, 0.28, hw * 1.4), RasterAxis(vAxis[p], hh, 0.3, hh * tops[p]), clips[p],
                    kOutside, vertices, m_panelPixelOf[p].data());
    }
    const CPoint* const pixels[2] = {m_panelPixelOf[0].data(), m_panelPixelOf[1].data()};
    // A pixel outside its panel is found again, as above, for the few edges that need it.
    auto at = [&](std::size_t p, std::size_t i) {
        if (pixels[p][i].x != kOutside) return pixels[p][i];
        double s[3];
        ScaleAll(int(i), s);
        return CPoint{TruncPixel((s[hAxis[p]] + hw) * 0.28 + hw * 1.4),
                      TruncPixel((s[vAxis[p]] + hh) * 0.3 + hh * tops[p])};
    };
    const int edges = doc->GetEdgeCount();
    // Indexed straight in the arrays, as the main area's lines are.
    const std::int32_t* const froms = doc->LiveArrays().from;
    const std::int32_t* const tos = doc->LiveArrays().to;
    auto from = [froms](std::size_t e) { return std::size_t(froms[e]); };
    auto to = [tos](std::size_t e) { return std::size_t(tos[e]); };
    constexpr int kAnySide = 0xf;
    const CRasterDC::Beyond anySide{{kAnySide, 0, 0}};
    dc.DrawShortLines(pixels, std::size_t(edges), froms, tos, kBlack, anySide, [&](std::size_t p, std::size_t k) {
        // Both ends beyond one side of the panel: every pixel of the line is.
        if (CRasterDC::BeyondOneSide(pixels[p][from(k)], pixels[p][to(k)], kAnySide, 0, 0)) return;
        const CPoint a = at(p, from(k)), b = at(p, to(k));
        dc.DrawLine(a.x, a.y, b.x, b.y, kBlack, clips[p]);
    });
    if (edges > 0) {
        const CPoint b = at(1, std::size_t(doc->GetEdgeTo(edges - 1)));
        dc.MoveTo(b.x, b.y);
    }
}
