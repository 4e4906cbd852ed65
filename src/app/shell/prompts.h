// Everything the shell asks the user through a modal dialog, behind one interface so
// tests can answer in place of a person.
#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "app/shell/precise_dialogs.h"
#include "model/formats/axes.h"

class QPrinter;
class QWidget;

enum class SaveChoice { Save, Discard, Cancel };

// What the Import dialog asks of a mesh read from a file.
struct ImportChoice {
    bool convertAxes = true;  // the half turn between the views' axes and Y-up/Z-up files
    double scale = 1.0;       // the file's units to the model's
};

// The check box of the Import and Export As dialogs.
inline const QString kConvertAxesText = QStringLiteral("&Convert between Polydrom's screen axes and Y-up/Z-up files");

// A long piece of work the user watches and may cancel: shown once it has taken more
// than a moment, closed when the object goes.
class CProgressPrompt {
public:
    virtual ~CProgressPrompt() = default;
    // The fraction done (0 to 1, negative while unknown); false once the user has cancelled.
    virtual bool Update(float fraction) = 0;
};

class CShellPrompts {
public:
    virtual ~CShellPrompts() = default;
    // An empty result means the user cancelled.
    virtual QString AskOpenFileName(QWidget* parent, const QString& filter) = 0;
    virtual QString AskSaveFileName(QWidget* parent, const QString& suggestion, const QString& filter) = 0;
    // The export's file: the name proposed, the filters separated by ";;" and the one
    // selected at first; chosenFilter receives the one in force when the user accepts,
    // convertAxes the state of the axis conversion's check box (shown as it comes in).
    virtual QString AskExportFileName(QWidget* parent, const QString& suggestion, const QString& filters,
                                      const QString& selectedFilter, QString* chosenFilter, bool* convertAxes) = 0;
    // The file to import: filters separated by ";;", the folder to start in (empty: the current one).
    virtual QString AskImportFileName(QWidget* parent, const QString& filters, const QString& folder) = 0;
    // The Import dialog for a mesh read from the file: the axis conversion and the scale,
    // with a hint of the mesh's size before and after. False when cancelled.
    virtual bool AskImportOptions(QWidget* parent, const QString& fileName, const MeshSize& size,
                                  ImportChoice* choice) = 0;
    // Work that cannot be cancelled shows no Cancel button.
    virtual std::unique_ptr<CProgressPrompt> StartProgress(QWidget* parent, const QString& text,
                                                           bool cancellable) = 0;
    // "Save changes to NAME?" with Save, Don't Save and Cancel.
    virtual SaveChoice AskSaveChanges(QWidget* parent, const QString& name) = 0;
    // Save is about to replace a file that is no model (why says what is wrong with it):
    // true to replace it all the same.
    virtual bool AskReplaceOther(QWidget* parent, const QString& path, const QString& why) = 0;
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    virtual void ShowAbout(QWidget* parent) = 0;
    // The print dialog on the printer; false when cancelled.
    virtual bool AskPrint(QWidget* parent, QPrinter* printer) = 0;
    virtual void AskPageSetup(QWidget* parent, QPrinter* printer) = 0;
    // Shows a preview of pages that paint draws on the printer it is handed.
    virtual void ShowPrintPreview(QWidget* parent, QPrinter* printer, const std::function<void(QPrinter*)>& paint) = 0;
    // A point typed into X, Y and Z, prefilled; apply takes it or says why not.
    virtual void AskPoint(QWidget* parent, const QString& title, const std::array<float, 3>& initial,
                          const PointApply& apply) = 0;
    // One number typed under its name, prefilled; apply takes it (as the first value) or says why not.
    virtual void AskNumber(QWidget* parent, const QString& title, const char* name, double initial,
                           const PointApply& apply) = 0;
};

// The real dialogs: Qt's file, message, print, page set-up and preview dialogs.
class CQtPrompts : public CShellPrompts {
public:
    QString AskOpenFileName(QWidget* parent, const QString& filter) override;
    QString AskSaveFileName(QWidget* parent, const QString& suggestion, const QString& filter) override;
    QString AskExportFileName(QWidget* parent, const QString& suggestion, const QString& filters,
                              const QString& selectedFilter, QString* chosenFilter, bool* convertAxes) override;
    QString AskImportFileName(QWidget* parent, const QString& filters, const QString& folder) override;
    bool AskImportOptions(QWidget* parent, const QString& fileName, const MeshSize& size,
                          ImportChoice* choice) override;
    std::unique_ptr<CProgressPrompt> StartProgress(QWidget* parent, const QString& text, bool cancellable) override;
    SaveChoice AskSaveChanges(QWidget* parent, const QString& name) override;
    bool AskReplaceOther(QWidget* parent, const QString& path, const QString& why) override;
    void ShowError(QWidget* parent, const QString& text) override;
    void ShowAbout(QWidget* parent) override;
    bool AskPrint(QWidget* parent, QPrinter* printer) override;
    void AskPageSetup(QWidget* parent, QPrinter* printer) override;
    void ShowPrintPreview(QWidget* parent, QPrinter* printer, const std::function<void(QPrinter*)>& paint) override;
    void AskPoint(QWidget* parent, const QString& title, const std::array<float, 3>& initial,
                  const PointApply& apply) override;
    void AskNumber(QWidget* parent, const QString& title, const char* name, double initial,
                   const PointApply& apply) override;
};
