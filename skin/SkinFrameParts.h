#pragma once
// The four sides of a window frame as separate bitmaps, for painting the
// non-client area around a client area that is never drawn over, and the same
// four sides cut from a mask picture, for the window's shape.
//
// The parts lie in the window at: top (0, 0), bottom (0, client bottom), left
// (0, client top), right (client right, client top). A part that cannot be
// made (no width, no height, or no piece to tile) is left empty.

#include "SkinCornerPoints.h"
#include "TBitmap.h"

struct SkinFramePartBitmaps {
    TBitmap Top;
    TBitmap Bottom;
    TBitmap Left;
    TBitmap Right;
};

// The frame's sides for a W x H window from `skinRect` of `src`. Unlike the
// nine-part image, the tiles of each part start at the part's own origin and
// the fixed ends are drawn over them; edges marked in `flags` are stretched
// between the sized corner points instead.
void ComposeFrameParts(const SkinCornerPoints& points, const TRect& skinRect, const TBitmap& src, int W, int H,
                       const SkinCornerPoints& sized, const SkinStretchFlags& flags, SkinFramePartBitmaps& parts);

// The four sides cut from the whole `mask` picture around the inner rectangle
// `points.clientrect` (for the form its normalised mask area), always tiled.
// `sized.clientrect` is the inner rectangle placed on the W-wide window.
void ComposeBorderMasks(const SkinCornerPoints& points, const TBitmap& mask, int W, const SkinCornerPoints& sized,
                        SkinFramePartBitmaps& parts);
