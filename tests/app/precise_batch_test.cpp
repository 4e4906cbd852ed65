// Precise modelling through batch mode: typed points and transforms, box selection on
// every axis, the wheel's zoom about the pointer and Zoom to Fit; each edit undone and
// redone exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "batch_run.h"
#include "framework/png_image.h"
#include "test_files.h"

namespace {

using Args = std::vector<std::string>;

Args operator+(Args a, const Args& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Dump(const Args& args)
{
    const BatchOutcome run = RunBatchSteps(args + Args{"--dump"});
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out;
}

bool HasLine(const std::string& dump, const std::string& line)
{
    return ("\n" + dump).find("\n" + line + "\n") != std::string::npos;
}

// The dump's model: its counts, vertices with their selection, and edges.
std::string ModelLines(const std::string& dump)
{
    std::istringstream in(dump);
    std::string model;
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("v ") || line.starts_with("e ") || line.starts_with("vertices ") ||
            line.starts_with("edges "))
            model += line + "\n";
    return model;
}

// The three numbers after a dump line's name ("view-cursor 1 2 3").
std::vector<double> Numbers(const std::string& dump, const std::string& name)
{
    const auto at = ("\n" + dump).find("\n" + name + " ");
    if (at == std::string::npos) return {};
    std::istringstream in(dump.substr(at + name.size() + 1));
    double a = 0, b = 0, c = 0;
    in >> a >> b >> c;
    return {a, b, c};
}

TEST(BatchPrecise, EditsAndTheirUndo)
{
    const struct {
        const char* what;
        Args setup, step;
        std::vector<std::string> lines;  // expected in the dump after the step
    } cases[] = {
        {"a vertex at a typed point", {}, {"--add-vertex", "0.1,-2.5,30000"}, {"v 0 0.1 -2.5 30000 1"}},
        {"a quarter turn along Z is exact", {"--add-vertex", "100,0,0"}, {"--rotate-by", "90"}, {"v 0 0 -100 0 1"}},
        {"along X", {"--add-vertex", "7,0,100", "--do", "view-axis-x"}, {"--rotate-by", "90"}, {"v 0 7 -100 0 1"}},
        {"along Y, about the cursor",
         {"--add-vertex", "20,7,10", "--do", "view-axis-y", "--cursor", "10,0,10"},
         {"--rotate-by", "-90"},
         {"v 0 10 7 20 1"}},
        {"half and whole turns are exact, however many", {"--add-vertex", "3,4,5"}, {"--rotate-by", "-540"},
         {"v 0 -3 -4 5 1"}},
        {"a tenth of 100 is 10, not a float off", {"--add-vertex", "100,-100,0"}, {"--scale-by", "0.1"},
         {"v 0 10 -10 0 1"}},
        {"a move shifts the selection only",
         {"--add-vertex", "1,2,3", "--do", "do-deselect-all", "--add-vertex", "0.1,0,0"},
         {"--move-by", "0.2,-1,0"},
         {"v 0 1 2 3 0", "v 1 0.3 -1 0 1"}},
        {"a scale about the cursor", {"--add-vertex", "2,3,4", "--cursor", "1,1,1"}, {"--scale-by", "2"},
         {"v 0 3 5 7 1"}},
        {"invert", {"--add-vertex", "1,0,0", "--add-vertex", "50,0,0", "--click", "401,300"},
         {"--do", "select-invert"}, {"v 0 1 0 0 1", "v 1 50 0 0 0"}},
        {"a box replaces the selection",
         {"--add-vertex", "10,20,0", "--add-vertex", "-50,0,0"},
         {"--select-box", "405,315,415,325"},
         {"v 0 10 20 0 1", "v 1 -50 0 0 0"}},
    };
    for (const auto& c : cases) {
        const std::string before = Dump(c.setup);
        const std::string after = Dump(c.setup + c.step);
        for (const std::string& line : c.lines) EXPECT_TRUE(HasLine(after, line)) << c.what << ": " << line;
        EXPECT_NE(ModelLines(after), ModelLines(before)) << c.what;
        EXPECT_EQ(ModelLines(Dump(c.setup + c.step + Args{"--do", "edit-undo"})), ModelLines(before)) << c.what;
        EXPECT_EQ(ModelLines(Dump(c.setup + c.step + Args{"--do", "edit-undo", "--do", "edit-redo"})),
                  ModelLines(after))
            << c.what;
    }
}

TEST(BatchPrecise, BadValuesFailWithTheReason)
{
    const struct {
        Args args;
        const char* error;
    } cases[] = {
        {{"--rotate-by", "abc"}, "--rotate-by \"abc\" is not DEGREES, a finite number"},
        {{"--rotate-by", "inf"}, "--rotate-by \"inf\" is not DEGREES, a finite number"},
        {{"--scale-by", "nan"}, "--scale-by \"nan\" is not FACTOR, a finite number"},
        {{"--scale-by", "1e999"}, "--scale-by \"1e999\" is not FACTOR, a finite number"},
        {{"--move-by", "1,2"}, "--move-by \"1,2\" is not DX,DY,DZ, finite numbers separated by commas"},
        {{"--move-by", "1,2,3,4"}, "--move-by \"1,2,3,4\" is not DX,DY,DZ, finite numbers separated by commas"},
        {{"--add-vertex", "1,,2"}, "--add-vertex \"1,,2\" is not X,Y,Z, finite numbers separated by commas"},
        {{"--add-vertex", "1e39,0,0"}, "add-vertex: Add Vertex At refused: the result would leave the range of "
                                       "coordinates."},
        {{"--add-vertex", "3e38,0,0", "--scale-by", "2"},
         "scale-by: Scale By refused: the result would leave the range of coordinates."},
        {{"--select-box", "1,2,3"}, "--select-box \"1,2,3\" is not X0,Y0,X1,Y1"},
        {{"--select-box", "1,2,3,4,toggle"}, "--select-box \"1,2,3,4,toggle\" is not X0,Y0,X1,Y1"},
        {{"--wheel", "1,2,65"}, "--wheel \"1,2,65\" is not X,Y,NOTCHES with notches from -64 to 64"},
        {{"--wheel", "1,2"}, "--wheel \"1,2\" is not X,Y,NOTCHES"},
    };
    for (const auto& c : cases) {
        const BatchOutcome run = RunBatchSteps(c.args);
        EXPECT_NE(run.status, 0) << c.error;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    }
}

TEST(BatchPrecise, BoxSelectionOnEveryAxisWithPanAndZoom)
{
    // Five vertices; each case places the box by the pixels the view draws them at.
    const Args model = {"--add-vertex", "10,20,0",  "--add-vertex", "11,20,0",  "--add-vertex", "10,20,-30",
                        "--add-vertex", "99,20,10", "--add-vertex", "100,5,40", "--do",         "do-deselect-all"};
    const struct {
        const char* what;
        Args view;
        const char* box;
        const char* selection;  // of the five vertices, in order
    } cases[] = {
        // Along Z at zoom 2, panned 15 units left: (10, 20) is drawn at (450, 340), (11, 20)
        // at (452, 340); depth is no matter.
        {"along Z", {"--do", "view-zoom-in", "--do", "view-pan-left"}, "450,340,451,340", "10100"},
        {"corners in any order", {"--do", "view-zoom-in", "--do", "view-pan-left"}, "452,341,450,340", "11100"},
        {"nothing inside", {"--do", "view-zoom-in", "--do", "view-pan-left"}, "453,340,460,350", "00000"},
        // Along X (Z across, Y down) at zoom 2, panned up: (z 10, y 20) at (420, 370).
        {"along X", {"--do", "view-axis-x", "--do", "view-zoom-in", "--do", "view-pan-up"}, "420,370,420,370",
         "00010"},
        // Along Y (X across, Z down) at zoom 0.5, panned right: (x 100, z 40) at (420, 320).
        {"along Y", {"--do", "view-axis-y", "--do", "view-zoom-out", "--do", "view-pan-right"}, "420,320,420,320",
         "00001"},
    };
    for (const auto& c : cases) {
        const std::string dump = Dump(model + c.view + Args{"--select-box", c.box});
        std::string selection;
        for (int i = 0; i < 5; ++i) {
            const auto at = ("\n" + dump).find("\nv " + std::to_string(i) + " ");
            const auto end = dump.find('\n', at);
            selection += dump[end - 1];
        }
        EXPECT_EQ(selection, c.selection) << c.what;
    }
}

TEST(BatchPrecise, BoxSelectionAddsAndRemoves)
{
    // Vertex 0 at pixel (410, 320), vertex 1 at (450, 300), only vertex 1 selected.
    const Args model = {"--add-vertex", "10,20,0", "--do", "do-deselect-all", "--add-vertex", "50,0,0"};
    const struct {
        const char* box;
        const char* lines[2];
    } cases[] = {
        {"400,310,420,330", {"v 0 10 20 0 1", "v 1 50 0 0 0"}},
        {"400,310,420,330,add", {"v 0 10 20 0 1", "v 1 50 0 0 1"}},
        {"400,290,460,310,remove", {"v 0 10 20 0 0", "v 1 50 0 0 0"}},
        {"400,310,420,330,remove", {"v 0 10 20 0 0", "v 1 50 0 0 1"}},
    };
    for (const auto& c : cases) {
        const std::string dump = Dump(model + Args{"--select-box", c.box});
        for (const char* line : c.lines) EXPECT_TRUE(HasLine(dump, line)) << c.box << ": " << line;
    }
}

TEST(BatchPrecise, TheWheelKeepsThePointUnderThePointer)
{
    const struct {
        Args view;
        const char* pointer;
        int notches;
        float zoom;
    } cases[] = {
        {{}, "600,150", 1, 2},
        {{"--do", "view-pan-left", "--do", "view-pan-up"}, "123,457", 3, 8},
        {{"--do", "view-axis-x", "--do", "view-pan-left"}, "700,20", -2, 0.25f},
        {{"--do", "view-axis-y", "--do", "view-zoom-in", "--do", "view-pan-down"}, "10,590", -1, 1},
        {{"--size", "401x301", "--do", "view-axis-y"}, "0,0", 2, 4},
        // At the limit the zoom, and so the pan, stay.
        {{"--do", "view-zoom-in", "--do", "view-zoom-in", "--do", "view-zoom-in", "--do", "view-zoom-in", "--do",
          "view-zoom-in", "--do", "view-zoom-in", "--do", "view-zoom-in"},
         "700,500",
         1,
         100},
    };
    for (const auto& c : cases) {
        const Args click = {"--click", c.pointer};
        const std::string plain = Dump(c.view + click);
        const std::string wheeled =
            Dump(c.view + Args{"--wheel", std::string(c.pointer) + "," + std::to_string(c.notches)} + click);
        EXPECT_EQ(Numbers(wheeled, "view-zoom")[0], c.zoom) << c.pointer;
        EXPECT_EQ(Numbers(wheeled, "zoom")[0], c.zoom) << "the document's copy";
        const std::vector<double> before = Numbers(plain, "view-cursor"), after = Numbers(wheeled, "view-cursor");
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(after[k], before[k], 1e-6 * (1 + std::fabs(before[k]))) << c.pointer;
    }
    // A vertex drawn under the pointer is still drawn there.
    const std::string dump = Dump({"--click", "613,171,right", "--do", "do-deselect-all", "--wheel", "613,171,3",
                                   "--select-box", "613,171,613,171"});
    EXPECT_TRUE(HasLine(dump, "v 0 213 -129 0 1"));
    EXPECT_TRUE(HasLine(dump, "view-zoom 8"));
}

TEST(BatchPrecise, ZoomToFit)
{
    const Args model = {"--add-vertex", "-10,-5,0", "--add-vertex", "30,15,0", "--add-vertex", "0,0,8"};
    const struct {
        const char* what;
        Args steps;
        std::vector<std::string> lines;
    } cases[] = {
        // 40 units across into 0.36 of 800 pixels, clear of the panels; 20 down would allow 27.
        {"along Z, the axis kept", model + Args{"--do", "view-pan-left", "--do", "view-fit"},
         {"view-zoom 7.2", "view-pan -10 -5 -4", "view-axis 0 0 1", "zoom 7.2", "pan -10 -5 -4"}},
        // Along X the 40 units of X are the depth, which must fit 0.9 of the height.
        {"along X", model + Args{"--do", "view-axis-x", "--do", "view-fit"}, {"view-zoom 13.5", "view-axis 1 0 0"}},
        {"one point keeps the zoom", {"--do", "view-zoom-in", "--add-vertex", "5,6,0", "--do", "view-fit"},
         {"view-zoom 2", "view-pan -5 -6 0"}},
        {"an empty model goes home", {"--do", "view-zoom-in", "--do", "view-pan-up", "--do", "view-fit"},
         {"view-zoom 1", "view-pan 0 0 0"}},
    };
    for (const auto& c : cases) {
        const std::string dump = Dump(c.steps);
        for (const std::string& line : c.lines) EXPECT_TRUE(HasLine(dump, line)) << c.what << ": " << line;
    }

    // Every vertex lies left of the panels, which, with the cursor mark, still show.
    TempFolder folder;
    const std::string dump = Dump(model + Args{"--do", "view-fit", "--do", "do-deselect-all", "--select-box",
                                               "0,0,559,599", "--render", folder / "fit.png"});
    for (const char* line : {"v 0 -10 -5 0 1", "v 1 30 15 0 1", "v 2 0 0 8 1"}) EXPECT_TRUE(HasLine(dump, line));
    RasterImage image;
    std::string error;
    ASSERT_TRUE(ReadPng(folder / "fit.png", &image, &error)) << error;
    EXPECT_EQ(image.pixels[100 * image.width + 780] & 0xFFFFFF, 0xDCDCFFu) << "the upper panel";
}

TEST(BatchPrecise, DialogCommandsPointToTheirSteps)
{
    const BatchOutcome run = RunBatchSteps({"--do", "do-transform"});
    EXPECT_NE(run.err.find("use --move-by, --rotate-by or --scale-by"), std::string::npos) << run.err;
}

}  // namespace
