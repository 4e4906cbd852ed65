// The fields are plain text read by the same rule as batch mode's values, so a number
// means the same typed in a dialog or in a script, in any desktop language.
#include "app/shell/precise_dialogs.h"

#include <charconv>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/shell/settings.h"
#include "app/typed_input.h"

namespace {

const QString kTransformGeometryKey = QStringLiteral("Transform/geometry");

QLineEdit* NumberField(QWidget* parent, const QString& name, const QString& text)
{
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setAlignment(Qt::AlignRight);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-0000000.000")) + 12);
    return field;
}

QLabel* MessageLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("Message"));
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #b00000"));
    return label;
}

// Reads the fields into values; on failure returns the message that names the field.
QString ReadFields(std::span<QLineEdit* const> fields, std::span<const char* const> names, double* values)
{
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const QByteArray text = fields[k]->text().toUtf8();
        if (!ParseTypedNumber(std::string_view(text.constData(), text.size()), &values[k])) {
            fields[k]->setFocus();
            fields[k]->selectAll();
            return QStringLiteral("%1: \"%2\" is not a number.").arg(QLatin1String(names[k]), fields[k]->text());
        }
    }
    return QString();
}

}  // namespace

QString FloatText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

CPointDialog::CPointDialog(QWidget* parent, const QString& title, const std::array<float, 3>& initial,
                           PointApply apply)
    : QDialog(parent), m_apply(std::move(apply))
{
    static const char* const names[3] = {"X", "Y", "Z"};
    const QString texts[3] = {FloatText(initial[0]), FloatText(initial[1]), FloatText(initial[2])};
    Build(title, names, texts);
}

CPointDialog::CPointDialog(QWidget* parent, const QString& title, const char* name, double initial, PointApply apply)
    : QDialog(parent), m_apply(std::move(apply))
{
    const char* const names[1] = {name};
    const QString texts[1] = {QString::number(initial, 'g', 9)};
    Build(title, names, texts);
}

void CPointDialog::Build(const QString& title, std::span<const char* const> names, std::span<const QString> texts)
{
    setObjectName(QStringLiteral("PointDialog"));
    setWindowTitle(title);
    auto* form = new QFormLayout;
    m_count = names.size();
    for (std::size_t k = 0; k < m_count; ++k) {
        m_names[k] = names[k];
        m_fields[k] = NumberField(this, QLatin1String(names[k]), texts[k]);
        form->addRow(QStringLiteral("&%1:").arg(QLatin1String(names[k])), m_fields[k]);
    }
    m_message = MessageLabel(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
    m_fields[0]->selectAll();
}

QString CPointDialog::Message() const { return m_message->text(); }

void CPointDialog::accept()
{
    std::array<double, 3> values{};
    QString problem = ReadFields(std::span(m_fields, m_count), std::span(m_names, m_count), values.data());
    if (problem.isEmpty()) problem = m_apply(values);
    m_message->setText(problem);
    if (problem.isEmpty()) QDialog::accept();
}

CTransformDialog::CTransformDialog(QWidget* parent, TransformApply apply) : QDialog(parent), m_apply(std::move(apply))
{
    setObjectName(QStringLiteral("TransformDialog"));
    setWindowTitle(QStringLiteral("Transform"));
    setModal(false);
    m_place = new QLabel(this);
    m_place->setObjectName(QStringLiteral("RotationPlace"));
    auto* grid = new QGridLayout;
    const char* const moveNames[3] = {"dX", "dY", "dZ"};
    // Row 0 names the move's three fields; rows 1 to 3 are move, rotation and scale.
    grid->addWidget(new QLabel(QStringLiteral("Move by"), this), 1, 0);
    for (int k = 0; k < 3; ++k) {
        auto* name = new QLabel(QLatin1String(moveNames[k]), this);
        name->setAlignment(Qt::AlignCenter);
        grid->addWidget(name, 0, 1 + k);
        m_move[k] = NumberField(this, QLatin1String(moveNames[k]), QStringLiteral("0"));
        m_move[k]->setToolTip(QLatin1String(moveNames[k]));
        grid->addWidget(m_move[k], 1, 1 + k);
    }
    grid->addWidget(new QLabel(QStringLiteral("Rotate by degrees, counter-clockwise about the cursor"), this), 2, 0,
                    1, 3);
    m_angle = NumberField(this, QStringLiteral("Degrees"), QStringLiteral("90"));
    grid->addWidget(m_angle, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Scale by a factor, about the cursor"), this), 3, 0, 1, 3);
    m_factor = NumberField(this, QStringLiteral("Factor"), QStringLiteral("2"));
    grid->addWidget(m_factor, 3, 3);

    const std::pair<TypedEdit, const char*> rows[3] = {
        {TypedEdit::MoveBy, "&Move"}, {TypedEdit::RotateBy, "&Rotate"}, {TypedEdit::ScaleBy, "&Scale"}};
    for (int row = 0; row < 3; ++row) {
        auto* button = new QPushButton(QLatin1String(rows[row].second), this);
        button->setAutoDefault(false);
        const TypedEdit edit = rows[row].first;
        connect(button, &QPushButton::clicked, this, [this, edit] { Apply(edit); });
        grid->addWidget(button, row + 1, 4);
    }

    m_message = MessageLabel(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Applies to the selection; each button press can be undone."), this));
    layout->addLayout(grid);
    layout->addWidget(m_place);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
}

QLineEdit* CTransformDialog::Field(TypedEdit edit, int index) const
{
    if (edit == TypedEdit::MoveBy) return m_move[index];
    return edit == TypedEdit::RotateBy ? m_angle : m_factor;
}

QString CTransformDialog::Message() const { return m_message->text(); }

void CTransformDialog::SetRotationPlace(const QString& text) { m_place->setText(text); }

QString CTransformDialog::RotationPlace() const { return m_place->text(); }

void CTransformDialog::Present()
{
    if (!m_placed) {
        m_placed = true;
        const QByteArray geometry = OpenSettings()->value(kTransformGeometryKey).toByteArray();
        if (!geometry.isEmpty()) restoreGeometry(geometry);
    }
    show();
    raise();
    activateWindow();
}

void CTransformDialog::hideEvent(QHideEvent* event)
{
    // Remembered for the next time, in this run or a later one.
    if (m_placed) OpenSettings()->setValue(kTransformGeometryKey, saveGeometry());
    QDialog::hideEvent(event);
}

void CTransformDialog::Apply(TypedEdit edit)
{
    static const char* const moveNames[3] = {"dX", "dY", "dZ"};
    static const char* const angleName[1] = {"Degrees"};
    static const char* const factorName[1] = {"Factor"};
    double values[3] = {};
    QString problem;
    std::size_t count = 1;
    if (edit == TypedEdit::MoveBy) {
        count = 3;
        problem = ReadFields(m_move, moveNames, values);
    } else {
        QLineEdit* const field[1] = {Field(edit, 0)};
        problem = ReadFields(field, edit == TypedEdit::RotateBy ? angleName : factorName, values);
    }
    if (problem.isEmpty()) problem = m_apply(edit, std::span<const double>(values, count));
    m_message->setText(problem);
}
