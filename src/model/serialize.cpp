// The ".pdm" model file: counts, then every X, Y, Z, selection, edge start and edge end.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "framework/archive.h"
#include "model/model_arrays.h"
#include "model/polydrom_doc.h"

namespace {

// A loaded model waits here until every value has been checked.
struct LoadedModel {
    float x[MODEL_CAPACITY], y[MODEL_CAPACITY], z[MODEL_CAPACITY];
    std::int32_t sel[MODEL_CAPACITY];
    std::int32_t from[MODEL_CAPACITY], to[MODEL_CAPACITY];
};

void CheckCount(const char* what, std::int32_t count)
{
    if (count < 0)
        throw CArchiveException(std::string(what) + " count " + std::to_string(count) + " is negative");
    if (count > MODEL_CAPACITY)
        throw CArchiveException(std::string(what) + " count " + std::to_string(count) + " exceeds " +
                                std::to_string(MODEL_CAPACITY));
}

void CheckCoordinate(const char* axis, int i, float value)
{
    if (!std::isfinite(value))
        throw CArchiveException(std::string(axis) + " of vertex " + std::to_string(i) + " is not a finite number");
}

// The rules every model file obeys, for a model read from a file and for one about to
// be stored alike, so that every saved file opens again.
void CheckModel(std::int32_t n, std::int32_t e, const float* x, const float* y, const float* z,
                const std::int32_t* sel, const std::int32_t* from, const std::int32_t* to)
{
    for (int i = 0; i < n; ++i) {
        CheckCoordinate("X", i, x[i]);
        CheckCoordinate("Y", i, y[i]);
        CheckCoordinate("Z", i, z[i]);
        if (sel[i] != 0 && sel[i] != 1)
            throw CArchiveException("vertex " + std::to_string(i) + " has selection state " +
                                    std::to_string(sel[i]) + " (only 0 and 1 are valid)");
    }
    for (int j = 0; j < e; ++j) {
        for (std::int32_t end : {from[j], to[j]}) {
            if (end < 0 || end >= n)
                throw CArchiveException("edge " + std::to_string(j) + " refers to vertex " + std::to_string(end) +
                                        " of " + std::to_string(n));
        }
    }
}

}  // namespace

void StoreModel(CArchive& ar, const ModelArrays& model)
{
    // A model no file may hold (a coordinate pushed to infinity) is refused, never written.
    CheckCount("vertex", model.vertices);
    CheckCount("edge", model.edges);
    CheckModel(model.vertices, model.edges, model.x, model.y, model.z, model.sel, model.from, model.to);
    ar << model.vertices << model.edges;
    for (int i = 0; i < model.vertices; ++i) ar << model.x[i];
    for (int i = 0; i < model.vertices; ++i) ar << model.y[i];
    for (int i = 0; i < model.vertices; ++i) ar << model.z[i];
    for (int i = 0; i < model.vertices; ++i) ar << model.sel[i];
    for (int j = 0; j < model.edges; ++j) ar << model.from[j];
    for (int j = 0; j < model.edges; ++j) ar << model.to[j];
}

void CPolydromDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreModel(ar, LiveArrays());
        return;
    }

    std::int32_t n = 0, e = 0;
    ar >> n >> e;
    CheckCount("vertex", n);
    CheckCount("edge", e);
    const std::size_t expected = 8 + 16 * std::size_t(n) + 8 * std::size_t(e);
    if (ar.Size() < expected)
        throw CArchiveException("file ends after " + std::to_string(ar.Size()) + " of " +
                                std::to_string(expected) + " bytes");

    auto model = std::make_unique<LoadedModel>();
    for (int i = 0; i < n; ++i) ar >> model->x[i];
    for (int i = 0; i < n; ++i) ar >> model->y[i];
    for (int i = 0; i < n; ++i) ar >> model->z[i];
    for (int i = 0; i < n; ++i) ar >> model->sel[i];
    for (int j = 0; j < e; ++j) ar >> model->from[j];
    for (int j = 0; j < e; ++j) ar >> model->to[j];

    CheckModel(n, e, model->x, model->y, model->z, model->sel, model->from, model->to);

    // Everything is valid: take it over. Members the file does not hold keep their values.
    std::copy_n(model->x, n, m_x);
    std::copy_n(model->y, n, m_y);
    std::copy_n(model->z, n, m_z);
    std::copy_n(model->sel, n, m_sel);
    std::copy_n(model->from, e, m_edgeFrom);
    std::copy_n(model->to, e, m_edgeTo);
    m_nVertices = n;
    m_nEdges = e;
    m_history.Reset(LiveArrays());
}

std::size_t CPolydromDoc::MaxFileBytes() const
{
    // The counts, then four 4-byte values per vertex and two per edge, at full capacity.
    return 8 + 16 * std::size_t(MODEL_CAPACITY) + 8 * std::size_t(MODEL_CAPACITY);
}
