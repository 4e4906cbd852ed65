// The exported file read by a real POV-Ray: a cylinder is exported, included from a
// small scene and rendered headless; the picture must show the red triangles.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "batch_run.h"

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

// The scene names only what the exported union leaves to it: the colour, a camera, a light.
constexpr const char* kScene = R"(#declare Red = rgb <1, 0, 0>;
background { rgb <0, 0, 0> }
camera { location <0, 150, -300> look_at <0, 0, 0> }
light_source { <200, 400, -600> color rgb <1, 1, 1> }
object { #include "object.pov" }
)";

TEST(PovRay, RendersTheExportedCylinder)
{
    TempFolder folder;
    const BatchOutcome exported = RunBatchSteps(
        {"--do", "res-low", "--do", "shape-cylinder", "--export-pov", folder / "object.pov"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    std::ofstream(folder / "scene.pov") << kScene;

    // Headless (-D), tiny, in a folder of its own with its own home, so neither a
    // display nor a user's configuration plays a part.
    const std::string command = "cd " + Quoted(folder.Path()) + " && HOME=" + Quoted(folder.Path()) +
                                " DISPLAY= povray -D +W64 +H48 +FN +Iscene.pov +Oscene.png";
    const BatchOutcome render = RunShell(command);
    ASSERT_EQ(render.status, 0) << render.out;
    EXPECT_EQ(render.out.find("Parse Error"), std::string::npos) << render.out;

    Image image;
    ASSERT_TRUE(DecodePng(folder / "scene.png", &image)) << render.out;
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 48);
    int red = 0;
    for (std::size_t p = 0; p + 3 < image.rgba.size(); p += 4) {
        const int r = image.rgba[p], g = image.rgba[p + 1], b = image.rgba[p + 2];
        if (r > 40 && r > 2 * g && r > 2 * b) ++red;
    }
    // The tube fills a good part of the frame; a blank or black picture has no red at all.
    EXPECT_GT(red, 64 * 48 / 10) << "red pixels: " << red;
}

}  // namespace
