// The recording canvas: every drawing call written down as text for tests.
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
    ResetState();
}

const CPen* CRecordingDC::SelectObject(const CPen* pen)
{
    m_calls.push_back("SelectObject(pen " + (pen ? ColorName(pen->color) : std::string("none")) + ")");
    return CDC::SelectObject(pen);
}

const CBrush* CRecordingDC::SelectObject(const CBrush* brush)
{
    m_calls.push_back("SelectObject(brush " + (brush ? ColorName(brush->color) : std::string("none")) + ")");
    return CDC::SelectObject(brush);
}

void CRecordingDC::MoveTo(int x, int y)
{
    m_calls.push_back("MoveTo(" + Pair(x, y) + ")");
    CDC::MoveTo(x, y);
}

void CRecordingDC::LineTo(int x, int y)
{
    const std::string pen = ColorName(PenColor());
    m_calls.push_back("LineTo(" + Pair(x, y) + ") pen=" + pen);
    const CPoint from = CurrentPosition();
    std::string line = "(" + Pair(from.x, from.y) + ")-(" + Pair(x, y) + ") " + pen;
    if (const CRect* clip = CurrentClip()) line += " clip=(" + RectText(*clip) + ")";
    m_lines.push_back(std::move(line));
    SetPosition(x, y);
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
    CDC::SelectClipRect(rect);
}
