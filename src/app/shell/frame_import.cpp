// File > Import..., its progress dialog, and files dropped on the window.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <memory>
#include <utility>

#include "app/command_ids.h"
#include "app/shell/main_frame.h"
#include "app/shell/prompts.h"
#include "app/shell/settings.h"
#include "model/mesh_import.h"
#include "model/polydrom_doc.h"

namespace {

const QString kImportFolderKey = QStringLiteral("Import/LastFolder");

std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromNative(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

// "All supported meshes (*.obj *.stl ...)" first, then one filter per format of the
// library's own list, then every file.
QString ImportFilters()
{
    QStringList all, filters;
    for (const ImportFormat& format : ImportFormats()) {
        QStringList patterns;
        for (const std::string& extension : format.extensions) patterns.append("*." + FromNative(extension));
        all.append(patterns);
        filters.append(QStringLiteral("%1 (%2)").arg(FromNative(format.name), patterns.join(QLatin1Char(' '))));
    }
    all.removeDuplicates();
    filters.prepend(QStringLiteral("All supported meshes (%1)").arg(all.join(QLatin1Char(' '))));
    filters.append(QStringLiteral("All files (*)"));
    return filters.join(QStringLiteral(";;"));
}

bool IsModelFile(const QString& path) { return path.endsWith(QStringLiteral(".pdm"), Qt::CaseInsensitive); }

// The local files of a drag that this window takes: models and importable meshes.
QStringList DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && (IsModelFile(path) || IsImportablePath(Native(path)))) files.append(path);
    }
    return files;
}

}  // namespace

void CMainFrame::OnFileImport()
{
    QString path = std::exchange(m_importPath, QString());
    if (path.isEmpty()) {
        // The dialog opens where the last file came from, in this run or an earlier one.
        auto settings = OpenSettings();
        path = m_prompts.AskImportFileName(this, ImportFilters(), settings->value(kImportFolderKey).toString());
        if (path.isEmpty()) return;
        settings->setValue(kImportFolderKey, QFileInfo(path).absolutePath());
    }
    const QString name = QFileInfo(path).fileName();

    MeshReadResult read;
    // The progress dialog goes with the reading, before any message, which it would
    // otherwise cover (it is modal) and keep from being answered.
    {
        const std::unique_ptr<CProgressPrompt> progress =
            m_prompts.StartProgress(this, QStringLiteral("Importing %1...").arg(name), true);
        ImportOptions options;
        options.progress = [&](float fraction) { return progress->Update(fraction); };
        read = ReadMeshFile(Native(path), m_doc.m_limits.vertices - m_doc.GetVertexCount(),
                            m_doc.m_limits.edges - m_doc.GetEdgeCount(),
                            m_doc.m_limits.faces - m_doc.GetFaceCount(), options);
    }
    if (read.cancelled) {
        m_doc.ReportInfo(read.error);  // "Import of box.stl cancelled." in the status bar
        return;
    }
    if (!read) {
        m_prompts.ShowError(this, FromNative(read.error));
        return;
    }

    // The mesh's size is known now: the dialog shows what the scale makes of it.
    auto settings = OpenSettings();
    ImportChoice choice;
    choice.convertAxes = settings->value(kConvertAxesKey, true).toBool();
    if (!m_prompts.AskImportOptions(this, name, SizeOf(read.mesh), &choice)) {
        m_doc.ReportInfo("Import of " + Native(name) + " cancelled.");
        return;
    }
    settings->setValue(kConvertAxesKey, choice.convertAxes);
    const AxisConversion axes = choice.convertAxes ? AxisConversion::Converted : AxisConversion::AsStored;
    // The mesh joins the model on a worker thread, undo step included (on a big model the
    // arrays and their copies in the history take a while); the model changes from the
    // start, so there is no cancelling this part.
    ImportResult result;
    ChangeModelAside(QStringLiteral("Adding %1 to the model...").arg(name), [&] {
        result = m_doc.AddImportedMesh(Native(path), std::move(read.mesh), choice.scale, axes);
        m_doc.CommitStep(StepLabel(*FindCommand(ID_FILE_IMPORT)));
    });
    if (!result) m_prompts.ShowError(this, FromNative(result.error));
}

void CMainFrame::ImportFile(const QString& path)
{
    // Through the command, so that a dropped file makes the same undo step and report.
    m_importPath = path;
    Dispatch(ID_FILE_IMPORT);
    m_importPath.clear();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    // The drag's source waits until the drop is handled: the prompts and the import
    // come after it has been told.
    QMetaObject::invokeMethod(this, [this, files] { OpenOrImport(files); }, Qt::QueuedConnection);
}

void CMainFrame::OpenOrImport(const QStringList& files)
{
    // One model at a time: a model among the files replaces the model, and nothing is
    // imported into the model that is going away. Otherwise every mesh is imported.
    for (const QString& path : files) {
        if (!IsModelFile(path)) continue;
        if (SaveModified()) OpenFile(path);
        return;
    }
    for (const QString& path : files) ImportFile(path);
}
