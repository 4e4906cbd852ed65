// Undo and redo of model changes, and keeping the modified flag in step with them.
#include "model/polydrom_doc.h"

bool CPolydromDoc::CommitStep(std::string label)
{
    if (!m_history.Commit(*this, std::move(label))) return false;
    SetModifiedFlag(!m_history.IsAtSavePoint());
    return true;
}

void CPolydromDoc::OnEditUndo()
{
    if (!m_history.Undo(*this)) return;
    SetModifiedFlag(!m_history.IsAtSavePoint());
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnEditRedo()
{
    if (!m_history.Redo(*this)) return;
    SetModifiedFlag(!m_history.IsAtSavePoint());
    UpdateAllViews(nullptr);
}

void CPolydromDoc::OnAfterSave() { m_history.MarkSaved(); }

void CPolydromDoc::MarkUnsaved()
{
    m_history.ForgetSavePoint();
    SetModifiedFlag(true);
}
