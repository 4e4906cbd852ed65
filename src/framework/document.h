// The document base: owns the list of views, the modified flag and the file path,
// and turns a file into a Serialize call (and back) with clear error reports.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "framework/result.h"

class CArchive;
class CView;

// What a document command tells its caller: an outcome worth a word (Info), a command
// not carried out because the model is full or memory ran out (Refusal),
// or work on a file that failed (Failure). The shell shows a failure in a dialog, as it
// does a failed save, and the rest in the status bar; batch mode stops at either of the last two.
struct CommandReport {
    enum class Kind { None, Info, Refusal, Failure };
    Kind kind = Kind::None;
    std::string text;
};

class CDocument {
public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    virtual ~CDocument();

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& Views() const { return m_views; }
    // Asks every view except the sender to repaint.
    void UpdateAllViews(CView* sender, long hint = 0, void* object = nullptr);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);
    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(std::string path) { m_pathName = std::move(path); }
    // "Untitled" for a new model, otherwise the file name without its folder.
    std::string GetTitle() const;
    // Called whenever the modified flag changes, so the shell can update the caption.
    std::function<void()> onModifiedChanged;

    // File > New: resets the path and the modified flag, then calls OnNewDocument.
    virtual bool OnNewDocument();
    // Reads the file's first MaxFileBytes() into memory and hands them to Serialize
    // through a loading archive. A failure, of the reading or of Serialize, is a message
    // naming the file and the reason ("Cannot open ..."); the document is left exactly
    // as it was, since Serialize validates before it adopts.
    Result OnOpenDocument(const std::string& path);
    // Serializes into memory and writes the bytes atomically; the old file survives a
    // failure. A Serialize that finds the model cannot be stored refuses the save.
    Result OnSaveDocument(const std::string& path);
    // OnSaveDocument's two halves, for a shell that writes on a worker thread: the
    // writing, which changes nothing of the document (it may run while the document is
    // only read), and then the bookkeeping of a successful save.
    Result WriteToFile(const std::string& path);
    void SavedTo(const std::string& path);
    // Storing throws CArchiveException when the model cannot be stored as a valid file.
    virtual void Serialize(CArchive& ar) = 0;
    // The most bytes a file of this document can need; anything after them is never read.
    virtual std::size_t MaxFileBytes() const { return std::size_t(64) << 20; }
    // The reading itself, throwing CArchiveException with the reason when the file
    // cannot be read or holds no valid document: by default the bytes BytesToRead names,
    // read into memory and handed to Serialize. A document may read its own files more
    // directly, as long as it takes the same files and gives the same reasons.
    virtual void ReadDocument(const std::string& path);
    // How many bytes of this file to read: at most MaxFileBytes(), fewer when the file's
    // own counts say it needs fewer. May fail with the reason.
    virtual Result BytesToRead(const std::string& path, std::size_t* bytes) const
    {
        (void)path;
        *bytes = MaxFileBytes();
        return Result::Success();
    }

    void Report(CommandReport::Kind kind, std::string text);
    void ReportRefusal(std::string text) { Report(CommandReport::Kind::Refusal, std::move(text)); }
    void ReportInfo(std::string text) { Report(CommandReport::Kind::Info, std::move(text)); }
    void ReportFailure(std::string text) { Report(CommandReport::Kind::Failure, std::move(text)); }
    // Returns the report of the last command and clears it.
    CommandReport TakeReport();

protected:
    // Called after a successful save, before the modified flag is cleared.
    virtual void OnAfterSave() {}

private:
    std::vector<CView*> m_views;
    bool m_modified = false;
    std::string m_pathName;
    CommandReport m_report;
};
