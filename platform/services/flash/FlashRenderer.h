#pragma once
// Drawing one placed shape of a movie into a bitmap: its fills, then its
// lines, layer by layer, anti-aliased and composited over what is there.

#include <cstdint>
#include <map>

#include "FlashBitmap.h"
#include "FlashShape.h"
#include "FlashTypes.h"
#include "TBitmap.h"

// `toDevice` maps the shape's twips to the target's pixels. `segmentBudget`
// is the number of polygon segments the caller still allows for this
// picture; it shrinks by what is drawn, and a style that would exceed it is
// skipped, so no movie can make one frame take unbounded time.
void DrawFlashShape(const FlashShape& shape, const SwfMatrix& toDevice, const SwfColorTransform& colorTransform,
                    const std::map<std::uint16_t, FlashBitmap>& bitmaps, TBitmap& target, std::size_t& segmentBudget);
