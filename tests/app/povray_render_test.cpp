// The exported files read by a real POV-Ray: a cylinder is exported as a union and as a
// mesh2, included from a small scene and rendered headless; the picture must show the
// red triangles.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "batch_run.h"
#include "framework/png_image.h"
#include "golden.h"
#include "model/model_fixtures.h"

namespace {

// The scene names only what the export leaves to it: the colour, a camera, a light.
constexpr const char* kSceneStart = R"(#declare Red = rgb <1, 0, 0>;
background { rgb <0, 0, 0> }
camera { location <0, 150, -300> look_at <0, 0, 0> }
light_source { <200, 400, -600> color rgb <1, 1, 1> }
)";

struct Render {
    BatchOutcome run;
    RasterImage image;
    int red = 0;  // pixels clearly red
};

// Renders the scene headless (-D), tiny, in the folder with its own home, so neither
// a display nor a user's configuration plays a part.
Render RenderScene(const TempFolder& folder, const std::string& sceneEnd)
{
    std::ofstream(folder / "scene.pov") << kSceneStart << sceneEnd;
    Render render;
    const std::string command = "cd " + Quoted(folder.Path()) + " && HOME=" + Quoted(folder.Path()) +
                                " DISPLAY= povray -D +W64 +H48 +FN +Iscene.pov +Oscene.png";
    render.run = RunShell(command);
    if (render.run.status != 0 || !ReadPng(folder / "scene.png", &render.image, nullptr)) return render;
    for (std::uint32_t p : render.image.pixels) {
        const int r = p >> 16 & 0xff, g = p >> 8 & 0xff, b = p & 0xff;
        if (r > 40 && r > 2 * g && r > 2 * b) ++render.red;
    }
    return render;
}

void ExpectRedCylinder(const Render& render)
{
    ASSERT_EQ(render.run.status, 0) << render.run.out;
    EXPECT_EQ(render.run.out.find("Parse Error"), std::string::npos) << render.run.out;
    EXPECT_EQ(render.image.width, 64) << render.run.out;
    EXPECT_EQ(render.image.height, 48);
    // The tube fills a good part of the frame; a blank or black picture has no red at all.
    EXPECT_GT(render.red, 64 * 48 / 10) << "red pixels: " << render.red;
}

TEST(PovRay, RendersTheExportedCylinder)
{
    TempFolder folder;
    const BatchOutcome exported = RunBatchSteps(
        {"--do", "res-low", "--do", "shape-cylinder", "--export-pov", folder / "object.pov"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    ExpectRedCylinder(RenderScene(folder, "object { #include \"object.pov\" }\n"));
}

TEST(PovRay, RendersTheCylinderExportedAsMesh2)
{
    TempFolder folder;
    const BatchOutcome exported =
        RunBatchSteps({"--do", "res-low", "--do", "shape-cylinder", "--export", folder / "tube.inc"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    ExpectRedCylinder(RenderScene(folder, "#include \"tube.inc\"\nobject { Polydrom_Object }\n"));
}

TEST(PovRay, ReadsMesh2NumbersInExponentForm)
{
    // Coordinates whose shortest text needs an exponent, and a face without area.
    TempFolder folder;
    auto doc = ModelFrom("1e-30 -2.5e-07 0 1|123456.78 3e+10 -1e-05 1|-0 0.33333334 7e-45 1|1 1 1 1;0-1 1-2 2-0 3-3 3-3 3-3");
    ASSERT_TRUE(doc->ExportMesh(folder / "odd.inc", MeshFormat::PovMesh2).ok);
    ASSERT_NE(ReadText(folder / "odd.inc").find("e-07"), std::string::npos);
    const Render render = RenderScene(folder, "#include \"odd.inc\"\nobject { Polydrom_Object }\n");
    EXPECT_EQ(render.run.status, 0) << render.run.out;
    EXPECT_EQ(render.run.out.find("Parse Error"), std::string::npos) << render.run.out;
}

}  // namespace
