// Connect joins two or three selected vertices (three make a face); Un-connect deletes
// the selected vertices with every edge and face that touches them and packs the arrays.
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "model/polydrom_doc.h"

void CPolydromDoc::OnDoConnect()
{
    // a is the highest selected index, b the one before it, c the one before b.
    int count = 0, a = -1, b = -1, c = -1;
    const int n = GetVertexCount();
    for (int i = 0; i < n; ++i) {
        if (m_sel[i] != 1) continue;
        ++count;
        c = b;
        b = a;
        a = i;
    }
    if (count != 2 && count != 3) {
        // Not an error (scripts run it on any selection), but the user should learn why nothing happened.
        const std::string selected = count == 0   ? "none are selected"
                                     : count == 1 ? "1 is selected"
                                                  : std::to_string(count) + " are selected";
        ReportInfo("Connect joins 2 or 3 selected vertices; " + selected);
        UpdateAllViews(nullptr);
        return;
    }
    // Only the missing sides become edges: a stored copy of an edge is invisible, and
    // later commands (Extrude above all) would build surfaces on both copies.
    std::vector<std::pair<int, int>> sides = {{a, b}};
    if (count == 3) sides = {{a, b}, {b, c}, {c, a}};
    std::vector<std::pair<int, int>> missing;
    for (const auto& [p, q] : sides)
        if (!Joined(p, q)) missing.emplace_back(p, q);
    const bool newFace = count == 3 && !HasFace(a, b, c);
    if (Fits("Connect", 0, std::int64_t(missing.size()), newFace ? 1 : 0)) {
        for (const auto& [p, q] : missing) AppendEdge(p, q);
        if (newFace) AppendFace(a, b, c);
    }
    UpdateAllViews(nullptr);
}

bool CPolydromDoc::Joined(int p, int q) const
{
    const int e = GetEdgeCount();
    for (int j = 0; j < e; ++j)
        if ((m_edgeFrom[j] == p && m_edgeTo[j] == q) || (m_edgeFrom[j] == q && m_edgeTo[j] == p)) return true;
    return false;
}

bool CPolydromDoc::HasFace(int a, int b, int c) const
{
    const int f = GetFaceCount();
    for (int k = 0; k < f; ++k) {
        const std::int32_t* corner = &m_face[3 * std::size_t(k)];
        if (std::is_permutation(corner, corner + 3, std::array{a, b, c}.begin())) return true;
    }
    return false;
}

void CPolydromDoc::OnDoUnconnect()
{
    // An edge goes when either end is selected; the survivors keep their order.
    const int e = GetEdgeCount();
    int k = 0;
    for (int j = 0; j < e; ++j) {
        if (m_sel[m_edgeFrom[j]] == 1 || m_sel[m_edgeTo[j]] == 1) continue;
        m_edgeFrom[k] = m_edgeFrom[j];
        m_edgeTo[k] = m_edgeTo[j];
        m_edgeUsed[k] = 0;
        ++k;
    }
    const int edgesLeft = k;

    // So does a face with a selected corner.
    const int f = GetFaceCount();
    k = 0;
    for (int j = 0; j < f; ++j) {
        const std::int32_t* corner = &m_face[3 * std::size_t(j)];
        if (m_sel[corner[0]] == 1 || m_sel[corner[1]] == 1 || m_sel[corner[2]] == 1) continue;
        std::copy_n(corner, 3, &m_face[3 * std::size_t(k)]);
        ++k;
    }
    const int facesLeft = k;

    // Unselected vertices move down to close the gaps; edges and faces follow them. A
    // dropped vertex keeps its old number in the map, so an edge still naming it (possible
    // only for a vertex in a state other than 0 or 1) is left as it was.
    const int n = GetVertexCount();
    std::vector<int> newIndex(static_cast<std::size_t>(n));
    k = 0;
    for (int i = 0; i < n; ++i) {
        newIndex[i] = i;
        if (m_sel[i] != 0) continue;
        m_sel[k] = 0;
        m_x[k] = m_x[i];
        m_y[k] = m_y[i];
        m_z[k] = m_z[i];
        newIndex[i] = k;
        ++k;
    }
    ResizeModel(k, edgesLeft, facesLeft);  // shrinking: never allocates
    for (int j = 0; j < edgesLeft; ++j) {
        m_edgeFrom[j] = newIndex[m_edgeFrom[j]];
        m_edgeTo[j] = newIndex[m_edgeTo[j]];
    }
    for (std::int32_t& corner : m_face) corner = newIndex[corner];
    UpdateAllViews(nullptr);
}
