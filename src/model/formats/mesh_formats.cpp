// The table of export formats: one row each, naming its writer and what it asks of the
// export. A new format is its writer's file and a row here.
#include <algorithm>
#include <array>
#include <cctype>

#include "model/formats/mesh_writer.h"

namespace {

// In the order a file dialog lists them.
const std::array<MeshFormatInfo, 4> kFormats{{
    {MeshFormat::PovMesh2, "POV-Ray mesh2", ".inc", MakePovMesh2Writer, {.wound = true}},
    {MeshFormat::Obj, "Wavefront OBJ", ".obj", MakeObjWriter, {.wound = true, .exchange = true}},
    {MeshFormat::Stl, "STL (binary)", ".stl", MakeStlWriter, {.wound = true, .exchange = true}},
    // The union keeps the corner order it has always had.
    {MeshFormat::PovUnion, "POV-Ray union of triangles", ".pov", MakePovUnionWriter, {}},
}};

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail)
{
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

}  // namespace

std::span<const MeshFormatInfo> MeshFormats() { return kFormats; }

const MeshFormatInfo& MeshFormatInfoOf(MeshFormat format)
{
    for (const MeshFormatInfo& info : kFormats)
        if (info.format == format) return info;
    return kFormats.front();
}

std::optional<MeshFormat> MeshFormatForPath(std::string_view path)
{
    // Only the file name counts: "/tmp/x.obj/model" is not an OBJ file, and ".obj" alone has no name.
    const auto slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    for (const MeshFormatInfo& info : kFormats)
        if (name.size() > info.extension.size() && EndsWithIgnoringCase(name, info.extension)) return info.format;
    return std::nullopt;
}
