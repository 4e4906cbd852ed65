// Batch mode's --export: the format follows the extension, and every failure is an error
// that names the file and the reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch_run.h"
#include "golden.h"
#include "model_file.h"

namespace {

TEST(MeshExportBatch, TheExtensionChoosesTheFormat)
{
    TempFolder folder;
    // Vertices 2, 5 and 9 of ten, connected: the files hold only those three, renumbered.
    std::vector<ModelVertex> vertices;
    for (int k = 0; k < 10; ++k) vertices.push_back({float(k), float(2 * k), float(-k), k == 2 || k == 5 || k == 9});
    WriteModelFile(folder / "model.pdm", vertices, {});
    const BatchOutcome run =
        RunBatchSteps({folder / "model.pdm", "--do", "do-connect", "--export-pov", folder / "menu.pov", "--export",
                       folder / "a.POV", "--export", folder / "a.obj", "--export", folder / "a.Inc", "--export",
                       folder / "a.stl"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadText(folder / "a.POV"), ReadText(folder / "menu.pov"));
    EXPECT_EQ(ReadText(folder / "a.obj"),
              "# Polydrom mesh: 3 vertices, 1 triangle\nv 9 18 -9\nv 5 10 -5\nv 2 4 -2\nf 1 2 3\n");
    EXPECT_EQ(ReadText(folder / "a.Inc").substr(0, 42), "// Polydrom mesh: 3 vertices, 1 triangle\n#");
    EXPECT_EQ(ReadText(folder / "a.stl").size(), 84u + 50u);
}

TEST(MeshExportBatch, AnUnknownExtensionIsAnErrorAndWritesNothing)
{
    TempFolder folder;
    const BatchOutcome run = RunBatchSteps({"--do", "shape-box", "--export", folder / "box.ply", "--dump"});
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.err, "polydrom: cannot tell the export format of \"" + folder / "box.ply" +
                           "\" by its extension (known: .inc, .obj, .stl, .pov)\n");
    EXPECT_EQ(run.out, "") << "the steps after the failure ran";
    EXPECT_FALSE(std::filesystem::exists(folder / "box.ply"));

    const BatchOutcome bare = RunBatchSteps({"--export"});
    EXPECT_EQ(bare.err, "polydrom: --export needs a value\n");
}

TEST(MeshExportBatch, ARefusedExportIsAnError)
{
    TempFolder folder;
    const BatchOutcome empty = RunBatchSteps({"--export", folder / "empty.inc"});
    EXPECT_NE(empty.status, 0);
    EXPECT_EQ(empty.err, "polydrom: Cannot export \"" + folder / "empty.inc" +
                             "\": no triangles to export (a POV-Ray mesh2 needs at least one).\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.inc"));

    const BatchOutcome missing = RunBatchSteps({"--do", "shape-box", "--export", "/nonexistent-folder/box.stl"});
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.err.find("Cannot export \"/nonexistent-folder/box.stl\": No such file or directory"),
              std::string::npos)
        << missing.err;
}

}  // namespace
