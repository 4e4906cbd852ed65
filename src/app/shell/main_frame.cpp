// The main frame: its parts, command dispatch, the caption, and the saved window layout.
#include "app/shell/main_frame.h"

#include <algorithm>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusTipEvent>
#include <QToolBar>

#include "app/command_ids.h"
#include "app/shell/background_job.h"
#include "app/shell/help_window.h"
#include "app/shell/precise_dialogs.h"
#include "app/shell/preview_panel.h"
#include "app/shell/prompts.h"
#include "app/shell/settings.h"
#include "app/shell/shaded_panel.h"
#include "app/shell/status_bar.h"
#include "app/shell/view_widget.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"

namespace {
const QString kGeometryKey = QStringLiteral("MainWindow/geometry");
const QString kStateKey = QStringLiteral("MainWindow/state");
constexpr int kLayoutVersion = 1;
}  // namespace

CMainFrame::CMainFrame(CPolydromDoc& doc, CShellPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_prompts(prompts), m_view(std::make_unique<CPolydromView>()),
      m_recent(RECENT_FILE_COUNT), m_printer(std::make_unique<QPrinter>(QPrinter::ScreenResolution))
{
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/polydrom.svg")));
    m_doc.AddView(m_view.get());

    m_viewWidget = new CViewWidget(*m_view, this);
    m_viewWidget->onLeftPress = [this](unsigned flags, CPoint point) { LeftPress(flags, point); };
    m_viewWidget->onBox = [this](CPoint from, CPoint to, unsigned flags) { BoxSelect(from, to, flags); };
    m_viewWidget->onWheel = [this](CPoint pointer, int notches) { WheelZoom(pointer, notches); };
    m_viewWidget->onPointer = [this](bool inside, CPoint pointer) { PointerMoved(inside, pointer); };
    setCentralWidget(m_viewWidget);
    // Models and meshes of other programs can be dropped on the window.
    setAcceptDrops(true);

    m_statusBar = new CStatusBar(this);
    setStatusBar(m_statusBar);

    // The render preview docks on the right, hidden until View > Render Preview asks for it.
    m_preview = new CPreviewPanel(*m_view, this);
    addDockWidget(Qt::RightDockWidgetArea, m_preview);
    m_preview->hide();
    // Any command or click may have changed the model or the framing.
    connect(this, &CMainFrame::DocumentStateChanged, m_preview, &CPreviewPanel::Changed);
    // The 3-D view docks there too, beside the preview, and follows every change.
    m_shaded = new CShadedPanel(*m_view, this);
    addDockWidget(Qt::RightDockWidgetArea, m_shaded);
    m_shaded->hide();
    connect(this, &CMainFrame::DocumentStateChanged, m_shaded, &CShadedPanel::Changed);

    BuildActions();
    BuildMenus();
    BuildToolBars();
    BuildKeys();

    m_recent.Load();
    UpdateRecentMenu();
    UpdateEditMenu();
    UpdateMarks();
    m_doc.onModifiedChanged = [this] {
        UpdateCaption();
        Q_EMIT DocumentStateChanged();
    };
    UpdateCaption();
    m_viewWidget->setFocus();
}

CMainFrame::~CMainFrame()
{
    m_doc.onModifiedChanged = nullptr;
    // The bars outlive this part of the window; hidden as they go, they must not ask it for marks.
    for (QToolBar* bar : m_toolBars) disconnect(bar, nullptr, this, nullptr);
    // The view widget and the preview refer to the view, which goes before the widgets' own
    // parent would delete them.
    delete m_viewWidget;
    m_viewWidget = nullptr;
    delete m_preview;
    m_preview = nullptr;
    delete m_shaded;
    m_shaded = nullptr;
    m_doc.RemoveView(m_view.get());
}

namespace {

// From this many vertices, edges and faces together a command of the whole model may take
// a noticeable moment (a million vertices have six million).
constexpr long kAsideEntries = 300000;

}  // namespace

bool CMainFrame::Dispatch(unsigned id)
{
    // The progress prompt of a change keeps the user's commands away; nothing else may
    // reach the model meanwhile either.
    const CommandEntry* command = FindCommand(id);
    if (!command || ModelBeingChanged()) return false;
    // The router also makes a command that changed the model an undoable step, which
    // marks the model modified (or not, when undo returns to the saved state).
    RouteResult result;
    auto route = [&] { result = RouteCommand(id, CommandTargets{m_view.get(), &m_doc, this}); };
    // On a big model a command of the model (an Extrude of a million vertices, its undo)
    // takes a moment: it runs aside while the window keeps painting, and a prompt shows
    // should it take long. The window's own commands open dialogs and do this themselves.
    const long size = long(m_doc.GetVertexCount()) + m_doc.GetEdgeCount() + m_doc.GetFaceCount();
    if ((command->docHandler || command->docViewHandler) && size >= kAsideEntries)
        ChangeModelAside(QString::fromUtf8(command->name.data(), qsizetype(command->name.size())) + "...", route);
    else
        route();
    if (!result.handled) {
        m_statusBar->ShowOutcome(QStringLiteral("This command is not available."));
        return false;
    }
    AfterCommand(result.report);
    return true;
}

void CMainFrame::LeftPress(unsigned flags, CPoint point)
{
    // A click that changed the model or its selection becomes a step like any command.
    if (ModelBeingChanged()) return;
    AfterCommand(RouteClick(CommandTargets{m_view.get(), &m_doc, this}, flags, point));
}

void CMainFrame::AfterCommand(const CommandReport& report)
{
    UpdateEditMenu();
    UpdateMarks();
    const QString text = QString::fromStdString(report.text);
    // A file that could not be written is as serious as a failed save, and gets the same
    // dialog; a refusal or an outcome is a word in the status bar.
    if (report.kind == CommandReport::Kind::Failure)
        m_prompts.ShowError(this, text);
    else if (report.kind != CommandReport::Kind::None)
        m_statusBar->ShowOutcome(text);
    Q_EMIT DocumentStateChanged();
}

void CMainFrame::ChangeModelAside(const QString& text, std::function<void()> work)
{
    // The hook would update the caption and start the previews' timers from the worker.
    const bool wasModified = m_doc.IsModified();
    std::function<void()> hook = std::exchange(m_doc.onModifiedChanged, nullptr);
    try {
        ChangeModelWithProgress(m_prompts, this, text, std::move(work));
    } catch (...) {
        m_doc.onModifiedChanged = std::move(hook);
        throw;
    }
    m_doc.onModifiedChanged = std::move(hook);
    if (m_doc.IsModified() != wasModified && m_doc.onModifiedChanged) m_doc.onModifiedChanged();
    m_doc.UpdateAllViews(nullptr);
}

void CMainFrame::UpdateCaption()
{
    // "box.pdm - Polydrom"; Qt puts the "*" of an unsaved model where "[*]" stands.
    QString title = QFile::decodeName(QByteArray::fromStdString(m_doc.GetTitle()));
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title + QStringLiteral("[*] - Polydrom"));
    setWindowModified(m_doc.IsModified());
}

