#include "app/shell/command_ui.h"

#include <algorithm>
#include <iterator>

#include "app/command_ids.h"

namespace {

const MenuItemUi kFileMenu[] = {
    {ID_FILE_NEW, "&New\tCtrl+N"},
    {ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {ID_FILE_SAVE, "&Save\tCtrl+S"},
    {ID_FILE_SAVE_AS, "Save &As..."},
    {0, ""},
    {ID_FILE_EXPORT_POV, "Export POVFILE"},
    {ID_FILE_EXPORT_AS, "Export &As..."},
    {0, ""},
    {ID_FILE_PRINT, "&Print...\tCtrl+P"},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
    {ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    {0, ""},
    {ID_FILE_MRU_FILE1, "Recent File"},
    {0, ""},
    {ID_APP_EXIT, "E&xit"},
};

// Undo and redo name the step they take back or bring again ("&Undo Extrude\tCtrl+Z").
const MenuItemUi kEditMenu[] = {
    {ID_EDIT_UNDO, "&Undo\tCtrl+Z"},
    {ID_EDIT_REDO, "&Redo\tCtrl+Y"},
};

const MenuItemUi kViewMenu[] = {
    {ID_VIEW_TOOLBAR, "File &Toolbar"},
    {ID_VIEW_DO_TOOLBAR, "View Do Toolbar"},
    {ID_VIEW_STATUS_BAR, "&Status Bar"},
};

const MenuItemUi kDoMenu[] = {
    {ID_DO_CONNECT, "Connect"},
    {ID_DO_UNCONNECT, "Un-connect"},
    {ID_DO_EXTRUDE, "Extrude"},
    {ID_DO_COPY, "Copy"},
    {ID_DO_MIRROR, "Mirror"},
    {ID_DO_SELECT_CONNECTED, "Select All Connected"},
    {ID_DO_SELECT_ALL, "Select All"},
    {ID_DO_DESELECT_ALL, "Deselect All"},
};

const MenuItemUi kResolutionMenu[] = {
    {ID_RES_VERY_LOW, "Very Low (5 point)"},
    {ID_RES_LOW, "Low (10 point)"},
    {ID_RES_MEDIUM, "Medium (20 point)"},
    {ID_RES_HIGH, "High (40 point)"},
    {ID_RES_VERY_HIGH, "Very High (80 point)"},
};

const MenuItemUi kHelpMenu[] = {
    {ID_HELP_FINDER, "&Help Topics"},
    {0, ""},
    {ID_APP_ABOUT, "&About Polydrom..."},
};

// The third item sets the step 0.1, so it says so.
const MenuItemUi kStepMenu[] = {
    {ID_STEP_FINEST, ".01"},
    {ID_STEP_FINE, ".05"},
    {ID_STEP_COARSE, ".1"},
    {ID_STEP_COARSEST, ".5"},
};

const MenuUi kMenus[] = {
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"&View", kViewMenu},
    {"&Do", kDoMenu},
    {"Object Resolution", kResolutionMenu},
    {"&Help", kHelpMenu},
    {"Rotate/Zoom", kStepMenu},
};

const AcceleratorUi kAccelerators[] = {
    {ID_FILE_NEW, "Ctrl+N"}, {ID_FILE_OPEN, "Ctrl+O"}, {ID_FILE_SAVE, "Ctrl+S"},
    {ID_FILE_PRINT, "Ctrl+P"}, {ID_HELP, "F1"},       {ID_CONTEXT_HELP, "Shift+F1"},
    {ID_EDIT_UNDO, "Ctrl+Z"},  {ID_EDIT_REDO, "Ctrl+Y"}, {ID_EDIT_REDO, "Ctrl+Shift+Z"},
};

const unsigned kFileButtons[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_FILE_PRINT, ID_APP_ABOUT, ID_CONTEXT_HELP,
};
const unsigned kDoButtons[] = {
    ID_DO_CONNECT,   ID_DO_UNCONNECT, ID_DO_MOVE,       ID_SHAPE_CYLINDER, ID_SHAPE_CIRCLE,
    ID_SHAPE_BOX,    ID_SHAPE_SQUARE, ID_SHAPE_CONE,    ID_SHAPE_PYRAMID,  ID_DO_ROTATE_CCW,
    ID_DO_ROTATE_CW, ID_DO_GROW,      ID_DO_SHRINK,
};
const unsigned kViewButtons[] = {
    ID_VIEW_ZOOM_IN,   ID_VIEW_ZOOM_OUT, 0, ID_VIEW_PAN_DOWN, ID_VIEW_PAN_UP, ID_VIEW_PAN_RIGHT,
    ID_VIEW_PAN_LEFT, 0, ID_VIEW_AXIS_X, ID_VIEW_AXIS_Y, ID_VIEW_AXIS_Z,
};

const ToolBarUi kToolBars[] = {
    {"FileToolBar", "File", 16, 15, kFileButtons},
    {"DoToolBar", "Do", 25, 17, kDoButtons},
    {"ViewToolBar", "View", 23, 21, kViewButtons},
};

const CommandLookUi kLooks[] = {
    // The framework's standard commands, with their standard prompt strings.
    {ID_FILE_NEW, "Create a new document\nNew", "New\n\nStarts a new, empty model.", ":/icons/new.svg",
     "document-new"},
    {ID_FILE_OPEN, "Open an existing document\nOpen", "Open\n\nOpens a model file (.pdm).", ":/icons/open.svg",
     "document-open"},
    {ID_FILE_SAVE, "Save the active document\nSave", "Save\n\nSaves the model to its file.", ":/icons/save.svg",
     "document-save"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As", "", "", ""},
    {ID_FILE_PRINT, "Print the active document\nPrint", "Print\n\nPrints the view as one page.",
     ":/icons/print.svg", "document-print"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview", "", "", ""},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup", "", "", ""},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout",
     "About\n\nShows the program's name, version and copyright.", ":/icons/about.svg", ""},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit", "", "", ""},
    {ID_EDIT_UNDO, "Undo the last action\nUndo", "", "", ""},
    {ID_EDIT_REDO, "Redo the previously undone action\nRedo", "", "", ""},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar", "", "", ""},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar", "", "", ""},
    {ID_HELP_FINDER, "List Help topics\nHelp Topics", "", "", ""},
    {ID_CONTEXT_HELP, "Display help for clicked on buttons, menus and windows\nHelp",
     "Help\n\nClick this button, then click any button to learn what it does.", ":/icons/context_help.svg", ""},
    {ID_HELP, "Display help for current task or command\nHelp", "", "", ""},
    // The program's own commands carry no prompt.
    {ID_DO_CONNECT, "", "Connect\n\nJoins two selected vertices by an edge, or three by a triangle.",
     ":/icons/connect.svg", ""},
    {ID_DO_UNCONNECT, "", "Un-connect\n\nDeletes the selected vertices and every edge that touches them.",
     ":/icons/unconnect.svg", ""},
    {ID_DO_MOVE, "",
     "Move\n\nSwitches the move tool on or off. While it is on, every click moves the selection by the "
     "distance from the previous click; the cursor mark turns into a cup.",
     ":/icons/move.svg", ""},
    {ID_SHAPE_CYLINDER, "", "Cylinder\n\nAdds a cylinder in the middle of the view, selected.",
     ":/icons/cylinder.svg", ""},
    {ID_SHAPE_CIRCLE, "", "Circle\n\nAdds a circle in the middle of the view, selected.", ":/icons/circle.svg", ""},
    {ID_SHAPE_BOX, "", "Box\n\nAdds a box in the middle of the view, selected.", ":/icons/box.svg", ""},
    {ID_SHAPE_SQUARE, "", "Square\n\nAdds a square in the middle of the view, selected.", ":/icons/square.svg", ""},
    {ID_SHAPE_CONE, "", "Cone\n\nAdds a cone in the middle of the view, selected.", ":/icons/cone.svg", ""},
    {ID_SHAPE_PYRAMID, "", "Pyramid\n\nAdds a pyramid in the middle of the view, selected.",
     ":/icons/pyramid.svg", ""},
    {ID_DO_ROTATE_CCW, "",
     "Rotate counter-clockwise\n\nTurns the selection about the cursor, around the viewing axis, by the "
     "Rotate/Zoom step.",
     ":/icons/rotate_ccw.svg", ""},
    {ID_DO_ROTATE_CW, "",
     "Rotate clockwise\n\nTurns the selection about the cursor, around the viewing axis, by the Rotate/Zoom "
     "step.",
     ":/icons/rotate_cw.svg", ""},
    {ID_DO_GROW, "", "Grow\n\nScales the selection up about the cursor by the Rotate/Zoom step.",
     ":/icons/grow.svg", ""},
    {ID_DO_SHRINK, "", "Shrink\n\nScales the selection down about the cursor by the Rotate/Zoom step.",
     ":/icons/shrink.svg", ""},
    {ID_VIEW_ZOOM_IN, "", "Zoom in\n\nDoubles the magnification (at most 100 pixels per unit). Mouse wheel up.",
     ":/icons/zoom_in.svg", ""},
    {ID_VIEW_ZOOM_OUT, "", "Zoom out\n\nHalves the magnification (at least 0.001). Mouse wheel down.",
     ":/icons/zoom_out.svg", ""},
    {ID_VIEW_PAN_DOWN, "", "Pan down\n\nMoves the picture up by 30 pixels. Down arrow key.",
     ":/icons/pan_down.svg", ""},
    {ID_VIEW_PAN_UP, "", "Pan up\n\nMoves the picture down by 30 pixels. Up arrow key.", ":/icons/pan_up.svg", ""},
    {ID_VIEW_PAN_RIGHT, "", "Pan right\n\nMoves the picture left by 30 pixels. Right arrow key.",
     ":/icons/pan_right.svg", ""},
    {ID_VIEW_PAN_LEFT, "", "Pan left\n\nMoves the picture right by 30 pixels. Left arrow key.",
     ":/icons/pan_left.svg", ""},
    {ID_VIEW_AXIS_X, "", "Look along X\n\nThe view shows Z across and Y down. Key X.", ":/icons/axis_x.svg", ""},
    {ID_VIEW_AXIS_Y, "", "Look along Y\n\nThe view shows X across and Z down. Key Y.", ":/icons/axis_y.svg", ""},
    {ID_VIEW_AXIS_Z, "", "Look along Z\n\nThe view shows X across and Y down. Key Z.", ":/icons/axis_z.svg", ""},
};

}  // namespace

std::span<const MenuUi> MainMenuUi() { return kMenus; }
std::span<const AcceleratorUi> AcceleratorsUi() { return kAccelerators; }
std::span<const ToolBarUi> ToolBarsUi() { return kToolBars; }

const CommandLookUi* FindCommandLook(unsigned id)
{
    auto it = std::find_if(std::begin(kLooks), std::end(kLooks), [id](const CommandLookUi& l) { return l.id == id; });
    return it == std::end(kLooks) ? nullptr : &*it;
}
