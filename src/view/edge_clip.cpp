#include "view/edge_clip.h"

#include <algorithm>

namespace {

// The point of the line from q (kept) through p whose coordinate k equals bound, found
// from q so that a far-off p costs no precision when q is near the box. Its other
// coordinates are held to the box against rounding.
BoxPoint PointAt(const BoxPoint& q, const BoxPoint& p, int k, double bound, const double half[3])
{
    const double f = (bound - q.c[k]) / (p.c[k] - q.c[k]);
    BoxPoint r;
    for (int j = 0; j < 3; ++j)
        r.c[j] = j == k ? bound : std::clamp(q.c[j] + (p.c[j] - q.c[j]) * f, -half[j], half[j]);
    return r;
}

}  // namespace

bool ClipEdgeToBox(BoxPoint& a, BoxPoint& b, const double half[3])
{
    // The edge is a + t (b - a) for t in [0, 1]; t0 and t1 bound the part inside.
    double t0 = 0, t1 = 1;
    int k0 = -1, k1 = -1;
    double bound0 = 0, bound1 = 0;
    for (int k = 0; k < 3; ++k) {
        const double pa = a.c[k], pb = b.c[k], h = half[k];
        if ((pa < -h && pb < -h) || (pa > h && pb > h)) return false;
        if (pa < -h || pa > h) {
            const double bound = pa < -h ? -h : h;
            const double t = (bound - pa) / (pb - pa);
            if (t > t0) t0 = t, k0 = k, bound0 = bound;
        }
        if (pb < -h || pb > h) {
            const double bound = pb < -h ? -h : h;
            const double t = (bound - pa) / (pb - pa);
            if (t < t1) t1 = t, k1 = k, bound1 = bound;
        }
    }
    if (t0 >= t1) return false;
    const BoxPoint original = a;
    if (k0 >= 0) a = PointAt(b, original, k0, bound0, half);
    if (k1 >= 0) b = PointAt(a, b, k1, bound1, half);
    return true;
}
