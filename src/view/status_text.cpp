// The status bar's texts, made here so that the window and the tests read the same words.
#include "view/status_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/float_text.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"

namespace {

const char kAxisNames[3] = {'X', 'Y', 'Z'};

// A coordinate with as many decimals as one pixel is fine at the zoom: none at zoom 1,
// one at zoom 2 to 10, two up to 100. Far-off values go into exponent form.
std::string Coordinate(double value, float zoom)
{
    char text[32];
    if (std::fabs(value) >= 1e12) {
        std::snprintf(text, sizeof text, "%.6g", value);
        return text;
    }
    const int decimals = std::clamp(static_cast<int>(std::ceil(std::log10(double(zoom)))), 0, 6);
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    // A value that rounds to zero reads "0", not "-0".
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos) result.erase(0, 1);
    return result;
}

std::string Counted(int count, const char* one, const char* many)
{
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

}  // namespace

std::string ViewAxisText(const CPolydromView& view)
{
    int h, v;
    view.ShownAxes(&h, &v);
    // The axis that is neither shown across nor down.
    return std::string("View along ") + kAxisNames[3 - h - v];
}

std::string PointerText(const CPolydromView& view, CPoint pixel)
{
    int h, v;
    view.ShownAxes(&h, &v);
    double across, down;
    view.ModelPointAt(pixel, &across, &down);
    return kAxisNames[h] + (' ' + Coordinate(across, view.m_state.zoom)) + ", " + kAxisNames[v] + ' ' +
           Coordinate(down, view.m_state.zoom);
}

std::string RotationText(const CPolydromView& view)
{
    int h, v;
    view.ShownAxes(&h, &v);
    std::string text = std::string("Rotate about the ") + kAxisNames[3 - h - v] + " axis, through the cursor (";
    for (float c : view.m_state.cursor) {
        if (text.back() != '(') text += ", ";
        AppendShortestFloat(text, c);
    }
    return text + ")";
}

std::string PanelText(const CPolydromView& view, CPoint pixel, bool namingDepth)
{
    int h, v;
    if (!view.PanelAt(pixel, &h, &v)) return {};
    const std::string inset = namingDepth ? std::string("Inset along ") + kAxisNames[3 - h - v] : "Inset";
    return inset + ": " + kAxisNames[h] + " across, " + kAxisNames[v] + " down";
}

std::string SelectionText(const CPolydromDoc& doc)
{
    int selected = 0;
    for (int i = 0; i < doc.GetVertexCount(); ++i) selected += doc.GetVertexSel(i) == 1;
    return "Selected " + std::to_string(selected) + " of " +
           Counted(doc.GetVertexCount(), "vertex", "vertices") + ", " + Counted(doc.GetEdgeCount(), "edge", "edges");
}
