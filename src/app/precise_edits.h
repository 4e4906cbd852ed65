// The typed edits and the box selection, shared by the window's dialogs and batch mode:
// each runs on the model and, when it changed the model or its selection, becomes one
// undo step under its own name.
#pragma once

#include <span>
#include <string_view>

#include "model/polydrom_doc.h"

class CPolydromView;
struct CPoint;

enum class TypedEdit { AddVertexAt, MoveBy, RotateBy, ScaleBy, MergeVertices };

// What Merge Vertices offers until a distance has merged.
inline constexpr double kDefaultMergeDistance = 0.001;

struct TypedEditInfo {
    TypedEdit edit;
    std::string_view batchStep;  // "--move-by"
    std::string_view valueNames; // "DX,DY,DZ": what the step's value holds, for its error message
    int valueCount;
    std::string_view stepLabel;  // the undo step: "Move By"
};

std::span<const TypedEditInfo> TypedEdits();
const TypedEditInfo& InfoOf(TypedEdit edit);

// Runs the edit with its values (valueCount of them) and returns what the document
// reported: nothing, or a refusal that says why the model is as it was.
CommandReport RunTypedEdit(CPolydromDoc& doc, const ViewState& view, TypedEdit edit, std::span<const double> values);

// The vertices whose pixels lie in the box with corners a and b (inclusive, any order)
// become the selection, join it or leave it.
void RunBoxSelection(CPolydromView& view, CPoint a, CPoint b, SelectionChange change);
