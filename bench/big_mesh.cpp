// The torus grid and its model file.
#include "big_mesh.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>

BigMesh TorusGrid(int rings, int segments, float across, int selectEvery)
{
    BigMesh m;
    const std::size_t n = std::size_t(rings) * std::size_t(segments);
    m.x.resize(n);
    m.y.resize(n);
    m.z.resize(n);
    m.sel.resize(n);
    const double major = across / 3.0, minor = across / 6.0;
    auto index = [&](int r, int s) { return std::int32_t((r % rings) * segments + (s % segments)); };
    for (int r = 0; r < rings; ++r) {
        const double u = 2 * std::numbers::pi * r / rings;
        for (int s = 0; s < segments; ++s) {
            const double v = 2 * std::numbers::pi * s / segments;
            const std::size_t i = std::size_t(index(r, s));
            const double radius = major + minor * std::cos(v);
            m.x[i] = float(radius * std::cos(u));
            m.y[i] = float(radius * std::sin(u));
            m.z[i] = float(minor * std::sin(v));
            m.sel[i] = selectEvery > 0 && i % std::size_t(selectEvery) == 0 ? 1 : 0;
        }
    }
    m.from.reserve(3 * n);
    m.to.reserve(3 * n);
    m.corners.reserve(6 * n);
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const std::int32_t a = index(r, s), b = index(r + 1, s), c = index(r + 1, s + 1), d = index(r, s + 1);
            for (std::int32_t other : {b, d, c}) {
                m.from.push_back(a);
                m.to.push_back(other);
            }
            for (std::int32_t corner : {a, b, c, a, c, d}) m.corners.push_back(corner);
        }
    }
    return m;
}

namespace {

template <typename T>
void Append(std::string& out, const std::vector<T>& values)
{
    const std::size_t at = out.size();
    out.resize(at + values.size() * sizeof(T));
    if (!values.empty()) std::memcpy(out.data() + at, values.data(), values.size() * sizeof(T));
}

void AppendInt(std::string& out, std::int32_t value) { Append(out, std::vector<std::int32_t>{value}); }

}  // namespace

std::string ModelFileBytes(const BigMesh& mesh, bool withFaces)
{
    std::string out;
    AppendInt(out, std::int32_t(mesh.Vertices()));
    AppendInt(out, std::int32_t(mesh.Edges()));
    Append(out, mesh.x);
    Append(out, mesh.y);
    Append(out, mesh.z);
    Append(out, mesh.sel);
    Append(out, mesh.from);
    Append(out, mesh.to);
    if (withFaces && mesh.Faces() > 0) {
        out += "FACE";
        AppendInt(out, 1);
        AppendInt(out, std::int32_t(mesh.Faces()));
        Append(out, mesh.corners);
    }
    return out;
}

std::string WriteTempFile(const std::string& name, const std::string& bytes)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}
