// The device context: the drawing operations the view uses, with Windows conventions
// (a line leaves out its end pixel, rectangles exclude their right and bottom edges).
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/view.h"

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

class CDC {
public:
    virtual ~CDC() = default;
    // Makes the pen (or brush) current and returns the one it replaced (may be null).
    // A context starts with none selected, which draws like the stock black pen.
    // The context keeps only the pointer: restore the previous object before yours dies.
    virtual const CPen* SelectObject(const CPen* pen) = 0;
    virtual const CBrush* SelectObject(const CBrush* brush) = 0;
    virtual void MoveTo(int x, int y) = 0;
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
    virtual void SelectClipRect(const CRect* rect) = 0;
};
