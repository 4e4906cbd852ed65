#include "app/command_table.h"

#include <algorithm>
#include <cctype>

#include "app/command_ids.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"

namespace {

using D = CPolydromDoc;
using S = CShellCommands;
using V = CPolydromView;
using R = CommandRoute;

constexpr CommandEntry Doc(unsigned id, std::string_view symbol, void (D::*handler)())
{
    return {id, symbol, R::Document, nullptr, handler, nullptr};
}
constexpr CommandEntry Shell(unsigned id, std::string_view symbol, R route, void (S::*handler)())
{
    return {id, symbol, route, nullptr, nullptr, handler};
}
constexpr CommandEntry Recent(unsigned id, std::string_view symbol, int index)
{
    return {id, symbol, R::App, nullptr, nullptr, nullptr, &S::OnFileMruFile, index};
}
constexpr CommandEntry View(unsigned id, std::string_view symbol, void (CPolydromView::*handler)())
{
    return {id, symbol, R::View, handler, nullptr, nullptr};
}

// Every command the user can give, in the order of the menus and toolbars.
const CommandEntry kCommands[] = {
    Shell(ID_FILE_NEW, "ID_FILE_NEW", R::App, &S::OnFileNew),
    Shell(ID_FILE_OPEN, "ID_FILE_OPEN", R::App, &S::OnFileOpen),
    Shell(ID_FILE_SAVE, "ID_FILE_SAVE", R::Document, &S::OnFileSave),
    Shell(ID_FILE_SAVE_AS, "ID_FILE_SAVE_AS", R::Document, &S::OnFileSaveAs),
    Doc(ID_FILE_EXPORT_POV, "ID_FILE_EXPORT_POV", &D::OnFileExportPov),
    Shell(ID_FILE_EXPORT_AS, "ID_FILE_EXPORT_AS", R::Document, &S::OnFileExportAs),
    Shell(ID_FILE_PRINT, "ID_FILE_PRINT", R::View, &S::OnFilePrint),
    Shell(ID_FILE_PRINT_DIRECT, "ID_FILE_PRINT_DIRECT", R::View, &S::OnFilePrint),
    Shell(ID_FILE_PRINT_PREVIEW, "ID_FILE_PRINT_PREVIEW", R::View, &S::OnFilePrintPreview),
    Shell(ID_FILE_PRINT_SETUP, "ID_FILE_PRINT_SETUP", R::App, &S::OnFilePrintSetup),
    Recent(ID_FILE_MRU_FILE1, "ID_FILE_MRU_FILE1", 0),
    Recent(ID_FILE_MRU_FILE1 + 1, "ID_FILE_MRU_FILE2", 1),
    Recent(ID_FILE_MRU_FILE1 + 2, "ID_FILE_MRU_FILE3", 2),
    Recent(ID_FILE_MRU_FILE1 + 3, "ID_FILE_MRU_FILE4", 3),
    Recent(ID_FILE_MRU_FILE1 + 4, "ID_FILE_MRU_FILE5", 4),
    Recent(ID_FILE_MRU_FILE1 + 5, "ID_FILE_MRU_FILE6", 5),
    Shell(ID_APP_EXIT, "ID_APP_EXIT", R::App, &S::OnAppExit),
    Shell(ID_VIEW_TOOLBAR, "ID_VIEW_TOOLBAR", R::Frame, &S::OnViewToolbar),
    Shell(ID_VIEW_DO_TOOLBAR, "ID_VIEW_DO_TOOLBAR", R::Frame, &S::OnViewDoToolbar),
    Shell(ID_VIEW_STATUS_BAR, "ID_VIEW_STATUS_BAR", R::Frame, &S::OnViewStatusBar),
    Doc(ID_DO_CONNECT, "ID_DO_CONNECT", &D::OnDoConnect),
    Doc(ID_DO_UNCONNECT, "ID_DO_UNCONNECT", &D::OnDoUnconnect),
    Doc(ID_DO_EXTRUDE, "ID_DO_EXTRUDE", &D::OnDoExtrude),
    Doc(ID_DO_COPY, "ID_DO_COPY", &D::OnDoCopy),
    Doc(ID_DO_MIRROR, "ID_DO_MIRROR", &D::OnDoMirror),
    Doc(ID_DO_SELECT_CONNECTED, "ID_DO_SELECT_CONNECTED", &D::OnDoSelectConnected),
    Doc(ID_DO_SELECT_ALL, "ID_DO_SELECT_ALL", &D::OnDoSelectAll),
    Doc(ID_DO_DESELECT_ALL, "ID_DO_DESELECT_ALL", &D::OnDoDeselectAll),
    Doc(ID_RES_VERY_LOW, "ID_RES_VERY_LOW", &D::OnResVeryLow),
    Doc(ID_RES_LOW, "ID_RES_LOW", &D::OnResLow),
    Doc(ID_RES_MEDIUM, "ID_RES_MEDIUM", &D::OnResMedium),
    Doc(ID_RES_HIGH, "ID_RES_HIGH", &D::OnResHigh),
    Doc(ID_RES_VERY_HIGH, "ID_RES_VERY_HIGH", &D::OnResVeryHigh),
    Doc(ID_STEP_FINEST, "ID_STEP_FINEST", &D::OnStepFinest),
    Doc(ID_STEP_FINE, "ID_STEP_FINE", &D::OnStepFine),
    Doc(ID_STEP_COARSE, "ID_STEP_COARSE", &D::OnStepCoarse),
    Doc(ID_STEP_COARSEST, "ID_STEP_COARSEST", &D::OnStepCoarsest),
    View(ID_DO_MOVE, "ID_DO_MOVE", &V::OnDoMove),
    Doc(ID_SHAPE_CYLINDER, "ID_SHAPE_CYLINDER", &D::OnShapeCylinder),
    Doc(ID_SHAPE_CIRCLE, "ID_SHAPE_CIRCLE", &D::OnShapeCircle),
    Doc(ID_SHAPE_BOX, "ID_SHAPE_BOX", &D::OnShapeBox),
    Doc(ID_SHAPE_SQUARE, "ID_SHAPE_SQUARE", &D::OnShapeSquare),
    Doc(ID_SHAPE_CONE, "ID_SHAPE_CONE", &D::OnShapeCone),
    Doc(ID_SHAPE_PYRAMID, "ID_SHAPE_PYRAMID", &D::OnShapePyramid),
    Doc(ID_DO_ROTATE_CCW, "ID_DO_ROTATE_CCW", &D::OnDoRotateCcw),
    Doc(ID_DO_ROTATE_CW, "ID_DO_ROTATE_CW", &D::OnDoRotateCw),
    Doc(ID_DO_GROW, "ID_DO_GROW", &D::OnDoGrow),
    Doc(ID_DO_SHRINK, "ID_DO_SHRINK", &D::OnDoShrink),
    View(ID_VIEW_ZOOM_IN, "ID_VIEW_ZOOM_IN", &V::OnViewZoomIn),
    View(ID_VIEW_ZOOM_OUT, "ID_VIEW_ZOOM_OUT", &V::OnViewZoomOut),
    View(ID_VIEW_PAN_DOWN, "ID_VIEW_PAN_DOWN", &V::OnViewPanDown),
    View(ID_VIEW_PAN_UP, "ID_VIEW_PAN_UP", &V::OnViewPanUp),
    View(ID_VIEW_PAN_RIGHT, "ID_VIEW_PAN_RIGHT", &V::OnViewPanRight),
    View(ID_VIEW_PAN_LEFT, "ID_VIEW_PAN_LEFT", &V::OnViewPanLeft),
    View(ID_VIEW_AXIS_X, "ID_VIEW_AXIS_X", &V::OnViewAxisX),
    View(ID_VIEW_AXIS_Y, "ID_VIEW_AXIS_Y", &V::OnViewAxisY),
    View(ID_VIEW_AXIS_Z, "ID_VIEW_AXIS_Z", &V::OnViewAxisZ),
    Shell(ID_HELP_FINDER, "ID_HELP_FINDER", R::Frame, &S::OnHelpFinder),
    Shell(ID_APP_ABOUT, "ID_APP_ABOUT", R::App, &S::OnAppAbout),
    Shell(ID_CONTEXT_HELP, "ID_CONTEXT_HELP", R::Frame, &S::OnContextHelp),
    Shell(ID_HELP, "ID_HELP", R::Frame, &S::OnHelp),
    Shell(ID_DEFAULT_HELP, "ID_DEFAULT_HELP", R::Frame, &S::OnHelpFinder),
    Doc(ID_EDIT_UNDO, "ID_EDIT_UNDO", &D::OnEditUndo),
    Doc(ID_EDIT_REDO, "ID_EDIT_REDO", &D::OnEditRedo),
};

}  // namespace

