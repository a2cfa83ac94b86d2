#pragma once
// The three ways a piece of a skin picture reaches an image: copied as it is,
// tiled over a band, or stretched (bilinear). Every routine writes only inside
// the target bitmap and inside `clip` (target coordinates), reads only inside
// the source bitmap, and does nothing for pieces or areas without pixels.
// Source and target must be different bitmaps.

#include "Geometry.h"
#include "TBitmap.h"

// Copies `piece` of `src` unscaled with its top-left corner at (x, y).
void CopySkinPiece(TBitmap& dest, int x, int y, const TBitmap& src, const TRect& piece, const TRect& clip);
void CopySkinPiece(TBitmap& dest, int x, int y, const TBitmap& src, const TRect& piece);

// Fills `band` with copies of `piece` laid side by side from the band's
// top-left corner: copy i along x starts at band.Left + i * piece width, and
// likewise along y; the copies that reach past the band's right or bottom
// edge are cut there, never scaled. A band as high as the piece is the
// one-dimensional tiling along x, one as wide as the piece tiling along y.
void TileSkinPiece(TBitmap& dest, const TRect& band, const TBitmap& src, const TRect& piece, const TRect& clip);

// Tiling along one axis over the band that starts at `start` and is `length`
// long; across the band the piece keeps its size and lies at `across`.
void TileSkinPieceAlongX(TBitmap& dest, int start, int length, int across, const TBitmap& src, const TRect& piece);
void TileSkinPieceAlongY(TBitmap& dest, int start, int length, int across, const TBitmap& src, const TRect& piece);

// Stretches `piece` over `area` with bilinear filtering; the piece's own edge
// pixels are repeated outwards, so nothing of the picture around the piece
// bleeds in. A piece of the area's size is copied exactly. A piece reaching
// outside the source is cut to the source first.
void StretchSkinPiece(TBitmap& dest, const TRect& area, const TBitmap& src, const TRect& piece, const TRect& clip);
void StretchSkinPiece(TBitmap& dest, const TRect& area, const TBitmap& src, const TRect& piece);
