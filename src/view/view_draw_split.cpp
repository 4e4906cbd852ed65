// A big model's raster paint on two threads. The panels are drawn over the main area
// after it, each filling its rectangle first, so what shows inside the rectangles is the
// panels' drawing alone: it can be made on a canvas of its own meanwhile and copied in.
#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

#include "framework/raster_dc.h"
#include "model/polydrom_doc.h"
#include "view/pixel_math.h"
#include "view/polydrom_view.h"

namespace {

// Below this many edges a paint takes a few milliseconds, less than it gains from a thread.
constexpr int kEdgesWorthAThread = 50000;

// Joins the thread however the scope is left, so no exception ends the program.
struct Joined {
    std::thread& thread;
    ~Joined()
    {
        if (thread.joinable()) thread.join();
    }
};

// The rectangle cut to the canvas.
CRect OnCanvas(const CRect& r, const CRasterDC& dc)
{
    return CRect{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, dc.Width()), std::min(r.bottom, dc.Height())};
}

void CopyRect(const CRasterDC& from, CRasterDC& to, const CRect& rect)
{
    const CRect r = OnCanvas(rect, to);
    if (r.Width() <= 0 || r.Height() <= 0) return;
    const auto width = std::size_t(to.Width());
    for (int y = r.top; y < r.bottom; ++y) {
        const std::size_t at = std::size_t(y) * width + std::size_t(r.left);
        std::memcpy(to.Pixels() + at, from.Pixels() + at, std::size_t(r.Width()) * sizeof(std::uint32_t));
    }
}

}  // namespace

bool CPolydromView::DrawRasterInTwo(CRasterDC& dc, const CPen& black, const CPen& red, float hw, float hh)
{
    const CPolydromDoc* doc = GetDocument();
    const CRect clip = dc.ClipRect();
    // A clip at the start would cut the panels' fill differently from their edges.
    if (m_modelOnly || doc->GetEdgeCount() < kEdgesWorthAThread || clip.left != 0 || clip.top != 0 ||
        clip.right != dc.Width() || clip.bottom != dc.Height())
        return false;
    if (!m_panelCanvas || m_panelCanvas->Width() != dc.Width() || m_panelCanvas->Height() != dc.Height())
        m_panelCanvas = std::make_unique<CRasterDC>(dc.Width(), dc.Height());
    CRasterDC& aside = *m_panelCanvas;
    CRect upper, lower;
    PanelRects(hw, hh, &upper, &lower);

    // The panels' thread reads the model and the view's state, as this one does, and
    // writes only its canvas and its pixel list.
    std::thread panels;
    try {
        panels = std::thread([&] {
            aside.Restart();
            DrawPanelFrames(&aside, hw, hh);
            DrawPanelsEdgesRaster(aside, hw, hh);
        });
    } catch (const std::system_error&) {
        return false;  // no thread to be had: the plain paint, nothing drawn yet
    }
    {
        const Joined joined{panels};
        DrawCursor(RoundToFloat(double(m_state.cursor[0]) + m_state.pan[0]),
                   RoundToFloat(double(m_state.cursor[1]) + m_state.pan[1]),
                   RoundToFloat(double(m_state.cursor[2]) + m_state.pan[2]), &dc);
        DrawEdges(&dc, black, hw, hh);
        DrawVertices(&dc, black, red, hw, hh);
    }

    // The frames lie partly outside the filled rectangles: drawn here as the plain paint
    // draws them; inside the rectangles the panels' canvas holds the finished pixels.
    DrawPanelFrames(&dc, hw, hh);
    CopyRect(aside, dc, upper);
    CopyRect(aside, dc, lower);
    // The context ends as the plain paint leaves it: the lower panel's clip, and the
    // position where its last edge ended.
    dc.SelectClipRect(&upper);
    dc.SelectClipRect(&lower);
    dc.MoveTo(aside.CurrentPosition().x, aside.CurrentPosition().y);
    return true;
}
