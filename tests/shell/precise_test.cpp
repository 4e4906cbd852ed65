// Precise modelling in the window: the dialogs, the rubber band, the wheel about the
// pointer, Home, the check marks and the status bar's panes.
#include <array>
#include <limits>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include "app/command_ids.h"
#include "app/shell/precise_dialogs.h"
#include "app/shell/status_bar.h"
#include "app/shell/view_widget.h"
#include "shell/shell_fixture.h"
#include "view/polydrom_view.h"

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

class PreciseShellTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame->show();
        widget = frame->ViewWidget();
    }
    // A left drag; returns whether the band showed before the release.
    bool Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              Qt::MouseButtons held = Qt::NoButton)
    {
        SendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton | held, modifiers);
        SendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton | held, modifiers);
        const bool band = widget->BandVisible();
        SendMouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, held, modifiers);
        return band;
    }
    // A selected vertex drawn at the pixel, added as a right click adds it.
    void VertexAt(QPoint pixel) { frame->LeftPress(MK_LBUTTON | MK_RBUTTON, CPoint{pixel.x(), pixel.y()}); }
    std::vector<int> Selection() const { return doc->m_sel; }

    CViewWidget* widget = nullptr;
};

TEST_F(PreciseShellTest, TheRubberBandSelects)
{
    for (QPoint p : {QPoint(100, 100), QPoint(120, 110), QPoint(300, 300)}) VertexAt(p);
    const struct {
        const char* what;
        QPoint from, to;
        Qt::KeyboardModifiers modifiers;
        bool band;
        std::vector<int> selection;
        const char* step;
    } cases[] = {
        {"a band replaces the selection", {90, 90}, {130, 120}, Qt::NoModifier, true, {1, 1, 0}, "Select Box"},
        {"with Shift it adds", {310, 310}, {290, 290}, Qt::ShiftModifier, true, {1, 1, 1}, "Add Box to Selection"},
        {"with Ctrl it takes away", {95, 95}, {105, 105}, Qt::ControlModifier, true, {0, 1, 1},
         "Remove Box from Selection"},
        {"three pixels are a click, not a drag", {200, 200}, {203, 197}, Qt::NoModifier, false, {0, 1, 1},
         "Remove Box from Selection"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Drag(c.from, c.to, c.modifiers), c.band) << c.what;
        EXPECT_FALSE(widget->BandVisible()) << c.what;
        EXPECT_EQ(Selection(), c.selection) << c.what;
        EXPECT_EQ(doc->History().UndoLabel(), c.step) << c.what;
    }
    // A press that becomes a band is no click: the cursor, the centre of the next Rotate,
    // stays put, and the vertex under the press keeps its mark.
    const auto cursor = [this] {
        const auto& c = frame->View().m_state.cursor;
        return std::array<float, 3>{c[0], c[1], c[2]};
    };
    const std::array<float, 3> before = cursor();
    EXPECT_TRUE(Drag({300, 300}, {130, 120}, Qt::ShiftModifier));
    EXPECT_EQ(Selection(), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(cursor(), before);
    EXPECT_EQ(doc->History().UndoLabel(), "Remove Box from Selection") << "the band added nothing new";
    SendMouse(widget, QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(cursor(), before) << "a press alone waits for its release";
    SendMouse(widget, QEvent::MouseButtonRelease, {301, 301}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Selection(), (std::vector<int>{0, 1, 0})) << "released without a drag it is a click";
    EXPECT_NE(cursor(), before);
    EXPECT_EQ(doc->History().UndoLabel(), "Select");
}

TEST_F(PreciseShellTest, NoBandInMoveModeOrWithTheRightButton)
{
    VertexAt({100, 100});
    EXPECT_FALSE(Drag({50, 50}, {150, 150}, Qt::NoModifier, Qt::RightButton));
    EXPECT_EQ(doc->GetVertexCount(), 2) << "the press added a vertex, as a click with the right button does";
    frame->Dispatch(ID_DO_MOVE);
    EXPECT_FALSE(Drag({60, 60}, {150, 150}));
    EXPECT_EQ(doc->History().UndoLabel(), "Move");
}

TEST_F(PreciseShellTest, TheWheelZoomsAboutThePointerAndHomeFits)
{
    const CPoint pointer{140, 95};
    double before[2], after[2];
    frame->View().ModelPointAt(pointer, &before[0], &before[1]);
    const QPointF at(pointer.x, pointer.y);
    QWheelEvent up(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &up);
    EXPECT_EQ(frame->View().m_state.zoom, 4.0f);
    frame->View().ModelPointAt(pointer, &after[0], &after[1]);
    EXPECT_NEAR(after[0], before[0], 1e-4);
    EXPECT_NEAR(after[1], before[1], 1e-4);

    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    doc->AddVertexAt(10, 20, 0);
    doc->AddVertexAt(30, 40, 0);
    QTest::keyClick(frame.get(), Qt::Key_Home);
    EXPECT_EQ(frame->View().m_state.pan[0], -20.0f);
    EXPECT_EQ(frame->View().m_state.pan[1], -30.0f);
}

TEST_F(PreciseShellTest, ChecksFollowTheSettingsAndMoveLooksPressed)
{
    frame->Action(ID_RES_HIGH)->trigger();
    // Choosing the checked item again keeps its check.
    frame->Action(ID_RES_HIGH)->trigger();
    frame->Action(ID_STEP_COARSE)->trigger();
    for (unsigned id : {ID_RES_VERY_LOW, ID_RES_LOW, ID_RES_MEDIUM, ID_RES_HIGH, ID_RES_VERY_HIGH, ID_STEP_FINEST,
                        ID_STEP_FINE, ID_STEP_COARSE, ID_STEP_COARSEST})
        EXPECT_EQ(frame->Action(id)->isChecked(), id == ID_RES_HIGH || id == ID_STEP_COARSE) << id;
    frame->Dispatch(ID_FILE_NEW);
    EXPECT_TRUE(frame->Action(ID_STEP_FINEST)->isChecked()) << "a new model starts at .01";

    auto* move = qobject_cast<QToolButton*>(frame->DoToolBar()->widgetForAction(frame->Action(ID_DO_MOVE)));
    ASSERT_NE(move, nullptr);
    move->click();
    EXPECT_TRUE(move->isChecked());
    EXPECT_EQ(frame->View().m_movePresses, 1);
    move->click();
    EXPECT_FALSE(move->isChecked());
    EXPECT_EQ(frame->View().m_movePresses, 0);
}

TEST_F(PreciseShellTest, StatusBarTellsWhereTheUserIs)
{
    CStatusBar* bar = frame->StatusBar();
    EXPECT_EQ(bar->PlaceText(CStatusBar::AxisPane), "View along Z");
    EXPECT_EQ(bar->PlaceText(CStatusBar::PointerPane), "");
    EXPECT_EQ(bar->PlaceText(CStatusBar::SelectionPane), "Selected 0 of 0 vertices, 0 edges");

    // Ten pixels right of the centre and twenty up, at zoom 1.
    const CRect client = widget->GetClientRect();
    const QPoint pointer(client.right / 2 + 10, client.bottom / 2 - 20);
    SendMouse(widget, QEvent::MouseMove, pointer, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(bar->PlaceText(CStatusBar::PointerPane), "X 10, Y -20");
    frame->Dispatch(ID_VIEW_AXIS_X);
    EXPECT_EQ(bar->PlaceText(CStatusBar::AxisPane), "View along X");
    EXPECT_EQ(bar->PlaceText(CStatusBar::PointerPane), "Z 10, Y -20");

    prompts.pointAnswers = {{1, 2, 3}};
    frame->Dispatch(ID_DO_ADD_VERTEX_AT);
    frame->Dispatch(ID_DO_DESELECT_ALL);
    EXPECT_EQ(bar->PlaceText(CStatusBar::SelectionPane), "Selected 0 of 1 vertex, 0 edges");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
    EXPECT_EQ(bar->PlaceText(CStatusBar::PointerPane), "");
}

TEST_F(PreciseShellTest, DialogsAddMoveAndPlaceTheCursor)
{
    VertexAt({widget->GetClientRect().right / 2, widget->GetClientRect().bottom / 2});
    const float cursor[3] = {frame->View().m_state.cursor[0], frame->View().m_state.cursor[1], frame->View().m_state.cursor[2]};

    // Add Vertex At starts from the cursor; a point beyond the range is refused in the dialog.
    prompts.pointAnswers = {{1e39, 0, 0}, {100, 0, 0}};
    frame->Dispatch(ID_DO_ADD_VERTEX_AT);
    EXPECT_EQ(prompts.pointInitial, (std::array<float, 3>{cursor[0], cursor[1], cursor[2]}));
    EXPECT_EQ(prompts.pointReplies,
              QStringList({"Add Vertex At refused: the result would leave the range of coordinates.", ""}));
    ASSERT_EQ(doc->GetVertexCount(), 2);
    EXPECT_EQ(doc->History().UndoLabel(), "Add Vertex At");

    // Set Cursor moves the centre of the Transform dialog's rotation.
    prompts.pointAnswers = {{1e39, 0, 0}, {50, 0, 0}};
    frame->Dispatch(ID_DO_SET_CURSOR);
    EXPECT_EQ(prompts.pointReplies.mid(2),
              QStringList({"Set Cursor refused: the point lies beyond the range of coordinates.", ""}));
    EXPECT_EQ(frame->View().m_state.cursor[0], 50.0f);

    frame->Dispatch(ID_DO_DESELECT_ALL);
    doc->m_sel[1] = 1;
    frame->Dispatch(ID_DO_TRANSFORM);
    CTransformDialog* transform = frame->TransformDialog();
    ASSERT_TRUE(transform);
    EXPECT_TRUE(transform->isVisible());
    EXPECT_FALSE(transform->isModal()) << "the view and its keys stay at hand";
    EXPECT_EQ(transform->RotationPlace(), "Rotate about the Z axis, through the cursor (50, 0, 0)");
    transform->Apply(TypedEdit::RotateBy);
    EXPECT_EQ(frame->StatusBar()->currentMessage(), "Rotated 1 vertex by 90 degrees about the cursor");
    transform->Field(TypedEdit::MoveBy, 0)->setText(QStringLiteral("1"));
    transform->Field(TypedEdit::MoveBy, 1)->setText(QStringLiteral("2"));
    transform->Field(TypedEdit::MoveBy, 2)->setText(QStringLiteral("3"));
    transform->Apply(TypedEdit::MoveBy);
    EXPECT_EQ(frame->StatusBar()->currentMessage(), "Moved 1 vertex by (1, 2, 3)");
    transform->Field(TypedEdit::ScaleBy, 0)->setText(QStringLiteral("1e300"));
    transform->Apply(TypedEdit::ScaleBy);
    EXPECT_TRUE(transform->Message().startsWith("Scale By refused")) << transform->Message().toStdString();
    EXPECT_EQ(doc->m_x[1], 51.0f);
    EXPECT_EQ(doc->m_y[1], -48.0f);
    EXPECT_EQ(doc->m_z[1], 3.0f);
    EXPECT_EQ(frame->StatusBar()->currentMessage(), transform->Message());
    EXPECT_EQ(doc->History().UndoLabel(), "Move By");
    frame->Dispatch(ID_EDIT_UNDO);
    EXPECT_EQ(frame->StatusBar()->currentMessage(), "Undid Move By");
    EXPECT_EQ(doc->History().UndoLabel(), "Rotate By");

    // Open, it follows the view's axis; hidden and opened again, it keeps its place.
    frame->Dispatch(ID_VIEW_AXIS_X);
    EXPECT_TRUE(transform->RotationPlace().startsWith("Rotate about the X axis")) << transform->RotationPlace().toStdString();
    transform->move(transform->pos() + QPoint(40, 30));
    const QPoint place = transform->pos();
    transform->close();
    frame->Dispatch(ID_DO_TRANSFORM);
    EXPECT_EQ(frame->TransformDialog(), transform);
    EXPECT_EQ(transform->pos(), place);
}

TEST_F(PreciseShellTest, MergeVerticesAsksForADistanceAndRemembersTheOneThatMerged)
{
    frame->Dispatch(ID_SHAPE_BOX);
    frame->Dispatch(ID_SHAPE_BOX);
    frame->Dispatch(ID_DO_SELECT_ALL);
    prompts.pointAnswers = {{-1, 0, 0}, {0.01, 0, 0}};
    frame->Dispatch(ID_DO_MERGE_VERTICES);
    EXPECT_EQ(prompts.pointInitial[0], 0.001f);
    EXPECT_EQ(prompts.pointReplies,
              QStringList({"Merge Vertices refused: the distance must be a number of 0 or more.", ""}));
    EXPECT_EQ(doc->GetVertexCount(), 8);
    EXPECT_EQ(doc->GetFaceCount(), 8);
    EXPECT_EQ(frame->StatusBar()->currentMessage(), "Merged 16 vertices into 8");
    EXPECT_EQ(doc->History().UndoLabel(), "Merge Vertices");
    // On a worker thread, behind the progress prompt.
    EXPECT_EQ(prompts.progressTexts, QStringList({"Merging vertices...", "Merging vertices..."}));
    frame->Dispatch(ID_DO_MERGE_VERTICES);
    EXPECT_EQ(prompts.pointInitial[0], 0.01f);
}

TEST(PreciseDialogs, PointDialogReadsTypedNumbers)
{
    std::vector<std::array<double, 3>> applied;
    QString answer;
    CPointDialog dialog(nullptr, QStringLiteral("Add Vertex At"), {0.1f, -2.5f, 3e30f},
                        [&](const std::array<double, 3>& p) {
                            applied.push_back(p);
                            return answer;
                        });
    // The prefilled texts read back as the very floats they show.
    EXPECT_EQ(dialog.Field(0)->text(), "0.1");
    EXPECT_EQ(dialog.Field(2)->text(), "3e+30");
    dialog.Field(1)->setText(QStringLiteral("abc"));
    dialog.accept();
    EXPECT_EQ(dialog.Message(), "Y: \"abc\" is not a number.");
    EXPECT_TRUE(applied.empty());
    dialog.Field(1)->setText(QStringLiteral(" +4 "));
    answer = QStringLiteral("Add Vertex At refused: no room.");
    dialog.accept();
    EXPECT_EQ(dialog.Message(), answer);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    answer.clear();
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(static_cast<float>(applied[1][0]), 0.1f);
    EXPECT_EQ(applied[1][1], 4.0);
    EXPECT_EQ(static_cast<float>(applied[1][2]), 3e30f);
}

TEST(PreciseDialogs, TransformButtonsApplyTheirRow)
{
    std::vector<std::pair<TypedEdit, std::vector<double>>> applied;
    CTransformDialog dialog(nullptr, [&](TypedEdit edit, std::span<const double> values) {
        applied.emplace_back(edit, std::vector<double>(values.begin(), values.end()));
        return QString();
    });
    for (const char* text : {"&Rotate", "&Scale"}) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == QLatin1String(text)) button->click();
    }
    dialog.Field(TypedEdit::MoveBy, 1)->setText(QStringLiteral("x"));
    dialog.Apply(TypedEdit::MoveBy);
    EXPECT_EQ(dialog.Message(), "dY: \"x\" is not a number.");
    dialog.Field(TypedEdit::MoveBy, 1)->setText(QStringLiteral("-1.5"));
    dialog.Apply(TypedEdit::MoveBy);
    EXPECT_EQ(dialog.Message(), "");
    using Values = std::vector<double>;
    EXPECT_EQ(applied, (std::vector<std::pair<TypedEdit, Values>>{
                           {TypedEdit::RotateBy, Values{90}}, {TypedEdit::ScaleBy, Values{2}},
                           {TypedEdit::MoveBy, Values{0, -1.5, 0}}}));
}

}  // namespace
