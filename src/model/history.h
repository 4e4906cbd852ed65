// Undo and redo: every change to the model's counts, coordinates, selection and edges
// becomes one step, recorded as the ranges of each array that differ before and after.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "model/model_arrays.h"

// A step records what a model file holds (ModelArrays: the counts, X, Y, Z and the
// selection per vertex, the two ends per edge) and nothing else of the document, so
// the history can be tested, and reused, on arrays of any owner. Undo and redo write
// the model back here: each array whole (its capacity), and the two counts that say
// how many leading entries are live.
struct RestoredArrays {
    std::span<float> x, y, z;
    std::span<std::int32_t> sel, from, to;
    std::int32_t* vertices;
    std::int32_t* edges;
};

class CModelHistory {
public:
    // A step keeps at most this many bytes of history in all; the oldest go first. At
    // the model's capacity a step that rewrites every array takes under 0.5 MiB, so
    // more than 100 such steps fit.
    static constexpr std::size_t kByteBudget = std::size_t(56) << 20;

    // Forgets every step and takes the model as the starting point.
    void Reset(const ModelArrays& model);

    // Compares the model with the state after the last step; if anything differs,
    // records one step under the label and returns true. Clears the redo steps.
    bool Commit(const ModelArrays& model, std::string label);

    bool CanUndo() const { return m_position > 0; }
    bool CanRedo() const { return m_position < m_steps.size(); }
    // "Extrude", "Add Vertex" ...: the label of the step that Undo (Redo) would take back.
    const std::string& UndoLabel() const;
    const std::string& RedoLabel() const;
    bool Undo(const RestoredArrays& model);
    bool Redo(const RestoredArrays& model);

    // The model is as it was when last saved (the save point may have been dropped).
    void MarkSaved() { m_savedAt = static_cast<long>(m_position) + m_dropped; }
    // No state of the history is the one in the file any more.
    void ForgetSavePoint() { m_savedAt = -1; }
    bool IsAtSavePoint() const { return m_savedAt == static_cast<long>(m_position) + m_dropped; }
    // The vertices' coordinates, the counts and the edges are as saved: only selections
    // (which a user does not expect to be asked to save) changed since, or were undone.
    bool GeometryAtSavePoint() const;

    std::size_t StepCount() const { return m_steps.size(); }
    std::size_t BytesUsed() const { return m_bytes; }

private:
    // One array's change: before the step the array is head, before, tail; after it
    // head, after, tail, where head is the first `begin` entries and tail the last
    // `tail` ones, the same on both sides (they move when the window changes length).
    template <typename T>
    struct Patch {
        std::size_t begin = 0, tail = 0;
        std::vector<T> before, after;
        std::size_t Bytes() const { return (before.size() + after.size()) * sizeof(T); }
    };
    struct Step {
        std::string label;
        bool geometry = false;  // anything beside the selection changed
        std::int32_t verticesBefore = 0, verticesAfter = 0, edgesBefore = 0, edgesAfter = 0;
        Patch<float> x, y, z;
        Patch<std::int32_t> sel, from, to;
        std::size_t Bytes() const;
    };
    // The model as of the last step, to diff the next one against.
    struct Shadow {
        std::vector<float> x, y, z;
        std::vector<std::int32_t> sel, from, to;
    };

    void Apply(const RestoredArrays& model, const Step& step, bool forward);
    void DropOldest();

    std::deque<Step> m_steps;
    std::size_t m_position = 0;  // steps before it are done, from it on undone
    std::size_t m_bytes = 0;
    long m_dropped = 0;          // steps forgotten at the front, to keep save points comparable
    long m_savedAt = 0;
    Shadow m_shadow;
};
