// Which results of the double arithmetic can be stored as a vertex coordinate.
#pragma once

#include <cfloat>
#include <cmath>

// A coordinate is stored as a finite float. A double beyond FLT_MAX would become an
// infinity (a model no file can hold), and NaN is no position at all, so a command whose
// result fails this test is refused whole instead of storing it.
inline bool IsStorableCoordinate(double value) { return std::fabs(value) <= double(FLT_MAX); }
