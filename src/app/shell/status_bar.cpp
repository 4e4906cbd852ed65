// The status bar: its panes, their texts and the keyboard lock indicators.
#include "app/shell/status_bar.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>

#include "app/command_layout.h"

namespace {
const char* const kIndicators[3] = {"CAP", "NUM", "SCRL"};
// A command's outcome stays long enough to read, then the idle prompt comes back.
constexpr int kOutcomeMilliseconds = 10000;
}  // namespace

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent), m_lockSource(QueryKeyboardLocks)
{
    setObjectName(QStringLiteral("StatusBar"));
    connect(this, &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty()) setToolTip(QString());
    });
    // The idle prompt is a normal item: any temporary message (a hovered command's
    // prompt, a command's outcome) covers it, and it shows again when that is cleared.
    m_idle = new QLabel(QString::fromLatin1(kIdlePrompt.data(), kIdlePrompt.size()), this);
    // On a narrow screen the message gives way first, so the window can still fit it.
    m_idle->setMinimumWidth(1);
    addWidget(m_idle, 1);
    for (int i = 0; i < 3; ++i) {
        m_panes[i] = new QLabel(this);
        m_panes[i]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        m_panes[i]->setAlignment(Qt::AlignCenter);
        m_panes[i]->setMinimumWidth(QFontMetrics(m_panes[i]->font()).horizontalAdvance(kIndicators[i]) + 12);
        addPermanentWidget(m_panes[i]);
    }
    // Sized for typical texts, so that the panes do not jump as the pointer moves.
    const char* const placeSamples[3] = {"View along Z", "X -00000.00, Y -00000.00",
                                         "Selected 0000 of 0000 vertices, 0000 edges"};
    for (int i = 0; i < 3; ++i) {
        m_place[i] = new CPaneLabel(this);
        m_place[i]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        m_place[i]->SetWidth(QFontMetrics(m_place[i]->font()).horizontalAdvance(placeSamples[i]) + 12);
        // After the message (item 0), before the lock indicators.
        insertPermanentWidget(1 + i, m_place[i]);
    }
    qApp->installEventFilter(this);
    RefreshLocks();
}

void CStatusBar::ShowOutcome(const QString& text, const QString& whole)
{
    showMessage(text, kOutcomeMilliseconds);
    // A message the pane may cut short is there whole in the tool tip, while it shows.
    setToolTip(whole);
}

QString CStatusBar::IdleText() const { return m_idle->text(); }

QString CStatusBar::IndicatorText(int pane) const { return m_panes[pane]->text(); }

void CStatusBar::ShowPlace(const QString& axis, const QString& pointer, const QString& selection)
{
    m_place[AxisPane]->setText(axis);
    m_place[PointerPane]->setText(pointer);
    m_place[SelectionPane]->setText(selection);
}

QString CStatusBar::PlaceText(PlacePane pane) const { return m_place[pane]->text(); }

void CStatusBar::SetLockSource(std::function<KeyboardLocks()> source)
{
    m_lockSource = std::move(source);
    RefreshLocks();
}

void CStatusBar::RefreshLocks()
{
    const KeyboardLocks locks = m_lockSource ? m_lockSource() : KeyboardLocks{};
    const bool on[3] = {locks.caps, locks.num, locks.scroll};
    // An indicator shows its name while its lock is on, and nothing otherwise.
    for (int i = 0; i < 3; ++i) m_panes[i]->setText(locks.known && on[i] ? QString::fromLatin1(kIndicators[i]) : QString());
}

bool CStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // The lock keys change the state while the program has the keyboard; any
        // other change happens elsewhere and is caught when the program comes back.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) RefreshLocks();
        break;
    }
    case QEvent::ApplicationActivate:
        if (watched == qApp) RefreshLocks();
        break;
    case QEvent::EnterWhatsThisMode:
        showMessage(QString::fromLatin1(kContextHelpPrompt.data(), kContextHelpPrompt.size()));
        break;
    case QEvent::LeaveWhatsThisMode:
        clearMessage();
        break;
    default:
        break;
    }
    return QStatusBar::eventFilter(watched, event);
}
