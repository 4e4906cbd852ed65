// Select All Connected and Un-connect against their plain pass-by-pass renditions on
// many random models, where duplicate edges, self-loops and loose vertices abound.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "model/model_fixtures.h"
#include "model/reference_passes.h"

namespace {

struct Shape {
    int maxVertices;
    int maxEdges;
    int markedPercent;  // vertices in state 2, as a command interrupted mid-way would leave
};

std::uint32_t Pick(std::mt19937& rng, std::uint32_t n) { return rng() % n; }

// Fills a document with a random model: few vertices for many edges, so that the same
// pair is often joined twice and edges often start and end at one vertex.
void RandomModel(CPolydromDoc& doc, std::mt19937& rng, const Shape& shape)
{
    const int vertices = 1 + static_cast<int>(Pick(rng, shape.maxVertices));
    doc.ResizeModel(vertices, static_cast<int>(Pick(rng, shape.maxEdges + 1)), 0);
    const int selectedPercent = static_cast<int>(Pick(rng, 101));
    for (int i = 0; i < doc.GetVertexCount(); ++i) {
        doc.m_x[i] = static_cast<float>(static_cast<int>(Pick(rng, 2001)) - 1000) / 8.0f;
        doc.m_y[i] = Pick(rng, 4) == 0 ? -0.0f : static_cast<float>(i);
        doc.m_z[i] = std::bit_cast<float>(static_cast<std::uint32_t>(rng() & 0x7f7fffffu));  // finite, any magnitude
        const int roll = static_cast<int>(Pick(rng, 100));
        doc.m_sel[i] = roll < shape.markedPercent ? 2 : roll < selectedPercent ? 1 : 0;
        doc.m_dup[i] = static_cast<int>(Pick(rng, 7)) - 1;
    }
    for (int j = 0; j < doc.GetEdgeCount(); ++j) {
        doc.m_edgeFrom[j] = static_cast<int>(Pick(rng, doc.GetVertexCount()));
        doc.m_edgeTo[j] = Pick(rng, 5) == 0 ? doc.m_edgeFrom[j] : static_cast<int>(Pick(rng, doc.GetVertexCount()));
        doc.m_edgeUsed[j] = static_cast<int>(Pick(rng, 2));  // marks an export may have left
    }
}

// Every live entry: the model text with each vertex's duplicate link and each edge's mark.
std::string Live(const CPolydromDoc& doc)
{
    std::string text = ModelText(doc) + "\ndup";
    for (int i = 0; i < doc.GetVertexCount(); ++i) text += " " + std::to_string(doc.m_dup[i]);
    text += "\nused";
    for (int j = 0; j < doc.GetEdgeCount(); ++j) text += " " + std::to_string(doc.m_edgeUsed[j]);
    return text;
}

TEST(AgainstReferencePasses, RandomModels)
{
    using Command = void (*)(CPolydromDoc&);
    const Command fastSelect = [](CPolydromDoc& doc) { doc.OnDoSelectConnected(); };
    const Command fastUnconnect = [](CPolydromDoc& doc) { doc.OnDoUnconnect(); };
    const struct {
        Command fast, reference;
        int models;
        Shape shape;
    } runs[] = {
        {fastSelect, ReferenceSelectConnected, 3000, {8, 24, 0}},
        // A vertex in state 2 does not spread the selection, but is selected when reached.
        {fastSelect, ReferenceSelectConnected, 3000, {10, 20, 25}},
        {fastSelect, ReferenceSelectConnected, 60, {300, 400, 5}},
        {fastUnconnect, ReferenceUnconnect, 3000, {8, 24, 0}},
        // Such a vertex is dropped, yet its edges stay; both versions must agree on them too.
        {fastUnconnect, ReferenceUnconnect, 3000, {10, 20, 25}},
        {fastUnconnect, ReferenceUnconnect, 60, {300, 600, 5}},
    };
    std::uint32_t seed = 0;
    auto a = NewDoc(), b = NewDoc();
    for (const auto& run : runs) {
        std::mt19937 rng(++seed);
        for (int m = 0; m < run.models; ++m) {
            std::mt19937 same = rng;
            RandomModel(*a, rng, run.shape);
            RandomModel(*b, same, run.shape);
            run.fast(*a);
            run.reference(*b);
            ASSERT_EQ(Live(*a), Live(*b)) << "model " << m << " of seed " << seed << " (left: the command)";
        }
    }
}

}  // namespace
