// The rules every model file obeys, checked alike for a model read from a file and for one
// about to be stored, so that every saved file opens again.
#pragma once

#include <cstddef>

#include "model/model_arrays.h"

// From this many vertices, edges and faces together, work on a model's arrays that only
// reads them (the checks, the history's first copy, a face block's read) is split over
// two threads.
constexpr std::size_t kWorkAside = std::size_t(1) << 18;

// Throws CArchiveException naming the first rule broken: finite coordinates, a selection
// of 0 or 1, edge ends and face corners that are vertices, three different corners, face
// sides that are edges, and no two faces on the same three vertices. Checks of each rule
// run in that order, and each names the first entry that breaks it.
void CheckModel(const ModelArrays& model);
