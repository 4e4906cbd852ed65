// A device context that draws into a 32-bit pixel buffer with exact pixels: what the
// window shows, what batch mode writes as PNG and what golden-image tests compare.
#pragma once

#include <climits>
#include <cstddef>
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
    // Starts a paint as Clear does, leaving the pixels as they are: for a canvas whose
    // paint covers every pixel anyone reads.
    void Restart() { ResetState(); }
    // Without a renderer TextOut draws nothing.
    void SetTextRenderer(TextRenderer renderer) { m_textRenderer = std::move(renderer); }

    // Where drawing may land: the clip rectangle cut to the canvas (the canvas without clip).
    CRect ClipRect() const;
    // Sets the pixel when it lies inside ClipRect().
    void SetPixel(int x, int y, COLORREF color);

    void LineTo(int x, int y) override;
    // The line LineTo draws from (x0, y0) to (x1, y1) in argb, inside clip (a rectangle
    // within ClipRect()), leaving the context's state alone: the bulk drawing of many
    // lines in one colour, without a call through the context per line. A line no
    // longer than one pixel along either axis is its start pixel alone.
    void DrawLine(int x0, int y0, int x1, int y1, std::uint32_t argb, const CRect& clip)
    {
        const std::int64_t dx = std::int64_t(x1) - x0, dy = std::int64_t(y1) - y0;
        if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) {
            if ((dx != 0 || dy != 0) && x0 >= clip.left && x0 < clip.right && y0 >= clip.top && y0 < clip.bottom)
                m_pixels[std::size_t(y0) * std::size_t(m_width) + std::size_t(x0)] = argb;
            return;
        }
        // A diagonal inside the clip (a vertex mark's arm): one pixel a step, both ways.
        if ((dx == dy || dx == -dy) && x0 >= clip.left && x0 < clip.right && y0 >= clip.top &&
            y0 < clip.bottom && x1 - (dx > 0 ? 1 : -1) >= clip.left && x1 - (dx > 0 ? 1 : -1) < clip.right &&
            y1 - (dy > 0 ? 1 : -1) >= clip.top && y1 - (dy > 0 ? 1 : -1) < clip.bottom) {
            const std::ptrdiff_t step = (dy > 0 ? m_width : -m_width) + (dx > 0 ? 1 : -1);
            std::uint32_t* p = m_pixels.data() + std::size_t(y0) * std::size_t(m_width) + std::size_t(x0);
            for (std::int64_t n = dx > 0 ? dx : -dx; n > 0; --n, p += step) *p = argb;
            return;
        }
        // Both ends inside the clip (most lines of a dense mesh): nothing to cut, so the
        // steps start at the first pixel and end before the last, as LineTo's do.
        if (x0 >= clip.left && x0 < clip.right && y0 >= clip.top && y0 < clip.bottom && x1 >= clip.left &&
            x1 < clip.right && y1 >= clip.top && y1 < clip.bottom) {
            const bool alongX = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
            const std::int64_t major = alongX ? dx : dy, minor = alongX ? dy : dx;
            const std::int64_t d = major < 0 ? -major : major;
            const std::int64_t width = m_width;
            Step(m_pixels.data(), std::int64_t(y0) * width + x0, (major < 0 ? -1 : 1) * (alongX ? 1 : width),
                 alongX ? width : 1, minor >= 0, d, d, 2 * d, 2 * (minor < 0 ? -minor : minor), argb);
            return;
        }
        DrawLongLine(x0, y0, dx, dy, argb, clip);
    }
    // The steps of a line along its major axis: count pixels from pixels[index], each
    // majorStep on, the minor coordinate moving by minorStride (up: forwards, else back)
    // whenever the remainder rem (in [0, den)) passes 0 or den; each step moves it by twoM.
    // A plain branch is the fastest stepping: the predictor learns a line's rhythm of
    // minor steps better than branch-free arithmetic can keep up with it.
    static void Step(std::uint32_t* pixels, std::int64_t index, std::int64_t majorStep, std::int64_t minorStride,
                     bool up, std::int64_t count, std::int64_t rem, std::int64_t den, std::int64_t twoM,
                     std::uint32_t argb)
    {
        StepEach(index, majorStep, minorStride, up, count, rem, den, twoM,
                 [pixels, argb](std::int64_t at) { pixels[at] = argb; });
    }
    template <typename Plot>
    static void StepEach(std::int64_t index, std::int64_t majorStep, std::int64_t minorStride, bool up,
                         std::int64_t count, std::int64_t rem, std::int64_t den, std::int64_t twoM, Plot plot)
    {
        if (up) {
            for (; count > 0; --count) {
                plot(index);
                index += majorStep;
                rem -= twoM;
                if (rem < 0) {
                    rem += den;
                    index += minorStride;
                }
            }
        } else {
            for (; count > 0; --count) {
                plot(index);
                index += majorStep;
                rem += twoM;
                if (rem >= den) {
                    rem -= den;
                    index -= minorStride;
                }
            }
        }
    }
    // Lines between known pixels, all in one colour: line k runs from pixel[from[k]] to
    // pixel[to[k]]. Every pixel lies inside ClipRect() unless it is at x = kMarked, a pixel
    // the caller knows no place for or one outside the clip.
    // The lines of at most one pixel, most of them in a dense mesh, are drawn without a
    // branch the processor would guess wrong half the time (sixteen at a time where it
    // gathers and scatters in vectors), and those of up to
    // kShortReach pixels each way as eight writes from a table of their steps; every
    // other line k, and every line with a marked end, goes to longer(k), in order, to be
    // drawn by the caller.
    static constexpr int kMarked = INT_MIN;
    static constexpr int kShortReach = 8;
    // A marked pixel's y may hold the caller's bits for the sides of its window it lies
    // beyond, in up to three groups taken in turn, as a cut to a box takes its slabs: a line
    // with both ends marked draws nothing when they share a bit of the first group; or, with
    // neither end in the first group, one of the second; or, with neither in the first two,
    // one of the third. Such lines may be dropped unseen by longer(), which must draw
    // nothing for them either.
    struct Beyond {
        int groups[3];
    };
    static bool BeyondOneSide(CPoint a, CPoint b, int first, int second, int third)
    {
        const int both = a.y & b.y, either = a.y | b.y;
        return ((a.x & b.x) < 0) & (((both & first) != 0) | (((either & first) == 0) & ((both & second) != 0)) |
                                    (((either & (first | second)) == 0) & ((both & third) != 0)));
    }
    template <typename Longer>
    void DrawShortLines(const CPoint* pixel, std::size_t count, const std::int32_t* from, const std::int32_t* to,
                        std::uint32_t argb, Beyond beyond, Longer longer)
    {
        const CPoint* const pixels[1] = {pixel};
        DrawShortLines(pixels, count, from, to, argb, beyond, [&](std::size_t, std::size_t k) { longer(k); });
    }
    // The same lines drawn in several places at once (the panels), each with its own
    // pixels. longer(p, k) draws line k for pixels[p].
    template <std::size_t N, typename Longer>
    void DrawShortLines(const CPoint* const (&pixels)[N], std::size_t count, const std::int32_t* from,
                        const std::int32_t* to, std::uint32_t argb, Beyond beyond, Longer longer)
    {
        if (m_width == 0 || m_height == 0) return;
        const ShortLine* const table = ShortLines();
        constexpr std::size_t kBlock = 1024;
        std::uint32_t others[N][kBlock];
        std::uint32_t* const canvas = m_pixels.data();
        const std::size_t width = std::size_t(m_width);
        const std::size_t nowhere = width * std::size_t(m_height);
        // Where most lines of a block are longer than a pixel (a big model in a big
        // window), the block after it is drawn in one pass: the first pass's sorting
        // costs about what it saves. Blocks of a mesh's lines tend to resemble the last.
        bool onePass = false;
        for (std::size_t start = 0; start < count; start += kBlock) {
            const std::size_t end = start + kBlock < count ? start + kBlock : count;
            if (onePass) {
                // The lines the sorting pass would have kept for a second one.
                std::size_t longerLines = 0;
                for (std::size_t p = 0; p < N; ++p) {
                    for (std::size_t k = start; k < end; ++k) {
                        const CPoint a = pixels[p][from[k]], b = pixels[p][to[k]];
                        const std::uint32_t dx = std::uint32_t(b.x) - std::uint32_t(a.x) + std::uint32_t(kShortReach);
                        const std::uint32_t dy = std::uint32_t(b.y) - std::uint32_t(a.y) + std::uint32_t(kShortReach);
                        if (((a.x | b.x) >= 0) & (dx <= 2u * kShortReach) & (dy <= 2u * kShortReach)) {
                            // A line inside one pixel draws nothing: its writes go nowhere;
                            // one to the next pixel draws its first, all eight steps being 0.
                            const bool none = (dx == std::uint32_t(kShortReach)) & (dy == std::uint32_t(kShortReach));
                            const std::size_t keep = std::size_t(none) - 1;
                            std::uint32_t* const first =
                                canvas + (((std::size_t(a.y) * width + std::size_t(a.x)) & keep) | (nowhere & ~keep));
                            const ShortLine& line = table[dy * (2 * kShortReach + 1) + dx];
                            for (const std::ptrdiff_t step : line.steps) first[step] = argb;
                            longerLines += (dx - std::uint32_t(kShortReach) + 1u > 2u) |
                                           (dy - std::uint32_t(kShortReach) + 1u > 2u);
                        } else {
                            longerLines += !BeyondOneSide(a, b, beyond.groups[0], beyond.groups[1], beyond.groups[2]);
                            longer(p, k);
                        }
                    }
                }
                onePass = 2 * longerLines > N * (end - start);
                continue;
            }
            std::size_t n[N];
            for (std::size_t p = 0; p < N; ++p)
                n[p] = DrawTinyLines(pixels[p], from + start, to + start, end - start, argb, beyond, others[p]);
            for (std::size_t p = 0; p < N; ++p) {
                for (std::size_t i = 0; i < n[p]; ++i) {
                    const std::size_t k = start + others[p][i];
                    const CPoint a = pixels[p][from[k]], b = pixels[p][to[k]];
                    const std::uint32_t dx = std::uint32_t(b.x) - std::uint32_t(a.x) + std::uint32_t(kShortReach);
                    const std::uint32_t dy = std::uint32_t(b.y) - std::uint32_t(a.y) + std::uint32_t(kShortReach);
                    if (((a.x | b.x) >= 0) & (dx <= 2u * kShortReach) & (dy <= 2u * kShortReach)) {
                        const ShortLine& line = table[dy * (2 * kShortReach + 1) + dx];
                        std::uint32_t* const first = canvas + (std::size_t(a.y) * width + std::size_t(a.x));
                        for (const std::ptrdiff_t step : line.steps) first[step] = argb;
                    } else {
                        longer(p, k);
                    }
                }
            }
            std::size_t longerLines = 0;
            for (std::size_t p = 0; p < N; ++p) longerLines += n[p];
            onePass = 2 * longerLines > N * (end - start);
        }
    }
    void TextOut(int x, int y, std::string_view text) override;
    void FillRect(const CRect& rect, const CBrush* brush) override;
    // cx or cy below 1 draws nothing.
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) override;

