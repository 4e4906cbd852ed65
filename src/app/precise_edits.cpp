// One entry per typed edit, so the dialogs, the batch steps and the undo names agree.
#include "app/precise_edits.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "view/polydrom_view.h"

namespace {

const TypedEditInfo kTypedEdits[] = {
    {TypedEdit::AddVertexAt, "--add-vertex", "X,Y,Z", 3, "Add Vertex At"},
    {TypedEdit::MoveBy, "--move-by", "DX,DY,DZ", 3, "Move By"},
    {TypedEdit::RotateBy, "--rotate-by", "DEGREES", 1, "Rotate By"},
    {TypedEdit::ScaleBy, "--scale-by", "FACTOR", 1, "Scale By"},
    {TypedEdit::MergeVertices, "--merge-vertices", "DISTANCE", 1, "Merge Vertices"},
};

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// What a typed edit that went through did, for the status bar.
std::string Confirmation(const CPolydromDoc& doc, TypedEdit edit, std::span<const double> values)
{
    if (edit == TypedEdit::AddVertexAt)
        return "Added a vertex at (" + Number(values[0]) + ", " + Number(values[1]) + ", " + Number(values[2]) + ")";
    int selected = 0;
    for (int i = 0; i < doc.GetVertexCount(); ++i) selected += doc.GetVertexSel(i) == 1;
    if (selected == 0) return std::string(InfoOf(edit).stepLabel) + " changed nothing: no vertex is selected";
    const std::string vertices = std::to_string(selected) + (selected == 1 ? " vertex" : " vertices");
    switch (edit) {
    case TypedEdit::MoveBy:
        return "Moved " + vertices + " by (" + Number(values[0]) + ", " + Number(values[1]) + ", " +
               Number(values[2]) + ")";
    case TypedEdit::RotateBy: return "Rotated " + vertices + " by " + Number(values[0]) + " degrees about the cursor";
    default: return "Scaled " + vertices + " by " + Number(values[0]) + " about the cursor";
    }
}

}  // namespace

std::span<const TypedEditInfo> TypedEdits() { return kTypedEdits; }

const TypedEditInfo& InfoOf(TypedEdit edit)
{
    return *std::find_if(std::begin(kTypedEdits), std::end(kTypedEdits),
                         [edit](const TypedEditInfo& info) { return info.edit == edit; });
}

CommandReport RunTypedEdit(CPolydromDoc& doc, const ViewState& view, TypedEdit edit, std::span<const double> values)
{
    const TypedEditInfo& info = InfoOf(edit);
    doc.TakeReport();
    if (values.size() != static_cast<std::size_t>(info.valueCount))
        return {CommandReport::Kind::Refusal, std::string(info.stepLabel) + " needs " + std::string(info.valueNames)};
    switch (edit) {
    case TypedEdit::AddVertexAt: doc.AddVertexAt(values[0], values[1], values[2]); break;
    case TypedEdit::MoveBy: doc.MoveSelectionBy(values[0], values[1], values[2]); break;
    case TypedEdit::RotateBy: doc.RotateSelectionBy(values[0], view); break;
    case TypedEdit::ScaleBy: doc.ScaleSelectionBy(values[0], view); break;
    case TypedEdit::MergeVertices: doc.MergeVertices(values[0]); break;
    }
    doc.CommitStep(std::string(info.stepLabel));
    CommandReport report = doc.TakeReport();
    if (report.kind == CommandReport::Kind::None)
        report = {CommandReport::Kind::Info, Confirmation(doc, edit, values)};
    return report;
}

void RunBoxSelection(CPolydromView& view, CPoint a, CPoint b, SelectionChange change)
{
    CPolydromDoc* doc = view.GetDocument();
    if (!doc) return;
    doc->ChangeSelection(view.VerticesInBox(a, b), change);
    const char* label = change == SelectionChange::Add      ? "Add Box to Selection"
                        : change == SelectionChange::Remove ? "Remove Box from Selection"
                                                            : "Select Box";
    doc->CommitStep(label);
}
