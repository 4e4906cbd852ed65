// The raster canvas's pixel rules: lines against an independent reference, clipping,
// fills, frames and text.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/digit_font.h"
#include "framework/raster_dc.h"

namespace {

// The canvas as text: '.' white, '#' black, 'g' grey, '?' anything else.
std::string Picture(const CRasterDC& dc)
{
    std::string text;
    for (int y = 0; y < dc.Height(); ++y, text += '|')
        for (int x = 0; x < dc.Width(); ++x) {
            const std::uint32_t p = dc.Pixel(x, y);
            text += p == 0xffffffff ? '.' : p == 0xff000000 ? '#' : p == 0xff505050 ? 'g' : '?';
        }
    return text;
}

using Pixel = std::pair<long long, long long>;
__extension__ typedef __int128 Wide;

// Step i of a line worked out from the rule itself: along the longer axis one pixel per
// step; across it the nearer of the two pixels around the true position, the smaller
// on a tie.
Pixel ReferenceStep(long long x0, long long y0, long long x1, long long y1, long long i)
{
    const long long dx = x1 - x0, dy = y1 - y0;
    const bool horizontal = std::llabs(dx) >= std::llabs(dy);
    const long long d = std::max(std::llabs(dx), std::llabs(dy)), minorDelta = horizontal ? dy : dx;
    const long long major = (horizontal ? dx : dy) > 0 ? i : -i;
    const Wide num = Wide(minorDelta) * i;  // true offset num / d, between below and below + 1
    long long below = static_cast<long long>(num / d);
    if (num % d != 0 && num < 0) --below;
    const long long minor = 2 * (num - Wide(below) * d) > d ? below + 1 : below;
    return horizontal ? Pixel{x0 + major, y0 + minor} : Pixel{x0 + minor, y0 + major};
}

std::set<Pixel> Black(const CRasterDC& dc)
{
    std::set<Pixel> pixels;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            if (dc.Pixel(x, y) == 0xff000000) pixels.insert({x, y});
    return pixels;
}

CRasterDC LineOn(int w, int h, int x0, int y0, int x1, int y1, const CRect* clip = nullptr)
{
    CRasterDC dc(w, h);
    dc.SelectClipRect(clip);
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
    return dc;
}

TEST(RasterLine, TiesGoToTheSmallerCoordinateAndTheEndPixelIsLeftOut)
{
    // At the half-way steps the true position lies between two pixels: upper, then left.
    EXPECT_EQ(Picture(LineOn(5, 3, 0, 0, 4, 2)), "##...|..##.|.....|");
    EXPECT_EQ(Picture(LineOn(5, 3, 0, 2, 4, 0)), "...#.|.##..|#....|");
    EXPECT_EQ(Picture(LineOn(3, 5, 0, 0, 2, 4)), "#..|#..|.#.|.#.|...|");
    EXPECT_EQ(Picture(LineOn(5, 1, 4, 0, 1, 0)), "..###|");
    EXPECT_EQ(Picture(LineOn(5, 1, 2, 0, 2, 0)), ".....|");
}

TEST(RasterLine, ClippedLinesKeepExactlyTheirPixelsInsideTheClip)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> coord(-120, 220), edge(-10, 110);
    for (int n = 0; n < 3000; ++n) {
        const int x0 = coord(random), y0 = coord(random), x1 = coord(random), y1 = coord(random);
        const CRect clip{edge(random), edge(random), edge(random), edge(random)};
        const bool clipped = n % 2 == 1;
        const CRect visible = clipped ? CRect{std::max(0, clip.left), std::max(0, clip.top), std::min(100, clip.right),
                                              std::min(80, clip.bottom)}
                                      : CRect{0, 0, 100, 80};
        std::set<Pixel> expected;
        for (long long i = 0; i < std::max(std::abs(x1 - x0), std::abs(y1 - y0)); ++i) {
            const Pixel p = ReferenceStep(x0, y0, x1, y1, i);
            if (p.first >= visible.left && p.first < visible.right && p.second >= visible.top &&
                p.second < visible.bottom)
                expected.insert(p);
        }
        ASSERT_EQ(Black(LineOn(100, 80, x0, y0, x1, y1, clipped ? &clip : nullptr)), expected)
            << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ")";
    }
}

