// Every command id reaches its handler through the one command table, from the menus,
// toolbars, keys and wheel alike.
#include <map>

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QWhatsThis>
#include <QWheelEvent>

#include "app/command_ids.h"
#include "app/command_listing.h"
#include "app/shell/help_window.h"
#include "app/shell/status_bar.h"
#include "app/shell/view_widget.h"
#include "shell/shell_fixture.h"
#include "view/polydrom_view.h"

namespace {

// Records which framework command ran, instead of running it.
class SpyFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    QStringList calls;
    void OnFileNew() override { calls << "New"; }
    void OnFileOpen() override { calls << "Open"; }
    void OnFileSave() override { calls << "Save"; }
    void OnFileSaveAs() override { calls << "SaveAs"; }
    void OnFileExportAs() override { calls << "ExportAs"; }
    void OnFileExportPov() override { calls << "ExportPov"; }
    void OnFileImport() override { calls << "Import"; }
    void OnFilePrint() override { calls << "Print"; }
    void OnFilePrintPreview() override { calls << "Preview"; }
    void OnFilePrintSetup() override { calls << "PrintSetup"; }
    void OnFileMruFile(int index) override { calls << QStringLiteral("Recent%1").arg(index); }
    void OnAppAbout() override { calls << "About"; }
    void OnAppExit() override { calls << "Exit"; }
    void OnViewToolbar() override { calls << "FileBar"; }
    void OnViewDoToolbar() override { calls << "DoBar"; }
    void OnViewStatusBar() override { calls << "StatusBar"; }
    void OnViewRenderPreview() override { calls << "RenderPreview"; }
    void OnView3D() override { calls << "View3D"; }
    void OnHelpFinder() override { calls << "HelpFinder"; }
    void OnHelp() override { calls << "Help"; }
    void OnContextHelp() override { calls << "ContextHelp"; }
    void OnDoAddVertexAt() override { calls << "AddVertexAt"; }
    void OnDoTransform() override { calls << "Transform"; }
    void OnDoSetCursor() override { calls << "SetCursor"; }
    void OnDoMergeVertices() override { calls << "MergeVertices"; }
};

bool IsShellCommand(const CommandEntry& entry) { return entry.shellHandler || entry.shellIndexHandler; }

}  // namespace

TEST_F(ShellTest, FrameworkCommandsReachTheFrameThroughTheTable)
{
    // Each menu item or button calls the frame's handler its row names, and only that.
    SpyFrame spy(*doc, prompts);
    SpyFrame expected(*doc, prompts);
    for (const CommandEntry& entry : CommandTable()) {
        if (!IsShellCommand(entry)) continue;
        spy.calls.clear();
        expected.calls.clear();
        spy.Action(entry.id)->trigger();
        if (entry.shellHandler)
            (expected.*entry.shellHandler)();
        else
            (expected.*entry.shellIndexHandler)(entry.index);
        EXPECT_EQ(spy.calls, expected.calls) << entry.symbol;
        EXPECT_EQ(spy.calls.size(), 1) << entry.symbol;
    }
}

// The model and view commands, each checked by what it does to a small model: two
// selected vertices (10, 20, 0) and (-30, 5, 0) joined by one edge.
class ModelCommandTest : public ShellTest {
protected:
    void Fresh()
    {
        doc->SetModifiedFlag(false);
        frame->Dispatch(ID_FILE_NEW);
        doc->AddVertex(10, 20, 0);
        doc->AddVertex(-30, 5, 0);
        doc->ResizeModel(2, 1, 0);
        doc->m_edgeFrom[0] = 0;
        doc->m_edgeTo[0] = 1;
        doc->CommitStep("set-up");
    }
    CPolydromView& view() { return frame->View(); }
};

