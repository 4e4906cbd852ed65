// The status bar: the message pane, where the user is (viewing axis, pointer, selection)
// and the CAP, NUM and SCRL indicators.
#pragma once

#include <functional>

#include <QLabel>
#include <QStatusBar>

#include "app/shell/keyboard_locks.h"

// A pane as wide as its typical text, so that it does not jump as the text changes,
// which still gives way on a screen too narrow for every pane.
class CPaneLabel : public QLabel {
public:
    using QLabel::QLabel;
    void SetWidth(int width) { m_width = width; updateGeometry(); }
    QSize sizeHint() const override { return {m_width, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int m_width = 0;
};

class CStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CStatusBar(QWidget* parent = nullptr);

    // Shows a command's outcome ("Exported 12 triangles to object.pov") in the message pane.
    // A long one gives its whole text for the tool tip.
    void ShowOutcome(const QString& text, const QString& whole = QString());
    QString IdleText() const;
    // What the three indicator panes show now ("CAP" or empty, and so on).
    QString IndicatorText(int pane) const;

    // The panes right of the message: "View along Z", the model point under the pointer
    // (empty while it is elsewhere), "Selected 2 of 8 vertices, 12 edges".
    enum PlacePane { AxisPane, PointerPane, SelectionPane };
    void ShowPlace(const QString& axis, const QString& pointer, const QString& selection);
    QString PlaceText(PlacePane pane) const;

    // Where the lock state comes from; tests hand in their own.
    void SetLockSource(std::function<KeyboardLocks()> source);
    void RefreshLocks();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_idle;
    QLabel* m_panes[3];
    CPaneLabel* m_place[3];
    std::function<KeyboardLocks()> m_lockSource;
};
