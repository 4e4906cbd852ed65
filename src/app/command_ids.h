// Command ids: the framework's standard ones and the program's own.
#pragma once

// Standard commands.
constexpr unsigned ID_FILE_NEW = 57600;
constexpr unsigned ID_FILE_OPEN = 57601;
constexpr unsigned ID_FILE_SAVE = 57603;
constexpr unsigned ID_FILE_SAVE_AS = 57604;
constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
constexpr unsigned ID_FILE_PRINT = 57607;
constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
constexpr unsigned ID_EDIT_UNDO = 57643;
constexpr unsigned ID_EDIT_REDO = 57644;
constexpr unsigned ID_APP_ABOUT = 57664;
constexpr unsigned ID_APP_EXIT = 57665;
constexpr unsigned ID_HELP_FINDER = 57667;
constexpr unsigned ID_CONTEXT_HELP = 57669;
constexpr unsigned ID_HELP = 57670;
constexpr unsigned ID_DEFAULT_HELP = 57671;
constexpr unsigned ID_VIEW_TOOLBAR = 59392;
constexpr unsigned ID_VIEW_STATUS_BAR = 59393;
constexpr int RECENT_FILE_COUNT = 6;

// The program's own commands.
constexpr unsigned ID_DO_CONNECT = 32771;
constexpr unsigned ID_DO_UNCONNECT = 32773;
constexpr unsigned ID_VIEW_DO_TOOLBAR = 32774;
constexpr unsigned ID_DO_MOVE = 32775;
constexpr unsigned ID_DO_EXTRUDE = 32776;
constexpr unsigned ID_SHAPE_CIRCLE = 32778;
constexpr unsigned ID_SHAPE_BOX = 32779;
constexpr unsigned ID_SHAPE_SQUARE = 32780;
constexpr unsigned ID_SHAPE_CONE = 32781;
constexpr unsigned ID_SHAPE_PYRAMID = 32782;
constexpr unsigned ID_VIEW_ZOOM_IN = 32783;
constexpr unsigned ID_VIEW_ZOOM_OUT = 32784;
constexpr unsigned ID_VIEW_PAN_UP = 32785;
constexpr unsigned ID_VIEW_PAN_DOWN = 32786;
constexpr unsigned ID_VIEW_PAN_RIGHT = 32787;
constexpr unsigned ID_VIEW_PAN_LEFT = 32788;
constexpr unsigned ID_VIEW_AXIS_X = 32789;
constexpr unsigned ID_VIEW_AXIS_Y = 32790;
constexpr unsigned ID_VIEW_AXIS_Z = 32791;
constexpr unsigned ID_RES_LOW = 32792;
constexpr unsigned ID_RES_MEDIUM = 32793;
constexpr unsigned ID_RES_VERY_LOW = 32794;
constexpr unsigned ID_RES_HIGH = 32795;
constexpr unsigned ID_RES_VERY_HIGH = 32796;
constexpr unsigned ID_SHAPE_CYLINDER = 32797;
constexpr unsigned ID_DO_COPY = 32798;
constexpr unsigned ID_DO_SELECT_CONNECTED = 32799;
constexpr unsigned ID_DO_SELECT_ALL = 32800;
constexpr unsigned ID_DO_DESELECT_ALL = 32801;
constexpr unsigned ID_DO_ROTATE_CCW = 32805;
constexpr unsigned ID_DO_ROTATE_CW = 32806;
constexpr unsigned ID_DO_GROW = 32807;
constexpr unsigned ID_DO_SHRINK = 32808;
constexpr unsigned ID_FILE_EXPORT_POV = 32810;
constexpr unsigned ID_STEP_FINEST = 32811;
constexpr unsigned ID_STEP_FINE = 32812;
constexpr unsigned ID_STEP_COARSE = 32813;
constexpr unsigned ID_STEP_COARSEST = 32819;
constexpr unsigned ID_DO_MIRROR = 32820;
// File > Export As...: the triangles as mesh2, OBJ, STL or the POV-Ray union.
constexpr unsigned ID_FILE_EXPORT_AS = 32821;
// Precise modelling: typed points and transforms, the inverse selection, the whole model in view.
constexpr unsigned ID_DO_ADD_VERTEX_AT = 32822;
constexpr unsigned ID_DO_TRANSFORM = 32823;
constexpr unsigned ID_DO_SET_CURSOR = 32824;
constexpr unsigned ID_SELECT_INVERT = 32825;
constexpr unsigned ID_VIEW_FIT = 32826;
// File > Import...: a mesh of another program's file added to the model.
constexpr unsigned ID_FILE_IMPORT = 32840;
// View > Render Preview: the model rendered by POV-Ray in a panel beside the view.
constexpr unsigned ID_VIEW_RENDER_PREVIEW = 32850;
// View > 3-D View: the export's triangles shaded, turned with the mouse, in a panel beside the view.
constexpr unsigned ID_VIEW_3D = 32851;
