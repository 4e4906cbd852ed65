// The window's layout from one run to the next: bars docked, hidden or floating, and
// the size the window has when it is not maximized.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QWindow>

#include "app/command_ids.h"
#include "shell/shell_fixture.h"

namespace {

// Records the order in which windows (not their children) are shown.
class ShowOrder : public QObject {
public:
    ShowOrder() { qApp->installEventFilter(this); }
    ~ShowOrder() override { qApp->removeEventFilter(this); }
    QList<QObject*> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow()) shown.append(watched);
        return false;
    }
};

}  // namespace

TEST_F(ShellTest, WindowLayoutIsRememberedBetweenRuns)
{
    frame->ShowWithSavedLayout();
    EXPECT_TRUE(frame->isMaximized());
    frame->showNormal();
    frame->addToolBar(Qt::RightToolBarArea, frame->ViewToolBar());
    frame->Dispatch(ID_VIEW_DO_TOOLBAR);
    frame->SaveLayout();

    auto other = std::make_unique<CPolydromDoc>();
    CMainFrame next(*other, prompts);
    next.ShowWithSavedLayout();
    EXPECT_EQ(next.toolBarArea(next.ViewToolBar()), Qt::RightToolBarArea);
    EXPECT_TRUE(next.DoToolBar()->isHidden());
    EXPECT_FALSE(next.Action(ID_VIEW_DO_TOOLBAR)->isChecked());
    EXPECT_FALSE(next.isMaximized());
}

TEST_F(ShellTest, FloatingBarComesBackAboveTheWindowAndOnTheScreen)
{
    frame->ShowWithSavedLayout();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    FloatToolBar(frame->DoToolBar());
    ASSERT_TRUE(frame->DoToolBar()->isFloating());
    // Left where a screen used to be.
    frame->DoToolBar()->move(5000, 4000);
    frame->SaveLayout();
    frame.reset();

    auto other = std::make_unique<CPolydromDoc>();
    CMainFrame next(*other, prompts);
    ShowOrder order;
    next.ShowWithSavedLayout();
    QToolBar* bar = next.DoToolBar();
    ASSERT_TRUE(bar->isFloating());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(next.Action(ID_VIEW_DO_TOOLBAR)->isChecked());
    // Shown after the main window, as a window that belongs to it, which the window
    // manager keeps above it; shown before, it was mapped below the main window.
    EXPECT_EQ(order.shown, QList<QObject*>({&next, bar}));
    ASSERT_NE(bar->windowHandle(), nullptr);
    EXPECT_EQ(bar->windowHandle()->transientParent(), next.windowHandle());
    const QRect available = next.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(bar->frameGeometry())) << bar->frameGeometry().x() << "," << bar->y();
}

TEST_F(ShellTest, UnmaximizedWindowFitsTheScreenWithItsFrame)
{
    frame->ShowWithSavedLayout();
    ASSERT_TRUE(frame->isMaximized());
    const QRect available = frame->screen()->availableGeometry();
    // Room for a title bar and borders of the common sizes around the normal geometry.
    const QRect withFrame = frame->normalGeometry().marginsAdded(QMargins(8, 40, 8, 8));
    EXPECT_TRUE(available.contains(withFrame)) << withFrame.width() << "x" << withFrame.height();
    frame->showNormal();
    EXPECT_TRUE(available.contains(frame->frameGeometry()));

    // The same on a small screen, as the rule that makes it.
    const QRect small(0, 24, 1024, 744);
    const QRect normal = CMainFrame::FittingNormalGeometry(small);
    EXPECT_TRUE(small.contains(normal.marginsAdded(QMargins(8, 40, 8, 8))));
    EXPECT_GT(normal.width(), small.width() * 3 / 4);
}
