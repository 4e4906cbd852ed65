// The indexed mesh the writers share, and their counted words.
#include <cmath>

#include "model/formats/mesh_writer.h"

bool IndexTriangles(std::span<const float> x, std::span<const float> y, std::span<const float> z,
                    std::span<const TriangleCorners> triangles, IndexedMesh* mesh, std::string* reason)
{
    mesh->points.clear();
    mesh->faces.clear();
    mesh->faces.reserve(triangles.size());
    // Point number of each model vertex, -1 until a triangle first uses it.
    std::vector<std::int32_t> point(x.size(), -1);
    auto pointOf = [&](std::int32_t v) -> std::int32_t {
        if (v < 0 || static_cast<std::size_t>(v) >= x.size()) {
            *reason = "a triangle refers to vertex " + std::to_string(v) + ", which does not exist";
            return -1;
        }
        const auto k = static_cast<std::size_t>(v);
        if (point[k] >= 0) return point[k];
        if (!std::isfinite(x[k]) || !std::isfinite(y[k]) || !std::isfinite(z[k])) {
            *reason = "vertex " + std::to_string(v) + " has a coordinate that is not a finite number";
            return -1;
        }
        point[k] = static_cast<std::int32_t>(mesh->points.size());
        mesh->points.push_back({x[k], y[k], z[k]});
        return point[k];
    };
    for (const TriangleCorners& t : triangles) {
        TriangleCorners face{};
        if ((face.first = pointOf(t.first)) < 0 || (face.second = pointOf(t.second)) < 0 ||
            (face.third = pointOf(t.third)) < 0)
            return false;
        mesh->faces.push_back(face);
    }
    return true;
}

std::string Counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}