std::span<const CommandEntry> CommandTable() { return kCommands; }

const CommandEntry* FindCommand(unsigned id)
{
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [id](const CommandEntry& e) { return e.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

std::string BatchName(const CommandEntry& entry)
{
    std::string name(entry.symbol.substr(3));
    for (char& c : name) c = c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

const CommandEntry* FindCommandByBatchName(std::string_view name)
{
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [name](const CommandEntry& e) { return BatchName(e) == name; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

bool RouteCommand(unsigned id, const CommandTargets& targets)
{
    const CommandEntry* entry = FindCommand(id);
    if (!entry) return false;
    if (entry->viewHandler && targets.view) {
        (targets.view->*entry->viewHandler)();
    } else if (entry->docHandler && targets.doc) {
        (targets.doc->*entry->docHandler)();
    } else if (entry->shellHandler && targets.shell) {
        (targets.shell->*entry->shellHandler)();
    } else if (entry->shellIndexHandler && targets.shell) {
        (targets.shell->*entry->shellIndexHandler)(entry->index);
    } else {
        return false;
    }
    // Undo and redo move through the history; every other command that changed the
    // model leaves a step. File > New and Open start a fresh history themselves.
    if (targets.doc && id != ID_EDIT_UNDO && id != ID_EDIT_REDO) targets.doc->CommitStep(StepLabel(id));
    return true;
}

void RouteClick(const CommandTargets& targets, unsigned flags, CPoint point)
{
    if (!targets.view) return;
    // Named by what the click does: the right button adds, the move tool moves, else it picks.
    const char* label = (flags & MK_RBUTTON) ? "Add Vertex" : targets.view->m_movePresses == 1 ? "Move" : "Select";
    targets.view->OnLButtonDown(flags, point);
    if (targets.doc) targets.doc->CommitStep(label);
}
