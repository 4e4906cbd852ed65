// Merge Vertices: groups through chains, the lowest vertex's place, what it drops, and
// what it says. Whole models (two coincident shapes) are scenario cases.
#include <gtest/gtest.h>

#include "model/model_fixtures.h"

namespace {

struct Merged {
    std::string model;
    std::string report;
};

Merged Merge(const std::string& before, double distance, std::vector<std::int32_t> faces = {})
{
    auto doc = ModelFrom(before);
    doc->m_face = std::move(faces);
    doc->TakeReport();
    doc->MergeVertices(distance);
    std::string text = ModelText(*doc) + ";";
    for (std::size_t k = 0; k < doc->m_face.size(); ++k)
        text += (k % 3 ? "," : k ? " " : "") + std::to_string(doc->m_face[k]);
    return {text, doc->TakeReport().text};
}

TEST(MergeVertices, Examples)
{
    const struct {
        const char* before;
        double distance;
        std::vector<std::int32_t> faces;
        const char* after;
        const char* report;
    } cases[] = {
        // A chain merges though its ends are farther apart; the lowest vertex keeps its place;
        // an unselected vertex stays, however close.
        {"0 0 0 1|5 0 0 0|0.0005 0 0 1|0.001 0 0 1;0-1 2-1 3-1", 0.001, {}, "0 0 0 1|5 0 0 0;0-1;",
         "Merged 3 vertices into 1"},
        // An edge that shrinks to a point goes, and so does one that now repeats another;
        // a face that loses a corner or repeats another goes; the others are renumbered.
        {"0 0 0 1|1 0 0 1|1 0 0 1|0 1 0 0|9 9 9 0;0-1 1-3 3-0 2-3 0-2 1-2 4-0", 0, {0, 1, 3, 0, 2, 3, 1, 2, 0},
         "0 0 0 1|1 0 0 1|0 1 0 0|9 9 9 0;0-1 1-2 2-0 3-0;0,1,2", "Merged 2 vertices into 1"},
        {"0 0 0 1|1 0 0 1;0-1", 0.5, {}, "0 0 0 1|1 0 0 1;0-1;",
         "None of the selected vertices are within 0.5 of another"},
        {"0 0 0 1;", -1, {}, "0 0 0 1;;", "Merge Vertices refused: the distance must be a number of 0 or more."},
        // Cells far beyond the grid's numbers are clamped together: still only the equal ones merge.
        {"1e30 0 0 1|1e30 0 0 1|2e30 0 0 1|-1e30 0 0 1;", 1e-30, {}, "1e+30 0 0 1|2e+30 0 0 1|-1e+30 0 0 1;;",
         "Merged 2 vertices into 1"},
    };
    for (const auto& c : cases) {
        const Merged merged = Merge(c.before, c.distance, c.faces);
        EXPECT_EQ(merged.model, c.after) << c.before;
        EXPECT_EQ(merged.report, c.report) << c.before;
    }
}

}  // namespace
