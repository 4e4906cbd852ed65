// One search, one indexing and one winding for every user of the model's triangles.
#include "model/export_triangles.h"

#include "model/mesh_topology.h"
#include "model/polydrom_doc.h"

TriangleSource TriangleSourceOf(const CPolydromDoc& doc)
{
    return {std::span(doc.m_x),        std::span(doc.m_y),      std::span(doc.m_z),
            std::span(doc.m_edgeFrom), std::span(doc.m_edgeTo), std::span(doc.m_face)};
}

ModelCopy CopyModel(const CPolydromDoc& doc)
{
    return {doc.m_x, doc.m_y, doc.m_z, doc.m_sel, doc.m_edgeFrom, doc.m_edgeTo, doc.m_face};
}

TriangleSource TriangleSourceOf(const ModelCopy& copy)
{
    return {copy.x, copy.y, copy.z, copy.from, copy.to, copy.faces};
}

namespace {

// Leaves out the triangles whose three sides are sides of faces while they are no face
// themselves: where the model says which triangles are surface, a triangle that only
// happens to be ringed by surface (a bipyramid's equator) is inside it. faceOf gets the
// face each kept triangle is, or -1. Returns whether any triangle was left out.
bool KeepSurfaceTriangles(const TriangleSource& source, std::vector<TriangleCorners>& triangles,
                          std::vector<std::int32_t>* faceOf)
{
    const std::size_t n = source.x.size();
    const SideSet faceSides = SideSet::OfFaces(n, source.faces);
    const FaceSet faces(n, source.faces);
    faceOf->clear();
    faceOf->reserve(triangles.size());
    std::size_t kept = 0;
    for (const TriangleCorners& t : triangles) {
        const std::int32_t face = faces.Find(t.first, t.second, t.third);
        if (face < 0 && faceSides.Contains(t.first, t.second) && faceSides.Contains(t.second, t.third) &&
            faceSides.Contains(t.third, t.first))
            continue;
        triangles[kept++] = t;
        faceOf->push_back(face);
    }
    const bool dropped = kept < triangles.size();
    triangles.resize(kept);
    return dropped;
}

// An edge is marked when it lies on a side of a kept triangle.
void MarkSides(const TriangleSource& source, const std::vector<TriangleCorners>& triangles,
               std::span<std::int32_t> used)
{
    std::vector<std::int32_t> corners;
    corners.reserve(3 * triangles.size());
    for (const TriangleCorners& t : triangles) corners.insert(corners.end(), {t.first, t.second, t.third});
    const SideSet sides = SideSet::OfFaces(source.x.size(), corners);
    for (std::size_t j = 0; j < used.size(); ++j) used[j] = sides.Contains(source.from[j], source.to[j]) ? 1 : 0;
}

// Whether (a, b, c) runs round the same way as the corners of face f.
bool SameWay(std::span<const std::int32_t> faces, std::int32_t f, std::int32_t a, std::int32_t b)
{
    const std::int32_t* c = &faces[3 * static_cast<std::size_t>(f)];
    for (int k = 0; k < 3; ++k)
        if (c[k] == a) return c[(k + 1) % 3] == b;
    return false;
}

// Turns back each piece the orientation work has wound against the model's faces, when
// every triangle of the piece is a face and all of them were wound against theirs: the
// faces were consistent, so their winding is the one the user (or the file) chose.
void KeepFaceWinding(const TriangleSource& source, const std::vector<TriangleCorners>& triangles,
                     const std::vector<std::int32_t>& faceOf, const std::vector<TriangleCorners>& before,
                     const std::vector<int>& pieceOf, std::vector<TriangleCorners>& wound)
{
    constexpr char Unseen = 0, Along = 1, Against = 2, Mixed = 3;
    std::vector<char> verdict;
    for (std::size_t k = 0; k < triangles.size(); ++k) {
        const auto piece = static_cast<std::size_t>(pieceOf[k]);
        if (piece >= verdict.size()) verdict.resize(piece + 1, Unseen);
        if (verdict[piece] == Mixed) continue;
        if (faceOf[k] < 0) {
            verdict[piece] = Mixed;
            continue;
        }
        const TriangleCorners& t = triangles[k];
        const bool flipped = wound[k].second != before[k].second;
        const bool along = SameWay(source.faces, faceOf[k], t.first, flipped ? t.third : t.second);
        const char here = along ? Along : Against;
        verdict[piece] = verdict[piece] == Unseen || verdict[piece] == here ? here : Mixed;
    }
    for (std::size_t k = 0; k < triangles.size(); ++k)
        if (verdict[static_cast<std::size_t>(pieceOf[k])] == Against) std::swap(wound[k].second, wound[k].third);
}

// Numbers the points again in the order the faces, as now wound, first name them, as the
// indexing did before the winding: a reader that numbers vertices by first use (as the
// import does) then reads them in the file's order.
void NumberByFirstUse(ExportTriangles* out)
{
    const std::size_t n = out->mesh.points.size();
    std::vector<std::int32_t> number(n, -1);
    std::vector<MeshPoint> points;
    std::vector<std::int32_t> vertexOf;
    points.reserve(n);
    vertexOf.reserve(n);
    for (TriangleCorners& f : out->mesh.faces)
        for (std::int32_t* corner : {&f.first, &f.second, &f.third}) {
            std::int32_t& to = number[static_cast<std::size_t>(*corner)];
            if (to < 0) {
                to = static_cast<std::int32_t>(points.size());
                points.push_back(out->mesh.points[static_cast<std::size_t>(*corner)]);
                vertexOf.push_back(out->vertexOf[static_cast<std::size_t>(*corner)]);
            }
            *corner = to;
        }
    out->mesh.points.swap(points);
    out->vertexOf.swap(vertexOf);
}

}  // namespace

bool FindExportTriangles(const TriangleSource& source, TriangleWinding winding, ExportTriangles* out,
                         std::string* reason, std::span<std::int32_t> used)
{
    std::vector<std::int32_t> ownMarks;
    if (used.size() != source.from.size()) {
        ownMarks.resize(source.from.size());
        used = ownMarks;
    }
    std::vector<TriangleCorners> triangles = FindTriangles(source.from, source.to, used);
    std::vector<std::int32_t> faceOf;
    if (!source.faces.empty() && KeepSurfaceTriangles(source, triangles, &faceOf)) MarkSides(source, triangles, used);
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
    if (winding == TriangleWinding::AsFound) {
        out->pieces = CountPieces(out->mesh.points, out->mesh.faces);
    } else if (faceOf.empty()) {
        out->pieces = OrientFaces(out->mesh.points, out->mesh.faces);
    } else {
        const std::vector<TriangleCorners> before = out->mesh.faces;
        std::vector<int> pieceOf;
        out->pieces = OrientFaces(out->mesh.points, out->mesh.faces, &pieceOf);
        KeepFaceWinding(source, triangles, faceOf, before, pieceOf, out->mesh.faces);
        NumberByFirstUse(out);
    }
    return true;
}
