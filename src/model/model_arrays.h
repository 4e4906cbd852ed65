// The arrays that make up a model file, wherever they live: in the document, or in a
// snapshot of it. One writer puts them into an archive, so every copy has the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CArchive;

struct ModelArrays {
    std::int32_t vertices = 0, edges = 0;
    const float *x = nullptr, *y = nullptr, *z = nullptr;
    const std::int32_t* sel = nullptr;
    const std::int32_t *from = nullptr, *to = nullptr;
    std::int32_t faces = 0;
    const std::int32_t* face = nullptr;  // three corners per face
};

// Writes the ".pdm" layout: the counts, then every X, Y, Z, selection, edge start and edge
// end; then, only when there are faces, the face block ("FACE", 1, the count, the corners).
void StoreModel(CArchive& ar, const ModelArrays& model);

// The capacity given to a model's arrays (and the history's copy of them) when a file is
// read: an eighth more than they hold, which takes no memory until it is used, so that the
// first clicks and Connects on a big model add to the arrays instead of copying them whole.
constexpr std::size_t WithRoom(std::size_t entries)
{
    return entries + entries / 8;
}

// A model's arrays held aside: a model read from a file waits here until every value has
// been checked, one a command builds (Merge Vertices) until it is whole.
struct LoadedModel {
    std::vector<float> x, y, z;
    std::vector<std::int32_t> sel, from, to, face;
    std::vector<std::int32_t> dup, used;  // not in the file: -1 and 0 for every entry
    // Sizes the arrays the file holds for n vertices, e edges and f faces.
    void Allocate(std::int32_t n, std::int32_t e, std::int32_t f);
    void AllocateVerticesAndEdges(std::int32_t n, std::int32_t e);
    void AllocateFaces(std::int32_t f);
};
