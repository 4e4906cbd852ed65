#include "app/shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QStatusTipEvent>
#include <QToolBar>

#include "app/command_ids.h"
#include "app/shell/help_window.h"
#include "app/shell/preview_panel.h"
#include "app/shell/settings.h"
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
      m_recent(6), m_printer(std::make_unique<QPrinter>(QPrinter::ScreenResolution))
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
    // The view widget and the preview refer to the view, which goes before the widgets' own
    // parent would delete them.
    delete m_viewWidget;
    m_viewWidget = nullptr;
    delete m_preview;
    m_preview = nullptr;
    m_doc.RemoveView(m_view.get());
}

bool CMainFrame::Dispatch(unsigned id)
{
    if (!FindCommand(id)) return false;
    // The router also makes a command that changed the model an undoable step, which
    // marks the model modified (or not, when undo returns to the saved state).
    const RouteResult result = RouteCommand(id, CommandTargets{m_view.get(), &m_doc, this});
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
    AfterCommand(RouteClick(CommandTargets{m_view.get(), &m_doc, this}, flags, point));
}

void CMainFrame::AfterCommand(const CommandReport& report)
{
    UpdateEditMenu();
    UpdateMarks();
    if (report.kind != CommandReport::Kind::None) m_statusBar->ShowOutcome(QString::fromStdString(report.text));
    Q_EMIT DocumentStateChanged();
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
    restoreState(settings->value(kStateKey).toByteArray(), kLayoutVersion);
    // A bar hidden last time is hidden before the window shows, which tells nobody.
    Action(ID_VIEW_TOOLBAR)->setChecked(!FileToolBar()->isHidden());
    Action(ID_VIEW_DO_TOOLBAR)->setChecked(!DoToolBar()->isHidden());
    if (!geometry.isEmpty() && restoreGeometry(geometry)) {
        show();
        return;
    }
    // Maximizing is the window manager's work; on a bare X server (no manager) the
    // window would stay small, so it is given the whole screen first.
    if (QScreen* current = screen()) setGeometry(current->availableGeometry());
    showMaximized();
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
    if (m_help) m_help->close();
    event->accept();
}

bool CMainFrame::event(QEvent* event)
{
    // A highlighted menu item of the program's own commands has no prompt: the message
    // pane goes blank, rather than falling back to "For Help, press F1".
    if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* active = menu ? menu->activeAction() : nullptr;
        if (active && !active->isSeparator() && !active->menu()) {
            m_statusBar->showMessage(QStringLiteral(" "));
            return true;
        }
    }
    return QMainWindow::event(event);
}
