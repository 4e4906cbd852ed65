// Clipping a projected edge to the view's box, computed in double.
#include "view/edge_clip.h"

#include <algorithm>

namespace {

// The point where the line through a and b meets the plane c[k] = bound. Written with
// the products a_j b_k - a_k b_j, which are exact for float coordinates, so the point
// stays accurate to a fraction of a pixel even when a and b lie 1e32 away on either
// side of the window (a parameter along the line would lose the window entirely).
BoxPoint OnPlane(const BoxPoint& a, const BoxPoint& b, int k, double bound)
{
    BoxPoint p;
    const double d = a.c[k] - b.c[k];
    for (int j = 0; j < 3; ++j) {
        if (j == k) {
            p.c[j] = bound;
            continue;
        }
        const double cross = b.c[j] * a.c[k] - a.c[j] * b.c[k];
        p.c[j] = (cross + bound * (a.c[j] - b.c[j])) / d;
    }
    return p;
}

}  // namespace

bool ClipEdgeToBox(BoxPoint& a, BoxPoint& b, const double half[3])
{
    // One slab after the other: cut each end that lies beyond the slab back onto its
    // boundary. What is left after a slab lies inside it, so the next slab only shortens
    // it further; both ends beyond the same side of a slab means nothing is inside.
    const BoxPoint lineA = a, lineB = b;
    for (int k = 0; k < 3; ++k) {
        const double h = half[k];
        if ((a.c[k] < -h && b.c[k] < -h) || (a.c[k] > h && b.c[k] > h)) return false;
        if (a.c[k] < -h || a.c[k] > h) a = OnPlane(lineA, lineB, k, a.c[k] < -h ? -h : h);
        if (b.c[k] < -h || b.c[k] > h) b = OnPlane(lineA, lineB, k, b.c[k] < -h ? -h : h);
    }
    // The cut ends lie in the box up to rounding; hold them to it. (An edge touching the
    // box in a single point ends as a zero-length line, which draws nothing.)
    for (int k = 0; k < 3; ++k) {
        a.c[k] = std::clamp(a.c[k], -half[k], half[k]);
        b.c[k] = std::clamp(b.c[k], -half[k], half[k]);
    }
    return true;
}
