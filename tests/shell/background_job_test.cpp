// Work on a worker thread behind the progress prompt: a cancel returns at once where the
// work may be left to end alone, and is waited out where it may not.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>
#include <thread>

#include <QApplication>
#include <QImage>

#include "app/command_ids.h"
#include "app/shell/background_job.h"
#include "app/shell/main_frame.h"
#include "app/shell/status_bar.h"
#include "app/shell/view_widget.h"
#include "model/polydrom_doc.h"
#include "shell_fixture.h"

namespace {

TEST(BackgroundJob, QuickWorkEndsWithoutAsking)
{
    FakePrompts prompts;
    int result = 0;
    EXPECT_TRUE(RunWithProgress(prompts, nullptr, QStringLiteral("Saving a.pdm..."), false, [&] { result = 42; }));
    EXPECT_EQ(result, 42);
    EXPECT_EQ(prompts.progressTexts, QStringList{QStringLiteral("Saving a.pdm...")});
    EXPECT_EQ(prompts.progressShown, 0);
}

TEST(BackgroundJob, CancelLeavesCancellableWorkToEndAlone)
{
    FakePrompts prompts;
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto ended = std::make_shared<std::atomic<bool>>(false);
    prompts.onProgress = [](float) { return false; };
    EXPECT_FALSE(RunWithProgress(prompts, nullptr, QStringLiteral("Opening big.pdm..."), true, [release, ended] {
        while (!*release) std::this_thread::yield();
        *ended = true;
    }));
    EXPECT_FALSE(*ended);
    *release = true;
    while (!*ended) std::this_thread::yield();
}

TEST(BackgroundJob, WorkThatMayNotBeCancelledIsWaitedFor)
{
    FakePrompts prompts;
    std::atomic<bool> release = false;
    bool ended = false;
    int asked = 0;
    // Cancel is clicked every time; the third time the work is let go.
    prompts.onProgress = [&](float) {
        if (++asked == 3) release = true;
        return false;
    };
    EXPECT_TRUE(RunWithProgress(prompts, nullptr, QStringLiteral("Exporting big.stl..."), false, [&] {
        while (!release) std::this_thread::yield();
        ended = true;
    }));
    EXPECT_TRUE(ended);
    EXPECT_GE(asked, 3);
}

TEST_F(ShellTest, WhileTheModelChangesTheWindowPaintsItsLastPicture)
{
    frame->Dispatch(ID_SHAPE_BOX);
    const QImage before = frame->ViewWidget()->grab().toImage();
    const QString selected = frame->StatusBar()->PlaceText(CStatusBar::SelectionPane);
    std::atomic<bool> changed = false, release = false;
    int painted = 0;
    prompts.onProgress = [&](float) {
        // Repaints meanwhile show what was there, not the half-changed model, and the
        // pointer leaving the view (for the prompt) does not count the selection.
        EXPECT_TRUE(ModelBeingChanged());
        if (changed) {
            EXPECT_EQ(frame->ViewWidget()->grab().toImage(), before);
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(frame->ViewWidget(), &leave);
            EXPECT_EQ(frame->StatusBar()->PlaceText(CStatusBar::SelectionPane), selected);
            release = ++painted == 2;
        }
        return false;  // Cancel does not stop a change of the model
    };
    ChangeModelWithProgress(prompts, frame.get(), QStringLiteral("Merging vertices..."), [&] {
        doc->MoveSelectionBy(40, 0, 0);
        doc->OnDoDeselectAll();  // "Selected 0 of 8 vertices" once whole
        changed = true;
        while (!release) std::this_thread::yield();
    });
    EXPECT_EQ(painted, 2);
    EXPECT_FALSE(ModelBeingChanged());
    EXPECT_NE(frame->ViewWidget()->grab().toImage(), before);
}

TEST_F(ShellTest, ACommandOnABigModelRunsAsideBehindItsName)
{
    frame->Dispatch(ID_SHAPE_BOX);
    frame->Dispatch(ID_DO_COPY);
    EXPECT_TRUE(prompts.progressTexts.isEmpty());  // a small model's commands run at once
    for (int i = 0; i < 300000; ++i) doc->AddVertex(float(i), 0, 0);
    doc->CommitStep("Add");
    frame->Dispatch(ID_DO_COPY);
    EXPECT_EQ(doc->GetVertexCount(), 600024);
    EXPECT_EQ(doc->History().UndoLabel(), "Copy");
    frame->Dispatch(ID_EDIT_UNDO);
    EXPECT_EQ(doc->GetVertexCount(), 300016);
    EXPECT_EQ(frame->StatusBar()->currentMessage(), "Undid Copy");
    QStringList asked = prompts.progressTexts;
    asked.removeDuplicates();
    EXPECT_EQ(asked, QStringList({"Copy...", "Undo..."}));
    EXPECT_FALSE(ModelBeingChanged());
}

TEST(BackgroundJob, WhatAChangeThrowsIsThrownWhereItWasAsked)
{
    FakePrompts prompts;
    EXPECT_THROW(ChangeModelWithProgress(prompts, nullptr, QStringLiteral("Merging vertices..."),
                                         [] { throw std::bad_alloc(); }),
                 std::bad_alloc);
    EXPECT_FALSE(ModelBeingChanged());
}

}  // namespace
