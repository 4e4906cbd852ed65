// Exporting the model's triangles to a file of any format: one triangle search, the
// winding, the chosen writer, one atomic write; and the report the menu commands leave.
#include "model/mesh_export.h"

#include <filesystem>
#include <system_error>

#include "framework/atomic_file.h"
#include "model/export_triangles.h"
#include "model/mesh_orientation.h"
#include "model/formats/axes.h"
#include "model/formats/mesh_writer.h"
#include "model/polydrom_doc.h"

namespace {

// The path as the user should see it in a message: absolute, so the folder shows.
std::string Shown(const std::string& path)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

}  // namespace

MeshExportResult CPolydromDoc::ExportMesh(const std::string& path, MeshFormat format, AxisConversion axes)
{
    auto fail = [&](const std::string& reason) {
        MeshExportResult failed;
        failed.ok = false;
        failed.error = "Cannot export " + Shown(path) + ": " + reason;
        return failed;
    };
    const MeshFormatInfo& info = MeshFormatInfoOf(format);
    // The union keeps the corner order it has always had; the other formats are read by
    // programs that take the winding for the outside of the surface.
    const TriangleWinding winding = info.capabilities.wound ? TriangleWinding::Outwards : TriangleWinding::AsFound;
    ExportTriangles found;
    std::string reason;
    if (!FindExportTriangles(TriangleSourceOf(*this), winding, &found, &reason, std::span(m_edgeUsed)))
        return fail(reason);
    IndexedMesh& mesh = found.mesh;
    const MeshPieces pieces = found.pieces;
    // After the winding is chosen, so that the same triangles come out either way; a
    // rotation keeps every winding outward.
    if (info.capabilities.exchange && axes == AxisConversion::Converted)
        for (MeshPoint& p : mesh.points) {
            p.y = HalfTurned(p.y);
            p.z = HalfTurned(p.z);
        }
    std::string bytes;
    if (!info.makeWriter()->Write(mesh, &bytes, &reason)) return fail(reason);
    if (FileResult written = WriteFileAtomically(path, bytes); !written) return fail(written.reason);
    MeshExportResult result;
    result.triangles = static_cast<int>(mesh.faces.size());
    result.closedPieces = pieces.closed;
    result.openPieces = pieces.open;
    return result;
}

void CPolydromDoc::ReportExport(const MeshExportResult& result, const std::string& name)
{
    if (!result.ok) {
        ReportFailure(result.error);
        return;
    }
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

void CPolydromDoc::ExportMeshAs(const std::string& path, MeshFormat format, AxisConversion axes)
{
    ReportExported(ExportMesh(path, format, axes), path);
}

void CPolydromDoc::ReportExported(const MeshExportResult& result, const std::string& path)
{
    ReportExport(result, std::filesystem::path(path).filename().string());
}
