// The worked examples of duplication, scaling, rotation and the POV-Ray export, each
// run as a user's script would run it: a model file in, batch commands, a file out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch_run.h"
#include "model/model_fixtures.h"
#include "test_files.h"

namespace {

// Opens the model, runs the steps, saves; returns the saved model in ModelText form.
std::string Scripted(const std::string& model, std::vector<std::string> steps)
{
    TempFolder folder;
    const std::string in = folder / "in.pdm", out = folder / "out.pdm";
    const Result saved = ModelFrom(model)->OnSaveDocument(in);
    EXPECT_TRUE(saved.ok) << saved.error;
    steps.insert(steps.begin(), in);
    steps.insert(steps.end(), {"--save", out});
    const BatchOutcome run = RunBatchSteps(steps);
    EXPECT_EQ(run.status, 0) << run.err;
    auto doc = NewDoc();
    const Result opened = doc->OnOpenDocument(out);
    EXPECT_TRUE(opened.ok) << opened.error;
    return ModelText(*doc);
}

TEST(WorkedExamples, DuplicationThroughBatchMode)
{
    const struct {
        const char* before;
        std::vector<std::string> steps;
        const char* after;
    } cases[] = {
        {"2 3 4 1;", {"--do", "do-extrude"}, "2 3 4 0|2 3 4 1;0-1"},
        {"0 0 0 1|1 0 0 1;0-1", {"--do", "do-extrude"}, "0 0 0 0|1 0 0 0|0 0 0 1|1 0 0 1;0-1 0-3 2-3 0-2 1-3"},
        {"0 0 0 1|1 0 0 1;0-1", {"--do", "do-copy"}, "0 0 0 0|1 0 0 0|0 0 0 1|1 0 0 1;0-1 2-3"},
        {"0 0 0 1|1 0 0 0;0-1", {"--do", "do-extrude"}, "0 0 0 0|1 0 0 0|0 0 0 1;0-1 0-2"},
        {"3 5 7 1|12 0 0 1;", {"--cursor", "10,0,0", "--do", "do-mirror"}, "3 5 7 0|12 0 0 0|7 5 7 1|-2 0 0 1;"},
        {"1 1 1 0;", {"--do", "do-extrude", "--do", "do-copy", "--do", "do-mirror"}, "1 1 1 0;"},
    };
    for (const auto& c : cases) EXPECT_EQ(Scripted(c.before, c.steps), c.after) << c.before;
}

TEST(WorkedExamples, ScaleAndRotateThroughBatchMode)
{
    const struct {
        const char* before;
        std::vector<std::string> steps;
        float x, y, z;  // where the selected first vertex ends; the unselected second stays
    } cases[] = {
        {"100 0 0 1|100 0 0 0;", {"--do", "step-coarse", "--do", "do-grow"}, 110, 0, 0},
        {"100 0 0 1|100 0 0 0;", {"--do", "step-coarse", "--do", "do-shrink"}, 90, 0, 0},
        {"100 0 0 1|100 0 0 0;", {"--do", "step-coarsest", "--do", "do-grow"}, 150, 0, 0},
        {"100 0 0 1|100 0 0 0;", {"--do", "step-coarsest", "--do", "do-shrink"}, 50, 0, 0},
        {"0 0 0 1|0 0 0 0;", {"--cursor", "0,0,10", "--do", "step-coarsest", "--do", "do-shrink"}, 0, 0, 5},
        {"100 0 5 1|100 0 5 0;", {"--do", "step-coarsest", "--do", "do-rotate-ccw"}, 0x1.5f0884p+6f, -0x1.7f8a2p+5f, 5},
        {"0 100 0 1|0 100 0 0;", {"--do", "step-coarsest", "--do", "do-rotate-ccw"}, 0x1.7f89e2p+5f, 0x1.5f0894p+6f, 0},
        {"100 0 5 1|100 0 5 0;", {"--do", "step-coarsest", "--do", "do-rotate-cw"}, 0x1.5f0864p+6f, 0x1.7f8a94p+5f, 5},
        {"4 5 6 1|4 5 6 0;",
         {"--cursor", "4,5,6", "--do", "step-coarsest", "--do", "do-grow", "--do", "do-shrink", "--do",
          "do-rotate-ccw", "--do", "do-rotate-cw"},
         4, 5, 6},
    };
    for (const auto& c : cases) {
        auto expected = ModelFrom(c.before);
        expected->m_x[0] = c.x;
        expected->m_y[0] = c.y;
        expected->m_z[0] = c.z;
        EXPECT_EQ(Scripted(c.before, c.steps), ModelText(*expected)) << c.before;
    }
    // Rough values to show what the bits above mean: half a radian counter-clockwise.
    EXPECT_NEAR(0x1.5f0884p+6f, 87.7583, 1e-4);
    EXPECT_NEAR(-0x1.7f8a2p+5f, -47.9424, 1e-4);
}

// Vertex i of these models lies at (i, 0, 0), so a corner reads "<i.,0.0,0.0>".
std::string Triangle(int a, int b, int c)
{
    auto corner = [](int i) { return " <" + (i ? std::to_string(i) + "." : std::string("0.0")) + ",0.0,0.0> "; };
    return " triangle{ " + corner(a) + corner(b) + corner(c) + " pigment {Red}} \r";
}

TEST(WorkedExamples, ExportThroughBatchMode)
{
    const std::string points = "0 0 0 0|1 0 0 0|2 0 0 0|3 0 0 0|4 0 0 0|5 0 0 0|6 0 0 0|7 0 0 0|8 0 0 0|9 0 0 0;";
    const struct {
        const char* edges;
        std::string triangles;
    } cases[] = {
        {"", ""},
        {"0-1 1-2 2-3 3-0", ""},
        {"0-1 1-2 2-0", Triangle(0, 1, 2)},
        {"0-1 1-2 0-2", Triangle(0, 1, 2)},
        {"9-5 5-2 2-9", Triangle(9, 5, 2)},
        {"0-1 1-2 2-3 3-0 0-2", Triangle(0, 1, 2) + Triangle(2, 3, 0)},
        // The closed tetrahedron: all four faces, 1-2-3 where the walk first meets it.
        {"0-1 0-2 0-3 1-2 2-3 3-1", Triangle(1, 0, 2) + Triangle(1, 0, 3) + Triangle(2, 0, 3) + Triangle(1, 2, 3)},
        // An edge stored twice, and a side two Connects share: each triangle once.
        {"0-1 1-2 2-0 0-1", Triangle(0, 1, 2)},
        {"6-5 5-2 2-6 7-6 6-2 2-7", Triangle(6, 5, 2) + Triangle(2, 6, 7)},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string in = folder / "in.pdm", out = folder / "object.pov";
        const Result saved = ModelFrom(points + c.edges)->OnSaveDocument(in);
        ASSERT_TRUE(saved.ok) << saved.error;
        // Twice in a row: the marks of the first export do not carry over.
        const BatchOutcome run = RunBatchSteps({in, "--export-pov", out, "--export-pov", out});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(ReadText(out), "union{ \r" + c.triangles + "} \r") << c.edges;
    }
}

}  // namespace
