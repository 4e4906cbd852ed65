// The exported files read by a real POV-Ray: a cylinder is exported as a union and as a
// mesh2, included from a small scene and rendered headless; the picture must show the
// red triangles.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "batch_run.h"
#include "golden.h"
#include "model_file.h"

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

bool DecodePng(const std::string& path, Image* image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGBA;
    image->width = static_cast<int>(png.width);
    image->height = static_cast<int>(png.height);
    image->rgba.resize(PNG_IMAGE_SIZE(png));
    return png_image_finish_read(&png, nullptr, image->rgba.data(), 0, nullptr) != 0;
}

// The scene names only what the export leaves to it: the colour, a camera, a light.
constexpr const char* kSceneStart = R"(#declare Red = rgb <1, 0, 0>;
background { rgb <0, 0, 0> }
camera { location <0, 150, -300> look_at <0, 0, 0> }
light_source { <200, 400, -600> color rgb <1, 1, 1> }
)";

struct Render {
    BatchOutcome run;
    Image image;
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
    if (render.run.status != 0 || !DecodePng(folder / "scene.png", &render.image)) return render;
    for (std::size_t p = 0; p + 3 < render.image.rgba.size(); p += 4) {
        const int r = render.image.rgba[p], g = render.image.rgba[p + 1], b = render.image.rgba[p + 2];
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
    WriteModelFile(folder / "model.pdm",
                   {{1e-30f, -2.5e-7f, 0}, {123456.78f, 3e10f, -1e-5f}, {-0.0f, 1.0f / 3, 7e-45f}, {1, 1, 1}},
                   {{0, 1}, {1, 2}, {2, 0}, {3, 3}, {3, 3}, {3, 3}});
    const BatchOutcome exported = RunBatchSteps({folder / "model.pdm", "--export", folder / "odd.inc"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    ASSERT_NE(ReadText(folder / "odd.inc").find("e-07"), std::string::npos);
    const Render render = RenderScene(folder, "#include \"odd.inc\"\nobject { Polydrom_Object }\n");
    EXPECT_EQ(render.run.status, 0) << render.run.out;
    EXPECT_EQ(render.run.out.find("Parse Error"), std::string::npos) << render.run.out;
}

}  // namespace
