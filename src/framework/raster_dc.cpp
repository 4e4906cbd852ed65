// The raster canvas: exact lines with clipping, fills, frames and text on 32-bit pixels.
#include "framework/raster_dc.h"

#include <algorithm>
#include <cstdlib>

#include "framework/wide_vectors.h"

namespace {

// Line set-up multiplies a 33-bit step count by 33-bit coordinates.
__extension__ typedef __int128 Wide;

Wide FloorDiv(Wide a, Wide b)  // b > 0
{
    Wide q = a / b;
    if (a % b != 0 && a < 0) --q;
    return q;
}

Wide CeilDiv(Wide a, Wide b) { return -FloorDiv(-a, b); }

// Below this, step counts and deltas keep every product of the set-up within 64 bits.
constexpr std::int64_t kSmall = std::int64_t(1) << 30;

// Inclusive clip bounds along the two axes of a line, in the line's own axis order.
struct Bounds {
    std::int64_t majorLo, majorHi, minorLo, minorHi;
};

// One line, described along its major axis (the longer one, |majorDelta| >= |minorDelta| > or = 0,
// majorDelta != 0). Step i (0 <= i < |majorDelta|) lands at major0 + sign * i and at
// minor0 + off(i), off(i) = ceil((2 * minorDelta * i - d) / (2 * d)), d = |majorDelta|: the
// nearest minor pixel to minorDelta * i / d, a tie going to the smaller coordinate.
// The pixel (major, minor) is pixels[major * majorStride + minor * minorStride].
void DrawSteps(std::uint32_t* pixels, std::int64_t majorStride, std::int64_t minorStride, std::int64_t major0,
               std::int64_t minor0, std::int64_t majorDelta, std::int64_t minorDelta, const Bounds& clip,
               std::uint32_t argb)
{
    const std::int64_t d = majorDelta > 0 ? majorDelta : -majorDelta;
    const std::int64_t sign = majorDelta > 0 ? 1 : -1;

    // The steps whose major coordinate lies inside the clip.
    std::int64_t first = 0, last = d - 1;
    if (sign > 0) {
        first = std::max(first, clip.majorLo - major0);
        last = std::min(last, clip.majorHi - major0);
    } else {
        first = std::max(first, major0 - clip.majorHi);
        last = std::min(last, major0 - clip.majorLo);
    }
    if (first > last) return;

    // off(i) is monotonic, so the steps whose minor coordinate lies inside the clip form
    // a range too; solve off(i) >= lo and off(i) <= hi for i. Only needed when the line's
    // minor extent leaves the clip.
    const Wide D = d, m = minorDelta;
    if (std::min(minor0, minor0 + minorDelta) < clip.minorLo || std::max(minor0, minor0 + minorDelta) > clip.minorHi) {
        const Wide lo = clip.minorLo - minor0, hi = clip.minorHi - minor0;
        Wide from = first, to = last;
        if (m > 0) {
            from = std::max(from, FloorDiv(D * (2 * lo - 1), 2 * m) + 1);
            to = std::min(to, FloorDiv(D * (2 * hi + 1), 2 * m));
        } else if (m < 0) {
            from = std::max(from, CeilDiv(-D * (2 * hi + 1), -2 * m));
            to = std::min(to, CeilDiv(D * (1 - 2 * lo), -2 * m) - 1);
        } else if (lo > 0 || hi < 0) {
            return;
        }
        if (from > to) return;
        // Both now lie within the old first..last.
        first = static_cast<std::int64_t>(from);
        last = static_cast<std::int64_t>(to);
    }

    // off = ceil(num / den) with the remainder rem = off * den - num in [0, den); each
    // step adds 2 * minorDelta to num.
    const std::int64_t den = 2 * d;
    std::int64_t off, rem;
    if (first == 0) {
        // The line starts inside the clip (the common case): off(0) = 0, no division.
        off = 0;
        rem = d;
    } else if (d < kSmall && minorDelta > -kSmall && minorDelta < kSmall) {
        // Lines on the canvas: 64 bits suffice, and 128-bit division is slow.
        const std::int64_t num = 2 * minorDelta * first - d;
        off = num >= 0 ? (num + den - 1) / den : -(-num / den);
        rem = off * den - num;
    } else {
        const Wide num = 2 * m * first - D;
        off = static_cast<std::int64_t>(CeilDiv(num, den));
        rem = static_cast<std::int64_t>(Wide(off) * den - num);
    }
    const std::int64_t index = (major0 + sign * first) * majorStride + (minor0 + off) * minorStride;
    CRasterDC::Step(pixels, index, sign * majorStride, minorStride, minorDelta >= 0, last - first + 1, rem, den,
                    2 * (minorDelta > 0 ? minorDelta : -minorDelta), argb);
}

}  // namespace

