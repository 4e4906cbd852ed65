// The model's side of the recovery copy: a snapshot of the arrays, cheap enough to take
// on the user-interface thread after a change, its ".pdm" bytes, made on another thread,
// and the check that a copy found on disk is a valid model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/result.h"
#include "model/model_arrays.h"

class CPolydromDoc;

struct ModelSnapshot {
    std::int32_t vertices = 0, edges = 0, faces = 0;
    std::vector<float> x, y, z;
    std::vector<std::int32_t> sel, from, to, face;

    ModelArrays Arrays() const
    {
        return ModelArrays{vertices, edges,       x.data(), y.data(), z.data(), sel.data(), from.data(), to.data(),
                           faces,    face.data()};
    }
};

// Copies the arrays (44 bytes a vertex with three edges and two faces), reusing the
// snapshot's storage. May throw std::bad_alloc, leaving the snapshot unusable.
void TakeSnapshot(const CPolydromDoc& doc, ModelSnapshot* snapshot);
// The bytes File > Save writes for the model in the snapshot.
std::vector<unsigned char> SnapshotBytes(const ModelSnapshot& snapshot);
// Reads the file as File > Open does, without keeping the model: success for a valid
// model, otherwise the message naming the file and the reason.
Result CheckModelFile(const std::string& path);
