// The main frame's actions, menu, toolbars and keys, all made from the command table and layout.
#include <QAction>
#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QToolBar>

#include "app/command_ids.h"
#include "app/command_layout.h"
#include "app/command_table.h"
#include "app/shell/main_frame.h"
#include "app/shell/status_bar.h"
#include "model/polydrom_doc.h"

namespace {

QString Str(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The button image drawn from its SVG at exactly the bar's size, and at twice that
// for high-density screens.
QIcon SvgIcon(const QString& resource, QSize size)
{
    QSvgRenderer renderer(resource);
    QIcon icon;
    for (int scale : {1, 2}) {
        QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon ButtonIcon(const CommandEntry& entry, QSize size)
{
    // The file toolbar follows the desktop's icon theme where it has one.
    if (!entry.themeIcon.empty() && QIcon::hasThemeIcon(Str(entry.themeIcon))) return QIcon::fromTheme(Str(entry.themeIcon));
    return SvgIcon(Str(entry.image), size);
}

// The What's-This bubble: the command's name in bold, then what it does.
QString WhatsThisHtml(const CommandEntry& entry)
{
    const std::string_view body = entry.details.empty() ? entry.prompt : entry.details;
    return QStringLiteral("<b>%1</b><br>%2").arg(Str(entry.name).toHtmlEscaped(), Str(body).toHtmlEscaped());
}

// "&Open...\tCtrl+O": the menu text with the shortcut the menu shows beside it.
QString MenuText(const CommandEntry& entry)
{
    QString text = Str(entry.menuText);
    if (!entry.shortcut.empty()) text += QLatin1Char('\t') + Str(entry.shortcut);
    return text;
}

}  // namespace

QAction* CMainFrame::Action(unsigned id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::BuildActions()
{
    for (const CommandEntry& entry : CommandTable()) {
        auto* action = new QAction(this);
        const unsigned id = entry.id;
        action->setObjectName(Str(entry.symbol));
        action->setData(id);
        // Menus show texts only; the images belong to the toolbar buttons.
        action->setIconVisibleInMenu(false);
        // Toolbar-only commands are known by their name; menu items by their menu text.
        action->setText(entry.menuText.empty() ? Str(entry.name) : MenuText(entry));
        action->setToolTip(Str(entry.name));
        action->setStatusTip(Str(entry.prompt));
        action->setWhatsThis(WhatsThisHtml(entry));
        // A setting's item is checked at its value, a bar's while the bar shows, and the Move
        // button looks pressed while the move mode is on; UpdateChecks keeps them in step.
        action->setCheckable(entry.checked != nullptr);
        connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
        m_actions[id] = action;
    }
}

void CMainFrame::BuildMenus()
{
    for (const MenuLayout& layout : MainMenuLayout()) {
        QMenu* menu = menuBar()->addMenu(Str(layout.title));
        for (unsigned id : layout.items) {
            if (id == 0) {
                menu->addSeparator();
            } else if (id == ID_FILE_MRU_FILE1) {
                // The greyed placeholder stands in for the list while it is empty.
                m_recentPlaceholder = menu->addAction(Str(kRecentFilePlaceholder));
                m_recentPlaceholder->setObjectName(QStringLiteral("RecentFilePlaceholder"));
                m_recentPlaceholder->setEnabled(false);
                for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
                    QAction* recent = Action(ID_FILE_MRU_FILE1 + i);
                    m_recentActions.append(recent);
                    menu->addAction(recent);
                }
            } else {
                menu->addAction(Action(id));
            }
        }
    }
}

void CMainFrame::UpdateRecentMenu()
{
    const QStringList& files = m_recent.Files();
    m_recentPlaceholder->setVisible(files.isEmpty());
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        action->setVisible(i < files.size());
        action->setText(i < files.size() ? CRecentFileList::MenuText(i, files[i]) : QString());
    }
}

void CMainFrame::UpdateEditMenu()
{
    // "&Undo Extrude\tCtrl+Z"; just "&Undo\tCtrl+Z", greyed, when there is nothing to undo.
    const auto label = [](const char* verb, const std::string& step, const char* key) {
        QString text = QString::fromLatin1(verb);
        if (!step.empty()) text += QLatin1Char(' ') + QString::fromStdString(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
        return text + QLatin1Char('\t') + QString::fromLatin1(key);
    };
    const CModelHistory& history = m_doc.History();
    QAction* undo = Action(ID_EDIT_UNDO);
    undo->setEnabled(history.CanUndo());
    undo->setText(label("&Undo", history.UndoLabel(), "Ctrl+Z"));
    QAction* redo = Action(ID_EDIT_REDO);
    redo->setEnabled(history.CanRedo());
    redo->setText(label("&Redo", history.RedoLabel(), "Ctrl+Y"));
}

void CMainFrame::BuildToolBars()
{
    int index = 0;
    for (const ToolBarLayout& barUi : ToolBarLayouts()) {
        auto* bar = new QToolBar(Str(barUi.title), this);
        bar->setObjectName(Str(barUi.objectName));
        const QSize imageSize(barUi.imageWidth, barUi.imageHeight);
        bar->setIconSize(imageSize);
        bar->setMovable(true);
        bar->setFloatable(true);
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->installEventFilter(this);
        for (unsigned id : barUi.buttons) {
            if (id == 0) {
                bar->addSeparator();
                continue;
            }
            QAction* action = Action(id);
            action->setIcon(ButtonIcon(*FindCommand(id), imageSize));
            bar->addAction(action);
        }
        m_toolBars[index++] = bar;
    }
    // The file and Do toolbars in two rows along the top, the view toolbar standing on the left.
    addToolBar(Qt::TopToolBarArea, FileToolBar());
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, DoToolBar());
    addToolBar(Qt::LeftToolBarArea, ViewToolBar());

    // The View menu's check marks follow the bars, however they were hidden or shown.
    for (QToolBar* bar : m_toolBars) connect(bar, &QToolBar::visibilityChanged, this, [this] { UpdateChecks(); });
}

bool CMainFrame::FileToolBarShown() const { return !FileToolBar()->isHidden(); }
bool CMainFrame::DoToolBarShown() const { return !DoToolBar()->isHidden(); }
bool CMainFrame::StatusBarShown() const { return !m_statusBar->isHidden(); }

void CMainFrame::UpdateChecks()
{
    const CommandTargets targets{m_view.get(), &m_doc, this};
    for (const CommandEntry& entry : CommandTable())
        if (entry.checked) Action(entry.id)->setChecked(entry.checked(targets));
}

void CMainFrame::BuildKeys()
{
    for (const CommandEntry& entry : CommandTable()) {
        if (entry.shortcut.empty()) continue;
        QList<QKeySequence> sequences{QKeySequence(Str(entry.shortcut))};
        if (!entry.shortcut2.empty()) sequences.append(QKeySequence(Str(entry.shortcut2)));
        QAction* action = Action(entry.id);
        action->setShortcuts(sequences);
        // Held by the window itself too, so the keys work while their bar is hidden.
        addAction(action);
    }
}
