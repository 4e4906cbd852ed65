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
// "Selected 3 of 8 vertices, 12 edges".
std::string SelectionText(const CPolydromDoc& doc);
