// The export's triangles laid out for drawing, the selection among them tinted.
#include "view/shaded_mesh.h"

#include <span>

#include "model/export_triangles.h"
#include "model/polydrom_doc.h"
#include "view/preview_scene.h"

ShadedMesh BuildShadedMesh(const ModelCopy& source)
{
    ShadedMesh out;
    ExportTriangles found;
    std::string reason;
    if (!FindExportTriangles(TriangleSourceOf(source), TriangleWinding::Outwards, &found, &reason)) {
        out.note = "Nothing to show: " + reason;
        return out;
    }
    out.triangles = static_cast<int>(found.mesh.faces.size());
    out.closedPieces = found.pieces.closed;
    out.openPieces = found.pieces.open;
    if (out.triangles == 0) {
        out.note = std::string(kNoTrianglesNote);
        return out;
    }
    auto selected = [&](std::int32_t point) {
        const auto v = static_cast<std::size_t>(found.vertexOf[static_cast<std::size_t>(point)]);
        return v < source.selected.size() && source.selected[v] == 1;
    };
    out.corners.reserve(found.mesh.faces.size() * 3 * ShadedMesh::kCornerFloats);
    for (const TriangleCorners& f : found.mesh.faces) {
        const float tint = selected(f.first) && selected(f.second) && selected(f.third) ? 1.0f : 0.0f;
        for (const std::int32_t corner : {f.first, f.second, f.third}) {
            const MeshPoint& p = found.mesh.points[static_cast<std::size_t>(corner)];
            out.corners.insert(out.corners.end(), {p.x, p.y, p.z, tint});
        }
    }
    for (std::size_t k = 0; k < found.mesh.points.size(); ++k)
        if (selected(static_cast<std::int32_t>(k))) {
            const MeshPoint& p = found.mesh.points[k];
            out.marks.insert(out.marks.end(), {p.x, p.y, p.z});
        }
    out.bounds = BoundsOf(out.corners, ShadedMesh::kCornerFloats);
    return out;
}
