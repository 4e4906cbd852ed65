// The real dialogs behind CShellPrompts.
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPushButton>

#include "app/shell/about_box.h"
#include "app/shell/prompts.h"

namespace {
const QString kAppTitle = QStringLiteral("Polydrom");
}

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
                                      const QString& selectedFilter, QString* chosenFilter)
{
    QFileDialog dialog(parent, QStringLiteral("Export As"), suggestion, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectNameFilter(selectedFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    if (chosenFilter) *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
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

void CQtPrompts::ShowTransform(QWidget* parent, const TransformApply& apply)
{
    CTransformDialog dialog(parent, apply);
    dialog.exec();
}
