// A tiny built-in bitmap font of the ten digits, so a raster canvas can show numbers
// (the size read-out) where no system font is at hand, as in batch renders.
#pragma once

#include <string_view>

class CRasterDC;

// Each character takes a cell 7 pixels wide and 12 high with its top-left corner at
// (x, y); a digit is drawn 5 x 7 in black, one pixel in and three down; any other
// character leaves its cell empty. Honours the canvas's clip. Usable as a
// CRasterDC::TextRenderer.
void DrawDigitText(CRasterDC& dc, int x, int y, std::string_view text);
