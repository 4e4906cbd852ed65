// The golden-file helpers: a mismatch leaves the actual output (and a difference
// picture) beside the golden file, a pass cleans them away, promotion rewrites it.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/png_image.h"
#include "golden.h"
#include "golden_image.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

// The helpers take paths below tests/; a scratch folder is reached from there.
std::string BelowTests(const std::string& absolute)
{
    return fs::relative(absolute, POLYDROM_TEST_DIR).generic_string();
}

bool Exists(const std::string& path) { return fs::exists(path); }

// Turns promotion on for one scope.
class Promoting {
public:
    Promoting() { ::setenv("POLYDROM_PROMOTE_GOLDEN", "1", 1); }
    ~Promoting() { ::unsetenv("POLYDROM_PROMOTE_GOLDEN"); }
};

void WriteImage(const std::string& path, std::uint32_t corner)
{
    std::vector<std::uint32_t> pixels(4 * 3, 0xffffffffu);
    pixels[11] = corner;
    std::string error;
    ASSERT_TRUE(WritePng(path, 4, 3, pixels.data(), &error)) << error;
}

}  // namespace

TEST(GoldenHelpers, SiblingNamesKeepTheExtension)
{
    EXPECT_EQ(GoldenSibling("golden/batch/box.txt"), "golden/batch/box.out.txt");
    EXPECT_EQ(GoldenSibling("golden/render/box.png", ".diff"), "golden/render/box.diff.png");
    EXPECT_EQ(GoldenSibling("golden.v2/plain"), "golden.v2/plain.out");
}

TEST(GoldenHelpers, MismatchWritesTheOutputAndAPassRemovesIt)
{
    TempFolder folder;
    const std::string golden = folder / "case.txt", out = folder / "case.out.txt";
    WriteBytes(golden, std::string("expected\n"));
    EXPECT_NONFATAL_FAILURE(ExpectGolden(BelowTests(golden), "actual\n"), "output differs");
    EXPECT_EQ(ReadText(out), "actual\n");
    EXPECT_EQ(ReadText(golden), "expected\n");

    ExpectGolden(BelowTests(golden), "expected\n");
    EXPECT_FALSE(Exists(out)) << "a stale output outlived the passing run";
}

TEST(GoldenHelpers, PromotionRewritesTheGoldenFileAndPasses)
{
    TempFolder folder;
    const std::string golden = folder / "case.txt";
    WriteBytes(golden, std::string("old\n"));
    {
        Promoting promoting;
        ExpectGolden(BelowTests(golden), "new\n");
        ExpectGolden(BelowTests(folder / "created.txt"), "first\n");
    }
    EXPECT_EQ(ReadText(golden), "new\n");
    EXPECT_EQ(ReadText(folder / "created.txt"), "first\n");
    EXPECT_FALSE(Exists(folder / "case.out.txt"));
}

TEST(GoldenHelpers, ImageMismatchMarksTheDifferingPixelsRed)
{
    TempFolder folder;
    const std::string golden = folder / "scene.png", actual = folder / "rendered.png";
    WriteImage(golden, 0xff000000u);
    WriteImage(actual, 0xff00ff00u);
    EXPECT_NONFATAL_FAILURE(ExpectGoldenImage(BelowTests(golden), actual), "1 pixels differ");

    RasterImage out, diff;
    std::string error;
    ASSERT_TRUE(ReadPng(folder / "scene.out.png", &out, &error)) << error;
    EXPECT_EQ(out.pixels[11], 0xff00ff00u);
    ASSERT_TRUE(ReadPng(folder / "scene.diff.png", &diff, &error)) << error;
    for (std::size_t i = 0; i < diff.pixels.size(); ++i)
        EXPECT_EQ(diff.pixels[i] == 0xffff0000u, i == 11) << "pixel " << i;

    ExpectGoldenImage(BelowTests(golden), golden);
    EXPECT_FALSE(Exists(folder / "scene.out.png"));
    EXPECT_FALSE(Exists(folder / "scene.diff.png"));
}

TEST(GoldenHelpers, ImagesOfAnotherSizeFailWithoutADifferencePicture)
{
    TempFolder folder;
    const std::string golden = folder / "scene.png", actual = folder / "rendered.png";
    WriteImage(golden, 0xff000000u);
    std::vector<std::uint32_t> wide(5 * 3, 0xffffffffu);
    std::string error;
    ASSERT_TRUE(WritePng(actual, 5, 3, wide.data(), &error)) << error;
    EXPECT_NONFATAL_FAILURE(ExpectGoldenImage(BelowTests(golden), actual), "size 5x3 instead of 4x3");
    EXPECT_TRUE(Exists(folder / "scene.out.png"));
    EXPECT_FALSE(Exists(folder / "scene.diff.png"));
}
