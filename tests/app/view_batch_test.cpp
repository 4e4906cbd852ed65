// The headless view in batch mode: clicks, view commands, the view's dump and renders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch_run.h"
#include "golden_image.h"

namespace {

std::vector<std::string> Repeat(int n, const std::string& command)
{
    std::vector<std::string> args;
    for (int k = 0; k < n; ++k) args.insert(args.end(), {"--do", command});
    return args;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(BatchView, ClicksAndViewCommands)
{
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::vector<std::string> lines;  // expected among the dump's lines
    };
    const Case cases[] = {
        {"a click at the centre gives minus the pan, the depth kept",
         {"--do", "view-pan-left", "--click", "400,300"}, {"view-cursor -30 0 0", "cursor -30 0 0"}},
        {"the offset from the centre is divided by the zoom, then the pan subtracted",
         {"--size", "400x300", "--do", "view-zoom-in", "--do", "view-pan-left", "--click", "300,50"},
         {"view-zoom 2", "view-pan 15 0 0", "view-cursor 35 -50 0", "zoom 2", "pan 15 0 0", "cursor 35 -50 0"}},
        {"an odd width puts the centre on a half pixel", {"--size", "401x300", "--click", "200,150"},
         {"view-cursor -0.5 0 0"}},
        {"the coordinate along the viewing axis keeps the last click's value",
         {"--click", "450,320", "--do", "view-axis-x", "--click", "410,250,right"},
         {"v 0 50 -50 10 1", "view-cursor 50 -50 10", "axis 1 0 0"}},
        {"a right click adds a selected vertex, a plain click toggles it",
         {"--click", "410,320,right", "--click", "411,321"}, {"vertices 1", "v 0 10 20 0 0"}},
        {"in move mode a click moves the selection and never toggles",
         {"--click", "400,300,right", "--click", "400,300", "--click", "500,300,right", "--do", "do-move", "--click",
          "400,300"},
         {"v 0 0 0 0 0", "v 1 0 0 0 1", "move 1 1"}},
        {"each move step starts where the last one ended",
         {"--click", "410,320,right", "--click", "300,300", "--do", "do-move", "--click", "400,300", "--click",
          "400,310"},
         {"v 0 110 30 0 1"}},
        {"a vertex added in move mode moves with the selection", {"--do", "do-move", "--click", "430,340,right"},
         {"v 0 60 80 0 1"}},
        {"two presses turn the tool off; the third takes a fresh anchor, which every click advances",
         {"--do", "do-move", "--do", "do-move", "--click", "420,290", "--do", "do-move", "--click", "400,300",
          "--click", "410,300,right"},
         {"v 0 20 0 0 1", "move 1 1"}},
        {"zoom in stops at 100", Repeat(8, "view-zoom-in"), {"view-zoom 100", "zoom 100"}},
        {"zoom out stops at the float nearest 0.001", Repeat(12, "view-zoom-out"), {"view-zoom 0.001"}},
        {"from 0.001 sixteen doublings give 65.536", Repeat(11, "view-zoom-out") + Repeat(16, "view-zoom-in"),
         {"view-zoom 65.536"}},
        {"then 100", Repeat(11, "view-zoom-out") + Repeat(17, "view-zoom-in"), {"view-zoom 100"}},
        {"the pan step is 30 pixels at the zoom", Repeat(7, "view-zoom-in") + Repeat(1, "view-pan-right"),
         {"view-pan -0.3 0 0"}},
        {"at the smallest zoom", Repeat(11, "view-zoom-out") + Repeat(1, "view-pan-left"),
         {"view-pan 29999.998 0 0"}},
        {"each axis pans its own screen coordinates",
         Repeat(2, "view-pan-left") + Repeat(1, "view-pan-up") + Repeat(1, "view-axis-y") + Repeat(1, "view-pan-up") +
             Repeat(1, "view-pan-right") + Repeat(1, "view-axis-x") + Repeat(1, "view-pan-up") +
             Repeat(2, "view-pan-down") + Repeat(1, "view-pan-left"),
         {"view-pan 30 0 60", "pan 30 0 60", "view-axis 1 0 0"}},
        {"an axis command copies the cursor; zoom leaves the copies of cursor and axis",
         {"--click", "410,320", "--do", "view-axis-y", "--do", "view-zoom-in"},
         {"cursor 10 20 0", "axis 0 1 0", "zoom 2", "view-axis 0 1 0"}},
        {"a new model keeps the view and its state", {"--do", "view-zoom-in", "--do", "file-new"},
         {"zoom 2", "view-zoom 2", "move 0 0"}},
    };
    for (const Case& c : cases) {
        const BatchOutcome run = RunBatchSteps(c.args + std::vector<std::string>{"--dump"});
        ASSERT_EQ(run.status, 0) << c.what << ": " << run.err;
        for (const std::string& line : c.lines)
            EXPECT_NE(("\n" + run.out).find("\n" + line + "\n"), std::string::npos) << c.what << ": " << line;
    }
}

// Renders a scene through batch mode and compares it with tests/golden/render/NAME.png.
void ExpectScene(const std::string& name, std::vector<std::string> args)
{
    TempFolder folder;
    args.insert(args.end(), {"--render", folder / "scene.png"});
    const BatchOutcome run = RunBatchSteps(args);
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectGoldenImage("golden/render/" + name + ".png", folder / "scene.png");
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
