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

// A step records what a model file holds (ModelArrays: X, Y, Z and the selection per
// vertex, the two ends per edge, the three corners per face) and nothing else of the
// document, so the history can be tested, and reused, on arrays of any owner. Undo and
// redo write the model back into these arrays, resizing them; `dup` and `used` (either may
// be null) are kept the size of the vertices (entries -1) and of the edges (entries 0).
struct RestoredArrays {
    std::vector<float> *x, *y, *z;
    std::vector<std::int32_t> *sel, *from, *to, *face;
    std::vector<std::int32_t>* dup = nullptr;
    std::vector<std::int32_t>* used = nullptr;
};

class CModelHistory {
public:
    // The history keeps at most ByteBudget(vertices) bytes in all, the vertices counted
    // when a step is committed; the oldest steps go first. The floor holds more than 100
    // steps that rewrite every array of a 10,000-vertex model (under 0.5 MiB each); past
    // 114,688 vertices the budget grows by 512 bytes a vertex, room for 21 steps that
    // rewrite every coordinate (24 bytes a vertex, before and after): 512 MiB at a million.
    static constexpr std::size_t kByteBudget = std::size_t(56) << 20;
    static constexpr std::size_t kBytesPerVertex = 512;
    static std::size_t ByteBudget(std::size_t vertices)
    {
        return vertices > kByteBudget / kBytesPerVertex ? vertices * kBytesPerVertex : kByteBudget;
    }

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
    // The after window is what the model holds whenever the step is undone, so it is
    // copied from the model then, not at the commit: an Extrude of a million vertices
    // commits without copying its new half of the model once more. It is counted in the
    // history's bytes from the commit on, so that undoing never overruns the budget.
    template <typename T>
    struct Patch {
        std::size_t begin = 0, tail = 0;
        std::size_t afterSize = 0;
        std::vector<T> before, after;  // after: empty until the step is first undone
        std::size_t Bytes() const { return (before.size() + afterSize) * sizeof(T); }
        bool Touched() const { return !before.empty() || afterSize > 0; }
    };
    struct Step {
        std::string label;
        bool geometry = false;  // anything beside the selection changed
        Patch<float> x, y, z;
        Patch<std::int32_t> sel, from, to, face;
        std::size_t Bytes() const;
    };
    // The model as of the last step, to diff the next one against.
    struct Shadow {
        std::vector<float> x, y, z;
        std::vector<std::int32_t> sel, from, to, face;
    };

    void Apply(const RestoredArrays& model, Step& step, bool forward);
    void DropOldest();

    std::deque<Step> m_steps;
    std::size_t m_position = 0;  // steps before it are done, from it on undone
    std::size_t m_bytes = 0;
    long m_dropped = 0;          // steps forgotten at the front, to keep save points comparable
    long m_savedAt = 0;
    Shadow m_shadow;
};
