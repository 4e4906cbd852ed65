// PNG files of canvases: what is written reads back pixel for pixel; failures name the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "framework/png_image.h"
#include "framework/raster_dc.h"

namespace {

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("polydrom-test-" + name)).string();
}

TEST(PngImage, RoundTripKeepsEveryPixel)
{
    CRasterDC dc(37, 23);
    const CBrush panel{RGB(220, 220, 255)};
    dc.FillRect(CRect{5, 3, 30, 20}, &panel);
    dc.Draw3dRect(4, 2, 27, 19, RGB(0, 0, 0), RGB(80, 80, 80));
    const CPen red{RGB(255, 0, 0), 1};
    dc.SelectObject(&red);
    dc.MoveTo(0, 22);
    dc.LineTo(36, 0);
    dc.SelectObject(static_cast<const CPen*>(nullptr));

    const std::string path = TempPath("round-trip.png");
    std::string error;
    ASSERT_TRUE(WritePng(path, dc.Width(), dc.Height(), dc.Pixels(), &error)) << error;
    RasterImage image;
    ASSERT_TRUE(ReadPng(path, &image, &error)) << error;
    EXPECT_EQ(image.width, 37);
    EXPECT_EQ(image.height, 23);
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>(dc.Pixels(), dc.Pixels() + 37 * 23));
    std::remove(path.c_str());
}

TEST(PngImage, FailuresNameTheFile)
{
    std::string error;
    RasterImage image;
    EXPECT_FALSE(ReadPng("/nonexistent/scene.png", &image, &error));
    EXPECT_NE(error.find("\"/nonexistent/scene.png\""), std::string::npos) << error;

    const std::string garbage = TempPath("garbage.png");
    std::ofstream(garbage) << "not a picture";
    EXPECT_FALSE(ReadPng(garbage, &image, &error));
    EXPECT_NE(error.find(garbage), std::string::npos) << error;
    std::remove(garbage.c_str());

    const std::uint32_t pixel = 0xffffffff;
    EXPECT_FALSE(WritePng("/nonexistent/out.png", 1, 1, &pixel, &error));
    EXPECT_NE(error.find("/nonexistent/out.png"), std::string::npos) << error;
    EXPECT_FALSE(WritePng(TempPath("empty.png"), 0, 5, &pixel, &error));
}

}  // namespace
