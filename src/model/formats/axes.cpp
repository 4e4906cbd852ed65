// The import's scale and axis conversion, and the mesh sizes the import dialog shows.
#include "model/formats/axes.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "framework/float_text.h"
#include "model/coordinate_range.h"
#include "model/formats/import_child.h"

namespace {

// What a coordinate becomes at this scale, or nothing when a vertex cannot hold it.
bool Scaled(float value, double scale, float* out)
{
    const double scaled = double(value) * scale;
    if (!IsStorableCoordinate(scaled)) return false;
    // A non-zero coordinate shrunk to zero (or to a subnormal float, which loses digits)
    // would merge points the file keeps apart.
    if (value != 0.0f && std::fabs(scaled) < double(FLT_MIN)) return false;
    *out = float(scaled);
    return true;
}

}  // namespace

bool PlaceImportedMesh(ImportedMesh& mesh, double scale, AxisConversion axes, std::string* reason)
{
    if (!(scale > 0.0) || !std::isfinite(scale)) {
        *reason = "the scale must be a positive finite number";
        return false;
    }
    const std::size_t n = mesh.x.size();
    std::vector<float> x(n), y(n), z(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!Scaled(mesh.x[i], scale, &x[i]) || !Scaled(mesh.y[i], scale, &y[i]) || !Scaled(mesh.z[i], scale, &z[i])) {
            *reason = "scale " + ShortestFloat(float(scale)) + " takes the point " + ShortestFloat(mesh.x[i]) + " " +
                      ShortestFloat(mesh.y[i]) + " " + ShortestFloat(mesh.z[i]) +
                      " beyond the coordinates a vertex can hold";
            return false;
        }
        if (axes == AxisConversion::Converted) {
            y[i] = HalfTurned(y[i]);
            z[i] = HalfTurned(z[i]);
        }
    }
    mesh.x = std::move(x);
    mesh.y = std::move(y);
    mesh.z = std::move(z);
    return true;
}

MeshSize SizeOf(const ImportedMesh& mesh)
{
    auto extent = [](const std::vector<float>& values) {
        if (values.empty()) return 0.0;
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        return double(*high) - double(*low);
    };
    return {extent(mesh.x), extent(mesh.y), extent(mesh.z)};
}

std::string DescribeSize(const MeshSize& size)
{
    auto shown = [](double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6g", v);
        return std::string(text);
    };
    return shown(size.x) + " x " + shown(size.y) + " x " + shown(size.z);
}

std::string ScaleHint(const MeshSize& size, double scale)
{
    const std::string before = "The mesh is " + DescribeSize(size) + " units";
    if (!(scale > 0.0) || !std::isfinite(scale)) return before + "; the scale must be a positive number.";
    const MeshSize after{size.x * scale, size.y * scale, size.z * scale};
    char factor[32];
    std::snprintf(factor, sizeof factor, "%.6g", scale);
    return before + ": scale " + factor + " makes it " + DescribeSize(after) + ".";
}
