// The real dialogs behind CShellPrompts.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeView>

#include <limits>

#include "app/shell/about_box.h"
#include "app/shell/import_options_dialog.h"
#include "app/shell/prompts.h"

namespace {
const QString kAppTitle = QStringLiteral("Polydrom");

// A progress dialog that appears only when the work takes longer than a moment. It is
// modal to the window, so that while it shows and events are processed (to paint it and
// take the Cancel click) no command can reach the model being worked on.
class CQtProgress : public CProgressPrompt {
public:
    CQtProgress(QWidget* parent, const QString& text, bool cancellable)
        : m_dialog(text, QStringLiteral("Cancel"), 0, 100, parent)
    {
        if (!cancellable) m_dialog.setCancelButton(nullptr);
        m_dialog.setWindowTitle(kAppTitle);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        // Shown by Update below, not by the dialog's own timer, which needs an event loop.
        m_dialog.setMinimumDuration(std::numeric_limits<int>::max());
        m_dialog.hide();
        m_clock.start();
    }

    bool Update(float fraction) override
    {
        if (!m_dialog.isVisible()) {
            if (m_clock.elapsed() < kMoment) return true;
            m_dialog.show();
        }
        if (fraction < 0.0f) {
            m_dialog.setRange(0, 0);  // busy: the importer has not said how far it is
        } else {
            m_dialog.setRange(0, 100);
            m_dialog.setValue(static_cast<int>(fraction * 100.0f));
        }
        QApplication::processEvents();
        return !m_dialog.wasCanceled();
    }

private:
    static constexpr qint64 kMoment = 400;  // ms
    QProgressDialog m_dialog;
    QElapsedTimer m_clock;
};

}  // namespace

QString CQtPrompts::AskOpenFileName(QWidget* parent, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), QString(),
                                        filter + QStringLiteral(";;All Files (*)"));
}

QString CQtPrompts::AskSaveFileName(QWidget* parent, const QString& suggestion, const QString& filter)
{
    QFileDialog dialog(parent, QStringLiteral("Save As"), suggestion, filter + QStringLiteral(";;All Files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString CQtPrompts::AskExportFileName(QWidget* parent, const QString& suggestion, const QString& filters,
                                      const QString& selectedFilter, QString* chosenFilter, bool* convertAxes)
{
    QFileDialog dialog(parent, QStringLiteral("Export As"), suggestion, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectNameFilter(selectedFilter);
    // Qt's own dialog, so that the axis conversion's check box can sit under the file name.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QCheckBox* convert = new QCheckBox(kConvertAxesText, &dialog);
    convert->setToolTip(QStringLiteral("OBJ and STL files only: a half turn about X, so the mesh stands upright "
                                       "in programs with Y or Z up. POV-Ray files keep Polydrom's coordinates."));
    convert->setChecked(convertAxes && *convertAxes);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(convert, grid->rowCount(), 0, 1, grid->columnCount());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    if (chosenFilter) *chosenFilter = dialog.selectedNameFilter();
    if (convertAxes) *convertAxes = convert->isChecked();
    return dialog.selectedFiles().constFirst();
}

QString CQtPrompts::AskImportFileName(QWidget* parent, const QString& filters, const QString& folder)
{
    QFileDialog dialog(parent, QStringLiteral("Import"), folder, filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Once the dialog's own widgets exist (a desktop's native dialog has none): the size,
    // type and date columns as wide as what they show, so "832 bytes" is not cut short.
    QMetaObject::invokeMethod(
        &dialog,
        [&dialog] {
            auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
            if (!details) return;
            QHeaderView* header = details->header();
            for (int column = 1; column < header->count(); ++column)
                header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        },
        Qt::QueuedConnection);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

bool CQtPrompts::AskImportOptions(QWidget* parent, const QString& fileName, const MeshSize& size,
                                  ImportChoice* choice)
{
    return ShowImportOptions(parent, fileName, size, choice);
}

std::unique_ptr<CProgressPrompt> CQtPrompts::StartProgress(QWidget* parent, const QString& text, bool cancellable)
{
    return std::make_unique<CQtProgress>(parent, text, cancellable);
}

bool CQtPrompts::AskReplaceOther(QWidget* parent, const QString& path, const QString& why)
{
    QMessageBox box(QMessageBox::Warning, kAppTitle,
                    QStringLiteral("\"%1\" is not a model file (%2). Replace it with the model?").arg(path, why),
                    QMessageBox::NoButton, parent);
    QPushButton* replace = box.addButton(QStringLiteral("&Replace"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == replace;
}

SaveChoice CQtPrompts::AskSaveChanges(QWidget* parent, const QString& name)
{
    QMessageBox box(QMessageBox::Warning, kAppTitle, QStringLiteral("Save changes to %1?").arg(name),
                    QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QStringLiteral("&Save"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Do&n't Save"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::Save;
    if (box.clickedButton() == discard) return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

void CQtPrompts::ShowError(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, kAppTitle, text);
}

void CQtPrompts::ShowAbout(QWidget* parent)
{
    CAboutBox box(parent);
    box.exec();
}

bool CQtPrompts::AskPrint(QWidget* parent, QPrinter* printer)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void CQtPrompts::AskPageSetup(QWidget* parent, QPrinter* printer)
{
    QPageSetupDialog dialog(printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.exec();
}

void CQtPrompts::ShowPrintPreview(QWidget* parent, QPrinter* printer, const std::function<void(QPrinter*)>& paint)
{
    QPrintPreviewDialog dialog(printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&paint](QPrinter* p) { paint(p); });
    dialog.exec();
}

void CQtPrompts::AskPoint(QWidget* parent, const QString& title, const std::array<float, 3>& initial,
                          const PointApply& apply)
{
    CPointDialog dialog(parent, title, initial, apply);
    dialog.exec();
}

void CQtPrompts::AskNumber(QWidget* parent, const QString& title, const char* name, double initial,
                           const PointApply& apply)
{
    CPointDialog dialog(parent, title, name, initial, apply);
    dialog.exec();
}
