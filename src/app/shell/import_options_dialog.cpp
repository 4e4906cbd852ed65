// The Import dialog: whether to convert the axes, the scale typed as a number, and a
// hint that shows what the scale does to the mesh's size while it is typed.
#include "app/shell/import_options_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

#include "app/typed_input.h"

namespace {

QString Hint(const MeshSize& size, const QString& typed, bool* valid)
{
    double scale = 0.0;
    *valid = ParseTypedNumber(typed.toStdString(), &scale) && scale > 0.0 && std::isfinite(scale);
    return QString::fromStdString(ScaleHint(size, *valid ? scale : 0.0));
}

}  // namespace

bool ShowImportOptions(QWidget* parent, const QString& fileName, const MeshSize& size, ImportChoice* choice)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Import %1").arg(fileName));
    auto* convert = new QCheckBox(kConvertAxesText, &dialog);
    convert->setChecked(choice->convertAxes);
    convert->setToolTip(QStringLiteral("A half turn about X: a Y-up mesh (OBJ, glTF, PLY) shows upright in the view "
                                       "along Z, a Z-up one (STL, CAD) in the view along Y."));
    auto* scale = new QLineEdit(QString::number(choice->scale, 'g', 9), &dialog);
    auto* hint = new QLabel(&dialog);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto update = [&] {
        bool valid = false;
        hint->setText(Hint(size, scale->text(), &valid));
        buttons->button(QDialogButtonBox::Ok)->setEnabled(valid);
    };
    QObject::connect(scale, &QLineEdit::textChanged, &dialog, update);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    update();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Scale:"), scale);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(convert);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    choice->convertAxes = convert->isChecked();
    ParseTypedNumber(scale->text().toStdString(), &choice->scale);
    return true;
}
