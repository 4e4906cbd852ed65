// --render-pov: the solid POV-Ray renders lines up with the wireframe --render draws, on
// every axis, zoomed and panned; and the reasons it gives when it cannot render.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/povray_runner.h"
#include "batch_run.h"
#include "framework/png_image.h"
#include "model/model_fixtures.h"
#include "view/preview_scene.h"

namespace {

// A picture as a set of marked pixels.
struct Mask {
    int width = 0, height = 0;
    std::vector<char> on;
    bool At(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && on[y * width + x]; }
    int Count() const { return int(std::count(on.begin(), on.end(), 1)); }
};

Mask MaskOf(const RasterImage& image, const std::function<bool(std::uint32_t)>& marked)
{
    Mask mask{image.width, image.height, std::vector<char>(image.pixels.size())};
    for (std::size_t i = 0; i < image.pixels.size(); ++i) mask.on[i] = marked(image.pixels[i] & 0xffffff);
    return mask;
}

// The wireframe's edges: black (the vertex marks of a selected model are red).
Mask Edges(const RasterImage& wire)
{
    return MaskOf(wire, [](std::uint32_t p) { return p == 0; });
}

// The solid: everything that differs clearly from the background, the commonest colour.
Mask Solid(const RasterImage& render)
{
    std::map<std::uint32_t, int> counts;
    for (std::uint32_t p : render.pixels) ++counts[p & 0xffffff];
    const std::uint32_t background =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    return MaskOf(render, [background](std::uint32_t p) {
        for (int shift : {0, 8, 16})
            if (std::abs(int(p >> shift & 0xff) - int(background >> shift & 0xff)) > 24) return true;
        return false;
    });
}

bool Near(const Mask& mask, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (mask.At(x + dx, y + dy)) return true;
    return false;
}

// Empty when the solid covers the region the edges outline: every edge pixel lies on or
// beside the solid, and every pixel of the solid's outline on or beside an edge. A
// mirrored, flipped or shifted solid fails one or the other.
std::string CompareRegions(const Mask& edges, const Mask& solid)
{
    if (edges.width != solid.width || edges.height != solid.height) return "the pictures differ in size";
    for (int y = 0; y < edges.height; ++y)
        for (int x = 0; x < edges.width; ++x) {
            if (edges.At(x, y) && !Near(solid, x, y))
                return "edge pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is off the solid";
            const bool outline = solid.At(x, y) && (!solid.At(x - 1, y) || !solid.At(x + 1, y) ||
                                                     !solid.At(x, y - 1) || !solid.At(x, y + 1));
            if (outline && !Near(edges, x, y))
                return "the solid's outline pixel (" + std::to_string(x) + "," + std::to_string(y) +
                       ") is off the edges";
        }
    return "";
}

Mask Transformed(const Mask& m, int (*x)(int, int), int (*y)(int, int))
{
    Mask out{m.width, m.height, std::vector<char>(m.on.size())};
    for (int j = 0; j < m.height; ++j)
        for (int i = 0; i < m.width; ++i) {
            const int si = x(i, m.width), sj = y(j, m.height);
            out.on[j * m.width + i] = m.At(si, sj);
        }
    return out;
}

// A tetrahedron with its right angle at one corner, off the origin: seen along any axis
// it is a right triangle that a mirror image, a flip or a shift would not cover.
constexpr const char* kTetrahedron =
    "-10 -8 -6 0|22 -8 -6 0|-10 14 -6 0|-10 -8 9 0;0-1 1-2 2-0 0-3 1-3 2-3";

TEST(PovRayPreview, SolidCoversTheWireframeOnEveryAxis)
{
    // After --fit and two zooms out the model fills a fifth of the picture; each framing
    // moves it off the centre and keeps it whole.
    const std::vector<std::vector<std::string>> framings = {
        {"--do", "view-axis-x", "--do", "view-zoom-in", "--do", "view-pan-left", "--do", "view-pan-up"},
        {"--do", "view-axis-y", "--do", "view-pan-right", "--do", "view-pan-down"},
        {"--do", "view-axis-z", "--do", "view-zoom-in", "--do", "view-pan-right", "--do", "view-pan-up"},
    };
    for (const auto& framing : framings) {
        TempFolder folder;
        auto doc = ModelFrom(kTetrahedron);
        WriteBytes(folder / "model.pdm", SavedBytes(*doc));
        // --fit leaves the panels, read-out and cursor mark out of --render; the selection
        // draws the vertex marks red, so that black is edges only.
        std::vector<std::string> steps = {folder / "model.pdm", "--size", "161x121", "--fit", "--do", "view-zoom-out",
                                          "--do", "view-zoom-out"};
        steps.insert(steps.end(), framing.begin(), framing.end());
        steps.insert(steps.end(), {"--do", "do-select-all", "--render", folder / "wire.png", "--render-pov",
                                   folder / "solid.png"});
        const BatchOutcome run = RunBatchSteps(steps);
        ASSERT_EQ(run.status, 0) << run.err;
        RasterImage wire, render;
        ASSERT_TRUE(ReadPng(folder / "wire.png", &wire, nullptr));
        ASSERT_TRUE(ReadPng(folder / "solid.png", &render, nullptr));
        const Mask edges = Edges(wire), solid = Solid(render);
        const std::string axis = framing[1];
        ASSERT_GT(edges.Count(), 60) << axis;
        ASSERT_GT(solid.Count(), 300) << axis;
        EXPECT_EQ(CompareRegions(edges, solid), "") << axis;

        // The comparison sees a wrong picture: mirrored, flipped, or two pixels off.
        using Map = int (*)(int, int);
        const std::pair<const char*, std::pair<Map, Map>> wrong[] = {
            {"mirrored", {[](int i, int w) { return w - 1 - i; }, [](int j, int) { return j; }}},
            {"flipped", {[](int i, int) { return i; }, [](int j, int h) { return h - 1 - j; }}},
            {"shifted right", {[](int i, int) { return i - 2; }, [](int j, int) { return j; }}},
            {"shifted down", {[](int i, int) { return i; }, [](int j, int) { return j - 2; }}},
        };
        for (const auto& [name, map] : wrong)
            EXPECT_NE(CompareRegions(edges, Transformed(solid, map.first, map.second)), "") << axis << " " << name;
    }
}

TEST(PovRayPreview, SelectedTrianglesAreTinted)
{
    TempFolder folder;
    // Two triangles side by side; only the left one has all its corners selected.
    auto doc = ModelFrom("-40 -20 0 1|-5 -20 0 1|-40 20 0 1|5 -20 0 0|40 -20 0 0|40 20 0 0;0-1 1-2 2-0 3-4 4-5 5-3");
    WriteBytes(folder / "two.pdm", SavedBytes(*doc));
    const BatchOutcome run =
        RunBatchSteps({folder / "two.pdm", "--size", "100x60", "--render-pov", folder / "two.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    RasterImage image;
    ASSERT_TRUE(ReadPng(folder / "two.png", &image, nullptr));
    auto at = [&](int x, int y) { return image.pixels[std::size_t(y * image.width + x)]; };
    auto reddish = [](std::uint32_t p) { return int(p >> 16 & 0xff) > 2 * int(p >> 8 & 0xff); };
    EXPECT_TRUE(reddish(at(25, 25))) << std::hex << at(25, 25);
    EXPECT_FALSE(reddish(at(80, 25))) << std::hex << at(80, 25);
}

TEST(RenderPov, ModelWithoutTrianglesGetsTheNote)
{
    const BatchOutcome run =
        RunBatchSteps({"--do", "res-low", "--do", "shape-circle", "--render-pov", "/nonexistent/never.png"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(std::string(kNoTrianglesNote)), std::string::npos) << run.err;
}

TEST(RenderPov, PreviewCommandPointsToTheBatchStep)
{
    const BatchOutcome run = RunBatchSteps({"--do", "view-render-preview"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("use --render-pov PATH.png"), std::string::npos) << run.err;
}

TEST(RenderPov, MissingPovRayIsNamed)
{
    TempFolder folder;
    auto doc = ModelFrom("0 0 0 0|10 0 0 0|0 10 0 0;0-1 1-2 2-0");
    WriteBytes(folder / "tri.pdm", SavedBytes(*doc));
    // No povray on this PATH: the program says so instead of rendering.
    const BatchOutcome run = RunShell("PATH=" + Quoted(folder.Path()) + " " + Quoted(POLYDROM_BINARY) + " --batch " +
                                      Quoted(folder / "tri.pdm") + " --render-pov " + Quoted(folder / "tri.png"));
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("Cannot run POV-Ray (povray): No such file or directory"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(folder / "tri.png"));
}

TEST(RenderPov, FailureReasonIsPovRaysOwnErrorLine)
{
    struct Case {
        std::string output;
        int status;
        std::string reason;
    };
    const Case cases[] = {
        {"==== [Parsing...] ====\nFile 'a.pov' line 2: Parse Warning: Pigment type unspecified.\n"
         "File 'a.pov' line 2: Parse Error: No matching } in 'pigment', undeclared\n identifier 'Red' found instead\n"
         "Fatal error in parser: Cannot parse input.\nRender failed\n",
         1, "POV-Ray failed: File 'a.pov' line 2: Parse Error: No matching } in 'pigment', undeclared identifier 'Red' "
            "found instead"},
        {"Possible Parse Error: Cannot find file 'x.pov', even after trying to\n append file type extension.\n"
         "Parse Error: Cannot open input file.\nFatal error in parser: Cannot parse input.\n",
         1, "POV-Ray failed: Parse Error: Cannot open input file."},
        {"Rendered 10 of 100 pixels (10%)\r  Trace Time: 1 second\n\n", 2,
         "POV-Ray failed (exit status 2): Trace Time: 1 second"},
        {"", 139, "POV-Ray failed (exit status 139)"},
    };
    for (const Case& c : cases) EXPECT_EQ(PovRayFailureReason(c.output, c.status), c.reason);

    EXPECT_EQ(PovRayProgress("Rendered 1024 of 120000 pixels (0%)\rRendered 61440 of 120000 pixels (51%)"), 51);
    EXPECT_EQ(PovRayProgress("==== [Parsing...] ===="), -1);
}

}  // namespace

// A render that goes on too long is stopped at the limit with an error that says so,
// and POV-Ray is not left running.
TEST(RenderPov, StopsAtTheRenderTimeout)
{
    TempFolder folder;
    auto doc = ModelFrom("0 0 0 0|10 0 0 0|0 10 0 0;0-1 1-2 2-0");
    WriteBytes(folder / "tri.pdm", SavedBytes(*doc));
    WriteBytes(folder / "povray", std::string("#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 30\n"));
    std::filesystem::permissions(folder / "povray", std::filesystem::perms::owner_all);
    const auto start = std::chrono::steady_clock::now();
    const BatchOutcome run =
        RunShell("PATH=" + Quoted(folder.Path()) + ":$PATH " + Quoted(POLYDROM_BINARY) + " --batch " +
                 Quoted(folder / "tri.pdm") + " --render-timeout 0.3 --render-pov " + Quoted(folder / "tri.png"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_EQ(run.out, "polydrom: --render-pov " + (folder / "tri.png") +
                           ": POV-Ray did not finish within 0.3 seconds and was stopped (--render-timeout SECONDS "
                           "allows longer)\n");
    const std::string pid = ReadText(folder / "povray.pid");
    ASSERT_FALSE(pid.empty());
    EXPECT_NE(::kill(std::stoi(pid), 0), 0) << "POV-Ray still runs";

    // POV-Ray that gives up because its threads were slow to start (a busy machine) is
    // started once more, and only once.
    WriteBytes(folder / "povray", std::string("#!/bin/sh\necho run >> \"$0.runs\"\n"
                                              "echo 'Timed out waiting for worker thread startup'\nexit 1\n"));
    const BatchOutcome busy =
        RunShell("PATH=" + Quoted(folder.Path()) + ":$PATH " + Quoted(POLYDROM_BINARY) + " --batch " +
                 Quoted(folder / "tri.pdm") + " --render-pov " + Quoted(folder / "tri.png"));
    EXPECT_EQ(busy.out, "polydrom: --render-pov " + (folder / "tri.png") +
                            ": POV-Ray failed (exit status 1): Timed out waiting for worker thread startup\n");
    EXPECT_EQ(ReadText(folder / "povray.runs"), "run\nrun\n");

    const BatchOutcome zero = RunBatchSteps({"--render-timeout", "0"});
    EXPECT_EQ(zero.err, "polydrom: --render-timeout \"0\" is not a number of seconds from 0.001 to 604800\n");
}
