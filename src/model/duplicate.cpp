// Extrude, Copy and Mirror: duplicates of the selected vertices, of the edges between
// them and of the faces on them, appended after the model; the selection moves to the
// duplicates. Extrude also joins each vertex to its duplicate, and each selected edge's
// band becomes two faces.
#include <algorithm>
#include <vector>

#include "model/coordinate_range.h"
#include "model/mesh_topology.h"
#include "model/polydrom_doc.h"

void CPolydromDoc::DuplicateSelection(DuplicateKind kind, float mirrorX)
{
    const int n0 = GetVertexCount(), e0 = GetEdgeCount(), f0 = GetFaceCount();
    const bool extrude = kind == DuplicateKind::Extrude;

    // Refuse the whole command up front rather than stop half way at the capacity.
    int selected = 0;
    for (int i = 0; i < n0; ++i) selected += m_sel[i] == 1;
    std::vector<std::int32_t> edges;  // the selected edges, in order
    for (int j = 0; j < e0; ++j)
        if (m_sel[m_edgeFrom[j]] == 1 && m_sel[m_edgeTo[j]] == 1) edges.push_back(j);
    std::vector<std::int32_t> faces;  // the faces on the selection, in order
    for (int k = 0; k < f0; ++k)
        if (FaceSelected(k)) faces.push_back(k);
    // An edge stored twice (or a loop) in an older model gives its band once (or none): a
    // band's faces repeat only then, since every other new face has a corner of its own.
    std::vector<char> noBand;
    if (extrude) {
        std::vector<std::int32_t> from(edges.size()), to(edges.size());
        for (std::size_t k = 0; k < edges.size(); ++k) {
            from[k] = m_edgeFrom[edges[k]];
            to[k] = m_edgeTo[edges[k]];
        }
        noBand = RepeatedPairs(std::size_t(n0), from, to);
    }
    const auto bands = static_cast<std::int64_t>(std::count(noBand.begin(), noBand.end(), 0));
    const std::int64_t newEdges = extrude ? 2 * std::int64_t(edges.size()) + selected : std::int64_t(edges.size());
    const std::int64_t newFaces = std::int64_t(faces.size()) + 2 * bands;
    const char* name = extrude ? "Extrude" : kind == DuplicateKind::Copy ? "Copy" : "Mirror";
    if (!Fits(name, selected, newEdges, newFaces)) return;
    // Copies are exact; only a reflection can leave the range of coordinates.
    if (kind == DuplicateKind::Mirror)
        for (int i = 0; i < n0; ++i)
            if (m_sel[i] == 1 && !IsStorableCoordinate(double(mirrorX) - double(m_x[i]))) {
                RefuseOutOfRange(name);
                return;
            }

    // Room is reserved: the arrays take their new sizes at once and are filled in place.
    ResizeModel(n0 + selected, e0 + int(newEdges), f0 + int(newFaces));
    int v = n0;
    for (int i = 0; i < n0; ++i) {
        if (m_sel[i] != 1) continue;
        // Mirror reflects in X about x = cursorX / 2, whatever axis the view looks along.
        const double x = kind == DuplicateKind::Mirror ? double(mirrorX) - double(m_x[i]) : double(m_x[i]);
        m_x[v] = static_cast<float>(x);
        m_y[v] = m_y[i];
        m_z[v] = m_z[i];
        m_sel[v] = 1;
        m_sel[i] = 0;  // the selection moves to the duplicates
        m_dup[i] = v++;
    }

    int e = e0;
    auto edge = [&](int from, int to) {
        m_edgeFrom[e] = from;
        m_edgeTo[e++] = to;
    };
    for (const std::int32_t j : edges) {
        const int f = m_edgeFrom[j], t = m_edgeTo[j];
        // Extrude splits each side face f, t, t', f' by the diagonal f-t'.
        if (extrude) edge(f, m_dup[t]);
        edge(m_dup[f], m_dup[t]);
    }
    if (extrude)
        for (int i = 0; i < n0; ++i)
            if (m_dup[i] >= 0) edge(i, m_dup[i]);

    // The faces on the duplicates; a reflection turns the surface inside out, so Mirror
    // reverses their corner order to keep them facing the way the originals face.
    std::size_t c = 3 * std::size_t(f0);
    auto face = [&](int a, int b, int d) {
        m_face[c++] = a;
        m_face[c++] = b;
        m_face[c++] = d;
    };
    for (const std::int32_t k : faces) {
        const int a = m_dup[GetFaceCorner(k, 0)], b = m_dup[GetFaceCorner(k, 1)], d = m_dup[GetFaceCorner(k, 2)];
        if (kind == DuplicateKind::Mirror)
            face(a, d, b);
        else
            face(a, b, d);
    }
    // Each selected edge's band, split by the diagonal f-t' as its edges are.
    for (std::size_t k = 0; k < noBand.size(); ++k) {
        if (noBand[k]) continue;
        const int f = m_edgeFrom[edges[k]], t = m_edgeTo[edges[k]];
        face(f, t, m_dup[t]);
        face(f, m_dup[f], m_dup[t]);
    }

    for (int i = 0; i < n0; ++i) m_dup[i] = -1;
}

void CPolydromDoc::OnDoExtrude()
{
    DuplicateSelection(DuplicateKind::Extrude);
    // Repaint like Copy and Mirror, or the window shows the model before the extrusion.
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoCopy()
{
    DuplicateSelection(DuplicateKind::Copy);
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnDoMirror(const ViewState& view)
{
    DuplicateSelection(DuplicateKind::Mirror, view.cursor[0]);
    UpdateAllViews(nullptr);
}
