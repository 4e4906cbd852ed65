// The document base: its views, the modified flag, and turning files into Serialize calls.
#include "framework/document.h"

#include <algorithm>
#include <exception>
#include <new>
#include <vector>

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

void CDocument::ReadDocument(const std::string& path)
{
    std::vector<unsigned char> bytes;
    std::size_t wanted = 0;
    if (Result sized = BytesToRead(path, &wanted); !sized) throw CArchiveException(sized.error);
    if (FileResult read = ReadFileStart(path, std::min(wanted, MaxFileBytes()), &bytes); !read)
        throw CArchiveException(read.reason);
    CArchive ar(bytes);
    Serialize(ar);
}

Result CDocument::OnOpenDocument(const std::string& path)
{
    auto fail = [&](const std::string& reason) {
        return Result::Failure("Cannot open \"" + path + "\": " + reason + ".");
    };
    try {
        ReadDocument(path);
    } catch (const CArchiveException& e) {
        return fail(e.what());
    } catch (const std::bad_alloc&) {
        return fail("not enough memory to read it");
    } catch (const std::exception& e) {
        // Whatever else goes wrong is this file's failure to open, never the program's end.
        return fail(e.what());
    }
    m_pathName = path;
    SetModifiedFlag(false);
    return Result::Success();
}

Result CDocument::OnSaveDocument(const std::string& path)
{
    Result written = WriteToFile(path);
    if (written) SavedTo(path);
    return written;
}

Result CDocument::WriteToFile(const std::string& path)
{
    auto fail = [&](const std::string& reason) {
        return Result::Failure("Cannot save \"" + path + "\": " + reason + ".");
    };
    try {
        CArchive ar;
        Serialize(ar);
        // A check the model runs beside the writing has the last word before the file is replaced.
        if (FileResult written = WriteFileAtomically(path, ar.PiecesBeforeCheck(), [&] { return ar.AwaitCheck(); });
            !written)
            return fail(written.reason);
    } catch (const CArchiveException& e) {
        return fail(e.what());
    } catch (const std::bad_alloc&) {
        return fail("not enough memory");
    }
    return Result::Success();
}

void CDocument::SavedTo(const std::string& path)
{
    m_pathName = path;
    OnAfterSave();
    SetModifiedFlag(false);
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
