// Float-to-pixel conversions of the view: truncation toward zero that saturates, and
// rounding to float that never overflows into undefined behaviour.
#pragma once

#include <cfloat>
#include <climits>
#include <cmath>

// Truncates toward zero to a 32-bit pixel coordinate: trunc(409.9) = 409, trunc(-0.2) = 0.
// Values beyond the int range (a model at 1e30, zoomed in) saturate to its ends, NaN to 0.
inline int TruncPixel(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483648.0) return INT_MAX;
    if (v <= -2147483649.0) return INT_MIN;
    return static_cast<int>(v);
}

// Rounds to float as storing into a float does, overflowing to an infinity rather
// than into an out-of-range conversion.
inline float RoundToFloat(double v)
{
    if (std::fabs(v) <= FLT_MAX || std::isnan(v)) return static_cast<float>(v);
    // Below FLT_MAX plus half its last step a value still rounds down to FLT_MAX.
    constexpr double kOverflow = 0x1.ffffffp127;
    if (std::fabs(v) < kOverflow) return v > 0 ? FLT_MAX : -FLT_MAX;
    return v > 0 ? INFINITY : -INFINITY;
}

// A drawing quantity stored as a float: rounded to float where a float can hold it, kept
// as the double where it cannot (so a far-off vertex stays far off, not infinite).
inline double StoredFloat(double v)
{
    return std::fabs(v) <= FLT_MAX ? static_cast<double>(static_cast<float>(v)) : v;
}