TEST_F(ModelCommandTest, EveryModelAndViewCommandReachesItsHandler)
{
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    using Check = std::function<bool()>;
    const std::map<unsigned, Check> effects = {
        {ID_FILE_EXPORT_POV, [&] { return QFile::exists(Temp("object.pov")); }},
        {ID_DO_CONNECT, [&] { return doc->GetEdgeCount() == 3 && doc->GetFaceCount() == 1; }},
        {ID_DO_UNCONNECT, [&] { return doc->GetVertexCount() == 0 && doc->GetEdgeCount() == 0; }},
        {ID_DO_EXTRUDE, [&] { return doc->GetVertexCount() == 4; }},
        {ID_DO_COPY, [&] { return doc->GetVertexCount() == 4 && doc->GetEdgeCount() == 2; }},
        {ID_DO_MIRROR, [&] { return doc->GetVertexCount() == 4 && doc->m_x[2] == -10.0f; }},
        {ID_DO_SELECT_ALL, [&] { return doc->m_sel[0] == 1; }},
        {ID_DO_DESELECT_ALL, [&] { return doc->m_sel[0] == 0 && doc->m_sel[1] == 0; }},
        {ID_DO_SELECT_CONNECTED, [&] { return doc->m_sel[0] == 1 && doc->m_sel[1] == 1; }},
        {ID_SELECT_INVERT, [&] { return doc->m_sel[0] == 0 && doc->m_sel[1] == 0; }},
        {ID_RES_VERY_LOW, [&] { return doc->m_nResolution == 5; }},
        {ID_RES_LOW, [&] { return doc->m_nResolution == 10; }},
        {ID_RES_MEDIUM, [&] { return doc->m_nResolution == 20; }},
        {ID_RES_HIGH, [&] { return doc->m_nResolution == 40; }},
        {ID_RES_VERY_HIGH, [&] { return doc->m_nResolution == 80; }},
        {ID_STEP_FINEST, [&] { return doc->m_step == 0.01f; }},
        {ID_STEP_FINE, [&] { return doc->m_step == 0.05f; }},
        {ID_STEP_COARSE, [&] { return doc->m_step == 0.1f; }},
        {ID_STEP_COARSEST, [&] { return doc->m_step == 0.5f; }},
        {ID_DO_MOVE, [&] { return view().m_movePresses == 1; }},
        {ID_SHAPE_CYLINDER, [&] { return doc->GetVertexCount() == 2 + 2 * doc->m_nResolution; }},
        {ID_SHAPE_CIRCLE, [&] { return doc->GetVertexCount() == 2 + doc->m_nResolution; }},
        {ID_SHAPE_BOX, [&] { return doc->GetVertexCount() == 2 + 8; }},
        {ID_SHAPE_SQUARE, [&] { return doc->GetVertexCount() == 2 + 4; }},
        {ID_SHAPE_CONE, [&] { return doc->GetVertexCount() == 2 + doc->m_nResolution + 1; }},
        {ID_SHAPE_PYRAMID, [&] { return doc->GetVertexCount() == 2 + 5; }},
        {ID_DO_ROTATE_CCW, [&] { return doc->m_x[0] != 10.0f && doc->GetVertexCount() == 2; }},
        {ID_DO_ROTATE_CW, [&] { return doc->m_x[0] != 10.0f && doc->GetVertexCount() == 2; }},
        {ID_DO_GROW, [&] { return doc->m_x[0] > 10.0f; }},
        {ID_DO_SHRINK, [&] { return doc->m_x[0] < 10.0f && doc->m_x[0] > 0.0f; }},
        {ID_VIEW_ZOOM_IN, [&] { return view().m_state.zoom == 2.0f; }},
        {ID_VIEW_ZOOM_OUT, [&] { return view().m_state.zoom == 0.5f; }},
        {ID_VIEW_PAN_UP, [&] { return view().m_state.pan[1] == 30.0f; }},
        {ID_VIEW_PAN_DOWN, [&] { return view().m_state.pan[1] == -30.0f; }},
        {ID_VIEW_PAN_LEFT, [&] { return view().m_state.pan[0] == 30.0f; }},
        {ID_VIEW_PAN_RIGHT, [&] { return view().m_state.pan[0] == -30.0f; }},
        {ID_VIEW_AXIS_X, [&] { return view().m_state.axis == ViewAxis::X; }},
        {ID_VIEW_AXIS_Y, [&] { return view().m_state.axis == ViewAxis::Y; }},
        {ID_VIEW_AXIS_Z, [&] { return view().m_state.axis == ViewAxis::Z; }},
        {ID_VIEW_FIT, [&] { return view().m_state.pan[0] == 10.0f && view().m_state.pan[1] == -12.5f; }},
        {ID_EDIT_UNDO, [&] { return doc->GetEdgeCount() == 0 && doc->GetVertexCount() == 0; }},
        {ID_EDIT_REDO, [&] { return doc->GetEdgeCount() == 1; }},
    };
    // The window's dispatch reaches each command's work. A command added later is checked by
    // its scenario case, which runs it through the same router.
    for (const auto& [id, check] : effects) {
        // Each command starts from the same model and a view looking along Z.
        CPolydromView& v = view();
        v.m_state = ViewState{};
        v.m_movePresses = v.m_moveAnchored = 0;
        Fresh();
        if (id == ID_DO_SELECT_ALL || id == ID_DO_SELECT_CONNECTED) doc->m_sel[0] = doc->m_sel[1] = 0;
        if (id == ID_DO_SELECT_CONNECTED) doc->m_sel[1] = 1;
        if (id == ID_EDIT_REDO) frame->Dispatch(ID_EDIT_UNDO);
        if (id == ID_DO_CONNECT) doc->AddVertex(0, 0, 0);  // the two are joined already: a third makes a face
        EXPECT_TRUE(frame->Dispatch(id)) << id;
        EXPECT_TRUE(check()) << "command " << id << " did not do its work";
    }
    QDir::setCurrent(oldDir);
}

