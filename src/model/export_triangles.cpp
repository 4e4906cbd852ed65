// One search, one indexing and one winding for every user of the model's triangles.
#include "model/export_triangles.h"

#include "model/polydrom_doc.h"

TriangleSource TriangleSourceOf(const CPolydromDoc& doc)
{
    return {std::span(doc.m_x), std::span(doc.m_y), std::span(doc.m_z), std::span(doc.m_edgeFrom),
            std::span(doc.m_edgeTo)};
}

bool FindExportTriangles(const TriangleSource& source, TriangleWinding winding, ExportTriangles* out,
                         std::string* reason, std::span<std::int32_t> used)
{
    std::vector<std::int32_t> ownMarks;
    if (used.size() != source.from.size()) {
        ownMarks.resize(source.from.size());
        used = ownMarks;
    }
    const std::vector<TriangleCorners> triangles = FindTriangles(source.from, source.to, used);
    if (!IndexTriangles(source.x, source.y, source.z, triangles, &out->mesh, reason)) return false;
    // Faces keep the search's order, so each face's corners name the points of its triangle.
    out->vertexOf.assign(out->mesh.points.size(), -1);
    for (std::size_t k = 0; k < triangles.size(); ++k) {
        const TriangleCorners& t = triangles[k];
        const TriangleCorners& f = out->mesh.faces[k];
        out->vertexOf[static_cast<std::size_t>(f.first)] = t.first;
        out->vertexOf[static_cast<std::size_t>(f.second)] = t.second;
        out->vertexOf[static_cast<std::size_t>(f.third)] = t.third;
    }
    out->pieces = winding == TriangleWinding::AsFound ? CountPieces(out->mesh.points, out->mesh.faces)
                                                      : OrientFaces(out->mesh.points, out->mesh.faces);
    return true;
}
