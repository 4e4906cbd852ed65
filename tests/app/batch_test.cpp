// What batch mode itself adds: whole scenarios against golden files, opening and
// saving by path, export by extension, undo through the command table, and one error
// line with a non-zero exit for every kind of failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "batch_run.h"
#include "golden.h"

namespace {

TEST(Batch, GoldenScenarios)
{
    TempFolder folder;
    const BatchOutcome box = RunBatchSteps({"--do", "shape-box", "--dump"});
    EXPECT_EQ(box.status, 0) << box.err;
    ExpectGolden("golden/batch/box.txt", box.out);
    // Five new vertices and fifteen new edges: diagonal and duplicate per ring edge,
    // then the pillars in vertex order.
    const BatchOutcome tube = RunBatchSteps({"--do", "shape-circle", "--do", "do-extrude", "--dump"});
    EXPECT_EQ(tube.status, 0) << tube.err;
    ExpectGolden("golden/batch/extruded_circle.txt", tube.out);
    const BatchOutcome cylinder = RunBatchSteps({"--do", "shape-cylinder", "--export-pov", folder / "object.pov"});
    EXPECT_EQ(cylinder.status, 0) << cylinder.err;
    ExpectGolden("golden/pov/cylinder.pov", ReadText(folder / "object.pov"));
}

TEST(Batch, OpenReadsTheFileAndSaveWritesItBack)
{
    TempFolder folder;
    // One selected vertex at (1, 2, 3), written by hand.
    const std::vector<unsigned char> vertex{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x3f, 0, 0, 0, 0x40, 0, 0, 0x40, 0x40, 1, 0, 0, 0};
    WriteBytes(folder / "one.pdm", vertex);
    const BatchOutcome run = RunBatchSteps({folder / "one.pdm", "--save", folder / "copy.pdm", "--dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nvertices 1\nv 0 1 2 3 1\nedges 0\n"), std::string::npos) << run.out;
    EXPECT_EQ(ReadText(folder / "copy.pdm"), std::string(vertex.begin(), vertex.end()));
}

TEST(Batch, ExportFormatFollowsTheExtension)
{
    TempFolder folder;
    const BatchOutcome run =
        RunBatchSteps({"--do", "shape-box", "--export-pov", folder / "menu.pov", "--export", folder / "a.POV",
                       "--export", folder / "a.obj", "--export", folder / "a.Inc", "--export", folder / "a.stl"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadText(folder / "a.POV"), ReadText(folder / "menu.pov"));
    EXPECT_EQ(ReadText(folder / "a.obj").substr(0, 16), "# Polydrom mesh:");
    EXPECT_EQ(ReadText(folder / "a.Inc").substr(0, 17), "// Polydrom mesh:");
    EXPECT_EQ(ReadText(folder / "a.stl").substr(0, 11), "Binary STL ");
}

TEST(Batch, EveryFailureIsOneErrorLineAndStopsTheSteps)
{
    TempFolder folder;
    const std::string bad = folder / "bad.pdm", image = folder / "thumb.png";
    WriteBytes(bad, std::vector<unsigned char>{5, 0, 0, 0});

    struct Case {
        std::vector<std::string> args;
        std::string error;  // a part of the one error line
    };
    std::vector<Case> cases = {
        {{"/nonexistent/model.pdm", "--dump"}, "Cannot open \"/nonexistent/model.pdm\": No such file or directory"},
        {{bad, "--fit", "--size", "64x64", "--render", image, "--dump"}, bad + "\": file ends after 4 of 8 bytes"},
        {{"--do", "shape-sphere", "--dump"}, "unknown command \"shape-sphere\""},
        {{"--do", "file-open"}, "is not available in batch mode"},
        {{"--bogus"}, "unknown step \"--bogus\""},
        {{"--do", "shape-box", "--save", "/nonexistent-folder/x.pdm", "--dump"}, "Cannot save \"/nonexistent-folder/x.pdm\""},
        {{"--size", "0x600", "--render", image}, "--size \"0x600\" is not WxH with sides from 1 to 8192"},
        {{"--do", "shape-box", "--export-pov", "/nonexistent-folder/x.pov", "--dump"},
         "Cannot export /nonexistent-folder/x.pov: No such file or directory"},
        {{"--do", "shape-box", "--export", "/nonexistent-folder/box.stl"},
         "Cannot export /nonexistent-folder/box.stl: No such file or directory"},
        {{"--do", "shape-box", "--export", folder / "box.ply", "--dump"},
         "polydrom: cannot tell the export format of \"" + folder / "box.ply" +
             "\" by its extension (known: .inc, .obj, .stl, .pov)\n"},
        {{"--export"}, "polydrom: --export needs a value\n"},
    };
    // Each kind of invalid model file, with the reason the error line gives.
    const std::pair<std::vector<unsigned char>, std::string> invalid[] = {
        {{0x01, 0, 0, 0x01, 0, 0, 0, 0}, "vertex count 16777217 exceeds 16777216"},
        {{0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0}, "vertex count -1 is negative"},
        {{0, 0, 0, 0, 0x81, 0xf0, 0xfa, 0x02}, "edge count 50000001 exceeds 50000000"},
        {{2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, "file ends after 12 of 48 bytes"},
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xc0, 0x7f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "X of vertex 0 is not a finite number"},
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0}, "vertex 0 has selection state 2"},
        {{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0},
         "edge 0 refers to vertex 1 of 1"},
    };
    for (std::size_t k = 0; k < std::size(invalid); ++k) {
        const std::string path = folder / ("invalid" + std::to_string(k) + ".pdm");
        WriteBytes(path, invalid[k].first);
        cases.push_back({{path, "--dump"}, "Cannot open \"" + path + "\": " + invalid[k].second});
    }
    for (const std::string size : {"800", "800x", "x600", "-1x600", "0x0", "8193x10", "80x60x"})
        cases.push_back({{"--size", size}, "--size \"" + size + "\""});
    for (const std::string click : {"1", "1,", "a,2", "1,2,left", "1,2,right,"})
        cases.push_back({{"--click", click}, "--click \"" + click + "\""});
    for (const Case& c : cases) {
        const BatchOutcome run = RunBatchSteps(c.args);
        EXPECT_EQ(run.status, 1) << c.error;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
        EXPECT_TRUE(run.err.starts_with("polydrom: ") && run.err.find('\n') == run.err.size() - 1) << run.err;
        EXPECT_EQ(run.out, "") << "a step after the failure ran: " << c.error;
    }
    EXPECT_FALSE(std::filesystem::exists(image));
    EXPECT_FALSE(std::filesystem::exists(folder / "box.ply"));

