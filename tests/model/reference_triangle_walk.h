// The plain walk over every ordered edge triple, kept as the yardstick for the
// triangle search: slow (edges cubed) and obviously what the exports mean.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

#include "model/triangle_search.h"

struct WalkResult {
    std::vector<TriangleCorners> triangles;
    std::vector<std::int32_t> marks;
};

inline WalkResult ReferenceTriangleWalk(const std::vector<std::int32_t>& from, const std::vector<std::int32_t>& to)
{
    const int e = static_cast<int>(from.size());
    WalkResult r;
    r.marks.assign(from.size(), 0);
    std::set<std::array<int, 3>> written;
    for (int i = 0; i < e; ++i)
        for (int n = 0; n < e; ++n) {
            // Every test needs edge n to meet edge i; without that no edge a helps.
            if (from[i] != from[n] && from[i] != to[n] && to[i] != from[n] && to[i] != to[n]) continue;
            for (int a = 0; a < e; ++a) {
                if (i == n || n == a || i == a) continue;
                const int Fi = from[i], Ti = to[i], Fn = from[n], Tn = to[n], Fa = from[a], Ta = to[a];
                // Condition and corners of tests 1 to 8, in that order.
                const struct {
                    bool holds;
                    int c1, c2, c3;
                } tests[8] = {
                    {Fi == Fa && Tn == Ta && Ti == Fn, Fi, Ti, Tn}, {Fi == Ta && Tn == Fa && Ti == Fn, Fi, Ti, Tn},
                    {Ti == Tn && Fn == Ta && Fi == Fa, Fi, Ti, Fn}, {Fn == Fa && Ti == Tn && Fi == Ta, Fi, Ti, Fn},
                    {Ti == Fa && Fi == Fn && Tn == Ta, Ti, Fi, Tn}, {Ti == Ta && Fi == Fn && Tn == Fa, Ti, Fi, Tn},
                    {Fi == Tn && Ti == Fa && Fn == Ta, Ti, Fi, Fn}, {Fi == Tn && Ti == Ta && Fn == Fa, Ti, Fi, Fn},
                };
                for (const auto& t : tests) {
                    if (!t.holds || t.c1 == t.c2 || t.c2 == t.c3 || t.c1 == t.c3) continue;
                    // The three edges are the triangle's sides, whether it is new or not.
                    r.marks[i] = r.marks[n] = r.marks[a] = 1;
                    std::array<int, 3> vertices{t.c1, t.c2, t.c3};
                    std::sort(vertices.begin(), vertices.end());
                    if (written.insert(vertices).second) r.triangles.push_back({t.c1, t.c2, t.c3});
                }
            }
        }
    return r;
}
