// A device context that draws into a 32-bit pixel buffer with exact pixels: what the
// window shows, what batch mode writes as PNG and what golden-image tests compare.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "framework/dc.h"

// Pixels are 0xAARRGGBB words (alpha always 0xff), rows top to bottom, Width() words per
// row with no padding: the common 32-bit ARGB layout, ready to wrap in a toolkit image.
//
// Lines take one pixel per step along the longer axis and the pixel nearest the true line
// on the other, a tie going to the smaller coordinate; the start pixel is drawn, the end
// pixel is not, and a zero-length line draws nothing. Clipping keeps exactly the pixels
// the unclipped line would have inside the clip rectangle, computed without walking the
// invisible part, so lines with far-off ends cost no more than their visible pixels.
// Every operation, text included, honours the clip rectangle.
class CRasterDC : public CDC {
public:
    // Draws text with its top-left corner at (x, y), typically through SetPixel (which
    // honours the clip) or by writing Pixels() inside ClipRect(). Default colours: black
    // text, no background.
    using TextRenderer = std::function<void(CRasterDC& dc, int x, int y, std::string_view text)>;

    // A canvas of width x height pixels (negative sizes count as 0), all white, in the
    // state of a fresh context.
    CRasterDC(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::uint32_t* Pixels() const { return m_pixels.data(); }
    std::uint32_t* Pixels() { return m_pixels.data(); }
    // The pixel at (x, y), which must lie on the canvas.
    std::uint32_t Pixel(int x, int y) const { return m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)]; }
    static constexpr std::uint32_t ToArgb(COLORREF color)
    {
        return 0xff000000u | (color & 0xff) << 16 | (color & 0xff00) | (color >> 16 & 0xff);
    }

    // Starts a paint: every pixel gets the colour, and the context returns to its fresh
    // state (no clip, no pen or brush selected, current position (0, 0)). The text
    // renderer stays.
    void Clear(COLORREF color);
    // Without a renderer TextOut draws nothing.
    void SetTextRenderer(TextRenderer renderer) { m_textRenderer = std::move(renderer); }

    // Where drawing may land: the clip rectangle cut to the canvas (the canvas without clip).
    CRect ClipRect() const;
    // Sets the pixel when it lies inside ClipRect().
    void SetPixel(int x, int y, COLORREF color);

    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;
    void FillRect(const CRect& rect, const CBrush* brush) override;
    // cx or cy below 1 draws nothing.
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) override;

private:
    // Fills columns left..right-1, rows top..bottom-1 inside the clip.
    void Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, std::uint32_t argb);

    int m_width;
    int m_height;
    std::vector<std::uint32_t> m_pixels;
    TextRenderer m_textRenderer;
};
