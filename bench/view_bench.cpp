// Full repaints of the view for a model at capacity into a 1920 x 1080 raster canvas.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "framework/digit_font.h"
#include "framework/raster_dc.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"

namespace {

// The size of the models timed here: the capacity the model once had.
constexpr int kBenchModelSize = 10000;

class BenchHost : public CViewHost {
public:
    CRect GetClientRect() const override { return CRect{0, 0, 1920, 1080}; }
    void Invalidate() override {}
};

// 10000 vertices on a 100 x 100 grid spread over the whole window, at depths within the
// slab, every other one selected. Mesh edges join grid neighbours (short edges, as
// primitives make them); random edges join any two vertices (long lines across the window).
std::unique_ptr<CPolydromDoc> ModelAtCapacity(bool randomEdges)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    std::mt19937 random(1);
    std::uniform_real_distribution<float> depth(-500, 500);
    std::uniform_int_distribution<int> vertex(0, kBenchModelSize - 1);
    doc->ResizeModel(kBenchModelSize, kBenchModelSize, 0);
    for (int i = 0; i < kBenchModelSize; ++i) {
        doc->m_x[i] = -960.0f + 19.2f * float(i % 100) + 9.6f;
        doc->m_y[i] = -540.0f + 10.8f * float(i / 100) + 5.4f;
        doc->m_z[i] = depth(random);
        doc->m_sel[i] = i % 2;
        doc->m_dup[i] = -1;
    }
    for (int e = 0; e < kBenchModelSize; ++e) {
        doc->m_edgeFrom[e] = randomEdges ? vertex(random) : e;
        doc->m_edgeTo[e] = randomEdges ? vertex(random) : e % 100 != 99 ? e + 1 : (e + 100) % kBenchModelSize;
        doc->m_edgeUsed[e] = 0;
    }
    return doc;
}

// One repaint as the window makes it: erase to white, then OnDraw.
void ViewRepaint(benchmark::State& state)
{
    auto doc = ModelAtCapacity(state.range(0) != 0);
    BenchHost host;
    CPolydromView view;
    view.SetHost(&host);
    doc->AddView(&view);
    CRasterDC dc(1920, 1080);
    dc.SetTextRenderer(DrawDigitText);
    for (auto _ : state) {
        dc.Clear(RGB(255, 255, 255));
        view.OnDraw(&dc);
        benchmark::DoNotOptimize(dc.Pixels());
    }
}
BENCHMARK(ViewRepaint)->ArgName("random_edges")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
