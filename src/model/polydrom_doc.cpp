// Construction, reset, and the small operations the view calls on the model.
#include <algorithm>
#include <new>
#include <string>
#include <utility>

#include "model/coordinate_range.h"
#include "model/polydrom_doc.h"

CPolydromDoc::CPolydromDoc()
    : m_nResolution(5), m_step(0.01f)
{
    // A model opened from the command line never sees OnNewDocument; the step starts
    // where a new model's does.
    m_history.Reset(LiveArrays());
    UpdateAllViews(nullptr);
}

bool CPolydromDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument()) return false;
    // A new model gives the memory of a big one back.
    for (auto* floats : {&m_x, &m_y, &m_z}) std::vector<float>().swap(*floats);
    for (auto* ints : {&m_sel, &m_dup, &m_edgeFrom, &m_edgeTo, &m_edgeUsed, &m_face})
        std::vector<std::int32_t>().swap(*ints);
    m_step = 0.01f;
    m_history.Reset(LiveArrays());
    return true;
}

void CPolydromDoc::SwapArrays(LoadedModel& arrays)
{
    m_x.swap(arrays.x);
    m_y.swap(arrays.y);
    m_z.swap(arrays.z);
    m_sel.swap(arrays.sel);
    m_dup.swap(arrays.dup);
    m_edgeFrom.swap(arrays.from);
    m_edgeTo.swap(arrays.to);
    m_edgeUsed.swap(arrays.used);
    m_face.swap(arrays.face);
}

void CPolydromDoc::TakeOpenedModel(CPolydromDoc& opened)
{
    // Through a set of arrays in between: the opened model comes here, this one goes there.
    LoadedModel between;
    opened.SwapArrays(between);
    SwapArrays(between);
    opened.SwapArrays(between);
    std::swap(m_history, opened.m_history);
    SetPathName(opened.GetPathName());
    SetModifiedFlag(false);
}

void CPolydromDoc::AddVertex(float x, float y, float z)
{
    // The cursor is always finite; this guards the model against any other caller.
    if (!IsStorableCoordinate(x) || !IsStorableCoordinate(y) || !IsStorableCoordinate(z)) {
        ReportRefusal("No vertex added: the point lies outside the range of coordinates.");
        return;
    }
    if (Fits("Add Vertex", 1, 0)) AppendVertex(x, y, z);
}

void CPolydromDoc::MoveSelected(float dx, float dy, float dz)
{
    // The view computes the offset in float: two far-apart clicks can make it infinite.
    const int n = GetVertexCount();
    for (int i = 0; i < n; ++i) {
        if (m_sel[i] != 1) continue;
        if (!IsStorableCoordinate(double(m_x[i]) - dx) || !IsStorableCoordinate(double(m_y[i]) - dy) ||
            !IsStorableCoordinate(double(m_z[i]) - dz)) {
            RefuseOutOfRange("Move");
            return;
        }
    }
    for (int i = 0; i < n; ++i) {
        if (m_sel[i] != 1) continue;
        m_x[i] = static_cast<float>(double(m_x[i]) - dx);
        m_y[i] = static_cast<float>(double(m_y[i]) - dy);
        m_z[i] = static_cast<float>(double(m_z[i]) - dz);
    }
}

void CPolydromDoc::AppendVertex(double x, double y, double z)
{
    m_x.push_back(static_cast<float>(x));
    m_y.push_back(static_cast<float>(y));
    m_z.push_back(static_cast<float>(z));
    m_sel.push_back(1);
    m_dup.push_back(-1);
}

void CPolydromDoc::AppendEdge(int from, int to)
{
    m_edgeFrom.push_back(from);
    m_edgeTo.push_back(to);
    m_edgeUsed.push_back(0);
}

void CPolydromDoc::AppendFace(int a, int b, int c)
{
    m_face.push_back(a);
    m_face.push_back(b);
    m_face.push_back(c);
}

void CPolydromDoc::ResizeModel(int vertices, int edges, int faces)
{
    const auto v = static_cast<std::size_t>(vertices), e = static_cast<std::size_t>(edges);
    const auto f = 3 * static_cast<std::size_t>(faces);
    // Reserving first keeps a failed allocation from leaving arrays of different sizes.
    for (auto* floats : {&m_x, &m_y, &m_z}) floats->reserve(v);
    for (auto* ints : {&m_sel, &m_dup}) ints->reserve(v);
    for (auto* ints : {&m_edgeFrom, &m_edgeTo, &m_edgeUsed}) ints->reserve(e);
    m_face.reserve(f);
    for (auto* floats : {&m_x, &m_y, &m_z}) floats->resize(v, 0.0f);
    m_sel.resize(v, 0);
    m_dup.resize(v, -1);
    for (auto* ints : {&m_edgeFrom, &m_edgeTo, &m_edgeUsed}) ints->resize(e, 0);
    m_face.resize(f, 0);
}

namespace {

// Room for `more` entries past the size, growing by half again at least, so that a run of
// single additions stays cheap without doubling a model of a gigabyte.
template <typename T>
void Room(std::vector<T>& array, std::size_t more)
{
    const std::size_t needed = array.size() + more;
    if (needed <= array.capacity()) return;
    array.reserve(std::max(needed, array.capacity() + array.capacity() / 2));
}

}  // namespace

bool CPolydromDoc::Fits(const char* command, std::int64_t moreVertices, std::int64_t moreEdges,
                        std::int64_t moreFaces)
{
    const std::int64_t freeVertices = std::int64_t(m_limits.vertices) - GetVertexCount();
    const std::int64_t freeEdges = std::int64_t(m_limits.edges) - GetEdgeCount();
    const std::int64_t freeFaces = std::int64_t(m_limits.faces) - GetFaceCount();
    if (moreVertices > freeVertices || moreEdges > freeEdges) {
        ReportRefusal(std::string(command) + " refused: it needs " + std::to_string(moreVertices) +
                      " vertices and " + std::to_string(moreEdges) + " edges, but the model has room for only " +
                      std::to_string(freeVertices) + " more vertices and " + std::to_string(freeEdges) +
                      " more edges.");
        return false;
    }
    if (moreFaces > freeFaces) {
        ReportRefusal(std::string(command) + " refused: it needs " + std::to_string(moreFaces) +
                      " faces, but the model has room for only " + std::to_string(freeFaces) + " more faces.");
        return false;
    }
    try {
        const auto v = static_cast<std::size_t>(moreVertices), e = static_cast<std::size_t>(moreEdges);
        for (auto* floats : {&m_x, &m_y, &m_z}) Room(*floats, v);
        Room(m_sel, v);
        Room(m_dup, v);
        for (auto* ints : {&m_edgeFrom, &m_edgeTo, &m_edgeUsed}) Room(*ints, e);
        Room(m_face, 3 * static_cast<std::size_t>(moreFaces));
    } catch (const std::bad_alloc&) {
        ReportRefusal(std::string(command) + " refused: there is not enough memory for " +
                      std::to_string(moreVertices) + " more vertices, " + std::to_string(moreEdges) +
                      " more edges and " + std::to_string(moreFaces) + " more faces.");
        return false;
    }
    return true;
}

void CPolydromDoc::RefuseOutOfRange(const char* command)
{
    ReportRefusal(std::string(command) + " refused: the result would leave the range of coordinates.");
}
