// Undo and redo of model changes, and keeping the modified flag in step with them.
#include <new>

#include "model/polydrom_doc.h"

ModelArrays CPolydromDoc::LiveArrays() const
{
    return {GetVertexCount(), GetEdgeCount(), m_x.data(), m_y.data(), m_z.data(), m_sel.data(),
            m_edgeFrom.data(), m_edgeTo.data(), GetFaceCount(), m_face.data()};
}

RestoredArrays CPolydromDoc::WholeArrays()
{
    return {&m_x, &m_y, &m_z, &m_sel, &m_edgeFrom, &m_edgeTo, &m_face, &m_dup, &m_edgeUsed};
}

bool CPolydromDoc::CommitStep(std::string label)
{
    try {
        if (!m_history.Commit(LiveArrays(), label)) return false;
    } catch (const std::bad_alloc&) {
        // The change stands and the history is as it was: the next step that can be kept
        // takes this change with it.
        ReportFailure(label + " is done, but there is not enough memory to keep it as an undo step of its own.");
        SetModifiedFlag(true);
        return false;
    }
    SetModifiedFlag(!m_history.GeometryAtSavePoint());
    return true;
}

void CPolydromDoc::OnEditUndo()
{
    const std::string label = m_history.UndoLabel();
    try {
        if (!m_history.Undo(WholeArrays())) return;
    } catch (const std::bad_alloc&) {
        // Room is made before anything changes: the model and the history stand as they were.
        ReportFailure("There is not enough memory to undo " + label + ".");
        return;
    }
    ReportInfo("Undid " + label);
    SetModifiedFlag(!m_history.GeometryAtSavePoint());
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnEditRedo()
{
    const std::string label = m_history.RedoLabel();
    try {
        if (!m_history.Redo(WholeArrays())) return;
    } catch (const std::bad_alloc&) {
        ReportFailure("There is not enough memory to redo " + label + ".");
        return;
    }
    ReportInfo("Redid " + label);
    SetModifiedFlag(!m_history.GeometryAtSavePoint());
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnAfterSave() { m_history.MarkSaved(); }

void CPolydromDoc::MarkUnsaved()
{
    m_history.ForgetSavePoint();
    SetModifiedFlag(true);
}
