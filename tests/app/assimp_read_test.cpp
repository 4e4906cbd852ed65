// The OBJ and STL exports read by a real importer: Assimp's command-line tool must take
// each file and count as many triangle faces as the POV-Ray union holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "batch_run.h"
#include "golden.h"

namespace {

struct AssimpInfo {
    BatchOutcome run;
    long faces = -1;
    std::string primitives;
};

// "assimp info -r FILE": a raw import, without the clean-up steps that would merge or
// drop faces, so the count is what the file says. The summary lines read
// "Faces:              40" and "Primitive Types:    triangles".
AssimpInfo ReadWithAssimp(const std::string& path)
{
    AssimpInfo info;
    info.run = RunShell("assimp info " + Quoted(path) + " -r");
    std::istringstream lines(info.run.out);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(0, colon);
        std::istringstream value(line.substr(colon + 1));
        if (key == "Faces") value >> info.faces;
        if (key == "Primitive Types") value >> info.primitives;
    }
    return info;
}

// The union's triangle count, from its records.
long UnionTriangles(const std::string& text)
{
    long count = 0;
    for (auto at = text.find(" triangle{"); at != std::string::npos; at = text.find(" triangle{", at + 1)) ++count;
    return count;
}

class AssimpReads : public ::testing::TestWithParam<const char*> {};

TEST_P(AssimpReads, TheExpectedNumberOfTriangles)
{
    // An extruded, moved and rotated ring: many faces and coordinates without a short decimal form.
    TempFolder folder;
    const std::string file = folder / (std::string("model.") + GetParam());
    const BatchOutcome exported = RunBatchSteps(
        {"--do", "res-medium", "--do", "shape-cylinder", "--do", "do-extrude", "--do", "step-fine", "--do",
         "do-rotate-ccw", "--export-pov", folder / "model.pov", "--export", file});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const long expected = UnionTriangles(ReadText(folder / "model.pov"));
    ASSERT_GT(expected, 20);

    const AssimpInfo info = ReadWithAssimp(file);
    ASSERT_EQ(info.run.status, 0) << info.run.out;
    EXPECT_EQ(info.faces, expected) << info.run.out;
    EXPECT_EQ(info.primitives, "triangles") << info.run.out;
}

INSTANTIATE_TEST_SUITE_P(Formats, AssimpReads, ::testing::Values("obj", "stl"));

}  // namespace
