// The POV-Ray scene of the render preview: the export's triangles, a plain background,
// a light from the viewer's side, and an orthographic camera that puts every vertex on
// the pixel where the wireframe view draws it.
#pragma once

#include <string>
#include <string_view>

#include "framework/result.h"
#include "model/export_triangles.h"
#include "model/view_state.h"

class CPolydromView;

// What a model without triangles shows instead of a picture.
inline constexpr std::string_view kNoTrianglesNote = "No triangles to render: connect three vertices to make one";

// POV-Ray's orthographic camera in model coordinates: pixel column i of a W-pixel wide
// picture looks along `direction` from location + ((i + 0.5) / W - 0.5) x right, and row
// j from location + (0.5 - (j + 0.5) / H) x up.
struct PreviewCamera {
    double location[3] = {};
    double right[3] = {};
    double up[3] = {};
    double direction[3] = {};
};

// The scene text, or why there is none: the note above for a model without triangles
// (triangles is 0 then), an empty picture size, a vertex that is not a finite number.
struct PreviewScene : Result {
    std::string text;
    int triangles = 0;
    int selected = 0;  // triangles with all three corners selected, drawn tinted
    // Every triangle is seen edge-on (its corners on one line across the view), so the
    // picture would be the background alone; what the preview shows instead.
    std::string edgeOnNote;
    PreviewCamera camera;
};

// What a scene is made from: the view's axis, zoom and pan and a copy of its model. The
// scene of a big model takes a second or more to make, so the window makes it from this
// copy on another thread while the model goes on changing.
struct PreviewSource {
    bool hasModel = false;
    ViewState state;
    ModelCopy model;
};
PreviewSource TakePreviewSource(const CPolydromView& view);

// The scene of the model for a picture of width x height pixels, framed as the view
// would frame a client area of that size: the same axis, zoom and pan, screen Y growing
// downwards.
PreviewScene BuildPreviewScene(const PreviewSource& source, int width, int height);
PreviewScene BuildPreviewScene(const CPolydromView& view, int width, int height);
