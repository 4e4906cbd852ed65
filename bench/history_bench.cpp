// The cost of turning a command into an undoable step, and the memory 100 steps take.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/polydrom_doc.h"

namespace {

// The size of the models timed here: the capacity the model once had.
constexpr int kBenchModelSize = 10000;

// A model at capacity: 10000 vertices, all selected, and 10000 edges.
std::unique_ptr<CPolydromDoc> FullModel()
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    doc->ResizeModel(kBenchModelSize, kBenchModelSize, 0);
    for (int i = 0; i < kBenchModelSize; ++i) {
        doc->m_x[i] = float(i);
        doc->m_y[i] = float(i % 100);
        doc->m_z[i] = 0.0f;
        doc->m_sel[i] = 1;
        doc->m_edgeFrom[i] = i;
        doc->m_edgeTo[i] = (i + 1) % kBenchModelSize;
    }
    doc->CommitStep("Fill");
    return doc;
}

// 100 Grow-sized steps (every coordinate of every vertex changes) on a full model.
void BM_HundredMovesAtCapacity(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = FullModel();
        state.ResumeTiming();
        for (int k = 0; k < 100; ++k) {
            doc->MoveSelected(0.5f, 0.25f, 1.0f);
            doc->CommitStep("Move");
        }
        bytes = doc->History().BytesUsed();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["history_MiB"] = double(bytes) / (1 << 20);
    state.counters["per_step_us"] =
        benchmark::Counter(100, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HundredMovesAtCapacity)->Unit(benchmark::kMillisecond);

// Recording a step that changes one selection state: the common click.
void BM_CommitOneToggleAtCapacity(benchmark::State& state)
{
    auto doc = FullModel();
    int i = 0;
    for (auto _ : state) {
        doc->m_sel[i] ^= 1;
        benchmark::DoNotOptimize(doc->CommitStep("Select"));
        i = (i + 7919) % kBenchModelSize;
    }
}
BENCHMARK(BM_CommitOneToggleAtCapacity)->Unit(benchmark::kMicrosecond);

// Undoing and redoing a full-model step.
void BM_UndoRedoMoveAtCapacity(benchmark::State& state)
{
    auto doc = FullModel();
    doc->MoveSelected(1, 1, 1);
    doc->CommitStep("Move");
    for (auto _ : state) {
        doc->OnEditUndo();
        doc->OnEditRedo();
    }
}
BENCHMARK(BM_UndoRedoMoveAtCapacity)->Unit(benchmark::kMicrosecond);

}  // namespace
