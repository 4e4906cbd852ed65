// The texts of the status bar's panes: the viewing axis, the model point under the
// pointer, and how much of the model is selected.
#pragma once

#include <string>

#include "framework/geometry.h"

class CPolydromDoc;
class CPolydromView;

// "View along Z".
std::string ViewAxisText(const CPolydromView& view);
// "X 12.5, Y -3": the two coordinates the pixel shows, to about a pixel's precision.
std::string PointerText(const CPolydromView& view, CPoint pixel);
// "Rotate about the Z axis, through the cursor (10, 20, 0)": what the rotations turn about.
std::string RotationText(const CPolydromView& view);
// "Inset: X across, Z down" over an inset panel (short enough for the pointer's pane), with
// the axis it looks along for its tool tip ("Inset along Y: X across, Z down"); empty elsewhere.
std::string PanelText(const CPolydromView& view, CPoint pixel, bool namingDepth = false);
// "Selected 3 of 8 vertices, 12 edges".
std::string SelectionText(const CPolydromDoc& doc);