void CMainFrame::DocumentReplaced()
{
    m_doc.UpdateAllViews(nullptr);
    UpdateCaption();
    UpdateEditMenu();
    UpdateMarks();
    Q_EMIT DocumentStateChanged();
}

void CMainFrame::ShowWithSavedLayout()
{
    auto settings = OpenSettings();
    const QByteArray geometry = settings->value(kGeometryKey).toByteArray();
    const bool restored = !geometry.isEmpty() && restoreGeometry(geometry);
    // Maximized the first time, over a normal size that fits the screen with the window's
    // frame, so that un-maximizing gives a whole window with its title bar. A remembered
    // normal size that no longer fits (another screen, a title bar above the edge) is
    // replaced the same way, keeping whether the window was maximized. The window shows
    // at its normal size first and is maximized after, so that it keeps that size to
    // return to.
    QScreen* current = screen() ? screen() : QGuiApplication::primaryScreen();
    const QMargins frameRoom(8, 40, 8, 8);
    bool maximize = false;
    if (current && (!restored || !current->availableGeometry().contains(normalGeometry().marginsAdded(frameRoom)))) {
        maximize = !restored || isMaximized();
        setWindowState(windowState() & ~Qt::WindowMaximized);
        setGeometry(FittingNormalGeometry(current->availableGeometry()));
    } else if (!restored) {
        maximize = true;
    }
    show();
    if (maximize) setWindowState(windowState() | Qt::WindowMaximized);
    // The bars go back once the window is on the screen: a floating bar is a window of
    // its own, and only one made after the main window exists belongs to it, which keeps
    // it above the main window; one made before is mapped below it.
    restoreState(settings->value(kStateKey).toByteArray(), kLayoutVersion);
    for (QToolBar* bar : m_toolBars) {
        if (!bar->isFloating() || bar->isHidden()) continue;
        KeepOnScreen(bar);
        bar->raise();
    }
    UpdateChecks();
}

QRect CMainFrame::FittingNormalGeometry(const QRect& available)
{
    // Seven eighths of each side leaves room for the title bar and borders on any screen.
    const QSize size(available.width() * 7 / 8, available.height() * 7 / 8);
    QRect normal(QPoint(0, 0), size);
    normal.moveCenter(available.center());
    return normal;
}

void CMainFrame::KeepOnScreen(QWidget* window) const
{
    // A bar that floated on a screen that is gone, or beyond the edge of this one,
    // comes back wholly inside the area the desktop leaves free.
    const QScreen* current = screen();
    if (!current) return;
    const QRect available = current->availableGeometry();
    QRect frame = window->frameGeometry();
    if (available.contains(frame)) return;
    const int right = std::max(available.left(), available.right() + 1 - frame.width());
    const int bottom = std::max(available.top(), available.bottom() + 1 - frame.height());
    frame.moveTopLeft(QPoint(std::clamp(frame.left(), available.left(), right),
                             std::clamp(frame.top(), available.top(), bottom)));
    window->move(frame.topLeft());
}

void CMainFrame::SaveLayout() const
{
    auto settings = OpenSettings();
    settings->setValue(kGeometryKey, saveGeometry());
    settings->setValue(kStateKey, saveState(kLayoutVersion));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    SaveLayout();
    m_recent.Save();
    // Closed now, while it can still note where it stood for the next start.
    if (m_transform) m_transform->close();
    if (m_help) m_help->close();
    event->accept();
}

bool CMainFrame::event(QEvent* event)
{
    // While a menu item is highlighted, an empty tip (sent by a button the pointer left
    // as the menu opened) must not replace the item's prompt with "For Help, press F1".
    if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* active = menu ? menu->activeAction() : nullptr;
        if (active && !active->statusTip().isEmpty()) {
            m_statusBar->showMessage(active->statusTip());
            return true;
        }
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // A hovered button's prompt travels up to its window and no further: from a floating
    // bar, which is a window of its own, it is brought to the status bar here.
    auto* bar = qobject_cast<QToolBar*>(watched);
    if (event->type() == QEvent::StatusTip && bar && bar->isWindow()) return this->event(event);
    return QMainWindow::eventFilter(watched, event);
}
