#pragma once
// Images of any size composed from one skin rectangle: the nine-part image of
// windows and controls (fixed corners, tiled or stretched edges and client
// part), its open-ended variant without a right column, and the three-piece
// row and column images of bars and buttons.
//
// Terms: `src` is the skin picture, `skinRect` (SR) the rectangle cut from it;
// `points` hold the corner points and client rectangle relative to SR, and
// `sized` the same values placed on the W x H image (SizedCornerPoints gives
// them). Tiled parts are laid from the start of their band and cut at its far
// end; stretched parts are filtered bilinearly. The routines resize `dest` as
// stated and leave its pixels outside the painted parts as they were.

#include "SkinCornerPoints.h"
#include "TBitmap.h"

// Nine-part image W x H: the edges (stretched or tiled), then the eight fixed
// corner pieces, each L-shaped around its corner point, then the client part
// when `drawClient` (tiled, or stretched by `flags.stretchtype`). Nothing is
// painted when the right-bottom point shares a column or a row with the
// left-top point, or the picture is empty; `dest` is resized all the same.
void ComposeSkinImage(const SkinCornerPoints& points, const TRect& skinRect, const TBitmap& src, TBitmap& dest,
                      int W, int H, const SkinCornerPoints& sized, const SkinStretchFlags& flags, bool drawClient);
// The same composition; popup menu windows, hint windows and the form call it
// by this name.
inline void ComposeWindowImage(const SkinCornerPoints& points, const TRect& skinRect, const TBitmap& src,
                               TBitmap& dest, int W, int H, const SkinCornerPoints& sized,
                               const SkinStretchFlags& flags, bool drawClient) {
    ComposeSkinImage(points, skinRect, src, dest, W, H, sized, flags, drawClient);
}

// The nine-part image without a right column: the top and bottom edges run to
// the right edge of the image, only the four left corner pieces are copied,
// and the client part reaches to W. With stretch kind 2 the client strips are
// still cut at `sized.clientrect.Right`.
void ComposeOpenEndedImage(const SkinCornerPoints& points, const TRect& skinRect, const TBitmap& src,
                           TBitmap& dest, int W, int H, const SkinCornerPoints& sized,
                           const SkinStretchFlags& flags, bool drawClient);

// `dest` keeps its size. The corners are the corners of `clientRect`; all
// edges and the client part are stretched.
void ComposeStretchedImage(TBitmap& dest, const TBitmap& src, const TRect& skinRect, bool drawClient,
                           const TRect& clientRect);

// Row image W x SRh: the left end (leftW wide) and the right end (rightW wide)
// fixed, the middle stretched or tiled between them. A middle of width 0
// counts as 1 pixel wide.
void ComposeRowImage(int leftW, int rightW, TBitmap& dest, bool stretch, int W, const TRect& skinRect,
                     const TBitmap& src);
// As ComposeRowImage with the left end only: the middle reaches to W.
void ComposeRowImageLeft(int leftW, int rightW, TBitmap& dest, bool stretch, int W, const TRect& skinRect,
                         const TBitmap& src);
// Only the middle piece, over the whole width.
void ComposeRowImageMiddle(int leftW, int rightW, TBitmap& dest, bool stretch, int W, const TRect& skinRect,
                           const TBitmap& src);

// Column image SRw x H: the top end (topH high) and the bottom end (bottomH
// high) fixed, the middle stretched or tiled between them. A middle of height
// 0 paints nothing.
void ComposeColumnImage(int topH, int bottomH, TBitmap& dest, bool stretch, int H, const TRect& skinRect,
                        const TBitmap& src);