TEST(RasterLine, FarOffEndsCostOnlyTheirVisiblePixels)
{
    // Billions of steps off the canvas: walking them would take seconds.
    const int lines[][4] = {
        {INT_MIN, -5, INT_MAX, 70},        {INT_MAX, INT_MAX, INT_MIN, INT_MIN + 3},
        {-1000000000, 40, 1000000000, 41}, {30, INT_MIN, 31, INT_MAX},
        {INT_MIN, INT_MAX, INT_MAX, INT_MIN}, {-7, INT_MIN, 1000, INT_MAX},
    };
    const CRect clip{10, 5, 90, 75};
    for (const auto& l : lines) {
        const long long dx = (long long)l[2] - l[0], dy = (long long)l[3] - l[1];
        const bool horizontal = std::llabs(dx) >= std::llabs(dy);
        const long long steps = std::max(std::llabs(dx), std::llabs(dy)), start = horizontal ? l[0] : l[1];
        std::set<Pixel> expected;  // the steps whose major coordinate falls inside the clip
        for (long long m = horizontal ? clip.left : clip.top; m < (horizontal ? clip.right : clip.bottom); ++m) {
            const long long i = (horizontal ? dx : dy) > 0 ? m - start : start - m;
            if (i < 0 || i >= steps) continue;
            const Pixel p = ReferenceStep(l[0], l[1], l[2], l[3], i);
            if (p.first >= clip.left && p.first < clip.right && p.second >= clip.top && p.second < clip.bottom)
                expected.insert(p);
        }
        EXPECT_EQ(Black(LineOn(100, 80, l[0], l[1], l[2], l[3], &clip)), expected) << l[0] << "," << l[1];
    }
}

TEST(RasterCanvas, FillsAndFrames)
{
    CRasterDC dc(7, 6);
    const CBrush black{RGB(0, 0, 0)};
    dc.FillRect(CRect{1, 1, 4, 3}, &black);  // right and bottom left out
    EXPECT_EQ(Picture(dc), ".......|.###...|.###...|.......|.......|.......|");

    // Top row and left column short of the far corners in the first colour, right
    // column and bottom row in the second.
    dc.Clear(RGB(255, 255, 255));
    dc.Draw3dRect(1, 1, 5, 4, RGB(0, 0, 0), RGB(80, 80, 80));
    EXPECT_EQ(Picture(dc), ".......|.####g.|.#...g.|.#...g.|.ggggg.|.......|");

    dc.Clear(RGB(255, 255, 255));
    const CRect clip{2, 0, 10, 2};
    dc.SelectClipRect(&clip);
    dc.FillRect(CRect{-100, -100, 100, 100}, &black);
    dc.Draw3dRect(2, 2, 0, 3, RGB(0, 0, 0), RGB(80, 80, 80));  // empty
    dc.Draw3dRect(INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX, RGB(0, 0, 0), RGB(80, 80, 80));
    EXPECT_EQ(Picture(dc), "..#####|..#####|.......|.......|.......|.......|");
}

TEST(RasterCanvas, ClipOutlivesItsRectangleAndTextHonoursIt)
{
    CRasterDC dc(6, 6);
    {
        const CRect region{0, 0, 4, 6};
        dc.SelectClipRect(&region);
    }  // the region is gone; its clip is not
    dc.LineTo(6, 0);
    // The digit font draws through SetPixel: only the part of "1" inside the clip shows.
    dc.SetTextRenderer(DrawDigitText);
    dc.TextOut(0, 1, "1");
    EXPECT_EQ(Picture(dc), "####..|......|......|......|...#..|..##..|");

    dc.Clear(RGB(255, 255, 255));  // a fresh paint: no clip, position (0, 0)
    dc.LineTo(6, 0);
    EXPECT_EQ(Picture(dc).substr(0, 7), "######|");
}

}  // namespace
