// How one view looks at the model: the axis it looks along, its zoom and pan, and its
// cursor. The view owns it; the commands that place or pick by what the view shows (the
// shapes, picking, Mirror, Grow, Shrink, the rotations, the typed rotate and scale) are
// handed the state of the view they were given in, so any number of views can look at
// one model without copies to keep in step.
#pragma once

enum class ViewAxis { X, Y, Z };

// Which model coordinate (0 X, 1 Y, 2 Z) a view along the axis shows across (h) and down
// (v), and which is its depth (d): along X it shows (Z, Y), along Y (X, Z), along Z (X, Y).
struct ScreenAxes {
    int h, v, d;
};

constexpr ScreenAxes AxesAlong(ViewAxis axis)
{
    switch (axis) {
    case ViewAxis::X: return {2, 1, 0};
    case ViewAxis::Y: return {0, 2, 1};
    case ViewAxis::Z: break;
    }
    return {0, 1, 2};
}

// The axis as the three flags the dump prints ("0 0 1" along Z).
constexpr bool LooksAlong(ViewAxis axis, int coordinate) { return AxesAlong(axis).d == coordinate; }

struct ViewState {
    ViewAxis axis = ViewAxis::Z;
    // Pixels per model unit.
    float zoom = 1.0f;
    // Added to a model point before it is scaled: the model point -pan shows at the centre.
    float pan[3] = {0.0f, 0.0f, 0.0f};
    // The model point of the last click (or Set Cursor): the centre of Grow, Shrink and the
    // rotations; Mirror reflects about x = cursor[0] / 2.
    float cursor[3] = {0.0f, 0.0f, 0.0f};

    ScreenAxes Shown() const { return AxesAlong(axis); }
};
