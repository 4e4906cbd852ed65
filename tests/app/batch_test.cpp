// Whole scenarios through batch mode: commands, dumps, saved bytes and failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "batch_run.h"
#include "golden.h"

namespace {

using BatchRun = BatchOutcome;

BatchRun Batch(const std::vector<std::string>& args) { return RunBatchSteps(args); }

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("polydrom-test-" + name)).string();
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(Batch, BoxOnANewModel)
{
    BatchRun run = Batch({"--do", "shape-box", "--dump"});
    EXPECT_EQ(run.status, 0) << run.err;
    ExpectGolden("golden/batch/box.txt", run.out);
}

TEST(Batch, ExtrudedCircleBecomesATube)
{
    // Five new vertices and fifteen new edges: diagonal and duplicate per ring edge,
    // then the pillars in vertex order.
    const BatchRun run = Batch({"--do", "shape-circle", "--do", "do-extrude", "--dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectGolden("golden/batch/extruded_circle.txt", run.out);
}

TEST(Batch, CylinderExport)
{
    TempFolder folder;
    const BatchRun run = Batch({"--do", "shape-cylinder", "--export-pov", folder / "object.pov"});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectGolden("golden/pov/cylinder.pov", ReadText(folder / "object.pov"));
}

TEST(Batch, SaveWritesTheFileLayoutAndOpenReadsItBack)
{
    const std::string path = TempPath("one-vertex.pdm");
    // One selected vertex at (1, 2, 3): written by hand, read, saved again.
    WriteBytes(path, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x3f, 0, 0, 0, 0x40, 0, 0, 0x40, 0x40, 1, 0, 0, 0});
    const std::string copy = TempPath("one-vertex-copy.pdm");
    BatchRun run = Batch({path, "--save", copy, "--dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("v 0 1 2 3 1\n"), std::string::npos) << run.out;
    EXPECT_EQ(ReadText(copy), ReadText(path));
    std::remove(path.c_str());
    std::remove(copy.c_str());
}

TEST(Batch, UnconnectingEverythingSavesAnEmptyModel)
{
    const std::string path = TempPath("triangle.pdm");
    BatchRun run = Batch({"--do", "shape-circle", "--do", "do-unconnect", "--save", path});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadText(path), std::string(8, '\0'));
    std::remove(path.c_str());
}

TEST(Batch, InvalidFilesFailWithTheirReason)
{
    struct Case {
        std::vector<unsigned char> bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {{0x20, 0x4e, 0, 0, 0, 0, 0, 0}, "vertex count 20000 exceeds 10000"},
        {{0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0}, "vertex count -1 is negative"},
        {{0, 0, 0, 0, 0x11, 0x27, 0, 0}, "edge count 10001 exceeds 10000"},
        {{1, 0, 0, 0}, "file ends after 4 of 8 bytes"},
        {{2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, "file ends after 12 of 48 bytes"},
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x7f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "X of vertex 0 is not a finite number"},
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0}, "vertex 0 has selection state 2"},
        {{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0},
         "edge 0 refers to vertex 1 of 1"},
    };
    const std::string path = TempPath("bad.pdm");
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        BatchRun run = Batch({path, "--dump"});
        EXPECT_NE(run.status, 0) << c.reason;
        EXPECT_EQ(run.out, "") << c.reason;
        EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    }
    std::remove(path.c_str());
}

TEST(Batch, TrailingBytesAreIgnored)
{
    const std::string path = TempPath("trailing.pdm");
    WriteBytes(path, {0, 0, 0, 0, 0, 0, 0, 0, 0xde, 0xad});
    EXPECT_EQ(Batch({path, "--dump"}).status, 0);
    std::remove(path.c_str());
}

TEST(Batch, MissingFileUnknownCommandAndRefusalFail)
{
    BatchRun missing = Batch({"/nonexistent/model.pdm", "--dump"});
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.err.find("Cannot open \"/nonexistent/model.pdm\": No such file or directory"), std::string::npos)
        << missing.err;

    BatchRun unknown = Batch({"--do", "shape-sphere"});
    EXPECT_NE(unknown.status, 0);
    EXPECT_NE(unknown.err.find("unknown command \"shape-sphere\""), std::string::npos);

    std::vector<std::string> args{"--do", "res-very-high"};
    for (int k = 0; k < 32; ++k) args.insert(args.end(), {"--do", "shape-cylinder"});
    args.push_back("--dump");
    BatchRun full = Batch(args);
    EXPECT_NE(full.status, 0);
    EXPECT_NE(full.err.find("shape-cylinder: Cylinder refused"), std::string::npos) << full.err;
    EXPECT_EQ(full.out, "") << "the dump after the failing step never runs";
}

TEST(Batch, FailedSaveKeepsTheOldFile)
{
    BatchRun run = Batch({"--do", "shape-box", "--save", "/nonexistent-folder/x.pdm"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Cannot save \"/nonexistent-folder/x.pdm\""), std::string::npos) << run.err;
}

TEST(Batch, ProgramExitsNonZeroWithOneErrorLine)
{
    const std::string cmd = std::string(POLYDROM_BINARY) + " --batch --do nothing-such 2>&1";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256] = {};
    ASSERT_NE(fgets(line, sizeof line, pipe), nullptr);
    int status = pclose(pipe);
    EXPECT_NE(status, 0);
    EXPECT_STREQ(line, "polydrom: unknown command \"nothing-such\"\n");
}

}  // namespace

namespace {

TEST(BatchUndo, UndoAndRedoThroughTheCommandTable)
{
    BatchRun undone = Batch({"--do", "shape-box", "--do", "do-deselect-all", "--do", "edit-undo", "--do",
                             "edit-undo", "--dump"});
    ASSERT_EQ(undone.status, 0) << undone.err;
    EXPECT_NE(undone.out.find("vertices 0\n"), std::string::npos);
    BatchRun redone = Batch({"--do", "shape-box", "--do", "do-deselect-all", "--do", "edit-undo", "--do",
                             "edit-undo", "--do", "edit-redo", "--dump"});
    ASSERT_EQ(redone.status, 0) << redone.err;
    EXPECT_EQ(redone.out, Batch({"--do", "shape-box", "--dump"}).out) << "the box comes back, still selected";
    // Nothing to undo is not an error; it simply does nothing.
    EXPECT_EQ(Batch({"--do", "edit-undo"}).status, 0);
}

}  // namespace

namespace {

TEST(BatchThumbnail, InvalidFileFailsCleanlyWithoutAnImage)
{
    const std::string model = TempPath("thumb-bad.pdm"), image = TempPath("thumb-bad.png");
    WriteBytes(model, {5, 0, 0, 0});
    std::remove(image.c_str());
    BatchRun run = Batch({model, "--fit", "--size", "64x64", "--render", image});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("file ends after 4 of 8 bytes"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(image));
    std::remove(model.c_str());
}

}  // namespace
