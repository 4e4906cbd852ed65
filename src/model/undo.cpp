// Undo and redo of model changes, and keeping the modified flag in step with them.
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
    if (!m_history.Commit(LiveArrays(), std::move(label))) return false;
    SetModifiedFlag(!m_history.GeometryAtSavePoint());
    return true;
}

void CPolydromDoc::OnEditUndo()
{
    const std::string label = m_history.UndoLabel();
    if (!m_history.Undo(WholeArrays())) return;
    ReportInfo("Undid " + label);
    SetModifiedFlag(!m_history.GeometryAtSavePoint());
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnEditRedo()
{
    const std::string label = m_history.RedoLabel();
    if (!m_history.Redo(WholeArrays())) return;
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
