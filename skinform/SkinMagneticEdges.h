#pragma once
// Magnetic edges: while a window is dragged, an edge that comes within the
// magnetic distance of the work area's edge snaps to it and holds there
// until the pointer has moved further than that distance from where the
// snap happened; then the window follows the pointer again.

#include "Geometry.h"

struct MagneticState {
    bool SnapLeft = false;
    bool SnapTop = false;
    bool SnapRight = false;
    bool SnapBottom = false;
    // The pointer where the last snap (or the move) started.
    int SnapCursorX = 0;
    int SnapCursorY = 0;
    void ClearSnaps() { SnapLeft = SnapTop = SnapRight = SnapBottom = false; }
};

// Adjusts the proposed origin `origin` of a `size` window against the work
// area `area` with the magnetic distance `distance`, the pointer at `cursor`.
// Returns the origin to use; `state` carries the snaps to the next step.
TPoint ApplyMagneticEdges(MagneticState& state, TPoint origin, TPoint size, const TRect& area, int distance,
                          TPoint cursor);
