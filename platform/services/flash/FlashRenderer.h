#pragma once
// Drawing one placed shape of a movie into a bitmap: its fills, then its
// lines, layer by layer, anti-aliased and composited over what is there.

#include <cstdint>
#include <map>

#include "FlashBitmap.h"
#include "FlashRenderCache.h"
#include "FlashShape.h"
#include "FlashTypes.h"
#include "FlashWorkBudget.h"
#include "TBitmap.h"

// `toDevice` maps the shape's twips to the target's pixels. The work grows
// with the shape's edges and the pixels its styles cover, not with edges
// times styles: each edge is handed to the styles it bounds in one pass.
// The work is spent from `budget`; once that is exhausted drawing stops at
// once and the function returns false, leaving the target half drawn.
// With `kept`, the coverage measured for the shape at this matrix and size
// of target is taken from it where it holds some, and added to it where it
// does not, so that drawing the shape again the same way only composites.
bool DrawFlashShape(const FlashShape& shape, const SwfMatrix& toDevice, const SwfColorTransform& colorTransform,
                    const std::map<std::uint16_t, FlashBitmap>& bitmaps, TBitmap& target, FlashWorkBudget& budget,
                    FlashShapeCoverage* kept = nullptr);
