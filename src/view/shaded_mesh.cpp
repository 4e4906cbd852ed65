// The export's triangles laid out for drawing, the selection among them tinted.
#include "view/shaded_mesh.h"

#include <span>

#include "model/export_triangles.h"
#include "model/polydrom_doc.h"
#include "view/preview_scene.h"

ShadedSource CopyShadedSource(const CPolydromDoc& doc)
{
    ShadedSource source;
    source.x = doc.m_x;
    source.y = doc.m_y;
    source.z = doc.m_z;
    source.selected = doc.m_sel;
    source.from = doc.m_edgeFrom;
    source.to = doc.m_edgeTo;
    source.faces = doc.m_face;
    return source;
}

ShadedMesh BuildShadedMesh(const ShadedSource& source)
{
    ShadedMesh out;
    ExportTriangles found;
    std::string reason;
    const TriangleSource triangles{source.x, source.y, source.z, source.from, source.to, source.faces};
    if (!FindExportTriangles(triangles, TriangleWinding::Outwards, &found, &reason)) {
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
