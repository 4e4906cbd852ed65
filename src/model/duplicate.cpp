// Extrude, Copy and Mirror: duplicates of the selected vertices, of the edges between
// them and of the faces on them, appended after the model; the selection moves to the
// duplicates. Extrude also joins each vertex to its duplicate, and each selected edge's
// band becomes two faces.
#include "model/coordinate_range.h"
#include "model/polydrom_doc.h"

namespace {

// While a duplication runs, a source vertex sits in this state and m_dup names its copy.
constexpr int kDuplicatedSource = 2;

}  // namespace

void CPolydromDoc::DuplicateSelection(DuplicateKind kind, float mirrorX)
{
    const int n0 = GetVertexCount(), e0 = GetEdgeCount(), f0 = GetFaceCount();

    // Refuse the whole command up front rather than stop half way at the capacity.
    int selected = 0, selectedEdges = 0;
    for (int i = 0; i < n0; ++i) selected += m_sel[i] == 1;
    for (int j = 0; j < e0; ++j) selectedEdges += m_sel[m_edgeFrom[j]] == 1 && m_sel[m_edgeTo[j]] == 1;
    std::int64_t selectedFaces = 0;
    for (int k = 0; k < f0; ++k) selectedFaces += FaceSelected(k);
    const bool extrude = kind == DuplicateKind::Extrude;
    const int newEdges = extrude ? 2 * selectedEdges + selected : selectedEdges;
    const std::int64_t newFaces = selectedFaces + (extrude ? 2 * std::int64_t(selectedEdges) : 0);
    const char* name = extrude ? "Extrude" : kind == DuplicateKind::Copy ? "Copy" : "Mirror";
    if (!Fits(name, selected, newEdges, newFaces)) return;
    // Copies are exact; only a reflection can leave the range of coordinates.
    if (kind == DuplicateKind::Mirror)
        for (int i = 0; i < n0; ++i)
            if (m_sel[i] == 1 && !IsStorableCoordinate(double(mirrorX) - double(m_x[i]))) {
                RefuseOutOfRange(name);
                return;
            }

    for (int i = 0; i < n0; ++i) {
        if (m_sel[i] != 1) continue;
        const int v = GetVertexCount();
        // Mirror reflects in X about x = cursorX / 2, whatever axis the view looks along.
        const double x = kind == DuplicateKind::Mirror ? double(mirrorX) - double(m_x[i]) : double(m_x[i]);
        AppendVertex(x, m_y[i], m_z[i]);
        m_sel[i] = kDuplicatedSource;
        m_dup[i] = v;
    }

    for (int j = 0; j < e0; ++j) {
        const int f = m_edgeFrom[j], t = m_edgeTo[j];
        if (m_sel[f] != kDuplicatedSource || m_sel[t] != kDuplicatedSource) continue;
        // Extrude splits each side face f, t, t', f' by the diagonal f-t'.
        if (kind == DuplicateKind::Extrude) AppendEdge(f, m_dup[t]);
        AppendEdge(m_dup[f], m_dup[t]);
    }

    if (extrude)
        for (int i = 0; i < GetVertexCount(); ++i)
            if (m_sel[i] == kDuplicatedSource) AppendEdge(i, m_dup[i]);

    // The faces on the duplicates; a reflection turns the surface inside out, so Mirror
    // reverses their corner order to keep them facing the way the originals face.
    for (int k = 0; k < f0; ++k) {
        if (!FaceSelected(k, kDuplicatedSource)) continue;
        const int a = m_dup[GetFaceCorner(k, 0)], b = m_dup[GetFaceCorner(k, 1)], c = m_dup[GetFaceCorner(k, 2)];
        if (kind == DuplicateKind::Mirror)
            AppendFace(a, c, b);
        else
            AppendFace(a, b, c);
    }
    // Each selected edge's band, split by the diagonal f-t' as its edges are.
    if (extrude)
        for (int j = 0; j < e0; ++j) {
            const int f = m_edgeFrom[j], t = m_edgeTo[j];
            if (m_sel[f] != kDuplicatedSource || m_sel[t] != kDuplicatedSource) continue;
            AppendFace(f, t, m_dup[t]);
            AppendFace(f, m_dup[f], m_dup[t]);
        }
    // An edge stored twice (or a loop) in an older model would give a band twice (or a
    // flat one): faces obey their rules whatever the edges are.
    DropRedundantFaces(f0);

    for (int i = 0; i < GetVertexCount(); ++i) {
        if (m_sel[i] != kDuplicatedSource) continue;
        m_sel[i] = 0;
        m_dup[i] = -1;
    }
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
