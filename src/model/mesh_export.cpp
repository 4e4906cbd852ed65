// Exporting the model's triangles to a file of any format: one triangle search, the
// chosen writer, one atomic write; and the report the menu commands leave.
#include "model/mesh_export.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "framework/atomic_file.h"
#include "model/mesh_writer.h"
#include "model/polydrom_doc.h"
#include "model/triangle_search.h"

namespace {

constexpr std::array<MeshFormatInfo, 4> kFormats{{
    {MeshFormat::PovMesh2, "POV-Ray mesh2", ".inc"},
    {MeshFormat::Obj, "Wavefront OBJ", ".obj"},
    {MeshFormat::Stl, "STL (binary)", ".stl"},
    {MeshFormat::PovUnion, "POV-Ray union of triangles", ".pov"},
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

// The path as the user should see it in a message: absolute, so the folder shows.
std::string Shown(const std::string& path)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
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

MeshExportResult CPolydromDoc::ExportMesh(const std::string& path, MeshFormat format)
{
    MeshExportResult result;
    auto fail = [&](const std::string& reason) {
        result.error = "Cannot export \"" + Shown(path) + "\": " + reason + ".";
        return result;
    };
    const auto edges = static_cast<std::size_t>(m_nEdges);
    const auto vertices = static_cast<std::size_t>(m_nVertices);
    const std::vector<TriangleCorners> triangles =
        FindTriangles(std::span(m_edgeFrom, edges), std::span(m_edgeTo, edges), std::span(m_edgeUsed, edges));

    IndexedMesh mesh;
    std::string reason;
    if (!IndexTriangles(std::span(m_x, vertices), std::span(m_y, vertices), std::span(m_z, vertices), triangles,
                        &mesh, &reason))
        return fail(reason);
    std::string bytes;
    if (!MakeMeshWriter(format)->Write(mesh, &bytes, &reason)) return fail(reason);
    if (FileResult written = WriteFileAtomically(path, bytes); !written) return fail(written.reason);
    result.ok = true;
    result.triangles = static_cast<int>(triangles.size());
    return result;
}

void CPolydromDoc::ReportExport(const MeshExportResult& result, const std::string& path)
{
    if (!result.ok) {
        ReportRefusal(result.error);
        return;
    }
    const std::string name = std::filesystem::path(path).filename().string();
    ReportInfo("Exported " + Counted(static_cast<std::size_t>(result.triangles), "triangle", "triangles") + " to " +
               name);
}

void CPolydromDoc::ExportMeshAs(const std::string& path, MeshFormat format)
{
    ReportExport(ExportMesh(path, format), path);
}
