// Undo and redo of commands and clicks as a user gives them, through batch mode.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "batch_run.h"

namespace {

// The model's part of a dump (the view's state is not part of an undo step).
std::string Model(const std::string& dump)
{
    const auto from = dump.find("vertices ");
    const auto to = dump.find("view-zoom ");
    return dump.substr(from, to - from);
}

std::string DumpAfter(std::vector<std::string> steps)
{
    steps.push_back("--dump");
    const BatchOutcome run = RunBatchSteps(steps);
    EXPECT_EQ(run.status, 0) << run.err;
    return Model(run.out);
}

TEST(UndoBatch, EachKindOfClickIsOneStep)
{
    const std::vector<std::string> setup = {"--do", "shape-square", "--click", "400,300"};
    const std::string before = DumpAfter(setup);
    for (const std::vector<std::string>& click : std::vector<std::vector<std::string>>{
             {"--click", "400,200"},                         // picks the square's top vertex
             {"--click", "500,320,right"},                   // adds a vertex
             {"--do", "do-move", "--click", "430,310"},      // moves the selection
         }) {
        std::vector<std::string> did = setup;
        did.insert(did.end(), click.begin(), click.end());
        const std::string after = DumpAfter(did);
        ASSERT_NE(after, before) << click[1];
        std::vector<std::string> undone = did;
        undone.insert(undone.end(), {"--do", "edit-undo"});
        EXPECT_EQ(DumpAfter(undone), before) << click[1];
        undone.insert(undone.end(), {"--do", "edit-redo"});
        EXPECT_EQ(DumpAfter(undone), after) << click[1];
    }
}

TEST(UndoBatch, ClickOnEmptySpaceAndNavigationMakeNoStep)
{
    // Two steps: the cylinder and the pick. Everything else changes no model data.
    const std::string cylinder = DumpAfter({"--do", "shape-cylinder"});
    const std::string undone = DumpAfter({"--do", "shape-cylinder", "--click", "10,10", "--do", "view-zoom-in",
                                          "--do", "view-pan-left", "--do", "res-high", "--do", "step-coarse",
                                          "--click", "400,200", "--do", "edit-undo", "--do", "edit-undo"});
    EXPECT_EQ(undone, DumpAfter({}));
    EXPECT_NE(cylinder, undone);
}

TEST(UndoBatch, RandomSessionOfCommandsAndClicks)
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
    const std::string direct = DumpAfter(session);
    ASSERT_NE(direct.rfind("vertices 0\n", 0), 0u) << "the session builds something";
    std::vector<std::string> back = session;
    for (int k = 0; k < 200; ++k) back.insert(back.end(), {"--do", "edit-undo"});
    EXPECT_EQ(DumpAfter(back), DumpAfter({})) << "undone to the start: the empty model";
    for (int k = 0; k < 200; ++k) back.insert(back.end(), {"--do", "edit-redo"});
    EXPECT_EQ(DumpAfter(back), direct) << "redone to the end: the direct result";
}

}  // namespace