TEST_F(ModelCommandTest, CommandsThatEditMarkTheModelAndNavigationDoesNot)
{
    frame->Dispatch(ID_VIEW_ZOOM_IN);
    frame->Dispatch(ID_VIEW_AXIS_Y);
    frame->Dispatch(ID_RES_HIGH);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(frame->isWindowModified());
    frame->Dispatch(ID_SHAPE_BOX);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled[*] - Polydrom"));
    EXPECT_EQ(frame->Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Box\tCtrl+Z"));
    // Undoing back to the saved (here: new) state makes the model unmodified again.
    frame->Dispatch(ID_EDIT_UNDO);
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_EQ(frame->Action(ID_EDIT_REDO)->text(), QStringLiteral("&Redo Box\tCtrl+Y"));
}

TEST_F(ModelCommandTest, ViewDoToolbarTogglesTheBarInsteadOfConnecting)
{
    Fresh();
    frame->show();
    frame->Dispatch(ID_VIEW_DO_TOOLBAR);
    EXPECT_TRUE(frame->DoToolBar()->isHidden());
    EXPECT_FALSE(frame->Action(ID_VIEW_DO_TOOLBAR)->isChecked());
    EXPECT_EQ(doc->GetEdgeCount(), 1);
    frame->Dispatch(ID_VIEW_DO_TOOLBAR);
    EXPECT_FALSE(frame->DoToolBar()->isHidden());
    EXPECT_TRUE(frame->Action(ID_VIEW_DO_TOOLBAR)->isChecked());
    frame->Dispatch(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(frame->FileToolBar()->isHidden());
    EXPECT_FALSE(frame->Action(ID_VIEW_TOOLBAR)->isChecked());
    frame->Dispatch(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame->StatusBar()->isHidden());
    EXPECT_FALSE(frame->Action(ID_VIEW_STATUS_BAR)->isChecked());
}

TEST_F(ModelCommandTest, KeysAndWheelGiveTheNavigationCommands)
{
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_X);
    EXPECT_EQ(frame->View().m_state.axis, ViewAxis::X);
    QTest::keyClick(frame.get(), Qt::Key_Z);
    EXPECT_EQ(frame->View().m_state.axis, ViewAxis::Z);
    QTest::keyClick(frame.get(), Qt::Key_Up);
    EXPECT_EQ(frame->View().m_state.pan[1], 30.0f);
    QTest::keyClick(frame.get(), Qt::Key_Left);
    EXPECT_EQ(frame->View().m_state.pan[0], 30.0f);

    CViewWidget* widget = frame->ViewWidget();
    const QPointF at(50, 50);
    QWheelEvent up(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &up);
    EXPECT_EQ(frame->View().m_state.zoom, 2.0f);
    // Half notches add up to one.
    QWheelEvent half(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -60), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &half);
    EXPECT_EQ(frame->View().m_state.zoom, 2.0f);
    QApplication::sendEvent(widget, &half);
    EXPECT_EQ(frame->View().m_state.zoom, 1.0f);
}

TEST_F(ModelCommandTest, RefusalsAndExportShowInTheStatusBar)
{
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    frame->Dispatch(ID_FILE_NEW);
    frame->Dispatch(ID_SHAPE_BOX);
    frame->Dispatch(ID_FILE_EXPORT_POV);
    QDir::setCurrent(oldDir);
    EXPECT_TRUE(frame->StatusBar()->currentMessage().startsWith(QStringLiteral("Exported ")))
        << frame->StatusBar()->currentMessage().toStdString();
    // The export is no step of its own.
    EXPECT_EQ(doc->History().UndoLabel(), "Box");

    // A model at its limit refuses another cylinder, and says so.
    const int vertices = doc->GetVertexCount();
    doc->m_limits.vertices = vertices + 3;
    frame->Dispatch(ID_SHAPE_CYLINDER);
    EXPECT_FALSE(frame->StatusBar()->currentMessage().isEmpty());
    EXPECT_EQ(doc->GetVertexCount(), vertices);
}

TEST_F(ShellTest, HelpTopicsAndContextHelp)
{
    frame->show();
    frame->Dispatch(ID_HELP_FINDER);
    ASSERT_NE(frame->HelpWindow(), nullptr);
    EXPECT_TRUE(frame->HelpWindow()->isVisible());
    const QString guide = frame->HelpWindow()->Browser()->toPlainText();
    EXPECT_TRUE(guide.contains(QStringLiteral("Looking around")));
    // Its table of commands is the command table's: every command the user can give, with its prompt.
    for (const CommandPlace& place : CommandPlaces()) {
        if (place.menuPath.empty() && place.toolBar.empty() && place.keys.empty()) continue;
        EXPECT_TRUE(guide.contains(QString::fromStdString(place.name))) << place.batchName;
        EXPECT_TRUE(guide.contains(QString::fromStdString(place.prompt))) << place.batchName;
    }

    frame->Dispatch(ID_CONTEXT_HELP);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(frame->StatusBar()->currentMessage(), QStringLiteral("Select an object on which to get Help"));
    QWhatsThis::leaveWhatsThisMode();
    EXPECT_TRUE(frame->StatusBar()->currentMessage().isEmpty());
}
