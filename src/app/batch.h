// Batch mode: runs commands on a model without a window, for scripts and tests.
#pragma once

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// polydrom --batch [FILE.pdm] STEP...; args are the words after "--batch".
// The steps are listed in batch.cpp's step table and in the README; for the headless
// view (800x600 unless --size says otherwise) clicks and renders use view pixels.
// Returns the exit status: 0 when every step succeeded, otherwise non-zero after
// one line on err that names the failing step and the reason.
int RunBatch(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// A step as --help describes it: "--size", "WxH", "the size of the headless view (800x600)".
struct BatchStepHelp {
    std::string_view name, value, description;
};
std::vector<BatchStepHelp> BatchStepsHelp();

// A step that needs more than batch mode links (OpenGL and the window system's libraries,
// which only the desktop program has): the program registers it before running batch
// mode, and it then runs and is listed like any other step. It draws what the view
// shows, at the headless view's size; an error is the step's one line on stderr.
class CPolydromView;
struct ExtraBatchStep {
    std::string_view name, value, description;
    std::function<std::string(const CPolydromView& view, int width, int height, const std::string& value)> run;
};
void RegisterBatchStep(ExtraBatchStep step);

// The document's state in the text form of --dump, with the state of the view its
// commands are given in.
class CPolydromDoc;
struct ViewState;
void DumpDocument(const CPolydromDoc& doc, const ViewState& view, std::ostream& out);

// The view's own state, printed by --dump after the document's.
void DumpView(const CPolydromView& view, std::ostream& out);
