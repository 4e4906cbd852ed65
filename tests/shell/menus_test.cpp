// The menus, keys and toolbars as the window builds them from the command table and
// layout, their tool tips and prompts, the status bar and the About box.
#include <set>

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <QMenu>
#include <QTest>

#include "app/command_ids.h"
#include "app/command_layout.h"
#include "app/shell/about_box.h"
#include "app/shell/status_bar.h"
#include "shell/shell_fixture.h"

namespace {

QString Str(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QMenu* TopMenu(CMainFrame& frame, int index) { return frame.menuBar()->actions().at(index)->menu(); }

// Every button of the three toolbars, with its command's row.
QList<std::pair<QWidget*, const CommandEntry*>> Buttons(CMainFrame& frame)
{
    QList<std::pair<QWidget*, const CommandEntry*>> buttons;
    for (QToolBar* bar : {frame.FileToolBar(), frame.DoToolBar(), frame.ViewToolBar()})
        for (QAction* action : bar->actions())
            if (!action->isSeparator())
                buttons.append({bar->widgetForAction(action), FindCommand(action->data().toUInt())});
    return buttons;
}

}  // namespace

// The menus and toolbars hold what the layout lists (its text is checked against the
// golden listing of the app tests); here: that the window is built from it.
TEST_F(ShellTest, MenusAreBuiltAsTheLayoutSays)
{
    const auto layout = MainMenuLayout();
    ASSERT_EQ(frame->menuBar()->actions().size(), qsizetype(layout.size()));
    for (std::size_t m = 0; m < layout.size(); ++m) {
        QMenu* menu = TopMenu(*frame, int(m));
        EXPECT_EQ(frame->menuBar()->actions().at(int(m))->text(), Str(layout[m].title));
        QList<QAction*> items = menu->actions();
        qsizetype k = 0;
        for (unsigned id : layout[m].items) {
            ASSERT_LT(k, items.size()) << layout[m].title;
            QAction* item = items[k++];
            if (id == 0) {
                EXPECT_TRUE(item->isSeparator()) << layout[m].title << " item " << k;
            } else if (id == ID_FILE_MRU_FILE1) {
                // The placeholder, then the six entries the list fills in.
                EXPECT_EQ(item, frame->RecentPlaceholder());
                for (int i = 0; i < RECENT_FILE_COUNT; ++i) EXPECT_EQ(items[k++], frame->Action(ID_FILE_MRU_FILE1 + i));
            } else {
                const CommandEntry& entry = *FindCommand(id);
                EXPECT_EQ(item, frame->Action(id)) << entry.symbol;
                EXPECT_TRUE(item->text().startsWith(Str(entry.menuText))) << entry.symbol;
                if (!entry.shortcut.empty()) {
                    EXPECT_TRUE(item->text().endsWith(QLatin1Char('\t') + Str(entry.shortcut))) << entry.symbol;
                }
            }
        }
        EXPECT_EQ(k, items.size()) << layout[m].title;
    }
}

TEST_F(ShellTest, ProgramCommandsAreNeverGreyedAndOnlySettingsAreChecked)
{
    // The resolution and step items are checked at the current value, and nothing else is.
    const std::set<unsigned> settings = {ID_RES_VERY_LOW,  ID_RES_LOW,   ID_RES_MEDIUM,  ID_RES_HIGH,
                                         ID_RES_VERY_HIGH, ID_STEP_FINEST, ID_STEP_FINE, ID_STEP_COARSE,
                                         ID_STEP_COARSEST};
    std::set<unsigned> checked;
    for (QMenu* menu : frame->menuBar()->findChildren<QMenu*>()) {
        for (QAction* action : menu->actions()) {
            const unsigned id = action->data().toUInt();
            if (id < 32768 || id > 33000) continue;  // the program's own ids
            EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
            if (id != ID_VIEW_DO_TOOLBAR) {
                EXPECT_EQ(action->isCheckable(), settings.count(id) == 1) << action->text().toStdString();
            }
            if (action->isChecked() && id != ID_VIEW_DO_TOOLBAR) checked.insert(id);
        }
    }
    // A new model: 5 points, step 0.01.
    EXPECT_EQ(checked, (std::set<unsigned>{ID_RES_VERY_LOW, ID_STEP_FINEST}));
    // The placeholder is greyed while the recent-file list is empty; Undo with nothing done.
    EXPECT_FALSE(frame->RecentPlaceholder()->isEnabled());
    EXPECT_FALSE(frame->Action(ID_EDIT_UNDO)->isEnabled());
}

TEST_F(ShellTest, EveryShortcutOfTheTableIsBoundByTheWindow)
{
    for (const CommandEntry& entry : CommandTable()) {
        QList<QKeySequence> keys;
        if (!entry.shortcut.empty()) keys.append(QKeySequence(Str(entry.shortcut)));
        if (!entry.shortcut2.empty()) keys.append(QKeySequence(Str(entry.shortcut2)));
        QAction* action = frame->Action(entry.id);
        EXPECT_EQ(action->shortcuts(), keys) << entry.symbol;
        // The window holds them, so they work while their toolbar is hidden.
        if (!keys.isEmpty()) {
            EXPECT_TRUE(frame->actions().contains(action)) << entry.symbol;
        }
    }
}

TEST_F(ShellTest, ToolbarsAreBuiltAsTheLayoutSaysAndCanFloat)
{
    const auto layout = ToolBarLayouts();
    const QToolBar* bars[] = {frame->FileToolBar(), frame->DoToolBar(), frame->ViewToolBar()};
    ASSERT_EQ(layout.size(), std::size(bars));
    for (std::size_t b = 0; b < layout.size(); ++b) {
        QList<unsigned> ids, expected(layout[b].buttons.begin(), layout[b].buttons.end());
        for (QAction* action : bars[b]->actions()) ids.append(action->isSeparator() ? 0 : action->data().toUInt());
        EXPECT_EQ(ids, expected) << layout[b].title;
        EXPECT_EQ(bars[b]->iconSize(), QSize(layout[b].imageWidth, layout[b].imageHeight));
    }

    frame->show();
    EXPECT_EQ(frame->toolBarArea(frame->FileToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame->toolBarArea(frame->DoToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame->toolBarArea(frame->ViewToolBar()), Qt::LeftToolBarArea);
    // Two rows along the top: the Do toolbar lies below the file toolbar.
    EXPECT_GT(frame->DoToolBar()->y(), frame->FileToolBar()->y());
    for (const QToolBar* bar : bars) {
        EXPECT_TRUE(bar->isFloatable());
        EXPECT_TRUE(bar->isMovable());
        EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    }
}

TEST_F(ShellTest, EveryButtonHasItsImageToolTipPromptAndWhatsThis)
{
    frame->show();
    for (auto [button, entry] : Buttons(*frame)) {
        ASSERT_NE(entry, nullptr);
        auto* toolButton = qobject_cast<QToolButton*>(button);
        ASSERT_NE(toolButton, nullptr) << entry->symbol;
        EXPECT_EQ(button->toolTip(), Str(entry->name)) << entry->symbol;
        EXPECT_EQ(button->statusTip(), Str(entry->prompt)) << entry->symbol;
        EXPECT_TRUE(button->whatsThis().contains(Str(entry->name).toHtmlEscaped())) << entry->symbol;
        EXPECT_FALSE(toolButton->icon().pixmap(toolButton->iconSize()).isNull()) << entry->symbol;
    }
    // The menu items too, the recent files' placeholder aside.
    for (QAction* top : frame->menuBar()->actions()) {
        for (QAction* action : top->menu()->actions()) {
            if (action->isSeparator() || action == frame->RecentPlaceholder()) continue;
            const CommandEntry* entry = FindCommand(action->data().toUInt());
            ASSERT_NE(entry, nullptr) << action->text().toStdString();
            EXPECT_EQ(action->statusTip(), Str(entry->prompt)) << entry->symbol;
            EXPECT_EQ(action->toolTip(), Str(entry->name)) << entry->symbol;
        }
    }
    // The standard commands keep their standard prompt strings.
    EXPECT_EQ(frame->Action(ID_FILE_NEW)->statusTip(), QStringLiteral("Create a new document"));
    EXPECT_EQ(frame->Action(ID_FILE_NEW)->toolTip(), QStringLiteral("New"));
}

TEST_F(ShellTest, HoveringAButtonShowsItsPromptInPlaceOfTheIdleText)
{
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    // What Qt sends a button when the pointer comes over it, wherever its window is.
    const auto hover = [this](QWidget* button) {
        const QPointF at = button->rect().center();
        QEnterEvent entered(at, at, button->mapToGlobal(at));
        QApplication::sendEvent(button, &entered);
        return frame->StatusBar()->currentMessage();
    };
    const auto leave = [this](QWidget* button) {
        QEvent left(QEvent::Leave);
        QApplication::sendEvent(button, &left);
        return frame->StatusBar()->currentMessage();
    };
    QWidget* box = frame->DoToolBar()->widgetForAction(frame->Action(ID_SHAPE_BOX));
    EXPECT_EQ(hover(box), Str(FindCommand(ID_SHAPE_BOX)->prompt));
    EXPECT_EQ(leave(box), QString());
    QWidget* zoom = frame->ViewToolBar()->widgetForAction(frame->Action(ID_VIEW_ZOOM_IN));
    EXPECT_EQ(hover(zoom), Str(FindCommand(ID_VIEW_ZOOM_IN)->prompt));
    leave(zoom);

    // A floating bar is a window of its own; its prompts still reach the status bar.
    FloatToolBar(frame->DoToolBar());
    ASSERT_TRUE(frame->DoToolBar()->isFloating());
    QWidget* connect = frame->DoToolBar()->widgetForAction(frame->Action(ID_DO_CONNECT));
    EXPECT_EQ(hover(connect), Str(FindCommand(ID_DO_CONNECT)->prompt));
    EXPECT_EQ(leave(connect), QString());

    // A menu opened from the keyboard while the pointer rests on a button: the button's
    // leaving must not wipe the highlighted item's prompt.
    hover(connect);
    QMenu* doMenu = frame->menuBar()->actions().at(3)->menu();
    doMenu->popup(frame->mapToGlobal(QPoint(100, 30)));
    doMenu->setActiveAction(frame->Action(ID_DO_EXTRUDE));
    EXPECT_EQ(leave(connect), Str(FindCommand(ID_DO_EXTRUDE)->prompt));
    doMenu->close();
}

TEST_F(ShellTest, StatusBarShowsIdlePromptAndLockIndicators)
{
    CStatusBar* bar = frame->StatusBar();
    EXPECT_EQ(bar->IdleText(), QStringLiteral("For Help, press F1"));
    bar->SetLockSource([] { return KeyboardLocks{true, true, false, true}; });
    EXPECT_EQ(bar->IndicatorText(0), QStringLiteral("CAP"));
    EXPECT_EQ(bar->IndicatorText(1), QString());
    EXPECT_EQ(bar->IndicatorText(2), QStringLiteral("SCRL"));
    // Where the platform cannot tell, the panes stay empty rather than guess.
    bar->SetLockSource([] { return KeyboardLocks{false, true, true, true}; });
    EXPECT_EQ(bar->IndicatorText(0), QString());
}

TEST(AboutBox, SplashHasItsControlsAndPictures)
{
    CAboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Polydrim"));
    QStringList texts;
    QList<QSize> pictures;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull())
            pictures.append(label->pixmap().size());
        else
            texts.append(label->text());
    }
    EXPECT_TRUE(texts.contains("Version 1.00"));
    EXPECT_TRUE(texts.contains("3-D modler for raytracing programs"));
    EXPECT_TRUE(texts.contains("Freeware"));
    EXPECT_TRUE(pictures.contains(QSize(320, 240)));
    EXPECT_TRUE(pictures.contains(QSize(147, 57)));
    auto* ok = box.findChild<QAbstractButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    // The 320 x 240 picture and the texts to its right fit the box.
    for (QWidget* child : box.findChildren<QWidget*>())
        EXPECT_TRUE(box.rect().contains(child->geometry())) << child->metaObject()->className();
}
