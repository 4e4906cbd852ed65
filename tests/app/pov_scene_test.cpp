// The scene the help page and the README give for an export, rendered by POV-Ray: the
// model must land where the view along Z draws it, neither mirrored nor upside down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "batch_run.h"
#include "framework/png_image.h"
#include "test_files.h"
#include "view/scene.h"

namespace {

std::string Unescaped(std::string html)
{
    const std::pair<std::string, std::string> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& [entity, text] : entities)
        for (auto at = html.find(entity); at != std::string::npos; at = html.find(entity, at + text.size()))
            html.replace(at, entity.size(), text);
    return html;
}

// The text between `open` and `close` that holds `mark`, or "" when there is none.
std::string BlockHolding(const std::string& text, const std::string& open, const std::string& close,
                         const std::string& mark)
{
    for (auto at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        const auto begin = at + open.size(), end = text.find(close, begin);
        if (end == std::string::npos) break;
        const std::string block = text.substr(begin, end - begin);
        if (block.find(mark) != std::string::npos) return block;
    }
    return "";
}

struct Box {
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    double x = 0, y = 0;  // centre of the points (of the corners; of the pixels)
};

// An asymmetric triangle off the centre, with the right angle at its upper left corner
// as the view draws it: a mirrored, flipped or turned picture puts it elsewhere.
constexpr float kCorners[3][3] = {{100, -200, 30}, {300, -200, 30}, {100, -50, 30}};

// The corners where the view along Z draws them in an 800 x 600 window at zoom 1.
Box DrawnCorners()
{
    Scene scene(800, 600);
    for (const auto& c : kCorners) scene.Vertex(c[0], c[1], c[2]);
    scene.Edge(0, 1);
    scene.Edge(1, 2);
    scene.Edge(2, 0);
    Box box;
    for (const std::string& line : scene.EdgeLines()) {
        int x0, y0, x1, y1;
        EXPECT_EQ(std::sscanf(line.c_str(), "(%d,%d)-(%d,%d)", &x0, &y0, &x1, &y1), 4) << line;
        // Each edge's first end is one corner: together, the three.
        box.left = std::min(box.left, double(x0));
        box.right = std::max(box.right, double(x0));
        box.top = std::min(box.top, double(y0));
        box.bottom = std::max(box.bottom, double(y0));
        box.x += x0 / 3.0;
        box.y += y0 / 3.0;
    }
    return box;
}

// The red pixels of a render, scaled to the view's 800 pixels across.
Box RedPixels(const RasterImage& image)
{
    const double scale = 800.0 / image.width;
    Box box;
    int count = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            const int r = p >> 16 & 0xff, g = p >> 8 & 0xff, b = p & 0xff;
            if (r < 40 || r < 2 * g || r < 2 * b) continue;
            const double px = (x + 0.5) * scale, py = (y + 0.5) * scale;
            box.left = std::min(box.left, px);
            box.right = std::max(box.right, px);
            box.top = std::min(box.top, py);
            box.bottom = std::max(box.bottom, py);
            box.x += px;
            box.y += py;
            ++count;
        }
    EXPECT_GT(count, 100) << "hardly any red in the picture";
    box.x /= std::max(count, 1);
    box.y /= std::max(count, 1);
    return box;
}

TEST(PovRayScene, TheDocumentedSceneShowsTheExportAsTheViewDoes)
{
    const std::string source = std::string(POLYDROM_TEST_DIR) + "/../";
    const std::string help = ReadText(source + "src/app/shell/resources/help/index.html");
    const std::string scene = Unescaped(BlockHolding(help, "<pre>", "</pre>", "#include \"object.pov\""));
    ASSERT_NE(scene, "") << "the help page shows no scene including object.pov";
    // The README gives the same scene.
    EXPECT_EQ(BlockHolding(ReadText(source + "README.md"), "```pov\n", "```", "#include \"object.pov\""), scene + "\n");

    auto doc = NewDoc();
    for (const auto& c : kCorners) Vertex(*doc, c[0], c[1], c[2]);
    Edges(*doc, {{0, 1}, {1, 2}, {2, 0}});
    TempFolder folder;
    ASSERT_TRUE(doc->ExportPov(folder / "object.pov").ok);
    ASSERT_TRUE(doc->ExportMesh(folder / "model.inc", MeshFormat::PovMesh2).ok);
    const std::string mesh2Scene = scene.substr(0, scene.rfind("#include")) +
                                   "#include \"model.inc\"\nobject { Polydrom_Object }\n";

    const Box drawn = DrawnCorners();
    for (const std::string& text : {scene, mesh2Scene}) {
        std::ofstream(folder / "scene.pov") << text << "\n";
        // Headless (-D), in the folder with its own home, a quarter of the view's size.
        const BatchOutcome run = RunShell("cd " + Quoted(folder.Path()) + " && HOME=" + Quoted(folder.Path()) +
                                          " DISPLAY= povray -D +W200 +H150 +FN +Iscene.pov +Oscene.png");
        ASSERT_EQ(run.status, 0) << run.out;
        RasterImage image;
        std::string error;
        ASSERT_TRUE(ReadPng(folder / "scene.png", &image, &error)) << error;
        const Box red = RedPixels(image);
        // Within a rendered pixel (4 of the view's) of where the view draws the corners,
        // and the triangle's weight a third of the way from its right angle.
        const double slack = 6;
        EXPECT_NEAR(red.left, drawn.left, slack) << text;
        EXPECT_NEAR(red.right, drawn.right, slack) << text;
        EXPECT_NEAR(red.top, drawn.top, slack) << text;
        EXPECT_NEAR(red.bottom, drawn.bottom, slack) << text;
        EXPECT_NEAR(red.x, drawn.x, slack) << text;
        EXPECT_NEAR(red.y, drawn.y, slack) << text;
    }
}

}  // namespace
