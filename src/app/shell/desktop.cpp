#include "app/shell/desktop.h"

#include <iostream>
#include <memory>

#include <QApplication>
#include <QFile>
#include <QStringList>

#include "app/command_table.h"
#include "app/shell/main_frame.h"
#include "app/shell/prompts.h"
#include "app/shell/recovery_dialog.h"
#include "app/shell/recovery_offer.h"
#include "app/shell/recovery_writer.h"
#include "app/shell/resources.h"
#include "app/shell/settings.h"
#include "model/polydrom_doc.h"

namespace {

struct StartOptions {
    bool splash = true;
    QString file;
    // Commands run once the window is up, as batch mode's --do runs them.
    QList<unsigned> commands;
    QString error;
};

StartOptions ParseOptions(const QStringList& arguments)
{
    StartOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--no-splash")) {
            options.splash = false;
        } else if (arg == QLatin1String("--do") && i + 1 < arguments.size()) {
            const CommandEntry* command = FindCommandByBatchName(arguments[++i].toStdString());
            if (command) options.commands.append(command->id);
            else options.error = QStringLiteral("unknown command %1").arg(arguments[i]);
        } else if (arg.startsWith(QLatin1String("--"))) {
            options.error = QStringLiteral("unknown option %1").arg(arg);
        } else if (options.file.isEmpty()) {
            options.file = arg;
        } else {
            options.error = QStringLiteral("only one model file can be opened");
        }
    }
    return options;
}

}  // namespace

int RunDesktop(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(kSettingsOrganization));
    QApplication::setApplicationName(QString::fromLatin1(kSettingsApplication));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.1"));
    InitShellResources();

    const StartOptions options = ParseOptions(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::cerr << "polydrom: " << options.error.toStdString()
                  << "\nusage: polydrom [--no-splash] [FILE.pdm] [--do COMMAND]... | polydrom --batch ...\n";
        return 2;
    }

    CQtPrompts prompts;
    // The About box comes first, and start-up waits until it is closed.
    if (options.splash) prompts.ShowAbout(nullptr);

    // The model's arrays live inside the document, too large for the stack.
    auto doc = std::make_unique<CPolydromDoc>();
    CMainFrame frame(*doc, prompts);
    if (options.file.isEmpty()) {
        doc->OnNewDocument();
    } else if (!frame.OpenFile(options.file)) {
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
        OfferRecoveredWork(frame, store, recoveryPrompt);
        recovery = std::make_unique<CRecoveryWriter>(frame, *doc, std::move(store));
    }
    for (unsigned id : options.commands) frame.Dispatch(id);
    return app.exec();
}
