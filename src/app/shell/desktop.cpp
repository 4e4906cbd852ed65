// Start-up of the desktop program: the application object, the splash, the main window.
#include "app/shell/desktop.h"

#include <memory>

#include <QApplication>
#include <QFile>

#include "app/command_table.h"
#include "app/shell/main_frame.h"
#include "app/shell/preview_renderer.h"
#include "app/shell/prompts.h"
#include "app/shell/recovery_dialog.h"
#include "app/shell/recovery_offer.h"
#include "app/shell/recovery_writer.h"
#include "app/shell/resources.h"
#include "app/shell/settings.h"
#include "model/polydrom_doc.h"

namespace {

void NameTheApplication()
{
    // Static settings of Qt that need no QApplication: they name the settings store
    // and the folders QStandardPaths gives.
    QApplication::setOrganizationName(QString::fromLatin1(kSettingsOrganization));
    QApplication::setApplicationName(QString::fromLatin1(kSettingsApplication));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion()));
}

}  // namespace

FileLocations DesktopFileLocations()
{
    NameTheApplication();
    return {OpenSettings()->fileName().toStdString(), RecoveryFolder().toStdString()};
}

int RunDesktop(int argc, char** argv, const StartOptions& options)
{
    NameTheApplication();
    QApplication app(argc, argv);
    InitShellResources();
    // Render preview folders of programs that were killed go before this one makes its own.
    RemoveAbandonedPreviewFolders();

    CQtPrompts prompts;
    // The About box comes first, and start-up waits until it is closed.
    if (options.splash) prompts.ShowAbout(nullptr);

    // The model's arrays live inside the document, too large for the stack.
    auto doc = std::make_unique<CPolydromDoc>();
    CMainFrame frame(*doc, prompts);
    if (options.file.empty()) {
        doc->OnNewDocument();
    } else if (!frame.OpenFile(QFile::decodeName(QByteArray::fromStdString(options.file)))) {
        // The error has been shown; the program ends without a main window.
        return 1;
    }
    frame.ShowWithSavedLayout();

    // Work a crashed or killed program left unsaved is offered before anything else
    // happens; from then on this program keeps a copy of its own unsaved model.
    const QString recoveryFolder = RecoveryFolder();
    std::unique_ptr<CRecoveryWriter> recovery;
    if (!recoveryFolder.isEmpty()) {
        CRecoveryStore store(QFile::encodeName(recoveryFolder).toStdString());
        CQtRecoveryPrompt recoveryPrompt;
        OfferRecoveredWorkInBackground(frame, store, recoveryPrompt);
        recovery = std::make_unique<CRecoveryWriter>(frame, *doc, std::move(store));
    }
    for (const std::string& name : options.commands) frame.Dispatch(FindCommandByBatchName(name)->id);
    return app.exec();
}
