#pragma once
// How frame objects put pieces of skin pictures on a canvas: stretched to
// their place when the sizes differ, copied otherwise.

#include "Geometry.h"
#include "TBitmap.h"
#include "TCanvas.h"

// Draws `piece` of `src` over `dest` (canvas coordinates), stretched
// (bilinear) when the sizes differ. Nothing for an empty piece or source.
void DrawSkinPiece(TCanvas& canvas, const TRect& dest, const TBitmap& src, const TRect& piece);

// Makes `out` a `size` image of `piece` of `src`, stretched when the sizes differ.
void SkinPieceImage(const TBitmap& src, const TRect& piece, TSize size, TBitmap& out);
