#pragma once
// The shape of a skinned window: the mask picture cut into four side masks
// for the window's size (kept for the mask hit test) and the region made of
// the mask area joined with the black pixels of those sides.

#include <optional>

#include "SkinFrameLayout.h"
#include "SkinFrameParts.h"
#include "TBitmap.h"
#include "TRegion.h"

// Cuts `mask` into the side masks for a `frame`-sized window, in the geometry
// of the frame strips around the skin's mask area.
void ComposeFrameMasks(const SkinFormInfo& info, const TBitmap& mask, TSize picture, TSize frame,
                       SkinFramePartBitmaps& masks);

// The window region: `maskArea` joined with each non-empty side mask placed at
// top (0, 0), bottom (0, maskArea.Bottom), left (0, maskArea.Top) and right
// (maskArea.Right, maskArea.Top).
TRegion FrameRegionFromMasks(const TRect& maskArea, const SkinFramePartBitmaps& masks);
