// What the Edit menu calls the step a command made: "Undo Extrude", "Redo Cylinder".
#include <string>

#include "app/command_ids.h"
#include "app/command_table.h"

std::string StepLabel(unsigned id)
{
    switch (id) {
    case ID_DO_CONNECT:
    case ID_VIEW_DO_TOOLBAR: return "Connect";
    case ID_DO_UNCONNECT: return "Un-connect";
    case ID_DO_EXTRUDE: return "Extrude";
    case ID_DO_COPY: return "Copy";
    case ID_DO_MIRROR: return "Mirror";
    case ID_DO_SELECT_CONNECTED: return "Select All Connected";
    case ID_DO_SELECT_ALL: return "Select All";
    case ID_DO_DESELECT_ALL: return "Deselect All";
    case ID_SHAPE_CYLINDER: return "Cylinder";
    case ID_SHAPE_CIRCLE: return "Circle";
    case ID_SHAPE_BOX: return "Box";
    case ID_SHAPE_SQUARE: return "Square";
    case ID_SHAPE_CONE: return "Cone";
    case ID_SHAPE_PYRAMID: return "Pyramid";
    case ID_DO_ROTATE_CCW: return "Rotate Counter-clockwise";
    case ID_DO_ROTATE_CW: return "Rotate Clockwise";
    case ID_DO_GROW: return "Grow";
    case ID_DO_SHRINK: return "Shrink";
    default: return "Change";
    }
}
