// The device context: the drawing operations the view uses, with Windows conventions
// (a line leaves out its end pixel, rectangles exclude their right and bottom edges).
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/geometry.h"

// 0x00BBGGRR, as Windows stores colours.
using COLORREF = std::uint32_t;
constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(r & 0xff) | COLORREF(g & 0xff) << 8 | COLORREF(b & 0xff) << 16;
}

// Drawing objects live only during one paint; a DC holds pointers to the current ones.
struct CPen {
    COLORREF color = 0;
    int width = 1;
};
struct CBrush {
    COLORREF color = 0;
};

// Keeps what every context keeps (the selected pen and brush, the current position
// and the clip); the drawing itself is the implementation's.
class CDC {
public:
    virtual ~CDC() = default;
    // Makes the pen (or brush) current and returns the one it replaced (may be null).
    // A context starts with none selected, which draws like the stock black pen.
    // The context keeps only the pointer: restore the previous object before yours dies.
    virtual const CPen* SelectObject(const CPen* pen);
    virtual const CBrush* SelectObject(const CBrush* brush);
    virtual void MoveTo(int x, int y);
    // Draws with the current pen from the current position towards (x, y), leaving
    // out the end pixel, and moves the current position there.
    virtual void LineTo(int x, int y) = 0;
    // Text with its top-left corner at (x, y), in the default font and colours.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // Paints columns left..right-1, rows top..bottom-1 with the brush (FillRgn of a rectangle).
    virtual void FillRect(const CRect& rect, const CBrush* brush) = 0;
    // A one-pixel outline: top row and left column in topLeft, bottom row and right column in bottomRight.
    virtual void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) = 0;
    // From now on only pixels inside the rectangle are drawn; null removes the clip.
    // The rectangle is copied, so the clip stays in force after the caller's region is gone.
    virtual void SelectClipRect(const CRect* rect);

    const CPen* CurrentPen() const { return m_pen; }
    const CBrush* CurrentBrush() const { return m_brush; }
    CPoint CurrentPosition() const { return m_position; }
    // The clip in force, or null.
    const CRect* CurrentClip() const { return m_clipped ? &m_clip : nullptr; }
    // The colour lines are drawn in: the current pen's, black without one.
    COLORREF PenColor() const { return m_pen ? m_pen->color : RGB(0, 0, 0); }

protected:
    // Back to a fresh context: nothing selected, position (0, 0), no clip.
    void ResetState();
    void SetPosition(int x, int y) { m_position = {x, y}; }

private:
    const CPen* m_pen = nullptr;
    const CBrush* m_brush = nullptr;
    CPoint m_position;
    bool m_clipped = false;
    CRect m_clip;
};
