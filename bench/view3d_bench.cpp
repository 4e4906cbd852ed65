// The 3-D view on Mesa's software renderer at 800x600: a frame after the camera turned
// (nothing sent to the card) of 100,000 and of 1,000,000 triangles, the upload after a
// small edit of a 100,000-triangle mesh, and building the arrays of the largest model
// the model's arrays hold. The big meshes are made here: the model holds 10,000 edges.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include "app/shell/shaded_renderer.h"
#include "gui_app.h"
#include "model/model_fixtures.h"
#include "view/shaded_mesh.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

// A rolling height field of squares cut by diagonals, as the view's arrays hold it.
ShadedMesh Terrain(int triangles)
{
    ShadedMesh mesh;
    const int side = int(std::sqrt(triangles / 2.0));
    auto height = [](int i, int j) { return float(3 * std::sin(i * 0.05) * std::cos(j * 0.04)); };
    mesh.corners.reserve(std::size_t(side) * side * 6 * ShadedMesh::kCornerFloats);
    auto corner = [&](int i, int j) {
        mesh.corners.insert(mesh.corners.end(), {float(i), float(j), height(i, j), 0.0f});
    };
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            corner(i, j);
            corner(i + 1, j);
            corner(i + 1, j + 1);
            corner(i, j);
            corner(i + 1, j + 1);
            corner(i, j + 1);
        }
    mesh.triangles = side * side * 2;
    mesh.bounds = BoundsOf(mesh.corners, ShadedMesh::kCornerFloats);
    return mesh;
}

// A context, a framebuffer of the view's size and the renderer, made once.
struct Gl {
    Gl()
    {
        context.setFormat(ShadedSurfaceFormat());
        ok = context.create();
        surface.setFormat(context.format());
        surface.create();
        ok = ok && context.makeCurrent(&surface);
        if (!ok) {
            why = "no OpenGL context (run under an X display)";
            return;
        }
        target = std::make_unique<QOpenGLFramebufferObject>(kWidth, kHeight, QOpenGLFramebufferObject::Depth);
        target->bind();
        QString reason;
        ok = renderer.Initialize(&reason);
        why = reason.toStdString();
    }
    std::string why;
    QOpenGLContext context;
    QOffscreenSurface surface;
    std::unique_ptr<QOpenGLFramebufferObject> target;
    CShadedRenderer renderer;
    bool ok = false;
};

Gl& TheGl()
{
    EnsureBenchApplication();  // before the context and surface exist
    static Gl gl;
    return gl;
}

void BM_View3dFrameAfterOrbit(benchmark::State& state)
{
    Gl& gl = TheGl();
    if (!gl.ok) {
        state.SkipWithError(gl.why.c_str());
        return;
    }
    const ShadedMesh mesh = Terrain(int(state.range(0)));
    gl.renderer.Upload(mesh);
    OrbitCamera camera;
    camera.SnapToAxis(2, false);
    camera.Turn(30, 35);
    camera.Fit(mesh.bounds, kWidth, kHeight);
    for (auto _ : state) {
        camera.Orbit(2, 1);
        gl.renderer.Draw(camera, kWidth, kHeight);
        gl.context.functions()->glFinish();
    }
    state.counters["triangles"] = mesh.triangles;
}
BENCHMARK(BM_View3dFrameAfterOrbit)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A small edit moves one corner: what is sent, and the frame that shows it.
void BM_View3dUploadAfterSmallEdit(benchmark::State& state)
{
    Gl& gl = TheGl();
    if (!gl.ok) {
        state.SkipWithError(gl.why.c_str());
        return;
    }
    ShadedMesh mesh = Terrain(100000);
    gl.renderer.Upload(mesh);
    OrbitCamera camera;
    camera.Fit(mesh.bounds, kWidth, kHeight);
    std::size_t sent = 0;
    float offset = 0;
    for (auto _ : state) {
        offset = offset > 0 ? 0.0f : 0.5f;
        mesh.corners[mesh.corners.size() / 2 + 2] = offset;
        sent = gl.renderer.Upload(mesh);
        gl.renderer.Draw(camera, kWidth, kHeight);
        gl.context.functions()->glFinish();
    }
    state.counters["bytes_sent"] = double(sent);
}
BENCHMARK(BM_View3dUploadAfterSmallEdit)->Unit(benchmark::kMillisecond)->UseRealTime();

// Finding, winding and laying out the triangles of a model filling its 10,000 edges.
void BM_View3dBuildArrays(benchmark::State& state)
{
    auto doc = std::make_unique<CPolydromDoc>();
    doc->OnNewDocument();
    constexpr int columns = 58, rows = 56;  // 3 edges a square: just under 10,000 edges
    auto at = [](int i, int j) { return j * (columns + 1) + i; };
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i) Vertex(*doc, float(i), float(j), float(std::sin(i * 0.3)));
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i) {
            if (i < columns) Edges(*doc, {{at(i, j), at(i + 1, j)}});
            if (j < rows) Edges(*doc, {{at(i, j), at(i, j + 1)}});
            if (i < columns && j < rows) Edges(*doc, {{at(i, j), at(i + 1, j + 1)}});
        }
    int triangles = 0;
    for (auto _ : state) {
        const ShadedMesh mesh = BuildShadedMesh(CopyModel(*doc));
        triangles = mesh.triangles;
        benchmark::DoNotOptimize(mesh.corners.data());
    }
    state.counters["triangles"] = triangles;
    state.counters["edges"] = doc->GetEdgeCount();
}
BENCHMARK(BM_View3dBuildArrays)->Unit(benchmark::kMillisecond);

}  // namespace
