// The render preview: from a change of the view to the new picture on a 1000-triangle
// model in a 400x300 panel without antialiasing, through the panel's own renderer (the
// quiet spell that coalesces changes included, and without it), the batch render for
// comparison, and the scene text alone.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>

#include "app/povray_runner.h"
#include "gui_app.h"
#include "app/shell/preview_renderer.h"
#include "model/model_fixtures.h"
#include "view/polydrom_view.h"
#include "view/preview_scene.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;

// A rolling height field of 25 x 20 squares, each cut by a diagonal: 1000 triangles.
struct Terrain {
    Terrain()
    {
        doc->OnNewDocument();
        constexpr int columns = 25, rows = 20;
        auto at = [](int i, int j) { return j * (columns + 1) + i; };
        for (int j = 0; j <= rows; ++j)
            for (int i = 0; i <= columns; ++i)
                Vertex(*doc, float(i - columns / 2), float(j - rows / 2),
                       float(3 * std::sin(i * 0.4) * std::cos(j * 0.3)));
        for (int j = 0; j <= rows; ++j)
            for (int i = 0; i <= columns; ++i) {
                if (i < columns) Edges(*doc, {{at(i, j), at(i + 1, j)}});
                if (j < rows) Edges(*doc, {{at(i, j), at(i, j + 1)}});
                if (i < columns && j < rows) Edges(*doc, {{at(i, j), at(i + 1, j + 1)}});
            }
        doc->AddView(&view);
        view.m_state.zoom = 12;
    }
    std::unique_ptr<CPolydromDoc> doc = std::make_unique<CPolydromDoc>();
    CPolydromView view;
};

void BM_PreviewScene(benchmark::State& state)
{
    Terrain terrain;
    int triangles = 0;
    for (auto _ : state) {
        const PreviewScene scene = BuildPreviewScene(terrain.view, kWidth, kHeight);
        triangles = scene.triangles;
        benchmark::DoNotOptimize(scene.text.data());
    }
    state.counters["triangles"] = triangles;
}
BENCHMARK(BM_PreviewScene)->Unit(benchmark::kMillisecond);

// A pan of one pixel, then the event loop runs until the new picture is there.
void BM_PreviewChangeToPicture(benchmark::State& state)
{
    EnsureBenchApplication();
    Terrain terrain;
    CPreviewRenderer renderer([&] {
        return [source = TakePreviewSource(terrain.view)] {
            const PreviewScene scene = BuildPreviewScene(source, kWidth, kHeight);
            return PreviewJob{QString(), scene.text, kWidth, kHeight, false};
        };
    });
    if (state.range(0) == 0) renderer.SetDelay(0);
    QEventLoop loop;
    int pictures = 0;
    QObject::connect(&renderer, &CPreviewRenderer::PictureReady, &loop, [&](const QImage&) {
        ++pictures;
        loop.quit();
    });
    QObject::connect(&renderer, &CPreviewRenderer::NoteReady, &loop, [&](const QString& note) {
        state.SkipWithError(note.toStdString().c_str());
        loop.quit();
    });
    float step = 1.0f / terrain.view.m_state.zoom;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        terrain.view.m_state.pan[0] += step;
        step = -step;
        renderer.Changed();
        loop.exec();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        // The next change comes once this render's POV-Ray has ended.
        while (renderer.IsRendering()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.counters["pictures"] = pictures;
}
// Argument: the quiet spell that coalesces changes on (1, as the panel runs) or off (0).
BENCHMARK(BM_PreviewChangeToPicture)->Arg(1)->Arg(0)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

// Batch mode's render waits for POV-Ray to end, which takes a while after the picture.
void BM_BatchRenderPov(benchmark::State& state)
{
    Terrain terrain;
    const PreviewScene scene = BuildPreviewScene(terrain.view, kWidth, kHeight);
    for (auto _ : state) {
        const PovRayPicture picture = RunPovRay(scene.text, kWidth, kHeight, false);
        if (!picture.ok) state.SkipWithError(picture.error.c_str());
    }
}
BENCHMARK(BM_BatchRenderPov)->UseRealTime()->Iterations(4)->Unit(benchmark::kMillisecond);

}  // namespace
