// Batch mode's --render-3d: the 3-D View's picture, drawn offscreen with OpenGL. It
// lives with the desktop shell, which links Qt and OpenGL; the program registers it.
#pragma once

#include <optional>
#include <string>

struct Render3dRequest {
    std::string path;
    double azimuth = 0, elevation = 0;  // degrees round the model from the view's axis
};
// "PATH.png" or "PATH.png,AZIMUTH,ELEVATION"; nothing when the angles are not numbers.
std::optional<Render3dRequest> ParseRender3d(const std::string& value);

// Registers --render-3d with batch mode.
void RegisterShellBatchSteps();
