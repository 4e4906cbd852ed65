#include "framework/document.h"

#include <algorithm>
#include <exception>

#include "framework/archive.h"
#include "framework/atomic_file.h"
#include "framework/view.h"

CDocument::~CDocument()
{
    for (CView* view : m_views) view->m_pDocument = nullptr;
}

void CDocument::AddView(CView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) != m_views.end()) return;
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end()) return;
    m_views.erase(it);
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, long hint, void* object)
{
    for (CView* view : m_views)
        if (view != sender) view->OnUpdate(sender, hint, object);
}

void CDocument::SetModifiedFlag(bool modified)
{
    if (m_modified == modified) return;
    m_modified = modified;
    if (onModifiedChanged) onModifiedChanged();
}

std::string CDocument::GetTitle() const
{
    if (m_pathName.empty()) return "Untitled";
    auto slash = m_pathName.find_last_of('/');
    return slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
}

bool CDocument::OnNewDocument()
{
    m_pathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path, std::string* error)
{
    std::vector<unsigned char> bytes;
    std::string reason;
    if (!ReadWholeFile(path, &bytes, &reason)) {
        if (error) *error = "Cannot open \"" + path + "\": " + reason + ".";
        return false;
    }
    CArchive ar(bytes);
    try {
        Serialize(ar);
    } catch (const CArchiveException& e) {
        if (error) *error = "Cannot open \"" + path + "\": " + e.what() + ".";
        return false;
    }
    m_pathName = path;
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path, std::string* error)
{
    CArchive ar;
    Serialize(ar);
    std::string reason;
    if (!WriteFileAtomically(path, ar.Bytes(), &reason)) {
        if (error) *error = "Cannot save \"" + path + "\": " + reason + ".";
        return false;
    }
    m_pathName = path;
    OnAfterSave();
    SetModifiedFlag(false);
    return true;
}

void CDocument::Report(CommandReport::Kind kind, std::string text)
{
    m_report = CommandReport{kind, std::move(text)};
}

CommandReport CDocument::TakeReport()
{
    CommandReport report = std::move(m_report);
    m_report = CommandReport{};
    return report;
}
