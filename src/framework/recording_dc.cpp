#include "framework/recording_dc.h"

namespace {

std::string Pair(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

std::string RectText(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

}  // namespace

std::string CRecordingDC::ColorName(COLORREF color)
{
    switch (color) {
    case RGB(0, 0, 0): return "black";
    case RGB(255, 0, 0): return "red";
    case RGB(255, 255, 255): return "white";
    default:
        return "rgb(" + std::to_string(color & 0xff) + "," + std::to_string(color >> 8 & 0xff) + "," +
               std::to_string(color >> 16 & 0xff) + ")";
    }
}

void CRecordingDC::Reset()
{
    m_calls.clear();
    m_lines.clear();
    m_pen = nullptr;
    m_brush = nullptr;
    m_position = {};
    m_clipped = false;
}

const CPen* CRecordingDC::SelectObject(const CPen* pen)
{
    m_calls.push_back("SelectObject(pen " + (pen ? ColorName(pen->color) : std::string("none")) + ")");
    const CPen* previous = m_pen;
    m_pen = pen;
    return previous;
}

const CBrush* CRecordingDC::SelectObject(const CBrush* brush)
{
    m_calls.push_back("SelectObject(brush " + (brush ? ColorName(brush->color) : std::string("none")) + ")");
    const CBrush* previous = m_brush;
    m_brush = brush;
    return previous;
}

void CRecordingDC::MoveTo(int x, int y)
{
    m_calls.push_back("MoveTo(" + Pair(x, y) + ")");
    m_position = {x, y};
}

void CRecordingDC::LineTo(int x, int y)
{
    // No pen selected draws like the stock black pen, as on a fresh context.
    const std::string pen = ColorName(m_pen ? m_pen->color : RGB(0, 0, 0));
    m_calls.push_back("LineTo(" + Pair(x, y) + ") pen=" + pen);
    std::string line = "(" + Pair(m_position.x, m_position.y) + ")-(" + Pair(x, y) + ") " + pen;
    if (m_clipped) line += " clip=(" + RectText(m_clip) + ")";
    m_lines.push_back(std::move(line));
    m_position = {x, y};
}

void CRecordingDC::TextOut(int x, int y, std::string_view text)
{
    m_calls.push_back("TextOut(" + Pair(x, y) + ",\"" + std::string(text) + "\")");
}

void CRecordingDC::FillRect(const CRect& rect, const CBrush* brush)
{
    m_calls.push_back("FillRect(" + RectText(rect) + ") brush=" + (brush ? ColorName(brush->color) : "none"));
}

void CRecordingDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    m_calls.push_back("Draw3dRect(" + Pair(x, y) + "," + Pair(cx, cy) + "," + ColorName(topLeft) + "," +
                      ColorName(bottomRight) + ")");
}

void CRecordingDC::SelectClipRect(const CRect* rect)
{
    m_calls.push_back("SelectClipRect(" + (rect ? RectText(*rect) : std::string("none")) + ")");
    m_clipped = rect != nullptr;
    if (rect) m_clip = *rect;
}
