// Exporting the model's triangles to a file of any format: one triangle search, the
// winding, the chosen writer, one atomic write; and the report the menu commands leave.
#include "model/mesh_export.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "framework/atomic_file.h"
#include "model/mesh_orientation.h"
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
    auto fail = [&](const std::string& reason) {
        MeshExportResult failed;
        failed.ok = false;
        failed.error = "Cannot export " + Shown(path) + ": " + reason;
        return failed;
    };
    const auto edges = static_cast<std::size_t>(GetEdgeCount());
    const auto vertices = static_cast<std::size_t>(GetVertexCount());
    const std::vector<TriangleCorners> triangles =
        FindTriangles(std::span(m_edgeFrom), std::span(m_edgeTo), std::span(m_edgeUsed));

    IndexedMesh mesh;
    std::string reason;
    if (!IndexTriangles(std::span(m_x), std::span(m_y), std::span(m_z), triangles,
                        &mesh, &reason))
        return fail(reason);
    // The union keeps the corner order it has always had; the other formats are read by
    // programs that take the winding for the outside of the surface.
    const MeshPieces pieces =
        format == MeshFormat::PovUnion ? CountPieces(mesh.points, mesh.faces) : OrientFaces(mesh.points, mesh.faces);
    std::string bytes;
    if (!MakeMeshWriter(format)->Write(mesh, &bytes, &reason)) return fail(reason);
    if (FileResult written = WriteFileAtomically(path, bytes); !written) return fail(written.reason);
    MeshExportResult result;
    result.triangles = static_cast<int>(triangles.size());
    result.closedPieces = pieces.closed;
    result.openPieces = pieces.open;
    return result;
}

void CPolydromDoc::ReportExport(const MeshExportResult& result, const std::string& path)
{
    if (!result.ok) {
        ReportFailure(result.error);
        return;
    }
    const std::string name = std::filesystem::path(path).filename().string();
    std::string text =
        "Exported " + Counted(static_cast<std::size_t>(result.triangles), "triangle", "triangles") + " to " + name;
    // Whether the surface is watertight, so that whoever prints it knows before slicing.
    std::string pieces;
    if (result.closedPieces > 0)
        pieces = Counted(static_cast<std::size_t>(result.closedPieces), "closed piece", "closed pieces");
    if (result.openPieces > 0)
        pieces += (pieces.empty() ? "" : ", ") + Counted(static_cast<std::size_t>(result.openPieces),
                                                          "open or non-manifold piece", "open or non-manifold pieces");
    if (!pieces.empty()) text += " (" + pieces + ")";
    ReportInfo(text);
}

void CPolydromDoc::ExportMeshAs(const std::string& path, MeshFormat format)
{
    ReportExport(ExportMesh(path, format), path);
}
