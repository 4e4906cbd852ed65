// --import in batch mode: the mesh appended and selected as one undo step, and every
// refusal one error line with a non-zero exit, in the library and in the real program.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "batch_run.h"
#include "mesh_files.h"

namespace {

const std::vector<mesh_files::Point> kTetra = {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {0, 0, 2}};
const std::vector<mesh_files::Face> kTetraFaces = {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}};

std::size_t Count(const std::string& text, const std::string& word)
{
    std::size_t n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
}

// The selection state of every vertex of a dump, in order: "0011".
std::string Selection(const std::string& dump)
{
    std::string states;
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with("v ")) states += line.back();
    return states;
}

TEST(BatchImport, AppendsTheMeshSelectedAndUndoesInOneStep)
{
    TempFolder folder;
    const std::string path = folder / "tetra.ply";
    WriteBytes(path, mesh_files::BinaryPly(kTetra, kTetraFaces));
    const BatchOutcome run = RunBatchSteps(
        {"--do", "shape-square", "--import", path, "--dump", "--do", "edit-undo", "--dump", "--do", "edit-redo", "--dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto second = run.out.find("resolution", 1), third = run.out.find("resolution", second + 1);
    const std::string imported = run.out.substr(0, second), undone = run.out.substr(second, third - second),
                      redone = run.out.substr(third);
    // The square's four vertices deselected, the tetrahedron's selected after them, its
    // six edges after the square's four.
    EXPECT_NE(imported.find("vertices 8\n"), std::string::npos) << imported;
    EXPECT_EQ(Selection(imported), "00001111") << imported;
    // Turned half about X, as --import does unless --axes as-stored says otherwise.
    EXPECT_NE(imported.find("v 4 0 0 0 1\nv 5 2 0 0 1\nv 6 0 -2 0 1\nv 7 0 0 -2 1\n"), std::string::npos) << imported;
    EXPECT_NE(imported.find("edges 10\n"), std::string::npos) << imported;
    EXPECT_NE(undone.find("vertices 4\n"), std::string::npos) << undone;
    EXPECT_NE(undone.find("edges 4\n"), std::string::npos) << undone;
    EXPECT_EQ(redone, imported);
}

TEST(BatchImport, ARefusalIsOneErrorLineAndStopsTheSteps)
{
    TempFolder folder;
    struct Case {
        std::string file, bytes, reason;
    };
    const Case cases[] = {
        {"missing.obj", "", "No such file or directory"},
        {"noise.stl", std::string(200, '\x7f'), ""},
        {"nan.obj", "v nan 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "not a finite number"},
    };
    for (const Case& c : cases) {
        const std::string path = folder / c.file;
        if (!c.bytes.empty()) WriteBytes(path, c.bytes);
        const BatchOutcome run = RunBatchSteps({"--do", "shape-box", "--import", path, "--dump"});
        EXPECT_EQ(run.status, 1) << c.file;
        EXPECT_TRUE(run.out.empty()) << "no step after the refusal runs";
        EXPECT_EQ(Count(run.err, "\n"), 1u) << run.err;
        EXPECT_TRUE(run.err.starts_with("polydrom: Cannot import \"" + path + "\": ")) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    }
}

TEST(BatchImport, TheRealProgramPrintsEachLineOnceAndRefusesWhatItCannotRead)
{
    // The helper process starts with a copy of the program's unwritten output; it must
    // never write it a second time, whether the import succeeds or is refused.
    TempFolder folder;
    const std::string tetra = folder / "tetra.obj", bad = folder / "bad.obj";
    WriteBytes(tetra, mesh_files::Obj(kTetra, kTetraFaces));
    WriteBytes(bad, std::string("v 0 0 0\nf 1 2 3\n"));
    const std::string program = std::string(POLYDROM_BINARY) + " --batch";
    const BatchOutcome fits = RunShell(program + " --do shape-box --dump --import " + Quoted(tetra) + " --dump");
    EXPECT_EQ(fits.status, 0) << fits.out;
    EXPECT_EQ(Count(fits.out, "resolution "), 2u) << fits.out;

    const BatchOutcome refused =
        RunShell(program + " --do shape-box --dump --import " + Quoted(bad) + " --dump 2>/dev/null");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(Count(refused.out, "resolution "), 1u) << refused.out;
    const BatchOutcome message = RunShell(program + " --do shape-box --import " + Quoted(bad));
    EXPECT_EQ(message.out, "polydrom: Cannot import \"" + bad + "\": OBJ: vertex index out of range.\n");
}

}  // namespace
