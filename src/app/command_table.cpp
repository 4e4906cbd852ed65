// Every command in one row, and the router that runs a command or a click.
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

// The id and its spelling, which names the command in batch mode and in the window's objects.
#define COMMAND(cmd) .id = cmd, .symbol = #cmd

// The recent-file entries: one handler, told which entry.
#define RECENT(n)                                                                                          \
    {.id = ID_FILE_MRU_FILE1 + (n) - 1, .symbol = "ID_FILE_MRU_FILE" #n, .shellIndexHandler = &S::OnFileMruFile, .index = (n) - 1,                \
     .name = "Recent file " #n, .prompt = "Open this document"}

const CommandEntry kCommands[] = {
    // File
    {COMMAND(ID_FILE_NEW), .shellHandler = &S::OnFileNew, .menuText = "&New", .shortcut = "Ctrl+N", .name = "New",
     .prompt = "Create a new document", .details = "Starts a new, empty model.", .image = ":/icons/new.svg",
     .themeIcon = "document-new"},
    {COMMAND(ID_FILE_OPEN), .shellHandler = &S::OnFileOpen, .menuText = "&Open...", .shortcut = "Ctrl+O",
     .name = "Open", .prompt = "Open an existing document", .details = "Opens a model file (.pdm).",
     .image = ":/icons/open.svg", .themeIcon = "document-open"},
    {COMMAND(ID_FILE_SAVE), .shellHandler = &S::OnFileSave, .menuText = "&Save", .shortcut = "Ctrl+S",
     .name = "Save", .prompt = "Save the active document", .details = "Saves the model to its file.",
     .image = ":/icons/save.svg", .themeIcon = "document-save"},
    {COMMAND(ID_FILE_SAVE_AS), .shellHandler = &S::OnFileSaveAs, .menuText = "Save &As...", .name = "Save As",
     .prompt = "Save the active document with a new name"},
    {COMMAND(ID_FILE_IMPORT), .shellHandler = &S::OnFileImport, .menuText = "&Import...", .shortcut = "Ctrl+I",
     .name = "Import",
     .prompt = "Import: adds a mesh from another program's file (OBJ, STL, PLY, OFF, 3DS, glTF, COLLADA ...), selected",
     .details = "Adds the mesh of an OBJ, STL, PLY, OFF, 3DS, glTF, COLLADA or other file to the model: "
                "its faces become triangles of edges, and the imported vertices become the selection.",
     .stepLabel = "Import", .themeIcon = "document-import"},
    {COMMAND(ID_FILE_EXPORT_POV), .docHandler = &D::OnFileExportPov, .menuText = "Expor&t POVFILE",
     .name = "Export POVFILE",
     .prompt = "Export POVFILE: writes the model's triangles to object.pov in the current folder, as a POV-Ray union"},
    {COMMAND(ID_FILE_EXPORT_AS), .shellHandler = &S::OnFileExportAs, .menuText = "&Export As...",
     .name = "Export As", .prompt = "Export As: writes the model's triangles as a POV-Ray mesh2, OBJ or STL file"},
    {COMMAND(ID_FILE_PRINT), .shellHandler = &S::OnFilePrint, .menuText = "&Print...", .shortcut = "Ctrl+P",
     .name = "Print", .prompt = "Print the active document", .details = "Prints the view as one page.",
     .image = ":/icons/print.svg", .themeIcon = "document-print"},
    {COMMAND(ID_FILE_PRINT_DIRECT), .shellHandler = &S::OnFilePrint, .name = "Print Directly",
     .prompt = "Print the active document using current options"},
    {COMMAND(ID_FILE_PRINT_PREVIEW), .shellHandler = &S::OnFilePrintPreview, .menuText = "Print Pre&view",
     .name = "Print Preview", .prompt = "Show the page as it will be printed"},
    {COMMAND(ID_FILE_PRINT_SETUP), .shellHandler = &S::OnFilePrintSetup, .menuText = "P&rint Setup...",
     .name = "Print Setup", .prompt = "Change the printer and printing options"},
    RECENT(1),
    RECENT(2),
    RECENT(3),
    RECENT(4),
    RECENT(5),
    RECENT(6),
    {COMMAND(ID_APP_EXIT), .shellHandler = &S::OnAppExit, .menuText = "E&xit", .name = "Exit",
     .prompt = "Quit the application; prompts to save documents"},

    // Edit: the menu shows the name of the step ("&Undo Extrude").
    {COMMAND(ID_EDIT_UNDO), .docHandler = &D::OnEditUndo, .menuText = "&Undo", .shortcut = "Ctrl+Z", .name = "Undo",
     .prompt = "Undo the last action"},
    {COMMAND(ID_EDIT_REDO), .docHandler = &D::OnEditRedo, .menuText = "&Redo", .shortcut = "Ctrl+Y",
     .shortcut2 = "Ctrl+Shift+Z", .name = "Redo", .prompt = "Redo the previously undone action"},

    // View
    {COMMAND(ID_VIEW_TOOLBAR), .shellHandler = &S::OnViewToolbar, .menuText = "File &Toolbar",
     .name = "File Toolbar", .prompt = "File Toolbar: shows or hides the toolbar of files, printing and help"},
    {COMMAND(ID_VIEW_DO_TOOLBAR), .shellHandler = &S::OnViewDoToolbar, .menuText = "View &Do Toolbar",
     .name = "Do Toolbar", .prompt = "View Do Toolbar: shows or hides the toolbar of shapes and edits"},
    {COMMAND(ID_VIEW_STATUS_BAR), .shellHandler = &S::OnViewStatusBar, .menuText = "&Status Bar",
     .name = "Status Bar", .prompt = "Status Bar: shows or hides the status bar"},
    {COMMAND(ID_VIEW_FIT), .viewHandler = &V::OnViewFit, .menuText = "Zoom to &Fit", .shortcut = "Home",
     .name = "Zoom to Fit", .prompt = "Zoom to Fit: shows the whole model centred in the view"},
    {COMMAND(ID_VIEW_RENDER_PREVIEW), .shellHandler = &S::OnViewRenderPreview, .menuText = "&Render Preview",
     .shortcut = "F9", .name = "Render Preview",
     .prompt = "Render Preview: shows the model rendered by POV-Ray beside the wireframe, framed as the view frames it",
     .details = "Opens the Render Preview panel: the model's triangles rendered by POV-Ray with the view's axis, zoom "
                "and pan, selected triangles tinted, rendered again after every change. Its context menu turns "
                "antialiasing on and off."},
    {COMMAND(ID_VIEW_3D), .shellHandler = &S::OnView3D, .menuText = "&3-D View", .shortcut = "F10", .name = "3-D View",
     .prompt = "Shaded 3-D View: shows the triangles the export writes, to turn with the mouse beside the wireframe",
     .details = "Opens the 3-D View panel: the export's triangles lit from the viewer, their sides on top, back faces "
                "in blue, the selection in red. Drag with the left button to turn the model, with the middle button "
                "(or Shift and the left button) to move it; the wheel zooms about the pointer; Home fits the model; "
                "X, Y and Z look along an axis as the wireframe does (with Shift from the other side); P switches "
                "between perspective and orthographic."},

    // Do
    {COMMAND(ID_DO_CONNECT), .docHandler = &D::OnDoConnect, .menuText = "&Connect", .name = "Connect",
     .prompt = "Connect: joins the selected vertices with edges (two: one edge, three: a triangle)",
     .stepLabel = "Connect", .image = ":/icons/connect.svg"},
    {COMMAND(ID_DO_UNCONNECT), .docHandler = &D::OnDoUnconnect, .menuText = "&Un-connect", .shortcut = "Del",
     .name = "Un-connect",
     .prompt = "Un-connect: deletes the selected vertices and every edge that touches them",
     .stepLabel = "Un-connect", .image = ":/icons/unconnect.svg"},
    {COMMAND(ID_DO_EXTRUDE), .docHandler = &D::OnDoExtrude, .menuText = "&Extrude", .name = "Extrude",
     .prompt = "Extrude: copies the selection in place, joins each copy to its original, and selects the copies",
     .stepLabel = "Extrude"},
    {COMMAND(ID_DO_COPY), .docHandler = &D::OnDoCopy, .menuText = "C&opy", .name = "Copy",
     .prompt = "Copy: copies the selection and its edges in place and selects the copy", .stepLabel = "Copy"},
    {COMMAND(ID_DO_MIRROR), .docViewHandler = &D::OnDoMirror, .menuText = "&Mirror", .name = "Mirror",
     .prompt = "Mirror: copies the selection reflected about the plane halfway between X = 0 and the cursor's X",
     .stepLabel = "Mirror"},
    {COMMAND(ID_DO_SELECT_CONNECTED), .docHandler = &D::OnDoSelectConnected, .menuText = "Select All Co&nnected",
     .name = "Select All Connected",
     .prompt = "Select All Connected: adds every vertex joined to the selection by a path of edges",
     .stepLabel = "Select All Connected"},
    {COMMAND(ID_DO_SELECT_ALL), .docHandler = &D::OnDoSelectAll, .menuText = "&Select All", .name = "Select All",
     .prompt = "Select All: selects every vertex", .stepLabel = "Select All"},
    {COMMAND(ID_DO_DESELECT_ALL), .docHandler = &D::OnDoDeselectAll, .menuText = "&Deselect All",
     .name = "Deselect All", .prompt = "Deselect All: clears the selection", .stepLabel = "Deselect All"},
    {COMMAND(ID_SELECT_INVERT), .docHandler = &D::OnDoSelectInvert, .menuText = "&Invert Selection",
     .name = "Invert Selection",
     .prompt = "Invert Selection: selects the vertices that were not selected and deselects the others",
     .stepLabel = "Invert Selection"},
    {COMMAND(ID_DO_ADD_VERTEX_AT), .shellHandler = &S::OnDoAddVertexAt, .menuText = "Add Vertex &At...",
     .name = "Add Vertex At", .prompt = "Add Vertex At: adds one selected vertex at the coordinates you type",
     .stepLabel = "Add Vertex At"},
    {COMMAND(ID_DO_TRANSFORM), .shellHandler = &S::OnDoTransform, .menuText = "&Transform...", .name = "Transform",
     .prompt = "Transform: moves the selection, or turns or scales it about the cursor, by amounts you type"},
    {COMMAND(ID_DO_SET_CURSOR), .shellHandler = &S::OnDoSetCursor, .menuText = "Set Cu&rsor...",
     .name = "Set Cursor",
     .prompt = "Set Cursor: puts the cursor, the centre of rotation, scaling and mirroring, at coordinates you type"},

    // Object Resolution: how many points the round shapes get.
    {COMMAND(ID_RES_VERY_LOW), .docHandler = &D::OnResVeryLow, .menuText = "&Very Low (5 point)",
     .name = "Very Low resolution", .prompt = "Very Low: circles, cylinders and cones get 5 points around"},
    {COMMAND(ID_RES_LOW), .docHandler = &D::OnResLow, .menuText = "&Low (10 point)", .name = "Low resolution",
     .prompt = "Low: circles, cylinders and cones get 10 points around"},
    {COMMAND(ID_RES_MEDIUM), .docHandler = &D::OnResMedium, .menuText = "&Medium (20 point)",
     .name = "Medium resolution", .prompt = "Medium: circles, cylinders and cones get 20 points around"},
    {COMMAND(ID_RES_HIGH), .docHandler = &D::OnResHigh, .menuText = "&High (40 point)", .name = "High resolution",
     .prompt = "High: circles, cylinders and cones get 40 points around"},
    {COMMAND(ID_RES_VERY_HIGH), .docHandler = &D::OnResVeryHigh, .menuText = "Ve&ry High (80 point)",
     .name = "Very High resolution", .prompt = "Very High: circles, cylinders and cones get 80 points around"},

    // Rotate/Zoom: the step of Grow, Shrink and the rotations. The third item sets 0.1, so it says so.
    {COMMAND(ID_STEP_FINEST), .docHandler = &D::OnStepFinest, .menuText = ".&01", .name = "Step .01",
     .prompt = "Step .01: rotations turn by 0.01 radian, Grow and Shrink scale by 1%"},
    {COMMAND(ID_STEP_FINE), .docHandler = &D::OnStepFine, .menuText = ".0&5", .name = "Step .05",
     .prompt = "Step .05: rotations turn by 0.05 radian, Grow and Shrink scale by 5%"},
    {COMMAND(ID_STEP_COARSE), .docHandler = &D::OnStepCoarse, .menuText = ".&1", .name = "Step .1",
     .prompt = "Step .1: rotations turn by 0.1 radian, Grow and Shrink scale by 10%"},
    {COMMAND(ID_STEP_COARSEST), .docHandler = &D::OnStepCoarsest, .menuText = "&.5", .name = "Step .5",
     .prompt = "Step .5: rotations turn by 0.5 radian, Grow and Shrink scale by 50%"},

    // The Do toolbar's buttons; the shapes have a menu of their own, the rotations and sizes sit in Do.
    {COMMAND(ID_DO_MOVE), .viewHandler = &V::OnDoMove, .name = "Move",
     .prompt = "Move: switches the move tool on or off; while on, each click moves the selection",
     .details = "Switches the move tool on or off. While it is on, every click moves the selection by the "
                "distance from the previous click; the cursor mark turns into a cup.",
     .image = ":/icons/move.svg"},
    {COMMAND(ID_SHAPE_CYLINDER), .docViewHandler = &D::OnShapeCylinder, .menuText = "C&ylinder", .name = "Cylinder",
     .prompt = "Cylinder: adds a cylinder in the middle of the view, selected", .stepLabel = "Cylinder",
     .image = ":/icons/cylinder.svg"},
    {COMMAND(ID_SHAPE_CIRCLE), .docViewHandler = &D::OnShapeCircle, .menuText = "&Circle", .name = "Circle",
     .prompt = "Circle: adds a circle in the middle of the view, selected", .stepLabel = "Circle",
     .image = ":/icons/circle.svg"},
    {COMMAND(ID_SHAPE_BOX), .docViewHandler = &D::OnShapeBox, .menuText = "&Box", .name = "Box",
     .prompt = "Box: adds a box in the middle of the view, selected", .stepLabel = "Box",
     .image = ":/icons/box.svg"},
    {COMMAND(ID_SHAPE_SQUARE), .docViewHandler = &D::OnShapeSquare, .menuText = "&Square", .name = "Square",
     .prompt = "Square: adds a square in the middle of the view, selected", .stepLabel = "Square",
     .image = ":/icons/square.svg"},
    {COMMAND(ID_SHAPE_CONE), .docViewHandler = &D::OnShapeCone, .menuText = "C&one", .name = "Cone",
     .prompt = "Cone: adds a cone in the middle of the view, selected", .stepLabel = "Cone",
     .image = ":/icons/cone.svg"},
    {COMMAND(ID_SHAPE_PYRAMID), .docViewHandler = &D::OnShapePyramid, .menuText = "&Pyramid", .name = "Pyramid",
     .prompt = "Pyramid: adds a pyramid in the middle of the view, selected", .stepLabel = "Pyramid",
     .image = ":/icons/pyramid.svg"},
    {COMMAND(ID_DO_ROTATE_CCW), .docViewHandler = &D::OnDoRotateCcw, .menuText = "Rotate Counter-c&lockwise", .name = "Rotate counter-clockwise",
     .prompt = "Rotate counter-clockwise: turns the selection about the cursor, around the viewing axis, by the "
               "Rotate/Zoom step",
     .stepLabel = "Rotate Counter-clockwise", .image = ":/icons/rotate_ccw.svg"},
    {COMMAND(ID_DO_ROTATE_CW), .docViewHandler = &D::OnDoRotateCw, .menuText = "Rotate Clock&wise", .name = "Rotate clockwise",
     .prompt = "Rotate clockwise: turns the selection about the cursor, around the viewing axis, by the "
               "Rotate/Zoom step",
     .stepLabel = "Rotate Clockwise", .image = ":/icons/rotate_cw.svg"},
    {COMMAND(ID_DO_GROW), .docViewHandler = &D::OnDoGrow, .menuText = "&Grow", .name = "Grow",
     .prompt = "Grow: scales the selection up about the cursor by the Rotate/Zoom step", .stepLabel = "Grow",
     .image = ":/icons/grow.svg"},
    {COMMAND(ID_DO_SHRINK), .docViewHandler = &D::OnDoShrink, .menuText = "S&hrink", .name = "Shrink",
     .prompt = "Shrink: scales the selection down about the cursor by the Rotate/Zoom step", .stepLabel = "Shrink",
     .image = ":/icons/shrink.svg"},

    // The view toolbar; the arrow keys, X, Y, Z, + and - (on the keypad too) give them anywhere in the window.
    {COMMAND(ID_VIEW_ZOOM_IN), .viewHandler = &V::OnViewZoomIn, .shortcut = "+", .shortcut2 = "=",
     .name = "Zoom in",
     .prompt = "Zoom in: doubles the magnification (at most 100 pixels per unit); mouse wheel up, key +",
     .image = ":/icons/zoom_in.svg"},
    {COMMAND(ID_VIEW_ZOOM_OUT), .viewHandler = &V::OnViewZoomOut, .shortcut = "-",
     .name = "Zoom out", .prompt = "Zoom out: halves the magnification (at least 0.001); mouse wheel down, key -",
     .image = ":/icons/zoom_out.svg"},
    {COMMAND(ID_VIEW_PAN_DOWN), .viewHandler = &V::OnViewPanDown, .shortcut = "Down", .name = "Pan down",
     .prompt = "Pan down: moves the picture up by 30 pixels; Down arrow key", .image = ":/icons/pan_down.svg"},
    {COMMAND(ID_VIEW_PAN_UP), .viewHandler = &V::OnViewPanUp, .shortcut = "Up", .name = "Pan up",
     .prompt = "Pan up: moves the picture down by 30 pixels; Up arrow key", .image = ":/icons/pan_up.svg"},
    {COMMAND(ID_VIEW_PAN_RIGHT), .viewHandler = &V::OnViewPanRight, .shortcut = "Right", .name = "Pan right",
     .prompt = "Pan right: moves the picture left by 30 pixels; Right arrow key", .image = ":/icons/pan_right.svg"},
    {COMMAND(ID_VIEW_PAN_LEFT), .viewHandler = &V::OnViewPanLeft, .shortcut = "Left", .name = "Pan left",
     .prompt = "Pan left: moves the picture right by 30 pixels; Left arrow key", .image = ":/icons/pan_left.svg"},
    {COMMAND(ID_VIEW_AXIS_X), .viewHandler = &V::OnViewAxisX, .shortcut = "X", .name = "Look along X",
     .prompt = "Look along X: the view shows Z across and Y down; key X", .image = ":/icons/axis_x.svg"},
    {COMMAND(ID_VIEW_AXIS_Y), .viewHandler = &V::OnViewAxisY, .shortcut = "Y", .name = "Look along Y",
     .prompt = "Look along Y: the view shows X across and Z down; key Y", .image = ":/icons/axis_y.svg"},
    {COMMAND(ID_VIEW_AXIS_Z), .viewHandler = &V::OnViewAxisZ, .shortcut = "Z", .name = "Look along Z",
     .prompt = "Look along Z: the view shows X across and Y down; key Z", .image = ":/icons/axis_z.svg"},

    // Help
    {COMMAND(ID_HELP_FINDER), .shellHandler = &S::OnHelpFinder, .menuText = "&Help Topics", .name = "Help Topics",
     .prompt = "Show the contents of the guide"},
    {COMMAND(ID_APP_ABOUT), .shellHandler = &S::OnAppAbout, .menuText = "&About Polydrom...", .name = "About",
     .prompt = "Display program information, version number and copyright",
     .details = "Shows the program's name, version and copyright.", .image = ":/icons/about.svg"},
    {COMMAND(ID_CONTEXT_HELP), .shellHandler = &S::OnContextHelp, .shortcut = "Shift+F1", .name = "What's This?",
     .prompt = "Display help for the button, menu item or window you click next",
     .details = "Click this button, then click any button to learn what it does.",
     .image = ":/icons/context_help.svg"},
    {COMMAND(ID_HELP), .shellHandler = &S::OnHelp, .shortcut = "F1", .name = "Help",
     .prompt = "Display help for current task or command"},
    {COMMAND(ID_DEFAULT_HELP), .shellHandler = &S::OnHelpFinder, .name = "Default Help",
     .prompt = "Display the help page"},
};

#undef RECENT
#undef COMMAND

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

std::string StepLabel(const CommandEntry& entry)
{
    return entry.stepLabel.empty() ? std::string("Change") : std::string(entry.stepLabel);
}

RouteResult RouteCommand(unsigned id, const CommandTargets& targets)
{
    const CommandEntry* entry = FindCommand(id);
    if (!entry) return {};
    if (targets.doc) targets.doc->TakeReport();
    if (entry->viewHandler && targets.view) {
        (targets.view->*entry->viewHandler)();
    } else if (entry->docHandler && targets.doc) {
        (targets.doc->*entry->docHandler)();
    } else if (entry->docViewHandler && targets.doc) {
        // Without a view, the state a view starts with.
        (targets.doc->*entry->docViewHandler)(targets.view ? targets.view->m_state : ViewState{});
    } else if (entry->shellHandler && targets.shell) {
        (targets.shell->*entry->shellHandler)();
    } else if (entry->shellIndexHandler && targets.shell) {
        (targets.shell->*entry->shellIndexHandler)(entry->index);
    } else {
        return {};
    }
    // Undo and redo move through the history; every other command that changed the
    // model leaves a step. File > New and Open start a fresh history themselves.
    if (!targets.doc) return {true, {}};
    if (id != ID_EDIT_UNDO && id != ID_EDIT_REDO) targets.doc->CommitStep(StepLabel(*entry));
    return {true, targets.doc->TakeReport()};
}

CommandReport RouteClick(const CommandTargets& targets, unsigned flags, CPoint point)
{
    if (!targets.view) return {};
    if (targets.doc) targets.doc->TakeReport();
    // Named by what the click does: the right button adds, the move tool moves, else it picks.
    const char* label = (flags & MK_RBUTTON) ? "Add Vertex" : targets.view->m_movePresses == 1 ? "Move" : "Select";
    targets.view->OnLButtonDown(flags, point);
    if (!targets.doc) return {};
    targets.doc->CommitStep(label);
    return targets.doc->TakeReport();
}
