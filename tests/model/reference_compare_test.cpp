// Select All Connected and Un-connect against their plain pass-by-pass renditions on
// many random models, where duplicate edges, self-loops and loose vertices abound.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <random>

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
    doc.m_nVertices = 1 + static_cast<int>(Pick(rng, shape.maxVertices));
    doc.m_nEdges = static_cast<int>(Pick(rng, shape.maxEdges + 1));
    const int selectedPercent = static_cast<int>(Pick(rng, 101));
    for (int i = 0; i < doc.m_nVertices; ++i) {
        doc.m_x[i] = static_cast<float>(static_cast<int>(Pick(rng, 2001)) - 1000) / 8.0f;
        doc.m_y[i] = Pick(rng, 4) == 0 ? -0.0f : static_cast<float>(i);
        doc.m_z[i] = std::bit_cast<float>(static_cast<std::uint32_t>(rng() & 0x7f7fffffu));  // finite, any magnitude
        const int roll = static_cast<int>(Pick(rng, 100));
        doc.m_sel[i] = roll < shape.markedPercent ? 2 : roll < selectedPercent ? 1 : 0;
        doc.m_dup[i] = static_cast<int>(Pick(rng, 7)) - 1;
    }
    for (int j = 0; j < doc.m_nEdges; ++j) {
        doc.m_edgeFrom[j] = static_cast<int>(Pick(rng, doc.m_nVertices));
        doc.m_edgeTo[j] = Pick(rng, 5) == 0 ? doc.m_edgeFrom[j] : static_cast<int>(Pick(rng, doc.m_nVertices));
        doc.m_edgeUsed[j] = static_cast<int>(Pick(rng, 2));  // marks an export may have left
    }
}

void CopyModel(const CPolydromDoc& from, CPolydromDoc& to)
{
    std::memcpy(to.m_x, from.m_x, sizeof to.m_x);
    std::memcpy(to.m_y, from.m_y, sizeof to.m_y);
    std::memcpy(to.m_z, from.m_z, sizeof to.m_z);
    std::memcpy(to.m_sel, from.m_sel, sizeof to.m_sel);
    std::memcpy(to.m_dup, from.m_dup, sizeof to.m_dup);
    std::memcpy(to.m_edgeFrom, from.m_edgeFrom, sizeof to.m_edgeFrom);
    std::memcpy(to.m_edgeTo, from.m_edgeTo, sizeof to.m_edgeTo);
    std::memcpy(to.m_edgeUsed, from.m_edgeUsed, sizeof to.m_edgeUsed);
    to.m_nVertices = from.m_nVertices;
    to.m_nEdges = from.m_nEdges;
}

// Every live entry and both counts; returns false at the first difference.
::testing::AssertionResult SameModel(const CPolydromDoc& fast, const CPolydromDoc& reference)
{
    auto fail = [](const char* what, int index, long long got, long long want) {
        return ::testing::AssertionFailure()
               << what << " [" << index << "] is " << got << ", the reference passes give " << want;
    };
    if (fast.m_nVertices != reference.m_nVertices)
        return fail("m_nVertices", 0, fast.m_nVertices, reference.m_nVertices);
    if (fast.m_nEdges != reference.m_nEdges) return fail("m_nEdges", 0, fast.m_nEdges, reference.m_nEdges);
    for (int i = 0; i < fast.m_nVertices; ++i) {
        if (Bits(fast.m_x[i]) != Bits(reference.m_x[i])) return fail("m_x bits", i, Bits(fast.m_x[i]), Bits(reference.m_x[i]));
        if (Bits(fast.m_y[i]) != Bits(reference.m_y[i])) return fail("m_y bits", i, Bits(fast.m_y[i]), Bits(reference.m_y[i]));
        if (Bits(fast.m_z[i]) != Bits(reference.m_z[i])) return fail("m_z bits", i, Bits(fast.m_z[i]), Bits(reference.m_z[i]));
        if (fast.m_sel[i] != reference.m_sel[i]) return fail("m_sel", i, fast.m_sel[i], reference.m_sel[i]);
        if (fast.m_dup[i] != reference.m_dup[i]) return fail("m_dup", i, fast.m_dup[i], reference.m_dup[i]);
    }
    for (int j = 0; j < fast.m_nEdges; ++j) {
        if (fast.m_edgeFrom[j] != reference.m_edgeFrom[j])
            return fail("m_edgeFrom", j, fast.m_edgeFrom[j], reference.m_edgeFrom[j]);
        if (fast.m_edgeTo[j] != reference.m_edgeTo[j]) return fail("m_edgeTo", j, fast.m_edgeTo[j], reference.m_edgeTo[j]);
        if (fast.m_edgeUsed[j] != reference.m_edgeUsed[j])
            return fail("m_edgeUsed", j, fast.m_edgeUsed[j], reference.m_edgeUsed[j]);
    }
    return ::testing::AssertionSuccess();
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
            RandomModel(*a, rng, run.shape);
            CopyModel(*a, *b);
            run.fast(*a);
            run.reference(*b);
            ASSERT_TRUE(SameModel(*a, *b)) << "model " << m << " of seed " << seed;
        }
    }
}

}  // namespace
