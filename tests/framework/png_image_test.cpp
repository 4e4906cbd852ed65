// PNG files of canvases: what is written reads back pixel for pixel; failures name the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "framework/png_image.h"
#include "framework/raster_dc.h"

TEST(PngImage, RoundTripKeepsEveryPixelAndFailuresNameTheFile)
{
    CRasterDC dc(37, 23);
    const CBrush panel{RGB(220, 220, 255)};
    dc.FillRect(CRect{5, 3, 30, 20}, &panel);
    dc.Draw3dRect(4, 2, 27, 19, RGB(0, 0, 0), RGB(80, 80, 80));
    dc.LineTo(36, 22);

    const std::string path = (std::filesystem::temp_directory_path() / "polydrom-test-round-trip.png").string();
    std::string error;
    ASSERT_TRUE(WritePng(path, dc.Width(), dc.Height(), dc.Pixels(), &error)) << error;
    RasterImage image;
    ASSERT_TRUE(ReadPng(path, &image, &error)) << error;
    EXPECT_EQ(image.width, 37);
    EXPECT_EQ(image.height, 23);
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>(dc.Pixels(), dc.Pixels() + 37 * 23));

    std::ofstream(path) << "not a picture";
    EXPECT_FALSE(ReadPng(path, &image, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    std::remove(path.c_str());
    EXPECT_FALSE(ReadPng("/nonexistent/scene.png", &image, &error));
    EXPECT_NE(error.find("\"/nonexistent/scene.png\""), std::string::npos) << error;
    EXPECT_FALSE(WritePng("/nonexistent/out.png", 1, 1, dc.Pixels(), &error));
    EXPECT_NE(error.find("/nonexistent/out.png"), std::string::npos) << error;
}
