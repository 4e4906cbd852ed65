// The menu tree, accelerators, toolbars, prompts, status bar and About box.
#include <set>

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "app/command_ids.h"
#include "app/shell/about_box.h"
#include "app/shell/status_bar.h"
#include "shell/shell_fixture.h"

namespace {

// Item texts of a menu, "-" for a separator; the recent-file entries are left out.
QStringList Items(QMenu* menu)
{
    QStringList items;
    for (QAction* action : menu->actions()) {
        const unsigned id = action->data().toUInt();
        if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RECENT_FILE_COUNT) continue;
        items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return items;
}

QMenu* TopMenu(CMainFrame& frame, int index) { return frame.menuBar()->actions().at(index)->menu(); }

// Command ids of a toolbar's buttons, 0 for a separator.
QList<unsigned> Buttons(QToolBar* bar)
{
    QList<unsigned> ids;
    for (QAction* action : bar->actions()) ids.append(action->isSeparator() ? 0 : action->data().toUInt());
    return ids;
}

}  // namespace

TEST_F(ShellTest, MenuTreeHasEveryItemInOrder)
{
    QStringList titles;
    for (QAction* top : frame->menuBar()->actions()) titles.append(top->text());
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Do", "Object Resolution", "&Help", "Rotate/Zoom"}));

    EXPECT_EQ(Items(TopMenu(*frame, 0)),
              QStringList({"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "-", "&Import...\tCtrl+I", "Export POVFILE",
                           "Export &As...", "-", "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "-", "Recent File", "-",
                           "E&xit"}));
    EXPECT_EQ(Items(TopMenu(*frame, 1)), QStringList({"&Undo\tCtrl+Z", "&Redo\tCtrl+Y"}));
    EXPECT_EQ(Items(TopMenu(*frame, 2)),
              QStringList({"File &Toolbar", "View Do Toolbar", "&Status Bar", "-", "Zoom to &Fit\tHome",
                           "&Render Preview\tF9"}));
    EXPECT_EQ(Items(TopMenu(*frame, 3)),
              QStringList({"Connect", "Un-connect", "Extrude", "Copy", "Mirror", "Select All Connected", "Select All",
                           "Deselect All", "Invert Selection", "-", "Add Vertex At...", "Transform...",
                           "Set Cursor..."}));
    EXPECT_EQ(Items(TopMenu(*frame, 4)), QStringList({"Very Low (5 point)", "Low (10 point)", "Medium (20 point)",
                                                      "High (40 point)", "Very High (80 point)"}));
    EXPECT_EQ(Items(TopMenu(*frame, 5)), QStringList({"&Help Topics", "-", "&About Polydrom..."}));
    // The third step item sets 0.1 and says so.
    EXPECT_EQ(Items(TopMenu(*frame, 6)), QStringList({".01", ".05", ".1", ".5"}));
    frame->Dispatch(ID_STEP_COARSE);
    EXPECT_EQ(doc->m_step, 0.1f);
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

TEST_F(ShellTest, AcceleratorsReachTheirCommands)
{
    const std::pair<unsigned, const char*> keys[] = {
        {ID_FILE_NEW, "Ctrl+N"}, {ID_FILE_OPEN, "Ctrl+O"},       {ID_FILE_SAVE, "Ctrl+S"}, {ID_FILE_PRINT, "Ctrl+P"},
        {ID_HELP, "F1"},         {ID_CONTEXT_HELP, "Shift+F1"}, {ID_EDIT_UNDO, "Ctrl+Z"},
    };
    for (auto [id, key] : keys) EXPECT_EQ(frame->Action(id)->shortcut(), QKeySequence(QString::fromLatin1(key))) << key;
    EXPECT_EQ(frame->Action(ID_EDIT_REDO)->shortcuts(),
              QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    // The window holds them, so they work while their toolbar is hidden.
    for (auto [id, key] : keys) EXPECT_TRUE(frame->actions().contains(frame->Action(id))) << key;
}

TEST_F(ShellTest, ThreeToolbarsWithTheirButtonsAndImageSizes)
{
    EXPECT_EQ(Buttons(frame->FileToolBar()),
              QList<unsigned>({ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_FILE_PRINT, ID_APP_ABOUT, ID_CONTEXT_HELP}));
    EXPECT_EQ(Buttons(frame->DoToolBar()),
              QList<unsigned>({ID_DO_CONNECT, ID_DO_UNCONNECT, ID_DO_MOVE, ID_SHAPE_CYLINDER, ID_SHAPE_CIRCLE,
                               ID_SHAPE_BOX, ID_SHAPE_SQUARE, ID_SHAPE_CONE, ID_SHAPE_PYRAMID, ID_DO_ROTATE_CCW,
                               ID_DO_ROTATE_CW, ID_DO_GROW, ID_DO_SHRINK}));
    EXPECT_EQ(Buttons(frame->ViewToolBar()),
              QList<unsigned>({ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, 0, ID_VIEW_PAN_DOWN, ID_VIEW_PAN_UP,
                               ID_VIEW_PAN_RIGHT, ID_VIEW_PAN_LEFT, 0, ID_VIEW_AXIS_X, ID_VIEW_AXIS_Y, ID_VIEW_AXIS_Z}));
    EXPECT_EQ(frame->FileToolBar()->iconSize(), QSize(16, 15));
    EXPECT_EQ(frame->DoToolBar()->iconSize(), QSize(25, 17));
    EXPECT_EQ(frame->ViewToolBar()->iconSize(), QSize(23, 21));

    frame->show();
    EXPECT_EQ(frame->toolBarArea(frame->FileToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame->toolBarArea(frame->DoToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame->toolBarArea(frame->ViewToolBar()), Qt::LeftToolBarArea);
    // Two rows along the top: the Do toolbar lies below the file toolbar.
    EXPECT_GT(frame->DoToolBar()->y(), frame->FileToolBar()->y());
    for (QToolBar* bar : {frame->FileToolBar(), frame->DoToolBar(), frame->ViewToolBar()}) {
        EXPECT_TRUE(bar->isFloatable());
        EXPECT_TRUE(bar->isMovable());
        EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) continue;
            EXPECT_FALSE(bar->widgetForAction(action)->whatsThis().isEmpty()) << action->objectName().toStdString();
            EXPECT_FALSE(action->icon().pixmap(bar->iconSize()).isNull()) << action->objectName().toStdString();
        }
    }
}

TEST_F(ShellTest, EveryMenuItemAndButtonHasAToolTipAndAPrompt)
{
    // The standard commands keep their standard prompt strings.
    EXPECT_EQ(frame->Action(ID_FILE_NEW)->statusTip(), QStringLiteral("Create a new document"));
    EXPECT_EQ(frame->Action(ID_FILE_NEW)->toolTip(), QStringLiteral("New"));
    EXPECT_EQ(frame->Action(ID_APP_EXIT)->statusTip(), QStringLiteral("Quit the application; prompts to save documents"));
    EXPECT_EQ(frame->Action(ID_DO_CONNECT)->statusTip(),
              QStringLiteral("Connect: joins the selected vertices with edges (two: one edge, three: a triangle)"));

    QList<QAction*> actions;
    for (QMenu* menu : frame->menuBar()->findChildren<QMenu*>()) actions += menu->actions();
    for (QToolBar* bar : {frame->FileToolBar(), frame->DoToolBar(), frame->ViewToolBar()}) actions += bar->actions();
    for (QAction* action : actions) {
        if (action->isSeparator() || action == frame->RecentPlaceholder()) continue;
        EXPECT_FALSE(action->toolTip().isEmpty()) << action->objectName().toStdString();
        EXPECT_FALSE(action->statusTip().isEmpty()) << action->objectName().toStdString();
        EXPECT_FALSE(action->whatsThis().isEmpty()) << action->objectName().toStdString();
    }

    // A Do-toolbar button names its command in its tool tip.
    frame->show();
    QWidget* doButton = frame->DoToolBar()->widgetForAction(frame->Action(ID_SHAPE_BOX));
    EXPECT_EQ(doButton->toolTip(), QStringLiteral("Box"));
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
