// The headless view in batch mode: clicks, view commands, the view's dump and renders.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "golden_image.h"

namespace {

struct BatchRun {
    int status;
    std::string out, err;
};

BatchRun Batch(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int status = RunBatch(args, out, err);
    return {status, out.str(), err.str()};
}

bool Has(const BatchRun& run, const std::string& line) { return run.out.find(line + "\n") != std::string::npos; }

TEST(BatchView, ClickMapsThePixelThroughZoomAndPan)
{
    // 400 x 300 at zoom 2 with X panned by 15: (300, 50) is 100 right, 100 up of the centre.
    BatchRun run = Batch({"--size", "400x300", "--do", "view-zoom-in", "--do", "view-pan-left", "--click", "300,50",
                          "--dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run, "view-zoom 2")) << run.out;
    EXPECT_TRUE(Has(run, "view-pan 15 0 0")) << run.out;
    EXPECT_TRUE(Has(run, "view-cursor 35 -50 0")) << run.out;
    EXPECT_TRUE(Has(run, "view-axis 0 0 1")) << run.out;
    EXPECT_TRUE(Has(run, "move 0 0")) << run.out;
    // The document's copies.
    EXPECT_TRUE(Has(run, "zoom 2")) << run.out;
    EXPECT_TRUE(Has(run, "cursor 35 -50 0")) << run.out;
}

TEST(BatchView, RightClickAddsAndTheMoveToolMovesTheSelection)
{
    BatchRun run = Batch({"--click", "410,320,right", "--do", "do-move", "--click", "430,340", "--dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run, "v 0 30 40 0 1")) << run.out;
    EXPECT_TRUE(Has(run, "move 1 1")) << run.out;
    BatchRun off = Batch({"--do", "do-move", "--do", "do-move", "--dump"});
    EXPECT_TRUE(Has(off, "move 0 0")) << off.out;
}

TEST(BatchView, ZoomClampsAndThePanStepAtTheSmallestZoom)
{
    std::vector<std::string> args;
    for (int k = 0; k < 11; ++k) args.insert(args.end(), {"--do", "view-zoom-out"});
    args.insert(args.end(), {"--do", "view-pan-left", "--do", "view-axis-x", "--do", "view-pan-up", "--dump"});
    BatchRun run = Batch(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run, "view-zoom 0.001")) << run.out;
    EXPECT_TRUE(Has(run, "view-pan 29999.998 29999.998 0")) << run.out;
    EXPECT_TRUE(Has(run, "view-axis 1 0 0")) << run.out;
    EXPECT_TRUE(Has(run, "axis 1 0 0")) << run.out;

    std::vector<std::string> in;
    for (int k = 0; k < 7; ++k) in.insert(in.end(), {"--do", "view-zoom-in"});
    in.push_back("--dump");
    EXPECT_TRUE(Has(Batch(in), "view-zoom 100"));
}

TEST(BatchView, BadStepsAndTheClickLimitFail)
{
    for (const std::string size : {"800", "800x", "x600", "-1x600", "8193x10", "80x60x"}) {
        BatchRun run = Batch({"--size", size});
        EXPECT_NE(run.status, 0) << size;
        EXPECT_NE(run.err.find("--size \"" + size + "\""), std::string::npos) << run.err;
    }
    for (const std::string click : {"1", "1,", "a,2", "1,2,left", "1,2,right,"}) {
        BatchRun run = Batch({"--click", click});
        EXPECT_NE(run.status, 0) << click;
        EXPECT_NE(run.err.find("--click \"" + click + "\""), std::string::npos) << run.err;
    }
    BatchRun empty = Batch({"--size", "0x600", "--render", "/tmp/never.png"});
    EXPECT_NE(empty.status, 0);

    // Seven cylinders at the highest resolution hold 1120 vertices: a click adds none.
    std::vector<std::string> args{"--do", "res-very-high"};
    for (int k = 0; k < 7; ++k) args.insert(args.end(), {"--do", "shape-cylinder"});
    args.insert(args.end(), {"--click", "10,10,right"});
    BatchRun full = Batch(args);
    EXPECT_NE(full.status, 0);
    EXPECT_NE(full.err.find("click 10,10,right: No vertex added"), std::string::npos) << full.err;
}

// Renders a scene through batch mode and compares it with tests/golden/render/NAME.png.
void ExpectScene(const std::string& name, std::vector<std::string> args)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("polydrom-test-render-" + name + ".png")).string();
    args.insert(args.end(), {"--render", path});
    BatchRun run = Batch(args);
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectGoldenImage("golden/render/" + name + ".png", path);
    std::remove(path.c_str());
}

TEST(BatchView, GoldenScenes)
{
    ExpectScene("box", {"--do", "shape-box"});
    // Zoomed in until the box's side diagonals cross the window with both ends outside
    // it, cut by the side boundaries and the depth slab.
    ExpectScene("box-crossing",
                {"--do", "shape-box", "--do", "view-zoom-in", "--do", "view-zoom-in", "--do", "view-pan-left"});
    // Looking along X at a cylinder, large enough for the size read-out to show.
    ExpectScene("cylinder-along-x", {"--size", "1024x768", "--do", "res-medium", "--do", "shape-cylinder", "--do",
                                     "view-axis-x", "--do", "view-zoom-in"});
    // A triangle clicked in, one corner deselected, the rest moved with the move tool.
    ExpectScene("move-tool", {"--click", "300,200,right", "--click", "500,250,right", "--click", "450,450,right",
                              "--do", "do-connect", "--click", "300,200", "--do", "do-move", "--click", "420,330"});
}

}  // namespace
