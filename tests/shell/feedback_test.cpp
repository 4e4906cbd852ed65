// What the window tells and which keys it takes: the status bar's word after a command,
// the caption's mark after a mere pick, the modellers' keys and the menus' access keys,
// and the names of the inset panels' axes.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>

#include "app/command_ids.h"
#include "app/shell/status_bar.h"
#include "app/shell/view_widget.h"
#include "shell/shell_fixture.h"
#include "view/polydrom_view.h"
#include "view/status_text.h"

namespace {

class FeedbackTest : public ShellTest {
protected:
    QString Said() const { return frame->StatusBar()->currentMessage(); }
    void Activate()
    {
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
};

}  // namespace

TEST_F(FeedbackTest, ConnectSaysWhyItDidNothing)
{
    frame->Dispatch(ID_SHAPE_SQUARE);  // four vertices, all selected
    const int edges = doc->GetEdgeCount();
    frame->Dispatch(ID_DO_CONNECT);
    EXPECT_EQ(Said(), "Connect joins 2 or 3 selected vertices; 4 are selected");
    doc->m_sel[0] = doc->m_sel[1] = doc->m_sel[2] = 0;
    frame->Dispatch(ID_DO_CONNECT);
    EXPECT_EQ(Said(), "Connect joins 2 or 3 selected vertices; 1 is selected");
    frame->Dispatch(ID_DO_DESELECT_ALL);
    frame->Dispatch(ID_DO_CONNECT);
    EXPECT_EQ(Said(), "Connect joins 2 or 3 selected vertices; none are selected");
    EXPECT_EQ(doc->GetEdgeCount(), edges);
    EXPECT_EQ(doc->History().UndoLabel(), "Deselect All") << "a refused Connect is no step";
}

TEST_F(FeedbackTest, SavingUndoingFittingAndExportingSayWhatHappened)
{
    frame->Dispatch(ID_SHAPE_BOX);
    prompts.saveAnswers = {Temp("house")};
    frame->Dispatch(ID_FILE_SAVE);
    EXPECT_EQ(Said(), "Saved house.pdm");
    frame->Dispatch(ID_SHAPE_PYRAMID);
    frame->Dispatch(ID_FILE_SAVE);
    EXPECT_EQ(Said(), "Saved house.pdm");
    prompts.saveAnswers = {Temp("roof.pdm")};
    frame->Dispatch(ID_FILE_SAVE_AS);
    EXPECT_EQ(Said(), "Saved roof.pdm");
    frame->Dispatch(ID_EDIT_UNDO);
    EXPECT_EQ(Said(), "Undid Pyramid");
    frame->Dispatch(ID_EDIT_REDO);
    EXPECT_EQ(Said(), "Redid Pyramid");
    frame->Dispatch(ID_VIEW_FIT);
    EXPECT_TRUE(Said().startsWith("Zoomed to fit the whole model")) << Said().toStdString();

    // object.pov goes to the current folder, which the window does not show: the whole path.
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    frame->Dispatch(ID_FILE_EXPORT_POV);
    QDir::setCurrent(oldDir);
    const QString written = QFileInfo(Temp("object.pov")).canonicalFilePath();
    EXPECT_TRUE(Said().startsWith("Exported ")) << Said().toStdString();
    EXPECT_TRUE(Said().contains(" triangles to " + written)) << Said().toStdString();
}

TEST_F(FeedbackTest, APickAloneLeavesTheModelUnmodified)
{
    frame->Dispatch(ID_SHAPE_BOX);
    prompts.saveAnswers = {Temp("box.pdm")};
    frame->Dispatch(ID_FILE_SAVE);
    frame->Dispatch(ID_DO_DESELECT_ALL);
    frame->Dispatch(ID_SELECT_INVERT);
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_EQ(frame->Action(ID_EDIT_UNDO)->text(), "&Undo Invert Selection\tCtrl+Z") << "still undoable";
    // Exit does not ask about a pick.
    frame->show();
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(prompts.saveQuestions.isEmpty());
}

TEST_F(FeedbackTest, ModellersKeysZoomAndDeleteTheSelection)
{
    Activate();
    QTest::keyClick(frame.get(), Qt::Key_Plus);
    EXPECT_EQ(frame->View().m_state.zoom, 2.0f);
    QTest::keyClick(frame.get(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(frame->View().m_state.zoom, 4.0f);
    QTest::keyClick(frame.get(), Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(frame.get(), Qt::Key_Minus);
    EXPECT_EQ(frame->View().m_state.zoom, 1.0f);
    QTest::keyClick(frame.get(), Qt::Key_Equal);
    EXPECT_EQ(frame->View().m_state.zoom, 2.0f);

    frame->Dispatch(ID_SHAPE_BOX);
    frame->Dispatch(ID_DO_DESELECT_ALL);
    doc->m_sel[0] = 1;
    QTest::keyClick(frame.get(), Qt::Key_Delete);
    EXPECT_EQ(doc->GetVertexCount(), 7);
    EXPECT_EQ(doc->History().UndoLabel(), "Un-connect");
    frame->Dispatch(ID_EDIT_UNDO);
    EXPECT_EQ(doc->GetVertexCount(), 8);
}

TEST_F(FeedbackTest, ShapesComeLastAndTheSelectionTransformsSitInDo)
{
    const QList<QAction*> menus = frame->menuBar()->actions();
    EXPECT_EQ(menus.last()->text(), "&Shapes") << "after every older menu, which keep their places";
    EXPECT_TRUE(menus.last()->menu()->actions().contains(frame->Action(ID_SHAPE_PYRAMID)));
    EXPECT_TRUE(menus.at(3)->menu()->actions().contains(frame->Action(ID_DO_GROW)));
}

TEST_F(FeedbackTest, InsetPanelsNameTheirAxes)
{
    frame->ViewWidget()->setFixedSize(600, 400);
    frame->show();
    CViewWidget* widget = frame->ViewWidget();
    // The upper panel spans 0.7 to 0.98 of the width and 0.02 to 0.32 of the height.
    const QPoint upper(500, 60), lower(500, 200), outside(300, 200);
    QMouseEvent move(QEvent::MouseMove, QPointF(upper), widget->mapToGlobal(QPointF(upper)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    EXPECT_EQ(frame->StatusBar()->PlaceText(CStatusBar::PointerPane), "Inset: X across, Z down");
    frame->Dispatch(ID_VIEW_AXIS_X);
    EXPECT_EQ(frame->StatusBar()->PlaceText(CStatusBar::PointerPane), "Inset: X across, Y down");
    EXPECT_EQ(PanelText(frame->View(), CPoint{upper.x(), upper.y()}, true), "Inset along Z: X across, Y down");

    const auto tip = [widget](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &help);
        return help.isAccepted();
    };
    EXPECT_TRUE(tip(lower));
    EXPECT_FALSE(tip(outside)) << "the main area has no tool tip";
    int across = -1, down = -1;
    EXPECT_TRUE(frame->View().PanelAt(CPoint{lower.x(), lower.y()}, &across, &down));
    EXPECT_EQ(across, 2);
    EXPECT_EQ(down, 0);
}
