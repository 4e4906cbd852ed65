// The exports on stacked extruded rings: the triangle search against the plain walk over
// every edge triple, and the whole export in every format at the edge capacity.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/polydrom_doc.h"
#include "model/reference_triangle_walk.h"
#include "model/triangle_search.h"

namespace {

// A ring of 40 points extruded and lifted `extrusions` times: 40 + 120 * extrusions edges.
std::unique_ptr<CPolydromDoc> StackedRings(int extrusions)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->OnResHigh();
    doc->OnShapeCircle(ViewState{});
    for (int k = 0; k < extrusions; ++k) {
        doc->OnDoExtrude();
        doc->MoveSelected(0, 0, -10);
    }
    return doc;
}


void BM_TriangleSearch(benchmark::State& state, int extrusions)
{
    auto doc = StackedRings(extrusions);
    const int edges = doc->GetEdgeCount();
    std::vector<std::int32_t> from = doc->m_edgeFrom, to = doc->m_edgeTo;
    std::vector<std::int32_t> marks(static_cast<std::size_t>(edges));
    std::size_t triangles = 0;
    for (auto _ : state) {
        triangles = FindTriangles(from, to, marks).size();
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["edges"] = edges;
    state.counters["triangles"] = static_cast<double>(triangles);
}

void BM_ReferenceWalk(benchmark::State& state, int extrusions)
{
    auto doc = StackedRings(extrusions);
    const int edges = doc->GetEdgeCount();
    std::vector<std::int32_t> from = doc->m_edgeFrom, to = doc->m_edgeTo;
    std::size_t triangles = 0;
    for (auto _ : state) {
        triangles = ReferenceTriangleWalk(from, to).triangles.size();
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["edges"] = edges;
    state.counters["triangles"] = static_cast<double>(triangles);
}

// Connect pressed 3333 times on the same three vertices: 9999 edges, each side of the
// triangle stored 3333 times. Every edge triple closes it; only the marks keep the
// search from visiting them all.
void BM_TriangleSearchRepeatedConnect(benchmark::State& state)
{
    std::vector<std::int32_t> from, to;
    for (int k = 0; k < 3333; ++k) {
        from.insert(from.end(), {2, 1, 0});
        to.insert(to.end(), {1, 0, 2});
    }
    std::vector<std::int32_t> marks(from.size());
    std::size_t triangles = 0;
    for (auto _ : state) {
        triangles = FindTriangles(from, to, marks).size();
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["edges"] = static_cast<double>(from.size());
    state.counters["triangles"] = static_cast<double>(triangles);
}

// The whole export: search, number text, and the atomic write of the file.
void BM_ExportPov(benchmark::State& state, int extrusions)
{
    auto doc = StackedRings(extrusions);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("polydrom-bench-" + std::to_string(::getpid()) + ".pov")).string();
    PovExportResult result;
    for (auto _ : state) {
        result = doc->ExportPov(path);
        if (!result.ok) state.SkipWithError(result.error.c_str());
    }
    std::filesystem::remove(path);
    state.counters["edges"] = doc->GetEdgeCount();
    state.counters["triangles"] = result.triangles;
}

// The other formats, search and write included, for comparison with the union.
void BM_ExportMesh(benchmark::State& state, int extrusions, MeshFormat format)
{
    auto doc = StackedRings(extrusions);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("polydrom-bench-" + std::to_string(::getpid()) + std::string(MeshFormatInfoOf(format).extension)))
                                 .string();
    MeshExportResult result;
    for (auto _ : state) {
        result = doc->ExportMesh(path, format);
        if (!result.ok) state.SkipWithError(result.error.c_str());
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
    state.counters["edges"] = doc->GetEdgeCount();
    state.counters["triangles"] = result.triangles;
}

// 4999 triangles on one side: 2 + 4999 vertices, 1 + 2 * 4999 edges. Every face meets
// every other at that side, which the winding must not pay for in pairs.
void BM_ExportFan(benchmark::State& state)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    auto vertex = [&](float x, float y, float z) {
        const int v = doc->GetVertexCount();
        doc->ResizeModel(v + 1, doc->GetEdgeCount(), 0);
        doc->m_x[v] = x;
        doc->m_y[v] = y;
        doc->m_z[v] = z;
        return v;
    };
    auto edge = [&](int from, int to) {
        const int e = doc->GetEdgeCount();
        doc->ResizeModel(doc->GetVertexCount(), e + 1, 0);
        doc->m_edgeFrom[e] = from;
        doc->m_edgeTo[e] = to;
    };
    edge(vertex(0, 0, -50), vertex(0, 0, 50));
    for (int k = 0; k < 4999; ++k) {
        const int apex = vertex(static_cast<float>(k), 100, 0);
        edge(0, apex);
        edge(apex, 1);
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / ("polydrom-bench-" + std::to_string(::getpid()) + ".stl")).string();
    MeshExportResult result;
    for (auto _ : state) {
        result = doc->ExportMesh(path, MeshFormat::Stl);
        if (!result.ok) state.SkipWithError(result.error.c_str());
    }
    std::filesystem::remove(path);
    state.counters["edges"] = doc->GetEdgeCount();
    state.counters["triangles"] = result.triangles;
}

}  // namespace

// 1000 edges: 40 + 120 * 8; 10000 edges: 40 + 120 * 83.
BENCHMARK_CAPTURE(BM_TriangleSearch, edges_1000, 8)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReferenceWalk, edges_1000, 8)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_TriangleSearch, edges_10000, 83)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TriangleSearchRepeatedConnect)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportPov, edges_1000, 8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportPov, edges_10000, 83)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportMesh, mesh2_edges_10000, 83, MeshFormat::PovMesh2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportMesh, obj_edges_10000, 83, MeshFormat::Obj)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportMesh, stl_edges_10000, 83, MeshFormat::Stl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFan)->Unit(benchmark::kMillisecond);