    // The program itself exits non-zero after printing the line.
    const BatchOutcome program = RunShell(std::string(POLYDROM_BINARY) + " --batch --do nothing-such");
    EXPECT_NE(program.status, 0);
    EXPECT_EQ(program.out, "polydrom: unknown command \"nothing-such\"\n");
}

// The model's part of a dump (the view's state is not part of an undo step).
std::string ModelAfter(std::vector<std::string> steps)
{
    steps.push_back("--dump");
    const BatchOutcome run = RunBatchSteps(steps);
    EXPECT_EQ(run.status, 0) << run.err;
    const auto from = run.out.find("vertices "), to = run.out.find("view-zoom ");
    return run.out.substr(from, to - from);
}

TEST(Batch, EveryCommandAndClickIsOneUndoStep)
{
    const std::vector<std::string> setup = {"--do", "shape-square", "--click", "400,300"};
    const std::string before = ModelAfter(setup);
    for (const std::vector<std::string>& step : std::vector<std::vector<std::string>>{
             {"--do", "do-deselect-all"},                // a command
             {"--click", "400,200"},                     // picks the square's top vertex
             {"--click", "500,320,right"},               // adds a vertex
             {"--do", "do-move", "--click", "430,310"},  // moves the selection
         }) {
        std::vector<std::string> did = setup;
        did.insert(did.end(), step.begin(), step.end());
        const std::string after = ModelAfter(did);
        ASSERT_NE(after, before) << step[1];
        did.insert(did.end(), {"--do", "edit-undo"});
        EXPECT_EQ(ModelAfter(did), before) << step[1];
        did.insert(did.end(), {"--do", "edit-redo"});
        EXPECT_EQ(ModelAfter(did), after) << step[1];
    }
    // Two steps here, the cylinder and the pick: a click on empty space and the
    // navigation, resolution and step commands change no model data.
    EXPECT_EQ(ModelAfter({"--do", "shape-cylinder", "--click", "10,10", "--do", "view-zoom-in", "--do", "view-pan-left",
                          "--do", "res-high", "--do", "step-coarse", "--click", "400,200", "--do", "edit-undo", "--do",
                          "edit-undo"}),
              ModelAfter({}));
    // Nothing to undo or redo is no error; it simply does nothing.
    EXPECT_EQ(ModelAfter({"--do", "edit-undo", "--do", "edit-redo"}), ModelAfter({}));
}

TEST(Batch, RandomSessionOfCommandsAndClicksUndoesAndRedoesWhole)
{
    const std::vector<std::vector<std::string>> moves = {
        {"--do", "shape-circle"}, {"--do", "shape-box"},         {"--do", "shape-pyramid"},
        {"--do", "do-connect"},   {"--do", "do-unconnect"},      {"--do", "do-extrude"},
        {"--do", "do-copy"},      {"--do", "do-mirror"},         {"--do", "do-grow"},
        {"--do", "do-shrink"},    {"--do", "do-rotate-ccw"},     {"--do", "do-rotate-cw"},
        {"--do", "do-select-connected"}, {"--do", "do-deselect-all"}, {"--do", "do-deselect-all"},
        {"--do", "do-move"},      {"--do", "view-axis-x"},       {"--do", "view-axis-z"},
        {"--do", "step-coarsest"}, {"--do", "view-zoom-out"},
    };
    // Selections only grow by primitives, clicks and Select All Connected, and are
    // often cleared, so the duplicating commands never fill the model.
    std::mt19937 rng(7);
    std::vector<std::string> session;
    for (int k = 0; k < 200; ++k) {
        if (rng() % 3 == 0) {
            const int x = 300 + int(rng() % 200), y = 200 + int(rng() % 200);
            session.insert(session.end(), {"--click", std::to_string(x) + "," + std::to_string(y) +
                                                          (rng() % 2 ? ",right" : "")});
        } else {
            const auto& move = moves[rng() % moves.size()];
            session.insert(session.end(), move.begin(), move.end());
        }
    }
    const std::string direct = ModelAfter(session);
    ASSERT_NE(direct.rfind("vertices 0\n", 0), 0u) << "the session builds something";
    std::vector<std::string> back = session;
    for (int k = 0; k < 200; ++k) back.insert(back.end(), {"--do", "edit-undo"});
    EXPECT_EQ(ModelAfter(back), ModelAfter({})) << "undone to the start: the empty model";
    for (int k = 0; k < 200; ++k) back.insert(back.end(), {"--do", "edit-redo"});
    EXPECT_EQ(ModelAfter(back), direct) << "redone to the end: the direct result";
}

}  // namespace
