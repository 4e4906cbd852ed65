// Repaints of the view with its insets for big generated meshes, 1920 x 1080: the torus
// grid at 1,000,000 edges (333,500 vertices) and at 3,000,000 edges (1,000,000 vertices),
// every seventh vertex selected; fitted to the window, and zoomed in 8 times. CPU time
// beside wall time, for a shared machine.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "big_mesh.h"
#include "framework/digit_font.h"
#include "framework/raster_dc.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"

namespace {

class BigHost : public CViewHost {
public:
    CRect GetClientRect() const override { return CRect{0, 0, 1920, 1080}; }
    void Invalidate() override {}
};

// The mesh as the program opens it, through its model file.
std::unique_ptr<CPolydromDoc> Load(const BigMesh& m, benchmark::State& state)
{
    auto doc = std::make_unique<CPolydromDoc>();
    const std::string path = WriteTempFile("polydrom-big-view-" + std::to_string(::getpid()) + ".pdm", ModelFileBytes(m));
    const bool opened = doc->OnOpenDocument(path).ok;
    std::filesystem::remove(path);
    // Google Benchmark allows no timing after an error: the caller returns before its loop.
    if (!opened) {
        state.SkipWithError("this build does not open a model of this size");
        doc.reset();
    }
    return doc;
}

void Repaint(benchmark::State& state, float zoom)
{
    const int rings = int(state.range(0)), segments = int(state.range(1));
    auto doc = Load(TorusGrid(rings, segments, 900.0f, 7), state);
    if (!doc) return;
    BigHost host;
    CPolydromView view;
    view.SetHost(&host);
    doc->AddView(&view);
    view.m_state.zoom = zoom;
    CRasterDC dc(1920, 1080);
    dc.SetTextRenderer(DrawDigitText);
    for (auto _ : state) {
        dc.Clear(RGB(255, 255, 255));
        view.OnDraw(&dc);
        benchmark::DoNotOptimize(dc.Pixels());
    }
    state.counters["edges"] = double(doc->GetEdgeCount());
}
void BigViewRepaint(benchmark::State& state) { Repaint(state, 1); }
// Zoomed in 8 times about the model's centre: most vertices and edges lie beyond the window.
void BigViewRepaintZoomedIn(benchmark::State& state) { Repaint(state, 8); }
BENCHMARK(BigViewRepaintZoomedIn)
    ->Args({500, 667})
    ->Args({1000, 1000})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BigViewRepaint)->Args({100, 100})->Args({500, 667})->Args({1000, 1000})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
