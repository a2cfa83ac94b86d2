#include "SkinMagneticEdges.h"

namespace {
// One edge on one axis. `pos` is the window's position on the axis (left or
// top), `edgeOffset` what lies between it and the edge compared (0 for the
// near edge, the window's extent for the far one), `target` the work area's
// edge, `cursor`/`snapCursor` the pointer now and at the snap.
int ApplyEdge(int pos, int edgeOffset, int target, int distance, int cursor, int& snapCursor, bool& snapped) {
    const int edge = pos + edgeOffset;
    const bool near = target - distance < edge && edge < target + distance;
    if (near && !snapped) {
        pos = target - edgeOffset;
        snapCursor = cursor;
    } else if (snapped) {
        const int moved = cursor - snapCursor;
        // Past the distance the window follows the pointer from the edge again.
        pos = (moved > distance || moved < -distance) ? cursor + target - edgeOffset - snapCursor : target - edgeOffset;
    }
    snapped = near;
    return pos;
}
}  // namespace

TPoint ApplyMagneticEdges(MagneticState& s, TPoint origin, TPoint size, const TRect& area, int distance,
                          TPoint cursor) {
    int x = ApplyEdge(origin.X, 0, area.Left, distance, cursor.X, s.SnapCursorX, s.SnapLeft);
    int y = ApplyEdge(origin.Y, 0, area.Top, distance, cursor.Y, s.SnapCursorY, s.SnapTop);
    x = ApplyEdge(x, size.X, area.Right, distance, cursor.X, s.SnapCursorX, s.SnapRight);
    y = ApplyEdge(y, size.Y, area.Bottom, distance, cursor.Y, s.SnapCursorY, s.SnapBottom);
    return {x, y};
}
