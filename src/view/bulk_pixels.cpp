// Branch-free forms of StoredFloat and TruncPixel: each holds its value inside the range
// where the conversion is defined and exact, so choosing the result afterwards gives the
// same number the branching form gives, NaN and overflow included.
#include "view/bulk_pixels.h"

#include <cfloat>
#include <cmath>

#include "framework/wide_vectors.h"

namespace {

inline double Stored(double v)
{
    const double held = v < -FLT_MAX ? -FLT_MAX : v > FLT_MAX ? FLT_MAX : v;
    const double rounded = static_cast<double>(static_cast<float>(held));
    return std::fabs(v) <= FLT_MAX ? rounded : v;
}

inline int Trunc(double v)
{
    const double number = v == v ? v : 0.0;
    return static_cast<int>(number < -2147483648.0 ? -2147483648.0 : number > 2147483647.0 ? 2147483647.0 : number);
}

// Inside [lo, hi) in one comparison, which the compiler keeps free of branches.
inline bool Within(int v, int lo, int hi)
{
    return static_cast<unsigned>(v) - static_cast<unsigned>(lo) < static_cast<unsigned>(hi) - static_cast<unsigned>(lo);
}

// One axis's numbers in registers: the output cannot alias them.
struct Axis {
    explicit Axis(const PixelAxis& a)
        : coords(a.coords), pan(a.pan), zoom(a.zoom), offset(a.offset), scale(a.scale), shift(a.shift)
    {
    }
    double Scaled(std::size_t i) const { return Stored((static_cast<double>(coords[i]) + pan) * zoom); }
    int Pixel(double scaled) const { return Trunc((scaled + offset) * scale + shift); }

    const float* __restrict coords;
    double pan, zoom, offset, scale, shift;
};

}  // namespace

WIDE_VECTORS void MainPixels(const PixelAxis& hAxis, const PixelAxis& vAxis, const PixelAxis& dAxis, double halfH,
                             double halfV, double halfD, const CRect& clip, int outside, std::size_t count,
                             CPoint* __restrict out)
{
    const Axis h(hAxis), v(vAxis), d(dAxis);
    const int left = clip.left, right = clip.right, top = clip.top, bottom = clip.bottom;
    for (std::size_t i = 0; i < count; ++i) {
        const double sh = h.Scaled(i), sv = v.Scaled(i), sd = d.Scaled(i);
        const int x = h.Pixel(sh), y = v.Pixel(sv);
        // Written with & rather than &&: the compiler vectorizes no branches.
        const bool keep = (std::fabs(sh) <= halfH) & (std::fabs(sv) <= halfV) & (std::fabs(sd) <= halfD) &
                          Within(x, left, right) & Within(y, top, bottom);
        const int beyond = int(sh < -halfH) | int(sh > halfH) << 1 | int(sv < -halfV) << 2 | int(sv > halfV) << 3 |
                           int(sd < -halfD) << 4 | int(sd > halfD) << 5;
        out[i].x = keep ? x : outside;
        out[i].y = keep ? y : beyond;
    }
}

WIDE_VECTORS void PanelPixels(const PixelAxis& hAxis, const PixelAxis& vAxis, const CRect& clip, int outside,
                              std::size_t count, CPoint* __restrict out)
{
    const Axis h(hAxis), v(vAxis);
    const int left = clip.left, right = clip.right, top = clip.top, bottom = clip.bottom;
    for (std::size_t i = 0; i < count; ++i) {
        const int x = h.Pixel(h.Scaled(i)), y = v.Pixel(v.Scaled(i));
        const bool keep = Within(x, left, right) && Within(y, top, bottom);
        const int beyond = int(x < left) | int(x >= right) << 1 | int(y < top) << 2 | int(y >= bottom) << 3;
        out[i].x = keep ? x : outside;
        out[i].y = keep ? y : beyond;
    }
}
