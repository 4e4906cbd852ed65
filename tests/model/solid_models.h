// Closed models for the export tests, built as a user would build them.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "model_fixtures.h"

// Four faces; the search writes three of them wound one way and the fourth the other.
inline constexpr char kTetrahedron[] = "0 0 0 0|10 0 0 0|0 10 0 0|0 0 10 0;0-1 0-2 0-3 1-2 2-3 3-1";

// The box primitive closed at the bottom (and the top) with two Connects each: Connect
// stores the diagonal twice and repeats the ring's sides.
inline std::unique_ptr<CPolydromDoc> ConnectedBox(bool top = true)
{
    auto doc = NewDoc();
    doc->OnShapeBox({});  // bottom ring 0, 2, 4, 6; top ring 1, 3, 5, 7
    std::vector<std::array<int, 3>> connects = {{0, 2, 4}, {0, 4, 6}};
    if (top) connects.insert(connects.end(), {{1, 3, 5}, {1, 5, 7}});
    for (const auto& three : connects) {
        for (int v = 0; v < doc->GetVertexCount(); ++v) doc->m_sel[v] = 0;
        for (int v : three) doc->m_sel[v] = 1;
        doc->OnDoConnect();
    }
    return doc;
}
