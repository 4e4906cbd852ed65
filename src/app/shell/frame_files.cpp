// File > New, Open, Save, Save As, Export As and the recent-file list, with the save prompt.
#include <algorithm>
#include <memory>
#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/shell/background_job.h"
#include "app/shell/main_frame.h"
#include "app/shell/prompts.h"
#include "app/shell/settings.h"
#include "model/mesh_export.h"
#include "model/polydrom_doc.h"
#include "model/recovery_copy.h"

namespace {

// The file-type filter of the Open and Save As dialogs, leading blank included.
const QString kFilter = QStringLiteral(" Files (*.pdm)");
const QString kExtension = QStringLiteral(".pdm");
// The settings key of the format Export As used last, by its extension (".stl").
const QString kExportFormatKey = QStringLiteral("Export/LastFormat");

std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromNative(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

// Save As appends the extension to a name typed without one.
QString WithDefaultExtension(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() && !path.endsWith(QLatin1Char('.')) ? path + kExtension : path;
}

// The place among the formats of the one with this extension (".stl"); the first for any other.
qsizetype FormatIndex(const QString& extension)
{
    const auto formats = MeshFormats();
    for (std::size_t i = 0; i < formats.size(); ++i)
        if (FromNative(std::string(formats[i].extension)) == extension) return static_cast<qsizetype>(i);
    return 0;
}

}  // namespace

void CMainFrame::OnFileNew()
{
    if (!SaveModified()) return;
    m_doc.OnNewDocument();
    DocumentReplaced();
}

void CMainFrame::OnFileOpen()
{
    const QString path = m_prompts.AskOpenFileName(this, kFilter);
    if (path.isEmpty() || !SaveModified()) return;
    OpenFile(path);
}

void CMainFrame::OnFileMruFile(int index)
{
    if (index < 0 || index >= m_recent.Files().size()) return;
    const QString path = m_recent.Files()[index];
    if (!SaveModified()) return;
    // A file that cannot be opened any more leaves the list.
    if (OpenFileReporting(path) == Opening::Failed) {
        m_recent.Remove(path);
        m_recent.Save();
        UpdateRecentMenu();
    }
}

bool CMainFrame::OpenFile(const QString& path) { return OpenFileReporting(path) == Opening::Opened; }

CMainFrame::Opening CMainFrame::OpenFileReporting(const QString& path)
{
    // Read into a document of its own on a worker thread, so that the model stays as it
    // is until the new one is whole and checked, and a cancel leaves it untouched.
    struct Job {
        CPolydromDoc doc;
        Result opened;
    };
    auto job = std::make_shared<Job>();
    const QString name = QFileInfo(path).fileName();
    if (!RunWithProgress(m_prompts, isVisible() ? this : nullptr, QStringLiteral("Opening %1...").arg(name), true,
                         [job, file = Native(path)] { job->opened = job->doc.OnOpenDocument(file); })) {
        m_doc.ReportInfo("Opening " + Native(name) + " cancelled.");
        return Opening::Cancelled;
    }
    if (!job->opened) {
        // At start-up the window is not shown yet: the message then stands on its own.
        m_prompts.ShowError(isVisible() ? this : nullptr, FromNative(job->opened.error));
        return Opening::Failed;
    }
    m_doc.TakeOpenedModel(job->doc);
    m_recent.Add(path);
    m_recent.Save();
    UpdateRecentMenu();
    DocumentReplaced();
    return Opening::Opened;
}

bool CMainFrame::OpenRecoveredModel(const QString& copy, const QString& original)
{
    // Read as Open reads, on a worker thread into a model of its own; the copy of a big
    // model takes as long as its file. Not cancelled: the copy has been claimed for this run.
    struct Job {
        CPolydromDoc doc;
        Result opened;
    };
    auto job = std::make_shared<Job>();
    RunWithProgress(m_prompts, isVisible() ? this : nullptr, QStringLiteral("Opening the recovered model..."), false,
                    [job, file = Native(copy)] { job->opened = job->doc.OnOpenDocument(file); });
    if (!job->opened) {
        m_prompts.ShowError(isVisible() ? this : nullptr, FromNative(job->opened.error));
        return false;
    }
    m_doc.TakeOpenedModel(job->doc);
    // The model belongs to the original file but differs from it, even after undoing
    // every later change; the copy itself is no file of the user's, so no recent entry.
    m_doc.SetPathName(Native(original));
    m_doc.MarkUnsaved();
    DocumentReplaced();
    return true;
}

void CMainFrame::OnFileExportAs()
{
    // One filter per format, in the model's order: "Wavefront OBJ (*.obj)".
    QStringList filters;
    for (const MeshFormatInfo& info : MeshFormats())
        filters.append(QStringLiteral("%1 (*%2)").arg(FromNative(std::string(info.name)),
                                                     FromNative(std::string(info.extension))));
    // The model's name, beside its file, in the format used last time (in this run or an earlier one).
    auto settings = OpenSettings();
    const qsizetype proposedIndex = FormatIndex(settings->value(kExportFormatKey).toString());
    const MeshFormatInfo& proposed = MeshFormats()[static_cast<std::size_t>(proposedIndex)];
    const QString model = FromNative(m_doc.GetPathName().empty() ? m_doc.GetTitle() : m_doc.GetPathName());
    const QFileInfo modelFile(model);
    QString suggestion = modelFile.completeBaseName() + FromNative(std::string(proposed.extension));
    if (!m_doc.GetPathName().empty()) suggestion = modelFile.dir().filePath(suggestion);

    QString chosenFilter;
    bool convertAxes = settings->value(kConvertAxesKey, true).toBool();
    QString path = m_prompts.AskExportFileName(this, suggestion, filters.join(QStringLiteral(";;")),
                                               filters[proposedIndex], &chosenFilter, &convertAxes);
    if (path.isEmpty()) return;
    // The name's extension picks the format; a name without a known one takes the
    // filter's format and extension.
    std::optional<MeshFormat> format = MeshFormatForPath(Native(path));
    if (!format) {
        const qsizetype index = std::max<qsizetype>(filters.indexOf(chosenFilter), 0);
        const MeshFormatInfo& info = MeshFormats()[static_cast<std::size_t>(index)];
        format = info.format;
        path += FromNative(std::string(info.extension));
    }
    settings->setValue(kExportFormatKey, FromNative(std::string(MeshFormatInfoOf(*format).extension)));
    settings->setValue(kConvertAxesKey, convertAxes);
    // The export only reads the model (and marks its edges), which the modal progress keeps
    // every command away from; it is not cancelled half way, as its file is written whole.
    const std::string target = Native(path);
    const AxisConversion axes = convertAxes ? AxisConversion::Converted : AxisConversion::AsStored;
    MeshExportResult result;
    RunWithProgress(m_prompts, this, QStringLiteral("Exporting %1...").arg(QFileInfo(path).fileName()), false,
                    [&] { result = m_doc.ExportMesh(target, *format, axes); });
    m_doc.ReportExported(result, target);
}

void CMainFrame::OnFileExportPov()
{
    // As Export As: the model only read meanwhile, the file written whole or not at all.
    PovExportResult result;
    RunWithProgress(m_prompts, this, QStringLiteral("Exporting object.pov..."), false,
                    [&] { result = m_doc.ExportPov("object.pov"); });
    m_doc.ReportPovExport(result);
}

void CMainFrame::OnFileSave() { SaveDocument(false); }

void CMainFrame::OnFileSaveAs() { SaveDocument(true); }

bool CMainFrame::ConfirmReplacing(const QString& path)
{
    // The model's file may have been replaced meanwhile, or (for recovered work) never
    // have been a model: a text file named as the original must not vanish unasked.
    if (!QFileInfo::exists(path)) return true;
    const Result model = CheckModelFile(Native(path));
    if (model) return true;
    QString why = FromNative(model.error);
    if (const qsizetype colon = why.lastIndexOf(QStringLiteral("\": ")); colon >= 0) why = why.mid(colon + 3);
    if (why.endsWith(QLatin1Char('.'))) why.chop(1);
    return m_prompts.AskReplaceOther(this, QDir::toNativeSeparators(path), why);
}

bool CMainFrame::SaveDocument(bool askForName)
{
    QString path = FromNative(m_doc.GetPathName());
    const bool naming = askForName || path.isEmpty();
    if (naming) {
        const QString suggestion = path.isEmpty() ? FromNative(m_doc.GetTitle()) + kExtension : path;
        const QString chosen = m_prompts.AskSaveFileName(this, suggestion, kFilter);
        if (chosen.isEmpty()) return false;
        path = WithDefaultExtension(chosen);
    } else if (!ConfirmReplacing(path)) {
        return false;
    }
    // Written on a worker thread, the model only read meanwhile; the file is replaced
    // whole or not at all, so the save runs to its end.
    Result saved;
    const std::string target = Native(path);
    RunWithProgress(m_prompts, this, QStringLiteral("Saving %1...").arg(QFileInfo(path).fileName()), false,
                    [&] { saved = m_doc.WriteToFile(target); });
    if (!saved) {
        m_prompts.ShowError(this, FromNative(saved.error));
        return false;
    }
    m_doc.SavedTo(target);
    if (naming) {
        m_recent.Add(path);
        m_recent.Save();
        UpdateRecentMenu();
    }
    UpdateCaption();
    // Shown once the command is over; a save asked for by New or Exit shows it the same way.
    m_doc.ReportInfo(QStringLiteral("Saved %1").arg(QFileInfo(path).fileName()).toStdString());
    return true;
}

bool CMainFrame::SaveModified()
{
    if (!m_doc.IsModified()) return true;
    const std::string& path = m_doc.GetPathName();
    const QString name = FromNative(path.empty() ? m_doc.GetTitle() : path);
    switch (m_prompts.AskSaveChanges(this, name)) {
    case SaveChoice::Save:
        return SaveDocument(false);
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}
