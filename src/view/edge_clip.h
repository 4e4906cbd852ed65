// Cuts a projected edge to the part inside the view's box: horizontal within half the
// client width, vertical within half the height, depth within the slab of half the height.
#pragma once

// A scaled point as the view sees it: horizontal, vertical and depth coordinates.
struct BoxPoint {
    double c[3];
};

// half: the box's half extents along the three coordinates of BoxPoint (all > 0).
// Returns false when no part of the edge a-b lies inside the box. Otherwise moves each
// endpoint that lies outside to where the edge enters the box, exactly onto the
// boundary it crosses, and leaves an endpoint inside untouched; an edge through the box
// with both ends outside is cut at both ends.
bool ClipEdgeToBox(BoxPoint& a, BoxPoint& b, const double half[3]);