private:
    // The first pass over count lines: draws those within a pixel (of one pixel, or none),
    // drops those beyond a side, and lists the others' positions in `others`, in order;
    // returns how many it listed.
    std::size_t DrawTinyLines(const CPoint* pixel, const std::int32_t* from, const std::int32_t* to, std::size_t count,
                              std::uint32_t argb, Beyond beyond, std::uint32_t* others);
    void DrawLongLine(std::int64_t x0, std::int64_t y0, std::int64_t dx, std::int64_t dy, std::uint32_t argb,
                      const CRect& clip);
    // Fills columns left..right-1, rows top..bottom-1 inside the clip.
    void Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, std::uint32_t argb);

    // The pixels of a line from (0, 0) to (dx, dy), both at most kShortReach each way:
    // offsets from the first pixel on this canvas, the later ones repeating the first where
    // the line has fewer than eight (all of them for a line of one pixel, or of none).
    struct ShortLine {
        std::ptrdiff_t steps[kShortReach];
    };
    // The table for this canvas, (dy + kShortReach) rows of (dx + kShortReach).
    const ShortLine* ShortLines();

    int m_width;
    int m_height;
    // Width() x Height() pixels and one more, out of sight, that takes the writes of
    // lines that draw nothing.
    std::vector<std::uint32_t> m_pixels;
    std::vector<ShortLine> m_shortLines;  // made at the first use: a canvas keeps its width
    TextRenderer m_textRenderer;
};
