// Work on a big model (open, save, export, import, merge) that would hold up the window:
// it runs on a worker thread while the window shows progress and keeps painting.
#pragma once

#include <functional>

#include <QString>

class CShellPrompts;
class QWidget;

// Runs the work on a worker thread and waits for it behind a progress prompt, which
// appears once the work has taken more than a moment; the prompt is modal, so no command
// reaches the model meanwhile. True once the work has ended. When cancellable and the
// user cancels first, returns false at once: the work then ends on its own thread, so it
// must own whatever it touches (and touch nothing of the window's). Work that is not
// cancellable is waited for whatever the user clicks.
bool RunWithProgress(CShellPrompts& prompts, QWidget* parent, const QString& text, bool cancellable,
                     std::function<void()> work);

// Work that changes the model (adds an imported mesh, merges vertices), run the same way
// but never cancellable: the model is changed from its first moment. Until it has ended,
// ModelBeingChanged() holds, and this thread must not read the model, whose arrays the
// worker may be resizing: the views paint their last picture, and the recovery copy and
// the previews wait for the news of the change that follows it.
void ChangeModelWithProgress(CShellPrompts& prompts, QWidget* parent, const QString& text,
                             std::function<void()> work);
bool ModelBeingChanged();
