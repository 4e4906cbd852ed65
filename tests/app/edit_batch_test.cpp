// Extrude, Copy, Mirror, the steps, Grow, Shrink and the rotations through batch mode,
// checked on the dumped model.
#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

#include "batch_run.h"
#include "golden.h"
#include "model_file.h"

namespace {

// The part of a dump from "vertices" on.
std::string ModelPart(const std::string& dump)
{
    // From the vertex count up to the view's own lines.
    const auto at = dump.find("vertices ");
    if (at == std::string::npos) return dump;
    const auto end = dump.find("view-zoom ", at);
    return dump.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

std::string Dumped(const std::vector<ModelVertex>& vertices, const std::vector<std::pair<int, int>>& edges,
                   std::vector<std::string> steps)
{
    TempFolder folder;
    const std::string model = folder / "model.pdm";
    WriteModelFile(model, vertices, edges);
    steps.insert(steps.begin(), model);
    steps.push_back("--dump");
    const BatchOutcome run = RunBatchSteps(steps);
    EXPECT_EQ(run.status, 0) << run.err;
    return ModelPart(run.out);
}

std::string Text(float value)
{
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

TEST(EditBatch, ExtrudeOfOneEdge)
{
    EXPECT_EQ(Dumped({{0, 0, 0}, {1, 0, 0}}, {{0, 1}}, {"--do", "do-extrude"}),
              "vertices 4\n"
              "v 0 0 0 0 0\nv 1 1 0 0 0\nv 2 0 0 0 1\nv 3 1 0 0 1\n"
              "edges 5\n"
              "e 0 0 1\ne 1 0 3\ne 2 2 3\ne 3 0 2\ne 4 1 3\n");
}

TEST(EditBatch, ExtrudeOfALoneVertexAddsItsPillar)
{
    EXPECT_EQ(Dumped({{2, 3, 4}}, {}, {"--do", "do-extrude"}),
              "vertices 2\nv 0 2 3 4 0\nv 1 2 3 4 1\nedges 1\ne 0 0 1\n");
}

TEST(EditBatch, EdgeWithOneSelectedEndIsNotDuplicatedButGetsItsPillar)
{
    EXPECT_EQ(Dumped({{0, 0, 0}, {1, 0, 0, 0}}, {{0, 1}}, {"--do", "do-extrude"}),
              "vertices 3\nv 0 0 0 0 0\nv 1 1 0 0 0\nv 2 0 0 0 1\nedges 2\ne 0 0 1\ne 1 0 2\n");
    EXPECT_EQ(Dumped({{0, 0, 0}, {1, 0, 0, 0}}, {{0, 1}}, {"--do", "do-copy"}),
              "vertices 3\nv 0 0 0 0 0\nv 1 1 0 0 0\nv 2 0 0 0 1\nedges 1\ne 0 0 1\n");
}

TEST(EditBatch, CopyOfOneEdge)
{
    EXPECT_EQ(Dumped({{0, 0, 0}, {1, 0, 0}}, {{0, 1}}, {"--do", "do-copy"}),
              "vertices 4\n"
              "v 0 0 0 0 0\nv 1 1 0 0 0\nv 2 0 0 0 1\nv 3 1 0 0 1\n"
              "edges 2\ne 0 0 1\ne 1 2 3\n");
}

TEST(EditBatch, MirrorAboutTheOriginNegatesX)
{
    EXPECT_EQ(Dumped({{3, 5, 7}, {12, 0, 0}}, {{1, 0}}, {"--do", "do-mirror"}),
              "vertices 4\n"
              "v 0 3 5 7 0\nv 1 12 0 0 0\nv 2 -3 5 7 1\nv 3 -12 0 0 1\n"
              "edges 2\ne 0 1 0\ne 1 3 2\n");
}

TEST(EditBatch, NothingSelectedChangesNothing)
{
    const std::vector<ModelVertex> vertices{{1, 2, 3, 0}, {4, 5, 6, 0}};
    const std::string before = Dumped(vertices, {{0, 1}}, {});
    for (const char* command : {"do-extrude", "do-copy", "do-mirror", "do-grow", "do-shrink", "do-rotate-ccw",
                                "do-rotate-cw"})
        EXPECT_EQ(Dumped(vertices, {{0, 1}}, {"--do", command}), before) << command;
}

TEST(EditBatch, ExtrudedCircleBecomesATube)
{
    // Five new vertices and fifteen new edges: diagonal and duplicate per ring edge,
    // then the pillars in vertex order.
    const BatchOutcome run = RunBatchSteps({"--do", "shape-circle", "--do", "do-extrude", "--dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectGolden("golden/batch/extruded_circle.txt", run.out);
}

TEST(EditBatch, DuplicationThatDoesNotFitIsAnError)
{
    TempFolder folder;
    const std::string model = folder / "big.pdm";
    WriteModelFile(model, std::vector<ModelVertex>(5001, ModelVertex{0, 0, 0}), {});
    const BatchOutcome run = RunBatchSteps({model, "--do", "do-copy", "--dump"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("do-copy: Copy refused: it needs 5001 vertices"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(EditBatch, StepsSetTheirValues)
{
    for (auto [command, step] : {std::pair{"step-finest", "0.01"}, std::pair{"step-fine", "0.05"},
                                 std::pair{"step-coarse", "0.1"}, std::pair{"step-coarsest", "0.5"}}) {
        const BatchOutcome run = RunBatchSteps({"--do", "step-coarsest", "--do", command, "--dump"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find(std::string("\nstep ") + step + "\n"), std::string::npos) << command;
    }
}

TEST(EditBatch, GrowAndShrinkAboutTheOrigin)
{
    const std::vector<ModelVertex> vertex{{100, 0, 0}};
    EXPECT_EQ(Dumped(vertex, {}, {"--do", "step-coarse", "--do", "do-grow"}), "vertices 1\nv 0 110 0 0 1\nedges 0\n");
    EXPECT_EQ(Dumped(vertex, {}, {"--do", "step-coarse", "--do", "do-shrink"}), "vertices 1\nv 0 90 0 0 1\nedges 0\n");
    EXPECT_EQ(Dumped(vertex, {}, {"--do", "step-coarsest", "--do", "do-grow"}), "vertices 1\nv 0 150 0 0 1\nedges 0\n");
    EXPECT_EQ(Dumped(vertex, {}, {"--do", "step-coarsest", "--do", "do-shrink"}), "vertices 1\nv 0 50 0 0 1\nedges 0\n");
    // Not inverses: 1.5 * 0.5.
    EXPECT_EQ(Dumped(vertex, {}, {"--do", "step-coarsest", "--do", "do-grow", "--do", "do-shrink"}),
              "vertices 1\nv 0 75 0 0 1\nedges 0\n");
}

TEST(EditBatch, RotationsByHalfARadianAlongZ)
{
    const std::vector<ModelVertex> vertices{{100, 0, 5}, {0, 100, 0}};
    EXPECT_EQ(Dumped(vertices, {}, {"--do", "step-coarsest", "--do", "do-rotate-ccw"}),
              "vertices 2\n"
              "v 0 " + Text(0x1.5f0884p+6f) + " " + Text(-0x1.7f8a2p+5f) + " 5 1\n"
              "v 1 " + Text(0x1.7f89e2p+5f) + " " + Text(0x1.5f0894p+6f) + " 0 1\n"
              "edges 0\n");
    const std::string cw = Dumped(vertices, {}, {"--do", "step-coarsest", "--do", "do-rotate-cw"});
    EXPECT_NE(cw.find("v 0 " + Text(0x1.5f0864p+6f) + " " + Text(0x1.7f8a94p+5f) + " 5 1\n"), std::string::npos)
        << cw;
    // One way and back lands close to, not exactly on, the start.
    const std::string back =
        Dumped(vertices, {}, {"--do", "step-coarsest", "--do", "do-rotate-ccw", "--do", "do-rotate-cw"});
    EXPECT_NE(back, Dumped(vertices, {}, {}));
    float x = 0;
    const auto at = back.find("v 0 ") + 4;
    std::from_chars(back.data() + at, back.data() + back.size(), x);
    EXPECT_NEAR(x, 100.0f, 1e-3);
}

}  // namespace