CRasterDC::CRasterDC(int width, int height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(std::size_t(m_width) * std::size_t(m_height) + 1, ToArgb(RGB(255, 255, 255)))
{
}

void CRasterDC::Clear(COLORREF color)
{
    std::fill(m_pixels.begin(), m_pixels.end(), ToArgb(color));
    ResetState();
}

CRect CRasterDC::ClipRect() const
{
    CRect r{0, 0, m_width, m_height};
    if (const CRect* clip = CurrentClip()) {
        r.left = std::max(r.left, clip->left);
        r.top = std::max(r.top, clip->top);
        r.right = std::min(r.right, clip->right);
        r.bottom = std::min(r.bottom, clip->bottom);
    }
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

void CRasterDC::SetPixel(int x, int y, COLORREF color)
{
    const CRect clip = ClipRect();
    if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
    m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = ToArgb(color);
}

void CRasterDC::LineTo(int x, int y)
{
    const std::int64_t x0 = CurrentPosition().x, y0 = CurrentPosition().y;
    const std::int64_t dx = std::int64_t(x) - x0, dy = std::int64_t(y) - y0;
    SetPosition(x, y);
    // No pen selected draws like the stock black pen of a fresh context.
    DrawLongLine(x0, y0, dx, dy, ToArgb(PenColor()), ClipRect());
}

void CRasterDC::DrawLongLine(std::int64_t x0, std::int64_t y0, std::int64_t dx, std::int64_t dy, std::uint32_t argb,
                             const CRect& clip)
{
    if ((dx == 0 && dy == 0) || clip.right <= clip.left || clip.bottom <= clip.top) return;
    if (std::llabs(dx) >= std::llabs(dy))
        DrawSteps(m_pixels.data(), 1, m_width, x0, y0, dx, dy,
                  {clip.left, clip.right - 1, clip.top, clip.bottom - 1}, argb);
    else
        DrawSteps(m_pixels.data(), m_width, 1, y0, x0, dy, dx,
                  {clip.top, clip.bottom - 1, clip.left, clip.right - 1}, argb);
}

namespace {

// Draws the lines within a pixel among count lines, without a branch: a line to the next
// pixel draws its first, one inside its pixel draws nothing (its write goes to the pixel
// `nowhere`, out of sight). done[k] says whether line k was one of them, or one beyond a
// side (CRasterDC::Beyond). Written so that the compiler takes sixteen lines a step where
// the processor gathers and scatters.
WIDE_VECTORS void DrawTinyLinesOf(const CPoint* __restrict pixel, const std::int32_t* __restrict from,
                                  const std::int32_t* __restrict to, std::size_t count, std::uint32_t argb,
                                  std::uint32_t* __restrict canvas, std::size_t width, std::size_t nowhere, int first,
                                  int second, int third, std::uint8_t* __restrict done)
{
    for (std::size_t k = 0; k < count; ++k) {
        const CPoint a = pixel[from[k]], b = pixel[to[k]];
        const std::uint32_t dx = std::uint32_t(b.x) - std::uint32_t(a.x) + 1u;
        const std::uint32_t dy = std::uint32_t(b.y) - std::uint32_t(a.y) + 1u;
        // A pixel inside the clip has x >= 0; a marked one does not.
        const bool within = ((a.x | b.x) >= 0) & (dx <= 2u) & (dy <= 2u);
        const bool dot = within & ((dx != 1u) | (dy != 1u));
        const std::size_t keep = std::size_t(0) - std::size_t(dot);
        canvas[((std::size_t(a.y) * width + std::size_t(a.x)) & keep) | (nowhere & ~keep)] = argb;
        done[k] = within | CRasterDC::BeyondOneSide(a, b, first, second, third);
    }
}

}  // namespace

std::size_t CRasterDC::DrawTinyLines(const CPoint* pixel, const std::int32_t* from, const std::int32_t* to,
                                     std::size_t count, std::uint32_t argb, Beyond beyond, std::uint32_t* others)
{
    constexpr std::size_t kMost = 1024;  // the callers' block
    std::uint8_t done[kMost];
    std::size_t n = 0;
    for (std::size_t start = 0; start < count; start += kMost) {
        const std::size_t lines = std::min(kMost, count - start);
        DrawTinyLinesOf(pixel, from + start, to + start, lines, argb, m_pixels.data(), std::size_t(m_width),
                        std::size_t(m_width) * std::size_t(m_height), beyond.groups[0], beyond.groups[1],
                        beyond.groups[2], done);
        for (std::size_t k = 0; k < lines; ++k) {
            others[n] = std::uint32_t(start + k);
            n += !done[k];
        }
    }
    return n;
}

const CRasterDC::ShortLine* CRasterDC::ShortLines()
{
    constexpr int kSide = 2 * kShortReach + 1;
    if (!m_shortLines.empty()) return m_shortLines.data();
    m_shortLines.assign(std::size_t(kSide * kSide), ShortLine{});
    const std::int64_t width = m_width;
    for (int dy = -kShortReach; dy <= kShortReach; ++dy) {
        for (int dx = -kShortReach; dx <= kShortReach; ++dx) {
            ShortLine& line = m_shortLines[std::size_t((dy + kShortReach) * kSide + dx + kShortReach)];
            // The steps DrawLine takes for a line with both ends inside the clip.
            const bool alongX = std::abs(dx) >= std::abs(dy);
            const int major = alongX ? dx : dy, minor = alongX ? dy : dx;
            const std::int64_t d = std::abs(major);
            if (d < 2) continue;
            int n = 0;
            StepEach(0, (major < 0 ? -1 : 1) * (alongX ? 1 : width), alongX ? width : 1, minor >= 0, d, d, 2 * d,
                     2 * std::abs(minor), [&](std::int64_t at) { line.steps[n++] = std::ptrdiff_t(at); });
            for (; n < kShortReach; ++n) line.steps[n] = 0;
        }
    }
    return m_shortLines.data();
}

void CRasterDC::TextOut(int x, int y, std::string_view text)
{
    if (m_textRenderer) m_textRenderer(*this, x, y, text);
}

void CRasterDC::Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, std::uint32_t argb)
{
    const CRect clip = ClipRect();
    left = std::max<std::int64_t>(left, clip.left);
    top = std::max<std::int64_t>(top, clip.top);
    right = std::min<std::int64_t>(right, clip.right);
    bottom = std::min<std::int64_t>(bottom, clip.bottom);
    if (left >= right || top >= bottom) return;
    for (std::int64_t row = top; row < bottom; ++row) {
        std::uint32_t* line = m_pixels.data() + row * m_width;
        std::fill(line + left, line + right, argb);
    }
}

void CRasterDC::FillRect(const CRect& rect, const CBrush* brush)
{
    if (brush) Fill(rect.left, rect.top, rect.right, rect.bottom, ToArgb(brush->color));
}

void CRasterDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    if (cx < 1 || cy < 1) return;
    const std::int64_t l = x, t = y, r = l + cx, b = t + cy;
    const std::uint32_t first = ToArgb(topLeft), second = ToArgb(bottomRight);
    Fill(l, t, r - 1, t + 1, first);      // row y, columns x .. x+cx-2
    Fill(l, t, l + 1, b - 1, first);      // column x, rows y .. y+cy-2
    Fill(r - 1, t, r, b, second);         // column x+cx-1, rows y .. y+cy-1
    Fill(l, b - 1, r, b, second);         // row y+cy-1, columns x .. x+cx-1
}

