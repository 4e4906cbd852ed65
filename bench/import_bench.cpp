// Importing a 10000-vertex OBJ, set beside the library's own command-line tool reading the
// same file: the import (helper process, checks and all) should take at most 1.5 times
// as long as `assimp info`.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mesh_files.h"
#include "model/polydrom_doc.h"

namespace {

// 3333 separate triangles and one lone point: 10000 vertices and 9999 edges, which just
// fit an empty model. Coordinates with six decimals, as modellers write them.
class ObjFile {
public:
    ObjFile()
    {
        std::vector<mesh_files::Point> points;
        std::vector<mesh_files::Face> faces;
        std::uint32_t seed = 1;
        auto next = [&] {
            seed = seed * 1664525u + 1013904223u;
            return float(seed >> 8) / float(1u << 24) * 200.0f - 100.0f;
        };
        for (int t = 0; t < 3333; ++t) {
            for (int k = 0; k < 3; ++k) points.push_back({next(), next(), next()});
            faces.push_back({3 * t, 3 * t + 1, 3 * t + 2});
        }
        points.push_back({next(), next(), next()});
        const std::string text = mesh_files::Obj(points, faces) + "p 10000\n";
        m_path = (std::filesystem::temp_directory_path() / ("polydrom-bench-" + std::to_string(::getpid()) + ".obj"))
                     .string();
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        if (file) {
            std::fwrite(text.data(), 1, text.size(), file);
            std::fclose(file);
        }
    }
    ~ObjFile() { std::filesystem::remove(m_path); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

const ObjFile& TheFile()
{
    static const ObjFile file;
    return file;
}

using Clock = std::chrono::steady_clock;

// One import into an empty model; the time it took.
double ImportOnce(CPolydromDoc& doc, benchmark::State& state)
{
    doc.OnNewDocument();
    const auto start = Clock::now();
    const ImportResult result = doc.ImportMesh(TheFile().Path());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!result.ok) state.SkipWithError(result.error.c_str());
    if (result.vertices != 10000) state.SkipWithError("the file did not give 10000 vertices");
    return seconds;
}

// One run of `assimp info FILE [-r]`, its output thrown away; the time it took.
double AssimpInfoOnce(bool raw, benchmark::State& state)
{
    const std::string command =
        "assimp info '" + TheFile().Path() + "'" + (raw ? " -r" : "") + " > /dev/null 2>&1";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        state.SkipWithError("assimp info failed (is assimp-utils installed?)");
    return seconds;
}

void BM_ImportObj10000(benchmark::State& state)
{
    auto doc = std::make_unique<CPolydromDoc>();
    for (auto _ : state) state.SetIterationTime(ImportOnce(*doc, state));
    state.counters["vertices"] = doc->GetVertexCount();
    state.counters["edges"] = doc->GetEdgeCount();
}

void BM_AssimpInfo(benchmark::State& state, bool raw)
{
    for (auto _ : state) state.SetIterationTime(AssimpInfoOnce(raw, state));
}

// Both in turns, so that they meet the same load on a shared machine; the medians and
// their ratio (the import's time over `assimp info`'s) as counters.
void BM_ImportOverAssimpInfo(benchmark::State& state)
{
    auto doc = std::make_unique<CPolydromDoc>();
    std::vector<double> imports, infos, raws;
    for (auto _ : state) {
        imports.push_back(ImportOnce(*doc, state));
        infos.push_back(AssimpInfoOnce(false, state));
        raws.push_back(AssimpInfoOnce(true, state));
        state.SetIterationTime(imports.back());
    }
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const double import = median(imports), info = median(infos), raw = median(raws);
    state.counters["import_ms"] = import * 1e3;
    state.counters["info_ms"] = info * 1e3;
    state.counters["info_raw_ms"] = raw * 1e3;
    state.counters["ratio"] = import / info;
    state.counters["ratio_raw"] = import / raw;
}

}  // namespace

BENCHMARK(BM_ImportObj10000)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_AssimpInfo, obj_10000, false)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_AssimpInfo, raw_obj_10000, true)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportOverAssimpInfo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
