// Model commands at full capacity: Select All Connected and Un-connect against their
// plain pass-by-pass renditions, plus the per-click and per-shape costs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>

#include "model/polydrom_doc.h"
#include "model/reference_passes.h"

namespace {

// The size of the models timed here: the capacity the model once had.
constexpr int kBenchModelSize = 10000;

constexpr int kRingSize = 100;

// n vertices in rings of 100, each ring closed by n edges in all: every vertex has two
// edges, and a piece of wireframe is 100 edges long, as a cylinder's ring would be.
std::unique_ptr<CPolydromDoc> Rings(int n)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->ResizeModel(n, n, 0);
    for (int i = 0; i < n; ++i) {
        doc->m_x[i] = float(i % kRingSize);
        doc->m_y[i] = float(i / kRingSize);
        doc->m_z[i] = 0.0f;
        doc->m_sel[i] = 0;
        doc->m_dup[i] = -1;
        const int ring = i - i % kRingSize;
        doc->m_edgeFrom[i] = i;
        doc->m_edgeTo[i] = ring + (i + 1 - ring) % kRingSize;
        doc->m_edgeUsed[i] = 0;
    }
    return doc;
}

void CopyModel(const CPolydromDoc& from, CPolydromDoc& to)
{
    to.m_x = from.m_x;
    to.m_y = from.m_y;
    to.m_z = from.m_z;
    to.m_sel = from.m_sel;
    to.m_dup = from.m_dup;
    to.m_edgeFrom = from.m_edgeFrom;
    to.m_edgeTo = from.m_edgeTo;
    to.m_edgeUsed = from.m_edgeUsed;
    to.m_face = from.m_face;
}

// Times only the command: the model is restored before every run, outside the clock.
template <typename Command>
void TimeOnFreshCopies(benchmark::State& state, const CPolydromDoc& model, Command command)
{
    auto doc = std::make_unique<CPolydromDoc>();
    for (auto _ : state) {
        CopyModel(model, *doc);
        const auto start = std::chrono::steady_clock::now();
        command(*doc);
        const auto stop = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(doc->m_sel[0]);
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    state.counters["edges"] = model.GetEdgeCount();
}

// One vertex selected in every other ring: half the model ends up selected.
std::unique_ptr<CPolydromDoc> SelectConnectedModel(int n)
{
    auto doc = Rings(n);
    for (int i = 0; i < n; i += 2 * kRingSize) doc->m_sel[i + kRingSize / 2] = 1;
    return doc;
}

// Every tenth vertex selected: a tenth of the vertices and a fifth of the edges go, and
// every survivor after the first gap is renumbered.
std::unique_ptr<CPolydromDoc> UnconnectModel(int n)
{
    auto doc = Rings(n);
    for (int i = 3; i < n; i += 10) doc->m_sel[i] = 1;
    return doc;
}

void BM_SelectConnected(benchmark::State& state)
{
    auto model = SelectConnectedModel(static_cast<int>(state.range(0)));
    TimeOnFreshCopies(state, *model, [](CPolydromDoc& doc) { doc.OnDoSelectConnected(); });
}

void BM_SelectConnectedReference(benchmark::State& state)
{
    auto model = SelectConnectedModel(static_cast<int>(state.range(0)));
    TimeOnFreshCopies(state, *model, ReferenceSelectConnected);
}

void BM_Unconnect(benchmark::State& state)
{
    auto model = UnconnectModel(static_cast<int>(state.range(0)));
    TimeOnFreshCopies(state, *model, [](CPolydromDoc& doc) { doc.OnDoUnconnect(); });
}

void BM_UnconnectReference(benchmark::State& state)
{
    auto model = UnconnectModel(static_cast<int>(state.range(0)));
    TimeOnFreshCopies(state, *model, ReferenceUnconnect);
}

// One click at capacity: the pick test visits every vertex.
void BM_ToggleSelectionNear(benchmark::State& state)
{
    auto doc = Rings(kBenchModelSize);
    ViewState view;
    view.cursor[0] = view.cursor[1] = 50.0f;
    for (auto _ : state) {
        doc->ToggleSelectionNear(view);
        benchmark::DoNotOptimize(doc->m_sel[0]);
    }
}

// The largest primitive: a cylinder at resolution 80 (160 vertices, 320 edges).
void BM_CylinderAtResolution80(benchmark::State& state)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->OnResVeryHigh();
    for (auto _ : state) {
        doc->ResizeModel(0, 0, 0);
        doc->OnShapeCylinder(ViewState{});
        benchmark::DoNotOptimize(doc->m_x[159]);
    }
}

}  // namespace

BENCHMARK(BM_SelectConnected)->Arg(1000)->Arg(kBenchModelSize)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectConnectedReference)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
// At capacity the plain passes take a large fraction of a second: a few runs are enough.
BENCHMARK(BM_SelectConnectedReference)
    ->Arg(kBenchModelSize)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unconnect)->Arg(1000)->Arg(kBenchModelSize)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnconnectReference)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnconnectReference)
    ->Arg(kBenchModelSize)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToggleSelectionNear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CylinderAtResolution80)->Unit(benchmark::kMicrosecond);
