// The raster canvas's pixel rules: lines, clipping, fills, frames and text hooks.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/digit_font.h"
#include "framework/raster_dc.h"

namespace {

constexpr COLORREF kGrey = RGB(80, 80, 80);

// The canvas as rows of characters: '.' white, '#' black, 'r' red, 'g' grey, '?' other.
std::vector<std::string> Picture(const CRasterDC& dc)
{
    std::vector<std::string> rows;
    for (int y = 0; y < dc.Height(); ++y) {
        std::string row;
        for (int x = 0; x < dc.Width(); ++x) {
            const std::uint32_t p = dc.Pixel(x, y);
            row += p == CRasterDC::ToArgb(RGB(255, 255, 255)) ? '.'
                   : p == CRasterDC::ToArgb(RGB(0, 0, 0))     ? '#'
                   : p == CRasterDC::ToArgb(RGB(255, 0, 0))   ? 'r'
                   : p == CRasterDC::ToArgb(kGrey)            ? 'g'
                                                              : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

using Pixel = std::pair<long long, long long>;
__extension__ typedef __int128 Wide;

// The pixels of a line worked out step by step from the rule, independently of the
// canvas: step i along the longer axis lands on the nearer of the two pixels around
// the true position, the smaller one on a tie; the end pixel is left out.
Pixel ReferenceStep(long long x0, long long y0, long long x1, long long y1, long long i)
{
    const long long dx = x1 - x0, dy = y1 - y0;
    const bool horizontal = std::llabs(dx) >= std::llabs(dy);
    const long long d = horizontal ? std::llabs(dx) : std::llabs(dy);
    const long long major = (horizontal ? dx : dy) > 0 ? i : -i;
    const long long minorDelta = horizontal ? dy : dx;
    // True minor offset t = minorDelta * i / d; candidates floor(t) and floor(t) + 1.
    Wide num = static_cast<Wide>(minorDelta) * i;
    long long below = static_cast<long long>(num / d);
    if (num % d != 0 && num < 0) --below;
    // Compare distances 2 * (t - below) with 1, scaled by d.
    const Wide twiceFromBelow = 2 * (num - static_cast<Wide>(below) * d);
    const long long minor = twiceFromBelow > d ? below + 1 : below;
    return horizontal ? Pixel{x0 + major, y0 + minor} : Pixel{x0 + minor, y0 + major};
}

std::set<Pixel> ReferenceLine(long long x0, long long y0, long long x1, long long y1)
{
    std::set<Pixel> pixels;
    const long long steps = std::max(std::llabs(x1 - x0), std::llabs(y1 - y0));
    for (long long i = 0; i < steps; ++i) pixels.insert(ReferenceStep(x0, y0, x1, y1, i));
    return pixels;
}

std::set<Pixel> Black(const CRasterDC& dc)
{
    std::set<Pixel> pixels;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            if (dc.Pixel(x, y) == CRasterDC::ToArgb(RGB(0, 0, 0))) pixels.insert({x, y});
    return pixels;
}

std::set<Pixel> Inside(const std::set<Pixel>& pixels, const CRect& r)
{
    std::set<Pixel> kept;
    for (const Pixel& p : pixels)
        if (p.first >= r.left && p.first < r.right && p.second >= r.top && p.second < r.bottom) kept.insert(p);
    return kept;
}

CRasterDC LineOn(int w, int h, int x0, int y0, int x1, int y1, const CRect* clip = nullptr)
{
    CRasterDC dc(w, h);
    dc.SelectClipRect(clip);
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
    return dc;
}

TEST(RasterLine, OnePixelPerStepTiesToTheSmallerCoordinate)
{
    // Mostly horizontal: at x = 1 the true y is 0.5, and the upper pixel wins.
    EXPECT_EQ(Picture(LineOn(6, 4, 0, 0, 4, 2)), (std::vector<std::string>{
                                                      "##....",
                                                      "..##..",
                                                      "......",
                                                      "......",
                                                  }));
    // Going up, a tie still picks the upper (smaller) row.
    EXPECT_EQ(Picture(LineOn(6, 4, 0, 2, 4, 0)), (std::vector<std::string>{
                                                      "...#..",
                                                      ".##...",
                                                      "#.....",
                                                      "......",
                                                  }));
    // Mostly vertical: at y = 1 the true x is 0.5, and the left pixel wins.
    EXPECT_EQ(Picture(LineOn(3, 5, 0, 0, 2, 4)), (std::vector<std::string>{
                                                      "#..",
                                                      "#..",
                                                      ".#.",
                                                      ".#.",
                                                      "...",
                                                  }));
}

TEST(RasterLine, StartPixelDrawnEndPixelNotZeroLengthNothing)
{
    EXPECT_EQ(Picture(LineOn(5, 1, 1, 0, 4, 0)), (std::vector<std::string>{".###."}));
    EXPECT_EQ(Picture(LineOn(5, 1, 4, 0, 1, 0)), (std::vector<std::string>{"..###"}));
    EXPECT_EQ(Picture(LineOn(5, 1, 2, 0, 2, 0)), (std::vector<std::string>{"....."}));
    // The diagonal cross of a vertex mark: 5 x 5 around its centre.
    CRasterDC dc(7, 7);
    dc.MoveTo(1, 1);
    dc.LineTo(6, 6);
    dc.MoveTo(5, 1);
    dc.LineTo(0, 6);
    EXPECT_EQ(Picture(dc), (std::vector<std::string>{
                               ".......",
                               ".#...#.",
                               "..#.#..",
                               "...#...",
                               "..#.#..",
                               ".#...#.",
                               ".......",
                           }));
}

TEST(RasterLine, ReversingALineMovesItsTies)
{
    // Drawn from the other end the ties fall the other way along the line, and the
    // other end pixel is left out: the two pixel sets differ.
    const auto forward = Black(LineOn(8, 4, 0, 0, 4, 2));
    const auto backward = Black(LineOn(8, 4, 4, 2, 0, 0));
    EXPECT_EQ(forward, ReferenceLine(0, 0, 4, 2));
    EXPECT_EQ(backward, ReferenceLine(4, 2, 0, 0));
    EXPECT_NE(forward, backward);
}

TEST(RasterLine, MatchesTheReferenceOnRandomLinesWithAndWithoutClip)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> coord(-120, 220);
    std::uniform_int_distribution<int> edge(-10, 110);
    for (int n = 0; n < 3000; ++n) {
        const int x0 = coord(random), y0 = coord(random), x1 = coord(random), y1 = coord(random);
        CRect clip{edge(random), edge(random), edge(random), edge(random)};
        const bool clipped = n % 2 == 1;
        const CRasterDC dc = LineOn(100, 80, x0, y0, x1, y1, clipped ? &clip : nullptr);
        CRect visible{0, 0, 100, 80};
        if (clipped) {
            visible.left = std::max(visible.left, clip.left);
            visible.top = std::max(visible.top, clip.top);
            visible.right = std::min(visible.right, clip.right);
            visible.bottom = std::min(visible.bottom, clip.bottom);
        }
        ASSERT_EQ(Black(dc), Inside(ReferenceLine(x0, y0, x1, y1), visible))
            << "line (" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") clip " << clip.left << ","
            << clip.top << "," << clip.right << "," << clip.bottom;
    }
}

TEST(RasterLine, FarOffEndsDrawOnlyTheirVisiblePixelsExactly)
{
    // Lines across the whole int range: the canvas must not walk billions of steps,
    // and must land on the same pixels the unclipped line has on the canvas.
    const int lines[][4] = {
        {INT_MIN, -5, INT_MAX, 70},          {INT_MAX, INT_MAX, INT_MIN, INT_MIN + 3},
        {-1000000000, 40, 1000000000, 41},   {30, INT_MIN, 31, INT_MAX},
        {INT_MIN, INT_MAX, INT_MAX, INT_MIN}, {INT_MAX, 10, INT_MAX - 1, 10},
        {-7, INT_MIN, 1000, INT_MAX},        {INT_MIN, INT_MIN, INT_MIN + 1, INT_MAX},
    };
    for (const auto& l : lines) {
        const CRect clip{10, 5, 90, 75};
        const CRasterDC dc = LineOn(100, 80, l[0], l[1], l[2], l[3], &clip);
        // Reference: the steps whose major coordinate lies on the canvas.
        std::set<Pixel> expected;
        const long long dx = (long long)l[2] - l[0], dy = (long long)l[3] - l[1];
        const bool horizontal = std::llabs(dx) >= std::llabs(dy);
        const long long steps = std::max(std::llabs(dx), std::llabs(dy));
        const long long start = horizontal ? l[0] : l[1];
        const long long sign = (horizontal ? dx : dy) > 0 ? 1 : -1;
        for (long long m = 0; m < (horizontal ? 100 : 80); ++m) {
            const long long i = (m - start) * sign;
            if (i >= 0 && i < steps) expected.insert(ReferenceStep(l[0], l[1], l[2], l[3], i));
        }
        EXPECT_EQ(Black(dc), Inside(expected, clip)) << l[0] << "," << l[1] << " to " << l[2] << "," << l[3];
    }
}

TEST(RasterCanvas, FillRectLeavesOutRightAndBottomAndHonoursTheClip)
{
    CRasterDC dc(6, 4);
    const CBrush brush{RGB(0, 0, 0)};
    dc.FillRect(CRect{1, 1, 4, 3}, &brush);
    EXPECT_EQ(Picture(dc), (std::vector<std::string>{"......", ".###..", ".###..", "......"}));

    dc.Clear(RGB(255, 255, 255));
    const CRect clip{2, 0, 10, 2};
    dc.SelectClipRect(&clip);
    dc.FillRect(CRect{-100, -100, 100, 100}, &brush);
    EXPECT_EQ(Picture(dc), (std::vector<std::string>{"..####", "..####", "......", "......"}));
}

TEST(RasterCanvas, Draw3dRectOutline)
{
    // Top row and left column (short of the far corners) in the first colour, right
    // column and bottom row in the second.
    CRasterDC dc(7, 6);
    dc.Draw3dRect(1, 1, 5, 4, RGB(0, 0, 0), kGrey);
    EXPECT_EQ(Picture(dc), (std::vector<std::string>{
                               ".......",
                               ".####g.",
                               ".#...g.",
                               ".#...g.",
                               ".ggggg.",
                               ".......",
                           }));
    // One pixel wide: the second colour covers the whole column.
    dc.Clear(RGB(255, 255, 255));
    dc.Draw3dRect(0, 0, 1, 3, RGB(0, 0, 0), kGrey);
    EXPECT_EQ(Picture(dc)[0].substr(0, 2), "g.");
    EXPECT_EQ(Picture(dc)[2].substr(0, 2), "g.");
    // Empty sizes and frames far off the canvas draw nothing.
    dc.Clear(RGB(255, 255, 255));
    dc.Draw3dRect(2, 2, 0, 3, RGB(0, 0, 0), kGrey);
    dc.Draw3dRect(INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX, RGB(0, 0, 0), kGrey);
    EXPECT_TRUE(Black(dc).empty());
}

TEST(RasterCanvas, ClipStaysUntilReplacedAndClearStartsAFreshPaint)
{
    CRasterDC dc(4, 1);
    {
        const CRect region{0, 0, 2, 1};
        dc.SelectClipRect(&region);
    }  // the region is gone; its clip is not
    const CPen red{RGB(255, 0, 0), 1};
    EXPECT_EQ(dc.SelectObject(&red), nullptr);
    dc.MoveTo(0, 0);
    dc.LineTo(4, 0);
    EXPECT_EQ(Picture(dc)[0], "rr..");

    dc.Clear(RGB(255, 255, 255));
    EXPECT_EQ(dc.SelectObject(static_cast<const CPen*>(nullptr)), nullptr);
    dc.LineTo(4, 0);  // from (0, 0), with the default black pen, no clip
    EXPECT_EQ(Picture(dc)[0], "####");
}

TEST(RasterCanvas, TextGoesThroughTheRendererWithinTheClip)
{
    CRasterDC dc(40, 14);
    dc.TextOut(0, 0, "12");  // no renderer: nothing
    EXPECT_TRUE(Black(dc).empty());

    std::vector<std::string> calls;
    dc.SetTextRenderer([&](CRasterDC& target, int x, int y, std::string_view text) {
        calls.push_back(std::to_string(x) + "," + std::to_string(y) + " " + std::string(text));
        DrawDigitText(target, x, y, text);
    });
    const CRect clip{0, 0, 7, 14};
    dc.SelectClipRect(&clip);
    dc.TextOut(0, 0, "11");
    EXPECT_EQ(calls, (std::vector<std::string>{"0,0 11"}));
    // Only the first digit's cell is inside the clip; the "1" glyph has 10 pixels.
    const auto black = Black(dc);
    EXPECT_EQ(black.size(), 10u);
    for (const Pixel& p : black) EXPECT_TRUE(p.first >= 1 && p.first < 6 && p.second >= 3 && p.second < 10);
}

}  // namespace
