// The pixels of every vertex at once, for the raster paint of a big model. Each is
// exactly the per-vertex arithmetic of the paint (pixel_math.h): a coordinate scaled as
// (c + pan) x zoom and stored as a float, then shifted and truncated; the work is
// written without branches so the compiler takes several vertices a step.
#pragma once

#include <cstddef>

#include "framework/dc.h"

// How one axis of the model becomes one pixel coordinate:
// TruncPixel((StoredFloat((double(c) + pan) * zoom) + offset) * scale + shift).
struct PixelAxis {
    const float* coords;
    double pan, zoom, offset, scale, shift;
};

// The main area's pixels: (h, v) for a vertex whose scaled coordinates lie inside the
// box (half widths halfH, halfV, halfD along h, v and depth d) and whose pixel lies inside
// clip; {outside, beyond} for any other, where beyond says which of the box's faces its
// scaled point lies beyond: bits 0 and 1 below -halfH and above halfH, 2 and 3 the same
// along v, 4 and 5 along d (none for a point inside the box, or not a number).
void MainPixels(const PixelAxis& h, const PixelAxis& v, const PixelAxis& d, double halfH, double halfV,
                double halfD, const CRect& clip, int outside, std::size_t count, CPoint* out);

// A panel's pixels: (h, v), or {outside, beyond} for a pixel outside clip, where beyond
// says which of its sides the pixel lies beyond: bits 0 and 1 left and right, 2 and 3
// above and below.
void PanelPixels(const PixelAxis& h, const PixelAxis& v, const CRect& clip, int outside, std::size_t count,
                 CPoint* out);
