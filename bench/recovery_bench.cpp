// The recovery copy's cost at full capacity (10000 vertices, 10000 edges): the snapshot the
// user-interface thread takes per change (the budget is 1 ms), and the worker's bytes.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/polydrom_doc.h"
#include "model/recovery_copy.h"

namespace {

// The size of the models timed here: the capacity the model once had.
constexpr int kBenchModelSize = 10000;

std::unique_ptr<CPolydromDoc> FullModel()
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->ResizeModel(kBenchModelSize, kBenchModelSize, 0);
    for (int i = 0; i < kBenchModelSize; ++i) {
        doc->m_x[i] = float(i);
        doc->m_y[i] = float(i % 100);
        doc->m_z[i] = -float(i);
        doc->m_sel[i] = i % 2;
        doc->m_edgeFrom[i] = i;
        doc->m_edgeTo[i] = (i + 1) % kBenchModelSize;
    }
    return doc;
}

// As the writer does it: a fresh snapshot per change, handed over and later freed, so
// allocation and release count too.
void BM_RecoverySnapshotPerChange(benchmark::State& state)
{
    auto doc = FullModel();
    for (auto _ : state) {
        auto snapshot = std::make_unique<ModelSnapshot>();
        TakeSnapshot(*doc, snapshot.get());
        // Every array must really be copied: the snapshot escapes, as it does to the worker.
        benchmark::DoNotOptimize(snapshot.get());
        benchmark::ClobberMemory();
    }
    ModelSnapshot copy;
    TakeSnapshot(*doc, &copy);
    state.counters["bytes"] = double(SnapshotBytes(copy).size());
}

// The worker's share before the disk: the file's bytes from the snapshot.
void BM_RecoverySnapshotBytes(benchmark::State& state)
{
    auto doc = FullModel();
    ModelSnapshot snapshot;
    TakeSnapshot(*doc, &snapshot);
    for (auto _ : state) benchmark::DoNotOptimize(SnapshotBytes(snapshot).data());
}

}  // namespace

BENCHMARK(BM_RecoverySnapshotPerChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoverySnapshotBytes)->Unit(benchmark::kMicrosecond);
