// The menu tree and the toolbars' buttons.
#include "app/command_layout.h"

#include "app/command_ids.h"

namespace {

const unsigned kFileMenu[] = {
    ID_FILE_NEW,   ID_FILE_OPEN,          ID_FILE_SAVE,        ID_FILE_SAVE_AS, 0, ID_FILE_IMPORT, ID_FILE_EXPORT_POV,
    ID_FILE_EXPORT_AS, 0, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, 0, ID_FILE_MRU_FILE1,
    0,             ID_APP_EXIT,
};
const unsigned kEditMenu[] = {ID_EDIT_UNDO, ID_EDIT_REDO};
const unsigned kViewMenu[] = {ID_VIEW_TOOLBAR, ID_VIEW_DO_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_FIT,
                              ID_VIEW_RENDER_PREVIEW, ID_VIEW_3D};
const unsigned kDoMenu[] = {
    ID_DO_CONNECT,    ID_DO_UNCONNECT,    ID_DO_EXTRUDE,    ID_DO_COPY, ID_DO_MIRROR, ID_DO_SELECT_CONNECTED,
    ID_DO_SELECT_ALL, ID_DO_DESELECT_ALL, ID_SELECT_INVERT, 0,          ID_DO_ADD_VERTEX_AT, ID_DO_TRANSFORM,
    ID_DO_SET_CURSOR, 0, ID_DO_ROTATE_CCW, ID_DO_ROTATE_CW, ID_DO_GROW, ID_DO_SHRINK,
};
const unsigned kResolutionMenu[] = {ID_RES_VERY_LOW, ID_RES_LOW, ID_RES_MEDIUM, ID_RES_HIGH, ID_RES_VERY_HIGH};
const unsigned kHelpMenu[] = {ID_HELP_FINDER, 0, ID_APP_ABOUT};
const unsigned kStepMenu[] = {ID_STEP_FINEST, ID_STEP_FINE, ID_STEP_COARSE, ID_STEP_COARSEST};
const unsigned kShapesMenu[] = {ID_SHAPE_CYLINDER, ID_SHAPE_CIRCLE, ID_SHAPE_BOX,
                                ID_SHAPE_SQUARE,   ID_SHAPE_CONE,   ID_SHAPE_PYRAMID};

const MenuLayout kMenus[] = {
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"&View", kViewMenu},
    {"&Do", kDoMenu},
    {"Object &Resolution", kResolutionMenu},
    {"&Help", kHelpMenu},
    {"Rotate/&Zoom", kStepMenu},
    // Last, so that every older menu keeps its place.
    {"&Shapes", kShapesMenu},
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

const ToolBarLayout kToolBars[] = {
    {"FileToolBar", "File", 16, 15, kFileButtons},
    {"DoToolBar", "Do", 25, 17, kDoButtons},
    {"ViewToolBar", "View", 23, 21, kViewButtons},
};

}  // namespace

std::span<const MenuLayout> MainMenuLayout() { return kMenus; }
std::span<const ToolBarLayout> ToolBarLayouts() { return kToolBars; }
