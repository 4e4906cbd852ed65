// The digit bitmaps and their drawing on a raster canvas.
#include "framework/digit_font.h"

#include <cstdint>

#include "framework/raster_dc.h"

namespace {

// Seven rows per digit, five bits per row, the leftmost pixel in bit 4.
constexpr std::uint8_t kGlyphs[10][7] = {
    {0x0e, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0e},  // 0
    {0x04, 0x0c, 0x04, 0x04, 0x04, 0x04, 0x0e},  // 1
    {0x0e, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1f},  // 2
    {0x1f, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0e},  // 3
    {0x02, 0x06, 0x0a, 0x12, 0x1f, 0x02, 0x02},  // 4
    {0x1f, 0x10, 0x1e, 0x01, 0x01, 0x11, 0x0e},  // 5
    {0x06, 0x08, 0x10, 0x1e, 0x11, 0x11, 0x0e},  // 6
    {0x1f, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},  // 7
    {0x0e, 0x11, 0x11, 0x0e, 0x11, 0x11, 0x0e},  // 8
    {0x0e, 0x11, 0x11, 0x0f, 0x01, 0x02, 0x0c},  // 9
};

constexpr int kAdvance = 7;

}  // namespace

void DrawDigitText(CRasterDC& dc, int x, int y, std::string_view text)
{
    long long left = x;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            const auto& glyph = kGlyphs[c - '0'];
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (glyph[row] >> (4 - col) & 1) {
                        const long long px = left + 1 + col, py = static_cast<long long>(y) + 3 + row;
                        // Cells beyond the int range are off every canvas.
                        if (px > 0x7fffffff || py > 0x7fffffff) continue;
                        dc.SetPixel(static_cast<int>(px), static_cast<int>(py), RGB(0, 0, 0));
                    }
        }
        left += kAdvance;
    }
}
