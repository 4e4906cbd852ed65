// Construction, reset, and the small operations the view calls on the model.
#include <string>

#include "model/coordinate_range.h"
#include "model/polydrom_doc.h"

CPolydromDoc::CPolydromDoc()
    : m_x{}, m_y{}, m_z{}, m_sel{}, m_dup{}, m_nVertices(0),
      m_edgeFrom{}, m_edgeTo{}, m_edgeUsed{}, m_nEdges(0), m_nResolution(5), m_step(0.01f)
{
    // A model opened from the command line never sees OnNewDocument; the step starts
    // where a new model's does.
    m_history.Reset(LiveArrays());
    UpdateAllViews(nullptr);
}

bool CPolydromDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument()) return false;
    m_nVertices = 0;
    m_nEdges = 0;
    m_step = 0.01f;
    m_x[0] = m_y[0] = m_z[0] = 0.0f;
    m_sel[0] = m_dup[0] = 0;
    m_edgeFrom[0] = m_edgeTo[0] = m_edgeUsed[0] = 0;
    m_history.Reset(LiveArrays());
    return true;
}

void CPolydromDoc::AddVertex(float x, float y, float z)
{
    // Clicks stop adding at 1000 vertices. Primitives may have taken the model past
    // that; a click then adds nothing rather than overwrite a vertex edges refer to.
    if (m_nVertices >= MAX_CLICK_VERTICES) {
        ReportRefusal("No vertex added: clicks add vertices only while the model holds fewer than " +
                      std::to_string(MAX_CLICK_VERTICES) + ".");
        return;
    }
    // The cursor is always finite; this guards the model against any other caller.
    if (!IsStorableCoordinate(x) || !IsStorableCoordinate(y) || !IsStorableCoordinate(z)) {
        ReportRefusal("No vertex added: the point lies outside the range of coordinates.");
        return;
    }
    AppendVertex(x, y, z);
}

void CPolydromDoc::MoveSelected(float dx, float dy, float dz)
{
    // The view computes the offset in float: two far-apart clicks can make it infinite.
    for (int i = 0; i < m_nVertices; ++i) {
        if (m_sel[i] != 1) continue;
        if (!IsStorableCoordinate(double(m_x[i]) - dx) || !IsStorableCoordinate(double(m_y[i]) - dy) ||
            !IsStorableCoordinate(double(m_z[i]) - dz)) {
            RefuseOutOfRange("Move");
            return;
        }
    }
    for (int i = 0; i < m_nVertices; ++i) {
        if (m_sel[i] != 1) continue;
        m_x[i] = static_cast<float>(double(m_x[i]) - dx);
        m_y[i] = static_cast<float>(double(m_y[i]) - dy);
        m_z[i] = static_cast<float>(double(m_z[i]) - dz);
    }
}

void CPolydromDoc::AppendVertex(double x, double y, double z)
{
    const int v = m_nVertices;
    m_x[v] = static_cast<float>(x);
    m_y[v] = static_cast<float>(y);
    m_z[v] = static_cast<float>(z);
    m_sel[v] = 1;
    m_dup[v] = -1;
    m_nVertices = v + 1;
}

void CPolydromDoc::AppendEdge(int from, int to)
{
    const int e = m_nEdges;
    m_edgeFrom[e] = from;
    m_edgeTo[e] = to;
    m_edgeUsed[e] = 0;
    m_nEdges = e + 1;
}

bool CPolydromDoc::Fits(const char* command, int moreVertices, int moreEdges)
{
    const int freeVertices = MODEL_CAPACITY - m_nVertices;
    const int freeEdges = MODEL_CAPACITY - m_nEdges;
    if (moreVertices <= freeVertices && moreEdges <= freeEdges) return true;
    ReportRefusal(std::string(command) + " refused: it needs " + std::to_string(moreVertices) +
                  " vertices and " + std::to_string(moreEdges) + " edges, but the model has room for only " +
                  std::to_string(freeVertices) + " more vertices and " + std::to_string(freeEdges) +
                  " more edges.");
    return false;
}

void CPolydromDoc::RefuseOutOfRange(const char* command)
{
    ReportRefusal(std::string(command) + " refused: the result would leave the range of coordinates.");
}
