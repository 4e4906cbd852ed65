// The dialogs of precise modelling: a point typed into three fields (Add Vertex At, Set
// Cursor) and the Transform dialog's move, rotation and scale.
#pragma once

#include <array>
#include <functional>
#include <span>

#include <QDialog>

#include "app/precise_edits.h"

class QLabel;
class QLineEdit;

// Hands typed values to the program; returns why they were refused, or nothing when done.
using PointApply = std::function<QString(const std::array<double, 3>&)>;
using TransformApply = std::function<QString(TypedEdit, std::span<const double>)>;

// X, Y and Z, prefilled; OK closes only once the values were read and taken. The second
// form asks for one number (a distance) the same way: it reaches apply as the first value.
class CPointDialog : public QDialog {
    Q_OBJECT
public:
    CPointDialog(QWidget* parent, const QString& title, const std::array<float, 3>& initial, PointApply apply);
    CPointDialog(QWidget* parent, const QString& title, const char* name, double initial, PointApply apply);
    QLineEdit* Field(int axis) const { return m_fields[axis]; }
    QString Message() const;

    void accept() override;

private:
    void Build(const QString& title, std::span<const char* const> names, std::span<const QString> texts);
    QLineEdit* m_fields[3] = {};
    const char* m_names[3] = {};
    std::size_t m_count = 0;
    QLabel* m_message = nullptr;
    PointApply m_apply;
};

// Three rows, Move by, Rotate by and Scale by, each with its own button; each press is one
// edit (and one undo step), and the dialog stays open for the next. It is modeless, so the
// view and its commands stay at hand, and comes back where it was last left.
class CTransformDialog : public QDialog {
    Q_OBJECT
public:
    CTransformDialog(QWidget* parent, TransformApply apply);
    // Shows it, at its remembered place the first time, and brings it to the front.
    void Present();
    // "Rotate about the Z axis, through the cursor (10, 20, 0)", kept up to date by the window.
    void SetRotationPlace(const QString& text);
    QString RotationPlace() const;
    // The fields of a row: dX, dY, dZ for the move; one for the angle and for the factor.
    QLineEdit* Field(TypedEdit edit, int index) const;
    QString Message() const;
    // What the row's button does.
    void Apply(TypedEdit edit);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* m_place;
    bool m_placed = false;
    QLineEdit* m_move[3];
    QLineEdit* m_angle;
    QLineEdit* m_factor;
    QLabel* m_message;
    TransformApply m_apply;
};

// The shortest text that reads back as the same float: a prefilled field left as it is
// gives back exactly the value it showed.
QString FloatText(float value);
