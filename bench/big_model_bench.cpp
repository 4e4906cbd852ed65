// A model of 1,000,000 vertices, 3,000,000 edges and 2,000,000 faces (the torus grid),
// and of 10,000 vertices beside it:
// clicks, selection, undo, whole-model commands, open and save against `cat`, exports,
// import against `assimp info`, memory per vertex and the headless render. Each figure
// is wall time with the process's CPU time beside it (`cpu_ms`), since the machine is shared.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/large_pages.h"
#include "big_mesh.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"
#include "view/preview_scene.h"

namespace {

// Each benchmark runs on the torus of side x side vertices (its argument): 100 gives the
// 10,000 vertices of the small figures, 1000 the million of the big ones.
int Side(const benchmark::State& state) { return int(state.range(0)); }

std::string Temp(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("polydrom-big-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

// The model files written, removed when the run ends (each takes 64 MB at a million vertices).
struct WrittenFiles {
    std::map<int, std::string> paths;
    ~WrittenFiles()
    {
        for (const auto& [side, path] : paths) std::filesystem::remove(path);
    }
};

// The torus as a model file, written once per run and size.
const std::string& ModelPath(int side)
{
    static WrittenFiles written;
    auto& paths = written.paths;
    auto [it, added] = paths.try_emplace(side);
    if (added) {
        it->second = Temp("torus-" + std::to_string(side) + ".pdm");
        WriteTempFile(std::filesystem::path(it->second).filename().string(), ModelFileBytes(TorusGrid(side, side)));
    }
    return it->second;
}

double CpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

using Clock = std::chrono::steady_clock;

// Times the work alone, as wall time (the benchmark's) and CPU time (a counter). The first
// run is shown apart from the later ones: a command that grows the model takes memory the
// process has not used before, which the later runs find kept from the run before.
class Timing {
public:
    explicit Timing(benchmark::State& state) : m_state(state) {}
    void Run(const std::function<void()>& work)
    {
        const double cpu = CpuSeconds();
        const auto start = Clock::now();
        work();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        m_cpu += CpuSeconds() - cpu;
        if (m_runs == 0) m_first = wall;
        ++m_runs;
        m_total += wall;
        m_state.SetIterationTime(wall);
    }
    ~Timing()
    {
        if (m_runs == 0) return;
        m_state.counters["cpu_ms"] = m_cpu / double(m_runs) * 1e3;
        m_state.counters["first_ms"] = m_first * 1e3;
        if (m_runs > 1) m_state.counters["later_ms"] = (m_total - m_first) / double(m_runs - 1) * 1e3;
    }

private:
    benchmark::State& m_state;
    double m_cpu = 0;
    double m_first = 0, m_total = 0;
    int m_runs = 0;
};

// Whether this build opens the big model at all; when not, each benchmark reports so
// and stops before its loop (Google Benchmark allows no timing calls after an error).
bool Refused(benchmark::State& state)
{
    static std::map<int, bool> opens;
    auto [it, added] = opens.try_emplace(Side(state));
    if (added) it->second = std::make_unique<CPolydromDoc>()->OnOpenDocument(ModelPath(Side(state))).ok;
    if (!it->second) state.SkipWithError("this build does not open the model");
    return !it->second;
}

std::unique_ptr<CPolydromDoc> Open(benchmark::State& state)
{
    auto doc = std::make_unique<CPolydromDoc>();
    if (!doc->OnOpenDocument(ModelPath(Side(state)))) state.SkipWithError("the big model did not open");
    return doc;
}

// A command on a fresh copy of the model each time, with `prepare` untimed before it.
void OnFreshModel(benchmark::State& state, const std::function<void(CPolydromDoc&)>& prepare,
                  const std::function<void(CPolydromDoc&)>& command)
{
    if (Refused(state)) return;
    Timing timing(state);
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = Open(state);
        prepare(*doc);
        state.ResumeTiming();
        timing.Run([&] { command(*doc); });
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

// A view along Z whose cursor (the last click) is at the model point.
ViewState PointAt(float x, float y, float z)
{
    ViewState view;
    view.cursor[0] = x;
    view.cursor[1] = y;
    view.cursor[2] = z;
    return view;
}

void Nothing(CPolydromDoc&) {}
void AllSelected(CPolydromDoc& doc)
{
    doc.OnDoSelectAll();
    doc.CommitStep("Select All");
}

// The interactive ones, committed as the window commits them.
#define BIG_COMMAND(name, prepare, body)                                                                    \
    void name(benchmark::State& state) { OnFreshModel(state, prepare, [](CPolydromDoc& doc) { body; }); } \
    BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(100)->Arg(1000)

BIG_COMMAND(BigClickPick, Nothing, doc.ToggleSelectionNear(PointAt(300, 0, 75)); doc.CommitStep("Pick"));
BIG_COMMAND(BigClickAdd, Nothing, doc.AddVertex(1, 2, 3); doc.CommitStep("Add"));
BIG_COMMAND(BigClickMove, [](CPolydromDoc& doc) { doc.ToggleSelectionNear(PointAt(300, 0, 75)); doc.CommitStep("Pick"); },
            doc.MoveSelected(1, 1, 0); doc.CommitStep("Move"));
BIG_COMMAND(BigSelectAll, Nothing, AllSelected(doc));
BIG_COMMAND(BigSelectNone, AllSelected, doc.OnDoDeselectAll(); doc.CommitStep("Select None"));
BIG_COMMAND(BigSelectInvert, Nothing, doc.OnDoSelectInvert(); doc.CommitStep("Invert"));
BIG_COMMAND(BigUndoRedoSmall, [](CPolydromDoc& doc) { doc.AddVertex(1, 2, 3); doc.CommitStep("Add"); },
            doc.OnEditUndo(); doc.OnEditRedo());
BIG_COMMAND(BigSelectConnected, [](CPolydromDoc& doc) { doc.ToggleSelectionNear(PointAt(300, 0, 75)); },
            doc.OnDoSelectConnected(); doc.CommitStep("Connected"));
BIG_COMMAND(BigMoveAll, AllSelected, doc.MoveSelectionBy(1, 2, 3); doc.CommitStep("Move"));
BIG_COMMAND(BigGrowAll, AllSelected, doc.OnDoGrow(ViewState{}); doc.CommitStep("Grow"));
BIG_COMMAND(BigRotateAll, AllSelected, doc.OnDoRotateCcw(ViewState{}); doc.CommitStep("Rotate"));
BIG_COMMAND(BigExtrudeAll, AllSelected, doc.OnDoExtrude(); doc.CommitStep("Extrude"));
BIG_COMMAND(BigCopyAll, AllSelected, doc.OnDoCopy(); doc.CommitStep("Copy"));
BIG_COMMAND(BigConnectAll, AllSelected, doc.OnDoConnect(); doc.CommitStep("Connect"));
BIG_COMMAND(BigUnconnectAll, AllSelected, doc.OnDoUnconnect(); doc.CommitStep("Un-connect"));
BIG_COMMAND(BigMergeAll, AllSelected, doc.MergeVertices(0.001); doc.CommitStep("Merge Vertices"));

// What `cat` needs to read the bytes and write them to a new file: the middle of three
// runs, as the figures beside it are of three. With `flush`, then `sync` flushes the file to
// disk, as a save does before it replaces the old file.
double CatSeconds(const std::string& from, const std::string& to, bool flush = false)
{
    const std::string command = "cat '" + from + "' > '" + to + "'" + (flush ? " && sync '" + to + "'" : "");
    double runs[3];
    for (double& run : runs) {
        std::filesystem::remove(to);
        const auto start = Clock::now();
        if (std::system(command.c_str()) != 0) return -1;
        run = std::chrono::duration<double>(Clock::now() - start).count();
    }
    std::filesystem::remove(to);
    std::sort(runs, runs + 3);
    return runs[1];
}

void BigOpen(benchmark::State& state)
{
    if (Refused(state)) return;
    Timing timing(state);
    for (auto _ : state) {
        auto doc = std::make_unique<CPolydromDoc>();
        timing.Run([&] { (void)doc->OnOpenDocument(ModelPath(Side(state))); });
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["cat_ms"] = CatSeconds(ModelPath(Side(state)), Temp("cat.pdm")) * 1e3;
}
BENCHMARK(BigOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(100)->Arg(1000);

void BigSave(benchmark::State& state)
{
    if (Refused(state)) return;
    auto doc = Open(state);
    Timing timing(state);
    for (auto _ : state) timing.Run([&] { (void)doc->OnSaveDocument(Temp("saved.pdm")); });
    state.counters["cat_ms"] = CatSeconds(ModelPath(Side(state)), Temp("cat.pdm")) * 1e3;
    state.counters["cat_sync_ms"] = CatSeconds(ModelPath(Side(state)), Temp("cat.pdm"), true) * 1e3;
    std::filesystem::remove(Temp("saved.pdm"));
}
BENCHMARK(BigSave)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(100)->Arg(1000);

// The same save into a file system in memory, where the flush waits for no disk: the
// program's own part of a save, beside `cat` of the same bytes there.
void BigSaveInMemory(benchmark::State& state)
{
    const std::filesystem::path memory = "/dev/shm";
    if (Refused(state)) return;
    if (!std::filesystem::is_directory(memory)) {
        state.SkipWithError("no /dev/shm on this machine");
        return;
    }
    const std::string prefix = (memory / ("polydrom-big-" + std::to_string(::getpid()))).string();
    auto doc = Open(state);
    Timing timing(state);
    for (auto _ : state) timing.Run([&] { (void)doc->OnSaveDocument(prefix + "-saved.pdm"); });
    state.counters["cat_ms"] = CatSeconds(ModelPath(Side(state)), prefix + "-cat.pdm") * 1e3;
    std::filesystem::remove(prefix + "-saved.pdm");
}
BENCHMARK(BigSaveInMemory)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(100)->Arg(1000);

void BigExport(benchmark::State& state, MeshFormat format, const char* name)
{
    if (Refused(state)) return;
    auto doc = Open(state);
    Timing timing(state);
    MeshExportResult result;
    for (auto _ : state) timing.Run([&] { result = doc->ExportMesh(Temp(name), format); });
    state.counters["triangles"] = double(result.triangles);
    std::filesystem::remove(Temp(name));
}
BENCHMARK_CAPTURE(BigExport, mesh2, MeshFormat::PovMesh2, "t.inc")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Arg(100)->Arg(1000);
BENCHMARK_CAPTURE(BigExport, obj, MeshFormat::Obj, "t.obj")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Arg(100)->Arg(1000);
BENCHMARK_CAPTURE(BigExport, stl, MeshFormat::Stl, "t.stl")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Arg(100)->Arg(1000);

void BigExportPov(benchmark::State& state)
{
    if (Refused(state)) return;
    auto doc = Open(state);
    Timing timing(state);
    for (auto _ : state) timing.Run([&] { (void)doc->ExportPov(Temp("object.pov")); });
    std::filesystem::remove(Temp("object.pov"));
}
BENCHMARK(BigExportPov)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Arg(100)->Arg(1000);

// Import of the STL the program wrote, beside `assimp info` on the same file.
void BigImportStl(benchmark::State& state)
{
    if (Refused(state)) return;
    const std::string stl = Temp("import.stl");
    (void)Open(state)->ExportMesh(stl, MeshFormat::Stl);
    Timing timing(state);
    for (auto _ : state) {
        auto doc = std::make_unique<CPolydromDoc>();
        doc->OnNewDocument();
        ImportResult result;
        timing.Run([&] { result = doc->ImportMesh(stl); });
        if (!result.ok) state.SkipWithError(result.error.c_str());
    }
    const auto start = Clock::now();
    const int status = std::system(("assimp info '" + stl + "' > /dev/null 2>&1").c_str());
    if (status == 0) state.counters["assimp_info_ms"] = std::chrono::duration<double>(Clock::now() - start).count() * 1e3;
    std::filesystem::remove(stl);
}
BENCHMARK(BigImportStl)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Arg(100)->Arg(1000);

// Wall seconds of a shell command, or -1 when it fails.
double CommandSeconds(const std::string& command)
{
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A mesh another program made: OpenSCAD's sphere of about 2,000,000 triangles and
// 1,000,000 vertices as a binary STL, made once and kept in the temporary folder for
// later runs (it takes OpenSCAD a few seconds). Empty when OpenSCAD is missing.
const std::string& OpenScadSphere()
{
    static const std::string path = [] {
        const std::string stl = (std::filesystem::temp_directory_path() / "polydrom-bench-sphere-1414.stl").string();
        if (std::filesystem::exists(stl)) return stl;
        const std::string scad = Temp("sphere.scad");
        std::FILE* file = std::fopen(scad.c_str(), "w");
        if (!file) return std::string();
        std::fputs("sphere(r = 100, $fn = 1414);\n", file);
        std::fclose(file);
        const std::string made = stl + ".part";
        const bool ok = CommandSeconds("openscad --export-format binstl -o '" + made + "' '" + scad +
                                       "' > /dev/null 2>&1") >= 0;
        std::filesystem::remove(scad);
        if (!ok) return std::string();
        std::filesystem::rename(made, stl);
        return stl;
    }();
    return path;
}

// Import of OpenSCAD's sphere beside `assimp info` on the same file.
void BigImportOpenScad(benchmark::State& state)
{
    const std::string& stl = OpenScadSphere();
    if (stl.empty()) return state.SkipWithError("OpenSCAD made no sphere");
    Timing timing(state);
    ImportResult result;
    for (auto _ : state) {
        auto doc = std::make_unique<CPolydromDoc>();
        doc->OnNewDocument();
        timing.Run([&] { result = doc->ImportMesh(stl); });
        if (!result.ok) state.SkipWithError(result.error.c_str());
        state.counters["vertices"] = doc->GetVertexCount();
    }
    state.counters["assimp_info_ms"] = CommandSeconds("assimp info '" + stl + "' > /dev/null 2>&1") * 1e3;
}
BENCHMARK(BigImportOpenScad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// Opening the model and exporting its STL, beside `assimp export` converting that STL to STL.
void BigOpenAndExportStl(benchmark::State& state)
{
    if (Refused(state)) return;
    const std::string stl = Temp("open-export.stl");
    Timing timing(state);
    for (auto _ : state) {
        auto doc = std::make_unique<CPolydromDoc>();
        timing.Run([&] {
            (void)doc->OnOpenDocument(ModelPath(Side(state)));
            (void)doc->ExportMesh(stl, MeshFormat::Stl);
        });
    }
    state.counters["assimp_export_ms"] =
        CommandSeconds("assimp export '" + stl + "' '" + Temp("assimp.stl") + "' > /dev/null 2>&1") * 1e3;
    std::filesystem::remove(stl);
    std::filesystem::remove(Temp("assimp.stl"));
}
BENCHMARK(BigOpenAndExportStl)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(100)->Arg(1000);

// The resident set, in bytes.
double ResidentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE));
}

// What the model's arrays take, in bytes.
double ArrayBytes(const CPolydromDoc& doc)
{
    double bytes = 0;
    for (const auto* floats : {&doc.m_x, &doc.m_y, &doc.m_z}) bytes += double(floats->capacity()) * 4;
    for (const auto* ints : {&doc.m_sel, &doc.m_dup, &doc.m_edgeFrom, &doc.m_edgeTo, &doc.m_edgeUsed, &doc.m_face})
        bytes += double(ints->capacity()) * 4;
    return bytes;
}

// The resident memory a model adds, per vertex, once it is open: measured in a child
// process of its own, since memory earlier benchmarks freed may still be held by this
// one. The history's copy of the model (the state it compares the next step with) is
// counted apart; the bytes the model's arrays hold beside it.
void BigMemoryPerVertex(benchmark::State& state)
{
    if (Refused(state)) return;
    for (auto _ : state) {
        int channel[2];
        if (::pipe(channel) != 0) return state.SkipWithError("no pipe");
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            // Memory earlier benchmarks freed is still resident, shared with the parent:
            // given back first, so that what the model takes shows as growth.
#ifdef POLYDROM_LARGE_PAGES_LINKED
            ReleaseKeptMemory();
#endif
            ::malloc_trim(0);
            const double before = ResidentBytes();
            auto doc = std::make_unique<CPolydromDoc>();
            const bool opened = doc->OnOpenDocument(ModelPath(Side(state))).ok;
            // The open's own passing arrays, freed, keep their pages for the next command
            // (lazily freed, the system takes them back when memory runs short): shown apart.
            double kept = 0;
#ifdef POLYDROM_LARGE_PAGES_LINKED
            kept = double(KeptMemoryBytes());
            ReleaseKeptMemory();
#endif
            const double after = ResidentBytes();
            const double history = 16.0 * doc->GetVertexCount() + 8.0 * doc->GetEdgeCount() + 12.0 * doc->GetFaceCount();
            const double n = doc->GetVertexCount();
            const double figures[4] = {opened ? (after - before - history) / n : -1, opened ? (after - before) / n : -1,
                                       ArrayBytes(*doc) / n, kept / n};
            (void)!::write(channel[1], figures, sizeof figures);
            ::_exit(0);
        }
        ::close(channel[1]);
        double figures[4] = {-1, -1, -1, -1};
        (void)!::read(channel[0], figures, sizeof figures);
        ::close(channel[0]);
        ::waitpid(child, nullptr, 0);
        state.counters["bytes_per_vertex"] = figures[0];
        state.counters["with_history"] = figures[1];
        state.counters["arrays"] = figures[2];
        state.counters["kept_after_open"] = figures[3];
    }
}
BENCHMARK(BigMemoryPerVertex)->Iterations(1)->Arg(100)->Arg(1000);

// `polydrom --batch MODEL --render OUT.png`, the whole process.
void BigBatchRender(benchmark::State& state)
{
    if (Refused(state)) return;
    const std::string command = std::string(POLYDROM_BINARY) + " --batch '" + ModelPath(Side(state)) + "' --render '" +
                                Temp("render.png") + "' > /dev/null 2>&1";
    for (auto _ : state) {
        const auto start = Clock::now();
        const int status = std::system(command.c_str());
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (status != 0) state.SkipWithError("--render failed");
    }
    std::filesystem::remove(Temp("render.png"));
}
BENCHMARK(BigBatchRender)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Arg(100)->Arg(1000);

// The render preview's scene of the whole model, as the panel asks for one after a change:
// made on a thread of its own (timed) from a copy of the model the window takes (copy_ms).
void BigPreviewScene(benchmark::State& state)
{
    if (Refused(state)) return;
    auto doc = Open(state);
    CPolydromView view;
    doc->AddView(&view);
    Timing timing(state);
    double copySeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto start = Clock::now();
        const PreviewSource source = TakePreviewSource(view);
        copySeconds += std::chrono::duration<double>(Clock::now() - start).count();
        state.ResumeTiming();
        timing.Run([&] { benchmark::DoNotOptimize(BuildPreviewScene(source, 400, 300).text.size()); });
    }
    state.counters["copy_ms"] = copySeconds / double(state.iterations()) * 1e3;
}
BENCHMARK(BigPreviewScene)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Arg(100)->Arg(1000);

}  // namespace
