// The POV-Ray export through batch mode: the exact bytes of the documented cases,
// "object.pov" in the current folder, and failures that name the file and the reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "batch_run.h"
#include "golden.h"
#include "model_file.h"

namespace {

using Edges = std::vector<std::pair<int, int>>;

// Vertex k at (k, 2k, -k) unless given: corners show which vertex they are.
std::vector<ModelVertex> Numbered(int count)
{
    std::vector<ModelVertex> vertices;
    for (int k = 0; k < count; ++k) vertices.push_back({float(k), float(2 * k), float(-k)});
    return vertices;
}

std::string Exported(const std::vector<ModelVertex>& vertices, const Edges& edges,
                     std::vector<std::string> steps = {})
{
    TempFolder folder;
    WriteModelFile(folder / "model.pdm", vertices, edges);
    steps.insert(steps.begin(), folder / "model.pdm");
    steps.insert(steps.end(), {"--export-pov", folder / "scene.pov"});
    const BatchOutcome run = RunBatchSteps(steps);
    EXPECT_EQ(run.status, 0) << run.err;
    return ReadText(folder / "scene.pov");
}

std::string Record(const std::string& a, const std::string& b, const std::string& c)
{
    return " triangle{  <" + a + ">  <" + b + ">  <" + c + ">  pigment {Red}} \r";
}

// The record of a triangle of Numbered() vertices.
std::string Record(int a, int b, int c)
{
    auto corner = [](int k) {
        auto text = [](int v) { return v == 0 ? std::string("0.0") : std::to_string(v) + "."; };
        return text(k) + "," + text(2 * k) + "," + text(-k);
    };
    return Record(corner(a), corner(b), corner(c));
}

std::string File(const std::string& records) { return "union{ \r" + records + "} \r"; }

TEST(PovExportBatch, ModelsWithoutTrianglesGiveTheElevenByteFile)
{
    EXPECT_EQ(Exported({}, {}), "union{ \r} \r");
    EXPECT_EQ(Exported(Numbered(4), {{0, 1}, {1, 2}, {2, 3}, {3, 0}}), "union{ \r} \r");
}

TEST(PovExportBatch, TheSeventyThreeByteTriangle)
{
    const std::string file = Exported({{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, {{0, 1}, {1, 2}, {2, 0}});
    const std::string record = " triangle{  <0.0,0.0,0.0>  <10.,0.0,0.0>  <0.0,10.,0.0>  pigment {Red}} \r";
    ASSERT_EQ(record.size(), 73u);
    EXPECT_EQ(file, "union{ \r" + record + "} \r");
    EXPECT_EQ(file.find('\n'), std::string::npos);
}

TEST(PovExportBatch, CornerOrderFollowsTheStoredDirections)
{
    EXPECT_EQ(Exported(Numbered(3), {{0, 1}, {1, 2}, {0, 2}}), File(Record(0, 1, 2)));
    EXPECT_EQ(Exported(Numbered(3), {{1, 0}, {2, 1}, {2, 0}}), File(Record(0, 1, 2)));
}

TEST(PovExportBatch, ConnectedTripleIsWrittenFromTheHighestVertex)
{
    std::vector<ModelVertex> vertices = Numbered(10);
    for (auto& v : vertices) v.sel = 0;
    for (int k : {2, 5, 9}) vertices[k].sel = 1;
    EXPECT_EQ(Exported(vertices, {}, {"--do", "do-connect"}), File(Record(9, 5, 2)));
}

TEST(PovExportBatch, SquareWithDiagonal)
{
    EXPECT_EQ(Exported(Numbered(4), {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}}), File(Record(0, 1, 2) + Record(2, 3, 0)));
}

TEST(PovExportBatch, ClosedTetrahedronGivesThreeFaces)
{
    EXPECT_EQ(Exported(Numbered(4), {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}, {3, 1}}),
              File(Record(1, 0, 2) + Record(1, 0, 3) + Record(2, 0, 3)));
}

TEST(PovExportBatch, AnEdgeStoredTwiceWritesTheTriangleTwice)
{
    EXPECT_EQ(Exported(Numbered(3), {{0, 1}, {1, 2}, {2, 0}, {0, 1}}), File(Record(0, 1, 2) + Record(1, 2, 0)));
}

TEST(PovExportBatch, NegativeZeroAndFractionsInTheNumberFormat)
{
    EXPECT_EQ(Exported({{-0.0f, 0.5f, 12.3125f}, {123456, -3, 0.05f}, {1.0f / 3, 100, 12345}}, {{0, 1}, {1, 2}, {2, 0}}),
              File(Record("0.0,0.5,12.313", "1.2346e+005,-3.,5.e-002", "0.33333,100.,12345")));
}

TEST(PovExportBatch, ExportingTwiceWritesTheSameAndLeavesTheSelection)
{
    TempFolder folder;
    const auto model = folder / "model.pdm";
    std::vector<ModelVertex> vertices = Numbered(5);
    vertices[3].sel = 0;
    WriteModelFile(model, vertices, {{0, 1}, {1, 2}, {2, 0}, {2, 3}, {3, 4}, {4, 2}, {0, 1}});
    const BatchOutcome run = RunBatchSteps({model, "--dump", "--export-pov", folder / "a.pov", "--export-pov",
                                            folder / "b.pov", "--dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadText(folder / "a.pov"), ReadText(folder / "b.pov"));
    // The second copy of edge (0, 1) closes 1-2-0 while edge 1 is the outer edge,
    // before the search reaches the edges of 2-3-4.
    EXPECT_EQ(ReadText(folder / "a.pov"), File(Record(0, 1, 2) + Record(1, 2, 0) + Record(2, 3, 4)));
    const std::string first = run.out.substr(0, run.out.size() / 2);
    EXPECT_EQ(run.out, first + first) << "the export changed the model";
}

TEST(PovExportBatch, CylinderExport)
{
    TempFolder folder;
    const BatchOutcome run = RunBatchSteps({"--do", "shape-cylinder", "--export-pov", folder / "object.pov"});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectGolden("golden/pov/cylinder.pov", ReadText(folder / "object.pov"));
}

TEST(PovExportBatch, MenuCommandWritesObjectPovInTheCurrentFolder)
{
    TempFolder folder;
    const BatchOutcome run = RunShell("cd " + Quoted(folder.Path()) + " && " + POLYDROM_BINARY +
                                      " --batch --do shape-box --do file-export-pov --export-pov same.pov");
    ASSERT_EQ(run.status, 0) << run.out;
    const std::string file = ReadText(folder / "object.pov");
    EXPECT_EQ(file, ReadText(folder / "same.pov"));
    EXPECT_EQ(file.substr(0, 8), "union{ \r");
    // Two triangles on each of the four sides; the square ends have no diagonal.
    EXPECT_EQ(std::count(file.begin(), file.end(), '\r'), 2 + 8);
}

TEST(PovExportBatch, FailuresNameTheFileAndTheReason)
{
    const BatchOutcome missing = RunBatchSteps({"--do", "shape-box", "--export-pov", "/nonexistent-folder/x.pov"});
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.err.find("Cannot export \"/nonexistent-folder/x.pov\": No such file or directory"),
              std::string::npos)
        << missing.err;

    // "object.pov" taken by a folder: the menu command is refused, which batch mode reports.
    TempFolder folder;
    std::filesystem::create_directory(folder / "object.pov");
    const BatchOutcome taken =
        RunShell("cd " + Quoted(folder.Path()) + " && " + POLYDROM_BINARY + " --batch --do file-export-pov");
    EXPECT_NE(taken.status, 0);
    const std::string where = std::filesystem::canonical(folder.Path()).string() + "/object.pov";
    EXPECT_NE(taken.out.find("polydrom: file-export-pov: Cannot export \"" + where + "\": it is a folder."),
              std::string::npos)
        << taken.out;
}

}  // namespace
