// Binary STL: an 80-byte header, the facet count, and per facet its unit normal, three
// corners and a zero attribute word, every number little-endian.
#include <bit>
#include <cmath>
#include <limits>

#include "model/formats/mesh_writer.h"

namespace {

// Must not begin with "solid": readers take such a file for the text form of STL.
constexpr char kHeader[] = "Binary STL written by Polydrom";
constexpr std::size_t kHeaderSize = 80;
constexpr std::size_t kFacetSize = 50;

void AppendU32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void AppendF32(std::string& out, float value) { AppendU32(out, std::bit_cast<std::uint32_t>(value)); }

// The facet's unit normal by the right-hand rule over its corner order, worked in
// double; a triangle without area (or one too small to normalise) gets the zero vector.
MeshPoint Normal(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c)
{
    const double ux = double(b.x) - a.x, uy = double(b.y) - a.y, uz = double(b.z) - a.z;
    const double vx = double(c.x) - a.x, vy = double(c.y) - a.y, vz = double(c.z) - a.z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0.0) || !std::isfinite(length)) return {0.0f, 0.0f, 0.0f};
    return {static_cast<float>(nx / length), static_cast<float>(ny / length), static_cast<float>(nz / length)};
}

class StlWriter : public MeshWriter {
public:
    bool Write(const IndexedMesh& mesh, std::string* bytes, std::string* reason) const override
    {
        if (mesh.faces.size() > std::numeric_limits<std::uint32_t>::max()) {
            *reason = "more triangles than an STL file can count";
            return false;
        }
        std::string& out = *bytes;
        out.assign(kHeader);
        out.resize(kHeaderSize, '\0');
        out.reserve(kHeaderSize + 4 + mesh.faces.size() * kFacetSize);
        AppendU32(out, static_cast<std::uint32_t>(mesh.faces.size()));
        for (const TriangleCorners& f : mesh.faces) {
            const MeshPoint& a = mesh.points[static_cast<std::size_t>(f.first)];
            const MeshPoint& b = mesh.points[static_cast<std::size_t>(f.second)];
            const MeshPoint& c = mesh.points[static_cast<std::size_t>(f.third)];
            const MeshPoint n = Normal(a, b, c);
            for (const MeshPoint& p : {n, a, b, c}) {
                AppendF32(out, p.x);
                AppendF32(out, p.y);
                AppendF32(out, p.z);
            }
            out += '\0';
            out += '\0';
        }
        return true;
    }
};

}  // namespace

std::unique_ptr<MeshWriter> MakeStlWriter() { return std::make_unique<StlWriter>(); }
