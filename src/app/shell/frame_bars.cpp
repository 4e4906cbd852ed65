// The main frame's menu, toolbars, accelerators and the extra keys over the view.
#include <map>

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QToolBar>

#include "app/command_ids.h"
#include "app/shell/command_ui.h"
#include "app/shell/main_frame.h"
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

QIcon ButtonIcon(const CommandLookUi& look, QSize size)
{
    // The file toolbar follows the desktop's icon theme where it has one.
    if (!look.themeIcon.empty() && QIcon::hasThemeIcon(Str(look.themeIcon))) return QIcon::fromTheme(Str(look.themeIcon));
    return SvgIcon(Str(look.image), size);
}

// "Title\n\nBody" as the What's-This bubble shows it.
QString WhatsThisHtml(std::string_view text)
{
    const QString s = Str(text);
    const qsizetype split = s.indexOf(QStringLiteral("\n\n"));
    if (split < 0) return s.toHtmlEscaped();
    return QStringLiteral("<b>%1</b><br>%2").arg(s.left(split).toHtmlEscaped(), s.mid(split + 2).toHtmlEscaped());
}

// Buttons of the program's own commands show no tool tip: they have no prompt string.
class NoToolTip : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::ToolTip; }
};

// Keys over the view that give the navigation commands.
struct ExtraKey {
    QKeyCombination key;
    unsigned id;
};
const ExtraKey kExtraKeys[] = {
    {Qt::Key_Up, ID_VIEW_PAN_UP},       {Qt::Key_Down, ID_VIEW_PAN_DOWN}, {Qt::Key_Left, ID_VIEW_PAN_LEFT},
    {Qt::Key_Right, ID_VIEW_PAN_RIGHT}, {Qt::Key_X, ID_VIEW_AXIS_X},      {Qt::Key_Y, ID_VIEW_AXIS_Y},
    {Qt::Key_Z, ID_VIEW_AXIS_Z},
};

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
        if (const CommandLookUi* look = FindCommandLook(id)) {
            // Toolbar-only commands are named by the first line of their What's-This text.
            const QString whatsThis = Str(look->whatsThis);
            action->setText(whatsThis.section(QLatin1Char('\n'), 0, 0));
            if (!look->whatsThis.empty()) action->setWhatsThis(WhatsThisHtml(look->whatsThis));
            const QString prompt = Str(look->prompt);
            if (!prompt.isEmpty()) {
                action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
                action->setToolTip(prompt.section(QLatin1Char('\n'), 1, 1));
            }
        }
        if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RECENT_FILE_COUNT)
            action->setStatusTip(Str(kRecentFilePrompt));
        connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
        m_actions[id] = action;
    }
    for (unsigned id : {ID_VIEW_TOOLBAR, ID_VIEW_DO_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        Action(id)->setCheckable(true);
        Action(id)->setChecked(true);
    }
}

void CMainFrame::BuildMenus()
{
    for (const MenuUi& menuUi : MainMenuUi()) {
        QMenu* menu = menuBar()->addMenu(Str(menuUi.title));
        for (const MenuItemUi& item : menuUi.items) {
            if (item.id == 0) {
                menu->addSeparator();
            } else if (item.id == ID_FILE_MRU_FILE1) {
                // The greyed placeholder stands in for the list while it is empty.
                m_recentPlaceholder = menu->addAction(Str(item.text));
                m_recentPlaceholder->setObjectName(QStringLiteral("RecentFilePlaceholder"));
                m_recentPlaceholder->setEnabled(false);
                for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
                    QAction* recent = Action(ID_FILE_MRU_FILE1 + i);
                    m_recentActions.append(recent);
                    menu->addAction(recent);
                }
            } else {
                QAction* action = Action(item.id);
                action->setText(Str(item.text));
                menu->addAction(action);
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
    auto* noToolTip = new NoToolTip(this);
    int index = 0;
    for (const ToolBarUi& barUi : ToolBarsUi()) {
        auto* bar = new QToolBar(Str(barUi.title), this);
        bar->setObjectName(Str(barUi.objectName));
        const QSize imageSize(barUi.imageWidth, barUi.imageHeight);
        bar->setIconSize(imageSize);
        bar->setMovable(true);
        bar->setFloatable(true);
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        for (unsigned id : barUi.buttons) {
            if (id == 0) {
                bar->addSeparator();
                continue;
            }
            QAction* action = Action(id);
            const CommandLookUi* look = FindCommandLook(id);
            action->setIcon(ButtonIcon(*look, imageSize));
            bar->addAction(action);
            if (look->prompt.empty()) bar->widgetForAction(action)->installEventFilter(noToolTip);
        }
        m_toolBars[index++] = bar;
    }
    // The file and Do toolbars in two rows along the top, the view toolbar standing on the left.
    addToolBar(Qt::TopToolBarArea, FileToolBar());
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, DoToolBar());
    addToolBar(Qt::LeftToolBarArea, ViewToolBar());

    // The View menu's check marks follow the bars, however they were hidden or shown.
    const std::pair<QToolBar*, unsigned> toggles[] = {{FileToolBar(), ID_VIEW_TOOLBAR},
                                                      {DoToolBar(), ID_VIEW_DO_TOOLBAR}};
    for (auto [bar, id] : toggles) {
        QAction* action = Action(id);
        connect(bar, &QToolBar::visibilityChanged, action, [bar, action] { action->setChecked(!bar->isHidden()); });
    }
}

void CMainFrame::BuildKeys()
{
    std::map<unsigned, QList<QKeySequence>> keys;
    for (const AcceleratorUi& accelerator : AcceleratorsUi())
        keys[accelerator.id].append(QKeySequence(Str(accelerator.keys)));
    for (const auto& [id, sequences] : keys) {
        QAction* action = Action(id);
        action->setShortcuts(sequences);
        // Held by the window itself too, so the keys work while their bar is hidden.
        addAction(action);
    }
    for (const ExtraKey& key : kExtraKeys) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("Key") + QKeySequence(key.key).toString());
        action->setShortcut(QKeySequence(key.key));
        const unsigned id = key.id;
        connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
        addAction(action);
    }
}
